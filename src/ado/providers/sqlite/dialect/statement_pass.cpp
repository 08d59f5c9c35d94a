// Statement forms of Access that SQLite writes otherwise: DELETE * FROM, the make-table
// query SELECT ... INTO, and the autonumber column of CREATE TABLE.
#include <algorithm>

#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/translation_passes.h"

namespace ado::sqlite::detail {
namespace {

void Erase(Tokens& t, size_t begin, size_t end) {
    t.erase(t.begin() + static_cast<std::ptrdiff_t>(begin), t.begin() + static_cast<std::ptrdiff_t>(end));
}

size_t SkipSpaces(const Tokens& t, size_t i) {
    while (i < t.size() && t[i].kind == TokenKind::Space) ++i;
    return i;
}

bool IsNameToken(const Token& tok) {
    return tok.kind == TokenKind::Name || (tok.kind == TokenKind::Word && !IsReservedWord(tok.text));
}

// DELETE * FROM t / DELETE t.* FROM t -> DELETE FROM t.
void RewriteDeleteStar(Tokens& t, size_t head) {
    size_t i = NextSignificant(t, head);
    if (i < t.size() && IsNameToken(t[i])) {
        const size_t dot = NextSignificant(t, i);
        if (dot == t.size() || !IsPunct(t[dot], ".")) return;
        const size_t star = NextSignificant(t, dot);
        if (star == t.size() || !IsPunct(t[star], "*")) return;
        const size_t from = NextSignificant(t, star);
        if (from < t.size() && IsWord(t[from], "FROM")) Erase(t, i, SkipSpaces(t, star + 1));
    } else if (i < t.size() && IsPunct(t[i], "*")) {
        const size_t from = NextSignificant(t, i);
        if (from < t.size() && IsWord(t[from], "FROM")) Erase(t, i, SkipSpaces(t, i + 1));
    }
}

// SELECT list INTO target FROM ... -> CREATE TABLE target AS SELECT list FROM ...
void RewriteSelectInto(Tokens& t, Range r, size_t head) {
    int depth = 0;
    for (size_t i = head; i < r.end; ++i) {
        if (IsPunct(t[i], "(")) ++depth;
        if (IsPunct(t[i], ")")) --depth;
        if (depth != 0) continue;
        if (IsWord(t[i], "FROM")) return;
        if (!IsWord(t[i], "INTO")) continue;
        size_t last = NextSignificant(t, i);
        if (last >= r.end || !IsNameToken(t[last])) ThrowSyntaxError("falta el nombre de la tabla después de INTO.");
        for (size_t dot = NextSignificant(t, last); dot < r.end && IsPunct(t[dot], "."); dot = NextSignificant(t, last))
            last = NextSignificant(t, dot);
        if (last >= r.end) ThrowSyntaxError("falta el nombre de la tabla después de INTO.");
        const std::string target = JoinTokens(t, NextSignificant(t, i), last + 1);
        size_t begin = i;
        while (begin > head && t[begin - 1].kind == TokenKind::Space) --begin;
        Erase(t, begin, last + 1);
        t.insert(t.begin() + static_cast<std::ptrdiff_t>(head),
                 Token{TokenKind::Raw, "CREATE TABLE " + target + " AS ", {}, {}});
        return;
    }
}

// CREATE TABLE: one COUNTER / AUTOINCREMENT column becomes INTEGER PRIMARY KEY
// AUTOINCREMENT, the only form in which SQLite numbers rows by itself. The Access type
// names of the other columns stay as declared.
class CounterColumn {
public:
    explicit CounterColumn(Tokens& t) : t_(t) {}

    void Rewrite(size_t open, size_t close) {
        std::vector<Range> defs = Definitions(open, close);
        size_t counter = npos;
        for (size_t d = 0; d < defs.size(); ++d) {
            const size_t name = FirstSignificant(t_, defs[d].begin, defs[d].end);
            const size_t type = NextSignificant(t_, name);
            if (name == defs[d].end || IsTableConstraint(t_[name]) || type >= defs[d].end) continue;
            if (IsWord(t_[type], "COUNTER") || IsWord(t_[type], "AUTOINCREMENT")) {
                if (counter != npos) ThrowNotSupported("más de un campo autonumérico en una tabla.");
                counter = d;
                counterName_ = t_[name].value;
            }
        }
        if (counter == npos) return;
        // Right to left, so that the ranges still to visit stay valid.
        for (size_t d = defs.size(); d-- > 0;) {
            if (d == counter) {
                RewriteColumn(defs[d]);
            } else if (DropsPrimaryKeyClause(defs[d])) {
                // With the ',' before it (or after it, when it comes first).
                if (d > 0) Erase(t_, defs[d].begin - 1, defs[d].end);
                else Erase(t_, defs[d].begin, defs[d].end + 1);
            }
        }
    }

private:
    static bool IsTableConstraint(const Token& tok) {
        for (std::string_view w : {"CONSTRAINT", "PRIMARY", "UNIQUE", "CHECK", "FOREIGN"})
            if (IsWord(tok, w)) return true;
        return false;
    }

    std::vector<Range> Definitions(size_t open, size_t close) const {
        std::vector<Range> defs;
        size_t begin = open + 1;
        int depth = 0;
        for (size_t i = open + 1; i < close; ++i) {
            if (IsPunct(t_[i], "(")) ++depth;
            if (IsPunct(t_[i], ")")) --depth;
            if (depth == 0 && IsPunct(t_[i], ",")) {
                defs.push_back({begin, i});
                begin = i + 1;
            }
        }
        defs.push_back({begin, close});
        return defs;
    }

    // Index of PRIMARY in a PRIMARY KEY of the range, or npos.
    size_t FindPrimaryKey(Range r) const {
        for (size_t i = r.begin; i < r.end; ++i) {
            const size_t key = NextSignificant(t_, i);
            if (IsWord(t_[i], "PRIMARY") && key < r.end && IsWord(t_[key], "KEY")) return i;
        }
        return npos;
    }

    // A table's PRIMARY KEY (counter) clause is dropped; one on other columns cannot be kept.
    bool DropsPrimaryKeyClause(Range r) const {
        const size_t primary = FindPrimaryKey(r);
        if (primary == npos) return false;
        const size_t first = FirstSignificant(t_, r.begin, r.end);
        if (!IsTableConstraint(t_[first])) ThrowNotSupported("un campo autonumérico que no es la clave principal.");
        const size_t open = NextSignificant(t_, NextSignificant(t_, primary));
        if (open >= r.end || !IsPunct(t_[open], "(")) ThrowSyntaxError("PRIMARY KEY sin lista de campos.");
        const size_t column = NextSignificant(t_, open);
        const size_t close = NextSignificant(t_, column);
        if (column < r.end && close < r.end && IsPunct(t_[close], ")") && EqualsNoCase(t_[column].value, counterName_))
            return true;
        ThrowNotSupported("un campo autonumérico que no es la clave principal.");
    }

    void RewriteColumn(Range r) {
        const size_t name = FirstSignificant(t_, r.begin, r.end);
        const size_t type = NextSignificant(t_, name);
        size_t rest = NextSignificant(t_, type);
        if (rest < r.end && IsPunct(t_[rest], "(")) {
            // COUNTER(seed, increment): only the engine's own numbering, from 1 by 1.
            const size_t close = MatchingClose(t_, rest);
            std::string args;
            for (size_t i = rest + 1; i < close; ++i)
                if (IsSignificant(t_[i])) args += t_[i].text;
            if (args != "1,1" && args != "1") ThrowNotSupported("COUNTER con valor inicial o incremento distinto de 1.");
            rest = close + 1;
        }
        // Keep the column's other constraints, without its own PRIMARY KEY.
        std::string constraints;
        for (size_t i = rest; i < r.end; ++i) {
            if (IsWord(t_[i], "CONSTRAINT")) {
                const size_t cname = NextSignificant(t_, i);
                const size_t primary = NextSignificant(t_, cname);
                if (primary < r.end && IsWord(t_[primary], "PRIMARY")) {
                    i = NextSignificant(t_, primary);  // the KEY
                    continue;
                }
            }
            if (IsWord(t_[i], "PRIMARY")) {
                i = NextSignificant(t_, i);
                continue;
            }
            if (IsSignificant(t_[i])) constraints += " " + t_[i].text;
        }
        const std::string column = t_[name].kind == TokenKind::Name ? t_[name].text : QuoteName(t_[name].value);
        Erase(t_, name, r.end);
        t_.insert(t_.begin() + static_cast<std::ptrdiff_t>(name),
                  Token{TokenKind::Raw, column + " INTEGER PRIMARY KEY AUTOINCREMENT" + constraints, {}, {}});
    }

    Tokens& t_;
    std::string counterName_;
};

// Column options of Access that SQLite has no use for, and DEFAULT values that SQLite
// takes only in parentheses: DEFAULT Now() -> DEFAULT (Now()).
void RewriteColumnOptions(Tokens& t, size_t open, size_t close) {
    for (size_t i = close; i-- > open;) {
        if (IsWord(t[i], "DEFAULT")) {
            const size_t name = NextSignificant(t, i);
            const size_t call = name < close ? NextSignificant(t, name) : close;
            const bool function = t[name].kind == TokenKind::Word || t[name].kind == TokenKind::Name;
            if (call < close && function && IsPunct(t[call], "(")) {
                const size_t end = MatchingClose(t, call);
                if (end >= close) ThrowSyntaxError("falta el paréntesis de cierre en un valor DEFAULT.");
                t.insert(t.begin() + static_cast<std::ptrdiff_t>(end + 1), Token{TokenKind::Raw, ")", {}, {}});
                t.insert(t.begin() + static_cast<std::ptrdiff_t>(name), Token{TokenKind::Raw, "(", {}, {}});
                close += 2;
            }
        } else if (IsWord(t[i], "WITH")) {
            // WITH COMPRESSION / WITH COMP: a storage hint of Access text columns.
            const size_t what = NextSignificant(t, i);
            if (what < close && (IsWord(t[what], "COMPRESSION") || IsWord(t[what], "COMP"))) {
                size_t begin = i;
                while (begin > open + 1 && t[begin - 1].kind == TokenKind::Space) --begin;
                Erase(t, begin, what + 1);
                close -= what + 1 - begin;
            }
        }
    }
}

void RewriteCreateTable(Tokens& t, Range r, size_t head) {
    size_t i = NextSignificant(t, head);
    if (i < r.end && (IsWord(t[i], "TEMP") || IsWord(t[i], "TEMPORARY"))) i = NextSignificant(t, i);
    if (i >= r.end || !IsWord(t[i], "TABLE")) return;
    while (i < r.end && !IsPunct(t[i], "(") && !IsWord(t[i], "AS")) ++i;
    if (i >= r.end || !IsPunct(t[i], "(")) return;
    size_t close = MatchingClose(t, i);
    if (close >= r.end) ThrowSyntaxError("falta el paréntesis de cierre en CREATE TABLE.");
    RewriteColumnOptions(t, i, close);
    close = MatchingClose(t, i);
    CounterColumn(t).Rewrite(i, close);
}

void RefuseAlterCounter(const Tokens& t, Range r) {
    for (size_t i = r.begin; i < r.end; ++i)
        if (IsWord(t[i], "COUNTER") || IsWord(t[i], "AUTOINCREMENT"))
            ThrowNotSupported("añadir un campo autonumérico a una tabla existente.");
}

}  // namespace

void RewriteStatementForms(Tokens& t) {
    const std::vector<Range> statements = SplitStatements(t);
    for (size_t s = statements.size(); s-- > 0;) {
        const Range r = statements[s];
        const size_t head = FirstSignificant(t, r.begin, r.end);
        if (head == r.end) continue;
        if (IsWord(t[head], "TRANSFORM")) ThrowNotSupported("consultas de referencias cruzadas (TRANSFORM ... PIVOT).");
        if (IsWord(t[head], "DELETE")) RewriteDeleteStar(t, head);
        if (IsWord(t[head], "SELECT")) RewriteSelectInto(t, r, head);
        if (IsWord(t[head], "CREATE")) RewriteCreateTable(t, r, head);
        if (IsWord(t[head], "ALTER")) RefuseAlterCounter(t, r);
    }
}

bool FirstStatementReturnsRows(const Tokens& t) {
    for (const Range& r : SplitStatements(t)) {
        size_t head = FirstSignificant(t, r.begin, r.end);
        if (head == r.end) continue;
        if (IsWord(t[head], "WITH")) {
            // The statement word that follows the common table expressions.
            int depth = 0;
            for (size_t i = head; i < r.end; ++i) {
                if (IsPunct(t[i], "(")) ++depth;
                if (IsPunct(t[i], ")")) --depth;
                if (depth == 0 && i != head && t[i].kind == TokenKind::Word && IsReservedWord(t[i].text) &&
                    !IsWord(t[i], "AS") && !IsWord(t[i], "RECURSIVE")) {
                    head = i;
                    break;
                }
            }
        }
        for (std::string_view w : {"SELECT", "PRAGMA", "VALUES", "EXPLAIN"})
            if (IsWord(t[head], w)) return true;
        return false;
    }
    return false;
}

}  // namespace ado::sqlite::detail
