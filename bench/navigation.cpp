// Find, Filter and Sort over a client cursor of 1,000,000 rows, against plain loops over the
// same values with the same comparison (ado::Compare, texts through the engine's collator),
// in one run. An indexed Find ("Optimize") is also timed per find on 100,000 and 1,000,000
// rows and against a bookmark jump.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "ado/Regional.h"
#include "ado/ado.h"
#include "ado/cursor/row_store.h"
#include "ado/engine_access.h"
#include "ado/text/collator.h"
#include "support/ratios.h"

namespace {

constexpr size_t kRows = 1'000'000;
constexpr size_t kSmallRows = 100'000;
constexpr int kFinds = 10'000;

const char* const kCities[] = {"Ávila", "avila", "Sevilla", "León", "Lugo", "Málaga", "Cádiz", "Soria",
                               "Zamora", "Teruel", "Orense", "Ourense", "Jaén", "Huesca", "Cuenca", "Toledo"};

// The rows: Codigo (unique, shuffled), Ciudad (16 names, accents and case), Importe (0..999).
struct RawRows {
    std::vector<int32_t> codigo;
    std::vector<std::string> ciudad;
    std::vector<int32_t> importe;
    std::vector<ado::Variant> ciudadV, importeV;  // the same values as the ado layer holds them
};

RawRows MakeRaw(size_t n) {
    RawRows r;
    std::mt19937 rng(7);
    r.codigo.resize(n);
    for (size_t i = 0; i < n; ++i) r.codigo[i] = static_cast<int32_t>(i);
    std::shuffle(r.codigo.begin(), r.codigo.end(), rng);
    for (size_t i = 0; i < n; ++i) {
        r.ciudad.push_back(kCities[rng() % std::size(kCities)]);
        r.importe.push_back(static_cast<int32_t>(rng() % 1000));
        r.ciudadV.emplace_back(r.ciudad.back());
        r.importeV.emplace_back(r.importe.back());
    }
    return r;
}

ado::RecordsetPtr MakeCursor(const RawRows& raw) {
    std::vector<ado::cursor::ColumnInfo> columns(3);
    columns[0].name = "Codigo";
    columns[0].type = ado::adInteger;
    columns[1].name = "Ciudad";
    columns[1].type = ado::adVarWChar;
    columns[2].name = "Importe";
    columns[2].type = ado::adInteger;
    ado::cursor::RowStore store(columns);
    store.Reserve(raw.codigo.size(), raw.codigo.size() * 8);
    for (size_t i = 0; i < raw.codigo.size(); ++i) {
        store.BeginRow();
        store.PutInt(raw.codigo[i]);
        store.PutText(raw.ciudad[i]);
        store.PutInt(raw.importe[i]);
    }
    auto rs = ado::Recordset::Create();
    rs->CursorLocation(ado::adUseClient);
    ado::detail::EngineAccess::Adopt(*rs, std::move(store), nullptr, "bench");
    return rs;
}

const RawRows& Raw() {
    static const RawRows raw = MakeRaw(kRows);
    return raw;
}
const RawRows& SmallRaw() {
    static const RawRows raw = MakeRaw(kSmallRows);
    return raw;
}
const ado::RecordsetPtr& Cursor() {
    static const ado::RecordsetPtr rs = MakeCursor(Raw());
    return rs;
}
// Cursors with Codigo optimised.
ado::RecordsetPtr Indexed(const RawRows& raw) {
    ado::RecordsetPtr rs = MakeCursor(raw);
    rs->Fields()["Codigo"].Properties().Item("Optimize").Value(ado::Variant(true));
    return rs;
}
const ado::RecordsetPtr& IndexedCursor() {
    static const ado::RecordsetPtr rs = Indexed(Raw());
    return rs;
}
const ado::RecordsetPtr& SmallIndexedCursor() {
    static const ado::RecordsetPtr rs = Indexed(SmallRaw());
    return rs;
}

std::string Language() {
    const std::string& l = ado::RegionalSettings::Current().language;
    return l.empty() ? "es" : l;
}

// --- Find on an unindexed field: every row is looked at (no row has Importe -1) -----------

void RawFindLoop(benchmark::State& state) {
    const auto& values = Raw().importeV;
    const ado::Variant wanted(-1);
    for (auto _ : state) {
        size_t i = 0;
        while (i < values.size() && ado::Compare(values[i], wanted) != 0) ++i;
        benchmark::DoNotOptimize(i);
    }
}

void CursorFindUnindexed(benchmark::State& state) {
    const auto& rs = Cursor();
    for (auto _ : state) {
        rs->Find("Importe = -1", 0, ado::adSearchForward, ado::Variant(int32_t{ado::adBookmarkFirst}));
        benchmark::DoNotOptimize(rs->adoEOF());
    }
}

// --- Find through an index, per find; a bookmark jump for scale ------------------------------

std::vector<std::string> FindCriteria(size_t rows) {
    std::mt19937 rng(11);
    std::vector<std::string> v;
    for (int i = 0; i < kFinds; ++i) v.push_back("Codigo = " + std::to_string(rng() % rows));
    return v;
}

void IndexedFinds(benchmark::State& state, const ado::RecordsetPtr& rs, size_t rows) {
    const auto criteria = FindCriteria(rows);
    ado::Field& codigo = rs->Fields()[0];
    for (auto _ : state)
        for (const std::string& c : criteria) {
            rs->Find(c, 0, ado::adSearchForward, ado::Variant(int32_t{ado::adBookmarkFirst}));
            benchmark::DoNotOptimize(codigo.Value().AsI4());
        }
}

void CursorFindIndexed1M(benchmark::State& state) { IndexedFinds(state, IndexedCursor(), kRows); }
void CursorFindIndexed100k(benchmark::State& state) { IndexedFinds(state, SmallIndexedCursor(), kSmallRows); }

void Jumps(benchmark::State& state, const ado::RecordsetPtr& rs, size_t rows) {
    std::vector<ado::Variant> marks;
    std::mt19937 rng(11);
    rs->MoveFirst();
    const ado::Variant first = rs->Bookmark();
    for (int i = 0; i < kFinds; ++i) marks.emplace_back(first.ToDouble() + static_cast<double>(rng() % rows));
    ado::Field& codigo = rs->Fields()[0];
    for (auto _ : state)
        for (const ado::Variant& m : marks) {
            rs->Bookmark(m);
            benchmark::DoNotOptimize(codigo.Value().AsI4());
        }
}

void CursorJumps(benchmark::State& state) { Jumps(state, Cursor(), kRows); }
// The same jumps over 100,000 rows: what the memory of a bigger cursor costs any random access.
void CursorJumps100k(benchmark::State& state) { Jumps(state, SmallIndexedCursor(), kSmallRows); }

// --- Filter Ciudad = 'Soria' AND Importe > 100 -----------------------------------------------

void RawFilterLoop(benchmark::State& state) {
    const auto& raw = Raw();
    const ado::text::Collator collator(Language());
    const ado::Variant hundred(100);
    std::vector<uint32_t> kept;
    for (auto _ : state) {
        kept.clear();
        for (size_t i = 0; i < raw.ciudad.size(); ++i)
            if (collator.Compare(raw.ciudad[i], "Soria") == 0 && ado::Compare(raw.importeV[i], hundred) > 0)
                kept.push_back(static_cast<uint32_t>(i));
        benchmark::DoNotOptimize(kept.data());
    }
}

void CursorFilter(benchmark::State& state) {
    const auto& rs = Cursor();
    for (auto _ : state) {
        rs->Filter(ado::Variant("Ciudad = 'Soria' AND Importe > 100"));
        benchmark::DoNotOptimize(rs->RecordCount());
    }
    rs->Filter(ado::Variant(""));
}

// --- Sort on two columns: Ciudad, Importe DESC ---------------------------------------------

void RawStableSort(benchmark::State& state) {
    const auto& raw = Raw();
    const ado::text::Collator collator(Language());
    std::vector<uint32_t> order(raw.ciudad.size());
    for (auto _ : state) {
        for (uint32_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
            const int r = collator.Compare(raw.ciudad[a], raw.ciudad[b]);
            if (r != 0) return r < 0;
            return ado::Compare(raw.importeV[a], raw.importeV[b]) > 0;
        });
        benchmark::DoNotOptimize(order.data());
    }
}

void CursorSort(benchmark::State& state) {
    const auto& rs = Cursor();
    for (auto _ : state) {
        rs->Sort("Ciudad, Importe DESC");
        state.PauseTiming();
        rs->Sort("");
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(RawFindLoop)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(CursorFindUnindexed)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(CursorFindIndexed1M)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(CursorFindIndexed100k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(CursorJumps)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(CursorJumps100k)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RawFilterLoop)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(CursorFilter)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(RawStableSort)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(CursorSort)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    Cursor();  // built before timing starts
    IndexedCursor();
    SmallIndexedCursor();
    return benchsupport::RunWithRatios(
        argc, argv,
        {{"CursorFindUnindexed", "RawFindLoop", 1.5},
         {"CursorFindIndexed1M", "CursorJumps", 4.0},
         {"CursorFindIndexed1M", "CursorFindIndexed100k", 1.5},
         {"CursorJumps", "CursorJumps100k", 0},
         {"CursorFilter", "RawFilterLoop", 2.0},
         {"CursorSort", "RawStableSort", 2.0}},
        {}, 5, [](const benchsupport::Medians& m) {
            // The benchmarks' unit is the millisecond, over kFinds finds.
            auto perFind = [&](const char* name) { return m.at(name) * 1e6 / kFinds; };
            if (m.count("CursorFindIndexed1M") && m.count("CursorFindIndexed100k"))
                std::printf("%-44s %.0f ns on 1,000,000 rows, %.0f ns on 100,000 rows\n", "indexed Find, per find",
                            perFind("CursorFindIndexed1M"), perFind("CursorFindIndexed100k"));
            if (m.count("CursorJumps") && m.count("CursorJumps100k"))
                std::printf("%-44s %.0f ns on 1,000,000 rows, %.0f ns on 100,000 rows\n", "bookmark jump, per jump",
                            perFind("CursorJumps"), perFind("CursorJumps100k"));
        });
}
