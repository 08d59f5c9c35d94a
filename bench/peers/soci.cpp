// SOCI 4.0 as its users write it: bulk std::vector into (a block of rows per fetch) and use
// (every row of a write in one execution), a prepared statement for the lookups,
// soci::transaction around the writes; the sqlite3 backend on the plain data file, the odbc
// backend on the server.
#include <ctime>
#include <string>
#include <vector>

#include <soci/odbc/soci-odbc.h>
#include <soci/soci.h>
#include <soci/sqlite3/soci-sqlite3.h>

#include "common/program.h"
#include "common/rows.h"
#include "common/sql.h"

namespace {

using peers::Args;
using peers::Stopwatch;

constexpr size_t kBlock = 1000;  // rows per bulk fetch

// The statements with SOCI's named placeholders.
constexpr const char* kLookup =
    "SELECT Id, Cuenta, Importe, Unidades, Fecha, Nota FROM Movimientos WHERE Id = :id";
constexpr const char* kInsert = "INSERT INTO Entradas (Id, Cuenta, Importe, Unidades, Fecha, Nota) "
                                "VALUES (:id, :cuenta, :importe, :unidades, :fecha, :nota)";
constexpr const char* kUpdate = "UPDATE Movimientos SET Importe = :importe, Unidades = :unidades WHERE Id = :id";

soci::session OpenFile(const Args& args) { return soci::session(soci::sqlite3, "db=" + args.target); }

size_t Count(soci::session& sql, const char* query) {
    long long n = 0;
    sql << query, soci::into(n);
    return static_cast<size_t>(n);
}

// Every row of `query` into memory, a block at a time; Fecha is how the backend gives a date.
template <class Fecha>
std::vector<peers::Movimiento<std::string, Fecha>> ReadAll(soci::session& sql, const char* query) {
    std::vector<int> id, unidades;
    std::vector<std::string> cuenta, nota;
    std::vector<double> importe;
    std::vector<Fecha> fecha;
    std::vector<soci::indicator> notaInd;
    auto resize = [&] {
        id.resize(kBlock), unidades.resize(kBlock), cuenta.resize(kBlock), nota.resize(kBlock);
        importe.resize(kBlock), fecha.resize(kBlock), notaInd.resize(kBlock);
    };
    resize();
    soci::statement st = (sql.prepare << query, soci::into(id), soci::into(cuenta), soci::into(importe),
                          soci::into(unidades), soci::into(fecha), soci::into(nota, notaInd));
    st.execute();
    std::vector<peers::Movimiento<std::string, Fecha>> rows;
    while (st.fetch()) {  // each fetch shrinks the vectors to the rows it read
        for (size_t r = 0; r < id.size(); ++r)
            rows.push_back({id[r], std::move(cuenta[r]), importe[r], unidades[r], fecha[r],
                            notaInd[r] == soci::i_null ? std::nullopt : std::optional(std::move(nota[r]))});
        resize();
    }
    return rows;
}

size_t Read(const Args& args, Stopwatch& watch) {
    soci::session sql = OpenFile(args);
    watch.Start();
    const auto rows = ReadAll<double>(sql, peers::sql::kRead);
    watch.Stop();
    return peers::CheckedRead(rows);
}

size_t Insert(const Args& args, Stopwatch& watch) {
    soci::session sql = OpenFile(args);
    watch.Start();
    std::vector<int> id, unidades;
    std::vector<std::string> cuenta, nota;
    std::vector<double> importe, fecha;
    std::vector<soci::indicator> notaInd;
    for (int i = 1; i <= peers::kInserts; ++i) {
        id.push_back(i);
        cuenta.push_back(peers::Cuenta(i));
        importe.push_back(peers::Importe(i));
        unidades.push_back(peers::Unidades(i));
        fecha.push_back(peers::Fecha(i));
        nota.emplace_back(peers::NotaNull(i) ? std::string_view() : peers::kNota);
        notaInd.push_back(peers::NotaNull(i) ? soci::i_null : soci::i_ok);
    }
    soci::transaction tr(sql);
    sql << kInsert, soci::use(id), soci::use(cuenta), soci::use(importe), soci::use(unidades), soci::use(fecha),
        soci::use(nota, notaInd);
    tr.commit();
    watch.Stop();
    return Count(sql, peers::sql::kCountInserted);
}

size_t Update(const Args& args, Stopwatch& watch) {
    soci::session sql = OpenFile(args);
    watch.Start();
    std::vector<double> importe;
    std::vector<int> unidades, id;
    for (int k = 0; k < peers::kUpdates; ++k) {
        const int key = peers::KeyOf(k);
        importe.push_back(peers::UpdatedImporte(key));
        unidades.push_back(peers::UpdatedUnidades(key));
        id.push_back(key);
    }
    soci::transaction tr(sql);
    sql << kUpdate, soci::use(importe), soci::use(unidades), soci::use(id);
    tr.commit();
    watch.Stop();
    return Count(sql, peers::sql::kCountUpdated);
}

size_t Lookup(const Args& args, Stopwatch& watch) {
    soci::session sql = OpenFile(args);
    size_t found = 0;
    watch.Start();
    int key = 0, id = 0, unidades = 0;
    std::string cuenta, nota;
    double importe = 0, fecha = 0;
    soci::indicator notaInd = soci::i_ok;
    soci::statement st = (sql.prepare << kLookup, soci::use(key), soci::into(id), soci::into(cuenta),
                          soci::into(importe), soci::into(unidades), soci::into(fecha), soci::into(nota, notaInd));
    for (int k = 0; k < peers::kLookups; ++k) {
        key = peers::KeyOf(k);
        if (!st.execute(true)) continue;
        const peers::Movimiento<std::string, double> row{
            id, cuenta, importe, unidades, fecha, notaInd == soci::i_null ? std::nullopt : std::optional(nota)};
        peers::CheckLookup(row.id, key);
        ++found;
    }
    watch.Stop();
    return found;
}

size_t OdbcRead(const Args& args, Stopwatch& watch) {
    soci::session sql(soci::odbc, args.target);
    watch.Start();
    const auto rows = ReadAll<std::tm>(sql, peers::sql::kServerRead);
    watch.Stop();
    return peers::CheckedRead(rows);
}

}  // namespace

int main(int argc, char** argv) {
    return peers::Main(argc, argv,
                       {{"read", Read}, {"insert", Insert}, {"update", Update}, {"lookup", Lookup}, {"odbc_read", OdbcRead}});
}
