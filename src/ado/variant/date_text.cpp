// Dates as text (the platform's general date) and text as dates.
#include <array>
#include <charconv>
#include <ctime>

#include "ado/variant/conversion.h"

namespace ado::conv {
namespace {

using Order = RegionalSettings::DateOrder;

void AppendPadded(std::string& out, int v, int width) {
    char buf[12];
    const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
    for (auto n = end - buf; n < width; ++n) out += '0';
    out.append(buf, end);
}

void AppendShortDate(std::string& out, const DateParts& p, const RegionalSettings& rs) {
    const int dm = rs.leadingZeroDayMonth ? 2 : 1;
    const int yearValue = rs.fourDigitYear ? p.year : p.year % 100;
    const int yearWidth = rs.fourDigitYear ? 4 : 2;
    struct Field { int value, width; };
    const Field day{p.day, dm}, month{p.month, dm}, year{yearValue, yearWidth};
    const std::array<Field, 3> fields = rs.dateOrder == Order::DayMonthYear   ? std::array{day, month, year}
                                        : rs.dateOrder == Order::MonthDayYear ? std::array{month, day, year}
                                                                              : std::array{year, month, day};
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += rs.dateSeparator;
        AppendPadded(out, fields[i].value, fields[i].width);
    }
}

void AppendLongTime(std::string& out, const DateParts& p, const RegionalSettings& rs) {
    const int hour = rs.twentyFourHour ? p.hour : (p.hour % 12 == 0 ? 12 : p.hour % 12);
    AppendPadded(out, hour, rs.leadingZeroHour ? 2 : 1);
    out += rs.timeSeparator;
    AppendPadded(out, p.minute, 2);
    out += rs.timeSeparator;
    AppendPadded(out, p.second, 2);
    if (!rs.twentyFourHour) {
        out += ' ';
        out += p.hour < 12 ? rs.amDesignator : rs.pmDesignator;
    }
}

// A small reader over the text being parsed.
struct Reader {
    std::string_view s;
    size_t i = 0;

    bool AtEnd() const { return i == s.size(); }
    void SkipSpaces() {
        while (i < s.size() && s[i] == ' ') ++i;
    }
    bool Take(std::string_view what) {
        if (what.empty() || s.substr(i, what.size()) != what) return false;
        i += what.size();
        return true;
    }
    bool TakeNoCase(std::string_view what) {
        if (what.empty() || i + what.size() > s.size()) return false;
        if (CompareText(s.substr(i, what.size()), what, false) != 0) return false;
        i += what.size();
        return true;
    }
    // Up to maxDigits digits; `digits` receives how many were read.
    bool Number(int& value, int& digits, int maxDigits) {
        digits = 0;
        value = 0;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9' && digits < maxDigits) {
            value = value * 10 + (s[i++] - '0');
            ++digits;
        }
        return digits > 0 && !(i < s.size() && s[i] >= '0' && s[i] <= '9');
    }
    bool DateSeparator(const RegionalSettings& rs) {
        return Take(rs.dateSeparator) || Take("/") || Take("-") || Take(".");
    }
    bool TimeSeparator(const RegionalSettings& rs) { return Take(rs.timeSeparator) || Take(":"); }
};

// The year as written: two digits are 1930..2029, three and four digits are literal.
int FullYear(int value, int digits) {
    if (digits > 2) return value;
    return value < 30 ? 2000 + value : 1900 + value;
}

struct DayOfYear {
    int year, month, day;
};

// Three numbers with date separators. A first number of three or four digits is a year
// (ISO order); otherwise the regional order applies, swapping day and month when only
// the swapped reading is a date, as the platform does.
bool ReadDate(Reader& r, const RegionalSettings& rs, DayOfYear& out) {
    int v[3], digits[3];
    for (int k = 0; k < 3; ++k) {
        if (k > 0 && !r.DateSeparator(rs)) return false;
        if (!r.Number(v[k], digits[k], 4)) return false;
    }
    Order order = rs.dateOrder;
    if (digits[0] > 2) order = Order::YearMonthDay;
    int yearIndex = order == Order::YearMonthDay ? 0 : 2;
    int monthIndex = order == Order::MonthDayYear ? 0 : 1;
    int dayIndex = order == Order::DayMonthYear ? 0 : (order == Order::MonthDayYear ? 1 : 2);
    for (int k : {monthIndex, dayIndex})
        if (digits[k] > 2) return false;
    if (yearIndex == 2 && digits[2] == 3) return false;  // "1/2/123" is no year anyone writes
    out.year = FullYear(v[yearIndex], digits[yearIndex]);
    out.month = v[monthIndex];
    out.day = v[dayIndex];
    if (out.month > 12 && out.day <= 12 && order != Order::YearMonthDay) std::swap(out.month, out.day);
    return out.year >= 100 && out.year <= 9999 && out.month >= 1 && out.month <= 12 && out.day >= 1 &&
           out.day <= DaysInMonth(out.year, out.month);
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A date that names its month: one month name, the day and the year in either order (the
// year is the number of more than two digits or above 31, else the second one), or the day
// alone (this year) or the year alone (its first day); spaces, commas, '-', '/', '.' and
// the Spanish "de" or "del" between them. Stops where a time begins.
bool ReadNamedDate(Reader& r, DayOfYear& out) {
    int month = 0, count = 0, value[2], digits[2];
    while (!r.AtEnd()) {
        const size_t at = r.i;
        const char c = r.s[r.i];
        if (IsAsciiLetter(c)) {
            size_t end = r.i;
            while (end < r.s.size() && IsAsciiLetter(r.s[end])) ++end;
            const std::string_view word = r.s.substr(r.i, end - r.i);
            const int named = MonthFromName(word);
            const bool connector = CompareText(word, "de", false) == 0 || CompareText(word, "del", false) == 0;
            if (!connector && (named == 0 || month != 0)) break;
            if (named) month = named;
            r.i = end;
        } else if (IsDigit(c)) {
            int v, d;
            if (!r.Number(v, d, 4)) return false;
            if (!r.AtEnd() && r.s[r.i] == ':') {  // a time
                r.i = at;
                break;
            }
            if (count == 2) return false;
            value[count] = v;
            digits[count++] = d;
        } else if (c == ' ' || c == ',' || c == '-' || c == '/' || c == '.') {
            ++r.i;
        } else {
            break;
        }
    }
    if (month == 0 || count == 0) return false;
    while (r.i > 0 && r.s[r.i - 1] == ' ') --r.i;  // the spaces before a time are the caller's
    const auto isYear = [&](int k) { return digits[k] > 2 || value[k] > 31; };
    out.month = month;
    if (count == 1) {
        out.year = isYear(0) ? FullYear(value[0], digits[0]) : CurrentYear();
        out.day = isYear(0) ? 1 : value[0];
    } else {
        const int yearAt = isYear(0) ? 0 : 1;
        if (isYear(1 - yearAt)) return false;
        out.year = FullYear(value[yearAt], digits[yearAt]);
        out.day = value[1 - yearAt];
    }
    return out.year >= 100 && out.year <= 9999 && out.day >= 1 && out.day <= DaysInMonth(out.year, month);
}

// "h:mm[:ss]" with an optional AM/PM designator; returns the seconds of the day.
bool ReadTime(Reader& r, const RegionalSettings& rs, int& seconds) {
    int h, m, s = 0, digits;
    if (!r.Number(h, digits, 2) || !r.TimeSeparator(rs) || !r.Number(m, digits, 2)) return false;
    if (r.TimeSeparator(rs) && !r.Number(s, digits, 2)) return false;
    const size_t beforeSpaces = r.i;
    r.SkipSpaces();
    const bool am = r.TakeNoCase(rs.amDesignator) || r.TakeNoCase("AM");
    const bool pm = !am && (r.TakeNoCase(rs.pmDesignator) || r.TakeNoCase("PM"));
    if (am || pm) {
        if (h > 12) return false;
        h = h % 12 + (pm ? 12 : 0);
    } else {
        r.i = beforeSpaces;
    }
    if (h > 23 || m > 59 || s > 59) return false;
    seconds = h * 3600 + m * 60 + s;
    return true;
}

}  // namespace

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

int CurrentYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

int MonthFromName(std::string_view word) {
    static constexpr const char* kNames[][2] = {
        {"january", "enero"},     {"february", "febrero"}, {"march", "marzo"},       {"april", "abril"},
        {"may", "mayo"},          {"june", "junio"},       {"july", "julio"},        {"august", "agosto"},
        {"september", "septiembre"}, {"october", "octubre"}, {"november", "noviembre"}, {"december", "diciembre"},
    };
    if (word.size() < 3) return 0;
    for (int m = 0; m < 12; ++m)
        for (std::string_view name : kNames[m])
            if (word.size() <= name.size() && CompareText(name.substr(0, word.size()), word, false) == 0) return m + 1;
    return 0;
}

void AppendDate(std::string& out, Date d, const RegionalSettings& rs) {
    const DateParts p = SplitDate(d);
    const bool noDate = p.year == 1899 && p.month == 12 && p.day == 30;
    const bool midnight = p.hour == 0 && p.minute == 0 && p.second == 0;
    if (!noDate) AppendShortDate(out, p, rs);
    if (noDate || !midnight) {
        if (!noDate) out += ' ';
        AppendLongTime(out, p, rs);
    }
}

bool ParseDate(std::string_view text, const RegionalSettings& rs, Date& out) {
    Reader r{text};
    r.SkipSpaces();
    const size_t start = r.i;
    DayOfYear day{};
    int seconds = 0;
    bool hasDate = ReadDate(r, rs, day);
    if (!hasDate) {
        r.i = start;
        hasDate = ReadNamedDate(r, day);
    }
    if (hasDate) {
        const size_t afterDate = r.i;
        const bool iso = r.Take("T");
        if (!iso) r.SkipSpaces();
        if (!ReadTime(r, rs, seconds)) {
            if (iso) return false;
            seconds = 0;
            r.i = afterDate;
        }
    } else {
        r.i = start;
        if (!ReadTime(r, rs, seconds)) return false;
    }
    r.SkipSpaces();
    if (!r.AtEnd()) return false;
    if (!hasDate) {
        out = Date{seconds / 86400.0};
        return true;
    }
    out = MakeDate(day.year, day.month, day.day, seconds / 3600, seconds / 60 % 60, seconds % 60);
    return true;
}

}  // namespace ado::conv
