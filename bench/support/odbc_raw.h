// Raw ODBC for the benchmarks' floors: a connection that fails loudly, and a query's rows of
// the Movimientos shape (id, cuenta, importe, unidades, fecha, nota) fetched in blocks into
// bound column buffers, or read there in place.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace benchsupport {

// A raw connection, failing loudly: a benchmark that measures nothing must not pass for one.
struct RawConnection {
    SQLHENV env = SQL_NULL_HENV;
    SQLHDBC dbc = SQL_NULL_HDBC;
    explicit RawConnection(const std::string& connectionString) {
        SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
        SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
        Ok(SQLDriverConnect(dbc, nullptr, (SQLCHAR*)connectionString.c_str(), SQL_NTS, nullptr, 0, nullptr,
                            SQL_DRIVER_NOPROMPT),
           "connect");
    }
    ~RawConnection() {
        SQLDisconnect(dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, env);
    }
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;
    static void Ok(SQLRETURN rc, const char* what) {
        if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO && rc != SQL_NO_DATA) {
            std::fprintf(stderr, "raw odbc: %s failed\n", what);
            std::exit(1);
        }
    }
    void Run(const char* sql) const {
        SQLHSTMT st;
        SQLAllocHandle(SQL_HANDLE_STMT, dbc, &st);
        Ok(SQLExecDirect(st, (SQLCHAR*)sql, SQL_NTS), sql);
        SQLFreeHandle(SQL_HANDLE_STMT, st);
    }
};

inline constexpr SQLULEN kFetchBlock = 1024;  // rows per fetch, as the provider reads them

// One block of rows in bound column buffers.
struct Block {
    static constexpr SQLLEN kCuenta = 161, kNota = 321;  // UTF-8: four bytes a character
    std::vector<SQLINTEGER> id = std::vector<SQLINTEGER>(kFetchBlock), unidades = std::vector<SQLINTEGER>(kFetchBlock);
    std::vector<double> importe = std::vector<double>(kFetchBlock);
    std::vector<SQL_TIMESTAMP_STRUCT> fecha = std::vector<SQL_TIMESTAMP_STRUCT>(kFetchBlock);
    std::vector<char> cuenta = std::vector<char>(kFetchBlock * kCuenta), nota = std::vector<char>(kFetchBlock * kNota);
    std::vector<SQLLEN> ind[6];

    std::string Cuenta(SQLULEN r) const { return std::string(&cuenta[r * kCuenta], static_cast<size_t>(ind[1][r])); }
    bool NotaNull(SQLULEN r) const { return ind[5][r] == SQL_NULL_DATA; }
    std::string Nota(SQLULEN r) const { return std::string(&nota[r * kNota], static_cast<size_t>(ind[5][r])); }
};

// The rows of `query` (the six columns above, in that order) fetched in blocks;
// `onBlock(block, rows)` reads each block's `rows` rows before the next fetch overwrites them.
template <class OnBlock>
void FetchBlocks(const RawConnection& raw, const char* query, OnBlock onBlock) {
    SQLHSTMT st;
    SQLAllocHandle(SQL_HANDLE_STMT, raw.dbc, &st);
    SQLULEN fetched = 0;
    SQLSetStmtAttr(st, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(kFetchBlock), 0);
    SQLSetStmtAttr(st, SQL_ATTR_ROWS_FETCHED_PTR, &fetched, 0);
    Block b;
    for (auto& v : b.ind) v.resize(kFetchBlock);
    SQLBindCol(st, 1, SQL_C_SLONG, b.id.data(), 0, b.ind[0].data());
    SQLBindCol(st, 2, SQL_C_CHAR, b.cuenta.data(), Block::kCuenta, b.ind[1].data());
    SQLBindCol(st, 3, SQL_C_DOUBLE, b.importe.data(), 0, b.ind[2].data());
    SQLBindCol(st, 4, SQL_C_SLONG, b.unidades.data(), 0, b.ind[3].data());
    SQLBindCol(st, 5, SQL_C_TYPE_TIMESTAMP, b.fecha.data(), 0, b.ind[4].data());
    SQLBindCol(st, 6, SQL_C_CHAR, b.nota.data(), Block::kNota, b.ind[5].data());
    RawConnection::Ok(SQLExecDirect(st, (SQLCHAR*)query, SQL_NTS), "query");
    SQLRETURN rc;
    while ((rc = SQLFetchScroll(st, SQL_FETCH_NEXT, 0)) == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO)
        onBlock(b, fetched);
    RawConnection::Ok(rc, "fetch");
    SQLFreeHandle(SQL_HANDLE_STMT, st);
}

// The driver's floor: every block fetched, each row's values read where the driver put them.
struct InPlaceTotals {
    size_t rows = 0, bytes = 0, nullNotes = 0;
    double sum = 0;
};

inline InPlaceTotals FetchInPlace(const RawConnection& raw, const char* query) {
    InPlaceTotals t;
    FetchBlocks(raw, query, [&](const Block& b, SQLULEN fetched) {
        for (SQLULEN r = 0; r < fetched; ++r) {
            t.sum += b.id[r] + b.importe[r] + b.unidades[r] + b.fecha[r].day;
            t.bytes += static_cast<size_t>(b.ind[1][r]) + (b.NotaNull(r) ? 0 : static_cast<size_t>(b.ind[5][r]));
            t.nullNotes += b.NotaNull(r) ? 1 : 0;
        }
        t.rows += fetched;
    });
    return t;
}

}  // namespace benchsupport
