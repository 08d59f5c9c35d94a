// A database file written by the engine alone, as another program (or an earlier version of
// this library) leaves it: no key, no collation, the types as the statements declare them.
#pragma once

#include <sqlcipher/sqlite3.h>

#include <string>

namespace testsupport {

// Runs `sql` on a plain (unencrypted) file, made when missing: the engine's message when it
// fails, empty when it worked.
inline std::string WritePlainFile(const std::string& file, const char* sql) {
    sqlite3* raw = nullptr;
    std::string failure;
    if (sqlite3_open(file.c_str(), &raw) != SQLITE_OK || sqlite3_exec(raw, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        failure = sqlite3_errmsg(raw);
    sqlite3_close(raw);
    return failure;
}

}  // namespace testsupport
