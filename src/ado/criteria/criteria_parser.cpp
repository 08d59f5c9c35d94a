#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

#include "ado/criteria/criteria.h"
#include "ado/error_numbers.h"
#include "ado/providers/sqlite/dialect/date_literal.h"

namespace ado::criteria {
namespace {

[[noreturn]] void Refuse(std::string_view what, std::string_view text) {
    Raise(Condition::InvalidArgument, "(criterio no válido: " + std::string(what) + " en \"" + std::string(text) + "\")");
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// Characters that end a bare field name or word.
bool EndsWord(char c) {
    return IsSpace(c) || c == '=' || c == '<' || c == '>' || c == '(' || c == ')' || c == '\'' || c == ',';
}

bool SameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

// A reader over the criteria text, one token at a time.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    void SkipSpaces() {
        while (at_ < text_.size() && IsSpace(text_[at_])) ++at_;
    }
    bool AtEnd() {
        SkipSpaces();
        return at_ == text_.size();
    }
    char Peek() {
        SkipSpaces();
        return at_ < text_.size() ? text_[at_] : '\0';
    }
    bool Take(char c) {
        if (Peek() != c) return false;
        ++at_;
        return true;
    }
    // The next bare word, without taking it.
    std::string_view PeekWord() {
        SkipSpaces();
        size_t end = at_;
        while (end < text_.size() && !EndsWord(text_[end])) ++end;
        return text_.substr(at_, end - at_);
    }
    // Takes the word when it is `word` (any letter case) and ends there.
    bool TakeWord(std::string_view word) {
        if (!SameWord(PeekWord(), word)) return false;
        at_ += word.size();
        return true;
    }
    [[noreturn]] void Fail(std::string_view what) const { Refuse(what, text_); }

    std::string Field() {
        if (Take('[')) {
            const size_t close = text_.find(']', at_);
            if (close == std::string_view::npos) Fail("falta ']'");
            std::string name(text_.substr(at_, close - at_));
            at_ = close + 1;
            if (name.empty()) Fail("nombre de campo vacío");
            return name;
        }
        const std::string_view word = PeekWord();
        if (word.empty()) Fail("falta el nombre del campo");
        at_ += word.size();
        return std::string(word);
    }

    Op Operator() {
        SkipSpaces();
        if (TakeWord("LIKE")) return Op::Like;
        auto two = [&](std::string_view op) {
            if (text_.substr(at_, 2) != op) return false;
            at_ += 2;
            return true;
        };
        if (two("<=")) return Op::LessEqual;
        if (two(">=")) return Op::GreaterEqual;
        if (two("<>")) return Op::NotEqual;
        if (Take('=')) return Op::Equal;
        if (Take('<')) return Op::Less;
        if (Take('>')) return Op::Greater;
        Fail("falta el operador");
    }

    // A text in apostrophes, an apostrophe doubled inside.
    std::string Quoted() {
        std::string out;
        ++at_;  // the opening apostrophe
        for (;;) {
            if (at_ >= text_.size()) Fail("falta el apóstrofo de cierre");
            const char c = text_[at_++];
            if (c != '\'') {
                out += c;
                continue;
            }
            if (at_ < text_.size() && text_[at_] == '\'') {
                out += '\'';
                ++at_;
                continue;
            }
            return out;
        }
    }

    // The content of #...#.
    std::string_view Hashed() {
        ++at_;
        const size_t close = text_.find('#', at_);
        if (close == std::string_view::npos) Fail("falta el '#' de cierre");
        const std::string_view content = text_.substr(at_, close - at_);
        at_ = close + 1;
        return content;
    }

    // A number: optional sign and $, digits with a decimal point, an exponent.
    Variant Number() {
        SkipSpaces();
        std::string digits;
        size_t i = at_;
        if (i < text_.size() && (text_[i] == '-' || text_[i] == '+')) digits += text_[i++];
        if (i < text_.size() && text_[i] == '$') ++i;
        const size_t mantissaStart = i;
        bool point = false, exponent = false;
        while (i < text_.size() && (IsDigit(text_[i]) || (text_[i] == '.' && !point))) {
            point |= text_[i] == '.';
            digits += text_[i++];
        }
        if (i == mantissaStart || (i == mantissaStart + 1 && point)) Fail("valor no válido");
        if (i < text_.size() && (text_[i] == 'e' || text_[i] == 'E')) {
            size_t j = i + 1;
            std::string exp = "e";
            if (j < text_.size() && (text_[j] == '-' || text_[j] == '+')) exp += text_[j++];
            const size_t expDigits = j;
            while (j < text_.size() && IsDigit(text_[j])) exp += text_[j++];
            if (j == expDigits) Fail("exponente no válido");
            digits += exp;
            exponent = true;
            i = j;
        }
        if (i < text_.size() && !EndsWord(text_[i])) Fail("valor no válido");
        at_ = i;
        if (!point && !exponent) {
            int64_t whole = 0;
            const char* first = digits.data() + (digits[0] == '+' ? 1 : 0);
            if (std::from_chars(first, digits.data() + digits.size(), whole).ec == std::errc()) return Variant(whole);
        }
        double value = 0;
        const char* first = digits.data() + (digits[0] == '+' ? 1 : 0);
        const auto r = std::from_chars(first, digits.data() + digits.size(), value);
        if (r.ec != std::errc() || !std::isfinite(value)) Fail("número fuera del intervalo");
        return Variant(value);
    }

private:
    std::string_view text_;
    size_t at_ = 0;
};

// A #...# value: a date when it reads as one; a text otherwise, unless it begins like a date.
Variant HashedValue(Reader& r, std::string_view content) {
    try {
        return Variant(sqlite::detail::ParseDateLiteral(content));
    } catch (const Error&) {
        if (!content.empty() && (IsDigit(content[0]) || IsSpace(content[0]))) r.Fail("fecha no válida");
        return Variant(std::string(content));
    }
}

void ReadLike(Reader& r, Clause& c) {
    if (!c.value.IsText()) r.Fail("LIKE necesita un texto");
    const std::string& p = c.value.AsString();
    auto wild = [](char ch) { return ch == '*' || ch == '%'; };
    const bool first = !p.empty() && wild(p.front());
    const bool last = !p.empty() && wild(p.back());
    std::string_view body = p;
    if (last) body.remove_suffix(1);
    if (first && !body.empty()) body.remove_prefix(1);
    for (char ch : body)
        if (wild(ch)) r.Fail("comodín en posición no admitida");
    if (first && !last) r.Fail("comodín en posición no admitida");
    c.like = !last ? LikeForm::Whole : first && p.size() > 1 ? LikeForm::Contains : LikeForm::Prefix;
    c.likeText = std::string(body);
}

Clause ReadClause(Reader& r) {
    Clause c;
    c.field = r.Field();
    c.op = r.Operator();
    const char next = r.Peek();
    if (next == '\'') {
        c.value = Variant(r.Quoted());
    } else if (next == '#') {
        const std::string_view content = r.Hashed();
        c.value = c.op == Op::Like ? Variant(std::string(content)) : HashedValue(r, content);
    } else if (r.TakeWord("NULL")) {
        if (c.op != Op::Equal && c.op != Op::NotEqual) r.Fail("Null solo admite = y <>");
        c.value = Variant(Variant::Null);
    } else {
        c.value = r.Number();
    }
    if (c.op == Op::Like) ReadLike(r, c);
    return c;
}

using Alternatives = std::vector<std::vector<Clause>>;

Alternatives ReadOr(Reader& r);

// A clause, or a parenthesised group.
Alternatives ReadFactor(Reader& r) {
    if (!r.Take('(')) return {{ReadClause(r)}};
    Alternatives inner = ReadOr(r);
    if (!r.Take(')')) r.Fail("falta ')'");
    return inner;
}

// Factors joined by AND: each must be one list of clauses, except a factor that stands alone.
Alternatives ReadAnd(Reader& r) {
    Alternatives first = ReadFactor(r);
    if (!SameWord(r.PeekWord(), "AND")) return first;
    if (first.size() != 1) r.Fail("un grupo con OR no puede unirse con AND");
    while (r.TakeWord("AND")) {
        Alternatives more = ReadFactor(r);
        if (more.size() != 1) r.Fail("un grupo con OR no puede unirse con AND");
        for (Clause& c : more[0]) first[0].push_back(std::move(c));
    }
    return first;
}

Alternatives ReadOr(Reader& r) {
    Alternatives all = ReadAnd(r);
    while (r.TakeWord("OR")) {
        Alternatives more = ReadAnd(r);
        for (auto& group : more) all.push_back(std::move(group));
    }
    return all;
}

}  // namespace

Clause ParseFind(std::string_view text) {
    Reader r(text);
    if (r.AtEnd()) r.Fail("criterio vacío");
    Clause c = ReadClause(r);
    if (!r.AtEnd()) r.Fail("texto después del valor");
    return c;
}

Criteria ParseFilter(std::string_view text) {
    Reader r(text);
    if (r.AtEnd()) r.Fail("criterio vacío");
    Criteria out{ReadOr(r)};
    if (!r.AtEnd()) r.Fail("texto después del valor");
    return out;
}

std::vector<SortKey> ParseSort(std::string_view text) {
    std::vector<SortKey> keys;
    Reader r(text);
    if (r.AtEnd()) return keys;
    do {
        SortKey k;
        k.field = r.Field();
        if (r.TakeWord("DESC") || r.TakeWord("DESCENDING")) k.descending = true;
        else if (!r.TakeWord("ASC")) r.TakeWord("ASCENDING");
        keys.push_back(std::move(k));
    } while (r.Take(','));
    if (!r.AtEnd()) r.Fail("texto después del orden");
    return keys;
}

}  // namespace ado::criteria
