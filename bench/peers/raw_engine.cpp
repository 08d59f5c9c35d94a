// The embedded engine's C API, as plainly as C++ allows: the floor that the libraries on the
// same engine are divided by. Reads take every column of every row in place, copying nothing
// (no library can do less); writes bind and step prepared statements. Built twice: against Debian's libsqlite3 (the peers' engine,
// whose "make" writes the peers' plain data file) and against SQLCipher (ours; a KEY opens an
// encrypted file).
#include <filesystem>
#include <string>

#ifdef PEERS_SQLCIPHER
#include <sqlcipher/sqlite3.h>
#else
#include <sqlite3.h>
#endif

#include "common/program.h"
#include "common/rows.h"
#include "common/sql.h"

namespace {

using peers::Args;
using peers::Require;
using peers::Stopwatch;

class Database {
public:
    Database(const Args& args, int flags) {
        Require(sqlite3_open_v2(args.target.c_str(), &db_, flags, nullptr) == SQLITE_OK, "open " + args.target);
#ifdef PEERS_SQLCIPHER
        if (!args.key.empty()) sqlite3_key(db_, args.key.data(), static_cast<int>(args.key.size()));
        // Our library writes through the write-ahead log with synchronous=NORMAL; its floor too.
        if (flags & SQLITE_OPEN_READWRITE) Exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL");
#else
        Require(args.key.empty(), "libsqlite3 opens no encrypted files");
#endif
    }
    ~Database() { sqlite3_close(db_); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void Exec(const char* sql) { Check(sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK, sql); }
    void Check(bool ok, const char* what) const { Require(ok, std::string(what) + ": " + sqlite3_errmsg(db_)); }
    sqlite3* get() const { return db_; }
    size_t Count(const char* sql);

private:
    sqlite3* db_ = nullptr;
};

class Statement {
public:
    Statement(Database& db, const char* sql) : db_(db) {
        db.Check(sqlite3_prepare_v2(db.get(), sql, -1, &st_, nullptr) == SQLITE_OK, sql);
    }
    ~Statement() { sqlite3_finalize(st_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    operator sqlite3_stmt*() const { return st_; }
    // Steps once; true on a row, false when done, a failure otherwise.
    bool Step() {
        const int rc = sqlite3_step(st_);
        db_.Check(rc == SQLITE_ROW || rc == SQLITE_DONE, "step");
        return rc == SQLITE_ROW;
    }

private:
    Database& db_;
    sqlite3_stmt* st_ = nullptr;
};

size_t Database::Count(const char* sql) {
    Statement st(*this, sql);
    Require(st.Step(), sql);
    return static_cast<size_t>(sqlite3_column_int64(st, 0));
}

// Every column of the current row read as its kind, where the engine keeps it (nothing
// copied): what any library must do at the least.
struct InPlace {
    double sum = 0;
    size_t bytes = 0, nullNotes = 0;
    void Read(sqlite3_stmt* st) {
        sum += static_cast<double>(sqlite3_column_int64(st, 0)) + sqlite3_column_double(st, 2) +
               static_cast<double>(sqlite3_column_int64(st, 3)) + sqlite3_column_double(st, 4);
        const unsigned char* cuenta = sqlite3_column_text(st, 1);
        const unsigned char* nota = sqlite3_column_text(st, 5);  // null for a Null
        bytes += cuenta ? static_cast<size_t>(sqlite3_column_bytes(st, 1)) : 0;
        bytes += nota ? static_cast<size_t>(sqlite3_column_bytes(st, 5)) : 0;
        nullNotes += nota ? 0 : 1;
    }
};

// Rows 1..count of the comparison's data, by the prepared `insert`, in the open transaction.
void InsertRows(Database& db, const char* insert, int count) {
    Statement st(db, insert);
    for (int i = 1; i <= count; ++i) {
        const std::string cuenta = peers::Cuenta(i);
        sqlite3_bind_int(st, 1, i);
        sqlite3_bind_text(st, 2, cuenta.data(), static_cast<int>(cuenta.size()), SQLITE_STATIC);
        sqlite3_bind_double(st, 3, peers::Importe(i));
        sqlite3_bind_int(st, 4, peers::Unidades(i));
        sqlite3_bind_double(st, 5, peers::Fecha(i));
        if (peers::NotaNull(i)) sqlite3_bind_null(st, 6);
        else sqlite3_bind_text(st, 6, peers::kNota.data(), static_cast<int>(peers::kNota.size()), SQLITE_STATIC);
        st.Step();
        sqlite3_reset(st);
    }
}

// The plain data file: the engine's own types and collations, nothing of our library.
size_t Make(const Args& args, Stopwatch& watch) {
    std::filesystem::remove(args.target);
    Database db(args, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    watch.Start();
    db.Exec("CREATE TABLE Movimientos (Id INTEGER PRIMARY KEY, Cuenta TEXT, Importe REAL, Unidades INTEGER, "
            "Fecha REAL, Nota TEXT)");
    db.Exec("CREATE TABLE Entradas (Id INTEGER PRIMARY KEY, Cuenta TEXT, Importe REAL, Unidades INTEGER, "
            "Fecha REAL, Nota TEXT)");
    db.Exec("BEGIN");
    InsertRows(db, "INSERT INTO Movimientos VALUES (?, ?, ?, ?, ?, ?)", peers::kRows);
    db.Exec("COMMIT");
    watch.Stop();
    return db.Count("SELECT COUNT(*) FROM Movimientos");
}

size_t Read(const Args& args, Stopwatch& watch) {
    Database db(args, SQLITE_OPEN_READONLY);
    size_t rows = 0;
    InPlace values;
    watch.Start();
    {
        Statement st(db, peers::sql::kRead);
        for (; st.Step(); ++rows) values.Read(st);
    }
    watch.Stop();
    Require(values.bytes > 0 && values.sum > 0, "the values read are empty");
    return peers::CheckedRead(rows, values.nullNotes);
}

size_t Insert(const Args& args, Stopwatch& watch) {
    Database db(args, SQLITE_OPEN_READWRITE);
    watch.Start();
    db.Exec("BEGIN");
    InsertRows(db, peers::sql::kInsert, peers::kInserts);
    db.Exec("COMMIT");
    watch.Stop();
    return db.Count(peers::sql::kCountInserted);
}

size_t Update(const Args& args, Stopwatch& watch) {
    Database db(args, SQLITE_OPEN_READWRITE);
    watch.Start();
    db.Exec("BEGIN");
    {
        Statement st(db, peers::sql::kUpdate);
        for (int k = 0; k < peers::kUpdates; ++k) {
            const int key = peers::KeyOf(k);
            sqlite3_bind_double(st, 1, peers::UpdatedImporte(key));
            sqlite3_bind_int(st, 2, peers::UpdatedUnidades(key));
            sqlite3_bind_int(st, 3, key);
            st.Step();
            Require(sqlite3_changes(db.get()) == 1, "update of " + std::to_string(key));
            sqlite3_reset(st);
        }
    }
    db.Exec("COMMIT");
    watch.Stop();
    return db.Count(peers::sql::kCountUpdated);
}

size_t Lookup(const Args& args, Stopwatch& watch) {
    Database db(args, SQLITE_OPEN_READONLY);
    size_t found = 0;
    InPlace values;
    watch.Start();
    {
        Statement st(db, peers::sql::kLookup);
        for (int k = 0; k < peers::kLookups; ++k) {
            const int key = peers::KeyOf(k);
            sqlite3_bind_int(st, 1, key);
            if (st.Step()) {
                values.Read(st);
                peers::CheckLookup(sqlite3_column_int64(st, 0), key);
                ++found;
            }
            sqlite3_reset(st);
        }
    }
    watch.Stop();
    Require(values.bytes > 0, "the values read are empty");
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    return peers::Main(argc, argv,
                       {{"make", Make}, {"read", Read}, {"insert", Insert}, {"update", Update}, {"lookup", Lookup}});
}
