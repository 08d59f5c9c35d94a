// Row identity on the embedded engine: the hidden identity columns of a result read into
// the cursor's row store (the translator writes them; see RowIdentityColumn).
#pragma once

#include <vector>

#include "ado/cursor/row_store.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"

namespace ado::sqlite {

// The result's last identity.size() columns are the translation's identity columns: they
// become hidden columns of the row store, each a 64-bit rowid of its base table.
void MarkRowIdentityColumns(cursor::RowStore& rows, const std::vector<RowIdentityColumn>& identity);

}  // namespace ado::sqlite
