#include "ado/cursor/write_planner.h"

#include "ado/connection_string.h"
#include "ado/error_numbers.h"

namespace ado::cursor {

namespace {

// Fills a vector of an earlier plan again from its start, assigning over the old elements so
// their strings keep their capacity; the vector is cut to what was added when done.
template <class T>
class Refill {
public:
    explicit Refill(std::vector<T>& v) : v_(v) {}
    Refill(const Refill&) = delete;
    Refill& operator=(const Refill&) = delete;
    ~Refill() { v_.resize(n_); }
    void Add(const T& x) {
        if (n_ < v_.size()) v_[n_] = x;
        else v_.push_back(x);
        ++n_;
    }
    bool Empty() const { return n_ == 0; }

private:
    std::vector<T>& v_;
    size_t n_ = 0;
};

bool OnTable(const ColumnInfo& c, const std::string& table) {
    return !c.baseTable.empty() && EqualsNoCase(c.baseTable, table);
}

// "Is this column on the target table?", by the tables' numbers where columns have them.
struct TableFilter {
    const ColumnInfo* target;  // a column of the target table, when one is selected
    const std::string& table;
    bool operator()(const ColumnInfo& c) const {
        if (target && target->baseTableIndex >= 0 && c.baseTableIndex >= 0)
            return c.baseTableIndex == target->baseTableIndex;
        return OnTable(c, table);
    }
};

TableFilter FilterFor(const std::vector<ColumnInfo>& cols, const std::string& table) {
    for (const auto& c : cols)
        if (&c.baseTable == &table || OnTable(c, table)) return TableFilter{&c, table};
    return TableFilter{nullptr, table};
}

const std::string& TargetTable(const WritePlanInput& in) {
    static const std::string none;
    if (!in.uniqueTable.empty()) return in.uniqueTable;
    const auto& cols = *in.columns;
    if (in.changed)
        for (size_t i = 0; i < cols.size(); ++i)
            if ((*in.changed)[i] && !cols[i].baseTable.empty()) return cols[i].baseTable;
    for (const auto& c : cols)
        if (!c.baseTable.empty()) return c.baseTable;
    return none;
}

// Which columns of the table identify the row as it was read.
void AddCriteria(const WritePlanInput& in, const TableFilter& onTable, RowWrite& w) {
    const auto& cols = *in.columns;
    bool anyKey = false;
    for (const auto& c : cols) anyKey |= c.key && onTable(c);
    int32_t criteria = in.criteria;
    // Without a key, or without a timestamp column to compare, every column decides.
    if (!anyKey) criteria = adCriteriaAllCols;
    if (criteria == adCriteriaTimeStamp) {
        bool anyVersion = false;
        for (const auto& c : cols) anyVersion |= (c.attributes & adFldRowVersion) && onTable(c);
        if (!anyVersion) criteria = adCriteriaAllCols;
    }
    Refill<std::string> whereColumns(w.whereColumns);
    Refill<Variant> whereValues(w.whereValues);
    for (size_t i = 0; i < cols.size(); ++i) {
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
        whereColumns.Add(c.baseColumn);
        whereValues.Add((*in.original)[i]);
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

RowWrite PlanWrite(const WritePlanInput& in) {
    RowWrite w;
    PlanWrite(in, w);
    return w;
}

void PlanWrite(const WritePlanInput& in, RowWrite& w) {
    w.kind = in.kind;
    w.table.clear();
    const std::string& table = TargetTable(in);
    if (table.empty()) Raise(Condition::MissingBaseTable);
    const auto& cols = *in.columns;
    const TableFilter onTable = FilterFor(cols, table);
    {
        Refill<std::string> setColumns(w.setColumns);
        Refill<Variant> setValues(w.setValues);
        if (in.kind != RowWrite::Kind::Delete)
            for (size_t i = 0; i < cols.size(); ++i) {
                if (!(*in.changed)[i] || !onTable(cols[i])) continue;
                setColumns.Add(cols[i].baseColumn);
                setValues.Add((*in.current)[i]);
            }
        if (in.kind == RowWrite::Kind::Update && setColumns.Empty()) return;  // nothing to write
    }
    {
        // What the client did not give to an insert comes back from the table: autonumbers, defaults.
        Refill<std::string> readBack(w.readBack);
        Refill<DataTypeEnum> readBackTypes(w.readBackTypes);
        if (in.kind == RowWrite::Kind::Insert)
            for (size_t i = 0; i < cols.size(); ++i)
                if (!(*in.changed)[i] && onTable(cols[i])) {
                    readBack.Add(cols[i].baseColumn);
                    readBackTypes.Add(cols[i].type);
                }
    }
    if (in.kind == RowWrite::Kind::Insert) {
        w.whereColumns.clear();
        w.whereValues.clear();
    } else {
        AddCriteria(in, onTable, w);
    }
    w.table = table;
}

std::vector<size_t> ReadBackFields(const std::vector<ColumnInfo>& columns, const RowWrite& w) {
    std::vector<size_t> fields;
    for (const auto& name : w.readBack)
        for (size_t i = 0; i < columns.size(); ++i)
            if (OnTable(columns[i], w.table) && columns[i].baseColumn == name) {
                fields.push_back(i);
                break;
            }
    return fields;
}

}  // namespace ado::cursor
