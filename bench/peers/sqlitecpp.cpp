// SQLiteCpp as its users write it: SQLite::Statement prepared once and stepped or executed
// again after reset, values bound in place (bindNoCopy) where they outlive the execution,
// SQLite::Transaction around the writes; on the plain data file.
#include <string>
#include <vector>

#include <SQLiteCpp/SQLiteCpp.h>

#include "common/program.h"
#include "common/rows.h"
#include "common/sql.h"

namespace {

using peers::Args;
using peers::Require;
using peers::Stopwatch;
using Row = peers::Movimiento<std::string, double>;

size_t Count(SQLite::Database& db, const char* sql) {
    SQLite::Statement q(db, sql);
    Require(q.executeStep(), sql);
    return static_cast<size_t>(q.getColumn(0).getInt64());
}

Row RowOf(const SQLite::Statement& q) {
    return {q.getColumn(0).getInt64(), q.getColumn(1).getString(), q.getColumn(2).getDouble(),
            q.getColumn(3).getInt64(), q.getColumn(4).getDouble(),
            q.isColumnNull(5) ? std::nullopt : std::optional(q.getColumn(5).getString())};
}

size_t Read(const Args& args, Stopwatch& watch) {
    SQLite::Database db(args.target, SQLite::OPEN_READONLY);
    std::vector<Row> rows;
    watch.Start();
    {
        SQLite::Statement q(db, peers::sql::kRead);
        while (q.executeStep()) rows.push_back(RowOf(q));
    }
    watch.Stop();
    return peers::CheckedRead(rows);
}

size_t Insert(const Args& args, Stopwatch& watch) {
    SQLite::Database db(args.target, SQLite::OPEN_READWRITE);
    watch.Start();
    {
        SQLite::Transaction transaction(db);
        SQLite::Statement insert(db, peers::sql::kInsert);
        const std::string nota(peers::kNota);
        for (int i = 1; i <= peers::kInserts; ++i) {
            const std::string cuenta = peers::Cuenta(i);
            insert.bind(1, i);
            insert.bindNoCopy(2, cuenta);
            insert.bind(3, peers::Importe(i));
            insert.bind(4, peers::Unidades(i));
            insert.bind(5, peers::Fecha(i));
            if (peers::NotaNull(i)) insert.bind(6);
            else insert.bindNoCopy(6, nota);
            insert.exec();
            insert.reset();
        }
        transaction.commit();
    }
    watch.Stop();
    return Count(db, peers::sql::kCountInserted);
}

size_t Update(const Args& args, Stopwatch& watch) {
    SQLite::Database db(args.target, SQLite::OPEN_READWRITE);
    watch.Start();
    {
        SQLite::Transaction transaction(db);
        SQLite::Statement update(db, peers::sql::kUpdate);
        for (int k = 0; k < peers::kUpdates; ++k) {
            const int key = peers::KeyOf(k);
            update.bind(1, peers::UpdatedImporte(key));
            update.bind(2, peers::UpdatedUnidades(key));
            update.bind(3, key);
            Require(update.exec() == 1, "update of " + std::to_string(key));
            update.reset();
        }
        transaction.commit();
    }
    watch.Stop();
    return Count(db, peers::sql::kCountUpdated);
}

size_t Lookup(const Args& args, Stopwatch& watch) {
    SQLite::Database db(args.target, SQLite::OPEN_READONLY);
    size_t found = 0;
    watch.Start();
    {
        SQLite::Statement lookup(db, peers::sql::kLookup);
        for (int k = 0; k < peers::kLookups; ++k) {
            const int key = peers::KeyOf(k);
            lookup.bind(1, key);
            if (lookup.executeStep()) {
                peers::CheckLookup(RowOf(lookup).id, key);
                ++found;
            }
            lookup.reset();
        }
    }
    watch.Stop();
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    return peers::Main(argc, argv, {{"read", Read}, {"insert", Insert}, {"update", Update}, {"lookup", Lookup}});
}
