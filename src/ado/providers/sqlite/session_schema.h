// The schema of a session's database as the translator asks for it: the columns of a
// table or stored query with their Access types, read from the file and kept until the
// schema changes. A stored query's computed columns are typed by translating its text.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <sqlcipher/sqlite3.h>

#include "ado/providers/sqlite/dialect/schema_source.h"

namespace ado::sqlite {

class SessionSchema final : public detail::SchemaSource {
public:
    // `db` is the session's handle (it may be reopened); `typeQuery` gives the result types
    // of a stored query's Access text.
    using QueryTyper = std::function<std::vector<detail::ValueType>(const std::string& accessText)>;
    SessionSchema(sqlite3* const& db, QueryTyper typeQuery) : db_(db), typeQuery_(std::move(typeQuery)) {}

    const detail::TableShape* Table(std::string_view database, std::string_view externalFile,
                                    std::string_view table) override;
    std::vector<std::string> Referrers(std::string_view database, std::string_view table,
                                       const std::vector<std::string>& keyColumns) override;
    std::optional<detail::UniqueIndex> FindUniqueIndex(std::string_view database, std::string_view name) override;
    std::optional<detail::StoredTable> Stored(std::string_view database, std::string_view table) override;
    // Forgets what it read (the schema changed).
    void Forget() { cache_.clear(); }

private:
    std::optional<detail::TableShape> Read(sqlite3* db, std::string_view database, std::string_view table);

    sqlite3* const& db_;
    QueryTyper typeQuery_;
    std::map<std::string, std::optional<detail::TableShape>> cache_;
    std::set<std::string> typing_;  // stored queries being typed (one naming another)
};

}  // namespace ado::sqlite
