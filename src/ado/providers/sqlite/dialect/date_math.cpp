#include "ado/providers/sqlite/dialect/date_math.h"

#include <cmath>

#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/sql_tokens.h"
#include "ado/variant/conversion.h"

namespace ado::sqlite::detail {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kFirstDay = -657434;  // 0100-01-01
constexpr int64_t kLastDay = 2958465;   // 9999-12-31

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
int64_t FloorMod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }

struct IntervalCode {
    std::string_view code;
    Interval interval;
};
constexpr IntervalCode kIntervals[] = {
    {"YYYY", Interval::Year}, {"Q", Interval::Quarter}, {"M", Interval::Month},     {"Y", Interval::DayOfYear},
    {"D", Interval::Day},     {"W", Interval::Weekday}, {"WW", Interval::Week},     {"H", Interval::Hour},
    {"N", Interval::Minute},  {"S", Interval::Second},
};

void CheckYear(int64_t year) {
    if (year < 100 || year > 9999) ThrowRuntimeError(kInvalidProcedureCall);
}

// Months counted from year 0: year * 12 + month - 1.
int64_t MonthIndex(const DateParts& p) { return int64_t{p.year} * 12 + p.month - 1; }

// The first day of the week that holds `day`.
int64_t WeekStart(int64_t day, int firstDayOfWeek) { return day - (WeekdayOf(day, firstDayOfWeek) - 1); }

int64_t FirstWeekStart(int64_t year, int firstDayOfWeek, int firstWeekOfYear) {
    const int64_t jan1 = DayNumber(static_cast<int>(year), 1, 1);
    const int64_t offset = WeekdayOf(jan1, firstDayOfWeek) - 1;  // days of the week before January 1
    switch (firstWeekOfYear) {
        case 2:
            return 7 - offset >= 4 ? jan1 - offset : jan1 - offset + 7;
        case 3:
            return offset == 0 ? jan1 : jan1 - offset + 7;
        default:
            return jan1 - offset;
    }
}

int NormalizedFirstDay(int firstDayOfWeek) {
    if (firstDayOfWeek == 0) return 1;
    if (firstDayOfWeek < 1 || firstDayOfWeek > 7) ThrowRuntimeError(kInvalidProcedureCall);
    return firstDayOfWeek;
}

}  // namespace

Interval ParseInterval(std::string_view code) {
    for (const auto& i : kIntervals)
        if (EqualsNoCase(i.code, code)) return i.interval;
    ThrowRuntimeError(kInvalidProcedureCall);
}

DayTime ToDayTime(Date d) {
    const DateParts p = SplitDate(d);
    return {DayNumber(p.year, p.month, p.day), int64_t{p.hour} * 3600 + p.minute * 60 + p.second};
}

Date FromDayTime(int64_t day, int64_t seconds) {
    day += FloorDiv(seconds, kSecondsPerDay);
    seconds = FloorMod(seconds, kSecondsPerDay);
    if (day < kFirstDay || day > kLastDay) ThrowRuntimeError(kInvalidProcedureCall);
    const double fraction = static_cast<double>(seconds) / kSecondsPerDay;
    // Before the epoch the serial's integer part counts backwards and its fraction forwards.
    return Date{day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction};
}

int64_t DayNumber(int year, int month, int day) {
    return static_cast<int64_t>(MakeDate(year, month, day).serial);
}

int WeekdayOf(int64_t day, int firstDayOfWeek) {
    const int sundayBased = static_cast<int>(FloorMod(day + 6, 7)) + 1;  // 1899-12-30 was a Saturday
    return (sundayBased - NormalizedFirstDay(firstDayOfWeek) + 7) % 7 + 1;
}

Date DateAdd(Interval interval, int64_t number, Date d) {
    const DayTime dt = ToDayTime(d);
    int64_t months = 0;
    switch (interval) {
        case Interval::Year: months = number * 12; break;
        case Interval::Quarter: months = number * 3; break;
        case Interval::Month: months = number; break;
        case Interval::DayOfYear:
        case Interval::Day:
        case Interval::Weekday: return FromDayTime(dt.day + number, dt.seconds);
        case Interval::Week: return FromDayTime(dt.day + number * 7, dt.seconds);
        case Interval::Hour: return FromDayTime(dt.day, dt.seconds + number * 3600);
        case Interval::Minute: return FromDayTime(dt.day, dt.seconds + number * 60);
        case Interval::Second: return FromDayTime(dt.day, dt.seconds + number);
    }
    // Adding months never gives an invalid date: the day is cut to the month's last.
    const DateParts p = SplitDate(d);
    const int64_t index = MonthIndex(p) + months;
    const int64_t year = FloorDiv(index, 12);
    const int month = static_cast<int>(FloorMod(index, 12)) + 1;
    CheckYear(year);
    const int day = std::min(p.day, conv::DaysInMonth(static_cast<int>(year), month));
    return FromDayTime(DayNumber(static_cast<int>(year), month, day), dt.seconds);
}

int64_t DateDiff(Interval interval, Date d1, Date d2, int firstDayOfWeek) {
    const DateParts p1 = SplitDate(d1), p2 = SplitDate(d2);
    const DayTime t1 = ToDayTime(d1), t2 = ToDayTime(d2);
    switch (interval) {
        case Interval::Year: return p2.year - p1.year;
        case Interval::Quarter: return (int64_t{p2.year} * 4 + (p2.month - 1) / 3) - (int64_t{p1.year} * 4 + (p1.month - 1) / 3);
        case Interval::Month: return MonthIndex(p2) - MonthIndex(p1);
        case Interval::DayOfYear:
        case Interval::Day: return t2.day - t1.day;
        case Interval::Weekday: return (t2.day - t1.day) / 7;  // whole weeks, toward zero
        case Interval::Week:
            return (WeekStart(t2.day, firstDayOfWeek) - WeekStart(t1.day, firstDayOfWeek)) / 7;
        case Interval::Hour: return (t2.day * 24 + p2.hour) - (t1.day * 24 + p1.hour);
        case Interval::Minute: return (t2.day * 1440 + p2.hour * 60 + p2.minute) - (t1.day * 1440 + p1.hour * 60 + p1.minute);
        case Interval::Second: return (t2.day * kSecondsPerDay + t2.seconds) - (t1.day * kSecondsPerDay + t1.seconds);
    }
    return 0;
}

int64_t DatePart(Interval interval, Date d, int firstDayOfWeek, int firstWeekOfYear) {
    const DateParts p = SplitDate(d);
    const DayTime t = ToDayTime(d);
    switch (interval) {
        case Interval::Year: return p.year;
        case Interval::Quarter: return (p.month - 1) / 3 + 1;
        case Interval::Month: return p.month;
        case Interval::DayOfYear: return t.day - DayNumber(p.year, 1, 1) + 1;
        case Interval::Day: return p.day;
        case Interval::Weekday: return WeekdayOf(t.day, firstDayOfWeek);
        case Interval::Week: {
            if (firstWeekOfYear < 0 || firstWeekOfYear > 3) ThrowRuntimeError(kInvalidProcedureCall);
            int64_t start = FirstWeekStart(p.year, firstDayOfWeek, firstWeekOfYear);
            if (t.day < start) start = FirstWeekStart(p.year - 1, firstDayOfWeek, firstWeekOfYear);
            return (t.day - start) / 7 + 1;
        }
        case Interval::Hour: return p.hour;
        case Interval::Minute: return p.minute;
        case Interval::Second: return p.second;
    }
    return 0;
}

Date DateSerial(int64_t year, int64_t month, int64_t day) {
    if (year >= 0 && year < 30) year += 2000;
    else if (year >= 30 && year < 100) year += 1900;
    const int64_t index = year * 12 + month - 1;
    const int64_t y = FloorDiv(index, 12);
    CheckYear(y);
    const int m = static_cast<int>(FloorMod(index, 12)) + 1;
    return FromDayTime(DayNumber(static_cast<int>(y), m, 1) + day - 1, 0);
}

}  // namespace ado::sqlite::detail
