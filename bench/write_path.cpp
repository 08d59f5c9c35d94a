// The write path against raw engine calls: immediate inserts and updates, a batch of
// pending inserts, a prepared command run again and again, and saves one by one (each its
// own transaction, as business programs save), whose rows per second are printed too.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <sqlcipher/sqlite3.h>

#include "ado/ado.h"
#include "support/ratios.h"
#include "support/raw_table.h"
#include "support/scratch.h"

namespace {

constexpr int kRows = 100'000;
constexpr int kCommandRuns = 10'000;
constexpr int kSingleSaves = 1'000;

// A fresh database file with an empty table (or `rows` rows) for each measurement.
std::string FreshDatabase(int rows = 0) {
    const std::string file = benchsupport::ScratchFile("brezal-bench-write.db").string();
    benchsupport::MakeRawTable(
        file, "CREATE TABLE Lineas (Id INTEGER PRIMARY KEY, Producto TEXT(40), Cantidad LONG, Precio DOUBLE)",
        "INSERT INTO Lineas VALUES (?1, 'producto', ?1, 1.5)", rows,
        [](sqlite3_stmt* st, int i) { sqlite3_bind_int(st, 1, i); });
    return file;
}

ado::ConnectionPtr Connect(const std::string& file) {
    auto cn = ado::Connection::Create();
    cn->CursorLocation(ado::adUseClient);
    cn->Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file);
    return cn;
}

ado::RecordsetPtr OpenLines(const ado::ConnectionPtr& cn, ado::LockTypeEnum lock) {
    auto rs = ado::Recordset::Create();
    rs->Open("SELECT * FROM Lineas", cn, ado::adOpenStatic, lock, ado::adCmdText);
    return rs;
}

// Raw prepared statement run `n` times in one transaction, or each run in its own.
void RawLoop(const std::string& file, const char* sql, int n, bool oneTransaction = true) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    // The settings the library writes with: relationships checked, the write-ahead log.
    sqlite3_exec(db, "PRAGMA foreign_keys = ON; PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL", nullptr,
                 nullptr, nullptr);
    if (oneTransaction) sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    for (int i = 1; i <= n; ++i) {
        sqlite3_bind_int(st, 1, i);
        sqlite3_bind_text(st, 2, "producto", -1, SQLITE_STATIC);
        sqlite3_bind_int(st, 3, i);
        sqlite3_bind_double(st, 4, 1.5);
        if (sqlite3_step(st) != SQLITE_DONE) std::abort();
        sqlite3_reset(st);
    }
    sqlite3_finalize(st);
    if (oneTransaction) sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// The rows every insert benchmark writes, through AddNew and Update.
void AddRows(ado::Recordset& rs, int rows = kRows) {
    ado::Fields& f = rs.Fields();
    for (int i = 1; i <= rows; ++i) {
        rs.AddNew();
        f[0].Value(i);
        f[1].Value("producto");
        f[2].Value(i);
        f[3].Value(1.5);
        rs.Update();
    }
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// `rows` inserts into a fresh table, in one transaction or each in its own; each run's
// wall-clock seconds go to `wall` when it is given.
void RawInserts(benchmark::State& state, int rows, bool oneTransaction, std::vector<double>* wall = nullptr) {
    for (auto _ : state) {
        state.PauseTiming();
        const std::string file = FreshDatabase();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        RawLoop(file, "INSERT INTO Lineas (Id, Producto, Cantidad, Precio) VALUES (?1, ?2, ?3, ?4)", rows,
                oneTransaction);
        if (wall) wall->push_back(SecondsSince(start));
    }
}

// The same through AddNew and Update on a client cursor.
void LibraryInserts(benchmark::State& state, int rows, bool oneTransaction, std::vector<double>* wall = nullptr) {
    for (auto _ : state) {
        state.PauseTiming();
        const std::string file = FreshDatabase();
        auto cn = Connect(file);
        auto rs = OpenLines(cn, ado::adLockOptimistic);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        if (oneTransaction) cn->BeginTrans();
        AddRows(*rs, rows);
        if (oneTransaction) cn->CommitTrans();
        if (wall) wall->push_back(SecondsSince(start));
    }
}

void RawInsert(benchmark::State& state) { RawInserts(state, kRows, true); }
void AddNewUpdate(benchmark::State& state) { LibraryInserts(state, kRows, true); }

void RawUpdate(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const std::string file = FreshDatabase(kRows);
        state.ResumeTiming();
        RawLoop(file, "UPDATE Lineas SET Cantidad = ?3 WHERE Id = ?1 AND Cantidad = ?1", kRows);
    }
}

void EditUpdate(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const std::string file = FreshDatabase(kRows);
        auto cn = Connect(file);
        auto rs = OpenLines(cn, ado::adLockOptimistic);
        ado::Field& cantidad = rs->Fields()[2];
        state.ResumeTiming();
        cn->BeginTrans();
        for (int i = 1; !rs->adoEOF(); rs->MoveNext(), ++i) {
            cantidad.Value(i + 1);
            rs->Update();
        }
        cn->CommitTrans();
    }
}

void BatchInsert(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const std::string file = FreshDatabase();
        auto cn = Connect(file);
        auto rs = OpenLines(cn, ado::adLockBatchOptimistic);
        AddRows(*rs);
        state.ResumeTiming();
        rs->UpdateBatch();
    }
}

void RawCommand(benchmark::State& state) {
    const std::string file = FreshDatabase(100);
    for (auto _ : state) RawLoop(file, "UPDATE Lineas SET Cantidad = Cantidad + 1 WHERE Id = ?1 % 100 + 1", kCommandRuns);
}

void PreparedCommand(benchmark::State& state) {
    const std::string file = FreshDatabase(100);
    auto cn = Connect(file);
    auto cmd = ado::Command::Create();
    cmd->ActiveConnection(cn);
    cmd->CommandText("UPDATE Lineas SET Cantidad = Cantidad + 1 WHERE Id = ? MOD 100 + 1");
    cmd->Prepared(true);
    cmd->Parameters().Append(cmd->CreateParameter("Id", ado::adInteger));
    ado::Parameter& id = *cmd->Parameters().Item(0);
    for (auto _ : state) {
        cn->BeginTrans();
        for (int i = 1; i <= kCommandRuns; ++i) {
            id.Value(ado::Variant(i));
            cmd->Execute(nullptr, ado::Variant(), ado::adExecuteNoRecords);
        }
        cn->CommitTrans();
    }
}

// Saves one by one, each its own transaction: the wall-clock seconds of each run, for the
// rows per second.
std::vector<double> rawSaveSeconds, librarySaveSeconds;

void RawSingleSaves(benchmark::State& state) { RawInserts(state, kSingleSaves, false, &rawSaveSeconds); }
void SingleSaves(benchmark::State& state) { LibraryInserts(state, kSingleSaves, false, &librarySaveSeconds); }

}  // namespace

BENCHMARK(RawInsert)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(AddNewUpdate)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RawUpdate)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(EditUpdate)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BatchInsert)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RawCommand)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(PreparedCommand)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(RawSingleSaves)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(SingleSaves)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    return benchsupport::RunWithRatios(
        argc, argv,
        {{"AddNewUpdate", "RawInsert", 1.5},
         {"EditUpdate", "RawUpdate", 1.5},
         {"BatchInsert", "RawInsert", 1.3},
         {"PreparedCommand", "RawCommand", 1.3},
         {"SingleSaves", "RawSingleSaves", 1.2}},
        {}, 7, [](const benchsupport::Medians&) {
            if (rawSaveSeconds.empty() || librarySaveSeconds.empty()) return;
            std::printf("%-44s raw %.0f, library %.0f rows/s (wall clock, write-ahead log, synchronous=NORMAL)\n",
                        "saves one by one", kSingleSaves / benchsupport::Median(rawSaveSeconds),
                        kSingleSaves / benchsupport::Median(librarySaveSeconds));
        });
}
