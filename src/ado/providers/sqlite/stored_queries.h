// Named queries stored in the database file, as Access keeps them: CREATE PROCEDURE and
// CREATE VIEW store an Access statement under a name (a view also becomes an engine view,
// so other statements can select from it); DROP PROCEDURE and DROP VIEW remove them.
// They live in the table MSysConsultas (Nombre, Tipo, Texto).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <sqlcipher/sqlite3.h>

namespace ado::sqlite {

// Handles a query definition statement; nullopt when the text is not one. `translate`
// turns Access SQL into the engine's (for views).
std::optional<int64_t> DefineStoredQuery(sqlite3* db, std::string_view text,
                                         const std::function<std::string(std::string_view)>& translate);

// Whether the text is a query definition statement, which DefineStoredQuery handles.
bool IsQueryDefinition(std::string_view text);

// The stored queries that are also engine views: name and Access text.
std::vector<std::pair<std::string, std::string>> StoredViews(sqlite3* db);

// The stored Access text of a named query (procedure or view), when there is one.
std::optional<std::string> FindStoredQuery(sqlite3* db, std::string_view name);

}  // namespace ado::sqlite
