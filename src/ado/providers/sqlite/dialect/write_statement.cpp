// Queries and changes: SELECT (TOP, compounds, attachments), INSERT, UPDATE, DELETE,
// and the numbering of parameters.
#include <algorithm>
#include <charconv>
#include <cstdint>

#include <fmt/format.h>

#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/function_catalog.h"
#include "ado/providers/sqlite/dialect/sql_tokens.h"
#include "ado/providers/sqlite/dialect/sql_writer.h"
#include "ado/providers/sqlite/dialect/value_conversions.h"

namespace ado::sqlite::detail {

std::string AttachmentAlias(std::string_view path) {
    uint32_t h = 2166136261u;  // FNV-1a: every statement names one file alike
    for (char c : path) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return fmt::format("ext_{:08x}", h);
}

namespace {

// A named parameter's name as the command may name it: no brackets, no ':' '@' '$'.
std::string ParameterName(const Expr& e) {
    if (e.kind == ExprKind::Column || (e.text.size() > 0 && e.text[0] != '?' && e.text[0] != ':' && e.text[0] != '@' &&
                                       e.text[0] != '$'))
        return e.qualifier.empty() ? e.text : e.qualifier + "." + e.text;
    if (e.text[0] == '?') return {};
    return e.text.substr(1);
}

const char* CompoundText(CompoundOp op) {
    switch (op) {
        case CompoundOp::Union: return " UNION ";
        case CompoundOp::UnionAll: return " UNION ALL ";
        case CompoundOp::Intersect: return " INTERSECT ";
        case CompoundOp::Except: return " EXCEPT ";
    }
    return " UNION ";
}

}  // namespace

SqlWriter::SqlWriter(const Tree& tree, const Typing& typing, Translation& out)
    : tree_(tree), typing_(typing), out_(out), parameterNumbers_(tree.exprs.size(), 0) {
    // Named parameters first, in order of first appearance; then the plain ? markers.
    std::vector<ExprId> plain;
    for (ExprId id = 0; id < tree.exprs.size(); ++id) {
        const Expr& e = tree.exprs[id];
        if (e.kind != ExprKind::Parameter) continue;
        const std::string name = ParameterName(e);
        if (name.empty()) {
            plain.push_back(id);
            continue;
        }
        auto& names = out.placeholders;
        auto found = std::find_if(names.begin(), names.end(), [&](const std::string& n) { return EqualsNoCase(n, name); });
        if (found == names.end()) {
            names.push_back(name);
            out.parameterTypes.push_back(typing.exprs[id].type.type);
            found = names.end() - 1;
        }
        parameterNumbers_[id] = static_cast<int>(found - names.begin()) + 1;
    }
    std::sort(plain.begin(), plain.end(), [&](ExprId a, ExprId b) { return tree.exprs[a].offset < tree.exprs[b].offset; });
    for (ExprId id : plain) {
        out.parameterTypes.push_back(typing.exprs[id].type.type);
        parameterNumbers_[id] = static_cast<int>(out.parameterTypes.size());
    }
}

std::string SqlWriter::Statement() {
    const auto& st = tree_.statement;
    out_.parameters = tree_.parameters;
    switch (st.kind) {
        case StatementKind::Select: {
            out_.returnsRows = true;
            if (st.selectInto) {
                out_.returnsRows = false;
                out_.schemaChange = true;
                return SelectIntoText();
            }
            for (const OutputColumn& c : typing_.outputs[st.select]) {
                if (c.unknown) break;
                const ValueType shape = ResultShapeOf(c.type);
                out_.columns.push_back({shape.type, shape.size, shape.precision, shape.scale});
            }
            if (carryRowIdentity_) identityItems_ = RowIdentityItems();
            return SelectText(st.select);
        }
        case StatementKind::Insert: return InsertText();
        case StatementKind::Update: return UpdateText();
        case StatementKind::Delete: return DeleteText();
        case StatementKind::CreateTable: out_.schemaChange = true; return CreateTableText();
        case StatementKind::AlterTable: out_.schemaChange = true; return AlterTableText();
        case StatementKind::CreateIndex: out_.schemaChange = true; return CreateIndexText();
        case StatementKind::Drop:
            out_.schemaChange = true;
            if (st.dropKind == "INDEX") DropNullRule(st.target.database, st.target.name);
            return "DROP " + st.dropKind + (st.ifNotExists ? " IF EXISTS " : " ") +
                   (st.target.database.empty() ? "" : QuoteName(st.target.database) + ".") + QuoteName(st.target.name);
        case StatementKind::Passthrough: break;  // written from its tokens by the translator
    }
    return {};
}

std::string SqlWriter::WithText(const std::vector<CommonTable>& with) {
    if (with.empty()) return {};
    std::string out = "WITH ";
    for (size_t i = 0; i < with.size(); ++i) {
        if (i) out += ", ";
        out += QuoteName(with[i].name);
        if (!with[i].columns.empty()) {
            out += " (";
            for (size_t c = 0; c < with[i].columns.size(); ++c) out += (c ? ", " : "") + QuoteName(with[i].columns[c]);
            out += ")";
        }
        out += " AS (" + SelectText(with[i].select) + ")";
    }
    return out + " ";
}

std::string SqlWriter::SelectText(SelectId id, const std::vector<ItemForm>* forms) {
    const Select& s = tree_.selects[id];
    // Members of a compound hand their columns over in the compound's common types.
    std::vector<ItemForm> common;
    if (!s.compound.empty() && !forms) {
        for (const OutputColumn& c : typing_.outputs[id]) common.push_back({c.type, false});
        forms = &common;
    }
    const bool compound = !s.compound.empty();
    if (!compound && s.limit == kNone && s.topPresent && !s.topPercent && !s.orderBy.empty()) {
        std::string withTies = TopWithTies(id, forms);  // with the query's common tables
        if (!withTies.empty()) return withTies;
    }
    std::string out = WithText(s.with);
    out += CoreText(id, compound, forms, id == tree_.statement.select ? identityItems_ : std::string());
    for (const auto& [op, member] : s.compound) {
        out += CompoundText(op);
        out += CoreText(member, true, forms);
    }
    if (!s.orderBy.empty()) {
        out += " ORDER BY ";
        for (size_t i = 0; i < s.orderBy.size(); ++i) {
            if (i) out += ", ";
            const Expr& term = tree_.At(s.orderBy[i].expr);
            // A column's number stays a number.
            out += term.kind == ExprKind::Literal && term.literal == LiteralKind::Number ? term.text
                                                                                         : Collated(s.orderBy[i].expr);
            if (s.orderBy[i].descending) out += " DESC";
        }
    }
    if (s.limit != kNone) {
        out += " LIMIT " + Expression(s.limit);
        if (s.offset != kNone) out += " OFFSET " + Expression(s.offset);
    } else if (s.topPresent && !compound) {
        out += " LIMIT " + TopLimit(id, CoreText(id, false, forms));
    }
    return out;
}

// TOP n is n rows; TOP n PERCENT the rows' count times n / 100, rounded up.
std::string SqlWriter::TopLimit(SelectId id, const std::string& rows) const {
    const Select& s = tree_.selects[id];
    if (!s.topPercent) return s.topCount;
    return "(SELECT CAST(c AS INTEGER) + (c > CAST(c AS INTEGER)) FROM (SELECT COUNT(*) * " + s.topCount +
           " / 100.0 AS c FROM (" + rows + ")))";
}

// TOP n with ORDER BY gives every row tied with the nth, as Access does: the rows whose order
// keys do not come after the nth row's (Null first), or all of them when there are fewer.
// The keys travel as extra columns of the query, which an outer SELECT leaves out. "" when
// the output's columns cannot be named (a * of an unknown table).
std::string SqlWriter::TopWithTies(SelectId id, const std::vector<ItemForm>* forms) {
    const Select& s = tree_.selects[id];
    std::string names;
    for (const SelectItem& item : s.items) {
        if (tree_.At(item.expr).kind == ExprKind::Star) return {};
        names += (names.empty() ? "" : ", ") + QuoteName(OutputName(item));
    }
    std::string keys, order;
    std::vector<std::string> keyNames;
    for (size_t i = 0; i < s.orderBy.size(); ++i) {
        keyNames.push_back("brezal_orden_" + std::to_string(i + 1));
        const std::string key = QuoteName(keyNames.back());
        keys += ", " + OrderKeyText(id, s.orderBy[i].expr) + " AS " + key;
        order += (i ? ", " : "") + key + (s.orderBy[i].descending ? " DESC" : "");
    }
    // The rows are written once, as a common table the conditions read: written into each
    // condition instead, nested TOP queries grew their text exponentially. The nth row's keys
    // are a common table too, so each key's condition reads them in text of its own size.
    const std::string table = QuoteName("brezal_filas_" + std::to_string(id));
    const std::string nth = QuoteName("brezal_enesima_" + std::to_string(id));
    const std::string rows = "(" + CoreText(id, false, forms, keys, keyNames) + ")";
    const std::string n = s.topCount;
    // row <= nth: before on the first key, or the same and so on down the keys; written in
    // one pass, its closing parentheses last.
    std::string condition;
    for (size_t i = 0; i < s.orderBy.size(); ++i) {
        const std::string k = "`brezal_orden_" + std::to_string(i + 1) + "`";
        const std::string v = "(SELECT " + k + " FROM " + nth + ")";
        const std::string before = s.orderBy[i].descending
                                       ? "((" + k + " IS NOT NULL AND " + v + " IS NULL) OR " + k + " > " + v + ")"
                                       : "((" + k + " IS NULL AND " + v + " IS NOT NULL) OR " + k + " < " + v + ")";
        const std::string same = "(" + k + " IS " + v + ")";
        condition += i + 1 < s.orderBy.size() ? "(" + before + " OR (" + same + " AND "
                                              : "(" + before + " OR " + same + ")";
    }
    condition.append(2 * (s.orderBy.size() - 1), ')');  // called with an ORDER BY only
    // The query's own common tables come first in the one WITH clause.
    std::string with = WithText(s.with);
    with = with.empty() ? "WITH " : with.substr(0, with.size() - 1) + ", ";
    return with + table + " AS " + rows + ", " + nth + " AS (SELECT * FROM " + table + " ORDER BY " + order +
           " LIMIT 1 OFFSET " + n + " - 1) SELECT " + names + " FROM " + table + " WHERE (SELECT COUNT(*) FROM " +
           table + ") <= " + n + " OR " + condition + " ORDER BY " + order;
}

// An ORDER BY term as an expression of the query: a column's number or an alias stands for its item.
std::string SqlWriter::OrderKeyText(SelectId id, ExprId term) {
    const Select& s = tree_.selects[id];
    const Expr& e = tree_.At(term);
    // A whole number is a column's position; any other number (.0, 1e3) is a constant.
    size_t position = 0;
    const char* end = e.text.data() + e.text.size();
    if (e.kind == ExprKind::Literal && e.literal == LiteralKind::Number &&
        std::from_chars(e.text.data(), end, position) == std::from_chars_result{end, std::errc{}} && position >= 1 &&
        position <= s.items.size())
        return Collated(s.items[position - 1].expr);
    if (e.kind == ExprKind::Column && e.qualifier.empty() && typing_.exprs[term].relation < 0)
        for (const SelectItem& item : s.items)
            if (EqualsNoCase(item.alias, e.text)) return Collated(item.expr);
    return Collated(term);
}

std::string SqlWriter::CoreText(SelectId id, bool inCompound, const std::vector<ItemForm>* forms,
                                const std::string& extraItems, const std::vector<std::string>& extraNames) {
    const Select& s = tree_.selects[id];
    auto itemText = [&](ExprId e, size_t position) {
        if (!forms || position >= forms->size()) return Expression(e);
        const ItemForm& f = (*forms)[position];
        return f.store ? Stored(e, f.type) : Expression(e, f.type.type);
    };
    std::string out;
    if (s.inlineValues) {
        out = "VALUES ";
        for (size_t r = 0; r < s.values.size(); ++r) {
            out += r ? ", (" : "(";
            for (size_t c = 0; c < s.values[r].size(); ++c) out += (c ? ", " : "") + itemText(s.values[r][c], c);
            out += ")";
        }
        return out;
    }
    // DISTINCTROW drops repeated source rows: nothing to do over one table, or when every
    // table's fields are output; otherwise it groups by the identity of the tables output.
    const std::string distinctRowGroups = s.distinctRow ? DistinctRowGroups(id) : "";
    const bool distinct = s.distinct || (s.distinctRow && distinctRowGroups == "DISTINCT");
    const bool wrapHaving = s.having != kNone && s.groupBy.empty();
    std::string items;
    size_t output = 0;  // the result column the item starts
    for (size_t i = 0; i < s.items.size(); ++i) {
        if (i) items += ", ";
        const SelectItem& item = s.items[i];
        const Expr& e = tree_.At(item.expr);
        if (e.kind == ExprKind::Star) {
            items += StarText(id, item.expr, output);
            continue;
        }
        ++output;
        items += itemText(item.expr, i);
        if (distinct && NeedsCollation(item.expr)) items += std::string(" COLLATE ") + kTextCollation;
        // A qualified column is named too: the engine names q.Col of a saved query or a derived
        // table "q", where Access names it "Col".
        if (!item.alias.empty()) items += " AS " + QuoteName(item.alias);
        else if (e.kind != ExprKind::Column || wrapHaving || !e.qualifier.empty() || OutputName(item) != e.text)
            items += " AS " + QuoteName(OutputName(item));
    }
    items += extraItems;
    if (wrapHaving) items += ", (" + Condition(s.having) + ") AS `brezal_having`";
    out = (distinct ? "SELECT DISTINCT " : "SELECT ") + items;
    if (s.from != kNone) out += " FROM " + SourceText(s.from);
    if (s.where != kNone) out += " WHERE " + Condition(s.where);
    if (!s.groupBy.empty()) {
        out += " GROUP BY ";
        for (size_t i = 0; i < s.groupBy.size(); ++i) out += (i ? ", " : "") + Collated(s.groupBy[i]);
    } else if (!distinctRowGroups.empty() && distinctRowGroups != "DISTINCT") {
        out += " GROUP BY " + distinctRowGroups;
    }
    if (s.having != kNone && !wrapHaving) out += " HAVING " + Condition(s.having);
    if (wrapHaving) {
        // HAVING without GROUP BY: the whole table is one group, which HAVING keeps or not.
        std::string names;
        for (const SelectItem& item : s.items) names += (names.empty() ? "" : ", ") + QuoteName(OutputName(item));
        for (const std::string& name : extraNames) names += ", " + QuoteName(name);
        out = "SELECT " + names + " FROM (" + out + ") WHERE `brezal_having`";
    }
    if (inCompound && s.topPresent) {
        // A member of a compound cannot carry LIMIT: it becomes a subquery.
        return "SELECT * FROM (" + out + " LIMIT " + TopLimit(id, out) + ")";
    }
    return out;
}

std::string SqlWriter::OutputName(const SelectItem& item) const {
    if (!item.alias.empty()) return item.alias;
    const Expr& e = tree_.At(item.expr);
    const std::string& typed = typing_.itemNames[item.expr];
    return e.kind == ExprKind::Column && typed.empty() ? e.text : typed;
}

namespace {

bool HasRightJoin(const Tree& tree, SourceId id) {
    std::vector<SourceId> stack;
    if (id != kNone) stack.push_back(id);
    while (!stack.empty()) {
        const Source& s = tree.sources[stack.back()];
        stack.pop_back();
        if (s.kind != Source::Kind::Join) continue;
        if (s.join == JoinKind::Right) return true;
        stack.push_back(s.left);
        stack.push_back(s.right);
    }
    return false;
}

}  // namespace

// A star as written, or column by column: under a RIGHT JOIN (written the other way round,
// it would change the order of the sources' columns), and where result columns took their
// tables' names. `output` is the result column the star starts, and moves past its columns.
std::string SqlWriter::StarText(SelectId id, ExprId star, size_t& output) {
    const Expr& e = tree_.At(star);
    const bool named = id < typing_.namesQualified.size() && typing_.namesQualified[id] != 0;
    if (!named && !HasRightJoin(tree_, tree_.selects[id].from)) return Expression(star);
    std::string out;
    bool unknown = false;
    for (const Relation& r : typing_.relations[id]) {
        if (!e.qualifier.empty() && !EqualsNoCase(r.name, e.qualifier)) continue;
        unknown |= !r.known;
        for (const OutputColumn& c : r.columns) {
            out += (out.empty() ? "" : ", ") + QuoteName(r.name) + "." + QuoteName(c.name);
            if (named && output < typing_.outputs[id].size())
                out += " AS " + QuoteName(typing_.outputs[id][output].name);
            ++output;
        }
    }
    return unknown || out.empty() ? Expression(star) : out;
}

// The GROUP BY that makes DISTINCTROW drop repeated rows of the tables output; "" when
// DISTINCTROW changes nothing, "DISTINCT" when the rows have no identity to group by.
std::string SqlWriter::DistinctRowGroups(SelectId id) const {
    const Select& s = tree_.selects[id];
    const auto& relations = typing_.relations[id];
    if (relations.size() <= 1 || !s.groupBy.empty()) return {};
    if (ItemsCallAggregate(id)) return {};
    std::vector<bool> output(relations.size(), false);
    std::vector<ExprId> stack;
    for (const SelectItem& item : s.items) {
        const Expr& e = tree_.At(item.expr);
        if (e.kind == ExprKind::Star) {
            for (size_t r = 0; r < relations.size(); ++r)
                output[r] = output[r] || e.qualifier.empty() || EqualsNoCase(relations[r].name, e.qualifier);
            continue;
        }
        stack.push_back(item.expr);
    }
    while (!stack.empty()) {
        const ExprId x = stack.back();
        stack.pop_back();
        const Expr& e = tree_.At(x);
        const ExprTyping& t = typing_.exprs[x];
        if (e.kind == ExprKind::Column && t.scope == id && t.relation >= 0) output[static_cast<size_t>(t.relation)] = true;
        for (uint32_t i = 0; i < e.count; ++i) stack.push_back(tree_.Child(e, i));
    }
    std::string groups;
    bool all = true;
    const std::vector<bool> reachable = RowIdsReachable(id);
    for (size_t r = 0; r < relations.size(); ++r) {
        all = all && output[r];
        if (!output[r]) continue;
        if (!reachable[r]) return "DISTINCT";
        groups += (groups.empty() ? "" : ", ") + QuoteName(relations[r].name) + ".rowid";
    }
    return all ? "" : groups;
}

bool SqlWriter::ItemsCallAggregate(SelectId id) const {
    std::vector<ExprId> stack;
    for (const SelectItem& item : tree_.selects[id].items) stack.push_back(item.expr);
    while (!stack.empty()) {
        const Expr& e = tree_.At(stack.back());
        stack.pop_back();
        if (e.kind == ExprKind::Call && FindFunction(e.text) && FindFunction(e.text)->aggregate) return true;
        for (uint32_t i = 0; i < e.count; ++i) stack.push_back(tree_.Child(e, i));
    }
    return false;
}

std::string SqlWriter::RowIdentityItems() {
    const Select& s = tree_.selects[tree_.statement.select];
    const bool rowsOfSources = !s.distinct && !s.distinctRow && !s.topPresent && s.compound.empty() &&
                               s.groupBy.empty() && s.having == kNone && s.with.empty() && !s.inlineValues &&
                               s.from != kNone && !ItemsCallAggregate(tree_.statement.select);
    if (!rowsOfSources) return {};
    std::string items;
    const auto& relations = typing_.relations[tree_.statement.select];
    const std::vector<bool> reachable = RowIdsReachable(tree_.statement.select);
    for (size_t k = 0; k < relations.size(); ++k) {
        const Relation& r = relations[k];
        if (!reachable[k]) continue;
        out_.rowIdentity.push_back({r.table, r.name});
        items += ", " + QuoteName(r.name) + "._rowid_ AS " +
                 QuoteName("brezal_rowid_" + std::to_string(out_.rowIdentity.size()));
    }
    return items;
}

std::string SqlWriter::TableText(const std::string& database, const std::string& file, const std::string& name) {
    if (!file.empty()) {
        const AttachedFile attached{AttachmentAlias(file), file};
        if (std::find(out_.attachments.begin(), out_.attachments.end(), attached) == out_.attachments.end())
            out_.attachments.push_back(attached);
        return QuoteName(attached.alias) + "." + QuoteName(name);
    }
    return (database.empty() ? "" : QuoteName(database) + ".") + QuoteName(name);
}

std::string SqlWriter::PrimarySourceText(const Source& s) {
    std::string out;
    if (s.kind == Source::Kind::Derived) out = "(" + SelectText(s.select) + ")";
    else out = TableText(s.database, s.externalFile, s.name);
    if (!s.alias.empty()) out += " AS " + QuoteName(s.alias);
    else if (&s == innerAlias_) out += " AS `brezal_fila`";
    return out;
}

std::string SqlWriter::InsertText() {
    const auto& st = tree_.statement;
    std::string out = WithText(st.with) + "INSERT " + (st.options.empty() ? "" : st.options + " ") + "INTO " +
                      TableText(st.target.database, st.target.externalFile, st.target.name);
    if (!st.columns.empty()) {
        out += " (";
        for (size_t i = 0; i < st.columns.size(); ++i) out += (i ? ", " : "") + QuoteName(st.columns[i]);
        out += ")";
    }
    if (st.defaultValues) return out + " DEFAULT VALUES";
    std::vector<ItemForm> forms;
    for (const ValueType& t : typing_.targets) forms.push_back({t, true});
    return out + " " + SelectText(st.select, &forms);
}

namespace {

// The table sources of a FROM tree, in written order.
std::vector<const Source*> TableSources(const Tree& tree, SourceId id) {
    std::vector<const Source*> out;
    std::vector<SourceId> stack{id};
    while (!stack.empty()) {
        const Source& s = tree.sources[stack.back()];
        stack.pop_back();
        if (s.kind == Source::Kind::Join) {
            stack.push_back(s.right);
            stack.push_back(s.left);
        } else if (s.kind == Source::Kind::Table) {
            out.push_back(&s);
        }
    }
    return out;
}

std::string SourceName(const Source& s) { return s.alias.empty() ? s.name : s.alias; }

const Source* FindSource(const std::vector<const Source*>& sources, std::string_view name) {
    for (const Source* s : sources)
        if (EqualsNoCase(SourceName(*s), name) || (s->alias.empty() && EqualsNoCase(s->name, name))) return s;
    return nullptr;
}

}  // namespace

// The table an UPDATE or DELETE through joins changes: named, or the first one.
const Source& SqlWriter::ChangedTable(std::string_view named) const {
    const auto sources = TableSources(tree_, tree_.statement.from);
    const Source* target = named.empty() ? nullptr : FindSource(sources, named);
    if (!named.empty() && !target) ThrowSyntaxError("la tabla '" + std::string(named) + "' no está en FROM.");
    if (!target && !sources.empty()) target = sources.front();
    if (!target) ThrowNotSupported("cambiar filas de una consulta que no es una tabla.");
    if (!target->externalFile.empty() || !target->database.empty())
        ThrowNotSupported("cambiar filas de otra base de datos a través de una combinación.");
    return *target;
}

std::string SqlWriter::UpdateText() {
    const auto& st = tree_.statement;
    const Source& from = tree_.sources[st.from];
    std::string out = WithText(st.with) + "UPDATE " + (st.options.empty() ? "" : st.options + " ");
    if (from.kind == Source::Kind::Table) {
        // The engine cannot alias UPDATE's table: its alias is written as the table.
        if (!from.alias.empty()) renames_.emplace_back(from.alias, from.name);
        out += TableText(from.database, from.externalFile, from.name) + " SET ";
        for (size_t i = 0; i < st.assignments.size(); ++i)
            out += (i ? ", " : "") + QuoteName(ColumnOf(st.assignments[i].first)) + " = " +
                   Stored(st.assignments[i].second, typing_.targets[i]);
        if (st.where != kNone) out += " WHERE " + Condition(st.where);
        renames_.clear();
        return out;
    }
    // Through joins: the rows of the changed table that the joins reach, each given the value
    // its joined row computes.
    const size_t dot = st.assignments.front().first.rfind('.');
    const std::string named = dot == std::string::npos ? "" : st.assignments.front().first.substr(0, dot);
    const Source& target = ChangedTable(named);
    const std::string table = QuoteName(target.name);
    const std::string inner = target.alias.empty() ? "`brezal_fila`" : QuoteName(target.alias);
    if (target.alias.empty()) {
        innerAlias_ = &target;
        renames_.emplace_back(target.name, "brezal_fila");
    }
    const std::string joined = SourceText(st.from);
    const std::string condition = st.where != kNone ? "(" + Condition(st.where) + ") AND " : "";
    out += table + " SET ";
    for (size_t i = 0; i < st.assignments.size(); ++i) {
        const auto& [column, value] = st.assignments[i];
        const size_t d = column.rfind('.');
        if (d != std::string::npos && !FindSource({&target}, column.substr(0, d)))
            ThrowNotSupported("UPDATE que cambia campos de más de una tabla.");
        out += (i ? ", " : "") + QuoteName(ColumnOf(column)) + " = (SELECT " + Stored(value, typing_.targets[i]) +
               " FROM " + joined + " WHERE " + condition + inner + ".rowid = " + table + ".rowid LIMIT 1)";
    }
    out += " WHERE rowid IN (SELECT " + inner + ".rowid FROM " + joined +
           (st.where != kNone ? " WHERE " + Condition(st.where) : "") + ")";
    innerAlias_ = nullptr;
    renames_.clear();
    return out;
}

std::string SqlWriter::DeleteText() {
    const auto& st = tree_.statement;
    const Source& from = tree_.sources[st.from];
    std::string out = WithText(st.with) + "DELETE FROM ";
    if (from.kind == Source::Kind::Table) {
        if (!from.alias.empty()) renames_.emplace_back(from.alias, from.name);
        out += TableText(from.database, from.externalFile, from.name);
        if (st.where != kNone) out += " WHERE " + Condition(st.where);
        renames_.clear();
        return out;
    }
    // Through joins: the rows of the table named after DELETE that the joins reach.
    const Source& target = ChangedTable(st.deleteTarget);
    out += QuoteName(target.name) + " WHERE rowid IN (SELECT " + QuoteName(SourceName(target)) + ".rowid FROM " +
           SourceText(st.from);
    if (st.where != kNone) out += " WHERE " + Condition(st.where);
    return out + ")";
}

std::string SqlWriter::ColumnOf(const std::string& target) {
    const size_t dot = target.rfind('.');
    return dot == std::string::npos ? target : target.substr(dot + 1);
}

}  // namespace ado::sqlite::detail
