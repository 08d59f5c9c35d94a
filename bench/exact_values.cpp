// Exact values and Access text in the engine against the engine's own operations on the
// same rows (an in-memory database of 500,000 rows): Currency's exact average and Decimal's
// exact sum and sums of pairs against the engine's integer and real arithmetic, the ACCESS
// collation's sort against the bytewise sort, ICU's UCASE against the engine's upper().
#include <string>

#include <sqlcipher/sqlite3.h>

#include "ado/Regional.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "ado/providers/sqlite/text_collation.h"
#include "support/ratios.h"

namespace {

constexpr int kRows = 500'000;

// One connection with the rows: c Currency (ten-thousandths), r the same amount as a double,
// d the same as a Decimal key, t a name with accents and mixed case.
sqlite3* Database() {
    static sqlite3* db = [] {
        sqlite3* d = nullptr;
        sqlite3_open(":memory:", &d);
        ado::sqlite::RegisterAccessFunctions(d);
        ado::sqlite::RegisterAccessCollation(d, "es");
        const std::string fill =
            "CREATE TABLE v (c CURRENCY, r DOUBLE, d DECIMAL, t TEXT);"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " +
            std::to_string(kRows) +
            ")"
            " INSERT INTO v SELECT i * 12345, i * 1.2345, BZ_DEC_FROM_CUR(i * 12345),"
            " CASE i % 4 WHEN 0 THEN 'Álvaro ' WHEN 1 THEN 'bego ' WHEN 2 THEN 'Ñandú ' ELSE 'JOSÉ ' END"
            " || ((i * 7919) % 100003) FROM n";
        sqlite3_exec(d, fill.c_str(), nullptr, nullptr, nullptr);
        return d;
    }();
    return db;
}

void Scalar(benchmark::State& state, const char* sql) {
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(Database(), sql, -1, &st, nullptr);
    for (auto _ : state) {
        int64_t rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) rows += sqlite3_column_bytes(st, 0);
        sqlite3_reset(st);
        benchmark::DoNotOptimize(rows);
    }
    sqlite3_finalize(st);
}

#define QUERY_BENCHMARK(name, sql) \
    void name(benchmark::State& state) { Scalar(state, sql); } \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->Iterations(3)

QUERY_BENCHMARK(RawIntegerAverage, "SELECT avg(c) FROM v");
QUERY_BENCHMARK(CurrencyAverage, "SELECT BZ_CURAVG(c) FROM v");
QUERY_BENCHMARK(RawRealSum, "SELECT sum(r) FROM v");
QUERY_BENCHMARK(DecimalSum, "SELECT BZ_DEC_SUM(d) FROM v");
QUERY_BENCHMARK(RawRealAddition, "SELECT max(r + r) FROM v");
QUERY_BENCHMARK(DecimalAddition, "SELECT max(BZ_DEC_ADD(d, d)) FROM v");
QUERY_BENCHMARK(RawIntegerProduct, "SELECT max(c * 12345 / 10000) FROM v");
QUERY_BENCHMARK(CurrencyProduct, "SELECT max(BZ_CURMUL(c, 12345)) FROM v");
QUERY_BENCHMARK(RawBytewiseSort, "SELECT t FROM v ORDER BY t");
QUERY_BENCHMARK(AccessSort, "SELECT t FROM v ORDER BY t COLLATE ACCESS");
QUERY_BENCHMARK(RawUpper, "SELECT max(upper(t)) FROM v");
QUERY_BENCHMARK(AccessUpper, "SELECT max(UCASE(t)) FROM v");

}  // namespace

int main(int argc, char** argv) {
    ado::RegionalSettings::SetCurrent(ado::RegionalSettings::Spanish());
    Database();
    return benchsupport::RunWithRatios(argc, argv,
                                       {{"CurrencyAverage", "RawIntegerAverage", 0},
                                        {"DecimalSum", "RawRealSum", 0},
                                        {"DecimalAddition", "RawRealAddition", 0},
                                        {"CurrencyProduct", "RawIntegerProduct", 0},
                                        {"AccessSort", "RawBytewiseSort", 0},
                                        {"AccessUpper", "RawUpper", 0}},
                                       {}, 5);
}
