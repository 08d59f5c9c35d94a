// The data services of clsDatosAvanzado against raw engine calls in the same run:
//  - 10,000 ObtenerDato lookups by key against a raw loop that prepares the same SELECT text,
//    steps it once and finalizes it (what a lookup by a criterion text costs the engine), and,
//    for information, against one prepared statement bound again for every key;
//  - VolcarDatos97 copying 100,000 rows between two files against a raw loop that inserts the
//    same rows one statement per row, both inside one transaction of the destination with the
//    engine's default journal;
//  - ObtenerContadorLibre over 30,000 numbers whose lowest gap is 29,990, its own time (goal:
//    under 50 ms).
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <sqlcipher/sqlite3.h>

#include "ado/ado.h"
#include "quimera/clsDatosAvanzado.h"
#include "support/ratios.h"
#include "support/scratch.h"

namespace {

constexpr int kArticulos = 10'000;
constexpr int kLookups = 10'000;
constexpr int kCopia = 100'000;
constexpr int kNumeros = 30'000, kHueco = 29'990;

std::string Cadena(const std::string& file) { return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + file + ";"; }

std::string NuevoArchivo(const char* name) {
    const auto path = benchsupport::ScratchFile(name);
    std::filesystem::remove(path);
    ado::CreateDatabase(Cadena(path.string()));
    return path.string();
}

ado::ConnectionPtr Conectar(const std::string& file) {
    auto cn = ado::Connection::Create();
    cn->CursorLocation(ado::adUseClient);
    cn->Open(Cadena(file));
    return cn;
}

// Articulos (Codigo LONG key, Nombre, Precio) with kArticulos rows; Movimientos with kCopia.
const std::string& Origen() {
    static const std::string file = [] {
        const std::string f = NuevoArchivo("brezal-bench-services.db");
        auto cn = Conectar(f);
        cn->Execute("CREATE TABLE Articulos (Codigo LONG PRIMARY KEY, Nombre TEXT(40), Precio CURRENCY)");
        cn->Execute("CREATE TABLE Movimientos (Id LONG PRIMARY KEY, Cuenta TEXT(20), Importe CURRENCY, "
                    "Fecha DATETIME, Nota TEXT(40))");
        cn->BeginTrans();
        for (int i = 1; i <= kArticulos; ++i)
            cn->Execute("INSERT INTO Articulos VALUES (" + std::to_string(i) + ", 'artículo " + std::to_string(i) +
                        "', 1.5)");
        cn->Execute("CREATE TABLE Numeros (Numero LONG)");
        for (int i = 1; i <= kNumeros; ++i)
            if (i != kHueco) cn->Execute("INSERT INTO Numeros VALUES (" + std::to_string(i) + ")");
        for (int i = 1; i <= kCopia; ++i)
            cn->Execute("INSERT INTO Movimientos VALUES (" + std::to_string(i) + ", 'C" + std::to_string(i % 97) +
                        "', " + std::to_string(i % 1000) + ".25, #2024-01-01# + " + std::to_string(i % 365) + ", " +
                        (i % 3 ? "'nota'" : "NULL") + ")");
        cn->CommitTrans();
        return f;
    }();
    return file;
}

std::vector<int> Claves() {
    std::mt19937 rng(7);
    std::vector<int> v(kLookups);
    for (int& k : v) k = static_cast<int>(rng() % kArticulos) + 1;
    return v;
}

void RawLookupPrepared(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(Origen().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    const auto claves = Claves();
    for (auto _ : state)
        for (int k : claves) {
            const std::string sql = "SELECT Nombre FROM Articulos WHERE Codigo = " + std::to_string(k);
            sqlite3_stmt* st = nullptr;
            sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &st, nullptr);
            if (sqlite3_step(st) == SQLITE_ROW) benchmark::DoNotOptimize(std::string(
                reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), static_cast<size_t>(sqlite3_column_bytes(st, 0))));
            sqlite3_finalize(st);
        }
    sqlite3_close(db);
}

void RawLookupBound(benchmark::State& state) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(Origen().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT Nombre FROM Articulos WHERE Codigo = ?1", -1, &st, nullptr);
    const auto claves = Claves();
    for (auto _ : state)
        for (int k : claves) {
            sqlite3_bind_int(st, 1, k);
            if (sqlite3_step(st) == SQLITE_ROW) benchmark::DoNotOptimize(std::string(
                reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), static_cast<size_t>(sqlite3_column_bytes(st, 0))));
            sqlite3_reset(st);
        }
    sqlite3_finalize(st);
    sqlite3_close(db);
}

void LibraryObtenerDato(benchmark::State& state) {
    auto cn = Conectar(Origen());
    quimera::clsDatosAvanzado datos;
    const auto claves = Claves();
    for (auto _ : state)
        for (int k : claves)
            benchmark::DoNotOptimize(datos.ObtenerDato("Articulos", "Nombre", cn, "Codigo = " + std::to_string(k)));
}

const std::string& Destino() {
    static const std::string file = [] {
        const std::string f = NuevoArchivo("brezal-bench-services-copy.db");
        Conectar(f)->Execute("CREATE TABLE Movimientos (Id LONG PRIMARY KEY, Cuenta TEXT(20), Importe CURRENCY, "
                             "Fecha DATETIME, Nota TEXT(40))");
        return f;
    }();
    return file;
}

void Vaciar() { Conectar(Destino())->Execute("DELETE FROM Movimientos"); }

void RawCopy(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Vaciar();
        state.ResumeTiming();
        sqlite3* src = nullptr;
        sqlite3* dst = nullptr;
        sqlite3_open_v2(Origen().c_str(), &src, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_open_v2(Destino().c_str(), &dst, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(dst, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* read = nullptr;
        sqlite3_stmt* write = nullptr;
        sqlite3_prepare_v2(src, "SELECT Id, Cuenta, Importe, Fecha, Nota FROM Movimientos", -1, &read, nullptr);
        sqlite3_prepare_v2(dst, "INSERT INTO Movimientos VALUES (?1, ?2, ?3, ?4, ?5)", -1, &write, nullptr);
        while (sqlite3_step(read) == SQLITE_ROW) {
            for (int c = 0; c < 5; ++c) sqlite3_bind_value(write, c + 1, sqlite3_column_value(read, c));
            sqlite3_step(write);
            sqlite3_reset(write);
        }
        sqlite3_finalize(read);
        sqlite3_finalize(write);
        sqlite3_exec(dst, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(src);
        sqlite3_close(dst);
    }
}

void LibraryVolcarDatos97(benchmark::State& state) {
    quimera::clsDatosAvanzado datos;
    for (auto _ : state) {
        state.PauseTiming();
        Vaciar();
        state.ResumeTiming();
        auto origen = Conectar(Origen());
        auto destino = Conectar(Destino());
        destino->BeginTrans();
        if (!datos.VolcarDatos97("Movimientos", origen, destino, "Movimientos", "*")) state.SkipWithError("failed");
        destino->CommitTrans();
    }
}

void LibraryObtenerContadorLibre(benchmark::State& state) {
    auto cn = Conectar(Origen());
    quimera::clsDatosAvanzado datos;
    for (auto _ : state)
        if (datos.ObtenerContadorLibre("Numeros", "Numero", cn) != kHueco) state.SkipWithError("wrong gap");
}

}  // namespace

BENCHMARK(RawLookupPrepared)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(RawLookupBound)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(LibraryObtenerDato)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(RawCopy)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(LibraryVolcarDatos97)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(LibraryObtenerContadorLibre)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    Origen();
    Destino();
    return benchsupport::RunWithRatios(argc, argv,
                                       {{"LibraryObtenerDato", "RawLookupPrepared", 2.5},
                                        {"LibraryObtenerDato", "RawLookupBound", 0},
                                        {"LibraryVolcarDatos97", "RawCopy", 1.5},
                                        {"LibraryObtenerContadorLibre", "", 0}},
                                       {}, 5);
}
