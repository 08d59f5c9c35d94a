// Expressions, read by an operator-precedence machine: operands and pending operators on
// two stacks, and a stack of open groups (parentheses, calls, CASE, CAST, IN lists). No
// recursion follows the nesting of an expression; only a subquery reads a nested SELECT.
// Precedence is Access's (VBA's): ^, unary -, * /, \, Mod, + -, &, comparisons, Not, And,
// Or, Xor, Eqv, Imp.
#include <algorithm>
#include <optional>

#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/parser_state.h"

namespace ado::sqlite::detail {

using namespace parsing;

namespace {

struct BinaryOperator {
    std::string_view spelling;  // punctuation, or an upper-case word
    bool word;
    Op op;
    Precedence precedence;
};

constexpr BinaryOperator kBinaryOperators[] = {
    {"=", false, Op::Eq, kCompare},          {"==", false, Op::Eq, kCompare},
    {"<>", false, Op::Ne, kCompare},         {"!=", false, Op::Ne, kCompare},
    {"<", false, Op::Lt, kCompare},          {"<=", false, Op::Le, kCompare},
    {">", false, Op::Gt, kCompare},          {">=", false, Op::Ge, kCompare},
    {"+", false, Op::Add, kAdditive},        {"-", false, Op::Sub, kAdditive},
    {"*", false, Op::Mul, kMultiplicative},  {"/", false, Op::Div, kMultiplicative},
    {"\\", false, Op::IntDiv, kIntDiv},      {"^", false, Op::Pow, kPower},
    {"&", false, Op::Concat, kConcat},       {"||", false, Op::Pipe, kPipe},
    {"%", false, Op::Mod, kMod},             {"|", false, Op::BitOr, kBits},
    {"<<", false, Op::ShiftLeft, kBits},     {">>", false, Op::ShiftRight, kBits},
    {"AND", true, Op::And, kAnd},            {"OR", true, Op::Or, kOr},
    {"XOR", true, Op::Xor, kXor},            {"EQV", true, Op::Eqv, kEqv},
    {"IMP", true, Op::Imp, kImp},            {"MOD", true, Op::Mod, kMod},
    {"LIKE", true, Op::Like, kCompare},      {"ALIKE", true, Op::Alike, kCompare},
    {"GLOB", true, Op::Glob, kCompare},
    {"REGEXP", true, Op::Regexp, kCompare},  {"MATCH", true, Op::Match, kCompare},
};

const BinaryOperator* FindBinary(const Token& t) {
    for (const auto& b : kBinaryOperators) {
        if (b.word ? IsWord(t, b.spelling) : (t.kind == TokenKind::Punct && t.text == b.spelling)) return &b;
    }
    return nullptr;
}

bool IsPatternOp(Op op) {
    return op == Op::Like || op == Op::Alike || op == Op::Glob || op == Op::Regexp || op == Op::Match;
}

// Keywords that are also Access functions when a '(' follows.
bool IsKeywordFunction(const Token& t) {
    for (std::string_view w : {"LEFT", "RIGHT", "ISNULL", "REPLACE", "IIF", "ASC"})
        if (IsWord(t, w)) return true;
    return false;
}

}  // namespace

class ExpressionReader {
public:
    ExpressionReader(ParserState& p, SelectId scope, bool stopAtIn) : p_(p), scope_(scope), stopAtIn_(stopAtIn) {}

    ExprId Read() {
        bool expectOperand = true;
        while (true) {
            if (expectOperand) {
                ReadOperand(expectOperand);
                continue;
            }
            if (!ReadOperator(expectOperand)) break;
        }
        if (!groups_.empty()) p_.Fail(GroupUnclosed(groups_.back()));
        ReduceTo(0, 0);
        if (operands_.size() != 1) p_.Fail("expresión incompleta");
        return operands_.back();
    }

private:
    enum class PendingKind : uint8_t { Prefix, Binary, Between, BetweenReady, Pattern, PatternEscape };
    struct Pending {
        Op op;
        uint8_t precedence;
        PendingKind kind;
        bool negated;
        size_t offset;
    };
    struct Group {
        enum class Kind : uint8_t { Paren, Call, Case, Cast, InList } kind;
        size_t operandBase, pendingBase;
        std::vector<ExprId> items;
        std::string name;  // a call's function
        bool distinct = false;
        bool negated = false;  // NOT IN
        enum class Stage : uint8_t { Base, When, Then, Else } stage = Stage::When;
        bool hasBase = false, hasElse = false;
        size_t offset = 0;
    };

    static const char* GroupUnclosed(const Group& g) {
        switch (g.kind) {
            case Group::Kind::Case: return "falta END en la expresión CASE";
            case Group::Kind::Cast: return "falta AS en CAST";
            default: return "falta el paréntesis de cierre";
        }
    }

    Expr Make(ExprKind kind, size_t offset) const {
        Expr e;
        e.kind = kind;
        e.scope = scope_;
        e.offset = offset;
        return e;
    }

    void Push(Expr e, const std::vector<ExprId>& children = {}) { operands_.push_back(p_.AddExpr(std::move(e), children)); }

    size_t OperandBase() const { return groups_.empty() ? 0 : groups_.back().operandBase; }
    size_t PendingBase() const { return groups_.empty() ? 0 : groups_.back().pendingBase; }

    ExprId PopOperand() {
        if (operands_.size() <= OperandBase()) p_.Fail("falta un operando");
        const ExprId id = operands_.back();
        operands_.pop_back();
        return id;
    }

    // Applies the pending operator on top of the stack to its operands.
    void ReduceOne() {
        const Pending op = pending_.back();
        pending_.pop_back();
        Expr e = Make(ExprKind::Binary, op.offset);
        e.op = op.op;
        e.negated = op.negated;
        switch (op.kind) {
            case PendingKind::Prefix: {
                e.kind = ExprKind::Unary;
                const ExprId a = PopOperand();
                return Push(std::move(e), {a});
            }
            case PendingKind::Binary:
            case PendingKind::Pattern: {
                const ExprId b = PopOperand(), a = PopOperand();
                return Push(std::move(e), {a, b});
            }
            case PendingKind::PatternEscape: {
                const ExprId c = PopOperand(), b = PopOperand(), a = PopOperand();
                e.hasEscape = true;
                return Push(std::move(e), {a, b, c});
            }
            case PendingKind::BetweenReady: {
                const ExprId high = PopOperand(), low = PopOperand(), value = PopOperand();
                e.kind = ExprKind::Between;
                return Push(std::move(e), {value, low, high});
            }
            case PendingKind::Between:
                p_.Fail("falta AND en BETWEEN");
        }
    }

    // Reduces the pending operators of the open group whose precedence is at least `minimum`.
    void Reduce(uint8_t minimum) {
        while (pending_.size() > PendingBase() && pending_.back().precedence >= minimum) ReduceOne();
    }

    void ReduceTo(size_t operandBase, size_t pendingBase) {
        while (pending_.size() > pendingBase) ReduceOne();
        if (operands_.size() != operandBase + 1) p_.Fail("expresión incompleta");
    }

    // Closes the current item of the open group: its expression joins the group's items.
    void FinishItem() {
        Group& g = groups_.back();
        ReduceTo(g.operandBase, g.pendingBase);
        g.items.push_back(operands_.back());
        operands_.pop_back();
    }

    void PushPending(Op op, uint8_t precedence, PendingKind kind, bool negated = false) {
        pending_.push_back({op, precedence, kind, negated, p_.Offset()});
    }

    void OpenGroup(Group::Kind kind) {
        Group g;
        g.kind = kind;
        g.operandBase = operands_.size();
        g.pendingBase = pending_.size();
        g.offset = p_.Offset();
        groups_.push_back(std::move(g));
    }

    // A SELECT inside parentheses; the '(' is the current token.
    SelectId ReadSubquery() {
        p_.ExpectPunct("(");
        const SelectId s = p_.ParseQuery(scope_);
        p_.ExpectPunct(")");
        return s;
    }

    bool AtSubquery() const { return p_.AtPunct("(") && (p_.AtWord("SELECT", 1) || p_.AtWord("WITH", 1)); }

    void ReadOperand(bool& expectOperand) {
        const Token& t = p_.Peek();
        const size_t offset = p_.Offset();
        if (p_.AtEnd()) p_.Fail("falta una expresión");
        if (IsPunct(t, "-") || IsPunct(t, "+") || IsPunct(t, "~")) {
            const Op op = t.text == "-" ? Op::Neg : t.text == "+" ? Op::Plus : Op::BitNot;
            p_.Advance();
            return PushPending(op, kPrefix, PendingKind::Prefix);
        }
        if (IsWord(t, "NOT")) {
            p_.Advance();
            if (p_.AtWord("EXISTS")) {
                p_.Advance();
                Expr e = Make(ExprKind::Exists, offset);
                e.negated = true;
                e.select = ReadSubquery();
                Push(std::move(e));
                expectOperand = false;
                return;
            }
            return PushPending(Op::Not, kNot, PendingKind::Prefix);
        }
        if (IsPunct(t, "(")) {
            if (AtSubquery()) {
                Expr e = Make(ExprKind::Subquery, offset);
                e.select = ReadSubquery();
                Push(std::move(e));
                expectOperand = false;
                return;
            }
            p_.Advance();
            return OpenGroup(Group::Kind::Paren);
        }
        if (IsWord(t, "EXISTS")) {
            p_.Advance();
            Expr e = Make(ExprKind::Exists, offset);
            e.select = ReadSubquery();
            Push(std::move(e));
            expectOperand = false;
            return;
        }
        if (IsWord(t, "CASE")) {
            p_.Advance();
            OpenGroup(Group::Kind::Case);
            Group& g = groups_.back();
            if (p_.AcceptWord("WHEN")) {
                g.stage = Group::Stage::When;
            } else {
                g.stage = Group::Stage::Base;
                g.hasBase = true;
            }
            return;
        }
        if (IsWord(t, "CAST") && p_.AtPunct("(", 1)) {
            p_.Advance();
            p_.Advance();
            return OpenGroup(Group::Kind::Cast);
        }
        expectOperand = false;
        // value op ANY|SOME|ALL (SELECT ...): the comparison just read takes the subquery.
        if ((IsWord(t, "ANY") || IsWord(t, "SOME") || IsWord(t, "ALL")) && p_.AtPunct("(", 1) && p_.AtWord("SELECT", 2))
            return ReadQuantified(t);
        // Literals: the kind each token stands for, and the text it keeps.
        switch (t.kind) {
            case TokenKind::Number: return PushLiteral(LiteralKind::Number, t.text, offset);
            case TokenKind::String: return PushLiteral(LiteralKind::String, t.value, offset);
            case TokenKind::Date: return PushLiteral(LiteralKind::Date, t.value, offset, t.serial);
            case TokenKind::Blob: return PushLiteral(LiteralKind::Blob, t.text, offset);
            case TokenKind::Placeholder: {
                Expr e = Make(ExprKind::Parameter, offset);
                e.text = t.text;
                p_.Advance();
                return Push(std::move(e));
            }
            default: break;
        }
        if (t.kind == TokenKind::Word) {
            for (auto [word, value] : {std::pair{"NULL", ""}, {"TRUE", "-1"}, {"YES", "-1"}, {"FALSE", "0"}, {"NO", "0"}}) {
                if (!IsWord(t, word) || p_.AtPunct(".", 1) || p_.AtPunct("!", 1)) continue;
                return PushLiteral(*value ? LiteralKind::Boolean : LiteralKind::Null, value, offset);
            }
            if (IsReservedWord(t.text) && !(IsKeywordFunction(t) && p_.AtPunct("(", 1)))
                p_.Fail("se esperaba una expresión");
        } else if (t.kind != TokenKind::Name) {
            p_.Fail("se esperaba una expresión");
        }
        if (ReadName(offset)) expectOperand = true;
    }

    void PushLiteral(LiteralKind kind, const std::string& text, size_t offset, double number = 0) {
        Expr e = Make(ExprKind::Literal, offset);
        e.literal = kind;
        e.text = text;
        e.number = number;
        p_.Advance();
        Push(std::move(e));
    }

    // A column, a declared parameter, a call, or qualifier.* : names joined by '.' or '!'.
    // True when it opened a call's arguments (an operand comes next).
    bool ReadName(size_t offset) {
        std::vector<std::string> parts{p_.Peek().value};
        p_.Advance();
        while ((p_.AtPunct(".") || p_.AtPunct("!")) && (p_.AtName(1) || p_.Peek(1).kind == TokenKind::Word ||
                                                        p_.AtPunct("*", 1))) {
            p_.Advance();
            if (p_.AtPunct("*")) {
                p_.Advance();
                Expr e = Make(ExprKind::Star, offset);
                e.qualifier = Join(parts);
                Push(std::move(e));
                return false;
            }
            parts.push_back(p_.Peek().value);
            p_.Advance();
        }
        if (parts.size() == 1 && p_.AtPunct("(")) return OpenCall(parts.front(), offset);
        Expr e = Make(ExprKind::Column, offset);
        e.text = parts.back();
        parts.pop_back();
        e.qualifier = Join(parts);
        if (IsDeclaredParameter(e)) e.kind = ExprKind::Parameter;
        Push(std::move(e));
        return false;
    }

    static std::string Join(const std::vector<std::string>& parts) {
        std::string out;
        for (const auto& part : parts) out += (out.empty() ? "" : ".") + part;
        return out;
    }

    bool IsDeclaredParameter(const Expr& e) const {
        const std::string full = e.qualifier.empty() ? e.text : e.qualifier + "." + e.text;
        for (const auto& d : p_.tree().parameters)
            if (EqualsNoCase(BareParameterName(d), full)) return true;
        return false;
    }

    // name( ... : true when arguments follow.
    bool OpenCall(std::string name, size_t offset) {
        p_.Advance();  // (
        if (p_.AcceptPunct(")")) {
            Expr e = Make(ExprKind::Call, offset);
            e.text = std::move(name);
            Push(std::move(e));
            return false;
        }
        if (p_.AtPunct("*") && p_.AtPunct(")", 1)) {
            p_.Advance();
            p_.Advance();
            const ExprId star = p_.AddExpr(Make(ExprKind::Star, offset));
            Expr e = Make(ExprKind::Call, offset);
            e.text = std::move(name);
            Push(std::move(e), {star});
            return false;
        }
        OpenGroup(Group::Kind::Call);
        Group& g = groups_.back();
        g.name = std::move(name);
        g.offset = offset;
        if (p_.AcceptWord("DISTINCT")) g.distinct = true;
        else p_.AcceptWord("ALL");
        return true;
    }

    // Reads what may follow an operand; false when the expression ends here.
    bool ReadOperator(bool& expectOperand) {
        const Token& t = p_.Peek();
        if (p_.AtEnd()) return false;
        const size_t offset = p_.Offset();
        if (!groups_.empty() && ReadGroupToken(expectOperand)) return true;
        if (IsWord(t, "AND") && HasPendingBetween()) {
            Reduce(kCompare + 1);
            pending_.back().kind = PendingKind::BetweenReady;
            p_.Advance();
            expectOperand = true;
            return true;
        }
        if (IsWord(t, "ESCAPE")) {
            Reduce(kCompare + 1);
            if (pending_.size() <= PendingBase() || pending_.back().kind != PendingKind::Pattern) return false;
            pending_.back().kind = PendingKind::PatternEscape;
            p_.Advance();
            expectOperand = true;
            return true;
        }
        if (IsWord(t, "COLLATE")) {
            p_.Advance();
            Expr e = Make(ExprKind::Collate, offset);
            e.text = p_.ExpectName("el nombre de la intercalación");
            const ExprId a = PopOperand();
            Push(std::move(e), {a});
            return true;
        }
        if (IsWord(t, "IS") || IsWord(t, "ISNULL") || IsWord(t, "NOTNULL")) return ReadIs(expectOperand, offset);
        bool negated = false;
        if (IsWord(t, "NOT")) {
            const Token& next = p_.Peek(1);
            const bool negatable = IsWord(next, "BETWEEN") || IsWord(next, "IN") || IsWord(next, "LIKE") || IsWord(next, "ALIKE") ||
                                   IsWord(next, "GLOB") || IsWord(next, "REGEXP") || IsWord(next, "MATCH");
            if (!negatable) return false;
            negated = true;
            p_.Advance();
        }
        if (p_.AtWord("BETWEEN")) {
            Reduce(kCompare);
            p_.Advance();
            PushPending(Op::None, kCompare, PendingKind::Between, negated);
            expectOperand = true;
            return true;
        }
        if (p_.AtWord("IN")) {
            if (stopAtIn_ && groups_.empty() && !negated) return false;  // PIVOT x IN (...)
            return ReadIn(negated, offset, expectOperand);
        }
        const BinaryOperator* b = FindBinary(p_.Peek());
        if (!b) {
            if (negated) p_.Fail("NOT no válido aquí");
            return false;
        }
        Reduce(b->precedence);
        p_.Advance();
        PushPending(b->op, b->precedence, IsPatternOp(b->op) ? PendingKind::Pattern : PendingKind::Binary, negated);
        expectOperand = true;
        return true;
    }

    bool HasPendingBetween() const {
        for (size_t i = pending_.size(); i-- > PendingBase();) {
            if (pending_[i].kind == PendingKind::Between) return true;
            if (pending_[i].precedence <= kCompare) return false;
        }
        return false;
    }

    // IS [NOT] NULL, ISNULL, NOTNULL, IS [NOT] value.
    bool ReadIs(bool& expectOperand, size_t offset) {
        Reduce(kCompare + 1);
        bool negated = false;
        if (p_.AcceptWord("ISNULL")) {
        } else if (p_.AcceptWord("NOTNULL")) {
            negated = true;
        } else {
            p_.Advance();  // IS
            negated = p_.AcceptWord("NOT");
            if (!p_.AtWord("NULL")) {
                Reduce(kCompare);
                PushPending(negated ? Op::IsNot : Op::Is, kCompare, PendingKind::Binary);
                expectOperand = true;
                return true;
            }
            p_.Advance();
        }
        Expr e = Make(ExprKind::IsNull, offset);
        e.negated = negated;
        const ExprId a = PopOperand();
        Push(std::move(e), {a});
        return true;
    }

    void ReadQuantified(const Token& quantifier) {
        const bool comparison = pending_.size() > PendingBase() && pending_.back().kind == PendingKind::Binary &&
                                pending_.back().op >= Op::Eq && pending_.back().op <= Op::Ge;
        if (!comparison) p_.Fail("se esperaba una comparación antes de " + ToUpperAscii(quantifier.text));
        const Pending op = pending_.back();
        pending_.pop_back();
        Expr e = Make(ExprKind::Quantified, op.offset);
        e.op = op.op;
        e.text = IsWord(quantifier, "ALL") ? "ALL" : "ANY";
        const ExprId value = PopOperand();
        p_.Advance();  // the quantifier
        e.select = ReadSubquery();
        Push(std::move(e), {value});
    }

    bool ReadIn(bool negated, size_t offset, bool& expectOperand) {
        Reduce(kCompare + 1);
        p_.Advance();  // IN
        if (!p_.AtPunct("(")) p_.Fail("falta la lista de IN");
        const ExprId value = PopOperand();
        if (AtSubquery()) {
            Expr e = Make(ExprKind::InSelect, offset);
            e.negated = negated;
            e.select = ReadSubquery();
            Push(std::move(e), {value});
            return true;
        }
        p_.Advance();
        if (p_.AcceptPunct(")")) {
            Expr e = Make(ExprKind::InList, offset);
            e.negated = negated;
            Push(std::move(e), {value});
            return true;
        }
        operands_.push_back(value);  // kept below the group: it becomes the first child
        OpenGroup(Group::Kind::InList);
        groups_.back().negated = negated;
        groups_.back().offset = offset;
        expectOperand = true;
        return true;
    }

    // ',' ')' and the words of CASE and CAST inside an open group; false when the token
    // is none of them (it is then an operator, or the end).
    bool ReadGroupToken(bool& expectOperand) {
        Group& g = groups_.back();
        const Token& t = p_.Peek();
        if (IsPunct(t, ",")) {
            if (g.kind == Group::Kind::Case || g.kind == Group::Kind::Cast) p_.Fail(GroupUnclosed(g));
            FinishItem();
            p_.Advance();
            expectOperand = true;
            return true;
        }
        if (IsPunct(t, ")")) {
            if (g.kind == Group::Kind::Case || g.kind == Group::Kind::Cast) p_.Fail(GroupUnclosed(g));
            FinishItem();
            p_.Advance();
            CloseGroup();
            return true;
        }
        if (g.kind == Group::Kind::Case) {
            using Stage = Group::Stage;
            if (IsWord(t, "WHEN") && (g.stage == Stage::Base || g.stage == Stage::Then)) {
                FinishItem();
                g.stage = Stage::When;
            } else if (IsWord(t, "THEN") && g.stage == Stage::When) {
                FinishItem();
                g.stage = Stage::Then;
            } else if (IsWord(t, "ELSE") && g.stage == Stage::Then) {
                FinishItem();
                g.stage = Stage::Else;
                g.hasElse = true;
            } else if (IsWord(t, "END") && (g.stage == Stage::Then || g.stage == Stage::Else)) {
                FinishItem();
                p_.Advance();
                CloseGroup();
                return true;
            } else {
                return false;
            }
            p_.Advance();
            expectOperand = true;
            return true;
        }
        if (g.kind == Group::Kind::Cast && IsWord(t, "AS")) {
            FinishItem();
            p_.Advance();
            const std::string type = p_.ParseTypeName();
            p_.ExpectPunct(")");
            Group done = std::move(groups_.back());
            groups_.pop_back();
            Expr e = Make(ExprKind::Cast, done.offset);
            e.text = type;
            Push(std::move(e), done.items);
            return true;
        }
        return false;
    }

    // A domain aggregate whose arguments are texts: the Access query they spell.
    std::optional<std::string> DomainQuery(const std::string& name, const std::vector<ExprId>& args) const {
        if (args.size() < 2 || args.size() > 3) return std::nullopt;
        for (ExprId a : args) {
            const Expr& e = p_.tree().At(a);
            if (e.kind != ExprKind::Literal || e.literal != LiteralKind::String) return std::nullopt;
        }
        auto literal = [&](size_t i) { return p_.tree().At(args[i]).text; };
        return DomainAggregateQuery(name, literal(0), literal(1), args.size() == 3 ? literal(2) : "");
    }

    void CloseGroup() {
        Group g = std::move(groups_.back());
        groups_.pop_back();
        switch (g.kind) {
            case Group::Kind::Paren:
                if (g.items.size() == 1) {
                    operands_.push_back(g.items.front());
                } else {
                    Push(Make(ExprKind::RowValue, g.offset), g.items);
                }
                return;
            case Group::Kind::Call: {
                if (const auto domain = DomainQuery(g.name, g.items)) {
                    // A domain aggregate of literal arguments is the query they spell.
                    Expr e = Make(ExprKind::Subquery, g.offset);
                    e.select = p_.ParseEmbeddedQuery(*domain, scope_);
                    return Push(std::move(e));
                }
                Expr e = Make(ExprKind::Call, g.offset);
                e.text = std::move(g.name);
                e.distinct = g.distinct;
                return Push(std::move(e), g.items);
            }
            case Group::Kind::InList: {
                Expr e = Make(ExprKind::InList, g.offset);
                e.negated = g.negated;
                std::vector<ExprId> children{operands_.back()};
                operands_.pop_back();
                children.insert(children.end(), g.items.begin(), g.items.end());
                return Push(std::move(e), children);
            }
            case Group::Kind::Case: {
                Expr e = Make(ExprKind::Case, g.offset);
                e.hasBase = g.hasBase;
                e.hasElse = g.hasElse;
                return Push(std::move(e), g.items);
            }
            case Group::Kind::Cast: break;
        }
    }

    ParserState& p_;
    SelectId scope_;
    bool stopAtIn_;
    std::vector<ExprId> operands_;
    std::vector<Pending> pending_;
    std::vector<Group> groups_;
};

ExprId ParserState::ParseExpression(SelectId scope, bool stopAtIn) {
    return ExpressionReader(*this, scope, stopAtIn).Read();
}

}  // namespace ado::sqlite::detail
