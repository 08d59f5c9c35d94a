#include "ado/providers/sqlite/dialect/iso_date.h"

#include <fmt/format.h>

#include "ado/variant/conversion.h"

namespace ado::sqlite {
namespace {

// Reads exactly `width` digits at `pos`.
bool ReadDigits(std::string_view s, size_t& pos, size_t width, int& out) {
    if (pos + width > s.size()) return false;
    int v = 0;
    for (size_t i = 0; i < width; ++i) {
        const char c = s[pos + i];
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    pos += width;
    out = v;
    return true;
}

bool Expect(std::string_view s, size_t& pos, char c) {
    if (pos >= s.size() || s[pos] != c) return false;
    ++pos;
    return true;
}

}  // namespace

std::string FormatIsoDate(Date d) {
    const DateParts p = SplitDate(d);
    return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}", p.year, p.month, p.day, p.hour, p.minute,
                       p.second);
}

std::optional<Date> ParseIsoDate(std::string_view s) {
    size_t pos = 0;
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0;
    if (!ReadDigits(s, pos, 4, y) || !Expect(s, pos, '-') || !ReadDigits(s, pos, 2, mo) ||
        !Expect(s, pos, '-') || !ReadDigits(s, pos, 2, d))
        return std::nullopt;
    if (pos < s.size()) {
        if (s[pos] != ' ' && s[pos] != 'T') return std::nullopt;
        ++pos;
        if (!ReadDigits(s, pos, 2, h) || !Expect(s, pos, ':') || !ReadDigits(s, pos, 2, mi)) return std::nullopt;
        if (pos < s.size() && (!Expect(s, pos, ':') || !ReadDigits(s, pos, 2, se))) return std::nullopt;
        if (pos < s.size()) {
            if (!Expect(s, pos, '.') || pos == s.size()) return std::nullopt;
            while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') ++pos;
            if (pos != s.size()) return std::nullopt;
        }
    }
    if (y < 100 || mo < 1 || mo > 12 || d < 1 || d > conv::DaysInMonth(y, mo) || h > 23 || mi > 59 || se > 59)
        return std::nullopt;
    return MakeDate(y, mo, d, h, mi, se);
}

}  // namespace ado::sqlite
