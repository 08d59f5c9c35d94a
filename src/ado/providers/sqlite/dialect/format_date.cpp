// Date patterns of Format: d dd ddd dddd ddddd dddddd, w ww, m mm mmm mmmm (minutes right
// after an hour), q, y yy yyyy, h hh, n nn, s ss, ttttt, c, AM/PM am/pm A/P a/p AMPM,
// '/' and ':' as the regional separators, literal text in quotes or after a backslash.
#include <cctype>
#include <cmath>

#include <fmt/format.h>

#include "ado/providers/sqlite/dialect/date_math.h"
#include "ado/providers/sqlite/dialect/format_value.h"
#include "ado/providers/sqlite/dialect/sql_tokens.h"

namespace ado::sqlite::detail {
namespace {

struct Names {
    const char* months[12];
    const char* shortMonths[12];
    const char* days[7];
    const char* shortDays[7];
    const char* longDate;  // the Long Date pattern
};

constexpr Names kEnglish = {
    {"January", "February", "March", "April", "May", "June", "July", "August", "September", "October", "November",
     "December"},
    {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
    {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
    {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
    "dddd, mmmm d, yyyy",
};

constexpr Names kSpanish = {
    {"enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto", "septiembre", "octubre", "noviembre",
     "diciembre"},
    {"ene", "feb", "mar", "abr", "may", "jun", "jul", "ago", "sep", "oct", "nov", "dic"},
    {"domingo", "lunes", "martes", "miércoles", "jueves", "viernes", "sábado"},
    {"dom", "lun", "mar", "mié", "jue", "vie", "sáb"},
    "dddd, d\" de \"mmmm\" de \"yyyy",
};

bool StartsWithNoCase(std::string_view s, size_t at, std::string_view word) {
    return s.size() - at >= word.size() && EqualsNoCase(s.substr(at, word.size()), word);
}

bool HasMeridian(std::string_view p) {
    for (size_t i = 0; i < p.size(); ++i)
        if (StartsWithNoCase(p, i, "AM/PM") || StartsWithNoCase(p, i, "A/P") || StartsWithNoCase(p, i, "AMPM"))
            return true;
    return false;
}

size_t RunLength(std::string_view p, size_t i) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(p[i])));
    size_t j = i;
    while (j < p.size() && std::tolower(static_cast<unsigned char>(p[j])) == c) ++j;
    return j - i;
}

std::string ShortDate(Date d) { return Variant(Date{std::trunc(d.serial)}).ToString(); }
std::string LongTime(const DateParts& p) {
    return Variant(MakeDate(1899, 12, 30, p.hour, p.minute, p.second)).ToString();
}

}  // namespace

bool UsesSpanishNames(const RegionalSettings& regional) { return regional.trueText == "Verdadero"; }

std::string FormatDatePattern(Date d, std::string_view p, const RegionalSettings& regional, int firstDayOfWeek,
                              int firstWeekOfYear) {
    const Names& names = UsesSpanishNames(regional) ? kSpanish : kEnglish;
    const DateParts parts = SplitDate(d);
    const bool twelveHour = HasMeridian(p);
    const int hour12 = parts.hour % 12 == 0 ? 12 : parts.hour % 12;
    std::string out;
    bool afterHour = false;  // m right after an hour means minutes
    for (size_t i = 0; i < p.size();) {
        const char c = p[i];
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        const size_t run = RunLength(p, i);
        size_t used = 1;
        bool hourToken = false;
        if (c == '"') {
            const size_t close = p.find('"', i + 1);
            out += p.substr(i + 1, (close == std::string_view::npos ? p.size() : close) - i - 1);
            used = (close == std::string_view::npos ? p.size() : close + 1) - i;
        } else if (c == '\\' && i + 1 < p.size()) {
            out += p[i + 1];
            used = 2;
        } else if (StartsWithNoCase(p, i, "AM/PM") || StartsWithNoCase(p, i, "A/P")) {
            const bool full = StartsWithNoCase(p, i, "AM/PM");
            const bool pm = parts.hour >= 12;
            const std::string_view word = p.substr(i + (pm ? (full ? 3 : 2) : 0), full ? 2 : 1);
            out += word;
            used = full ? 5 : 3;
        } else if (StartsWithNoCase(p, i, "AMPM")) {
            out += parts.hour >= 12 ? regional.pmDesignator : regional.amDesignator;
            used = 4;
        } else if (lower == 'd') {
            used = std::min<size_t>(run, 6);
            const int weekday = parts.weekday - 1;
            switch (used) {
                case 1: out += std::to_string(parts.day); break;
                case 2: out += fmt::format("{:02}", parts.day); break;
                case 3: out += names.shortDays[weekday]; break;
                case 4: out += names.days[weekday]; break;
                case 5: out += ShortDate(d); break;
                default: out += FormatDatePattern(d, names.longDate, regional); break;
            }
        } else if (lower == 'w') {
            used = std::min<size_t>(run, 2);
            const Interval interval = used == 1 ? Interval::Weekday : Interval::Week;
            out += std::to_string(DatePart(interval, d, firstDayOfWeek, firstWeekOfYear));
        } else if (lower == 'm') {
            used = std::min<size_t>(run, 4);
            if (afterHour && used <= 2) {
                out += used == 1 ? std::to_string(parts.minute) : fmt::format("{:02}", parts.minute);
            } else {
                switch (used) {
                    case 1: out += std::to_string(parts.month); break;
                    case 2: out += fmt::format("{:02}", parts.month); break;
                    case 3: out += names.shortMonths[parts.month - 1]; break;
                    default: out += names.months[parts.month - 1]; break;
                }
            }
        } else if (lower == 'y') {
            used = run >= 4 ? 4 : run >= 2 ? 2 : 1;
            if (used == 4) out += fmt::format("{:04}", parts.year);
            else if (used == 2) out += fmt::format("{:02}", parts.year % 100);
            else out += std::to_string(DatePart(Interval::DayOfYear, d));
        } else if (lower == 'q') {
            out += std::to_string((parts.month - 1) / 3 + 1);
        } else if (lower == 'h') {
            used = std::min<size_t>(run, 2);
            const int h = twelveHour ? hour12 : parts.hour;
            out += used == 1 ? std::to_string(h) : fmt::format("{:02}", h);
            hourToken = true;
        } else if (lower == 'n' || lower == 's') {
            used = std::min<size_t>(run, 2);
            const int v = lower == 'n' ? parts.minute : parts.second;
            out += used == 1 ? std::to_string(v) : fmt::format("{:02}", v);
        } else if (lower == 't' && run >= 5) {
            used = 5;
            out += LongTime(parts);
        } else if (lower == 'c') {
            out += Variant(d).ToString();
        } else if (c == '/') {
            out += regional.dateSeparator;
        } else if (c == ':') {
            out += regional.timeSeparator;
        } else {
            out += c;
        }
        // Separators and literals between an hour and m keep the minute reading.
        const bool token = std::isalpha(static_cast<unsigned char>(c)) != 0;
        if (hourToken) afterHour = true;
        else if (token) afterHour = false;
        i += used;
    }
    return out;
}

}  // namespace ado::sqlite::detail
