// Format(value [, pattern [, firstdayofweek [, firstweekofyear]]]): chooses the kind of
// pattern (named, number, date, text) and its section, then formats. FormatNumber,
// FormatCurrency, FormatPercent and FormatDateTime are written through it.
#include <cctype>
#include <cmath>
#include <vector>

#include "ado/Error.h"
#include "ado/ErrorNumbers.h"
#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/format_value.h"
#include "ado/providers/sqlite/dialect/function_call.h"
#include "ado/providers/sqlite/dialect/sql_tokens.h"
#include "ado/providers/sqlite/dialect/utf8_text.h"
#include "ado/text/letter_case.h"

namespace ado::sqlite::detail {
namespace {

// Sections of a pattern, split at ';' outside quotes.
std::vector<std::string_view> Sections(std::string_view p) {
    std::vector<std::string_view> out;
    size_t begin = 0;
    bool quoted = false;
    for (size_t i = 0; i < p.size(); ++i) {
        if (p[i] == '"') quoted = !quoted;
        else if (p[i] == '\\') ++i;
        else if (p[i] == ';' && !quoted) {
            out.push_back(p.substr(begin, i - begin));
            begin = i + 1;
        }
    }
    out.push_back(p.substr(begin));
    return out;
}

enum class PatternKind { Number, Date, Text, Literal };

PatternKind KindOf(std::string_view p) {
    bool date = false, text = false;
    for (size_t i = 0; i < p.size(); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(p[i])));
        if (c == '"') {
            const size_t close = p.find('"', i + 1);
            if (close == std::string_view::npos) break;
            i = close;
        } else if (c == '\\') {
            ++i;
        } else if (c == '0' || c == '#') {
            return PatternKind::Number;
        } else if (std::string_view("dmyhnswqtc").find(c) != std::string_view::npos ||
                   (c == 'a' && i + 1 < p.size() && (p[i + 1] == '/' || p[i + 1] == 'm' || p[i + 1] == 'M'))) {
            date = true;
        } else if (c == '@' || c == '&' || c == '<' || c == '>' || c == '!') {
            text = true;
        }
    }
    return date ? PatternKind::Date : text ? PatternKind::Text : PatternKind::Literal;
}

std::optional<double> AsNumber(const Variant& v) {
    try {
        return v.ToDouble();
    } catch (const Error&) {
        return std::nullopt;
    }
}

std::optional<Date> AsDate(const Variant& v) {
    try {
        return v.ToDate();
    } catch (const Error&) {
        return std::nullopt;
    }
}

std::string FormatNumber(double v, std::string_view pattern, const RegionalSettings& r) {
    if (!std::isfinite(v)) ThrowRuntimeError(err::Overflow);
    const std::vector<std::string_view> s = Sections(pattern);
    if (v == 0 && s.size() > 2 && !s[2].empty()) return FormatNumberSection(0, s[2], r);
    if (v < 0 && s.size() > 1 && !s[1].empty()) return FormatNumberSection(-v, s[1], r);
    return (v < 0 ? "-" : "") + FormatNumberSection(std::fabs(v), s[0], r);
}

// @ a character or a space, & a character or nothing, filled from the right unless the
// pattern has !; < and > write the text in lower or upper case (the last one written wins).
std::string FormatText(std::string_view value, std::string_view pattern, std::string_view language) {
    std::u32string p = DecodeUtf8(pattern);
    bool leftToRight = false;
    char32_t letterCase = 0;
    std::u32string layout;
    for (char32_t c : p) {
        if (c == '<' || c == '>') {
            letterCase = c;
        } else if (c == '!') {
            leftToRight = true;
        } else {
            layout += c;
        }
    }
    const std::u32string text = DecodeUtf8(letterCase == '<'   ? text::Lower(value, language)
                                           : letterCase == '>' ? text::Upper(value, language)
                                                               : std::string(value));
    size_t slots = 0;
    for (char32_t c : layout) slots += (c == '@' || c == '&');
    if (slots == 0) return EncodeUtf8(text + layout);
    // Characters for each slot, in slot order; the surplus goes to the first (or last) slot.
    std::vector<std::u32string> fill(slots);
    if (leftToRight) {
        for (size_t k = 0; k < slots && k < text.size(); ++k) fill[k] = text.substr(k, 1);
        if (text.size() > slots) fill[slots - 1] += text.substr(slots);
    } else {
        for (size_t k = 0; k < slots && k < text.size(); ++k) fill[slots - 1 - k] = text.substr(text.size() - 1 - k, 1);
        if (text.size() > slots) fill[0] = text.substr(0, text.size() - slots + 1);
    }
    std::u32string out;
    size_t k = 0;
    for (char32_t c : layout) {
        if (c == '@' || c == '&') {
            const std::u32string& piece = fill[k++];
            out += piece.empty() && c == '@' ? std::u32string(1, U' ') : piece;
        } else {
            out += c;
        }
    }
    return EncodeUtf8(out);
}

struct NamedFormat {
    std::string_view name;
    enum { Number, Date, Boolean, GeneralNumber, GeneralDate, ShortDate, LongTime } kind;
    std::string_view english, spanish;  // a pattern, or the true;false words
};

constexpr NamedFormat kNamedFormats[] = {
    {"General Number", NamedFormat::GeneralNumber, "", ""},
    {"Currency", NamedFormat::Number, "$#,##0.00;($#,##0.00)", "#,##0.00 €;-#,##0.00 €"},
    {"Fixed", NamedFormat::Number, "0.00", "0.00"},
    {"Standard", NamedFormat::Number, "#,##0.00", "#,##0.00"},
    {"Percent", NamedFormat::Number, "0.00%", "0.00%"},
    {"Scientific", NamedFormat::Number, "0.00E+00", "0.00E+00"},
    {"Yes/No", NamedFormat::Boolean, "Yes;No", "Sí;No"},
    {"On/Off", NamedFormat::Boolean, "On;Off", "Activado;Desactivado"},
    {"True/False", NamedFormat::Boolean, "", ""},
    {"General Date", NamedFormat::GeneralDate, "", ""},
    {"Long Date", NamedFormat::Date, "dddddd", "dddddd"},
    {"Medium Date", NamedFormat::Date, "dd-mmm-yy", "dd-mmm-yy"},
    {"Short Date", NamedFormat::ShortDate, "", ""},
    {"Long Time", NamedFormat::LongTime, "", ""},
    {"Medium Time", NamedFormat::Date, "hh:nn AM/PM", "hh:nn AM/PM"},
    {"Short Time", NamedFormat::Date, "hh:nn", "hh:nn"},
};

std::optional<std::string> FormatNamed(const NamedFormat& f, const Variant& v, const RegionalSettings& r) {
    const std::string_view pattern = UsesSpanishNames(r) ? f.spanish : f.english;
    const auto number = AsNumber(v);
    const auto date = AsDate(v);
    switch (f.kind) {
        case NamedFormat::GeneralNumber:
            return number ? Variant(*number).ToString(r) : v.ToString(r);
        case NamedFormat::Number:
            return number ? FormatNumber(*number, pattern, r) : v.ToString(r);
        case NamedFormat::Boolean: {
            if (!number) return v.ToString(r);
            if (pattern.empty()) return *number != 0 ? r.trueText : r.falseText;
            const auto words = Sections(pattern);
            return std::string(*number != 0 ? words[0] : words[1]);
        }
        case NamedFormat::GeneralDate:
            return date ? Variant(*date).ToString(r) : v.ToString(r);
        case NamedFormat::ShortDate:
            return date ? Variant(Date{std::trunc(date->serial)}).ToString(r) : v.ToString(r);
        case NamedFormat::LongTime:
            return date ? FormatDatePattern(*date, "ttttt", r) : v.ToString(r);
        case NamedFormat::Date:
            return date ? FormatDatePattern(*date, pattern, r) : v.ToString(r);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> FormatValue(const Variant& v, std::string_view pattern, int firstDayOfWeek,
                                       int firstWeekOfYear) {
    const RegionalSettings& r = RegionalSettings::Current();
    if (v.IsNull() || v.IsEmpty()) {
        const auto s = Sections(pattern);
        if (s.size() > 3) return FormatNumberSection(0, s[3], r);
        return std::nullopt;
    }
    if (pattern.empty()) return v.ToString(r);
    for (const NamedFormat& f : kNamedFormats)
        if (EqualsNoCase(f.name, pattern)) return FormatNamed(f, v, r);
    switch (KindOf(Sections(pattern)[0])) {
        case PatternKind::Number:
        case PatternKind::Literal: {
            // Dates format as their serial number; a text that is no number stays as it is.
            const auto n = v.Type() == VariantType::Date ? std::optional<double>(v.AsDate().serial) : AsNumber(v);
            return n ? FormatNumber(*n, pattern, r) : v.ToString(r);
        }
        case PatternKind::Date:
            if (const auto d = AsDate(v)) return FormatDatePattern(*d, pattern, r, firstDayOfWeek, firstWeekOfYear);
            return v.ToString(r);
        case PatternKind::Text:
            return FormatText(v.ToString(r), pattern, r.language);
    }
    return std::nullopt;
}

namespace {

void Format(Call& c) {
    const Variant value = c.Value(0);
    const std::string pattern = c.Count() > 1 && !c.IsNull(1) ? c.Text(1) : std::string();
    const int firstDay = c.Count() > 2 && !c.IsNull(2) ? c.Long(2) : 1;
    const int firstWeek = c.Count() > 3 && !c.IsNull(3) ? c.Long(3) : 1;
    const auto text = FormatValue(value, pattern, firstDay, firstWeek);
    if (!text) return c.ReturnNull();
    c.ReturnText(*text);
}

// FormatNumber, FormatCurrency and FormatPercent: digits after the point (-1: the regional
// two), then three tristates (-1 yes, 0 no, -2 the regional choice): a leading zero before
// the point, parentheses around negatives, grouped digits. They are written as a pattern of
// Format.
struct NumberStyle {
    std::string_view prefix, suffix;
    bool parensByDefault;
};

bool Tristate(Call& c, int i, bool regional) {
    if (c.Count() <= i || c.IsNull(i)) return regional;
    const int v = c.Long(i);
    return v == -2 ? regional : v != 0;
}

void FormatAsNumber(Call& c, const NumberStyle& style) {
    if (c.IsNull(0)) return c.ReturnNull();
    const int digits = c.Count() > 1 && !c.IsNull(1) ? c.Long(1) : -1;
    if (digits < -1 || digits > 99) ThrowRuntimeError(kInvalidProcedureCall);
    const bool leading = Tristate(c, 2, true);
    const bool parens = Tristate(c, 3, style.parensByDefault);
    const bool group = Tristate(c, 4, true);
    std::string body = group ? "#,##" : "#";
    body += leading ? "0" : "#";
    const int places = digits == -1 ? 2 : digits;
    if (places > 0) body += "." + std::string(static_cast<size_t>(places), '0');
    const std::string positive = std::string(style.prefix) + body + std::string(style.suffix);
    const std::string pattern = positive + ";" + (parens ? "(" + positive + ")" : "-" + positive);
    // A value that is no number fails, as VBA's do (a date counts as its serial number).
    const auto text = FormatValue(Variant(c.Double(0)), pattern, 1, 1);
    if (!text) return c.ReturnNull();
    c.ReturnText(*text);
}

void FormatNumberF(Call& c) { FormatAsNumber(c, {"", "", false}); }
void FormatPercentF(Call& c) { FormatAsNumber(c, {"", "%", false}); }
void FormatCurrencyF(Call& c) {
    const bool spanish = UsesSpanishNames(RegionalSettings::Current());
    FormatAsNumber(c, spanish ? NumberStyle{"", " €", false} : NumberStyle{"$", "", true});
}

// FormatDateTime(date [, 0 general | 1 long date | 2 short date | 3 long time | 4 short time]).
void FormatDateTimeF(Call& c) {
    constexpr std::string_view kNames[] = {"General Date", "Long Date", "Short Date", "Long Time", "Short Time"};
    if (c.IsNull(0)) return c.ReturnNull();
    const int kind = c.Count() > 1 && !c.IsNull(1) ? c.Long(1) : 0;
    if (kind < 0 || kind > 4) ThrowRuntimeError(kInvalidProcedureCall);
    const auto date = c.DateArg(0);
    if (!date) return c.ReturnNull();
    const auto text = FormatValue(Variant(*date), kNames[kind], 1, 1);
    if (!text) return c.ReturnNull();
    c.ReturnText(*text);
}

constexpr FunctionSpec kFormatFunctions[] = {
    {"FORMAT", 1, 4, Format},
    {"FORMAT$", 1, 4, Format},
    {"FORMATNUMBER", 1, 5, FormatNumberF},
    {"FORMATCURRENCY", 1, 5, FormatCurrencyF},
    {"FORMATPERCENT", 1, 5, FormatPercentF},
    {"FORMATDATETIME", 1, 2, FormatDateTimeF},
};

}  // namespace

std::span<const FunctionSpec> FormatFunctions() { return kFormatFunctions; }

}  // namespace ado::sqlite::detail
