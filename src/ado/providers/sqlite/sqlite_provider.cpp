// The embedded engine as the Access (Jet) provider.
#include "ado/providers/sqlite/sqlite_provider.h"

#include <filesystem>

#include "ado/connection_string.h"
#include "ado/error_numbers.h"
#include "ado/providers/sqlite/file_format.h"
#include "ado/providers/sqlite/format_migration.h"
#include "ado/providers/sqlite/sqlite_errors.h"
#include "ado/providers/sqlite/sqlite_session.h"

namespace ado::sqlite {

namespace {
constexpr std::string_view kNames[] = {"Microsoft.Jet.OLEDB.4.0", "Microsoft.Jet.OLEDB.3.51",
                                       "Microsoft.ACE.OLEDB.12.0"};
}

bool SqliteProvider::Serves(std::string_view providerName) const {
    for (auto n : kNames)
        if (EqualsNoCase(n, providerName)) return true;
    return false;
}

std::unique_ptr<provider::Session> SqliteProvider::Open(const provider::OpenRequest& request) {
    return std::make_unique<SqliteSession>(request);
}

}  // namespace ado::sqlite

namespace ado::sqlite {

void SqliteProvider::Create(const provider::OpenRequest& request) {
    const std::string path = request.settings.GetOr("Data Source", "");
    const std::string key = request.settings.GetOr("Jet OLEDB:Database Password", "");
    if (path.empty()) Raise(Condition::FileNotFound, "(no se indicó Data Source)");
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) Raise(Condition::General, "(el archivo ya existe: '" + path + "')");
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    struct Closer {
        sqlite3* db;
        ~Closer() { sqlite3_close_v2(db); }
    } closer{db};
    if (rc != SQLITE_OK) ThrowEngineError(db);
    if (!key.empty()) sqlite3_key(db, key.data(), static_cast<int>(key.size()));
    // Writing the schema makes the file a real (and, with a key, encrypted) database, of the
    // current format from its start.
    if (sqlite3_exec(db, "PRAGMA user_version = 0", nullptr, nullptr, nullptr) != SQLITE_OK) ThrowEngineError(db);
    StampFileFormat(db, DefaultCollationLocale());
}

}  // namespace ado::sqlite

namespace ado::sqlite {

bool SqliteProvider::Upgrade(const provider::OpenRequest& request, int& tables, int64_t& rows) {
    const std::string path = request.settings.GetOr("Data Source", "");
    if (path.empty()) Raise(Condition::FileNotFound, "(no se indicó Data Source)");
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) Raise(Condition::FileNotFound, "'" + path + "'");
    const MigrationReport report = MigrateDatabase(path, request.settings.GetOr("Jet OLEDB:Database Password", ""));
    if (report.alreadyCurrent) return false;
    tables = report.tables;
    rows = report.rows;
    // Stored queries kept as views are written again from their Access text.
    provider::OpenRequest exclusive = request;
    exclusive.mode = adModeShareExclusive;
    SqliteSession(exclusive).RebuildStoredViews();
    return true;
}

}  // namespace ado::sqlite
