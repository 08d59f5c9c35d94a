// One row per edit on real files: edits and deletes through queries that omit the key, on
// tables without a key, through joins; what carries no row identity and how such a write is
// guarded; identities are never fields and do not outlive the connection.
#include <gtest/gtest.h>

#include <filesystem>

#include "ado/error_numbers.h"
#include "support/EmbeddedDb.h"

using namespace ado;
using testsupport::EmbeddedDb;
using testsupport::ErrorNumberOf;
using testsupport::OpenRecordset;

namespace {

class RowIdentity : public ::testing::Test {
protected:
    void SetUp() override { Fill(); }
    // A new file: two customers with the same name and city, in a table with a key and in one
    // without; their orders; a view.
    void Fill() {
        cn.reset();
        db = std::make_unique<EmbeddedDb>();
        cn = db->Connect();
        for (const char* sql :
             {"CREATE TABLE Clientes (Id COUNTER PRIMARY KEY, Nombre TEXT(20), Ciudad TEXT(20))",
              "CREATE TABLE Personas (Nombre TEXT(20), Ciudad TEXT(20))",
              "CREATE TABLE Pedidos (Numero LONG PRIMARY KEY, Cliente LONG, Total DOUBLE)",
              "INSERT INTO Clientes (Nombre, Ciudad) VALUES ('Ana', 'León')",
              "INSERT INTO Clientes (Nombre, Ciudad) VALUES ('Ana', 'León')",
              "INSERT INTO Clientes (Nombre, Ciudad) VALUES ('Eva', 'Soria')",
              "INSERT INTO Personas VALUES ('Ana', 'León')", "INSERT INTO Personas VALUES ('Ana', 'León')",
              "INSERT INTO Personas VALUES ('Eva', 'Soria')", "INSERT INTO Pedidos VALUES (1, 1, 10)",
              "INSERT INTO Pedidos VALUES (2, 2, 20)",
              "CREATE VIEW VistaPersonas AS SELECT Nombre, Ciudad FROM Personas"})
            cn->Execute(sql);
    }
    RecordsetPtr Open(const std::string& sql, LockTypeEnum lock = adLockOptimistic) {
        return OpenRecordset(cn, sql, adOpenKeyset, lock);
    }
    // "Nombre/Ciudad" of every row of the table, in the file's order.
    std::string Rows(const std::string& table) const {
        std::string all;
        for (auto rs = db->Query(db->Connect(), "SELECT Nombre, Ciudad FROM " + table); !rs->adoEOF(); rs->MoveNext())
            all += (all.empty() ? "" : ",") + rs->Fields()[0].Value().ToString() + "/" +
                   rs->Fields()[1].Value().ToString();
        return all;
    }

    std::unique_ptr<EmbeddedDb> db;
    ConnectionPtr cn;
};

// Each query reads two equal rows first; the second is edited, then the first deleted.
TEST_F(RowIdentity, EditsAndDeletesReachTheRowTheyCameFrom) {
    const struct {
        const char* table;
        const char* query;
    } cases[] = {
        {"Personas", "SELECT * FROM Personas"},
        {"Personas", "SELECT Nombre, Ciudad FROM Personas AS p WHERE p.Nombre = 'Ana' OR Ciudad = 'Soria'"},
        {"Clientes", "SELECT Nombre, Ciudad FROM Clientes ORDER BY Nombre"},
        {"Clientes", "SELECT c.Nombre, c.Ciudad, p.Total FROM Clientes c LEFT JOIN Pedidos p ON p.Cliente = c.Id "
                     "ORDER BY c.Id"},
        {"Personas", "SELECT Nombre & '' AS Calculado, Ciudad, Nombre FROM (Personas)"},
    };
    for (const auto& c : cases) {
        Fill();
        auto rs = Open(c.query);
        EXPECT_EQ(rs->Fields()[0].Name().rfind("brezal", 0), std::string::npos);
        rs->MoveNext();
        rs->Fields()["Ciudad"].Value("Lugo");
        rs->Update();
        EXPECT_EQ(Rows(c.table), "Ana/León,Ana/Lugo,Eva/Soria") << c.query;
        rs->MoveFirst();
        rs->Delete();
        EXPECT_EQ(Rows(c.table), "Ana/Lugo,Eva/Soria") << c.query;
        EXPECT_EQ(rs->RecordCount(), 2) << c.query;
    }
}

// Access writes joins parenthesised; a table inside the parentheses is still edited by its row.
TEST_F(RowIdentity, TablesInsideParenthesisedJoinsAreEditedByTheirRow) {
    auto rs = Open("SELECT c.Nombre, c.Ciudad, p.Total FROM Pedidos AS p INNER JOIN (Clientes AS c INNER JOIN "
                   "Pedidos AS q ON q.Numero = c.Id) ON p.Cliente = c.Id ORDER BY c.Id");
    rs->MoveNext();
    rs->Fields()["Ciudad"].Value("Lugo");
    rs->Update();
    EXPECT_EQ(Rows("Clientes"), "Ana/León,Ana/Lugo,Eva/Soria");
}

TEST_F(RowIdentity, IdentitiesAreNeverFieldsAndDoNotOutliveTheConnection) {
    auto rs = Open("SELECT c.Nombre, p.Total FROM Clientes c INNER JOIN Pedidos p ON p.Cliente = c.Id");
    EXPECT_EQ(rs->Fields().Count(), 2);
    EXPECT_EQ(rs->Fields().IndexOf("brezal_rowid_1"), -1);
    // Nor are they saved: the file holds the two fields.
    const std::string saved = db->file() + ".xml";
    rs->Save(saved, adPersistXML);
    auto reopened = Recordset::Create();
    reopened->Open(saved, nullptr);
    EXPECT_EQ(reopened->Fields().Count(), 2);
    EXPECT_EQ(reopened->Fields()[1].Name(), "Total");
    std::filesystem::remove(saved);
    rs->MoveNext();
    rs->Fields()["Total"].Value(25.0);  // the second order, through the join
    rs->Update();
    EXPECT_EQ(db->Scalar("SELECT SUM(Total) FROM Pedidos").ToDouble(), 35.0);

    // Compaction renumbers the rows of a table without a key: an identity read before a
    // disconnect means nothing after it, so the rows are found again by their values.
    auto batch = Open("SELECT * FROM Personas", adLockBatchOptimistic);
    batch->ActiveConnection(nullptr);
    cn->Execute("DELETE FROM Personas WHERE Nombre = 'Ana'");
    cn->Close();
    CompactDatabase(testsupport::JetConnectionString(db->file()), testsupport::JetConnectionString(db->file() + ".c"));
    std::filesystem::rename(db->file() + ".c", db->file());
    cn = db->Connect();
    cn->Execute("INSERT INTO Personas VALUES ('Luis', 'Ávila')");  // Eva's old identity now finds no row
    batch->MoveLast();
    batch->Fields()["Ciudad"].Value("Burgos");
    batch->Update();
    EXPECT_EQ(batch->Fields().Count(), 2);
    batch->ActiveConnection(cn);
    batch->UpdateBatch();
    EXPECT_EQ(Rows("Personas"), "Eva/Burgos,Luis/Ávila");
}

// Rows added through the cursor get their identity: a second, equal row is found alone.
TEST_F(RowIdentity, AddedRowsAreWrittenByTheirOwnIdentity) {
    cn->Execute("DELETE FROM Personas");
    for (LockTypeEnum lock : {adLockOptimistic, adLockBatchOptimistic}) {
        auto rs = Open("SELECT * FROM Personas", lock);
        for (int i = 0; i < 2; ++i) {
            rs->AddNew();
            rs->Fields()["Nombre"].Value("Ana");
            rs->Fields()["Ciudad"].Value("León");
            rs->Update();
        }
        rs->UpdateBatch();
        rs->Fields()["Ciudad"].Value("Lugo");  // the second one added
        rs->Update();
        rs->UpdateBatch();
    }
    EXPECT_EQ(Rows("Personas"), "Ana/León,Ana/Lugo,Ana/León,Ana/Lugo");
}

// Views, DISTINCT, GROUP BY, UNION and aggregates read no identity: a write that would change
// several rows is undone and refused; one that finds no row is the concurrency error.
TEST_F(RowIdentity, WithoutIdentityAWriteChangesOneRowOrNone) {
    const std::string tooMany = Lookup(Condition::TooManyRows).description.data();
    EXPECT_EQ(tooMany,
              "La información de la columna de clave es insuficiente o incorrecta. La actualización afectaba a "
              "demasiadas filas y se ha deshecho.");
    const struct {
        const char* query;
        bool deleting;
    } cases[] = {
        {"SELECT * FROM VistaPersonas", false},
        {"SELECT DISTINCT Nombre, Ciudad FROM Personas", true},
        {"SELECT Nombre, Ciudad FROM Personas GROUP BY Nombre, Ciudad", false},
        {"SELECT TOP 1 Nombre, Ciudad FROM Personas", true},
        {"SELECT Nombre, Ciudad FROM Personas UNION ALL SELECT Nombre, Ciudad FROM Personas WHERE 0 = 1", false},
    };
    for (const auto& c : cases) {
        auto rs = Open(c.query);
        try {
            if (c.deleting) {
                rs->Delete();
            } else {
                rs->Fields()["Ciudad"].Value("Lugo");
                rs->Update();
            }
            ADD_FAILURE() << c.query << ": written";
        } catch (const Error& e) {
            EXPECT_EQ(e.Number(), err::Fail) << c.query;
            EXPECT_EQ(e.Description(), tooMany) << c.query;
        }
        EXPECT_EQ(cn->Errors().Item(0).Description(), tooMany) << c.query;
        EXPECT_EQ(Rows("Personas"), "Ana/León,Ana/León,Eva/Soria") << c.query << ": undone";
        rs->CancelUpdate();
    }
    // None found: the concurrency error; one: written.
    auto eva = Open("SELECT * FROM VistaPersonas WHERE Nombre = 'Eva'");
    cn->Execute("UPDATE Personas SET Ciudad = 'Vigo' WHERE Nombre = 'Eva'");
    eva->Fields()["Nombre"].Value("Eva María");
    EXPECT_EQ(ErrorNumberOf([&] { eva->Update(); }), err::ConcurrencyViolation);
    eva->CancelUpdate();
    eva = Open("SELECT * FROM VistaPersonas WHERE Nombre = 'Eva'");
    eva->Fields()["Ciudad"].Value("Lugo");
    eva->Update();
    EXPECT_EQ(Rows("Personas"), "Ana/León,Ana/León,Eva/Lugo");
    // In a batch, the refused row fails alone and stays pending; the others are written.
    auto batch = Open("SELECT DISTINCT Nombre, Ciudad FROM Personas ORDER BY Nombre", adLockBatchOptimistic);
    batch->Fields()["Ciudad"].Value("Burgos");
    batch->MoveNext();
    batch->Fields()["Ciudad"].Value("Cuenca");
    EXPECT_EQ(ErrorNumberOf([&] { batch->UpdateBatch(); }), err::ErrorsOccurred);
    EXPECT_EQ(cn->Errors().Item(0).Description(), tooMany);
    EXPECT_EQ(Rows("Personas"), "Ana/León,Ana/León,Eva/Cuenca");
}

}  // namespace
