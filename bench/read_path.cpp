// The read path against raw engine calls: opening a 1,000,000-row client cursor, against the
// engine's floor (every column read in place, nothing copied) and against a plain copy into
// memory; a full scan reading every field; 100,000 random bookmark jumps. Memory beside, and
// the cursor's memory against the values' own size (texts' bytes, 8 bytes per number).
#include <malloc.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <sqlcipher/sqlite3.h>

#include "ado/ado.h"
#include "ado/cursor/mapped_memory.h"
#include "support/movimientos.h"
#include "support/ratios.h"

namespace {

using benchsupport::kMovimientos;
constexpr int kRows = kMovimientos;

const std::string& DatabaseFile() { return benchsupport::MovimientosFile(); }

constexpr const char* kQuery = benchsupport::kMovimientosQuery;

// The raw engine's rows, copied into memory as plainly as C++ allows.
struct RawRow {
    int64_t id;
    std::string cuenta;
    double importe;
    int64_t unidades;
    double fecha;  // the date serial, as the file keeps it
    std::string nota;
    bool notaNull;
};

std::string Text(sqlite3_stmt* st, int i) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
    return p ? std::string(p, static_cast<size_t>(sqlite3_column_bytes(st, i))) : std::string();
}

std::vector<RawRow> RawCopy() {
    sqlite3* db = nullptr;
    sqlite3_open_v2(DatabaseFile().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, kQuery, -1, &st, nullptr);
    std::vector<RawRow> rows;
    while (sqlite3_step(st) == SQLITE_ROW)
        rows.push_back({sqlite3_column_int64(st, 0), Text(st, 1), sqlite3_column_double(st, 2),
                        sqlite3_column_int64(st, 3), sqlite3_column_double(st, 4), Text(st, 5),
                        sqlite3_column_type(st, 5) == SQLITE_NULL});
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
}

// What the values themselves take: the texts' bytes and 8 bytes per number or date.
size_t ValuesSize(const std::vector<RawRow>& rows) {
    size_t bytes = 0;
    for (const RawRow& r : rows) bytes += 4 * 8 + r.cuenta.size() + r.nota.size();
    return bytes;
}

ado::ConnectionPtr Connect() { return benchsupport::ConnectMovimientos(); }

ado::RecordsetPtr OpenCursor(const ado::ConnectionPtr& cn) { return benchsupport::OpenMovimientos(cn); }

// Each iteration of the benchmark steps the query through on the raw engine, giving every
// row to `onRow`, and gives the row count to `afterPass`.
template <class OnRow, class AfterPass>
void RawPasses(benchmark::State& state, OnRow onRow, AfterPass afterPass) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(DatabaseFile().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, kQuery, -1, &st, nullptr);
        size_t rows = 0;
        for (; sqlite3_step(st) == SQLITE_ROW; ++rows) onRow(st);
        sqlite3_finalize(st);
        afterPass(rows);
    }
    sqlite3_close(db);
}

// The engine's floor: every row stepped and every column read as its kind, in place.
void EngineFloor(benchmark::State& state) {
    RawPasses(
        state,
        [](sqlite3_stmt* st) {
            benchmark::DoNotOptimize(sqlite3_column_int64(st, 0));
            benchmark::DoNotOptimize(sqlite3_column_text(st, 1));
            benchmark::DoNotOptimize(sqlite3_column_bytes(st, 1));
            benchmark::DoNotOptimize(sqlite3_column_double(st, 2));
            benchmark::DoNotOptimize(sqlite3_column_int64(st, 3));
            benchmark::DoNotOptimize(sqlite3_column_double(st, 4));
            benchmark::DoNotOptimize(sqlite3_column_text(st, 5));
            benchmark::DoNotOptimize(sqlite3_column_bytes(st, 5));
        },
        [](size_t rows) {
            if (rows != kRows) std::abort();
        });
}

void RawOpen(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(RawCopy());
}

void CursorOpen(benchmark::State& state) {
    auto cn = Connect();
    for (auto _ : state) benchmark::DoNotOptimize(OpenCursor(cn));
}

void RawScan(benchmark::State& state) {
    size_t bytes = 0;
    RawPasses(
        state,
        [&](sqlite3_stmt* st) {
            benchmark::DoNotOptimize(sqlite3_column_int64(st, 0) + sqlite3_column_double(st, 2) + sqlite3_column_int64(st, 3));
            bytes += Text(st, 1).size() + Text(st, 4).size() + Text(st, 5).size();
        },
        [&](size_t) {
            benchmark::DoNotOptimize(bytes);
            bytes = 0;
        });
}

void CursorScan(benchmark::State& state) {
    auto cn = Connect();
    auto rs = OpenCursor(cn);
    ado::Fields& f = rs->Fields();
    for (auto _ : state) {
        rs->MoveFirst();
        size_t bytes = 0;
        for (; !rs->adoEOF(); rs->MoveNext()) {
            benchmark::DoNotOptimize(f[0].Value().AsI4() + f[2].Value().AsR8() + f[3].Value().AsI4());
            bytes += f[1].Value().AsString().size() + f[4].Value().AsDate().serial;
            const ado::Variant nota = f[5].Value();
            bytes += nota.IsNull() ? 0 : nota.AsString().size();
        }
        benchmark::DoNotOptimize(bytes);
    }
}

constexpr int kJumps = 100'000;

std::vector<uint32_t> JumpTargets() {
    std::mt19937 rng(11);
    std::vector<uint32_t> v(kJumps);
    for (auto& x : v) x = rng() % kRows;
    return v;
}

void CursorJumps(benchmark::State& state) {
    auto cn = Connect();
    auto rs = OpenCursor(cn);
    std::vector<ado::Variant> marks;
    marks.reserve(kRows);
    for (; !rs->adoEOF(); rs->MoveNext()) marks.push_back(rs->Bookmark());
    const auto targets = JumpTargets();
    ado::Field& id = rs->Fields()[0];
    for (auto _ : state)
        for (uint32_t t : targets) {
            rs->Bookmark(marks[t]);
            benchmark::DoNotOptimize(id.Value().AsI4());
        }
}

// Bytes in use on the heap, large (mmap'ed) blocks included, and in the row stores' own mappings.
size_t HeapInUse() {
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd + ado::cursor::mapped::BytesInUse();
}

std::string Megabytes(size_t bytes) { return std::to_string(bytes / (1024 * 1024)) + " MiB"; }

}  // namespace

BENCHMARK(EngineFloor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RawOpen)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(CursorOpen)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RawScan)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(CursorScan)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(CursorJumps)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    DatabaseFile();
    size_t before = HeapInUse();
    size_t rawBytes = 0, cursorBytes = 0, valuesBytes = 0;
    {
        auto rows = RawCopy();
        rawBytes = HeapInUse() - before;
        valuesBytes = ValuesSize(rows);
    }
    before = HeapInUse();
    {
        auto cn = Connect();
        auto rs = OpenCursor(cn);
        cursorBytes = HeapInUse() - before;
    }
    const double memoryRatio = static_cast<double>(cursorBytes) / static_cast<double>(valuesBytes);
    char ratio[64];
    std::snprintf(ratio, sizeof ratio, "%.2f (goal <= 1.50%s)", memoryRatio, memoryRatio <= 1.5 ? "" : ", MISSED");
    return benchsupport::RunWithRatios(argc, argv,
                                       {{"CursorOpen", "EngineFloor", 1.4},
                                        {"CursorOpen", "RawOpen", 1.3},
                                        {"CursorScan", "RawScan", 0},
                                        {"CursorJumps", "", 0}},
                                       {{"memory of 1,000,000 rows, the values' own size", Megabytes(valuesBytes)},
                                        {"memory of 1,000,000 rows, raw copy", Megabytes(rawBytes)},
                                        {"memory of 1,000,000 rows, client cursor", Megabytes(cursorBytes)},
                                        {"client cursor / the values' own size", ratio}});
}
