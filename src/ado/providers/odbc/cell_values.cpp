#include "ado/providers/odbc/cell_values.h"

#include <cmath>

#include "ado/Regional.h"

namespace ado::odbc {

namespace {

constexpr unsigned __int128 kDecimalLimit = static_cast<unsigned __int128>(1) << 96;
constexpr int kMaxScale = 28;

}  // namespace

std::optional<Decimal> ParseDecimalText(std::string_view text) {
    Decimal d;
    bool point = false, digits = false, roundUp = false, dropped = false;
    for (char c : text) {
        if (c == '-') {
            if (digits) return std::nullopt;
            d.negative = true;
        } else if (c == '.') {
            if (point) return std::nullopt;
            point = true;
        } else if (c >= '0' && c <= '9') {
            digits = true;
            if (dropped) continue;
            const unsigned __int128 next = d.mantissa * 10 + static_cast<unsigned>(c - '0');
            if ((point && d.scale == kMaxScale) || next >= kDecimalLimit) {
                if (!point) return std::nullopt;  // the whole part does not fit
                roundUp = c >= '5';
                dropped = true;
                continue;
            }
            d.mantissa = next;
            if (point) ++d.scale;
        } else if (c == 'e' || c == 'E' || c == 'N' || c == 'n' || c == 'I' || c == 'i') {
            return std::nullopt;  // exponents, NaN, Infinity
        }
    }
    if (!digits) return std::nullopt;
    if (roundUp && ++d.mantissa >= kDecimalLimit) return std::nullopt;
    if (d.mantissa == 0) d.negative = false;
    return d;
}

std::optional<int64_t> ParseCurrencyText(std::string_view text) {
    const auto d = ParseDecimalText(text);
    if (!d) return std::nullopt;
    unsigned __int128 m = d->mantissa;
    int scale = d->scale;
    bool roundUp = false;
    while (scale > 4) {
        roundUp = m % 10 >= 5;
        m /= 10;
        --scale;
    }
    if (roundUp) ++m;
    while (scale < 4) {
        m *= 10;
        ++scale;
        if (m > static_cast<unsigned __int128>(INT64_MAX)) return std::nullopt;
    }
    if (m > static_cast<unsigned __int128>(INT64_MAX)) return std::nullopt;
    const auto v = static_cast<int64_t>(m);
    return d->negative ? -v : v;
}

std::string DecimalText(const Variant& value) {
    static const RegionalSettings invariant;  // '.' and no grouping
    return value.ToString(invariant);
}

std::optional<double> TimestampToSerial(const SQL_TIMESTAMP_STRUCT& ts) {
    if (ts.year < 100 || ts.year > 9999) return std::nullopt;
    const double whole = MakeDate(ts.year, ts.month, ts.day, ts.hour, ts.minute, ts.second).serial;
    const double fraction = ts.fraction / 1e9 / 86400.0;
    // Before 1899-12-30 the time counts forwards with the sign of the day.
    return whole < 0 ? whole - fraction : whole + fraction;
}

double TimeToSerial(const SQL_TIME_STRUCT& t) { return (t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0; }

SQL_TIMESTAMP_STRUCT SerialToTimestamp(double serial) {
    double day = std::trunc(serial);
    // The double holds the time only as finely as its last bit: round to that power of ten of
    // microseconds, so that whole seconds of far years stay whole.
    const double bit = (std::nextafter(std::fabs(serial), INFINITY) - std::fabs(serial)) * 86400e6;
    int64_t step = 1;
    while (static_cast<double>(step) < bit) step *= 10;
    int64_t micros = std::llround(std::fabs(serial - day) * 86400e6 / static_cast<double>(step)) * step;
    if (micros >= 86400'000'000LL) {  // rounding reached midnight
        micros -= 86400'000'000LL;
        day += serial < 0 ? -1 : 1;
    }
    const DateParts p = SplitDate(Date{day});
    SQL_TIMESTAMP_STRUCT ts{};
    ts.year = static_cast<SQLSMALLINT>(p.year);
    ts.month = static_cast<SQLUSMALLINT>(p.month);
    ts.day = static_cast<SQLUSMALLINT>(p.day);
    const int64_t seconds = micros / 1'000'000;
    ts.hour = static_cast<SQLUSMALLINT>(seconds / 3600);
    ts.minute = static_cast<SQLUSMALLINT>(seconds / 60 % 60);
    ts.second = static_cast<SQLUSMALLINT>(seconds % 60);
    ts.fraction = static_cast<SQLUINTEGER>(micros % 1'000'000 * 1000);
    return ts;
}

}  // namespace ado::odbc
