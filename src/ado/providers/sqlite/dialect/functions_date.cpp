// Date functions: Now, Date, Time, Year..Second, Weekday, DateAdd, DateDiff, DatePart,
// DateSerial, TimeSerial, DateValue, TimeValue. Dates come as serial numbers (or texts)
// and go back as serial numbers.
#include <ctime>

#include "ado/providers/sqlite/dialect/date_math.h"
#include "ado/providers/sqlite/dialect/function_call.h"

namespace ado::sqlite::detail {
namespace {

std::tm LocalTime(std::time_t at) {
    std::tm local{};
    localtime_r(&at, &local);
    return local;
}

DayTime LocalNow() {
    const std::tm local = LocalTime(std::time(nullptr));
    return {DayNumber(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
            int64_t{local.tm_hour} * 3600 + local.tm_min * 60 + local.tm_sec};
}

void Now(Call& c) {
    const DayTime t = LocalNow();
    c.ReturnDate(FromDayTime(t.day, t.seconds));
}
void Today(Call& c) { c.ReturnDate(FromDayTime(LocalNow().day, 0)); }
void TimeNow(Call& c) { c.ReturnDate(FromDayTime(0, LocalNow().seconds)); }

// Date$ and Time$: VBA's fixed texts, mm-dd-yyyy and hh:mm:ss, whatever the regional settings.
void ReturnNowAs(Call& c, const char* form) {
    const std::tm local = LocalTime(std::time(nullptr));
    char text[16];
    std::strftime(text, sizeof text, form, &local);
    c.ReturnText(text);
}
void TodayText(Call& c) { ReturnNowAs(c, "%m-%d-%Y"); }
void TimeText(Call& c) { ReturnNowAs(c, "%H:%M:%S"); }

// Timer: the seconds since midnight, with their fraction, as a Single.
void Timer(Call& c) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const std::tm local = LocalTime(now.tv_sec);
    const double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + now.tv_nsec / 1e9;
    c.Return(static_cast<double>(static_cast<float>(seconds)));
}

// Year(d) .. Second(d): one part of a date; Null gives Null.
template <Interval part>
void Part(Call& c) {
    const auto d = c.DateArg(0);
    if (!d) return c.ReturnNull();
    c.Return(DatePart(part, *d));
}

int OptionalLong(Call& c, int i, int fallback) { return c.Count() > i && !c.IsNull(i) ? c.Long(i) : fallback; }

void Weekday(Call& c) {
    const auto d = c.DateArg(0);
    if (!d) return c.ReturnNull();
    c.Return(int64_t{WeekdayOf(ToDayTime(*d).day, OptionalLong(c, 1, 1))});
}

void DateAddF(Call& c) {
    const Interval interval = ParseInterval(c.Text(0));
    const auto d = c.DateArg(2);
    if (!d || c.IsNull(1)) return c.ReturnNull();
    c.ReturnDate(DateAdd(interval, c.Long(1), *d));
}

void DateDiffF(Call& c) {
    const Interval interval = ParseInterval(c.Text(0));
    const auto d1 = c.DateArg(1), d2 = c.DateArg(2);
    if (!d1 || !d2) return c.ReturnNull();
    c.Return(DateDiff(interval, *d1, *d2, OptionalLong(c, 3, 1)));
}

void DatePartF(Call& c) {
    const Interval interval = ParseInterval(c.Text(0));
    const auto d = c.DateArg(1);
    if (!d) return c.ReturnNull();
    c.Return(DatePart(interval, *d, OptionalLong(c, 2, 1), OptionalLong(c, 3, 1)));
}

void DateSerialF(Call& c) {
    for (int i = 0; i < 3; ++i)
        if (c.IsNull(i)) return c.ReturnNull();
    c.ReturnDate(DateSerial(c.Long(0), c.Long(1), c.Long(2)));
}

void TimeSerialF(Call& c) {
    for (int i = 0; i < 3; ++i)
        if (c.IsNull(i)) return c.ReturnNull();
    c.ReturnDate(FromDayTime(0, int64_t{c.Long(0)} * 3600 + int64_t{c.Long(1)} * 60 + c.Long(2)));
}

void DateValue(Call& c) {
    const auto d = c.DateArg(0);
    if (!d) return c.ReturnNull();
    c.ReturnDate(FromDayTime(ToDayTime(*d).day, 0));
}

void TimeValue(Call& c) {
    const auto d = c.DateArg(0);
    if (!d) return c.ReturnNull();
    c.ReturnDate(FromDayTime(0, ToDayTime(*d).seconds));
}

// DATE and TIME only without arguments, so the engine's date(...) and time(...) stay.
constexpr FunctionSpec kDateFunctions[] = {
    {"NOW", 0, 0, Now, false},
    {"DATE", 0, 0, Today, false},
    {"TIME", 0, 0, TimeNow, false},
    {"DATE$", 0, 0, TodayText, false},
    {"TIME$", 0, 0, TimeText, false},
    {"TIMER", 0, 0, Timer, false},
    {"YEAR", 1, 1, Part<Interval::Year>},
    {"MONTH", 1, 1, Part<Interval::Month>},
    {"DAY", 1, 1, Part<Interval::Day>},
    {"HOUR", 1, 1, Part<Interval::Hour>},
    {"MINUTE", 1, 1, Part<Interval::Minute>},
    {"SECOND", 1, 1, Part<Interval::Second>},
    {"WEEKDAY", 1, 2, Weekday},
    {"DATEADD", 3, 3, DateAddF},
    {"DATEDIFF", 3, 5, DateDiffF},
    {"DATEPART", 2, 4, DatePartF},
    {"DATESERIAL", 3, 3, DateSerialF},
    {"TIMESERIAL", 3, 3, TimeSerialF},
    {"DATEVALUE", 1, 1, DateValue},
    {"TIMEVALUE", 1, 1, TimeValue},
};

}  // namespace

std::span<const FunctionSpec> DateFunctions() { return kDateFunctions; }

}  // namespace ado::sqlite::detail
