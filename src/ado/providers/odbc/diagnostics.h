// What a driver reports (SQLGetDiagRec) and how it maps to the library's numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ado/error_numbers.h"
#include "ado/providers/odbc/odbc_api.h"

namespace ado::odbc {

struct DiagRecord {
    std::string sqlState;
    int32_t nativeError = 0;
    std::string message;
};

// The records of the handle's last call, in the driver's order.
std::vector<DiagRecord> ReadDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

// What the failing statement did: a foreign-key failure of a delete means another table has
// related rows (3200), of an insert that a related row is missing (3201).
enum class Operation { Other, Insert, Update, Delete };
Operation OperationOf(std::string_view sql);

// How a session names and classifies its failures.
struct ErrorContext {
    std::string source;                    // Error.Source, as the OLE DB provider is named
    bool missingDriverIsProviderNotFound;  // IM002/IM003: 3706 rather than E_FAIL
};

// The library's condition for one record.
Condition Classify(const DiagRecord& record, Operation op, bool missingDriverIsProviderNotFound);

// An ado::Error from the handle's diagnostics: the first record that is not a warning decides
// the number and carries SQLSTATE and native error; every record's text goes into the
// description. With `waitingForLock` (row writes and locks, which wait for other connections'
// locks up to the connection's time limit) a time limit is a lock conflict.
Error DiagnosticError(SQLSMALLINT handleType, SQLHANDLE handle, const ErrorContext& context,
                      Operation op = Operation::Other, bool waitingForLock = false);
[[noreturn]] void ThrowDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle, const ErrorContext& context,
                                   Operation op = Operation::Other, bool waitingForLock = false);

// Throws the handle's diagnostics when rc is a failure; returns rc otherwise.
inline SQLRETURN Check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const ErrorContext& context,
                       Operation op = Operation::Other) {
    if (rc == SQL_ERROR || rc == SQL_INVALID_HANDLE) ThrowDiagnostics(handleType, handle, context, op);
    return rc;
}
inline SQLRETURN CheckStmt(SQLRETURN rc, SQLHSTMT stmt, const ErrorContext& context,
                           Operation op = Operation::Other) {
    return Check(rc, SQL_HANDLE_STMT, stmt, context, op);
}

}  // namespace ado::odbc
