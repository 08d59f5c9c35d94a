#include "ado/providers/sqlite/format_migration.h"

#include "ado/providers/sqlite/file_access.h"

#include <utility>
#include <vector>

#include "ado/error_numbers.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "ado/providers/sqlite/dialect/declared_types.h"
#include "ado/providers/sqlite/engine_statement.h"
#include "ado/providers/sqlite/file_format.h"
#include "ado/providers/sqlite/file_use_lock.h"
#include "ado/providers/sqlite/text_collation.h"
#include "ado/providers/sqlite/row_writer.h"

namespace ado::sqlite {

namespace {

struct Handle {
    sqlite3* db = nullptr;
    ~Handle() { sqlite3_close_v2(db); }
};

struct SchemaObject {
    std::string type, name, sql;
};

std::vector<SchemaObject> Objects(sqlite3* db, std::string_view where) {
    EngineStatement s(db, "SELECT type, name, sql FROM sqlite_master WHERE " + std::string(where) + " ORDER BY rowid");
    std::vector<SchemaObject> out;
    while (s.Step()) {
        auto text = [&](int i) {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s.get(), i));
            return std::string(p ? p : "");
        };
        out.push_back({text(0), text(1), text(2)});
    }
    return out;
}

// How a stored value of the old form becomes the value of the new one, by the column's type.
std::string Converted(const std::string& column, DataTypeEnum type) {
    const std::string c = QuoteIdentifier(column);
    switch (type) {
        case adDate: return "CASE typeof(" + c + ") WHEN 'text' THEN CDATE(" + c + ") ELSE " + c + " END";
        case adCurrency: return "BZ_CUR(" + c + ")";
        case adNumeric: case adDecimal: return "BZ_DEC(" + c + ")";
        case adBoolean: return "CASE WHEN " + c + " IS NULL THEN NULL WHEN " + c + " <> 0 THEN -1 ELSE 0 END";
        default: return c;
    }
}

// One table written again in the new form, its rows converted.
int64_t ConvertTable(sqlite3* db, const SchemaObject& table) {
    const std::string temporary = table.name + std::string(kRemadeTableSuffix);
    RunOwn(db, RewriteTableDefinition(table.sql, temporary));
    std::string columns, values;
    EngineStatement info(db, "PRAGMA main.table_info(" + QuoteIdentifier(table.name) + ")");
    while (info.Step()) {
        const std::string name = reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1));
        const char* declared = reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 2));
        columns += (columns.empty() ? "" : ", ") + QuoteIdentifier(name);
        values += (values.empty() ? "" : ", ") + Converted(name, MapDeclaredType(declared ? declared : "").type);
    }
    try {
        RunOwn(db, "INSERT INTO " + QuoteIdentifier(temporary) + " (" + columns + ") SELECT " + values + " FROM " +
                       QuoteIdentifier(table.name));
    } catch (const Error& e) {
        throw Error(e.Number(), e.Description() + " (tabla '" + table.name + "')", e.Source());
    }
    const int64_t rows = sqlite3_changes(db);
    RunOwn(db, "DROP TABLE " + QuoteIdentifier(table.name));
    RunOwn(db, "ALTER TABLE " + QuoteIdentifier(temporary) + " RENAME TO " + QuoteIdentifier(table.name));
    return rows;
}

}  // namespace

MigrationReport MigrateDatabase(const std::string& path, const std::string& key) {
    MigrationReport report;
    const FileUseLock exclusive(path, true, false);
    Handle h;
    if (sqlite3_open_v2(path.c_str(), &h.db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) ThrowEngineError(h.db);
    if (!key.empty()) sqlite3_key(h.db, key.data(), static_cast<int>(key.size()));
    if (sqlite3_exec(h.db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) == SQLITE_NOTADB)
        Raise(UnreadableFileCondition(path, key), "'" + path + "'");
    RegisterAccessFunctions(h.db);
    if (const auto format = ReadFileFormat(h.db); format && format->version == kFileFormatVersion) {
        report.alreadyCurrent = true;
        return report;
    }
    const std::string locale = DefaultCollationLocale();
    RegisterAccessCollation(h.db, locale);
    RunOwn(h.db, "PRAGMA foreign_keys = OFF");
    RunOwn(h.db, "BEGIN EXCLUSIVE");
    try {
        const auto tables = Objects(h.db, "type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' AND name NOT LIKE 'MSys%'");
        const auto dependents = Objects(h.db, "type IN ('index', 'trigger') AND sql IS NOT NULL");
        for (const SchemaObject& t : tables) {
            report.rows += ConvertTable(h.db, t);
            ++report.tables;
        }
        // Indexes and triggers went with their tables: made again on the new ones (text keys
        // now follow the ACCESS collation).
        for (const SchemaObject& d : dependents) RunOwn(h.db, d.sql);
        StampFileFormat(h.db, locale);
        RunOwn(h.db, "COMMIT");
    } catch (...) {
        sqlite3_exec(h.db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    return report;
}

}  // namespace ado::sqlite
