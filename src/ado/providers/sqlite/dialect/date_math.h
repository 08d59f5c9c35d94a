// Calendar arithmetic of the VBA date functions on the DATE convention: DateAdd,
// DateDiff, DatePart, DateSerial. Dates are handled as a day number (days since
// 1899-12-30) and seconds of the day, which counts forwards on both sides of the epoch.
#pragma once

#include <cstdint>
#include <string_view>

#include "ado/Variant.h"

namespace ado::sqlite::detail {

enum class Interval { Year, Quarter, Month, DayOfYear, Day, Weekday, Week, Hour, Minute, Second };

// "yyyy", "q", "m", "y", "d", "w", "ww", "h", "n", "s" in any case; others fail with 5.
Interval ParseInterval(std::string_view code);

struct DayTime {
    int64_t day;      // days since 1899-12-30
    int64_t seconds;  // 0 .. 86399
};
DayTime ToDayTime(Date d);
// Out of the years 100..9999 fails with 5 (invalid procedure call).
Date FromDayTime(int64_t day, int64_t seconds);

int64_t DayNumber(int year, int month, int day);
// 1 = firstDayOfWeek .. 7; firstDayOfWeek 1 = Sunday .. 7 = Saturday (0 means Sunday).
int WeekdayOf(int64_t day, int firstDayOfWeek = 1);

Date DateAdd(Interval interval, int64_t number, Date d);
int64_t DateDiff(Interval interval, Date d1, Date d2, int firstDayOfWeek = 1);
// firstWeekOfYear: 1 the week of January 1, 2 the first week with four days, 3 the
// first full week (0 means 1).
int64_t DatePart(Interval interval, Date d, int firstDayOfWeek = 1, int firstWeekOfYear = 1);
// Months and days out of range roll over; years 0..29 are 2000.., 30..99 are 1930..
Date DateSerial(int64_t year, int64_t month, int64_t day);

}  // namespace ado::sqlite::detail
