// The ODBC provider against raw ODBC calls on the PostgreSQL server of BREZAL_TEST_PG:
// 1,000,000 rows into a client cursor against the driver's floor (a block-fetch loop reading
// the bound buffers in place) and against the same loop copying the rows into memory, and 100,000 inserts
// written by UpdateBatch against raw parameter-array inserts (and, to show where the time
// goes, against raw inserts of one row per execution, which is what a per-row write costs).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ado/ado.h"
#include "support/odbc_raw.h"
#include "support/ratios.h"

namespace {

constexpr int kRows = 1'000'000;
constexpr int kInserts = 100'000;
constexpr SQLULEN kParamSet = 1000;   // rows per execution of the raw inserts

std::string ConnectionString() {
    return std::string(std::getenv("BREZAL_TEST_PG")) + "ConnSettings=SET search_path TO bench_odbc;";
}

using benchsupport::Block;
using benchsupport::RawConnection;

void CreateData() {
    RawConnection raw(ConnectionString());
    raw.Run("CREATE SCHEMA IF NOT EXISTS bench_odbc");
    raw.Run("CREATE TABLE IF NOT EXISTS movimientos (id int PRIMARY KEY, cuenta varchar(40), importe float8, "
            "unidades int, fecha timestamp, nota varchar(80))");
    raw.Run("CREATE TABLE IF NOT EXISTS entradas (id int PRIMARY KEY, cuenta varchar(40), importe float8, "
            "unidades int, fecha timestamp)");
    raw.Run("INSERT INTO movimientos SELECT i, 'Cuenta ' || i % 5000, i * 1.25, i % 97, "
            "timestamp '2024-10-10 10:20:30' + (i % 30) * interval '1 day', "
            "CASE WHEN i % 4 <> 0 THEN 'pagado con tarjeta' END FROM generate_series(1, 1000000) i "
            "WHERE NOT EXISTS (SELECT 1 FROM movimientos)");
}

constexpr const char* kQuery = "SELECT id, cuenta, importe, unidades, fecha, nota FROM movimientos";

// The raw rows, copied into memory as plainly as C++ allows.
struct RawRow {
    int32_t id;
    std::string cuenta;
    double importe;
    int32_t unidades;
    SQL_TIMESTAMP_STRUCT fecha;
    std::string nota;
    bool notaNull;
};

std::vector<RawRow> RawFetch(const RawConnection& raw) {
    std::vector<RawRow> rows;
    benchsupport::FetchBlocks(raw, kQuery, [&](const Block& b, SQLULEN fetched) {
        for (SQLULEN r = 0; r < fetched; ++r) {
            const bool noNota = b.NotaNull(r);
            rows.push_back({b.id[r], b.Cuenta(r), b.importe[r], b.unidades[r], b.fecha[r],
                            noNota ? std::string() : b.Nota(r), noNota});
        }
    });
    return rows;
}

ado::ConnectionPtr Connect() {
    auto cn = ado::Connection::Create();
    cn->CursorLocation(ado::adUseClient);
    cn->Open(ConnectionString());
    return cn;
}

void RawFetch(benchmark::State& state) {
    RawConnection raw(ConnectionString());
    for (auto _ : state) {
        auto rows = RawFetch(raw);
        if (rows.size() != kRows) std::abort();
        benchmark::DoNotOptimize(rows);
    }
}

// The driver's floor: every block fetched, each row's values read where the driver put them.
void FetchFloor(benchmark::State& state) {
    RawConnection raw(ConnectionString());
    for (auto _ : state) {
        const benchsupport::InPlaceTotals t = benchsupport::FetchInPlace(raw, kQuery);
        if (t.rows != kRows) std::abort();
        benchmark::DoNotOptimize(t.sum);
        benchmark::DoNotOptimize(t.bytes);
    }
}

void CursorFetch(benchmark::State& state) {
    auto cn = Connect();
    for (auto _ : state) {
        auto rs = ado::Recordset::Create();
        rs->Open(kQuery, cn, ado::adOpenStatic, ado::adLockReadOnly, ado::adCmdText);
        if (rs->RecordCount() != kRows) std::abort();
        benchmark::DoNotOptimize(rs);
    }
}

// Raw inserts in one transaction, `paramSet` rows per execution: parameter arrays, or one row
// per execution as a per-row interface must.
void RawInserts(benchmark::State& state, SQLULEN paramSet) {
    RawConnection raw(ConnectionString());
    std::vector<SQLINTEGER> id(paramSet), unidades(paramSet);
    std::vector<double> importe(paramSet);
    std::vector<SQL_TIMESTAMP_STRUCT> fecha(paramSet, SQL_TIMESTAMP_STRUCT{2024, 10, 10, 10, 20, 30, 0});
    std::vector<char> cuenta(paramSet * 41);
    std::vector<SQLLEN> nts(paramSet, SQL_NTS);
    for (auto _ : state) {
        state.PauseTiming();
        raw.Run("TRUNCATE entradas");
        state.ResumeTiming();
        SQLHSTMT st;
        SQLAllocHandle(SQL_HANDLE_STMT, raw.dbc, &st);
        SQLSetConnectAttr(raw.dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0);
        SQLPrepare(st, (SQLCHAR*)"INSERT INTO entradas (id, cuenta, importe, unidades, fecha) VALUES (?, ?, ?, ?, ?)",
                   SQL_NTS);
        SQLSetStmtAttr(st, SQL_ATTR_PARAMSET_SIZE, reinterpret_cast<SQLPOINTER>(paramSet), 0);
        SQLBindParameter(st, 1, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, id.data(), 0, nullptr);
        SQLBindParameter(st, 2, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 40, 0, cuenta.data(), 41, nts.data());
        SQLBindParameter(st, 3, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0, importe.data(), 0, nullptr);
        SQLBindParameter(st, 4, SQL_PARAM_INPUT, SQL_C_SLONG, SQL_INTEGER, 0, 0, unidades.data(), 0, nullptr);
        SQLBindParameter(st, 5, SQL_PARAM_INPUT, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 19, 0, fecha.data(), 0,
                         nullptr);
        for (int base = 0; base < kInserts; base += static_cast<int>(paramSet)) {
            for (SQLULEN j = 0; j < paramSet; ++j) {
                const int i = base + static_cast<int>(j) + 1;
                id[j] = i;
                std::snprintf(&cuenta[j * 41], 41, "Cuenta %d", i % 5000);
                importe[j] = i * 1.25;
                unidades[j] = i % 97;
            }
            RawConnection::Ok(SQLExecute(st), "insert");
        }
        SQLEndTran(SQL_HANDLE_DBC, raw.dbc, SQL_COMMIT);
        SQLSetConnectAttr(raw.dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
        SQLFreeHandle(SQL_HANDLE_STMT, st);
    }
}

void RawInsert(benchmark::State& state) { RawInserts(state, kParamSet); }
void RawInsertRowByRow(benchmark::State& state) { RawInserts(state, 1); }

void BatchInsert(benchmark::State& state) {
    auto cn = Connect();
    for (auto _ : state) {
        state.PauseTiming();
        cn->Execute("TRUNCATE entradas");
        auto rs = ado::Recordset::Create();
        rs->Open("SELECT id, cuenta, importe, unidades, fecha FROM entradas", cn, ado::adOpenStatic,
                 ado::adLockBatchOptimistic, ado::adCmdText);
        ado::Fields& f = rs->Fields();
        const ado::Variant fecha(ado::MakeDate(2024, 10, 10, 10, 20, 30));
        for (int i = 1; i <= kInserts; ++i) {
            rs->AddNew();
            f[0].Value(i);
            f[1].Value("Cuenta " + std::to_string(i % 5000));
            f[2].Value(i * 1.25);
            f[3].Value(i % 97);
            f[4].Value(fecha);
        }
        state.ResumeTiming();
        rs->UpdateBatch();
    }
}

}  // namespace

BENCHMARK(FetchFloor)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RawFetch)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(CursorFetch)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RawInsert)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(RawInsertRowByRow)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BatchInsert)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    if (!std::getenv("BREZAL_TEST_PG")) {
        std::printf("odbc_fetch: BREZAL_TEST_PG is not set (start a server with scripts/lib/postgres.sh); skipped\n");
        return 0;
    }
    CreateData();
    return benchsupport::RunWithRatios(argc, argv,
                                       {{"CursorFetch", "FetchFloor", 1.3},
                                        {"CursorFetch", "RawFetch", 0},
                                        {"BatchInsert", "RawInsert", 1.5},
                                        {"BatchInsert", "RawInsertRowByRow", 0}},
                                       {}, 3);  // a round moves millions of rows over the network
}
