// Values as the XML persistence format writes them, and back.
//
// Numbers are written with '.' whatever the regional settings say, reals with the shortest
// digits that read back to the same value (switching to "1.5E-07" and "1E+20" where the
// platform does), Currency and Decimal without trailing zeros ("0" for zero), Numeric with
// exactly its column's scale and no leading zero (".0000"), dates as
// "yyyy-mm-ddThh:mm:ss", booleans as "True"/"False", binaries as lower-case hexadecimal.
// Variant columns carry the value's text in the United States' regional form
// ("6/12/2026 2:30:15 PM"), as ADO wrote it on the machines the files come from.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ado/Enums.h"
#include "ado/Variant.h"
#include "ado/persist/value_sink.h"

namespace ado::persist {

// The text of a value of a column of `type` and `scale`; false for Null and Empty, which
// the format leaves out. Fails with 3421 when the value cannot be one of the column's.
bool AppendXmlText(std::string& out, DataTypeEnum type, uint8_t scale, const Variant& value);

// The value that a text of the data section gives for a column of `type`, into the sink.
// Fails with InvalidFile naming `column` when the text is not one of the type's.
void ParseXmlValue(DataTypeEnum type, std::string_view text, std::string_view column, ValueSink& sink);
Variant XmlValue(DataTypeEnum type, std::string_view text, std::string_view column);

// Shared with the binary format.
// Reads "[-]digits[.digits][E[+-]n]" exactly; false when the text is not such a number or
// needs more than 28 decimals or 96 bits.
bool ParseExactDecimal(std::string_view text, Decimal& out);
// The value with exactly `scale` decimals, rounding half to even when it had more; 3421 when
// it does not fit.
Decimal RescaledDecimal(Decimal d, uint8_t scale);
// Digits of a decimal with `scale` decimals ("-1.2345"), as written by AppendXmlText.
void AppendDecimalText(std::string& out, const Decimal& d, bool trimZeros, bool leadingZero);
// A date serial from calendar parts and a time of day in seconds (fractions kept).
double SerialFrom(int year, int month, int day, double secondsOfDay);
// A date serial as whole days from 1899-12-30 and seconds of the day (fractions kept).
void SplitSerial(double serial, int64_t& days, double& secondsOfDay);

}  // namespace ado::persist
