// Qt SQL 6 as its users write it: prepared QSqlQuery objects, forward-only for reading,
// values read as QVariant into QString and QDateTime, writes as one execBatch inside a
// transaction; the QSQLITE driver on the plain data file, QODBC on the server.
#include <QCoreApplication>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <string>
#include <vector>

#include "common/program.h"
#include "common/rows.h"
#include "common/sql.h"

namespace {

using peers::Args;
using peers::Require;
using peers::Stopwatch;

void Check(bool ok, const QSqlError& error, const char* what) {
    Require(ok, std::string(what) + ": " + error.text().toStdString());
}

QSqlDatabase Open(const char* driver, const Args& args) {
    Require(QSqlDatabase::isDriverAvailable(driver), std::string("no Qt SQL driver ") + driver);
    QSqlDatabase db = QSqlDatabase::addDatabase(driver);
    db.setDatabaseName(QString::fromStdString(args.target));
    Check(db.open(), db.lastError(), "open");
    return db;
}

QSqlDatabase OpenFile(const Args& args) { return Open("QSQLITE", args); }

// A prepared, forward-only query.
QSqlQuery Prepare(const QSqlDatabase& db, const char* sql) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    Check(q.prepare(sql), q.lastError(), sql);
    return q;
}

void Exec(QSqlQuery& q) { Check(q.exec(), q.lastError(), "exec"); }

size_t Count(const QSqlDatabase& db, const char* sql) {
    QSqlQuery q = Prepare(db, sql);
    Exec(q);
    Require(q.next(), sql);
    return q.value(0).toULongLong();
}

// The current row of `q`; Fecha is how the driver gives a date.
template <class Fecha>
peers::Movimiento<QString, Fecha> RowOf(const QSqlQuery& q) {
    return {q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toDouble(), q.value(3).toLongLong(),
            q.value(4).value<Fecha>(), q.isNull(5) ? std::nullopt : std::optional(q.value(5).toString())};
}

template <class Fecha>
size_t ReadAll(const QSqlDatabase& db, const char* sql, Stopwatch& watch) {
    std::vector<peers::Movimiento<QString, Fecha>> rows;
    watch.Start();
    {
        QSqlQuery q = Prepare(db, sql);
        Exec(q);
        while (q.next()) rows.push_back(RowOf<Fecha>(q));
    }
    watch.Stop();
    return peers::CheckedRead(rows);
}

// Runs `sql` once for every row of the bound lists, in one transaction.
void Batch(QSqlDatabase& db, const char* sql, const std::vector<QVariantList>& columns) {
    Check(db.transaction(), db.lastError(), "begin");
    QSqlQuery q = Prepare(db, sql);
    for (const QVariantList& c : columns) q.addBindValue(c);
    Check(q.execBatch(), q.lastError(), sql);
    Check(db.commit(), db.lastError(), "commit");
}

size_t Read(const Args& args, Stopwatch& watch) { return ReadAll<double>(OpenFile(args), peers::sql::kRead, watch); }

size_t Insert(const Args& args, Stopwatch& watch) {
    QSqlDatabase db = OpenFile(args);
    watch.Start();
    std::vector<QVariantList> columns(6);
    for (QVariantList& c : columns) c.reserve(peers::kInserts);
    const QVariant nota(QString::fromUtf8(peers::kNota.data(), static_cast<qsizetype>(peers::kNota.size())));
    const QVariant nullNota(QMetaType::fromType<QString>());
    for (int i = 1; i <= peers::kInserts; ++i) {
        columns[0] << i;
        columns[1] << QString::fromStdString(peers::Cuenta(i));
        columns[2] << peers::Importe(i);
        columns[3] << peers::Unidades(i);
        columns[4] << peers::Fecha(i);
        columns[5] << (peers::NotaNull(i) ? nullNota : nota);
    }
    Batch(db, peers::sql::kInsert, columns);
    watch.Stop();
    return Count(db, peers::sql::kCountInserted);
}

size_t Update(const Args& args, Stopwatch& watch) {
    QSqlDatabase db = OpenFile(args);
    watch.Start();
    std::vector<QVariantList> columns(3);
    for (int k = 0; k < peers::kUpdates; ++k) {
        const int key = peers::KeyOf(k);
        columns[0] << peers::UpdatedImporte(key);
        columns[1] << peers::UpdatedUnidades(key);
        columns[2] << key;
    }
    Batch(db, peers::sql::kUpdate, columns);
    watch.Stop();
    return Count(db, peers::sql::kCountUpdated);
}

size_t Lookup(const Args& args, Stopwatch& watch) {
    QSqlDatabase db = OpenFile(args);
    size_t found = 0;
    watch.Start();
    {
        QSqlQuery q = Prepare(db, peers::sql::kLookup);
        for (int k = 0; k < peers::kLookups; ++k) {
            const int key = peers::KeyOf(k);
            q.bindValue(0, key);
            Exec(q);
            if (!q.next()) continue;
            peers::CheckLookup(RowOf<double>(q).id, key);
            ++found;
        }
    }
    watch.Stop();
    return found;
}

size_t OdbcRead(const Args& args, Stopwatch& watch) {
    return ReadAll<QDateTime>(Open("QODBC", args), peers::sql::kServerRead, watch);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);  // the drivers are plugins, found through the application
    return peers::Main(argc, argv,
                       {{"read", Read}, {"insert", Insert}, {"update", Update}, {"lookup", Lookup}, {"odbc_read", OdbcRead}});
}
