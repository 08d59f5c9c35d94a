// The content of an Access #date# literal. Access reads these as month/day/year whatever
// the regional settings (day/month/year when the first number cannot be a month), or as
// year-month-day when the year comes first; month names (English or Spanish) are accepted,
// the time is optional (h:nn[:ss] [AM|PM]), and a time alone is a time of 1899-12-30.
// A two-digit year is 1930..2029; a date without a year is in the current year.
#pragma once

#include <string_view>

#include "ado/Variant.h"

namespace ado::sqlite::detail {

// Throws err::SyntaxError when the text is not a valid date.
Date ParseDateLiteral(std::string_view content);

}  // namespace ado::sqlite::detail
