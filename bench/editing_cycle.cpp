// The edit cycle of the library against the same edits through bare ado calls: 10,000
// Editar + Actualizar cycles (each row written to the file) inside one transaction, so that
// the library's own work (steps, checks, events, error publication) is what differs.
#include <filesystem>
#include <string>

#include "ado/ado.h"
#include "quimera/clsAccesoDatos.h"
#include "support/ratios.h"
#include "support/scratch.h"

namespace {

constexpr int kRows = 10'000;

const std::string& DatabaseFile() {
    static const std::string file = [] {
        const auto path = benchsupport::ScratchFile("brezal-bench-editing.db");
        std::filesystem::remove(path);
        const std::string f = path.string();
        ado::CreateDatabase("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + f);
        auto cn = ado::Connection::Create();
        cn->Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + f);
        cn->Execute("CREATE TABLE Articulos (Codigo TEXT(10) PRIMARY KEY, Nombre TEXT(40), Existencias LONG, "
                    "Precio DOUBLE)");
        cn->BeginTrans();
        for (int i = 1; i <= kRows; ++i)
            cn->Execute("INSERT INTO Articulos VALUES ('A" + std::to_string(i) + "', 'artículo', 0, 1.5)");
        cn->CommitTrans();
        return f;
    }();
    return file;
}

struct Cursor {
    ado::ConnectionPtr cn = ado::Connection::Create();
    ado::RecordsetPtr rs = ado::Recordset::Create();
    Cursor() {
        cn->CursorLocation(ado::adUseClient);
        cn->Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + DatabaseFile());
        rs->Open("SELECT * FROM Articulos", cn, ado::adOpenKeyset, ado::adLockOptimistic, ado::adCmdText);
    }
};

// Runs `edit` on every row, inside one transaction; each iteration writes new values.
template <class Edit>
void EveryRow(benchmark::State& state, Cursor& c, Edit&& edit) {
    int32_t round = 0;
    for (auto _ : state) {
        ++round;
        c.cn->BeginTrans();
        for (c.rs->MoveFirst(); !c.rs->adoEOF(); c.rs->MoveNext()) edit(round);
        c.cn->CommitTrans();
    }
}

void LibraryEditCycle(benchmark::State& state) {
    Cursor c;
    quimera::clsAccesoDatos acceso;
    ado::Field& existencias = c.rs->Fields()[2];
    EveryRow(state, c, [&](int32_t round) {
        if (!acceso.Editar(c.rs)) std::abort();
        existencias.Value(round);
        if (!acceso.Actualizar(c.rs)) std::abort();
    });
}

// What Editar and Actualizar do to the recordset: the first field written back, the change,
// the save.
void AdoEditCycle(benchmark::State& state) {
    Cursor c;
    ado::Field& codigo = c.rs->Fields()[0];
    ado::Field& existencias = c.rs->Fields()[2];
    EveryRow(state, c, [&](int32_t round) {
        codigo.Value(codigo.Value());
        existencias.Value(round);
        c.rs->Update();
    });
}

// The change and the save alone, as a program that drives ado itself would write them.
void AdoChangeOnly(benchmark::State& state) {
    Cursor c;
    ado::Field& existencias = c.rs->Fields()[2];
    EveryRow(state, c, [&](int32_t round) {
        existencias.Value(round);
        c.rs->Update();
    });
}

}  // namespace

// Medians of five runs: the ratio is read on a machine other builds share.
BENCHMARK(AdoChangeOnly)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(AdoEditCycle)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(LibraryEditCycle)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv) {
    DatabaseFile();
    return benchsupport::RunWithRatios(argc, argv, {{"LibraryEditCycle", "AdoEditCycle", 1.15}});
}
