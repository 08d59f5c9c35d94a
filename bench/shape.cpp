// A SHAPE hierarchy of 10,000 parents with 10 children each: opening it through MSDataShape
// and walking every chapter, against two raw queries whose child rows are joined to their
// parents through a hash table, in one run.
#include <sqlcipher/sqlite3.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "ado/ado.h"
#include "support/ratios.h"
#include "support/raw_table.h"
#include "support/scratch.h"

namespace {

constexpr int kParents = 10'000;
constexpr int kChildren = 10;

constexpr const char* kParentQuery = "SELECT IdPedido, Cliente FROM Pedidos";
constexpr const char* kChildQuery = "SELECT IdPedido, Linea, Importe FROM Lineas";

const std::string& DatabaseFile() {
    static const std::string file = [] {
        const std::string path = benchsupport::ScratchFile("bench_shape.db").string();
        benchsupport::MakeRawTable(path, "CREATE TABLE Pedidos (IdPedido LONG PRIMARY KEY, Cliente TEXT(20))",
                                   "INSERT INTO Pedidos VALUES (?, 'cliente')", kParents,
                                   [](sqlite3_stmt* st, int i) { sqlite3_bind_int(st, 1, i); });
        // The children go into the same file, after the parents.
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        sqlite3_exec(db,
                     "CREATE TABLE Lineas (IdPedido INTEGER, Linea INTEGER, Importe REAL, PRIMARY KEY (IdPedido, "
                     "Linea))",
                     nullptr, nullptr, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO Lineas VALUES (?, ?, ?)", -1, &st, nullptr);
        for (int p = 1; p <= kParents; ++p)
            for (int l = 1; l <= kChildren; ++l) {
                sqlite3_bind_int(st, 1, p);
                sqlite3_bind_int(st, 2, l);
                sqlite3_bind_double(st, 3, l * 1.5);
                sqlite3_step(st);
                sqlite3_reset(st);
            }
        sqlite3_finalize(st);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return path;
    }();
    return file;
}

struct RawParent {
    int64_t id;
    std::string cliente;
};
struct RawChild {
    int64_t pedido, linea;
    double importe;
};

void RawShape(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(DatabaseFile().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    for (auto _ : state) {
        std::vector<RawParent> parents;
        std::vector<RawChild> children;
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, kParentQuery, -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            parents.push_back({sqlite3_column_int64(st, 0),
                               reinterpret_cast<const char*>(sqlite3_column_text(st, 1))});
        sqlite3_finalize(st);
        sqlite3_prepare_v2(db, kChildQuery, -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            children.push_back({sqlite3_column_int64(st, 0), sqlite3_column_int64(st, 1), sqlite3_column_double(st, 2)});
        sqlite3_finalize(st);
        std::unordered_map<int64_t, std::vector<size_t>> related;
        for (size_t i = 0; i < children.size(); ++i) related[children[i].pedido].push_back(i);
        double total = 0;
        for (const RawParent& p : parents)
            if (auto it = related.find(p.id); it != related.end())
                for (size_t i : it->second) total += children[i].importe;
        benchmark::DoNotOptimize(total);
    }
    sqlite3_close(db);
}

void LibraryShape(benchmark::State& state) {
    auto cn = ado::Connection::Create();
    cn->Open("Provider=MSDataShape;Data Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + DatabaseFile());
    const std::string shape = std::string("SHAPE {") + kParentQuery + "} APPEND ({" + kChildQuery +
                              "} RELATE IdPedido TO IdPedido) AS Lineas";
    for (auto _ : state) {
        auto rs = ado::Recordset::Create();
        rs->CursorLocation(ado::adUseClient);
        rs->Open(shape, cn, ado::adOpenStatic, ado::adLockReadOnly, ado::adCmdText);
        double total = 0;
        ado::Field& lineas = rs->Fields()["Lineas"];
        for (; !rs->adoEOF(); rs->MoveNext()) {
            ado::RecordsetPtr chapter = lineas.Value().AsObject();
            ado::Field& importe = chapter->Fields()["Importe"];
            for (; !chapter->adoEOF(); chapter->MoveNext()) total += importe.Value().ToDouble();
        }
        benchmark::DoNotOptimize(total);
    }
}

BENCHMARK(RawShape)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(LibraryShape)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    DatabaseFile();
    return benchsupport::RunWithRatios(argc, argv, {{"LibraryShape", "RawShape", 1.5}});
}
