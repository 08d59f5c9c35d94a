#include "ado/cursor/write_planner.h"

#include <algorithm>

#include "ado/connection_string.h"
#include "ado/error_numbers.h"

namespace ado::cursor {

namespace {

bool IsNullValue(const Variant& v) { return v.IsNull() || v.IsEmpty(); }

// A value of the row as read: from the given values, or straight from the store.
bool OriginalIsNull(const WritePlanInput& in, size_t column) {
    if (in.original) return IsNullValue((*in.original)[column]);
    const RowStore::Tag tag = in.store->CellAt(in.row, column).tag;
    return tag == RowStore::Tag::Null || tag == RowStore::Tag::Empty;
}

bool OnTable(const ColumnInfo& c, std::string_view table) {
    return !c.baseTable.empty() && EqualsNoCase(c.baseTable, table);
}

// "Is this column on the target table?", by the tables' numbers where columns have them.
struct TableFilter {
    const ColumnInfo* target;  // a column of the target table, when one is selected
    std::string_view table;
    bool operator()(const ColumnInfo& c) const {
        if (target && target->baseTableIndex >= 0 && c.baseTableIndex >= 0)
            return c.baseTableIndex == target->baseTableIndex;
        return OnTable(c, table);
    }
};

TableFilter FilterFor(const std::vector<ColumnInfo>& cols, std::string_view table) {
    for (const auto& c : cols)
        if (c.baseTable.data() == table.data() || OnTable(c, table)) return TableFilter{&c, table};
    return TableFilter{nullptr, table};
}

std::string_view TargetTable(const WritePlanInput& in) {
    if (!in.uniqueTable.empty()) return in.uniqueTable;
    const auto& cols = *in.columns;
    if (in.changed)
        for (size_t i = 0; i < cols.size(); ++i)
            if ((*in.changed)[i] && !cols[i].baseTable.empty()) return cols[i].baseTable;
    for (const auto& c : cols)
        if (!c.baseTable.empty() && !c.rowIdentity) return c.baseTable;
    return {};
}

constexpr size_t kNone = static_cast<size_t>(-1);

// The target table's identity column; none when the table has none, or more than one (the
// same table twice in a join: which of its rows is meant cannot be told).
size_t IdentityColumn(const std::vector<ColumnInfo>& cols, const TableFilter& onTable) {
    size_t found = kNone;
    for (size_t i = VisibleColumnCount(cols); i < cols.size(); ++i) {
        if (!onTable(cols[i])) continue;
        if (found != kNone) return kNone;
        found = i;
    }
    return found;
}

bool HasKey(const std::vector<ColumnInfo>& cols, const TableFilter& onTable) {
    for (const auto& c : cols)
        if (c.key && onTable(c)) return true;
    return false;
}

// Which columns of the table identify the row as it was read: its identity first, when
// the row has one, then the update criteria.
void AddCriteria(const WritePlanInput& in, const TableFilter& onTable, WriteShape& shape) {
    const auto& cols = *in.columns;
    const size_t identity = shape.origin.identityField;
    if (identity != kNone && !OriginalIsNull(in, identity)) {
        shape.whereColumns.emplace_back(kRowIdentityColumn);
        shape.whereIsNull.push_back(0);
        shape.origin.whereFields.push_back(identity);
        shape.byIdentity = true;
    }
    const bool anyKey = HasKey(cols, onTable);
    int32_t criteria = in.criteria;
    // Without a key, or without a timestamp column to compare, every column decides.
    if (!anyKey) criteria = adCriteriaAllCols;
    if (criteria == adCriteriaTimeStamp) {
        bool anyVersion = false;
        for (const auto& c : cols) anyVersion |= (c.attributes & adFldRowVersion) && onTable(c);
        if (!anyVersion) criteria = adCriteriaAllCols;
    }
    shape.singleRow = shape.byIdentity || anyKey;
    for (size_t i = 0; i < VisibleColumnCount(cols); ++i) {
        const ColumnInfo& c = cols[i];
        if (!onTable(c)) continue;
        const bool changed = in.changed && (*in.changed)[i];
        bool use = c.key;
        switch (criteria) {
            case adCriteriaAllCols: use = true; break;
            case adCriteriaUpdCols: use |= changed; break;
            case adCriteriaTimeStamp: use |= (c.attributes & adFldRowVersion) != 0; break;
            default: break;
        }
        if (!use) continue;
        shape.whereColumns.push_back(c.baseColumn);
        shape.whereIsNull.push_back(OriginalIsNull(in, i));
        shape.origin.whereFields.push_back(i);
    }
}

// The shape of the row's write, or null when an update changed no column of the table.
std::shared_ptr<const WriteShape> PlanShape(const WritePlanInput& in) {
    const std::string_view table = TargetTable(in);
    if (table.empty()) Raise(Condition::MissingBaseTable);
    const auto& cols = *in.columns;
    const TableFilter onTable = FilterFor(cols, table);
    auto shape = std::make_shared<WriteShape>();
    shape->kind = in.kind;
    shape->table = table;
    shape->origin = {in.columns, *in.changed, in.criteria, std::string(in.uniqueTable), {}, {}, {},
                     IdentityColumn(cols, onTable)};
    const size_t visible = VisibleColumnCount(cols);
    if (in.kind != RowWrite::Kind::Delete)
        for (size_t i = 0; i < visible; ++i)
            if ((*in.changed)[i] && onTable(cols[i])) {
                shape->setColumns.push_back(cols[i].baseColumn);
                shape->origin.setFields.push_back(i);
            }
    if (in.kind == RowWrite::Kind::Update && shape->setColumns.empty()) return nullptr;
    if (in.kind == RowWrite::Kind::Insert) {
        // What the client did not give comes back from the table: autonumbers, defaults;
        // and, last, the new row's identity where no key shows to find the row by again.
        for (size_t i = 0; i < visible; ++i)
            if (!(*in.changed)[i] && onTable(cols[i])) {
                shape->readBack.push_back(cols[i].baseColumn);
                shape->readBackTypes.push_back(cols[i].type);
                shape->origin.readBackFields.push_back(i);
            }
        if (shape->origin.identityField != kNone && !HasKey(cols, onTable)) {
            shape->readBackIdentity = true;
            shape->origin.readBackFields.push_back(shape->origin.identityField);
        }
    } else {
        AddCriteria(in, onTable, *shape);
    }
    shape->Seal();
    return shape;
}

// True when `shape` was planned as this row's would be.
bool PlannedAlike(const WriteShape& shape, const WritePlanInput& in) {
    const WriteShape::Origin& o = shape.origin;
    if (shape.kind != in.kind || o.columns != in.columns || o.criteria != in.criteria ||
        o.uniqueTable != in.uniqueTable || o.changed != *in.changed)
        return false;
    // A row with an identity is written by it; one without (added, or on the outer side of a
    // join) by its criteria alone.
    if (in.kind != RowWrite::Kind::Insert && o.identityField != kNone &&
        shape.byIdentity == OriginalIsNull(in, o.identityField))
        return false;
    for (size_t k = 0; k < o.whereFields.size(); ++k)
        if (OriginalIsNull(in, o.whereFields[k]) != static_cast<bool>(shape.whereIsNull[k])) return false;
    return true;
}

// Points at the values of the given columns: in the given row, or read out of the store
// into the write's own values (indexed by column).
void Point(std::vector<const Variant*>& out, const std::vector<size_t>& fields, const std::vector<Variant>* row,
           const WritePlanInput& in, RowWrite& w) {
    out.resize(fields.size());
    for (size_t k = 0; k < fields.size(); ++k) {
        if (row) {
            out[k] = &(*row)[fields[k]];
            continue;
        }
        Variant& slot = w.own[fields[k]];
        slot = in.store->Get(in.row, fields[k]);
        out[k] = &slot;
    }
}

}  // namespace

void NumberBaseTables(std::vector<ColumnInfo>& columns) {
    for (size_t i = 0; i < columns.size(); ++i) {
        columns[i].baseTableIndex = -1;
        if (columns[i].baseTable.empty()) continue;
        for (size_t j = 0; j < i && columns[i].baseTableIndex < 0; ++j)
            if (columns[j].baseTableIndex >= 0 && EqualsNoCase(columns[j].baseTable, columns[i].baseTable))
                columns[i].baseTableIndex = columns[j].baseTableIndex;
        if (columns[i].baseTableIndex < 0) columns[i].baseTableIndex = static_cast<int16_t>(i);
    }
}

void PlanWrite(const WritePlanInput& in, RowWrite& w) {
    if (!w.shape || !PlannedAlike(*w.shape, in)) w.shape = PlanShape(in);
    if (!w.shape) return;  // nothing to write
    const WriteShape::Origin& o = w.shape->origin;
    if (!in.current || !in.original) w.own.resize(in.columns->size());
    w.cells = nullptr;
    if (in.kind == RowWrite::Kind::Delete) {
        w.setValues.clear();
    } else if (!in.current && in.cellsInStore) {
        w.setValues.clear();
        w.cells = in.store;
        w.cellRow = in.row;
    } else {
        Point(w.setValues, o.setFields, in.current, in, w);
    }
    if (in.kind == RowWrite::Kind::Insert) w.whereValues.clear();
    else Point(w.whereValues, o.whereFields, in.original, in, w);
}

RowWrite PlanWrite(const WritePlanInput& in) {
    RowWrite w;
    PlanWrite(in, w);
    return w;
}

void StoreReadBack(RowStore& store, RowId row, const WriteShape& shape, const std::vector<Variant>& values) {
    const auto& fields = shape.origin.readBackFields;
    for (size_t i = 0; i < fields.size() && i < values.size(); ++i) store.Set(row, fields[i], values[i]);
}

}  // namespace ado::cursor
