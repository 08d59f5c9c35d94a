// Shared pieces of the Variant conversions: failures, the number reader, Decimal arithmetic
// and the date text forms. Internal to the variant folder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ado/Regional.h"
#include "ado/Variant.h"

namespace ado::conv {

[[noreturn]] void FailOverflow();
[[noreturn]] void FailTypeMismatch();
[[noreturn]] void FailNull();
[[noreturn]] void FailDivisionByZero();
[[noreturn]] void FailSubscript();

// Valid DATE serials, both bounds exclusive: 0100-01-01 00:00:00 is -657434 and its
// afternoon, counting the time forwards, is -657434.5.
inline constexpr double kMinDateSerial = -657435.0;
inline constexpr double kMaxDateSerial = 2958466.0;
double CheckedDateSerial(double serial);             // fails with 6 outside the range

// Rounds half to even and checks the target range (NaN fails too).
int64_t RoundToInteger(double x, int64_t lo, int64_t hi);
int64_t CurrencyToInteger(Currency c);  // half to even
Currency CurrencyFromDouble(double x);
Currency CurrencyFromInteger(int64_t v);
inline double CurrencyToDouble(Currency c) { return static_cast<double>(c.scaled) / 10000.0; }

// A number read from text: value = digits × 10^exponent, digits without leading zeros.
struct ParsedNumber {
    static constexpr int kMaxDigits = 40;  // more than Decimal and double need, plus a guard digit
    char digits[kMaxDigits];
    int count = 0;
    int64_t exponent = 0;
    bool negative = false;
    bool inexact = false;  // nonzero digits beyond kMaxDigits were dropped
};
// Reads a whole text as a number with the given settings; false when it is not one.
bool ParseNumber(std::string_view text, const RegionalSettings& rs, ParsedNumber& out);
double ParsedToDouble(const ParsedNumber& n);  // 6 when too large
float ParsedToSingle(const ParsedNumber& n);   // 6 when too large
Decimal ParsedToDecimal(const ParsedNumber& n);

// Decimal helpers. Conversions from binary reals keep 15 (double) or 7 (single) significant digits.
Decimal DecimalFromDigits(const char* digits, int count, int64_t exponent, bool negative, bool inexact);
Decimal DecimalFromInteger(int64_t v);
Decimal DecimalFromDouble(double x, int significantDigits = 15);
Decimal DecimalFromCurrency(Currency c);
double DecimalToDouble(const Decimal& d);
int64_t DecimalToInteger(const Decimal& d);  // half to even; 6 outside int64
Currency DecimalToCurrency(const Decimal& d);
int CompareDecimal(const Decimal& a, const Decimal& b);  // -1, 0, 1
void AppendDecimal(std::string& out, const Decimal& d, std::string_view decimalSeparator);

// x (finite, nonzero) rounded to `precision` significant digits: the digits without
// trailing zeros, and the decimal exponent of the first one. Returns how many digits.
int RoundedDigits(double x, int precision, char* digits, int& exp10);

// Text forms.
void AppendInteger(std::string& out, int64_t v);
void AppendReal(std::string& out, double x, int significantDigits, std::string_view decimalSeparator);
void AppendCurrency(std::string& out, Currency c, std::string_view decimalSeparator);
void AppendDate(std::string& out, Date d, const RegionalSettings& rs);
// Reads a date, a date and time or a time alone; false when the text is none of them.
// Besides numbers in the regional order (or ISO's), a date may name its month: "30 de
// diciembre de 1991", "Dec 30, 1991", "30-dic-91"; without a year it is this year's.
bool ParseDate(std::string_view text, const RegionalSettings& rs, Date& out);
// The month (1..12) a word names, in English or Spanish, whole or cut to three letters or
// more ("sept", "dic"), any case; 0 when it names none.
int MonthFromName(std::string_view word);
// The year of the local date today.
int CurrentYear();
// The days of `month` (1..12) in `year` of the Gregorian calendar.
int DaysInMonth(int year, int month);

// Text comparison folding ASCII and accented Latin-1 letters (UTF-8) unless caseSensitive.
int CompareText(std::string_view a, std::string_view b, bool caseSensitive);

}  // namespace ado::conv
