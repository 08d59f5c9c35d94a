// Text functions: UCase, LCase, StrConv, Mid, Left, Right, Len, InStr, Trim, LTrim, RTrim,
// StrReverse, Space, String, Asc, Chr (and their $ forms). Positions and lengths count
// characters, not bytes. Letter case follows the regional settings' language.
#include <algorithm>

#include "ado/ErrorNumbers.h"
#include "ado/Regional.h"
#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/function_call.h"
#include "ado/providers/sqlite/dialect/utf8_text.h"
#include "ado/providers/sqlite/text_collation.h"
#include "ado/text/letter_case.h"

namespace ado::sqlite::detail {
namespace {

// Code points of the characters 0x80..0x9F of the Windows Latin 1 code page, which Chr
// and Asc use; 0xA0..0xFF are the same as in Unicode.
constexpr char32_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::u32string Chars(Call& c, int i) { return DecodeUtf8(c.Text(i)); }
void ReturnChars(Call& c, std::u32string_view s) { c.ReturnText(EncodeUtf8(s)); }

int32_t NonNegative(int32_t n) {
    if (n < 0) ThrowRuntimeError(kInvalidProcedureCall);
    return n;
}

const std::string& Language() { return RegionalSettings::Current().language; }

void UCase(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    c.ReturnText(text::Upper(c.Text(0), Language()));
}

void LCase(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    c.ReturnText(text::Lower(c.Text(0), Language()));
}

// StrConv(text, conversion): 1 upper case, 2 lower case, 3 proper case; the other
// conversions (widths, kana, code pages) mean nothing to UTF-8 text here.
void StrConv(Call& c) {
    const int32_t conversion = c.Long(1);
    using Mapping = std::string (*)(std::string_view, std::string_view);
    constexpr Mapping kMappings[] = {text::Upper, text::Lower, text::ProperCase};
    if (conversion < 1 || conversion > 3) ThrowRuntimeError(kInvalidProcedureCall);
    if (c.IsNull(0)) return c.ReturnNull();
    c.ReturnText(kMappings[conversion - 1](c.Text(0), Language()));
}

void Mid(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    const std::u32string s = Chars(c, 0);
    const int32_t start = c.Long(1);
    if (start < 1) ThrowRuntimeError(kInvalidProcedureCall);
    const size_t length = c.Count() > 2 ? static_cast<size_t>(NonNegative(c.Long(2))) : s.size();
    const size_t from = std::min(s.size(), static_cast<size_t>(start - 1));
    ReturnChars(c, std::u32string_view(s).substr(from, length));
}

void Left(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    const std::u32string s = Chars(c, 0);
    ReturnChars(c, std::u32string_view(s).substr(0, static_cast<size_t>(NonNegative(c.Long(1)))));
}

void Right(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    const std::u32string s = Chars(c, 0);
    const size_t n = std::min(s.size(), static_cast<size_t>(NonNegative(c.Long(1))));
    ReturnChars(c, std::u32string_view(s).substr(s.size() - n));
}

void Len(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    c.Return(static_cast<int64_t>(Chars(c, 0).size()));
}

// InStr([start,] s1, s2 [, compare]): compare 0 is binary, 1 (the default, as the
// database's text comparison) ignores case.
void InStr(Call& c) {
    const int first = c.Count() >= 3 ? 1 : 0;
    const int32_t start = first == 1 ? c.Long(0) : 1;
    if (start < 1) ThrowRuntimeError(kInvalidProcedureCall);
    if (c.IsNull(first) || c.IsNull(first + 1)) return c.ReturnNull();
    const bool binary = c.Count() == 4 && !c.IsNull(3) && c.Long(3) == 0;
    std::u32string haystack = Chars(c, first), needle = Chars(c, first + 1);
    if (!binary) {
        const text::CaseFolding folding(ComparisonLanguage(c.Database()));
        for (std::u32string* s : {&haystack, &needle})
            for (char32_t& ch : *s) ch = folding.Fold(ch);
    }
    if (haystack.empty()) return c.Return(int64_t{0});
    if (needle.empty()) return c.Return(int64_t{static_cast<size_t>(start) <= haystack.size() + 1 ? start : 0});
    const size_t found = haystack.find(needle, static_cast<size_t>(start - 1));
    c.Return(found == std::u32string::npos ? int64_t{0} : static_cast<int64_t>(found + 1));
}

template <bool left, bool right>
void TrimSpaces(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    const std::string s = c.Text(0);
    const size_t b = left ? s.find_first_not_of(' ') : 0;
    if (b == std::string::npos) return c.ReturnText("");
    const size_t e = right ? s.find_last_not_of(' ') + 1 : s.size();
    c.ReturnText(std::string_view(s).substr(b, e - b));
}

void StrReverse(Call& c) {
    if (c.IsNull(0)) ThrowRuntimeError(err::InvalidUseOfNull);
    std::u32string s = Chars(c, 0);
    std::reverse(s.begin(), s.end());
    ReturnChars(c, s);
}

void Space(Call& c) { c.ReturnText(std::string(static_cast<size_t>(NonNegative(c.Long(0))), ' ')); }

char32_t CharFromCode(int32_t code) {
    if (code < 0 || code > 255) ThrowRuntimeError(kInvalidProcedureCall);
    return code >= 0x80 && code < 0xA0 ? kWindows1252High[code - 0x80] : static_cast<char32_t>(code);
}

// String(n, character): character is a code (taken Mod 256) or a text's first character.
void StringOf(Call& c) {
    if (c.IsNull(0) || c.IsNull(1)) return c.ReturnNull();
    const size_t n = static_cast<size_t>(NonNegative(c.Long(0)));
    char32_t ch;
    if (c.IsText(1)) {
        const std::u32string s = Chars(c, 1);
        if (s.empty()) ThrowRuntimeError(kInvalidProcedureCall);
        ch = s[0];
    } else {
        ch = CharFromCode(((c.Long(1) % 256) + 256) % 256);
    }
    ReturnChars(c, std::u32string(n, ch));
}

void Asc(Call& c) {
    const std::u32string s = Chars(c, 0);
    if (s.empty()) ThrowRuntimeError(kInvalidProcedureCall);
    const auto high = std::find(std::begin(kWindows1252High), std::end(kWindows1252High), s[0]);
    c.Return(static_cast<int64_t>(high != std::end(kWindows1252High) ? 0x80 + (high - std::begin(kWindows1252High))
                                                                     : static_cast<int64_t>(s[0])));
}

void Chr(Call& c) { ReturnChars(c, std::u32string(1, CharFromCode(c.Long(0)))); }

void AscW(Call& c) {
    const std::u32string s = Chars(c, 0);
    if (s.empty()) ThrowRuntimeError(kInvalidProcedureCall);
    c.Return(static_cast<int64_t>(s[0]));
}

void ChrW(Call& c) {
    const int32_t code = c.Long(0);
    if (code < 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) ThrowRuntimeError(kInvalidProcedureCall);
    ReturnChars(c, std::u32string(1, static_cast<char32_t>(code)));
}

// The $ forms return text only: a Null argument is an error instead of a Null result.
template <FunctionBody body>
void TextOnly(Call& c) {
    for (int i = 0; i < c.Count(); ++i)
        if (c.IsNull(i)) ThrowRuntimeError(err::InvalidUseOfNull);
    body(c);
}

constexpr FunctionSpec kTextFunctions[] = {
    {"UCASE", 1, 1, UCase},
    {"UCASE$", 1, 1, TextOnly<UCase>},
    {"LCASE", 1, 1, LCase},
    {"LCASE$", 1, 1, TextOnly<LCase>},
    {"STRCONV", 2, 2, StrConv},
    {"MID", 2, 3, Mid},
    {"MID$", 2, 3, TextOnly<Mid>},
    {"LEFT", 2, 2, Left},
    {"LEFT$", 2, 2, TextOnly<Left>},
    {"RIGHT", 2, 2, Right},
    {"RIGHT$", 2, 2, TextOnly<Right>},
    {"LEN", 1, 1, Len},
    {"INSTR", 2, 4, InStr},
    {"TRIM", 1, 1, TrimSpaces<true, true>},
    {"TRIM$", 1, 1, TextOnly<TrimSpaces<true, true>>},
    {"LTRIM", 1, 1, TrimSpaces<true, false>},
    {"LTRIM$", 1, 1, TextOnly<TrimSpaces<true, false>>},
    {"RTRIM", 1, 1, TrimSpaces<false, true>},
    {"RTRIM$", 1, 1, TextOnly<TrimSpaces<false, true>>},
    {"STRREVERSE", 1, 1, StrReverse},
    {"SPACE", 1, 1, Space},
    {"SPACE$", 1, 1, Space},
    {"STRING", 2, 2, StringOf},
    {"STRING$", 2, 2, TextOnly<StringOf>},
    {"ASC", 1, 1, Asc},
    {"ASCW", 1, 1, AscW},
    {"CHR", 1, 1, Chr},
    {"CHR$", 1, 1, Chr},
    {"CHRW", 1, 1, ChrW},
};

}  // namespace

std::span<const FunctionSpec> TextFunctions() { return kTextFunctions; }

}  // namespace ado::sqlite::detail
