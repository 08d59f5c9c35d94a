// Plans the statement that writes a row of the cursor back to its base table.
#pragma once

#include <string>
#include <vector>

#include "ado/Enums.h"
#include "ado/cursor/row_store.h"
#include "ado/cursor/row_write.h"

namespace ado::cursor {

struct WritePlanInput {
    RowWrite::Kind kind;
    const std::vector<ColumnInfo>* columns;
    const std::vector<Variant>* original;  // the row as read (Update, Delete)
    const std::vector<Variant>* current;   // the values to write (Insert, Update)
    const std::vector<uint8_t>* changed;   // per column: assigned by the client
    int32_t criteria = adCriteriaUpdCols;  // ADCPROP_UPDATECRITERIA_ENUM
    std::string uniqueTable;               // the recordset's "Unique Table", when set
};

// The write, or an empty table name when there is nothing to write (an update that
// changed no column of a base table). Fails with -2147467259 when no base table is known.
RowWrite PlanWrite(const WritePlanInput& in);
// The same into `w`, whose vectors keep their capacity between rows.
void PlanWrite(const WritePlanInput& in, RowWrite& w);

// After an insert: the fields that read back the given columns of the written table.
std::vector<size_t> ReadBackFields(const std::vector<ColumnInfo>& columns, const RowWrite& w);

}  // namespace ado::cursor
