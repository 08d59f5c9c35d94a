// A command's statement compiled once on an embedded database file and run again with
// new values.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <sqlcipher/sqlite3.h>

#include "ado/provider.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "ado/providers/sqlite/sqlite_errors.h"

namespace ado::sqlite {

class SqlitePreparedStatement final : public provider::PreparedStatement {
public:
    // Takes `stmt`, compiled on `db`. `fileLife` lives while the session keeps that file
    // open: when the session closes or reopens it, the session finalizes every statement
    // of the file, this one included, and the token expires.
    SqlitePreparedStatement(sqlite3* db, sqlite3_stmt* stmt, std::weak_ptr<const void> fileLife, StatementKind kind,
                            std::vector<std::string> placeholders, std::vector<RowIdentityColumn> rowIdentity = {})
        : db_(db), stmt_(stmt), fileLife_(std::move(fileLife)), kind_(kind), placeholders_(std::move(placeholders)),
          rowIdentity_(std::move(rowIdentity)) {}
    ~SqlitePreparedStatement() override;
    SqlitePreparedStatement(const SqlitePreparedStatement&) = delete;
    SqlitePreparedStatement& operator=(const SqlitePreparedStatement&) = delete;

    bool Valid() const override { return !fileLife_.expired(); }
    int64_t Run(const provider::Statement& statement, cursor::RowStore& rows) override;

private:
    sqlite3* db_;
    sqlite3_stmt* stmt_;  // owned while Valid(); finalized by the session afterwards
    std::weak_ptr<const void> fileLife_;
    StatementKind kind_;                     // what the engine's failures are classified as
    std::vector<std::string> placeholders_;  // the translation's named references, for binding
    std::vector<RowIdentityColumn> rowIdentity_;  // the hidden identity columns its rows end with
};

}  // namespace ado::sqlite
