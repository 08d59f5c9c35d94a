// Expressions: each node becomes pieces (text, and its children with the form each must be
// handed over in), expanded with an explicit stack.
#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/function_catalog.h"
#include "ado/providers/sqlite/dialect/sql_tokens.h"
#include "ado/providers/sqlite/dialect/sql_writer.h"
#include "ado/providers/sqlite/dialect/value_conversions.h"

namespace ado::sqlite::detail {

namespace {

const char* ComparisonText(Op op) {
    switch (op) {
        case Op::Eq: return " = ";
        case Op::Ne: return " <> ";
        case Op::Lt: return " < ";
        case Op::Le: return " <= ";
        case Op::Gt: return " > ";
        case Op::Ge: return " >= ";
        case Op::Is: return " IS ";
        case Op::IsNot: return " IS NOT ";
        default: return nullptr;
    }
}

const char* PatternText(Op op) {
    switch (op) {
        case Op::Like: case Op::Alike: return "LIKE ";
        case Op::Glob: return "GLOB ";
        case Op::Regexp: return "REGEXP ";
        case Op::Match: return "MATCH ";
        default: return nullptr;
    }
}

const char* PlainOperatorText(Op op) {
    switch (op) {
        case Op::Add: return " + ";
        case Op::Sub: return " - ";
        case Op::Mul: return " * ";
        case Op::Pipe: return " || ";
        case Op::BitOr: return " | ";
        case Op::BitAnd: return " & ";
        case Op::ShiftLeft: return " << ";
        case Op::ShiftRight: return " >> ";
        default: return nullptr;
    }
}

// Functions that show a number as VBA writes it: for a Single, with a Single's digits.
bool ShowsSingle(const FunctionInfo& f, uint32_t count) {
    return f.name == "CSTR" || f.name == "STR" || (f.name == "FORMAT" && count == 1);
}

// Function names that are keywords of the engine: called through a quoted name.
bool IsKeywordFunction(std::string_view upper) { return upper == "LEFT" || upper == "RIGHT" || upper == "ISNULL"; }

// Access functions whose name the engine's own functions take: called under their BZ_ names.
std::string_view EngineName(std::string_view upper) {
    for (std::string_view name : {"REPLACE", "REPLACE$", "HEX", "HEX$"})
        if (upper == name) return name;
    return {};
}

}  // namespace

std::string SqlWriter::Expression(ExprId root, DataTypeEnum want) {
    std::string out;
    if (root == kNone) return out;
    std::vector<Item> stack;
    std::vector<Item> pieces;
    stack.reserve(16);
    pieces.reserve(8);
    stack.push_back({false, {}, root, want});
    while (!stack.empty()) {
        Item it = std::move(stack.back());
        stack.pop_back();
        if (it.text) {
            out += it.s;
            continue;
        }
        pieces.clear();
        Pieces(it.id, it.want, pieces);
        for (auto p = pieces.rbegin(); p != pieces.rend(); ++p) stack.push_back(std::move(*p));
    }
    return out;
}

std::string SqlWriter::Stored(ExprId id, const ValueType& column) {
    const Expr& e = tree_.At(id);
    const DataTypeEnum from = typing_.exprs[id].type.type;
    if (e.kind == ExprKind::Literal && e.literal == LiteralKind::Number && column.type == adCurrency)
        if (auto exact = NumberLiteralAs(e.text, adCurrency)) return *exact;
    // A real computed beyond Double's range is the engine's infinity: CDbl refuses it, as
    // Access overflows. A column or literal stored as it is cannot be one.
    if (column.type == adDouble && from == adDouble && e.kind != ExprKind::Column && e.kind != ExprKind::Literal &&
        e.kind != ExprKind::Parameter)
        return "CDBL(" + Expression(id, adVariant) + ")";
    const Wrapping w = StoreAs(from, column);
    if (IsDecimalType(column.type) && e.kind == ExprKind::Literal && e.literal == LiteralKind::Number)
        return "BZ_DEC_FIT(BZ_DEC_LIT(" + QuoteString(e.text) + "), " +
               std::to_string(column.precision ? column.precision : 18) + ", " + std::to_string(column.scale) + ")";
    return w.before + Expression(id, adVariant) + w.after;
}

bool SqlWriter::NeedsCollation(ExprId id) const {
    const ExprTyping& t = typing_.exprs[id];
    return IsTextType(t.type.type) && !t.column && tree_.At(id).kind != ExprKind::Collate;
}

std::string SqlWriter::Collated(ExprId id) {
    std::string text = Expression(id);
    if (NeedsCollation(id)) text += std::string(" COLLATE ") + kTextCollation;
    return text;
}

std::string SqlWriter::LiteralText(const Expr& e, DataTypeEnum want, bool& converted) const {
    converted = false;
    switch (e.literal) {
        case LiteralKind::Null: return "NULL";
        case LiteralKind::Boolean: return e.text;
        case LiteralKind::String: return QuoteString(e.text);
        case LiteralKind::Blob: return e.text;
        case LiteralKind::Date:
            if (IsTextType(want)) {
                converted = true;
                return "BZ_TEXT(" + SerialLiteral(e.number) + ", 7)";
            }
            return SerialLiteral(e.number);
        case LiteralKind::Number:
            if (want == adCurrency) {
                if (auto exact = NumberLiteralAs(e.text, adCurrency)) {
                    converted = true;
                    return *exact;
                }
            }
            if (IsDecimalType(want)) {
                converted = true;
                return "BZ_DEC_LIT(" + QuoteString(e.text) + ")";
            }
            return e.text;
    }
    return e.text;
}

std::string SqlWriter::QualifiedName(const std::string& qualifier) const {
    std::string name;
    size_t start = 0;
    while (!qualifier.empty() && start <= qualifier.size()) {
        const size_t dot = qualifier.find('.', start);
        std::string part = qualifier.substr(start, dot - start);
        if (dot == std::string::npos)
            for (const auto& [from, to] : renames_)
                if (EqualsNoCase(part, from)) part = to;
        name += QuoteName(part) + ".";
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return name;
}

std::string SqlWriter::ParameterText(ExprId id) { return "?" + std::to_string(parameterNumbers_[id]); }

// Whether the engine gives the node's truth as 1, where Access's True is -1: comparisons and
// the logical operators. Like is Access's own function, which gives -1; Not Like negates it.
bool SqlWriter::GivesEngineTruth(const Expr& e) const {
    switch (e.kind) {
        case ExprKind::Between: case ExprKind::InList: case ExprKind::InSelect: case ExprKind::Quantified:
        case ExprKind::IsNull: case ExprKind::Exists:
            return true;
        case ExprKind::Unary: return e.op == Op::Not;
        case ExprKind::Binary:
            if (e.op == Op::Like || e.op == Op::Alike) return e.negated;
            return ComparisonText(e.op) || PatternText(e.op) || e.op == Op::And || e.op == Op::Or ||
                   e.op == Op::Xor || e.op == Op::Eqv || e.op == Op::Imp;
        default: return false;
    }
}

void SqlWriter::Pieces(ExprId id, DataTypeEnum want, std::vector<Item>& out) {
    const Expr& e = tree_.At(id);
    const DataTypeEnum from = typing_.exprs[id].type.type;
    if (e.kind == ExprKind::Literal) {
        bool converted = false;
        std::string text = LiteralText(e, want, converted);
        const Wrapping w = converted ? Wrapping{} : UseAs(from, want);
        out.push_back({true, w.before + text + w.after, kNone, adVariant});
        return;
    }
    // Where its value is used (computed, stored, shown, sorted), a truth is Access's -1.
    const bool negated = want != kWantTruth && GivesEngineTruth(e);
    const Wrapping w = UseAs(from, want);
    if (!w.before.empty()) out.push_back({true, w.before, kNone, adVariant});
    if (negated) out.push_back({true, "(- ", kNone, adVariant});
    NodePieces(id, out);
    if (negated) out.push_back({true, ")", kNone, adVariant});
    if (!w.after.empty()) out.push_back({true, w.after, kNone, adVariant});
}

void SqlWriter::NodePieces(ExprId id, std::vector<Item>& out) {
    const Expr& e = tree_.At(id);
    const ExprTyping& t = typing_.exprs[id];
    auto text = [&](std::string s) { out.push_back({true, std::move(s), kNone, adVariant}); };
    auto child = [&](uint32_t i, DataTypeEnum want) { out.push_back({false, {}, tree_.Child(e, i), want}); };
    auto compared = [&](uint32_t i, DataTypeEnum want, bool collate) { ComparedPieces(tree_.Child(e, i), want, collate, out); };
    switch (e.kind) {
        case ExprKind::Literal: break;
        case ExprKind::Column: {
            // Access reuses an earlier item's alias in the select list; the engine needs the item.
            if (t.aliasOf != kNone) {
                text("(");
                out.push_back({false, {}, t.aliasOf, adVariant});
                return text(")");
            }
            return text(QualifiedName(e.qualifier) + QuoteName(e.text));
        }
        case ExprKind::Parameter: return text(ParameterText(id));
        case ExprKind::Star:
            return text(QualifiedName(e.qualifier) + "*");
        case ExprKind::Unary:
            switch (e.op) {
                case Op::Not: text("(NOT "); break;
                case Op::BitNot: text("(~ "); break;
                case Op::Plus: text("(+ "); break;
                default:
                    if (IsDecimalType(t.type.type)) {
                        text("BZ_DEC_NEG(");
                        child(0, adNumeric);
                        return text(")");
                    }
                    text("(- ");
            }
            if (e.op != Op::Not && e.op != Op::BitNot && IsTextType(typing_.exprs[tree_.Child(e, 0)].type.type)) {
                TextAsNumberPieces(tree_.Child(e, 0), t.type.type, out);
                return text(")");
            }
            child(0, e.op == Op::Not ? kWantTruth : e.op == Op::BitNot ? adVariant : t.type.type);
            return text(")");
        case ExprKind::Binary: return BinaryPieces(e, id, out);
        case ExprKind::Between: {
            const bool collate = IsTextType(t.compare);
            text("(");
            compared(0, t.compare, collate);
            text(e.negated ? " NOT BETWEEN " : " BETWEEN ");
            compared(1, t.compare, false);
            text(" AND ");
            compared(2, t.compare, false);
            return text(")");
        }
        case ExprKind::InList: {
            text("(");
            compared(0, t.compare, IsTextType(t.compare));
            text(e.negated ? " NOT IN (" : " IN (");
            for (uint32_t i = 1; i < e.count; ++i) {
                if (i > 1) text(", ");
                compared(i, t.compare, false);
            }
            return text("))");
        }
        case ExprKind::InSelect:
            text("(");
            compared(0, t.compare, IsTextType(t.compare));
            text(e.negated ? " NOT IN (" : " IN (");
            text(SelectText(e.select));
            return text("))");
        case ExprKind::Quantified: {
            // Three-valued, as the standard says: ANY is true when some value compares true, ALL
            // when none compares false; otherwise Null when some comparison is Null.
            const bool all = e.text == "ALL";
            const std::string cmp = ComparisonText(e.op);
            auto comparison = [&](const char* form) {
                text(std::string(" WHEN EXISTS (SELECT 1 FROM `brezal_q` WHERE ") + form + "(");
                child(0, t.compare);
                if (IsTextType(t.compare)) text(std::string(" COLLATE ") + kTextCollation);
                text(cmp + "`brezal_v`)");
            };
            text("(WITH `brezal_q`(`brezal_v`) AS (" + SelectText(e.select) + ") SELECT CASE");
            comparison(all ? "NOT " : "");
            text(all ? ") THEN 0" : ") THEN 1");
            comparison("");
            return text(all ? " IS NULL) THEN NULL ELSE 1 END)" : " IS NULL) THEN NULL ELSE 0 END)");
        }
        case ExprKind::IsNull:
            text("(");
            child(0, adVariant);
            return text(e.negated ? " IS NOT NULL)" : " IS NULL)");
        case ExprKind::Exists: return text(std::string(e.negated ? "(NOT EXISTS (" : "(EXISTS (") + SelectText(e.select) + "))");
        case ExprKind::Subquery: return text("(" + SelectText(e.select) + ")");
        case ExprKind::Call: return CallPieces(e, id, out);
        case ExprKind::Case: {
            uint32_t i = 0;
            text("(CASE");
            if (e.hasBase) {
                text(" ");
                compared(i++, t.compare, IsTextType(t.compare));
            }
            const uint32_t end = e.count - (e.hasElse ? 1 : 0);
            for (; i + 1 < end; i += 2) {
                text(" WHEN ");
                child(i, e.hasBase ? t.compare : kWantTruth);
                text(" THEN ");
                child(i + 1, t.type.type);
            }
            if (e.hasElse) {
                text(" ELSE ");
                child(e.count - 1, t.type.type);
            }
            return text(" END)");
        }
        case ExprKind::Cast:
            text("CAST(");
            child(0, adVariant);
            return text(" AS " + e.text + ")");
        case ExprKind::Collate:
            text("(");
            child(0, adVariant);
            return text(" COLLATE " + QuoteName(e.text) + ")");
        case ExprKind::RowValue:
            text("(");
            for (uint32_t i = 0; i < e.count; ++i) {
                if (i) text(", ");
                child(i, adVariant);
            }
            return text(")");
        case ExprKind::Raw: return text(e.text);
    }
}

void SqlWriter::TextAsNumberPieces(ExprId operand, DataTypeEnum want, std::vector<Item>& out) {
    out.push_back({true, "BZ_NUM(", kNone, adVariant});
    out.push_back({false, {}, operand, want});
    out.push_back({true, ")", kNone, adVariant});
}

void SqlWriter::ComparedPieces(ExprId operand, DataTypeEnum compare, bool collate, std::vector<Item>& out) {
    if (compare == adDouble && IsTextType(typing_.exprs[operand].type.type))
        return TextAsNumberPieces(operand, adVariant, out);
    out.push_back({false, {}, operand, compare});
    if (collate && NeedsCollation(operand)) out.push_back({true, std::string(" COLLATE ") + kTextCollation, kNone, adVariant});
}

void SqlWriter::BinaryPieces(const Expr& e, ExprId id, std::vector<Item>& out) {
    const ExprTyping& t = typing_.exprs[id];
    auto text = [&](std::string s) { out.push_back({true, std::move(s), kNone, adVariant}); };
    auto child = [&](uint32_t i, DataTypeEnum want) { out.push_back({false, {}, tree_.Child(e, i), want}); };
    auto call = [&](const char* name, DataTypeEnum want) {
        text(std::string(name) + "(");
        child(0, want);
        text(", ");
        child(1, want);
        text(")");
    };
    const DataTypeEnum a = typing_.exprs[tree_.Child(e, 0)].type.type;
    const DataTypeEnum b = typing_.exprs[tree_.Child(e, 1)].type.type;
    switch (e.op) {
        case Op::And:
        case Op::Or:
            text("(");
            child(0, kWantTruth);
            text(e.op == Op::And ? " AND " : " OR ");
            child(1, kWantTruth);
            return text(")");
        case Op::Xor:
        case Op::Eqv:
        case Op::Imp:
            text(e.op == Op::Imp ? "((NOT (" : "((");
            child(0, kWantTruth);
            text(e.op == Op::Imp ? " <> 0)) OR (" : " <> 0) ");
            if (e.op != Op::Imp) text(e.op == Op::Xor ? "<> (" : "= (");
            child(1, kWantTruth);
            return text(" <> 0))");
        case Op::Concat: {
            // Access joins texts with &, a Null operand counting as empty.
            text("(");
            for (uint32_t i = 0; i < 2; ++i) {
                const ExprId operand = tree_.Child(e, i);
                const Expr& o = tree_.At(operand);
                const bool neverNull = (o.kind == ExprKind::Literal && o.literal != LiteralKind::Null) ||
                                       (o.kind == ExprKind::Binary && o.op == Op::Concat);
                if (i) text(" || ");
                if (!neverNull) text("IFNULL(");
                child(i, adVarWChar);
                if (!neverNull) text(", '')");
            }
            return text(")");
        }
        default: break;
    }
    if (const char* cmp = ComparisonText(e.op)) {
        const bool collate = IsTextType(t.compare) || (t.compare == adVariant && IsTextType(a) && IsTextType(b));
        const bool needs = collate && NeedsCollation(tree_.Child(e, 0)) && NeedsCollation(tree_.Child(e, 1));
        text("(");
        ComparedPieces(tree_.Child(e, 0), t.compare, false, out);
        if (needs) text(std::string(" COLLATE ") + kTextCollation);
        text(cmp);
        ComparedPieces(tree_.Child(e, 1), t.compare, false, out);
        return text(")");
    }
    if (const char* pattern = PatternText(e.op)) {
        text("(");
        child(0, adVarWChar);
        text(e.negated ? " NOT " : " ");
        text(pattern);
        if (e.op == Op::Alike) text("BZ_ANSI_PATTERN(");
        child(1, adVarWChar);
        if (e.op == Op::Alike) text(")");
        if (e.hasEscape) {
            text(" ESCAPE ");
            child(2, adVarWChar);
        }
        return text(")");
    }
    const DataTypeEnum result = t.type.type;
    if (IsTextType(result) && e.op == Op::Add) {
        text("(");
        child(0, adVarWChar);
        text(" || ");
        child(1, adVarWChar);
        return text(")");
    }
    if (IsDecimalType(result)) {
        const char* f = e.op == Op::Add ? "BZ_DEC_ADD" : e.op == Op::Sub ? "BZ_DEC_SUB" : e.op == Op::Mul ? "BZ_DEC_MUL"
                                                                                                         : "BZ_DEC_DIV";
        return call(f, adNumeric);
    }
    if (result == adCurrency && e.op == Op::Mul) {
        if (a == adCurrency && b == adCurrency) return call("BZ_CURMUL", adCurrency);
        text("(");
        child(0, a == adCurrency ? adCurrency : adVariant);
        text(" * ");
        child(1, b == adCurrency ? adCurrency : adVariant);
        return text(")");
    }
    // Everything else computes on plain numbers (Currency as ten-thousandths adds as itself).
    const DataTypeEnum want = result == adCurrency ? adCurrency : adDouble;
    switch (e.op) {
        case Op::Div: return call("BZ_DIV", want);
        case Op::IntDiv: return call("BZ_INTDIV", want);
        case Op::Pow: return call("BZ_POW", want);
        case Op::Mod: return call("BZ_MOD", want);  // the engine's % gives Null for a zero divisor
        default: break;
    }
    // A text operand is the number written in it ("10" + 5 is 15); text that holds none is a
    // type mismatch, where the engine would read 0.
    auto operand = [&](uint32_t i, DataTypeEnum type) {
        if (!IsTextType(type)) return child(i, want);
        TextAsNumberPieces(tree_.Child(e, i), want, out);
    };
    text("(");
    operand(0, a);
    text(PlainOperatorText(e.op));
    operand(1, b);
    text(")");
}

void SqlWriter::CallPieces(const Expr& e, ExprId id, std::vector<Item>& out) {
    const ExprTyping& t = typing_.exprs[id];
    auto text = [&](std::string s) { out.push_back({true, std::move(s), kNone, adVariant}); };
    auto child = [&](uint32_t i, DataTypeEnum want) { out.push_back({false, {}, tree_.Child(e, i), want}); };
    const std::string upper = ToUpperAscii(e.text);
    const FunctionInfo* f = FindFunction(e.text);
    const DataTypeEnum first = e.count > 0 ? typing_.exprs[tree_.Child(e, 0)].type.type : adVariant;
    // An aggregate's argument; in a crosstab's column, only the rows of its pivot value.
    auto argument = [&](uint32_t i, DataTypeEnum want) {
        const bool filtered = f && f->aggregate && !pivotCondition_.empty();
        if (filtered) text("CASE WHEN " + pivotCondition_ + " THEN ");
        if (filtered && tree_.At(tree_.Child(e, i)).kind == ExprKind::Star) text("1");
        else child(i, want);
        if (filtered) text(" END");
    };
    auto rest = [&](uint32_t from) {
        for (uint32_t i = from; i < e.count; ++i) {
            text(", ");
            child(i, adDouble);
        }
    };
    if (f && f->name == "SWITCH") {
        // Switch(c1, v1, c2, v2...): the value of the first true condition, else Null.
        if (e.count == 0 || e.count % 2 != 0) ThrowRuntimeError(kInvalidProcedureCall);
        text("(CASE");
        for (uint32_t i = 0; i + 1 < e.count; i += 2) {
            text(" WHEN ");
            child(i, kWantTruth);
            text(" THEN ");
            child(i + 1, t.type.type);
        }
        return text(" END)");
    }
    if (f && f->name == "CHOOSE") {
        // Choose(i, a, b...): the i-th value (i rounded as CLng does), Null out of range.
        if (e.count < 2) ThrowRuntimeError(kInvalidProcedureCall);
        text("(CASE CLNG(");
        child(0, adDouble);
        text(")");
        for (uint32_t i = 1; i < e.count; ++i) {
            text(" WHEN " + std::to_string(i) + " THEN ");
            child(i, t.type.type);
        }
        return text(" END)");
    }
    if (f && (f->name == "VARTYPE" || f->name == "TYPENAME") && e.count == 1) {
        // The value and the type the translator knows for it, which the stored value may not tell.
        text(std::string(f->name) + "(");
        child(0, adVariant);
        return text(", " + std::to_string(static_cast<int>(first)) + ")");
    }
    if (f && f->rule == ResultRule::ConvertTo) {  // CCur, CDec: the argument in that form
        if (e.count != 1) return text(upper + "()");  // the engine reports the wrong count
        return child(0, f->result);
    }
    if (f && first == adCurrency) {
        // The Currency forms: exact sums and averages, whole parts and rounding in Currency.
        if (f->name == "SUM") return text(e.distinct ? "SUM(DISTINCT " : "SUM("), argument(0, adCurrency), text(")");
        if (f->name == "AVG") return text("BZ_CURAVG("), argument(0, adCurrency), text(")");
        if (f->name == "ABS") return text("ABS("), child(0, adCurrency), text(")");
        if (f->name == "INT" || f->name == "FIX" || f->name == "ROUND") {
            text("BZ_CUR(" + std::string(f->name == "ROUND" ? "ROUND" : f->name) + "(");
            child(0, adDouble);
            rest(1);
            return text("))");
        }
    }
    if (f && IsDecimalType(first) && (f->name == "SUM" || f->name == "AVG")) {
        text(f->name == "SUM" ? "BZ_DEC_SUM(" : "BZ_DEC_AVG(");
        argument(0, adNumeric);
        return text(")");
    }
    // A crosstab's cell without rows is Null, Count's too (Nz(Count(x), 0) is how Access shows 0).
    const bool nullWithoutRows = f && f->name == "COUNT" && !pivotCondition_.empty();
    if (nullWithoutRows) text("(CASE WHEN COUNT(CASE WHEN " + pivotCondition_ + " THEN 1 END) = 0 THEN NULL ELSE ");
    std::string name = e.text;
    if (IsKeywordFunction(upper)) name = QuoteName(upper);
    if (!EngineName(upper).empty()) name = "BZ_" + std::string(EngineName(upper));
    text(name + (e.distinct ? "(DISTINCT " : "("));
    const bool collatedArgument = f && f->aggregate && (f->name == "MIN" || f->name == "MAX");
    for (uint32_t i = 0; i < e.count; ++i) {
        if (i) text(", ");
        if (!f) {
            child(i, adVariant);
            continue;
        }
        const ArgumentUse use = (i == 0 && f->firstDiffers) ? f->firstUse : f->use;
        if (i == 0 && ShowsSingle(*f, e.count) && first == adSingle) {
            argument(i, adVarWChar);  // the Single's own digits, not those of the double holding it
            continue;
        }
        switch (use) {
            case ArgumentUse::Plain: argument(i, adDouble); break;
            case ArgumentUse::Text: argument(i, adVarWChar); break;
            case ArgumentUse::Typed: argument(i, kWantTyped); break;
            case ArgumentUse::Same: argument(i, t.type.type); break;
            case ArgumentUse::Kept: argument(i, adVariant); break;
        }
        if (collatedArgument && NeedsCollation(tree_.Child(e, i))) text(std::string(" COLLATE ") + kTextCollation);
    }
    text(nullWithoutRows ? ") END)" : ")");
}

}  // namespace ado::sqlite::detail
