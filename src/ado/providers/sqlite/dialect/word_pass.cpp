// Rewrites of single words: what Access spells differently from SQLite.
#include <algorithm>

#include "ado/providers/sqlite/dialect/translation_passes.h"

namespace ado::sqlite::detail {
namespace {

struct BooleanWord {
    std::string_view word;
    std::string_view value;
};
constexpr BooleanWord kBooleans[] = {{"TRUE", "-1"}, {"YES", "-1"}, {"FALSE", "0"}, {"NO", "0"}};

// Access function names that SQLite reserves as keywords: called through a quoted name.
constexpr std::string_view kKeywordFunctions[] = {"LEFT", "RIGHT", "ISNULL"};

enum class StatementKind { Query, Definition, Pragma };

// Table definitions hold names and types, not expressions (but for DEFAULT values);
// views, indexes and triggers hold expressions like any query.
StatementKind KindOf(const Tokens& t, Range r) {
    const size_t head = FirstSignificant(t, r.begin, r.end);
    if (head == r.end) return StatementKind::Query;
    if (IsWord(t[head], "PRAGMA")) return StatementKind::Pragma;
    if (!IsWord(t[head], "CREATE") && !IsWord(t[head], "ALTER")) return StatementKind::Query;
    size_t object = NextSignificant(t, head);
    if (object < r.end && (IsWord(t[object], "TEMP") || IsWord(t[object], "TEMPORARY"))) object = NextSignificant(t, object);
    return object < r.end && IsWord(t[object], "TABLE") ? StatementKind::Definition : StatementKind::Query;
}

bool IsNameToken(const Token& tok) {
    return tok.kind == TokenKind::Name || (tok.kind == TokenKind::Word && !IsReservedWord(tok.text));
}

// Marks the names that are columns being written: the column list of INSERT INTO t (...)
// and the targets of UPDATE ... SET col = ...; a parameter never stands there.
std::vector<bool> ColumnTargets(const Tokens& t, Range r) {
    std::vector<bool> marks(t.size(), false);
    const size_t head = FirstSignificant(t, r.begin, r.end);
    if (head == r.end) return marks;
    if (IsWord(t[head], "INSERT") || IsWord(t[head], "REPLACE")) {
        size_t i = head;
        while (i < r.end && !IsWord(t[i], "INTO")) i = NextSignificant(t, i);
        for (; i < r.end; i = NextSignificant(t, i)) {
            if (IsWord(t[i], "SELECT") || IsWord(t[i], "VALUES")) break;
            if (IsPunct(t[i], "(")) {
                const size_t close = MatchingClose(t, i);
                const size_t inner = NextSignificant(t, i);
                if (inner < t.size() && !IsWord(t[inner], "SELECT"))
                    std::fill(marks.begin() + static_cast<std::ptrdiff_t>(i),
                              marks.begin() + static_cast<std::ptrdiff_t>(std::min(close, r.end)), true);
                break;
            }
        }
    } else if (IsWord(t[head], "UPDATE")) {
        int depth = 0;
        bool inSet = false;
        for (size_t i = head; i < r.end; ++i) {
            if (IsPunct(t[i], "(")) ++depth;
            if (IsPunct(t[i], ")")) --depth;
            if (depth != 0 || !IsSignificant(t[i])) continue;
            if (IsWord(t[i], "SET")) inSet = true;
            if (IsWord(t[i], "WHERE")) inSet = false;
            const size_t prev = PrevSignificant(t, i);
            const size_t next = NextSignificant(t, i);
            if (inSet && IsNameToken(t[i]) && next < r.end && IsPunct(t[next], "=") && prev != npos &&
                (IsWord(t[prev], "SET") || IsPunct(t[prev], ",")))
                marks[i] = true;
        }
    }
    return marks;
}

class WordRewriter {
public:
    WordRewriter(Tokens& t, Translation& out) : t_(t), out_(out) {}

    void Run(Range r) {
        const StatementKind kind = KindOf(t_, r);
        const std::vector<bool> targets = ColumnTargets(t_, r);
        for (size_t i = r.begin; i < r.end; ++i) {
            Token& tok = t_[i];
            if (tok.kind != TokenKind::Word && tok.kind != TokenKind::Name) continue;
            const size_t prev = PrevSignificant(t_, i);
            const size_t next = NextSignificant(t_, i);
            const bool qualified = (prev != npos && IsPunct(t_[prev], ".")) || (next < t_.size() && IsPunct(t_[next], "."));
            const bool called = next < t_.size() && IsPunct(t_[next], "(");
            const bool aliased = prev != npos && IsWord(t_[prev], "AS");
            if (kind != StatementKind::Definition && !qualified && !called && !aliased && !targets[i] &&
                ReplaceParameter(tok))
                continue;
            if (tok.kind != TokenKind::Word) continue;
            if (IsWord(tok, "DISTINCTROW")) {
                tok.text = "DISTINCT";
            } else if (IsWord(tok, "MOD") && !called) {
                tok = Token{TokenKind::Punct, "%", {}, tok.original};
            } else if (called) {
                for (std::string_view f : kKeywordFunctions)
                    if (IsWord(tok, f)) tok = Token{TokenKind::Name, QuoteName(f), std::string(f), tok.original};
            } else if (!qualified && !aliased && !targets[i] && kind != StatementKind::Pragma &&
                       (kind != StatementKind::Definition || (prev != npos && IsWord(t_[prev], "DEFAULT"))) &&
                       !(IsWord(tok, "NO") && next < t_.size() && IsWord(t_[next], "ACTION"))) {
                for (const auto& b : kBooleans)
                    if (IsWord(tok, b.word)) tok = Token{TokenKind::Number, std::string(b.value), {}, tok.original};
            }
        }
    }

private:
    // A name that a PARAMETERS declaration declared becomes ?N.
    bool ReplaceParameter(Token& tok) {
        const auto declared = std::find_if(out_.parameters.begin(), out_.parameters.end(), [&](const auto& p) {
            const std::string_view bare = p.name.size() > 1 && p.name.front() == '['
                                              ? std::string_view(p.name).substr(1, p.name.size() - 2)
                                              : std::string_view(p.name);
            return EqualsNoCase(bare, tok.value);
        });
        if (declared == out_.parameters.end()) return false;
        auto& list = out_.placeholders;
        auto found = std::find_if(list.begin(), list.end(), [&](const auto& n) { return EqualsNoCase(n, tok.value); });
        if (found == list.end()) {
            list.push_back(tok.value);
            found = list.end() - 1;
        }
        tok = Token{TokenKind::Placeholder, "?" + std::to_string(found - list.begin() + 1), {}, tok.original};
        return true;
    }

    Tokens& t_;
    Translation& out_;
};

}  // namespace

void RewriteWords(Tokens& t, Translation& out) {
    WordRewriter rewriter(t, out);
    for (const Range& r : SplitStatements(t)) rewriter.Run(r);
}

}  // namespace ado::sqlite::detail
