// a & b: Access joins texts with &, and a Null operand counts as an empty text. SQLite's
// || gives Null for a Null operand and binds tighter than arithmetic, so each operand is
// wrapped whole: IFNULL(a,'') || IFNULL(b,''). An operand reaches as far as Access
// precedence takes it (arithmetic binds tighter than &; comparisons, NOT, AND, OR, commas
// and keywords end it).
#include "ado/providers/sqlite/dialect/translation_passes.h"

namespace ado::sqlite::detail {
namespace {

bool IsArithmetic(const Token& tok) {
    if (tok.kind != TokenKind::Punct && tok.kind != TokenKind::Raw) return false;
    for (std::string_view op : {"+", "-", "*", "/", "%", "||", "^", "\\"})
        if (tok.text == op) return true;
    return false;
}
bool IsUnary(const Token& tok) { return IsPunct(tok, "-") || IsPunct(tok, "+") || IsPunct(tok, "~"); }
bool IsAmpersand(const Token& tok) { return IsPunct(tok, "&"); }

bool IsValueWord(const Token& tok) {
    return tok.kind == TokenKind::Word && !IsReservedWord(tok.text);
}

bool IsAtom(const Token& tok) {
    switch (tok.kind) {
        case TokenKind::Number:
        case TokenKind::String:
        case TokenKind::Date:
        case TokenKind::Placeholder:
        case TokenKind::Name:
            return true;
        case TokenKind::Word:
            return IsValueWord(tok);
        default:
            return false;
    }
}

// The END that closes the CASE at i, or size().
size_t MatchingEnd(const Tokens& t, size_t caseWord) {
    int depth = 0;
    for (size_t i = caseWord; i < t.size(); ++i) {
        if (IsWord(t[i], "CASE")) ++depth;
        if (IsWord(t[i], "END") && --depth == 0) return i;
    }
    return t.size();
}

size_t MatchingCase(const Tokens& t, size_t endWord) {
    int depth = 0;
    for (size_t i = endWord + 1; i-- > 0;) {
        if (IsWord(t[i], "END")) ++depth;
        if (IsWord(t[i], "CASE") && --depth == 0) return i;
    }
    return npos;
}

// One operand starting at i: [unary] primary { arithmetic [unary] primary }.
// Returns the index of its last token, or npos when the tokens form no operand.
size_t ParseOperand(const Tokens& t, size_t i) {
    while (true) {
        while (i < t.size() && IsUnary(t[i])) i = NextSignificant(t, i);
        if (i >= t.size()) return npos;
        size_t last;
        if (IsPunct(t[i], "(")) {
            last = MatchingClose(t, i);
        } else if (IsWord(t[i], "CASE")) {
            last = MatchingEnd(t, i);
        } else if (IsAtom(t[i]) || IsWord(t[i], "CAST")) {
            last = i;
            // Qualified names (t.col) and calls (f(...)).
            size_t next = NextSignificant(t, last);
            while (next + 1 < t.size() && IsPunct(t[next], ".")) {
                const size_t part = NextSignificant(t, next);
                if (part == t.size() || !IsAtom(t[part])) return npos;
                last = part;
                next = NextSignificant(t, last);
            }
            if (next < t.size() && IsPunct(t[next], "(") && t[last].kind != TokenKind::String) last = MatchingClose(t, next);
        } else {
            return npos;
        }
        if (last >= t.size()) return npos;
        const size_t op = NextSignificant(t, last);
        if (op == t.size() || !IsArithmetic(t[op])) return last;
        i = NextSignificant(t, op);
    }
}

// The first token of the & chain that holds the & at `amp`: walk left while the tokens
// can belong to an operand.
size_t ChainStart(const Tokens& t, size_t amp) {
    size_t start = amp;
    for (size_t i = PrevSignificant(t, amp); i != npos; i = PrevSignificant(t, i)) {
        if (IsPunct(t[i], ")")) {
            i = MatchingOpen(t, i);
            if (i == npos) break;
            // EXISTS (...) and IN (...) bind to their group: no simple operand here.
            const size_t before = PrevSignificant(t, i);
            if (before != npos && (IsWord(t[before], "EXISTS") || IsWord(t[before], "IN"))) return npos;
        } else if (IsWord(t[i], "END")) {
            i = MatchingCase(t, i);
            if (i == npos) break;
        } else if (!(IsAtom(t[i]) || IsArithmetic(t[i]) || IsUnary(t[i]) || IsAmpersand(t[i]) ||
                     IsPunct(t[i], "."))) {
            break;
        }
        start = i;
    }
    return start;
}

Token RawToken(std::string text) { return Token{TokenKind::Raw, std::move(text), {}, {}}; }

void MakeConcatenation(Token& amp) { amp = Token{TokenKind::Punct, "||", {}, amp.original}; }

// Rewrites the chain holding the & at `amp`; returns where scanning may resume.
size_t RewriteChain(Tokens& t, size_t amp) {
    const size_t start = ChainStart(t, amp);
    if (start == npos) {
        MakeConcatenation(t[amp]);
        return amp;
    }
    struct Operand {
        size_t first, last;
    };
    std::vector<Operand> operands;
    size_t i = start;
    while (true) {
        const size_t last = ParseOperand(t, i);
        if (last == npos || (operands.empty() && NextSignificant(t, last) != amp)) {
            operands.clear();
            break;
        }
        operands.push_back({i, last});
        const size_t next = NextSignificant(t, last);
        if (next == t.size() || !IsAmpersand(t[next])) break;
        i = NextSignificant(t, next);
    }
    if (operands.size() < 2) {
        MakeConcatenation(t[amp]);  // operands not delimited: plain ||
        return amp;
    }
    // Right to left, so that earlier indexes stay valid.
    for (size_t k = operands.size(); k-- > 0;) {
        const Operand& o = operands[k];
        // A literal is never Null: it needs no IFNULL.
        const TokenKind kind = t[o.first].kind;
        const bool literal = o.first == o.last &&
                             (kind == TokenKind::String || kind == TokenKind::Number || kind == TokenKind::Date);
        if (!literal) {
            t.insert(t.begin() + static_cast<std::ptrdiff_t>(o.last + 1), RawToken(",'')"));
            t.insert(t.begin() + static_cast<std::ptrdiff_t>(o.first), RawToken("IFNULL("));
        }
        if (k > 0) {
            const size_t ampIndex = NextSignificant(t, operands[k - 1].last);
            MakeConcatenation(t[ampIndex]);
        }
    }
    return start;
}

}  // namespace

void RewriteConcatenation(Tokens& t) {
    for (size_t i = 0; i < t.size(); ++i)
        if (IsAmpersand(t[i])) i = RewriteChain(t, i);
}

}  // namespace ado::sqlite::detail
