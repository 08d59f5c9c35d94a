#include "ado/providers/sqlite/dialect/function_catalog.h"

#include <algorithm>
#include <array>
#include <string>

#include "ado/providers/sqlite/dialect/sql_tokens.h"

namespace ado::sqlite::detail {

namespace {

using U = ArgumentUse;
using R = ResultRule;

constexpr FunctionInfo Fixed(std::string_view name, DataTypeEnum result, ArgumentUse use) {
    return {name, result, R::Fixed, use};
}
// The first argument handed over one way, the others another.
constexpr FunctionInfo Split(std::string_view name, DataTypeEnum result, ResultRule rule, ArgumentUse first,
                             ArgumentUse rest) {
    return {name, result, rule, rest, false, first, true};
}
constexpr FunctionInfo Aggregate(std::string_view name, DataTypeEnum result, ResultRule rule, ArgumentUse use) {
    return {name, result, rule, use, true};
}

// Sorted by name for binary search.
constexpr auto kFunctions = std::to_array<FunctionInfo>({
    {"ABS", adVariant, R::FirstArgument, U::Same},
    Fixed("ASC", adSmallInt, U::Text),
    Fixed("ASCW", adInteger, U::Text),
    Fixed("ATN", adDouble, U::Plain),
    Aggregate("AVG", adDouble, R::Average, U::Same),
    Fixed("CBOOL", adBoolean, U::Typed),
    Fixed("CBYTE", adUnsignedTinyInt, U::Typed),
    {"CCUR", adCurrency, R::ConvertTo, U::Same},
    Fixed("CDATE", adDate, U::Typed),
    Fixed("CDBL", adDouble, U::Typed),
    {"CDEC", adNumeric, R::ConvertTo, U::Same},
    Split("CHOOSE", adVariant, R::CommonOfRest, U::Plain, U::Same),
    Fixed("CHR", adVarWChar, U::Plain),
    Fixed("CHRW", adVarWChar, U::Plain),
    Fixed("CINT", adSmallInt, U::Typed),
    Fixed("CLNG", adInteger, U::Typed),
    Fixed("COS", adDouble, U::Plain),
    Aggregate("COUNT", adInteger, R::Fixed, U::Kept),
    Fixed("CSNG", adSingle, U::Typed),
    Fixed("CSTR", adVarWChar, U::Typed),
    Fixed("CURRENTUSER", adVarWChar, U::Plain),
    {"CVAR", adVariant, R::FirstArgument, U::Same},
    Fixed("CVDATE", adDate, U::Typed),
    Fixed("DATE", adDate, U::Plain),
    Fixed("DATE$", adVarWChar, U::Plain),
    Split("DATEADD", adDate, R::Fixed, U::Text, U::Plain),
    Split("DATEDIFF", adInteger, R::Fixed, U::Text, U::Plain),
    Split("DATEPART", adInteger, R::Fixed, U::Text, U::Plain),
    Fixed("DATESERIAL", adDate, U::Plain),
    Fixed("DATEVALUE", adDate, U::Typed),
    Fixed("DAY", adSmallInt, U::Plain),
    Fixed("DDB", adDouble, U::Plain),
    Fixed("EXP", adDouble, U::Plain),
    Aggregate("FIRST", adVariant, R::FirstArgument, U::Same),
    {"FIX", adVariant, R::FirstArgument, U::Same},
    Split("FORMAT", adVarWChar, R::Fixed, U::Typed, U::Plain),
    Split("FORMATCURRENCY", adVarWChar, R::Fixed, U::Typed, U::Plain),
    Split("FORMATDATETIME", adVarWChar, R::Fixed, U::Typed, U::Plain),
    Split("FORMATNUMBER", adVarWChar, R::Fixed, U::Typed, U::Plain),
    Split("FORMATPERCENT", adVarWChar, R::Fixed, U::Typed, U::Plain),
    Fixed("FV", adDouble, U::Plain),
    Fixed("HEX", adVarWChar, U::Plain),
    Fixed("HOUR", adSmallInt, U::Plain),
    Split("IIF", adVariant, R::CommonOfRest, U::Plain, U::Same),
    Fixed("INSTR", adInteger, U::Plain),
    Split("INSTRREV", adInteger, R::Fixed, U::Text, U::Plain),
    {"INT", adVariant, R::FirstArgument, U::Same},
    Fixed("IPMT", adDouble, U::Plain),
    Fixed("ISDATE", adBoolean, U::Typed),
    Fixed("ISEMPTY", adBoolean, U::Kept),
    Fixed("ISNULL", adBoolean, U::Kept),
    Fixed("ISNUMERIC", adBoolean, U::Typed),
    Aggregate("LAST", adVariant, R::FirstArgument, U::Same),
    Fixed("LCASE", adVarWChar, U::Text),
    Split("LEFT", adVarWChar, R::Fixed, U::Text, U::Plain),
    Fixed("LEN", adInteger, U::Text),
    Fixed("LOG", adDouble, U::Plain),
    Fixed("LTRIM", adVarWChar, U::Text),
    Aggregate("MAX", adVariant, R::FirstArgument, U::Same),
    Split("MID", adVarWChar, R::Fixed, U::Text, U::Plain),
    Aggregate("MIN", adVariant, R::FirstArgument, U::Same),
    Fixed("MINUTE", adSmallInt, U::Plain),
    Fixed("MONTH", adSmallInt, U::Plain),
    Fixed("MONTHNAME", adVarWChar, U::Plain),
    Fixed("NOW", adDate, U::Plain),
    Fixed("NPER", adDouble, U::Plain),
    {"NZ", adVariant, R::CommonOfAll, U::Same},
    Fixed("OCT", adVarWChar, U::Plain),
    Fixed("PARTITION", adVarWChar, U::Plain),
    Fixed("PMT", adDouble, U::Plain),
    Fixed("PPMT", adDouble, U::Plain),
    Fixed("PV", adDouble, U::Plain),
    Fixed("RATE", adDouble, U::Plain),
    Split("REPLACE", adVarWChar, R::Fixed, U::Text, U::Text),
    Split("RIGHT", adVarWChar, R::Fixed, U::Text, U::Plain),
    Fixed("RND", adSingle, U::Plain),
    Split("ROUND", adVariant, R::FirstArgument, U::Same, U::Plain),
    Fixed("RTRIM", adVarWChar, U::Text),
    Fixed("SECOND", adSmallInt, U::Plain),
    Fixed("SGN", adSmallInt, U::Plain),
    Fixed("SIN", adDouble, U::Plain),
    Fixed("SLN", adDouble, U::Plain),
    Fixed("SPACE", adVarWChar, U::Plain),
    Fixed("SQR", adDouble, U::Plain),
    Aggregate("STDEV", adDouble, R::Fixed, U::Plain),
    Aggregate("STDEVP", adDouble, R::Fixed, U::Plain),
    Fixed("STR", adVarWChar, U::Plain),
    Fixed("STRCOMP", adSmallInt, U::Text),
    Split("STRCONV", adVarWChar, R::Fixed, U::Text, U::Plain),
    Fixed("STRING", adVarWChar, U::Plain),
    Fixed("STRREVERSE", adVarWChar, U::Text),
    Aggregate("SUM", adDouble, R::Sum, U::Same),
    {"SWITCH", adVariant, R::Alternate, U::Same},
    Fixed("SYD", adDouble, U::Plain),
    Fixed("TAN", adDouble, U::Plain),
    Fixed("TIME", adDate, U::Plain),
    Fixed("TIME$", adVarWChar, U::Plain),
    Fixed("TIMER", adSingle, U::Plain),
    Fixed("TIMESERIAL", adDate, U::Plain),
    Fixed("TIMEVALUE", adDate, U::Typed),
    Fixed("TRIM", adVarWChar, U::Text),
    Fixed("TYPENAME", adVarWChar, U::Kept),
    Fixed("UCASE", adVarWChar, U::Text),
    Fixed("VAL", adDouble, U::Text),
    Aggregate("VAR", adDouble, R::Fixed, U::Plain),
    Aggregate("VARP", adDouble, R::Fixed, U::Plain),
    Fixed("VARTYPE", adSmallInt, U::Kept),
    Split("WEEKDAY", adSmallInt, R::Fixed, U::Plain, U::Plain),
    Fixed("WEEKDAYNAME", adVarWChar, U::Plain),
    Fixed("YEAR", adSmallInt, U::Plain),
});

constexpr bool Sorted() {
    for (size_t i = 1; i < kFunctions.size(); ++i)
        if (!(kFunctions[i - 1].name < kFunctions[i].name)) return false;
    return true;
}
static_assert(Sorted(), "kFunctions must be sorted by name");

}  // namespace

namespace {

const FunctionInfo* FindExactly(const std::string& upper) {
    const auto it = std::lower_bound(kFunctions.begin(), kFunctions.end(), upper,
                                     [](const FunctionInfo& f, const std::string& n) { return f.name < n; });
    return it != kFunctions.end() && it->name == upper ? &*it : nullptr;
}

}  // namespace

// A name ending in '$' is the text form of the function without it (Left$, UCase$), unless
// the catalogue has it as such: Date$ and Time$ give texts where Date and Time give dates.
const FunctionInfo* FindFunction(std::string_view name) {
    std::string upper = ToUpperAscii(name);
    if (upper.empty() || upper.back() != '$') return FindExactly(upper);
    if (const FunctionInfo* f = FindExactly(upper)) return f;
    upper.pop_back();
    return FindExactly(upper);
}

}  // namespace ado::sqlite::detail
