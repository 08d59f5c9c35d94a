#include "ado/providers/sqlite/dialect/table_definition.h"

#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/sql_tokens.h"

namespace ado::sqlite::detail {

namespace {

std::vector<Token> Significant(std::string_view text) {
    std::vector<Token> out;
    for (Token& t : Tokenize(text, true))
        if (IsSignificant(t)) out.push_back(std::move(t));
    return out;
}

std::string NameOf(const Token& t) { return t.kind == TokenKind::Name ? t.value : t.text; }

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\n' || s.front() == '\t' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\n' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

bool StartsTableConstraint(const Token& t) {
    for (std::string_view w : {"CONSTRAINT", "PRIMARY", "UNIQUE", "CHECK", "FOREIGN"})
        if (IsWord(t, w)) return true;
    return false;
}

// One constraint of a column item: where it lies in the item's text, its name and the word
// that says what it is (PRIMARY, UNIQUE, REFERENCES, CHECK, DEFAULT, NOT, NULL, COLLATE).
struct Segment {
    size_t begin = 0, end = 0;
    std::string name;
    std::string kind;
};

// Whether token `i` begins a column constraint; `i` is at depth 0.
bool StartsColumnConstraint(const std::vector<Token>& t, size_t i) {
    for (std::string_view w : {"CONSTRAINT", "PRIMARY", "UNIQUE", "CHECK", "DEFAULT", "REFERENCES", "COLLATE"})
        if (IsWord(t[i], w)) return true;
    if (IsWord(t[i], "NOT")) return i + 1 < t.size() && IsWord(t[i + 1], "NULL");
    // NULL on its own; within a relationship's ON DELETE SET NULL it is an action.
    return IsWord(t[i], "NULL") && !(i > 0 && (IsWord(t[i - 1], "SET") || IsWord(t[i - 1], "NOT")));
}

std::vector<Segment> ColumnSegments(std::string_view item, const std::vector<Token>& t) {
    std::vector<Segment> out;
    int depth = 0;
    bool named = false;  // the last segment is CONSTRAINT name, its kind still to come
    for (size_t i = 1; i < t.size(); ++i) {
        if (IsPunct(t[i], "(")) ++depth;
        if (IsPunct(t[i], ")")) --depth;
        if (depth != 0 || !StartsColumnConstraint(t, i)) continue;
        if (named) {
            out.back().kind = ToUpperAscii(t[i].text);
            named = false;
            continue;
        }
        if (!out.empty()) out.back().end = t[i].offset;
        Segment s;
        s.begin = t[i].offset;
        if (IsWord(t[i], "CONSTRAINT") && i + 1 < t.size()) {
            s.name = NameOf(t[++i]);
            named = true;
        } else {
            s.kind = ToUpperAscii(t[i].text);
        }
        out.push_back(std::move(s));
    }
    if (!out.empty()) out.back().end = item.size();
    return out;
}

}  // namespace

DefinitionItems SplitTableDefinition(std::string_view sql) {
    const Tokens tokens = Tokenize(sql, true);
    DefinitionItems out;
    size_t i = 0;
    while (i < tokens.size() && !IsPunct(tokens[i], "(")) ++i;
    if (i == tokens.size()) ThrowSyntaxError("no es una definición de tabla.");
    int depth = 0;
    size_t itemBegin = tokens[i].offset + 1;
    for (; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (IsPunct(t, "(")) {
            ++depth;
        } else if (IsPunct(t, ")") && --depth == 0) {
            out.items.emplace_back(Trimmed(sql.substr(itemBegin, t.offset - itemBegin)));
            out.options = Trimmed(sql.substr(t.offset + 1));
            break;
        } else if (depth == 1 && IsPunct(t, ",")) {
            out.items.emplace_back(Trimmed(sql.substr(itemBegin, t.offset - itemBegin)));
            itemBegin = t.offset + 1;
        }
    }
    if (depth != 0 || out.items.empty()) ThrowSyntaxError("no es una definición de tabla.");
    for (const std::string& item : out.items)
        if (item.empty()) ThrowSyntaxError("no es una definición de tabla.");
    return out;
}

std::string ItemColumn(std::string_view item) {
    const std::vector<Token> t = Significant(item);
    if (t.empty() || StartsTableConstraint(t.front())) return {};
    return NameOf(t.front());
}

std::string ItemConstraintName(std::string_view item) {
    const std::vector<Token> t = Significant(item);
    if (t.size() < 2 || !IsWord(t.front(), "CONSTRAINT")) return {};
    return NameOf(t[1]);
}

bool IsPrimaryKeyItem(std::string_view item) {
    const std::vector<Token> t = Significant(item);
    const size_t kind = !t.empty() && IsWord(t.front(), "CONSTRAINT") ? 2 : 0;
    return kind < t.size() && IsWord(t[kind], "PRIMARY");
}

bool ItemNamesColumn(std::string_view item, std::string_view column) {
    for (const Token& t : Significant(item))
        if ((t.kind == TokenKind::Name || t.kind == TokenKind::Word) && EqualsNoCase(NameOf(t), column)) return true;
    return false;
}

bool RemoveColumnConstraint(std::string& item, std::string_view name, bool* primaryKey) {
    const std::vector<Token> t = Significant(item);
    for (const Segment& s : ColumnSegments(item, t)) {
        if (s.name.empty() || !EqualsNoCase(s.name, name)) continue;
        if (primaryKey) *primaryKey = s.kind == "PRIMARY";
        item = std::string(Trimmed(item.substr(0, s.begin))) + (s.end < item.size() ? " " : "") +
               std::string(Trimmed(item.substr(s.end)));
        item = std::string(Trimmed(item));
        return true;
    }
    return false;
}

std::string KeyConstraintsOf(std::string_view item) {
    const std::vector<Token> t = Significant(item);
    std::string out;
    for (const Segment& s : ColumnSegments(item, t))
        if (s.kind == "PRIMARY" || s.kind == "UNIQUE" || s.kind == "REFERENCES")
            out += " " + std::string(Trimmed(item.substr(s.begin, s.end - s.begin)));
    return out;
}

}  // namespace ado::sqlite::detail
