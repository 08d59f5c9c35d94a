// Binding values to the embedded engine's statement parameters, in the form the file keeps
// them: Currency as ten-thousandths, Decimal as its key, dates as serials, booleans -1/0.
#pragma once

#include <vector>

#include <sqlcipher/sqlite3.h>

#include "ado/Enums.h"
#include "ado/Variant.h"
#include "ado/cursor/row_store.h"

namespace ado::sqlite {

// A value already of its column's kind (a row write): bound by its own kind. With `copy`
// false the value must outlive the statement's next step (no copy is made).
void BindVariant(sqlite3_stmt* stmt, int index, const Variant& value, bool copy = true);

// A cell of a cursor's row, bound as BindVariant binds the value the cell reads as, without
// reading it out: texts and binaries are bound where they are, valid until the store changes.
void BindCell(sqlite3_stmt* stmt, int index, const cursor::RowStore& store, cursor::RowId row, size_t column);

// A command's value for a parameter the translator typed `type` (adVariant: not known):
// converted to that type as Access converts it (type mismatch, overflow) and bound.
void BindParameter(sqlite3_stmt* stmt, int index, const Variant& value, DataTypeEnum type);

}  // namespace ado::sqlite
