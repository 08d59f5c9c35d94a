// The error numbers that the layer raises and that the library recognises.
//
// Plain constants.
#pragma once

#include <cstdint>

namespace ado::err {

// Engine conditions, as the Access engine and ADO number them.
inline constexpr int32_t NoCurrentRecord = 3021;
inline constexpr int32_t CharactersAfterEnd = 3142;
inline constexpr int32_t FieldTooSmall = 3163;
inline constexpr int32_t UndefinedFunction = 3085;
inline constexpr int32_t OdbcCallFailed = 3146;
inline constexpr int32_t IntegrityOnDelete = 3200;
inline constexpr int32_t IntegrityOnChange = 3201;
inline constexpr int32_t LockedByUser = 3260;
inline constexpr int32_t ItemNotFound = 3265;
inline constexpr int32_t CouldNotReadLocked = 3624;
inline constexpr int32_t ProviderNotFound = 3706;
// Database files that cannot be opened as asked.
inline constexpr int32_t ReadOnlyDatabase = 3027;
inline constexpr int32_t PasswordMissing = 3031;
inline constexpr int32_t NoPermission = 3051;
inline constexpr int32_t UnrecognizedFormat = 3343;

// ADO's own (ErrorValueEnum).
inline constexpr int32_t InvalidArgument = 3001;
inline constexpr int32_t IllegalOperation = 3219;
inline constexpr int32_t InTransaction = 3246;
inline constexpr int32_t FeatureNotAvailable = 3251;
inline constexpr int32_t ObjectNotSet = 3420;
inline constexpr int32_t DataConversion = 3421;
inline constexpr int32_t ObjectClosed = 3704;
inline constexpr int32_t ObjectOpen = 3705;
inline constexpr int32_t InvalidConnection = 3709;
inline constexpr int32_t InvalidTransaction = 3714;

// OLE DB HRESULTs.
inline constexpr int32_t Fail = -2147467259;                  // E_FAIL
inline constexpr int32_t BadBookmark = -2147217906;           // DB_E_BADBOOKMARK
inline constexpr int32_t ErrorsOccurred = -2147217887;        // DB_E_ERRORSOCCURRED
inline constexpr int32_t DuplicateKey = -2147217873;          // DB_E_INTEGRITYVIOLATION
inline constexpr int32_t TimeLimit = -2147217871;             // DB_E_ABORTLIMITREACHED
inline constexpr int32_t ConcurrencyViolation = -2147217864;  // DB_E_CONCURRENCYVIOLATION
inline constexpr int32_t SyntaxError = -2147217900;           // DB_E_ERRORSINCOMMAND
inline constexpr int32_t TableNotFound = -2147217865;         // DB_E_NOTABLE
inline constexpr int32_t NoValueForParameters = -2147217904;  // DB_E_PARAMNOTOPTIONAL
inline constexpr int32_t InvalidPassword = -2147217843;       // DB_SEC_E_AUTH_FAILED

// Automation conversions (the runtime's own numbers).
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t DivisionByZero = 11;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t InvalidUseOfNull = 94;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t FileAlreadyExists = 58;

}  // namespace ado::err
