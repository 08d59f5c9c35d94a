// Queries and changes: SELECT (TOP, compounds, joins, attachments), INSERT, UPDATE, DELETE,
// and the numbering of parameters.
#include <algorithm>
#include <cstdint>

#include <fmt/format.h>

#include "ado/providers/sqlite/dialect/dialect_errors.h"
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

const char* JoinText(JoinKind k) {
    switch (k) {
        case JoinKind::Comma: return ", ";
        case JoinKind::Inner: return " INNER JOIN ";
        case JoinKind::Left: return " LEFT JOIN ";
        case JoinKind::Right: return " RIGHT JOIN ";
        case JoinKind::Cross: return " CROSS JOIN ";
        case JoinKind::Natural: return " NATURAL JOIN ";
    }
    return ", ";
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
    std::string out = WithText(s.with);
    const bool compound = !s.compound.empty();
    out += CoreText(id, compound, forms);
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

std::string SqlWriter::CoreText(SelectId id, bool inCompound, const std::vector<ItemForm>* forms) {
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
    out = (s.distinct || s.distinctRow) ? "SELECT DISTINCT " : "SELECT ";
    for (size_t i = 0; i < s.items.size(); ++i) {
        if (i) out += ", ";
        const SelectItem& item = s.items[i];
        const Expr& e = tree_.At(item.expr);
        if (e.kind == ExprKind::Star) {
            out += Expression(item.expr);
            continue;
        }
        out += itemText(item.expr, i);
        if ((s.distinct || s.distinctRow) && NeedsCollation(item.expr))
            out += std::string(" COLLATE ") + kTextCollation;
        if (!item.alias.empty()) out += " AS " + QuoteName(item.alias);
        else if (e.kind != ExprKind::Column) out += " AS " + QuoteName(typing_.itemNames[item.expr]);
    }
    if (s.from != kNone) out += " FROM " + SourceText(s.from);
    if (s.where != kNone) out += " WHERE " + Expression(s.where);
    if (!s.groupBy.empty()) {
        out += " GROUP BY ";
        for (size_t i = 0; i < s.groupBy.size(); ++i) out += (i ? ", " : "") + Collated(s.groupBy[i]);
    }
    if (s.having != kNone) out += " HAVING " + Expression(s.having);
    if (inCompound && s.topPresent) {
        // A member of a compound cannot carry LIMIT: it becomes a subquery.
        return "SELECT * FROM (" + out + " LIMIT " + TopLimit(id, out) + ")";
    }
    return out;
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
    return out;
}

std::string SqlWriter::SourceText(SourceId id) {
    // Joins nest on the left: walk down that side, then write from the innermost out.
    std::vector<const Source*> joins;
    while (tree_.sources[id].kind == Source::Kind::Join) {
        joins.push_back(&tree_.sources[id]);
        id = tree_.sources[id].left;
    }
    std::string out = PrimarySourceText(tree_.sources[id]);
    for (auto j = joins.rbegin(); j != joins.rend(); ++j) {
        const Source& join = **j;
        if (join.join == JoinKind::Right) ThrowNotSupported("RIGHT JOIN.");
        out += JoinText(join.join);
        const Source& right = tree_.sources[join.right];
        out += right.kind == Source::Kind::Join ? "(" + SourceText(join.right) + ")" : PrimarySourceText(right);
        if (join.on != kNone) out += " ON " + Expression(join.on);
        if (!join.usingColumns.empty()) {
            out += " USING (";
            for (size_t i = 0; i < join.usingColumns.size(); ++i) out += (i ? ", " : "") + QuoteName(join.usingColumns[i]);
            out += ")";
        }
    }
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

std::string SqlWriter::UpdateText() {
    const auto& st = tree_.statement;
    const Source& target = tree_.sources[st.from];
    if (target.kind != Source::Kind::Table) ThrowNotSupported("UPDATE sobre una combinación de tablas.");
    std::string out = WithText(st.with) + "UPDATE " + (st.options.empty() ? "" : st.options + " ") +
                      TableText(target.database, target.externalFile, target.name);
    if (!target.alias.empty()) ThrowNotSupported("UPDATE de una tabla con alias.");
    out += " SET ";
    for (size_t i = 0; i < st.assignments.size(); ++i) {
        const auto& [column, value] = st.assignments[i];
        const size_t dot = column.rfind('.');
        out += (i ? ", " : "") + QuoteName(dot == std::string::npos ? column : column.substr(dot + 1)) + " = " +
               Stored(value, typing_.targets[i]);
    }
    if (st.where != kNone) out += " WHERE " + Expression(st.where);
    return out;
}

std::string SqlWriter::DeleteText() {
    const auto& st = tree_.statement;
    const Source& target = tree_.sources[st.from];
    if (target.kind != Source::Kind::Table) ThrowNotSupported("DELETE sobre una combinación de tablas.");
    if (!target.alias.empty()) ThrowNotSupported("DELETE de una tabla con alias.");
    std::string out = WithText(st.with) + "DELETE FROM " + TableText(target.database, target.externalFile, target.name);
    if (st.where != kNone) out += " WHERE " + Expression(st.where);
    return out;
}

}  // namespace ado::sqlite::detail
