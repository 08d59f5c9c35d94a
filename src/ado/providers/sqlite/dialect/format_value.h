// VBA's Format(value, pattern): named formats ("Currency", "Short Date", "Yes/No"...),
// number patterns (0 # . , % E+ with up to four sections), date patterns (d m y h n s w q,
// AM/PM, ...) and text patterns (@ & < > !). Separators and names follow
// ado::RegionalSettings::Current(); month and day names are Spanish when its true text
// is "Verdadero", English otherwise.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ado/Regional.h"
#include "ado/Variant.h"

namespace ado::sqlite::detail {

// nullopt stands for a Null result.
std::optional<std::string> FormatValue(const Variant& value, std::string_view pattern, int firstDayOfWeek = 1,
                                       int firstWeekOfYear = 1);

// One section of a number pattern applied to a value >= 0 (the sign is the caller's).
std::string FormatNumberSection(double value, std::string_view section, const RegionalSettings& regional);

// A date pattern ("dd/mm/yyyy hh:nn").
std::string FormatDatePattern(Date d, std::string_view pattern, const RegionalSettings& regional,
                              int firstDayOfWeek = 1, int firstWeekOfYear = 1);

bool UsesSpanishNames(const RegionalSettings& regional);

}  // namespace ado::sqlite::detail
