// More of the VBA functions Access queries call: Str, InStrRev, Replace, Hex, Oct, CVar,
// MonthName, WeekdayName (and their $ forms), StrComp, Partition. Texts are compared binary unless a compare
// argument of 1 asks for text comparison (case ignored, as the regional language folds it).
#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "ado/ErrorNumbers.h"
#include "ado/Regional.h"
#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/format_value.h"
#include "ado/providers/sqlite/dialect/function_call.h"
#include "ado/providers/sqlite/dialect/utf8_text.h"
#include "ado/providers/sqlite/text_collation.h"
#include "ado/text/collator.h"
#include "ado/text/letter_case.h"

namespace ado::sqlite::detail {
namespace {

std::u32string Chars(Call& c, int i) { return DecodeUtf8(c.Text(i)); }

// Both texts folded when `compare` asks for text comparison (1), as they are otherwise.
void FoldForCompare(Call& c, int compareArgument, std::u32string& a, std::u32string& b) {
    if (c.Count() <= compareArgument || c.IsNull(compareArgument) || c.Long(compareArgument) != 1) return;
    const text::CaseFolding folding(ComparisonLanguage(c.Database()));
    for (std::u32string* s : {&a, &b})
        for (char32_t& ch : *s) ch = folding.Fold(ch);
}

int32_t OptionalLong(Call& c, int i, int32_t fallback) { return c.Count() > i && !c.IsNull(i) ? c.Long(i) : fallback; }

// Str(n): the number with '.' as decimal point whatever the settings, a space before it when
// it is not negative.
void Str(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    static const RegionalSettings invariant = RegionalSettings::UnitedStates();
    const Variant v = c.Value(0);
    const std::string text = Variant(v.ToDouble()).ToString(invariant);
    c.ReturnText(text[0] == '-' ? text : " " + text);
}

// InStrRev(text, find [, start [, compare]]): the last occurrence that ends by start (-1: the end).
void InStrRev(Call& c) {
    if (c.IsNull(0) || c.IsNull(1)) return c.ReturnNull();
    std::u32string text = Chars(c, 0), find = Chars(c, 1);
    const int32_t start = OptionalLong(c, 2, -1);
    if (start == 0 || start < -1) ThrowRuntimeError(kInvalidProcedureCall);
    FoldForCompare(c, 3, text, find);
    const size_t end = start == -1 ? text.size() : std::min(text.size(), static_cast<size_t>(start));
    if (find.empty()) return c.Return(int64_t{start == -1 ? static_cast<int64_t>(text.size()) : start});
    if (find.size() > end) return c.Return(int64_t{0});
    const size_t found = text.rfind(find, end - find.size());
    c.Return(found == std::u32string::npos ? int64_t{0} : static_cast<int64_t>(found + 1));
}

// Replace(text, find, with [, start [, count [, compare]]]): the text from `start` on with
// up to `count` (-1: every) occurrences replaced.
void Replace(Call& c) {
    for (int i = 0; i < 3; ++i)
        if (c.IsNull(i)) ThrowRuntimeError(err::InvalidUseOfNull);
    const std::u32string text = Chars(c, 0), find = Chars(c, 1), with = Chars(c, 2);
    const int32_t start = OptionalLong(c, 3, 1);
    int32_t count = OptionalLong(c, 4, -1);
    if (start < 1 || count < -1) ThrowRuntimeError(kInvalidProcedureCall);
    if (static_cast<size_t>(start) > text.size()) return c.ReturnText("");
    std::u32string rest = text.substr(static_cast<size_t>(start - 1));
    std::u32string folded = rest, foldedFind = find;
    FoldForCompare(c, 5, folded, foldedFind);
    if (find.empty() || count == 0) return c.ReturnText(EncodeUtf8(rest));
    std::u32string out;
    size_t at = 0;
    for (size_t hit; count != 0 && (hit = folded.find(foldedFind, at)) != std::u32string::npos; --count) {
        out.append(rest, at, hit - at).append(with);
        at = hit + find.size();
    }
    out.append(rest, at, std::u32string::npos);
    c.ReturnText(EncodeUtf8(out));
}

// Hex(n), Oct(n): a whole number (rounded as CLng does) in base 16 or 8, negatives as their
// 32-bit two's complement.
template <int base>
void InBase(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    auto n = static_cast<uint32_t>(c.Long(0));
    std::string digits;
    do {
        digits.push_back("0123456789ABCDEF"[n % base]);
        n /= base;
    } while (n);
    std::reverse(digits.begin(), digits.end());
    c.ReturnText(digits);
}

void CVar(Call& c) { c.ReturnArgument(0); }

// The collator of the file's ACCESS collation; on a connection without one, a collator of the
// regional language, kept per thread (ICU's are costly to open, and StrComp runs per row).
const text::Collator& TextCollator(Call& c) {
    if (const text::Collator* file = FileCollator(c.Database())) return *file;
    thread_local std::string language;
    thread_local std::optional<text::Collator> regional;
    if (!regional || language != RegionalSettings::Current().language) {
        language = RegionalSettings::Current().language;
        regional.emplace(language);
    }
    return *regional;
}

// StrComp(s1, s2 [, compare]): -1, 0 or 1, Null when either text is Null. Compare 0 is
// binary (character codes); 1, 2 and the default compare as the database compares text, by
// the file's collation (case ignored, accents and the file language's alphabet kept): a
// query has no module whose Option Compare could say otherwise.
void StrComp(Call& c) {
    if (c.Count() == 3 && c.IsNull(2)) ThrowRuntimeError(err::InvalidUseOfNull);
    if (c.IsNull(0) || c.IsNull(1)) return c.ReturnNull();
    const int32_t compare = OptionalLong(c, 2, 1);
    if (compare < -1 || compare > 2) ThrowRuntimeError(kInvalidProcedureCall);
    const std::string a = c.Text(0), b = c.Text(1);
    int order = 0;
    if (compare == 0) {
        order = a.compare(b);  // UTF-8 bytes sort as their code points
    } else {
        order = TextCollator(c).Compare(a, b);
    }
    c.Return(int64_t{order < 0 ? -1 : order > 0 ? 1 : 0});
}

// Partition(number, start, stop, interval): the range of start..stop, cut every `interval`
// numbers, that holds `number`, as "lower:upper" with each side padded with spaces to the
// width of stop plus one; "   : start-1" below the ranges, "stop+1:   " above them, and
// "number:number" when interval is 1. Arguments round as CLng does; any Null gives Null.
void Partition(Call& c) {
    for (int i = 0; i < 4; ++i)
        if (c.IsNull(i)) return c.ReturnNull();
    const int64_t number = c.Long(0), start = c.Long(1), stop = c.Long(2), interval = c.Long(3);
    if (start < 0 || stop <= start || interval < 1) ThrowRuntimeError(kInvalidProcedureCall);
    std::optional<int64_t> low, high;
    if (interval == 1) {
        low = high = number;
    } else if (number < start) {
        high = start - 1;
    } else if (number > stop) {
        low = stop + 1;
    } else {
        low = start + (number - start) / interval * interval;
        high = std::min(*low + interval - 1, stop);
    }
    const size_t width = std::to_string(stop).size() + 1;
    auto side = [width](std::optional<int64_t> n) {
        const std::string digits = n ? std::to_string(*n) : std::string();
        return std::string(width > digits.size() ? width - digits.size() : 0, ' ') + digits;
    };
    c.ReturnText(side(low) + ":" + side(high));
}

// MonthName(m [, abbreviate]) and WeekdayName(d [, abbreviate [, firstDayOfWeek]]), in the
// language of the regional settings.
void MonthName(Call& c) {
    if (c.IsNull(0)) ThrowRuntimeError(err::InvalidUseOfNull);
    const int32_t month = c.Long(0);
    if (month < 1 || month > 12) ThrowRuntimeError(kInvalidProcedureCall);
    const bool abbreviate = c.Count() > 1 && !c.IsNull(1) && c.Value(1).ToBool();
    c.ReturnText(FormatDatePattern(MakeDate(2000, month, 1), abbreviate ? "mmm" : "mmmm", RegionalSettings::Current()));
}

void WeekdayName(Call& c) {
    if (c.IsNull(0)) ThrowRuntimeError(err::InvalidUseOfNull);
    const int32_t day = c.Long(0);
    int32_t first = OptionalLong(c, 2, 1);
    if (first == 0) first = 1;  // vbUseSystemDayOfWeek: Sunday here
    if (day < 1 || day > 7 || first < 1 || first > 7) ThrowRuntimeError(kInvalidProcedureCall);
    const bool abbreviate = c.Count() > 1 && !c.IsNull(1) && c.Value(1).ToBool();
    // 2000-01-02 was a Sunday.
    const Date sunday = MakeDate(2000, 1, 2);
    const Date d{sunday.serial + (day - 1 + first - 1) % 7};
    c.ReturnText(FormatDatePattern(d, abbreviate ? "ddd" : "dddd", RegionalSettings::Current()));
}

// The $ forms return text only: a Null argument is an error instead of a Null result.
template <FunctionBody body>
void TextOnly(Call& c) {
    for (int i = 0; i < c.Count(); ++i)
        if (c.IsNull(i)) ThrowRuntimeError(err::InvalidUseOfNull);
    body(c);
}

// Replace and Hex are also the engine's own functions, which stay: the translator calls
// these under their BZ_ names.
constexpr FunctionSpec kVbaFunctions[] = {
    {"STR", 1, 1, Str},           {"STR$", 1, 1, TextOnly<Str>},      {"INSTRREV", 2, 4, InStrRev},
    {"BZ_REPLACE", 3, 6, Replace}, {"BZ_REPLACE$", 3, 6, Replace},     {"BZ_HEX", 1, 1, InBase<16>},
    {"BZ_HEX$", 1, 1, TextOnly<InBase<16>>}, {"OCT", 1, 1, InBase<8>}, {"OCT$", 1, 1, TextOnly<InBase<8>>},
    {"CVAR", 1, 1, CVar},         {"MONTHNAME", 1, 2, MonthName},      {"WEEKDAYNAME", 1, 3, WeekdayName},
    {"STRCOMP", 2, 3, StrComp},   {"PARTITION", 4, 4, Partition},
};

}  // namespace

std::span<const FunctionSpec> VbaFunctions() { return kVbaFunctions; }

}  // namespace ado::sqlite::detail
