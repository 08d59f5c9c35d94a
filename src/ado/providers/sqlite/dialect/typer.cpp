#include "ado/providers/sqlite/dialect/typer.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <tuple>

#include "ado/error_numbers.h"
#include "ado/providers/sqlite/dialect/declared_types.h"
#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/function_catalog.h"
#include "ado/providers/sqlite/dialect/parser_state.h"
#include "ado/providers/sqlite/dialect/sql_tokens.h"

namespace ado::sqlite::detail {

namespace {

ValueType FromDeclared(std::string_view declared) {
    const MappedType m = MapDeclaredType(declared);
    return ValueType{m.type, m.definedSize, m.precision, m.scale};
}

bool IsComparison(Op op) {
    switch (op) {
        case Op::Eq: case Op::Ne: case Op::Lt: case Op::Le: case Op::Gt: case Op::Ge: case Op::Is: case Op::IsNot:
            return true;
        default: return false;
    }
}

bool IsLogical(Op op) { return op == Op::And || op == Op::Or || op == Op::Xor || op == Op::Eqv || op == Op::Imp; }
bool IsPattern(Op op) {
    return op == Op::Like || op == Op::Alike || op == Op::Glob || op == Op::Regexp || op == Op::Match;
}

// The last part of a qualifier ("db.t" -> "t").
std::string_view LastPart(std::string_view q) {
    const size_t dot = q.rfind('.');
    return dot == std::string_view::npos ? q : q.substr(dot + 1);
}

bool IsRowIdName(std::string_view n) {
    return EqualsNoCase(n, "rowid") || EqualsNoCase(n, "oid") || EqualsNoCase(n, "_rowid_");
}

class Typer {
public:
    Typer(const Tree& tree, SchemaSource& schema) : tree_(tree), schema_(schema) {
        out_.exprs.resize(tree.exprs.size());
        out_.itemNames.resize(tree.exprs.size());
        out_.outputs.resize(tree.selects.size());
        out_.namesQualified.resize(tree.selects.size());
        out_.relations.resize(tree.selects.size());
        state_.assign(tree.selects.size(), 0);
    }

    Typing Run() {
        const Statement& st = tree_.statement;
        switch (st.kind) {
            case StatementKind::Select:
                TypeSelect(st.select);
                TypeRoot(st.transformValue, st.select);
                TypeRoot(st.pivot, st.select);
                for (ExprId v : st.pivotIn) TypeRoot(v, st.select);
                break;
            case StatementKind::Insert: TypeInsert(st); break;
            case StatementKind::Update: TypeUpdate(st); break;
            case StatementKind::Delete:
                out_.relations[st.scope] = RelationsOf(st.scope, st.from);
                TypeSourceConditions(st.scope, st.from);
                TypeRoot(st.where, st.scope);
                break;
            case StatementKind::CreateTable:
            case StatementKind::AlterTable:
                TypeDefinitions(st);
                // A column added in place needs no definition (and may go to a table of another file).
                if (st.kind == StatementKind::AlterTable &&
                    (st.alterAction != "ADD COLUMN" || (st.target.externalFile.empty() && st.target.database.empty())))
                    ReadStoredTable(st, "ALTER TABLE ... " + st.alterAction);
                break;
            case StatementKind::CreateIndex:
                if (st.options == "PRIMARY") ReadStoredTable(st, "CREATE INDEX ... WITH PRIMARY");
                break;
            case StatementKind::Drop: RequireNoRelationship(st); break;
            default: break;
        }
        return std::move(out_);
    }

private:
    // --- sources and selects ---

    const CommonTable* FindCommonTable(std::string_view name) const {
        for (const CommonTable& c : tree_.statement.with)
            if (EqualsNoCase(c.name, name)) return &c;
        for (const Select& s : tree_.selects)
            for (const CommonTable& c : s.with)
                if (EqualsNoCase(c.name, name)) return &c;
        return nullptr;
    }

    Relation TableRelation(const std::string& database, const std::string& file, const std::string& name,
                           const std::string& alias) {
        Relation r;
        r.name = alias.empty() ? name : alias;
        r.table = name;
        const CommonTable* cte = database.empty() && file.empty() ? FindCommonTable(name) : nullptr;
        if (cte && state_[cte->select] == 0) {
            TypeSelect(cte->select);
            r.columns = out_.outputs[cte->select];
            for (size_t i = 0; i < cte->columns.size() && i < r.columns.size(); ++i) r.columns[i].name = cte->columns[i];
            return r;
        }
        const TableShape* shape = schema_.Table(database, file, name);
        if (!shape) {
            r.known = false;
            return r;
        }
        r.baseTable = shape->rowid && !shape->view && database.empty() && file.empty();
        for (const SchemaColumn& c : shape->columns) r.columns.push_back({c.name, c.type, true, false});
        return r;
    }

    std::vector<Relation> RelationsOf(SelectId scope, SourceId id) {
        std::vector<Relation> out;
        if (id == kNone) return out;
        // Joins nest on the left: walk them with a stack.
        std::vector<SourceId> stack{id};
        while (!stack.empty()) {
            const Source& s = tree_.sources[stack.back()];
            stack.pop_back();
            switch (s.kind) {
                case Source::Kind::Table: out.push_back(TableRelation(s.database, s.externalFile, s.name, s.alias)); break;
                case Source::Kind::Derived: {
                    TypeSelect(s.select);
                    Relation r;
                    r.name = s.alias;
                    r.columns = out_.outputs[s.select];
                    out.push_back(std::move(r));
                    break;
                }
                case Source::Kind::Join:
                    stack.push_back(s.right);
                    stack.push_back(s.left);
                    break;
            }
        }
        (void)scope;
        return out;
    }

    // The ON conditions of a FROM tree, once its relations are known.
    void TypeSourceConditions(SelectId scope, SourceId id) {
        std::vector<SourceId> stack;
        if (id != kNone) stack.push_back(id);
        while (!stack.empty()) {
            const Source& s = tree_.sources[stack.back()];
            stack.pop_back();
            if (s.kind != Source::Kind::Join) continue;
            TypeRoot(s.on, scope);
            stack.push_back(s.left);
            stack.push_back(s.right);
        }
    }

    void TypeSelect(SelectId id) {
        if (state_[id] != 0) return;  // typed, or being typed (a CTE naming itself)
        state_[id] = 1;
        const Select& s = tree_.selects[id];
        out_.relations[id] = RelationsOf(id, s.from);
        TypeSourceConditions(id, s.from);
        std::vector<OutputColumn>& outputs = out_.outputs[id];
        if (s.inlineValues) {
            for (const auto& row : s.values)
                for (ExprId e : row) TypeRoot(e, id);
            if (!s.values.empty())
                for (size_t c = 0; c < s.values.front().size(); ++c)
                    outputs.push_back({"column" + std::to_string(c + 1), Type(s.values.front()[c]), false, false});
        }
        std::vector<std::string> sources(outputs.size());  // per output: the relation a plain, unaliased column comes from
        std::vector<std::pair<ExprId, size_t>> itemOutputs;  // each item but a star, and its output
        for (size_t k = 0; k < s.items.size(); ++k) {
            const SelectItem& item = s.items[k];
            const Expr& e = tree_.At(item.expr);
            if (e.kind == ExprKind::Star) {
                ExpandStar(id, e.qualifier, outputs, &sources);
                continue;
            }
            const auto outerItem = std::pair{itemSelect_, itemIndex_};  // a subquery's items are typed inside
            itemSelect_ = id;
            itemIndex_ = k;
            TypeRoot(item.expr, id);
            std::tie(itemSelect_, itemIndex_) = outerItem;
            OutputColumn c;
            c.type = Type(item.expr);
            c.column = out_.exprs[item.expr].column;
            c.name = !item.alias.empty() ? item.alias
                     : e.kind == ExprKind::Column ? e.text
                                                   : "Expr" + std::to_string(1000 + outputs.size());
            out_.itemNames[item.expr] = c.name;
            const ExprTyping& t = out_.exprs[item.expr];
            const bool plain = item.alias.empty() && e.kind == ExprKind::Column && t.scope == id && t.relation >= 0;
            sources.push_back(plain ? out_.relations[id][static_cast<size_t>(t.relation)].name : "");
            itemOutputs.emplace_back(item.expr, outputs.size());
            outputs.push_back(std::move(c));
        }
        QualifyRepeatedNames(id, sources, itemOutputs);
        TypeRoot(s.where, id);
        for (ExprId g : s.groupBy) TypeRoot(g, id);
        TypeRoot(s.having, id);
        for (const auto& [op, member] : s.compound) {
            TypeSelect(member);
            const auto& other = out_.outputs[member];
            for (size_t c = 0; c < outputs.size() && c < other.size(); ++c) {
                outputs[c].type.type = CommonType(outputs[c].type.type, other[c].type.type);
                outputs[c].column = false;
            }
        }
        for (const OrderTerm& o : s.orderBy) TypeRoot(o.expr, id);
        TypeRoot(s.limit, id);
        TypeRoot(s.offset, id);
        state_[id] = 2;
    }

    void ExpandStar(SelectId id, const std::string& qualifier, std::vector<OutputColumn>& outputs,
                    std::vector<std::string>* sources = nullptr) {
        for (const Relation& r : out_.relations[id]) {
            if (!qualifier.empty() && !EqualsNoCase(r.name, LastPart(qualifier))) continue;
            if (!r.known) {
                outputs.push_back({"", {}, false, true});
                if (sources) sources->emplace_back();
                continue;
            }
            outputs.insert(outputs.end(), r.columns.begin(), r.columns.end());
            if (sources) sources->insert(sources->end(), r.columns.size(), r.name);
        }
    }

    // Two result columns of one name, as a join of tables with columns of the same name
    // gives: Access names each plain column among them after its table, "A.Id" and "B.Id".
    // Columns named by an alias keep it; nothing is renamed when a source is not known.
    void QualifyRepeatedNames(SelectId id, const std::vector<std::string>& sources,
                              const std::vector<std::pair<ExprId, size_t>>& itemOutputs) {
        const Select& s = tree_.selects[id];
        std::vector<OutputColumn>& outputs = out_.outputs[id];
        if (s.inlineValues) return;
        for (const OutputColumn& c : outputs)
            if (c.unknown) return;
        // The writer spells stars out by their qualifier as written (t.*, not db.t.*).
        for (const SelectItem& item : s.items)
            if (const Expr& e = tree_.At(item.expr); e.kind == ExprKind::Star && LastPart(e.qualifier) != e.qualifier)
                return;
        std::vector<size_t> renamed;
        for (size_t k = 0; k < outputs.size(); ++k) {
            if (sources[k].empty()) continue;
            for (size_t j = 0; j < outputs.size(); ++j)
                if (j != k && EqualsNoCase(outputs[j].name, outputs[k].name)) {
                    renamed.push_back(k);
                    break;
                }
        }
        for (size_t k : renamed) outputs[k].name = sources[k] + "." + outputs[k].name;
        if (renamed.empty()) return;
        out_.namesQualified[id] = 1;
        for (const auto& [expr, at] : itemOutputs) out_.itemNames[expr] = outputs[at].name;
    }

    // --- names ---

    // Where a name leads: a column of a FROM source of its SELECT or of one around it, an
    // earlier item of its select list named by its alias (Access reuses aliases there), or a
    // result column's alias (ORDER BY, and the engine's WHERE and GROUP BY).
    const OutputColumn* Resolve(const Expr& e, ExprTyping* t = nullptr) {
        for (SelectId s = e.scope; s != kNone; s = tree_.selects[s].outer) {
            const auto& relations = out_.relations[s];
            for (size_t r = 0; r < relations.size(); ++r) {
                if (!e.qualifier.empty() && !EqualsNoCase(relations[r].name, LastPart(e.qualifier))) continue;
                for (const OutputColumn& c : relations[r].columns) {
                    if (!EqualsNoCase(c.name, e.text)) continue;
                    if (t) {
                        t->scope = s;
                        t->relation = static_cast<int>(r);
                    }
                    return &c;
                }
            }
            if (!e.qualifier.empty() || s != e.scope) continue;
            if (s == itemSelect_) {
                const auto& items = tree_.selects[s].items;
                for (size_t k = 0; k < itemIndex_; ++k) {
                    if (!EqualsNoCase(items[k].alias, e.text)) continue;
                    if (t) t->aliasOf = items[k].expr;
                    itemAlias_ = {e.text, Type(items[k].expr), false, false};
                    return &itemAlias_;
                }
            }
            if (state_[s] != 0)
                for (const OutputColumn& c : out_.outputs[s])
                    if (EqualsNoCase(c.name, e.text)) return &c;
        }
        return nullptr;
    }

    ValueType DeclaredParameterType(const Expr& e) const {
        const std::string full = e.qualifier.empty() ? e.text : e.qualifier + "." + e.text;
        for (const auto& d : tree_.parameters)
            if (EqualsNoCase(BareParameterName(d), full)) return FromDeclared(d.type);
        return {};
    }

    // --- expressions ---

    ValueType Type(ExprId id) const { return out_.exprs[id].type; }
    DataTypeEnum Kind(ExprId id) const { return out_.exprs[id].type.type; }

    // A parameter whose type is not known takes the type of what it meets.
    void Infer(ExprId id, ValueType type) {
        if (tree_.At(id).kind == ExprKind::Parameter && Kind(id) == adVariant && type.type != adEmpty)
            out_.exprs[id].type = type;
    }

    // A number written with at most four decimals compares exactly as Currency.
    bool IsCurrencyLiteral(ExprId id) const {
        const Expr& e = tree_.At(id);
        if (e.kind != ExprKind::Literal || e.literal != LiteralKind::Number) return false;
        if (e.text.find_first_of("eExX") != std::string::npos) return false;
        const size_t point = e.text.find('.');
        return point == std::string::npos || e.text.size() - point - 1 <= 4;
    }

    DataTypeEnum Compared(ExprId a, ExprId b) {
        if (Kind(a) == adVariant) Infer(a, Type(b));
        if (Kind(b) == adVariant) Infer(b, Type(a));
        if ((Kind(a) == adCurrency && IsCurrencyLiteral(b)) || (Kind(b) == adCurrency && IsCurrencyLiteral(a)))
            return adCurrency;
        // A whole or real number and a text that no column holds compare as numbers, as VBA
        // compares them (a text that holds none is a type mismatch); a column's affinity
        // already converts the other side.
        auto plainNumber = [&](ExprId id) {
            const DataTypeEnum k = Kind(id);
            return (IsIntegerType(k) && k != adBoolean) || k == adSingle || k == adDouble;
        };
        const bool mixed = (plainNumber(a) && IsTextType(Kind(b))) || (plainNumber(b) && IsTextType(Kind(a)));
        if (mixed && !out_.exprs[a].column && !out_.exprs[b].column) return adDouble;
        return ComparisonType(Kind(a), Kind(b));
    }

    void TypeRoot(ExprId root, SelectId scope) {
        if (root == kNone) return;
        (void)scope;
        // Post-order with an explicit stack: children before their parent.
        std::vector<std::pair<ExprId, bool>> stack{{root, false}};
        while (!stack.empty()) {
            auto [id, visited] = stack.back();
            stack.pop_back();
            if (visited) {
                TypeNode(id);
                continue;
            }
            stack.emplace_back(id, true);
            const Expr& e = tree_.At(id);
            for (uint32_t i = e.count; i-- > 0;) stack.emplace_back(tree_.Child(e, i), false);
        }
    }

    void TypeNode(ExprId id) {
        const Expr& e = tree_.At(id);
        ExprTyping& t = out_.exprs[id];
        auto child = [&](uint32_t i) { return tree_.Child(e, i); };
        switch (e.kind) {
            case ExprKind::Literal: t.type = LiteralType(e); break;
            case ExprKind::Column: {
                if (e.qualifier.empty() && IsRowIdName(e.text)) {
                    t.type = Typed(adBigInt);
                    break;
                }
                if (const OutputColumn* c = Resolve(e, &t)) {
                    t.type = c->type;
                    t.column = c->column;
                }
                break;
            }
            case ExprKind::Parameter: t.type = DeclaredParameterType(e); break;
            case ExprKind::Star: break;
            case ExprKind::Unary: {
                const DataTypeEnum a = Kind(child(0));
                if (e.op == Op::Not) t.type = Typed(a == adBoolean || a == adVariant ? adBoolean : adInteger);
                else if (e.op == Op::BitNot) t.type = Typed(adBigInt);
                else t.type = Typed(a == adBoolean ? adSmallInt : IsTextType(a) ? adDouble : a);
                break;
            }
            case ExprKind::Binary: TypeBinary(e, t); break;
            case ExprKind::Between:
                t.type = Typed(adBoolean);
                t.compare = Compared(child(0), child(1));
                t.compare = ComparisonType(t.compare, Compared(child(0), child(2)));
                break;
            case ExprKind::InList: {
                t.type = Typed(adBoolean);
                DataTypeEnum c = adVariant;
                for (uint32_t i = 1; i < e.count; ++i) {
                    const DataTypeEnum k = Compared(child(0), child(i));
                    c = i == 1 ? k : (c == k ? c : ComparisonType(c, k));
                }
                t.compare = c;
                break;
            }
            case ExprKind::InSelect:
            case ExprKind::Quantified: {  // a value compared with a subquery's values
                TypeSelect(e.select);
                t.type = Typed(adBoolean);
                const auto& inner = out_.outputs[e.select];
                if (!inner.empty()) {
                    Infer(child(0), inner.front().type);
                    t.compare = ComparisonType(Kind(child(0)), inner.front().type.type);
                }
                break;
            }
            case ExprKind::IsNull: t.type = Typed(adBoolean); break;
            case ExprKind::Exists:
                TypeSelect(e.select);
                t.type = Typed(adBoolean);
                break;
            case ExprKind::Subquery:
                TypeSelect(e.select);
                if (!out_.outputs[e.select].empty()) t.type = out_.outputs[e.select].front().type;
                break;
            case ExprKind::Call: TypeCall(e, t); break;
            case ExprKind::Case: TypeCase(e, t); break;
            case ExprKind::Cast: t.type = FromDeclared(e.text); break;
            case ExprKind::Collate: t.type = Type(child(0)); break;
            case ExprKind::RowValue:
            case ExprKind::Raw: break;
        }
    }

    static ValueType LiteralType(const Expr& e) {
        switch (e.literal) {
            case LiteralKind::String: return Typed(adVarWChar);
            case LiteralKind::Date: return Typed(adDate);
            case LiteralKind::Null: return Typed(adEmpty);
            case LiteralKind::Boolean: return Typed(adBoolean);
            case LiteralKind::Blob: return Typed(adLongVarBinary);
            case LiteralKind::Number: break;
        }
        if (e.text.find_first_of(".eE") != std::string::npos) return Typed(adDouble);
        if (e.text.size() > 1 && (e.text[1] == 'x' || e.text[1] == 'X')) return Typed(adBigInt);
        int64_t v = 0;
        const auto [end, ec] = std::from_chars(e.text.data(), e.text.data() + e.text.size(), v);
        if (ec != std::errc()) return Typed(adDouble);
        return Typed(v <= std::numeric_limits<int32_t>::max() ? adInteger : adBigInt);
    }

    void TypeBinary(const Expr& e, ExprTyping& t) {
        const ExprId a = tree_.Child(e, 0), b = tree_.Child(e, 1);
        if (IsLogical(e.op)) {
            t.type = Typed(adBoolean);
            return;
        }
        if (IsComparison(e.op)) {
            t.type = Typed(adBoolean);
            t.compare = Compared(a, b);
            return;
        }
        if (IsPattern(e.op)) {
            t.type = Typed(adBoolean);
            Infer(a, Typed(adVarWChar));
            Infer(b, Typed(adVarWChar));
            t.compare = adVarWChar;
            return;
        }
        if (e.op == Op::Concat) {
            Infer(a, Typed(adVarWChar));
            Infer(b, Typed(adVarWChar));
        } else if (Kind(a) == adVariant && Kind(b) != adVariant) {
            Infer(a, Type(b));
        } else if (Kind(b) == adVariant && Kind(a) != adVariant) {
            Infer(b, Type(a));
        }
        t.type = Typed(ArithmeticType(e.op, Kind(a), Kind(b)));
        if (IsDecimalType(t.type.type)) t.type.precision = 28;
    }

    void TypeCall(const Expr& e, ExprTyping& t) {
        const FunctionInfo* f = FindFunction(e.text);
        if (!f) return;
        auto arg = [&](uint32_t i) { return tree_.Child(e, i); };
        switch (f->rule) {
            case ResultRule::Fixed: t.type = Typed(f->result); break;
            case ResultRule::ConvertTo: t.type = Typed(f->result); break;
            case ResultRule::FirstArgument:
                if (e.count > 0) t.type = Type(arg(0));
                if (t.type.type == adEmpty) t.type = {};
                if (!f->aggregate && (IsTextType(t.type.type) || IsDecimalType(t.type.type))) t.type = Typed(adDouble);
                if (!f->aggregate && t.type.type == adBoolean) t.type = Typed(adSmallInt);
                break;
            case ResultRule::CommonOfRest:
            case ResultRule::CommonOfAll: {
                const uint32_t from = f->rule == ResultRule::CommonOfRest ? 1 : 0;
                DataTypeEnum c = adEmpty;
                for (uint32_t i = from; i < e.count; ++i) c = CommonType(c, Kind(arg(i)));
                t.type = c == adEmpty ? ValueType{} : Typed(c);
                if (e.count == 1 && f->rule == ResultRule::CommonOfAll) t.type = Type(arg(0));
                break;
            }
            case ResultRule::Alternate: {
                DataTypeEnum c = adEmpty;
                for (uint32_t i = 1; i < e.count; i += 2) c = CommonType(c, Kind(arg(i)));
                t.type = c == adEmpty ? ValueType{} : Typed(c);
                break;
            }
            case ResultRule::Sum:
            case ResultRule::Average: {
                const DataTypeEnum a = e.count > 0 ? Kind(arg(0)) : adVariant;
                t.type = Typed(a == adCurrency ? adCurrency : IsDecimalType(a) ? adNumeric : adDouble);
                break;
            }
        }
        for (uint32_t i = 0; i < e.count; ++i) {
            const ArgumentUse use = (i == 0 && f->firstDiffers) ? f->firstUse : f->use;
            if (use == ArgumentUse::Text) Infer(arg(i), Typed(adVarWChar));
            else if (use == ArgumentUse::Same && (f->rule != ResultRule::Alternate || i % 2 == 1)) Infer(arg(i), t.type);
        }
    }

    void TypeCase(const Expr& e, ExprTyping& t) {
        uint32_t i = 0;
        const ExprId base = e.hasBase ? tree_.Child(e, i++) : kNone;
        const uint32_t end = e.count - (e.hasElse ? 1 : 0);
        DataTypeEnum result = adEmpty, compare = adVariant;
        bool first = true;
        for (; i + 1 < end; i += 2) {
            if (base != kNone) {
                const DataTypeEnum k = Compared(base, tree_.Child(e, i));
                compare = first ? k : (compare == k ? compare : ComparisonType(compare, k));
                first = false;
            }
            result = CommonType(result, Kind(tree_.Child(e, i + 1)));
        }
        if (e.hasElse) result = CommonType(result, Kind(tree_.Child(e, e.count - 1)));
        t.type = result == adEmpty ? ValueType{} : Typed(result);
        t.compare = compare;
    }

    // --- statements ---

    const std::vector<OutputColumn>* TargetColumns(const Statement& st) {
        if (out_.relations[st.scope].empty()) out_.relations[st.scope] = RelationsOf(st.scope, st.from);
        const auto& rels = out_.relations[st.scope];
        return rels.empty() || !rels.front().known ? nullptr : &rels.front().columns;
    }

    static ValueType ColumnType(const std::vector<OutputColumn>* columns, std::string_view name) {
        if (!columns) return {};
        for (const OutputColumn& c : *columns)
            if (EqualsNoCase(c.name, LastPart(name))) return c.type;
        return {};
    }

    void TypeInsert(const Statement& st) {
        const std::vector<OutputColumn>* columns = TargetColumns(st);
        std::vector<ValueType> targets;
        if (!st.columns.empty()) {
            for (const std::string& c : st.columns) targets.push_back(ColumnType(columns, c));
        } else if (columns) {
            for (const OutputColumn& c : *columns) targets.push_back(c.type);
        }
        if (st.select != kNone) {
            TypeSelect(st.select);
            // Parameters of the values take their column's type.
            const Select& sel = tree_.selects[st.select];
            for (const auto& row : sel.values)
                for (size_t c = 0; c < row.size() && c < targets.size(); ++c) Infer(row[c], targets[c]);
            for (size_t c = 0; c < sel.items.size() && c < targets.size(); ++c) Infer(sel.items[c].expr, targets[c]);
        }
        out_.targets = std::move(targets);
    }

    void TypeUpdate(const Statement& st) {
        out_.relations[st.scope] = RelationsOf(st.scope, st.from);
        TypeSourceConditions(st.scope, st.from);
        for (const auto& [column, value] : st.assignments) {
            Expr target;
            target.kind = ExprKind::Column;
            const size_t dot = column.rfind('.');
            target.text = dot == std::string::npos ? column : column.substr(dot + 1);
            target.qualifier = dot == std::string::npos ? "" : column.substr(0, dot);
            target.scope = st.scope;
            const OutputColumn* c = Resolve(target);
            const ValueType type = c ? c->type : ValueType{};
            TypeRoot(value, st.scope);
            Infer(value, type);
            out_.targets.push_back(type);
        }
        TypeRoot(st.where, st.scope);
    }

    void TypeDefinitions(const Statement& st) {
        Relation self;
        self.name = st.target.name;
        if (st.kind == StatementKind::AlterTable) {
            if (const auto* existing = schema_.Table(st.target.database, st.target.externalFile, st.target.name))
                for (const SchemaColumn& c : existing->columns) self.columns.push_back({c.name, c.type, true, false});
        }
        for (const ColumnDefinition& d : st.definitions) {
            const ValueType type = FromDeclared(d.typeName);
            out_.definitions.push_back(type);
            self.columns.push_back({d.name, type, true, false});
        }
        if (st.select != kNone) TypeSelect(st.select);
        out_.relations[st.scope].push_back(std::move(self));
        for (size_t i = 0; i < st.definitions.size(); ++i)
            for (const auto& c : st.definitions[i].constraints) {
                TypeRoot(c.expr, st.scope);
                if (c.kind == ColumnDefinition::Constraint::Kind::Default && c.expr != kNone)
                    Infer(c.expr, out_.definitions[i]);
            }
        for (const TableConstraint& tc : st.tableConstraints) TypeRoot(tc.check, st.scope);
        for (const ColumnDefinition& d : st.definitions)
            for (const auto& c : d.constraints) RequireReferencedTable(st, c.referencedTable);
        for (const TableConstraint& tc : st.tableConstraints) RequireReferencedTable(st, tc.referencedTable);
    }

    // A relationship needs the table it points to, as in Access: the engine would take the
    // definition and then refuse every row written to it.
    void RequireReferencedTable(const Statement& st, const std::string& table) {
        if (table.empty() || !schema_.Known() || EqualsNoCase(table, st.target.name)) return;
        if (!schema_.Table(st.target.database, st.target.externalFile, table))
            Raise(Condition::TableNotFound, "'" + table + "'");
    }

    // A change that makes the table again starts from the file's own definition of it.
    void ReadStoredTable(const Statement& st, const std::string& what) {
        if (!schema_.Known()) return;
        if (!st.target.externalFile.empty()) ThrowNotSupported(what + " en otro archivo.");
        out_.stored = schema_.Stored(st.target.database, st.target.name);
        if (!out_.stored) Raise(Condition::TableNotFound, "'" + st.target.name + "'");
        out_.referrers = schema_.Referrers(st.target.database, out_.stored->name, {});
        if (!out_.stored->keyColumns.empty())
            out_.keyReferrers = schema_.Referrers(st.target.database, out_.stored->name, out_.stored->keyColumns);
        if (st.alterAction == "DROP CONSTRAINT") {
            // A unique index the constraint names keeps a relationship as DROP INDEX does.
            Statement drop;
            drop.target = {st.target.database, st.indexName, {}, {}};
            drop.dropKind = "INDEX";
            RequireNoRelationship(drop);
        }
    }

    // A table or unique index that a relationship stands on is not dropped, as in Access: the
    // engine would drop it and then refuse every row written to the other table.
    void RequireNoRelationship(const Statement& st) {
        if (!schema_.Known() || !st.target.externalFile.empty()) return;
        std::string table = st.target.name;
        std::vector<std::string> keyColumns;
        if (st.dropKind == "INDEX") {
            auto index = schema_.FindUniqueIndex(st.target.database, st.target.name);
            if (!index) return;
            table = std::move(index->table);
            keyColumns = std::move(index->columns);
        }
        const std::vector<std::string> referrers = schema_.Referrers(st.target.database, table, keyColumns);
        if (!referrers.empty())
            Raise(Condition::InRelationship, "'" + st.target.name + "' ('" + referrers.front() + "')");
    }

    const Tree& tree_;
    SchemaSource& schema_;
    Typing out_;
    std::vector<uint8_t> state_;  // per select: 0 untyped, 1 being typed, 2 typed
    SelectId itemSelect_ = kNone;  // the select whose item `itemIndex_` is being typed
    size_t itemIndex_ = 0;
    OutputColumn itemAlias_;       // what an earlier item's alias resolves to
};

}  // namespace

Typing TypeStatement(const Tree& tree, SchemaSource& schema) { return Typer(tree, schema).Run(); }

}  // namespace ado::sqlite::detail
