// Values between the driver's C forms and the cursor's cells: decimal text, timestamps.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ado/Variant.h"
#include "ado/providers/odbc/odbc_api.h"

namespace ado::odbc {

// "-123.4500" as an exact Decimal; nullopt when the text is no plain decimal number or does
// not fit 96 bits with at most 28 decimals (digits beyond 28 decimals are rounded off).
// Characters other than digits, sign and point (currency symbols, group separators) are skipped.
std::optional<Decimal> ParseDecimalText(std::string_view text);
// The same number scaled by 10 000 (Currency); nullopt outside its range.
std::optional<int64_t> ParseCurrencyText(std::string_view text);
// The decimal text of a Decimal or Currency, with '.' whatever the regional settings.
std::string DecimalText(const Variant& value);

// Timestamps and the DATE serial. The serial is a double: it keeps microseconds for dates of
// recent centuries, tens of microseconds near years 100 and 9999. nullopt outside years 100..9999.
std::optional<double> TimestampToSerial(const SQL_TIMESTAMP_STRUCT& ts);
double TimeToSerial(const SQL_TIME_STRUCT& t);
SQL_TIMESTAMP_STRUCT SerialToTimestamp(double serial);

}  // namespace ado::odbc
