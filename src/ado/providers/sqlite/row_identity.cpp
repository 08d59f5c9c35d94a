#include "ado/providers/sqlite/row_identity.h"

#include <cctype>
#include <string>

namespace ado::sqlite {

namespace {

// "... WITHOUT ROWID" closes the table's definition when it has no rowid.
bool EndsWithoutRowid(std::string_view sql) {
    while (!sql.empty() && (std::isspace(static_cast<unsigned char>(sql.back())) || sql.back() == ';'))
        sql.remove_suffix(1);
    constexpr std::string_view kRowid = "ROWID", kWithout = "WITHOUT";
    auto takeWord = [&sql](std::string_view word) {
        if (sql.size() < word.size()) return false;
        for (size_t i = 0; i < word.size(); ++i)
            if (std::toupper(static_cast<unsigned char>(sql[sql.size() - word.size() + i])) != word[i]) return false;
        sql.remove_suffix(word.size());
        while (!sql.empty() && std::isspace(static_cast<unsigned char>(sql.back()))) sql.remove_suffix(1);
        return true;
    };
    return takeWord(kRowid) && takeWord(kWithout);
}

}  // namespace

bool BaseTables::IsBaseTable(std::string_view table) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE", -1,
                           &stmt, nullptr) != SQLITE_OK)
        return false;
    sqlite3_bind_text(stmt, 1, table.data(), static_cast<int>(table.size()), SQLITE_TRANSIENT);
    bool base = false;
    if (sqlite3_step(stmt) == SQLITE_ROW) {
        const auto* sql = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        base = !sql || !EndsWithoutRowid(sql);
    }
    sqlite3_finalize(stmt);
    return base;
}

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
