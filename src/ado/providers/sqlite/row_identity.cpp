#include "ado/providers/sqlite/row_identity.h"

#include <string>

namespace ado::sqlite {

void MarkRowIdentityColumns(cursor::RowStore& rows, const std::vector<RowIdentityColumn>& identity) {
    auto& columns = rows.Columns();
    if (identity.empty() || columns.size() < identity.size()) return;
    const size_t first = columns.size() - identity.size();
    for (size_t k = 0; k < identity.size(); ++k) {
        cursor::ColumnInfo& c = columns[first + k];
        c = cursor::ColumnInfo{};
        c.name = "brezal_rowid_" + std::to_string(k + 1);
        c.type = adBigInt;
        c.definedSize = 8;
        c.attributes = adFldFixed;
        c.baseTable = identity[k].table;
        c.baseColumn = cursor::kRowIdentityColumn;
        c.rowIdentity = true;
    }
}

}  // namespace ado::sqlite
