// Crosstabs: TRANSFORM value SELECT ... GROUP BY ... PIVOT pivot [IN (...)] is the SELECT with
// one more column per pivot value, whose aggregates take only that value's rows. The values
// come from the data (sorted, as Access orders the columns) or from the IN list.
#include "ado/providers/sqlite/dialect/sql_tokens.h"
#include "ado/providers/sqlite/dialect/sql_writer.h"

namespace ado::sqlite::detail {

std::string SqlWriter::CrosstabValues() {
    const auto& st = tree_.statement;
    if (!st.pivotIn.empty()) return {};
    const Select& s = tree_.selects[st.select];
    std::string out = "SELECT DISTINCT " + Collated(st.pivot) + " AS `brezal_pivote`";
    if (s.from != kNone) out += " FROM " + SourceText(s.from);
    if (s.where != kNone) out += " WHERE " + Condition(s.where);
    return out + " ORDER BY 1";
}

std::vector<PivotValue> SqlWriter::PivotInValues() {
    const auto& st = tree_.statement;
    const DataTypeEnum pivot = typing_.exprs[st.pivot].type.type;
    std::vector<PivotValue> values;
    for (ExprId v : st.pivotIn) {
        const Expr& e = tree_.At(v);
        const DataTypeEnum compare = ComparisonType(pivot, typing_.exprs[v].type.type);
        values.push_back({Expression(v, compare), e.kind == ExprKind::Literal ? e.text : "Expr"});
    }
    return values;
}

std::string SqlWriter::Crosstab(const std::vector<PivotValue>& values) {
    const auto& st = tree_.statement;
    const std::string pivot = Collated(st.pivot);
    std::string columns;
    std::vector<std::string> headings;
    for (const PivotValue& v : values) {
        pivotCondition_ = "(" + pivot + " IS " + v.literal + ")";
        columns += ", " + Expression(st.transformValue) + " AS " + QuoteName(v.heading);
        headings.push_back(v.heading);
    }
    pivotCondition_.clear();
    for (const OutputColumn& c : typing_.outputs[st.select]) {
        const ValueType shape = ResultShapeOf(c.type);
        out_.columns.push_back({shape.type, shape.size, shape.precision, shape.scale});
    }
    const ValueType value = ResultShapeOf(typing_.exprs[st.transformValue].type);
    for (size_t i = 0; i < values.size(); ++i) out_.columns.push_back({value.type, value.size, value.precision, value.scale});
    std::string out = CoreText(st.select, false, nullptr, columns, headings);
    const Select& s = tree_.selects[st.select];
    if (!s.orderBy.empty()) {
        out += " ORDER BY ";
        for (size_t i = 0; i < s.orderBy.size(); ++i)
            out += (i ? ", " : "") + Collated(s.orderBy[i].expr) + (s.orderBy[i].descending ? " DESC" : "");
    }
    return out;
}

}  // namespace ado::sqlite::detail
