// Our library through its ado API, as its users write it: a client cursor (adUseClient,
// adOpenStatic) holding the rows read; AddNew and Update on a batch optimistic recordset,
// written by UpdateBatch; prepared Commands with parameters for the updates and the lookups.
// On a file of our own (made here, through the library; with a key when one is given) and on
// the server through ODBC.
#include <filesystem>
#include <string>

#include <ado/ado.h>

#include "common/program.h"
#include "common/rows.h"
#include "common/sql.h"

namespace {

using peers::Args;
using peers::Require;
using peers::Stopwatch;

std::string FileConnectionString(const Args& args) {
    std::string cs = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + args.target + ";";
    if (!args.key.empty()) cs += "Jet OLEDB:Database Password=" + args.key + ";";
    return cs;
}

ado::ConnectionPtr Connect(const std::string& connectionString) {
    auto cn = ado::Connection::Create();
    cn->CursorLocation(ado::adUseClient);
    cn->CommandTimeout(0);  // no limit: a long read on a busy machine is measured, not cancelled
    cn->Open(connectionString);
    return cn;
}

size_t Count(const ado::ConnectionPtr& cn, const char* sql) {
    return static_cast<size_t>(cn->Execute(sql)->Fields()[0].Value().As<int64_t>());
}

ado::RecordsetPtr OpenRows(const ado::ConnectionPtr& cn, const char* sql, ado::LockTypeEnum lock) {
    auto rs = ado::Recordset::Create();
    rs->Open(sql, cn, ado::adOpenStatic, lock, ado::adCmdText);
    return rs;
}

// The checked count of a read: every row, a quarter of the notes Null.
size_t CheckedRead(ado::Recordset& rs) {
    size_t rows = 0, nullNotes = 0;
    ado::Field& nota = rs.Fields()[5];
    for (rs.MoveFirst(); !rs.adoEOF(); rs.MoveNext(), ++rows) nullNotes += nota.Value().IsNull() ? 1 : 0;
    Require(rows == static_cast<size_t>(rs.RecordCount()), "RecordCount differs from the rows walked");
    return peers::CheckedRead(rows, nullNotes);
}

// A prepared command on `cn` with parameters of these types.
ado::CommandPtr Prepare(const ado::ConnectionPtr& cn, const char* sql, std::initializer_list<ado::DataTypeEnum> types) {
    auto cmd = ado::Command::Create();
    cmd->ActiveConnection(cn);
    cmd->CommandText(sql);
    cmd->Prepared(true);
    for (ado::DataTypeEnum type : types) cmd->Parameters().Append(cmd->CreateParameter({}, type));
    return cmd;
}

ado::Variant Nota(int i) { return peers::NotaNull(i) ? ado::Variant(ado::Variant::Null) : ado::Variant(peers::kNota); }

// Our own data file, through the library: its types and collation, rows by a prepared command.
size_t Make(const Args& args, Stopwatch& watch) {
    std::filesystem::remove(args.target);
    const std::string cs = FileConnectionString(args);
    ado::CreateDatabase(cs);
    auto cn = Connect(cs);
    watch.Start();
    for (const char* table : {"Movimientos", "Entradas"})
        cn->Execute(std::string("CREATE TABLE ") + table +
                    " (Id INTEGER PRIMARY KEY, Cuenta TEXT(40), Importe DOUBLE, Unidades LONG, Fecha DATETIME, "
                    "Nota TEXT(80))");
    auto insert = Prepare(cn, "INSERT INTO Movimientos VALUES (?, ?, ?, ?, ?, ?)",
                          {ado::adInteger, ado::adVarWChar, ado::adDouble, ado::adInteger, ado::adDate, ado::adVarWChar});
    ado::Parameters& p = insert->Parameters();
    cn->BeginTrans();
    for (int i = 1; i <= peers::kRows; ++i) {
        p.Item(0)->Value(i);
        p.Item(1)->Value(peers::Cuenta(i));
        p.Item(2)->Value(peers::Importe(i));
        p.Item(3)->Value(peers::Unidades(i));
        p.Item(4)->Value(ado::Date{peers::Fecha(i)});
        p.Item(5)->Value(Nota(i));
        insert->Execute(nullptr, ado::Variant(), ado::adExecuteNoRecords);
    }
    cn->CommitTrans();
    watch.Stop();
    return Count(cn, "SELECT COUNT(*) FROM Movimientos");
}

size_t ReadInto(const std::string& connectionString, const char* sql, Stopwatch& watch) {
    auto cn = Connect(connectionString);
    watch.Start();
    auto rs = OpenRows(cn, sql, ado::adLockReadOnly);
    watch.Stop();
    return CheckedRead(*rs);
}

size_t Read(const Args& args, Stopwatch& watch) { return ReadInto(FileConnectionString(args), peers::sql::kRead, watch); }

size_t OdbcRead(const Args& args, Stopwatch& watch) { return ReadInto(args.target, peers::sql::kServerRead, watch); }

size_t Insert(const Args& args, Stopwatch& watch) {
    auto cn = Connect(FileConnectionString(args));
    watch.Start();
    auto rs = OpenRows(cn, "SELECT Id, Cuenta, Importe, Unidades, Fecha, Nota FROM Entradas", ado::adLockBatchOptimistic);
    ado::Fields& f = rs->Fields();
    for (int i = 1; i <= peers::kInserts; ++i) {
        rs->AddNew();
        f[0].Value(i);
        f[1].Value(peers::Cuenta(i));
        f[2].Value(peers::Importe(i));
        f[3].Value(peers::Unidades(i));
        f[4].Value(ado::Date{peers::Fecha(i)});
        f[5].Value(Nota(i));
        rs->Update();
    }
    rs->UpdateBatch();
    watch.Stop();
    return Count(cn, peers::sql::kCountInserted);
}

size_t Update(const Args& args, Stopwatch& watch) {
    auto cn = Connect(FileConnectionString(args));
    watch.Start();
    auto update = Prepare(cn, peers::sql::kUpdate, {ado::adDouble, ado::adInteger, ado::adInteger});
    ado::Parameters& p = update->Parameters();
    cn->BeginTrans();
    for (int k = 0; k < peers::kUpdates; ++k) {
        const int key = peers::KeyOf(k);
        p.Item(0)->Value(peers::UpdatedImporte(key));
        p.Item(1)->Value(peers::UpdatedUnidades(key));
        p.Item(2)->Value(key);
        int32_t affected = 0;
        update->Execute(&affected, ado::Variant(), ado::adExecuteNoRecords);
        Require(affected == 1, "update of " + std::to_string(key));
    }
    cn->CommitTrans();
    watch.Stop();
    return Count(cn, peers::sql::kCountUpdated);
}

size_t Lookup(const Args& args, Stopwatch& watch) {
    auto cn = Connect(FileConnectionString(args));
    size_t found = 0;
    watch.Start();
    auto lookup = Prepare(cn, peers::sql::kLookup, {ado::adInteger});
    ado::Parameter& id = *lookup->Parameters().Item(0);
    for (int k = 0; k < peers::kLookups; ++k) {
        const int key = peers::KeyOf(k);
        id.Value(key);
        auto rs = lookup->Execute();
        if (rs->adoEOF()) continue;
        ado::Fields& f = rs->Fields();
        const peers::Movimiento<std::string, ado::Date> row{
            f[0].Value().As<int64_t>(),  f[1].Value().As<std::string>(), f[2].Value().As<double>(),
            f[3].Value().As<int64_t>(),  f[4].Value().As<ado::Date>(),   f[5].Value().As<std::optional<std::string>>()};
        peers::CheckLookup(row.id, key);
        ++found;
    }
    watch.Stop();
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    return peers::Main(argc, argv,
                       {{"make", Make},
                        {"read", Read},
                        {"insert", Insert},
                        {"update", Update},
                        {"lookup", Lookup},
                        {"odbc_read", OdbcRead}});
}
