// The comparison as data: the workloads, and the contenders with the data each works on and
// the raw floor of its own engine that its times are divided by.
#pragma once

#include <string_view>

namespace peers {

// What a contender works on: a fresh copy of one of the data files, or the server.
enum class Data { PlainFile, OurFile, OurKeyFile, Server };

enum class Role {
    Floor,          // the engine's C API: the others are divided by it
    Peer,           // another library
    Ours,           // our library, judged against the peers
    OursEncrypted,  // our library on the encrypted copy, reported beside
};

struct Contender {
    std::string_view label;
    std::string_view program;  // an executable beside the driver
    Data data;
    Role role;
    std::string_view floor;  // the label of the floor it is divided by (a floor: itself)
};

inline constexpr Contender kContenders[] = {
    {"sqlite3 C API", "peers_raw_sqlite", Data::PlainFile, Role::Floor, "sqlite3 C API"},
    {"SOCI sqlite3", "peers_soci", Data::PlainFile, Role::Peer, "sqlite3 C API"},
    {"Qt QSQLITE", "peers_qt", Data::PlainFile, Role::Peer, "sqlite3 C API"},
    {"SQLiteCpp", "peers_sqlitecpp", Data::PlainFile, Role::Peer, "sqlite3 C API"},
    {"SQLCipher C API", "peers_raw_sqlcipher", Data::OurFile, Role::Floor, "SQLCipher C API"},
    {"brezal", "peers_brezal", Data::OurFile, Role::Ours, "SQLCipher C API"},
    {"SQLCipher C API, key", "peers_raw_sqlcipher", Data::OurKeyFile, Role::Floor, "SQLCipher C API, key"},
    {"brezal, key", "peers_brezal", Data::OurKeyFile, Role::OursEncrypted, "SQLCipher C API, key"},
    {"ODBC C API", "peers_raw_odbc", Data::Server, Role::Floor, "ODBC C API"},
    {"SOCI odbc", "peers_soci", Data::Server, Role::Peer, "ODBC C API"},
    {"Qt QODBC", "peers_qt", Data::Server, Role::Peer, "ODBC C API"},
    {"brezal ODBC", "peers_brezal", Data::Server, Role::Ours, "ODBC C API"},
};

struct WorkloadInfo {
    std::string_view name;  // as the programs take it
    std::string_view title;
    bool server;  // run by the server's contenders, not the files'
};

inline constexpr WorkloadInfo kWorkloadInfo[] = {
    {"read", "read 1,000,000 rows x 6 columns into memory", false},
    {"insert", "100,000 inserts in one transaction", false},
    {"update", "10,000 updates by key in one transaction", false},
    {"lookup", "a prepared lookup by key, run 10,000 times", false},
    {"odbc_read", "read 1,000,000 rows x 6 columns over ODBC (PostgreSQL)", true},
};

inline bool Runs(const Contender& c, const WorkloadInfo& w) { return (c.data == Data::Server) == w.server; }

}  // namespace peers
