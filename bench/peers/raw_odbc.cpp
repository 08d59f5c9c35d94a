// Raw ODBC: the floor the ODBC contenders are divided by. Its "make" writes the server's copy
// of Movimientos (the same values as the files' rows); its read fetches blocks of rows into
// bound buffers and reads every value there, copying nothing (no library can do less).
#include <string>

#include "common/program.h"
#include "common/rows.h"
#include "common/sql.h"
#include "support/odbc_raw.h"

namespace {

using benchsupport::RawConnection;
using peers::Args;
using peers::Stopwatch;

size_t CheckedRead(const benchsupport::InPlaceTotals& t) {
    peers::Require(t.bytes > 0 && t.sum > 0, "the values read are empty");
    return peers::CheckedRead(t.rows, t.nullNotes);
}

size_t Make(const Args& args, Stopwatch& watch) {
    RawConnection raw(args.target);
    watch.Start();
    raw.Run("DROP SCHEMA IF EXISTS bench_peers CASCADE");
    raw.Run("CREATE SCHEMA bench_peers");
    raw.Run("CREATE TABLE bench_peers.movimientos (id int PRIMARY KEY, cuenta varchar(40), importe float8, "
            "unidades int, fecha timestamp, nota varchar(80))");
    const std::string fill =
        "INSERT INTO bench_peers.movimientos SELECT i, 'Cuenta ' || i % 5000, i * 1.25, i % 97, "
        "make_timestamp(2024, 10 + i % 3, 10 + i % 10, 10, 20, 30), "
        "CASE WHEN i % 4 <> 0 THEN '" + std::string(peers::kNota) + "' END FROM generate_series(1, " +
        std::to_string(peers::kRows) + ") i";
    raw.Run(fill.c_str());
    raw.Run("ANALYZE bench_peers.movimientos");
    watch.Stop();
    return CheckedRead(benchsupport::FetchInPlace(raw, peers::sql::kServerRead));
}

size_t Read(const Args& args, Stopwatch& watch) {
    RawConnection raw(args.target);
    watch.Start();
    const benchsupport::InPlaceTotals totals = benchsupport::FetchInPlace(raw, peers::sql::kServerRead);
    watch.Stop();
    return CheckedRead(totals);
}

}  // namespace

int main(int argc, char** argv) { return peers::Main(argc, argv, {{"make", Make}, {"odbc_read", Read}}); }
