// The DATE convention: days since 1899-12-30, time as the fraction. Before the epoch the
// integer part counts backwards and the fraction forwards (-1.25 is 1899-12-29 06:00).
#include <cmath>

#include "ado/Error.h"
#include "ado/ErrorNumbers.h"
#include "ado/Variant.h"

namespace ado {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's civil algorithms).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

constexpr int64_t kEpochFromUnix = -25569;  // 1899-12-30 counted from 1970-01-01

}  // namespace

Date MakeDate(int year, int month, int day, int hour, int minute, int second) {
    // Months and days out of range roll over, as DateSerial does.
    int64_t y = year + (month - 1 >= 0 ? (month - 1) / 12 : (month - 12) / 12);
    int64_t m = ((month - 1) % 12 + 12) % 12 + 1;
    if (y < 100 || y > 9999) throw Error(err::Overflow, "Desbordamiento");
    const int64_t days = DaysFromCivil(y, static_cast<unsigned>(m), 1) + (day - 1) - kEpochFromUnix;
    const double frac = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    // Whole days plus a time that counts forwards: negative serials store the fraction negated.
    const double whole = static_cast<double>(days) + std::floor(frac);
    // Rolled-over days and times may still leave 0100-01-01 .. 9999-12-31.
    if (whole < -657434.0 || whole > 2958465.0) throw Error(err::Overflow, "Desbordamiento");
    const double timePart = frac - std::floor(frac);
    if (whole >= 0) return Date{whole + timePart};
    return Date{whole - timePart};
}

DateParts SplitDate(Date date) {
    const double s = date.serial;
    // 0100-01-01 12:00 is -657434.5: the lower bound excludes only the day before.
    if (!std::isfinite(s) || s <= -657435.0 || s >= 2958466.0) throw Error(err::Overflow, "Desbordamiento");
    double whole = std::trunc(s);
    double frac = std::fabs(s - whole);
    int64_t secs = std::llround(frac * 86400.0);
    if (secs >= 86400) {  // rounding reached midnight: carry into the day
        secs -= 86400;
        whole += (s >= 0 ? 1 : -1);
    }
    DateParts p{};
    const int64_t days = static_cast<int64_t>(whole) + kEpochFromUnix;
    CivilFromDays(days, p.year, p.month, p.day);
    p.hour = static_cast<int>(secs / 3600);
    p.minute = static_cast<int>(secs / 60 % 60);
    p.second = static_cast<int>(secs % 60);
    p.weekday = static_cast<int>(((days % 7) + 7 + 4) % 7) + 1;  // 1970-01-01 was a Thursday (5)
    return p;
}

}  // namespace ado
