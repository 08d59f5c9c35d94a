// Statements of a megabyte through each translator, against the engine reading a flat statement
// of the same size (SELECT 1 WHERE 1 IN (0, 0, ...)): the Access dialect on nested IIF, nested
// parentheses, an "&" chain and nested Nz; ConvertirSQL_SQLServer on nested IIF and an "&"
// chain; clsSQL taking apart nested subqueries. Each must stay linear: goal, under a second.
#include <sqlcipher/sqlite3.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ado/Error.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "quimera/clsAccesoDatos.h"
#include "quimera/clsSQL.h"
#include "support/ratios.h"

namespace {

constexpr size_t kBytes = 1 << 20;

// `open` repeated, then `centre`, then `close` repeated, to about a megabyte.
std::string Nested(const std::string& lead, const std::string& open, const std::string& centre,
                   const std::string& close) {
    const size_t times = kBytes / (open.size() + close.size());
    std::string text = lead;
    text.reserve(kBytes + lead.size() + centre.size());
    for (size_t i = 0; i < times; ++i) text += open;
    text += centre;
    for (size_t i = 0; i < times; ++i) text += close;
    return text;
}

void EngineReadsAMegabyte(benchmark::State& state) {
    const std::string sql = Nested("SELECT 1 WHERE 1 IN (", "0, ", "0)", "");
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    sqlite3_limit(db, SQLITE_LIMIT_SQL_LENGTH, 1 << 30);
    for (auto _ : state) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &st, nullptr) != SQLITE_OK) std::abort();
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
}

// The translation either succeeds or refuses with an ado::Error; either is an answer.
void Translate(benchmark::State& state, const std::string& sql) {
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(ado::sqlite::TranslateAccessSql(sql).sql.size());
        } catch (const ado::Error&) {
        }
    }
}

void DialectIif(benchmark::State& s) { Translate(s, Nested("SELECT ", "IIF(a, ", "1", ", 2)")); }
void DialectParentheses(benchmark::State& s) { Translate(s, Nested("SELECT ", "(", "1", ")")); }
void DialectConcatenation(benchmark::State& s) { Translate(s, Nested("SELECT ", "'x' & ", "'y'", "")); }
void DialectNz(benchmark::State& s) { Translate(s, Nested("SELECT ", "Nz(", "1", ", 0)")); }

void Convert(benchmark::State& state, const std::string& sql) {
    quimera::clsAccesoDatos acceso;
    for (auto _ : state) benchmark::DoNotOptimize(acceso.ConvertirSQL_SQLServer(sql).size());
}

void ConvertIif(benchmark::State& s) { Convert(s, Nested("SELECT ", "IIF(a,", "1", ",b)")); }
void ConvertConcatenation(benchmark::State& s) { Convert(s, Nested("SELECT ", "s & ", "t", "")); }

void TakeApartSubqueries(benchmark::State& state) {
    const std::string sql = Nested("SELECT x FROM t WHERE y IN ", "(SELECT a FROM b WHERE ", "1", ")") + " ORDER BY z";
    quimera::clsSQL sentencia;
    for (auto _ : state) {
        sentencia.Sentencia(sql);
        sentencia.Ordenar("w");
        benchmark::DoNotOptimize(sentencia.Sentencia().size());
    }
}

}  // namespace

BENCHMARK(EngineReadsAMegabyte)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(DialectIif)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(DialectParentheses)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(DialectConcatenation)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(DialectNz)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ConvertIif)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ConvertConcatenation)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(TakeApartSubqueries)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    const char* translators[] = {"DialectIif", "DialectParentheses", "DialectConcatenation", "DialectNz",
                                 "ConvertIif", "ConvertConcatenation", "TakeApartSubqueries"};
    std::vector<benchsupport::Pair> pairs;
    for (const char* name : translators) pairs.push_back({name, "EngineReadsAMegabyte", 0});
    return benchsupport::RunWithRatios(argc, argv, pairs, {}, 3, [&](const benchsupport::Medians& medians) {
        std::printf("\nSeconds for a megabyte (goal: under 1 s)\n");
        for (const char* name : translators) {
            const auto it = medians.find(name);
            if (it == medians.end()) continue;
            const double seconds = it->second / 1000;  // the benchmarks' unit is the millisecond
            std::printf("%-44s %10.3f%s\n", name, seconds, seconds < 1.0 ? "" : "  MISSED");
        }
    });
}
