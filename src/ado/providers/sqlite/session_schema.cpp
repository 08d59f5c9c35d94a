#include "ado/providers/sqlite/session_schema.h"

#include <algorithm>
#include <cctype>

#include "ado/connection_string.h"

#include "ado/providers/sqlite/dialect/declared_types.h"
#include "ado/providers/sqlite/engine_statement.h"
#include "ado/providers/sqlite/row_writer.h"
#include "ado/providers/sqlite/stored_queries.h"

namespace ado::sqlite {

using detail::SchemaColumn;
using detail::ValueType;

namespace {

// "... WITHOUT ROWID" closes the definition of a table that has no rowid.
bool EndsWithoutRowid(std::string_view sql) {
    auto isSpace = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    auto takeWord = [&](std::string_view word) {
        while (!sql.empty() && (isSpace(sql.back()) || sql.back() == ';')) sql.remove_suffix(1);
        if (sql.size() < word.size() || !EqualsNoCase(sql.substr(sql.size() - word.size()), word)) return false;
        sql.remove_suffix(word.size());
        return true;
    };
    return takeWord("ROWID") && takeWord("WITHOUT");
}

// A file named by t IN 'file', read apart from the session.
struct ExternalFile {
    sqlite3* db = nullptr;
    explicit ExternalFile(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close_v2(db);
            db = nullptr;
        }
    }
    ~ExternalFile() { sqlite3_close_v2(db); }
};

std::string SchemaName(std::string_view database) {
    return QuoteIdentifier(database.empty() ? "main" : std::string(database));
}

// The same names, whatever their order and case.
bool SameColumns(std::vector<std::string> a, std::vector<std::string> b) {
    if (a.size() != b.size()) return false;
    for (auto* v : {&a, &b}) {
        for (std::string& n : *v) n = LowerAscii(n);
        std::sort(v->begin(), v->end());
    }
    return a == b;
}

}  // namespace

std::vector<std::string> SessionSchema::Referrers(std::string_view database, std::string_view table,
                                                  const std::vector<std::string>& keyColumns) {
    const std::string schema = SchemaName(database);
    std::vector<std::string> tables;
    EngineStatement list(db_, "SELECT name FROM " + schema + ".sqlite_master WHERE type = 'table' AND name <> ?1 "
                                                             "COLLATE NOCASE");
    for (list.BindTexts({table}); list.Step();) tables.emplace_back(list.Text(0));
    std::vector<std::string> referrers;
    for (const std::string& other : tables) {
        // One row per column of each relationship: id, seq, table, from, to.
        EngineStatement keys(db_, "PRAGMA " + schema + ".foreign_key_list(" + QuoteIdentifier(other) + ")");
        std::map<int, std::vector<std::string>> pointing;  // relationship id -> the columns it points to
        while (keys.Step()) {
            if (!EqualsNoCase(keys.Text(2), table)) continue;
            auto& columns = pointing[sqlite3_column_int(keys.get(), 0)];
            if (sqlite3_column_type(keys.get(), 4) != SQLITE_NULL) columns.emplace_back(keys.Text(4));
        }
        for (const auto& [id, columns] : pointing)
            if (keyColumns.empty() || SameColumns(columns, keyColumns)) {
                referrers.push_back(other);
                break;
            }
    }
    return referrers;
}

std::optional<detail::UniqueIndex> SessionSchema::FindUniqueIndex(std::string_view database, std::string_view name) {
    const std::string schema = SchemaName(database);
    const std::optional<std::string> table = QueryText(
        db_, "SELECT tbl_name FROM " + schema + ".sqlite_master WHERE type = 'index' AND name = ?1 COLLATE NOCASE",
        {name});
    if (!table) return std::nullopt;
    detail::UniqueIndex index{*table, {}};
    EngineStatement unique(db_, "PRAGMA " + schema + ".index_list(" + QuoteIdentifier(index.table) + ")");
    bool isUnique = false;
    while (unique.Step())
        if (EqualsNoCase(unique.Text(1), name)) isUnique = sqlite3_column_int(unique.get(), 2) != 0;
    if (!isUnique) return std::nullopt;
    EngineStatement columns(db_, "PRAGMA " + schema + ".index_info(" + QuoteIdentifier(std::string(name)) + ")");
    while (columns.Step()) index.columns.emplace_back(columns.Text(2));
    return index;
}

std::optional<detail::StoredTable> SessionSchema::Stored(std::string_view database, std::string_view table) {
    const std::string schema = SchemaName(database);
    detail::StoredTable stored;
    EngineStatement found(db_, "SELECT name, sql FROM " + schema +
                                   ".sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    if (!found.BindTexts({table}).Step()) return std::nullopt;
    stored.name = found.Text(0);
    stored.sql = found.Text(1);
    stored.rowid = !EndsWithoutRowid(stored.sql);
    std::vector<std::pair<int, std::string>> key;
    EngineStatement info(db_, "PRAGMA " + schema + ".table_info(" + QuoteIdentifier(stored.name) + ")");
    while (info.Step()) {
        stored.columns.emplace_back(info.Text(1));
        stored.declaredTypes.emplace_back(info.Text(2));
        if (const int at = sqlite3_column_int(info.get(), 5)) key.emplace_back(at, info.Text(1));
    }
    std::sort(key.begin(), key.end());
    for (auto& [at, column] : key) stored.keyColumns.push_back(std::move(column));
    EngineStatement keys(db_, "PRAGMA " + schema + ".foreign_key_list(" + QuoteIdentifier(stored.name) + ")");
    while (keys.Step()) stored.refersToItself |= EqualsNoCase(keys.Text(2), stored.name);
    EngineStatement made(db_, "SELECT type, name, sql FROM " + schema +
                                  ".sqlite_master WHERE type IN ('index', 'trigger') AND tbl_name = ?1 ORDER BY rowid");
    for (made.BindTexts({stored.name}); made.Step();) {
        if (std::string_view(made.Text(0)) == "trigger") {
            stored.triggers.emplace_back(made.Text(2));
            continue;
        }
        detail::StoredIndex index{made.Text(1), made.Text(2), {}};
        EngineStatement columns(db_, "PRAGMA " + schema + ".index_info(" + QuoteIdentifier(index.name) + ")");
        while (columns.Step()) index.columns.emplace_back(columns.Text(2));
        stored.indexes.push_back(std::move(index));
    }
    return stored;
}

std::optional<detail::TableShape> SessionSchema::Read(sqlite3* db, std::string_view database, std::string_view table) {
    const std::string schema = SchemaName(database);
    detail::TableShape shape;
    EngineStatement kind(db, "SELECT type, sql FROM " + schema +
                                 ".sqlite_master WHERE type IN ('table', 'view') AND name = ?1 COLLATE NOCASE");
    if (kind.BindTexts({table}).Step()) {
        shape.view = std::string_view(kind.Text(0)) == "view";
        shape.rowid = !shape.view && !EndsWithoutRowid(kind.Text(1));
    }
    EngineStatement info(db, "PRAGMA " + schema + ".table_info(" + QuoteIdentifier(table) + ")");
    std::vector<SchemaColumn>& columns = shape.columns;
    bool computed = false;
    while (info.Step()) {
        SchemaColumn c;
        c.name = info.Text(1);
        const MappedType m = MapDeclaredType(info.Text(2));
        c.type = ValueType{m.type, m.definedSize, m.precision, m.scale};
        computed |= m.type == adVariant;
        columns.push_back(std::move(c));
    }
    if (columns.empty()) return std::nullopt;
    // A stored query's computed columns have no declared type: its Access text tells.
    if (computed && db == db_ && database.empty() && !typing_.count(LowerAscii(table))) {
        if (const auto text = FindStoredQuery(db, table)) {
            typing_.insert(LowerAscii(table));
            try {
                const std::vector<ValueType> types = typeQuery_(*text);
                for (size_t i = 0; i < columns.size() && i < types.size(); ++i)
                    if (columns[i].type.type == adVariant) columns[i].type = types[i];
            } catch (...) {
            }
            typing_.erase(LowerAscii(table));
        }
    }
    return shape;
}

const detail::TableShape* SessionSchema::Table(std::string_view database, std::string_view externalFile,
                                               std::string_view table) {
    const std::string key = LowerAscii(database) + '\x1f' + std::string(externalFile) + '\x1f' + LowerAscii(table);
    auto found = cache_.find(key);
    if (found == cache_.end()) {
        std::optional<detail::TableShape> columns;
        try {
            if (externalFile.empty()) {
                columns = Read(db_, database, table);
            } else {
                ExternalFile file{std::string(externalFile)};
                if (file.db) columns = Read(file.db, "", table);
            }
        } catch (const Error&) {
            // An unknown schema or an unreadable file: the statement's run reports it.
        }
        found = cache_.emplace(key, std::move(columns)).first;
    }
    return found->second ? &*found->second : nullptr;
}

}  // namespace ado::sqlite
