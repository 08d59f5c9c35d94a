// Row identity on the embedded engine: which FROM names are base tables with a rowid (the
// answer the dialect's row-identity pass asks for), and the hidden identity columns of a
// result read into the cursor's row store.
#pragma once

#include <string_view>
#include <vector>

#include <sqlcipher/sqlite3.h>

#include "ado/cursor/row_store.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"

namespace ado::sqlite {

// Base tables of the main database: tables, not views, that keep a rowid.
class BaseTables final : public RowIdentitySchema {
public:
    explicit BaseTables(sqlite3* db) : db_(db) {}
    bool IsBaseTable(std::string_view table) override;

private:
    sqlite3* db_;
};

// The result's last identity.size() columns are the translation's identity columns: they
// become hidden columns of the row store, each a 64-bit rowid of its base table.
void MarkRowIdentityColumns(cursor::RowStore& rows, const std::vector<RowIdentityColumn>& identity);

}  // namespace ado::sqlite
