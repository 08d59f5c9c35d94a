// Plans the statement that writes a row of the cursor back to its base table.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ado/Enums.h"
#include "ado/cursor/row_store.h"
#include "ado/cursor/row_write.h"

namespace ado::cursor {

struct WritePlanInput {
    RowWrite::Kind kind;
    const std::vector<ColumnInfo>* columns;
    // One of the two rows may be null: it is then `store`'s row `row`.
    const std::vector<Variant>* original;  // the row as read (Update, Delete)
    const std::vector<Variant>* current;   // the values to write (Insert, Update)
    const std::vector<uint8_t>* changed;   // per column: assigned by the client
    int32_t criteria = adCriteriaUpdCols;  // ADCPROP_UPDATECRITERIA_ENUM
    std::string_view uniqueTable;          // the recordset's "Unique Table", when set
    const RowStore* store = nullptr;
    RowId row = 0;
    // The provider binds cells of `store` itself (Session::BindsStoreCells): set values read
    // from the store are not copied out.
    bool cellsInStore = false;
};

// Plans the write into `w`. A shape `w` already holds is kept when it was planned the same
// way (kind, columns, changed columns, criteria, which criteria are Null): then only the
// values are filled. No shape means nothing to write (an update that changed no column of a
// base table). Fails with -2147467259 when no base table is known.
void PlanWrite(const WritePlanInput& in, RowWrite& w);
RowWrite PlanWrite(const WritePlanInput& in);

// After an insert: the values read back (autonumbers, defaults) into the row's fields.
void StoreReadBack(RowStore& store, RowId row, const WriteShape& shape, const std::vector<Variant>& values);

}  // namespace ado::cursor
