// The constants of the ADTG (Advanced Data TableGram) format that ADO writes with
// adPersistADTG: tokens, fixed blocks, property sets and the mapping of ADO types to the
// stored DBTYPEs. Integers are little-endian throughout.
#pragma once

#include <cstdint>

#include "ado/Enums.h"

namespace ado::persist::adtg {

enum Token : uint8_t {
    kHeaderToken = 0x01,
    kHandlerOptions = 0x02,
    kResultDescriptor = 0x03,
    kTableDescriptor = 0x05,
    kColumnDescriptor = 0x06,
    kOriginalRow = 0x07,
    kChangeRow = 0x0A,
    kDeleteRow = 0x0C,
    kInsertRow = 0x0D,
    kDone = 0x0F,
    kContext = 0x10,
    kChildRow = 0x80,  // or'ed into a row token of a child rowset, followed by its id
};

// The header, and the handler options as ADO writes them.
inline constexpr uint8_t kHeader[] = {0x01, 0x07, 'T', 'G', '!', 0x00, 0x00, 0x00, 0x00};
inline constexpr uint8_t kHandlerBlock[] = {0x02, 0x19, 0x00, 0xB6, 0x92, 0xF2, 0x3F, 0x04, 0xB2, 0xCF, 0x11, 0x8D, 0x23,
                                            0x00, 0xAA, 0x00, 0x5F, 0xFE, 0x58, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
                                            0x00, 0x00, 0x00};
inline constexpr uint8_t kResultGuid[16] = {0xD2, 0xAD, 0x63, 0xF6, 0x02, 0xEB, 0xCF, 0x11,
                                            0xB0, 0xE3, 0x00, 0xAA, 0x00, 0x3F, 0x00, 0x0F};
inline constexpr uint8_t kRowsetPropertySet[16] = {0xBE, 0x22, 0xB5, 0xC8, 0xF3, 0x5C, 0xCE, 0x11,
                                                   0xAD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0x77, 0x3D};
inline constexpr uint8_t kAdcPropertySet[16] = {0xC1, 0x3C, 0x8E, 0xB6, 0xEB, 0x6D, 0xD0, 0x11,
                                                0x8D, 0xF6, 0x00, 0xAA, 0x00, 0x5F, 0xFE, 0x58};

// Properties whose values the format carries for us.
inline constexpr uint32_t kReshapeNameProperty = 0x12;     // ADC set
inline constexpr uint32_t kCommandTimeoutProperty = 0x22;  // rowset set
inline constexpr uint32_t kChangeProperty = 0x7F;          // rowset set: the rowset can be changed

// Presence bits of a column descriptor (three bytes, least significant bit first).
inline constexpr uint8_t kHasSchema = 0x01, kHasCatalog = 0x02, kHasBaseName = 0x10, kHasBaseColumn = 0x20,
                         kHasBaseTable = 0x40, kHasName = 0x80;         // first byte
inline constexpr uint8_t kHasAutoIncrement = 0x01;                      // second byte
inline constexpr uint8_t kHasCalculation = 0x04;                        // third byte

inline constexpr uint16_t kDbTypeChapter = 0x88;
inline constexpr uint16_t kDbTypeVariant = 12;
inline constexpr uint16_t kDbTypeBytes = 128, kDbTypeStr = 129, kDbTypeWStr = 130;

// The stored DBTYPE of an ADO type: text and binary kinds share one DBTYPE that the column
// flags (fixed, long) tell apart; BSTR is stored as a long WSTR.
constexpr uint16_t DbTypeOf(DataTypeEnum type) {
    switch (type) {
        case adBinary: case adVarBinary: case adLongVarBinary: return kDbTypeBytes;
        case adChar: case adVarChar: case adLongVarChar: return kDbTypeStr;
        case adWChar: case adVarWChar: case adLongVarWChar: case adBSTR: return kDbTypeWStr;
        case adChapter: return kDbTypeChapter;
        default: return static_cast<uint16_t>(type);
    }
}

// The ADO type of a stored DBTYPE and its column flags.
constexpr DataTypeEnum AdoTypeOf(uint16_t dbType, uint32_t flags) {
    const bool isLong = flags & adFldLong, fixed = flags & adFldFixed;
    switch (dbType) {
        case kDbTypeBytes: return isLong ? adLongVarBinary : fixed ? adBinary : adVarBinary;
        case kDbTypeStr: return isLong ? adLongVarChar : fixed ? adChar : adVarChar;
        case kDbTypeWStr: return isLong ? adLongVarWChar : fixed ? adWChar : adVarWChar;
        default: return static_cast<DataTypeEnum>(dbType);
    }
}

// Bytes of a value of a fixed-size DBTYPE; 0 for the variable-length kinds and unknown ones.
constexpr uint32_t FixedSize(uint16_t dbType) {
    switch (dbType) {
        case adTinyInt: case adUnsignedTinyInt: return 1;
        case adSmallInt: case adUnsignedSmallInt: case adBoolean: return 2;
        case adInteger: case adUnsignedInt: case adSingle: return 4;
        case adBigInt: case adUnsignedBigInt: case adDouble: case adCurrency: case adDate: case adFileTime: return 8;
        case adDBDate: case adDBTime: return 6;
        case adGUID: case adDecimal: case adDBTimeStamp: case kDbTypeVariant: return 16;
        case adNumeric: return 19;
        default: return 0;
    }
}

constexpr bool IsKnownDbType(uint16_t dbType) {
    return FixedSize(dbType) > 0 || dbType == kDbTypeBytes || dbType == kDbTypeStr || dbType == kDbTypeWStr ||
           dbType == kDbTypeChapter;
}

}  // namespace ado::persist::adtg
