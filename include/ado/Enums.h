// ADO's enumerations, with ADO's names and values.
//
// Plain constants.
#pragma once

#include <cstdint>

namespace ado {

enum CursorTypeEnum : int32_t {
    adOpenUnspecified = -1, adOpenForwardOnly = 0, adOpenKeyset = 1, adOpenDynamic = 2, adOpenStatic = 3
};

enum LockTypeEnum : int32_t {
    adLockUnspecified = -1, adLockReadOnly = 1, adLockPessimistic = 2, adLockOptimistic = 3,
    adLockBatchOptimistic = 4
};

enum CursorLocationEnum : int32_t { adUseNone = 1, adUseServer = 2, adUseClient = 3, adUseClientBatch = 3 };

enum ConnectModeEnum : int32_t {
    adModeUnknown = 0, adModeRead = 1, adModeWrite = 2, adModeReadWrite = 3, adModeShareDenyRead = 4,
    adModeShareDenyWrite = 8, adModeShareExclusive = 0xC, adModeShareDenyNone = 0x10,
    adModeRecursive = 0x400000
};

enum CommandTypeEnum : int32_t {
    adCmdUnspecified = -1, adCmdText = 1, adCmdTable = 2, adCmdStoredProc = 4, adCmdUnknown = 8,
    adCmdFile = 256, adCmdTableDirect = 512
};

enum ExecuteOptionEnum : int32_t {
    adOptionUnspecified = -1, adAsyncExecute = 0x10, adAsyncFetch = 0x20, adAsyncFetchNonBlocking = 0x40,
    adExecuteNoRecords = 0x80
};

enum DataTypeEnum : int32_t {
    adEmpty = 0, adSmallInt = 2, adInteger = 3, adSingle = 4, adDouble = 5, adCurrency = 6, adDate = 7,
    adBSTR = 8, adIDispatch = 9, adError = 10, adBoolean = 11, adVariant = 12, adIUnknown = 13,
    adDecimal = 14, adTinyInt = 16, adUnsignedTinyInt = 17, adUnsignedSmallInt = 18, adUnsignedInt = 19,
    adBigInt = 20, adUnsignedBigInt = 21, adFileTime = 64, adGUID = 72, adBinary = 128, adChar = 129,
    adWChar = 130, adNumeric = 131, adUserDefined = 132, adDBDate = 133, adDBTime = 134,
    adDBTimeStamp = 135, adChapter = 136, adDBFileTime = 137, adPropVariant = 138, adVarNumeric = 139,
    adVarChar = 200, adLongVarChar = 201, adVarWChar = 202, adLongVarWChar = 203, adVarBinary = 204,
    adLongVarBinary = 205, adArray = 0x2000
};

enum FieldAttributeEnum : int32_t {
    adFldUnspecified = -1, adFldMayDefer = 0x2, adFldUpdatable = 0x4, adFldUnknownUpdatable = 0x8,
    adFldFixed = 0x10, adFldIsNullable = 0x20, adFldMayBeNull = 0x40, adFldLong = 0x80, adFldRowID = 0x100,
    adFldRowVersion = 0x200, adFldCacheDeferred = 0x1000, adFldIsChapter = 0x2000,
    adFldNegativeScale = 0x4000, adFldKeyColumn = 0x8000, adFldIsRowURL = 0x10000,
    adFldIsDefaultStream = 0x20000, adFldIsCollection = 0x40000
};

enum CursorOptionEnum : int32_t {
    adHoldRecords = 0x100, adMovePrevious = 0x200, adBookmark = 0x2000, adApproxPosition = 0x4000,
    adUpdateBatch = 0x10000, adResync = 0x20000, adNotify = 0x40000, adFind = 0x80000, adIndex = 0x100000,
    adSeek = 0x200000, adAddNew = 0x1000400, adDelete = 0x1000800, adUpdate = 0x1008000
};

enum EditModeEnum : int32_t { adEditNone = 0, adEditInProgress = 1, adEditAdd = 2, adEditDelete = 4 };

enum ObjectStateEnum : int32_t {
    adStateClosed = 0, adStateOpen = 1, adStateConnecting = 2, adStateExecuting = 4, adStateFetching = 8
};

enum SearchDirectionEnum : int32_t { adSearchBackward = -1, adSearchForward = 1 };

enum BookmarkEnum : int32_t { adBookmarkCurrent = 0, adBookmarkFirst = 1, adBookmarkLast = 2 };

enum PositionEnum : int32_t { adPosUnknown = -1, adPosBOF = -2, adPosEOF = -3 };

enum PersistFormatEnum : int32_t { adPersistADTG = 0, adPersistXML = 1, adPersistProviderSpecific = 2 };

enum MarshalOptionsEnum : int32_t { adMarshalAll = 0, adMarshalModifiedOnly = 1 };

enum AffectEnum : int32_t { adAffectCurrent = 1, adAffectGroup = 2, adAffectAll = 3, adAffectAllChapters = 4 };

enum FilterGroupEnum : int32_t {
    adFilterNone = 0, adFilterPendingRecords = 1, adFilterAffectedRecords = 2, adFilterFetchedRecords = 3,
    adFilterConflictingRecords = 5
};

enum ADCPROP_UPDATECRITERIA_ENUM : int32_t {
    adCriteriaKey = 0, adCriteriaAllCols = 1, adCriteriaUpdCols = 2, adCriteriaTimeStamp = 3
};

enum RecordStatusEnum : int32_t {
    adRecOK = 0, adRecNew = 0x1, adRecModified = 0x2, adRecDeleted = 0x4, adRecUnmodified = 0x8,
    adRecInvalid = 0x10, adRecMultipleChanges = 0x40, adRecPendingChanges = 0x80, adRecCanceled = 0x100,
    adRecCantRelease = 0x400, adRecConcurrencyViolation = 0x800, adRecIntegrityViolation = 0x1000,
    adRecMaxChangesExceeded = 0x2000, adRecObjectOpen = 0x4000, adRecOutOfMemory = 0x8000,
    adRecPermissionDenied = 0x10000, adRecSchemaViolation = 0x20000, adRecDBDeleted = 0x40000
};

enum ParameterDirectionEnum : int32_t {
    adParamUnknown = 0, adParamInput = 1, adParamOutput = 2, adParamInputOutput = 3, adParamReturnValue = 4
};

enum PropertyAttributesEnum : int32_t {
    adPropNotSupported = 0, adPropRequired = 1, adPropOptional = 2, adPropRead = 512, adPropWrite = 1024
};

enum XactAttributeEnum : int32_t { adXactCommitRetaining = 131072, adXactAbortRetaining = 262144 };

}  // namespace ado
