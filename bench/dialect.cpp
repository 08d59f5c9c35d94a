// The Access dialect's own constructs against what a programmer would hand-write for the
// engine: a crosstab over 100,000 rows (TRANSFORM ... PIVOT, through the library, its pivot
// values read first) against one GROUP BY with a SUM(CASE ...) column per value, run by the
// raw engine on the same file.
#include <sqlcipher/sqlite3.h>

#include <filesystem>
#include <string>

#include "ado/ado.h"
#include "ado/providers/sqlite/text_collation.h"
#include "support/ratios.h"
#include "support/raw_table.h"
#include "support/scratch.h"

namespace {

constexpr int kRows = 100'000;
constexpr int kRegions = 8;

const std::string& DatabaseFile() {
    static const std::string file = [] {
        const std::string f = benchsupport::ScratchFile("brezal-bench-dialect.db").string();
        benchsupport::MakeRawTable(
            f, "CREATE TABLE Ventas (Id LONG PRIMARY KEY, Vendedor LONG, Region TEXT(20), Importe DOUBLE)",
            "INSERT INTO Ventas VALUES (?1, ?2, ?3, ?4)", kRows, [](sqlite3_stmt* st, int i) {
                const std::string region = "Region " + std::to_string(i % kRegions);
                sqlite3_bind_int(st, 1, i);
                sqlite3_bind_int(st, 2, i % 50);
                sqlite3_bind_text(st, 3, region.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_double(st, 4, (i % 1000) * 0.5);
            });
        return f;
    }();
    return file;
}

void Crosstab(benchmark::State& state) {
    auto cn = ado::Connection::Create();
    cn->CursorLocation(ado::adUseClient);
    cn->Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + DatabaseFile());
    for (auto _ : state) {
        auto rs = ado::Recordset::Create();
        rs->Open("TRANSFORM Sum(Importe) SELECT Vendedor FROM Ventas GROUP BY Vendedor PIVOT Region", cn,
                 ado::adOpenStatic, ado::adLockReadOnly, ado::adCmdText);
        if (rs->Fields().Count() != kRegions + 1) std::abort();
        benchmark::DoNotOptimize(rs->RecordCount());
    }
}

// The same result as the raw engine gives it to a programmer who knows the values.
void HandWritten(benchmark::State& state) {
    std::string sql = "SELECT Vendedor";
    for (int r = 0; r < kRegions; ++r)
        sql += ", SUM(CASE WHEN Region = 'Region " + std::to_string(r) + "' THEN Importe END)";
    sql += " FROM Ventas GROUP BY Vendedor";
    sqlite3* db = nullptr;
    sqlite3_open_v2(DatabaseFile().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    ado::sqlite::RegisterAccessCollation(db, "es");  // the texts compare as the file says
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) std::abort();
        int rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c <= kRegions; ++c) benchmark::DoNotOptimize(sqlite3_column_double(st, c));
            ++rows;
        }
        sqlite3_finalize(st);
        if (rows != 50) std::abort();
    }
    sqlite3_close(db);
}

}  // namespace

BENCHMARK(HandWritten)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(Crosstab)->Unit(benchmark::kMillisecond)->Iterations(5);

int main(int argc, char** argv) {
    DatabaseFile();
    return benchsupport::RunWithRatios(argc, argv, {{"Crosstab", "HandWritten", 2.0}});
}
