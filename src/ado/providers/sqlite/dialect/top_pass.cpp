// SELECT TOP n [PERCENT]: SQLite limits rows with LIMIT at the end of the SELECT instead.
#include <algorithm>
#include <charconv>
#include <map>

#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/translation_passes.h"

namespace ado::sqlite::detail {
namespace {

bool IsCompoundWord(const Token& tok) {
    return IsWord(tok, "UNION") || IsWord(tok, "INTERSECT") || IsWord(tok, "EXCEPT");
}

// Where one SELECT ends, and where its ORDER BY and its compound neighbours are.
struct SelectExtent {
    size_t end;          // the closing ')' or ';', or the end of the tokens
    size_t memberEnd;    // end of this member of a compound (the next UNION...), or end
    size_t orderBy;      // first ORDER at this depth, or npos
    bool compound;       // a member of UNION / INTERSECT / EXCEPT
};

SelectExtent Measure(const Tokens& t, size_t select) {
    SelectExtent e{t.size(), t.size(), npos, false};
    int depth = 0;
    for (size_t i = select; i < t.size(); ++i) {
        if (IsPunct(t[i], "(")) ++depth;
        if (IsPunct(t[i], ")") && --depth < 0) {
            e.end = i;
            break;
        }
        if (depth != 0) continue;
        if (IsPunct(t[i], ";")) {
            e.end = i;
            break;
        }
        if (IsWord(t[i], "ORDER") && e.orderBy == npos) e.orderBy = i;
        if (IsCompoundWord(t[i]) && e.memberEnd == t.size()) {
            e.memberEnd = i;
            e.compound = true;
        }
    }
    e.memberEnd = std::min(e.memberEnd, e.end);
    size_t prev = PrevSignificant(t, select);
    if (prev != npos && IsWord(t[prev], "ALL")) prev = PrevSignificant(t, prev);
    if (prev != npos && IsCompoundWord(t[prev])) e.compound = true;
    return e;
}

// One past the last significant token before `end`, so that LIMIT lands before a
// trailing comment or blank.
size_t AfterLastSignificant(const Tokens& t, size_t begin, size_t end) {
    size_t last = end;
    while (last > begin && !IsSignificant(t[last - 1])) --last;
    return last;
}

void Insert(Tokens& t, size_t at, std::string text) {
    t.insert(t.begin() + static_cast<std::ptrdiff_t>(at), Token{TokenKind::Raw, std::move(text), {}, {}});
}

// The row count of TOP n PERCENT: ceil(rows * n / 100) of the same query without ORDER BY.
std::string PercentLimit(const Tokens& t, size_t select, size_t end, const std::string& percent) {
    const std::string rows = JoinTokens(t, select, AfterLastSignificant(t, select, end));
    return "(SELECT CAST(c AS INTEGER) + (c > CAST(c AS INTEGER)) FROM (SELECT COUNT(*) * " + percent +
           " / 100.0 AS c FROM (" + rows + ")))";
}

// Gives every plain ? its number, as SQLite would, so that a copied query keeps them.
void NumberPositionalPlaceholders(Tokens& t) {
    int highest = 0;
    std::map<std::string, int> named;
    for (Token& tok : t) {
        if (tok.kind != TokenKind::Placeholder) continue;
        if (tok.text == "?") {
            tok.text = "?" + std::to_string(++highest);
        } else if (tok.text[0] == '?') {
            int number = 0;
            std::from_chars(tok.text.data() + 1, tok.text.data() + tok.text.size(), number);
            highest = std::max(highest, number);
        } else if (named.emplace(tok.text, highest + 1).second) {
            ++highest;
        }
    }
}

bool HasPercent(const Tokens& t) {
    for (size_t i = 0; i < t.size(); ++i)
        if (IsWord(t[i], "PERCENT")) return true;
    return false;
}

bool IsWholeNumber(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

void RewriteTop(Tokens& t) {
    if (HasPercent(t)) NumberPositionalPlaceholders(t);
    // Right to left: inner subqueries are rewritten before the SELECT that holds them.
    for (size_t select = t.size(); select-- > 0;) {
        if (!IsWord(t[select], "SELECT")) continue;
        size_t top = NextSignificant(t, select);
        if (top < t.size() && (IsWord(t[top], "DISTINCT") || IsWord(t[top], "ALL"))) top = NextSignificant(t, top);
        if (top == t.size() || !IsWord(t[top], "TOP")) continue;
        const size_t count = NextSignificant(t, top);
        if (count == t.size() || t[count].kind != TokenKind::Number)
            ThrowSyntaxError("TOP debe ir seguido de un número.");
        const size_t percentWord = NextSignificant(t, count);
        const bool percent = percentWord < t.size() && IsWord(t[percentWord], "PERCENT");
        const std::string n = t[count].text;
        if (!percent && !IsWholeNumber(n)) ThrowSyntaxError("TOP debe ir seguido de un número entero.");
        size_t cut = (percent ? percentWord : count) + 1;
        while (cut < t.size() && t[cut].kind == TokenKind::Space) ++cut;
        t.erase(t.begin() + static_cast<std::ptrdiff_t>(top), t.begin() + static_cast<std::ptrdiff_t>(cut));

        const SelectExtent e = Measure(t, select);
        if (e.compound) {
            // A member of a compound cannot carry LIMIT: it becomes a subquery.
            const size_t memberEnd = e.memberEnd == e.end && e.orderBy != npos ? e.orderBy : e.memberEnd;
            const size_t last = AfterLastSignificant(t, select, memberEnd);
            const std::string limit = percent ? PercentLimit(t, select, last, n) : n;
            Insert(t, last, " LIMIT " + limit + ")");
            Insert(t, select, "SELECT * FROM (");
        } else {
            const size_t rowsEnd = e.orderBy != npos ? e.orderBy : e.end;
            const std::string limit = percent ? PercentLimit(t, select, rowsEnd, n) : n;
            Insert(t, AfterLastSignificant(t, select, e.end), " LIMIT " + limit);
        }
    }
}

}  // namespace ado::sqlite::detail
