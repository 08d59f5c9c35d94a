#include "ado/cursor/write_planner.h"

#include "ado/connection_string.h"
#include "ado/error_numbers.h"

namespace ado::cursor {

namespace {

bool OnTable(const ColumnInfo& c, const std::string& table) {
    return !c.baseTable.empty() && EqualsNoCase(c.baseTable, table);
}

std::string TargetTable(const WritePlanInput& in) {
    if (!in.uniqueTable.empty()) return in.uniqueTable;
    const auto& cols = *in.columns;
    if (in.changed)
        for (size_t i = 0; i < cols.size(); ++i)
            if ((*in.changed)[i] && !cols[i].baseTable.empty()) return cols[i].baseTable;
    for (const auto& c : cols)
        if (!c.baseTable.empty()) return c.baseTable;
    return {};
}

// Which columns of the table identify the row as it was read.
void AddCriteria(const WritePlanInput& in, const std::string& table, RowWrite& w) {
    const auto& cols = *in.columns;
    bool anyKey = false;
    for (const auto& c : cols) anyKey |= OnTable(c, table) && c.key;
    int32_t criteria = in.criteria;
    // Without a key, or without a timestamp column to compare, every column decides.
    if (!anyKey) criteria = adCriteriaAllCols;
    if (criteria == adCriteriaTimeStamp) {
        bool anyVersion = false;
        for (const auto& c : cols) anyVersion |= OnTable(c, table) && (c.attributes & adFldRowVersion);
        if (!anyVersion) criteria = adCriteriaAllCols;
    }
    for (size_t i = 0; i < cols.size(); ++i) {
        const ColumnInfo& c = cols[i];
        if (!OnTable(c, table)) continue;
        const bool changed = in.changed && (*in.changed)[i];
        bool use = c.key;
        switch (criteria) {
            case adCriteriaAllCols: use = true; break;
            case adCriteriaUpdCols: use |= changed; break;
            case adCriteriaTimeStamp: use |= (c.attributes & adFldRowVersion) != 0; break;
            default: break;
        }
        if (!use) continue;
        w.whereColumns.push_back(c.baseColumn);
        w.whereValues.push_back((*in.original)[i]);
    }
}

}  // namespace

RowWrite PlanWrite(const WritePlanInput& in) {
    RowWrite w;
    w.kind = in.kind;
    const std::string table = TargetTable(in);
    if (table.empty()) Raise(Condition::MissingBaseTable);
    const auto& cols = *in.columns;
    if (in.kind != RowWrite::Kind::Delete) {
        for (size_t i = 0; i < cols.size(); ++i) {
            if (!OnTable(cols[i], table) || !(*in.changed)[i]) continue;
            w.setColumns.push_back(cols[i].baseColumn);
            w.setValues.push_back((*in.current)[i]);
        }
        if (in.kind == RowWrite::Kind::Update && w.setColumns.empty()) return RowWrite{};
    }
    if (in.kind == RowWrite::Kind::Insert) {
        for (const auto& c : cols)
            if (OnTable(c, table)) w.readBack.push_back(c.baseColumn);
    } else {
        AddCriteria(in, table, w);
    }
    w.table = table;
    return w;
}

std::vector<size_t> ReadBackFields(const std::vector<ColumnInfo>& columns, const RowWrite& w) {
    std::vector<size_t> fields;
    for (size_t i = 0; i < columns.size(); ++i)
        if (OnTable(columns[i], w.table)) fields.push_back(i);
    return fields;
}

}  // namespace ado::cursor
