// Dates as the embedded engine stores them: ISO text 'YYYY-MM-DD HH:MM:SS'.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ado/Variant.h"

namespace ado::sqlite {

// Always the full form, "1899-12-30 13:45:00" for a time alone. Out of range fails with 6.
std::string FormatIsoDate(Date d);

// Reads "YYYY-MM-DD", "YYYY-MM-DD HH:MM" or "YYYY-MM-DD HH:MM:SS" (a 'T' may separate
// the parts; fractional seconds are accepted and dropped). Anything else, or a value out
// of range (month 13, February 30, hour 24...), gives nullopt.
std::optional<Date> ParseIsoDate(std::string_view text);

}  // namespace ado::sqlite
