#include "ado/persist/xml_types.h"

#include "ado/persist/adtg_format.h"

namespace ado::persist {

namespace {

struct Row {
    DataTypeEnum type;
    XmlTypeName name;
};

// One row per ADO type the writer knows, in the reader's order of preference.
constexpr Row kTypes[] = {
    {adInteger, {"int", ""}},           {adSmallInt, {"i2", ""}},          {adTinyInt, {"i1", ""}},
    {adBigInt, {"i8", ""}},             {adUnsignedTinyInt, {"ui1", ""}},  {adUnsignedSmallInt, {"ui2", ""}},
    {adUnsignedInt, {"ui4", ""}},       {adUnsignedBigInt, {"ui8", ""}},   {adSingle, {"r4", ""}},
    {adDouble, {"float", ""}},          {adBoolean, {"boolean", ""}},      {adGUID, {"uuid", ""}},
    {adCurrency, {"number", "currency"}}, {adDecimal, {"number", "decimal"}}, {adNumeric, {"number", "numeric"}},
    {adVarNumeric, {"number", "varnumeric"}}, {adDate, {"dateTime", "variantdate"}},
    {adFileTime, {"dateTime", "filetime"}}, {adDBTimeStamp, {"dateTime", "timestamp"}},
    {adDBDate, {"date", ""}},           {adDBTime, {"time", ""}},          {adVariant, {"string", ""}},
    {adVarWChar, {"string", ""}},       {adWChar, {"string", ""}},         {adLongVarWChar, {"string", ""}},
    {adBSTR, {"string", ""}},           {adVarChar, {"string", "str"}},    {adChar, {"string", "str"}},
    {adLongVarChar, {"string", "str"}}, {adVarBinary, {"bin.hex", ""}},    {adBinary, {"bin.hex", ""}},
    {adLongVarBinary, {"bin.hex", ""}},
};

// Other names XML-Data gives the same types.
struct Synonym {
    std::string_view name;
    std::string_view canonical;
};
constexpr Synonym kSynonyms[] = {{"i4", "int"}, {"r8", "float"}, {"char", "string"}, {"dateTime.tz", "dateTime"},
                                 {"time.tz", "time"}, {"fixed.14.4", "number"}};

}  // namespace

XmlTypeName XmlTypeOf(DataTypeEnum type) {
    for (const Row& r : kTypes)
        if (r.type == type) return r.name;
    return {"string", ""};
}

DataTypeEnum AdoTypeOfXml(std::string_view dtType, std::string_view dbType, bool fixed, bool isLong, bool sized) {
    for (const Synonym& s : kSynonyms)
        if (dtType == s.name) {
            if (dtType == "fixed.14.4" && dbType.empty()) dbType = "currency";
            dtType = s.canonical;
        }
    if (dtType == "string") {
        if (dbType == "str") return isLong ? adLongVarChar : fixed ? adChar : adVarChar;
        if (!sized && !isLong) return adVariant;
        return isLong ? adLongVarWChar : fixed ? adWChar : adVarWChar;
    }
    if (dtType == "bin.hex") return isLong ? adLongVarBinary : fixed ? adBinary : adVarBinary;
    if (dtType == "number" && dbType.empty()) return adNumeric;
    if (dtType == "dateTime" && dbType.empty()) return adDBTimeStamp;
    for (const Row& r : kTypes)
        if (r.name.dtType == dtType && r.name.dbType == dbType) return r.type;
    return adVariant;
}

bool IsFixedLengthType(DataTypeEnum type) {
    if (type == adBinary || type == adChar || type == adWChar) return true;
    return type != adVariant && adtg::FixedSize(adtg::DbTypeOf(type)) > 0;
}

}  // namespace ado::persist
