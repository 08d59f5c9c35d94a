// A benchmark table: defined through the library (so its columns are typed and collated as
// the library keeps them), then filled by the raw engine in one transaction, so that filling
// costs nothing of what is measured.
#pragma once

#include <filesystem>
#include <string>

#include <sqlcipher/sqlite3.h>

#include "ado/ado.h"

namespace benchsupport {

// A new database file at `file` (any old one removed) holding the table `createTable` makes,
// with rows 1..rows inserted by `insert`, whose parameters `bind(statement, i)` sets.
template <class Bind>
void MakeRawTable(const std::string& file, const std::string& createTable, const char* insert, int rows,
                  Bind bind) {
    std::filesystem::remove(file);
    const std::string cs = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file;
    ado::CreateDatabase(cs);
    auto cn = ado::Connection::Create();
    cn->Open(cs);
    cn->Execute(createTable);
    cn->Close();
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, insert, -1, &st, nullptr);
    for (int i = 1; i <= rows; ++i) {
        bind(st, i);
        sqlite3_step(st);
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

}  // namespace benchsupport
