// Immediate-mode editing on real files: buffers, update criteria and constraint failures
// (record locks have their own tests).
#include <gtest/gtest.h>

#include "support/EmbeddedDb.h"
#include "support/SharedScenarios.h"

using namespace ado;
using testsupport::EmbeddedDb;
using testsupport::ErrorNumberOf;
using testsupport::OpenRecordset;

namespace {

class EditingTest : public ::testing::Test {
protected:
    void SetUp() override {
        cn = db.Connect();
        cn->Execute("CREATE TABLE Clientes (Id COUNTER PRIMARY KEY, Nombre TEXT(20) NOT NULL, Ciudad TEXT(20), "
                    "Saldo CURRENCY DEFAULT 10, Alta DATETIME)");
        cn->Execute("CREATE TABLE Pedidos (IdPedido COUNTER PRIMARY KEY, IdCliente LONG REFERENCES Clientes(Id), "
                    "Total DOUBLE)");
        cn->Execute("INSERT INTO Clientes (Nombre, Ciudad) VALUES ('Ana', 'León')");
        cn->Execute("INSERT INTO Clientes (Nombre, Ciudad) VALUES ('Luis', 'Ávila')");
        cn->Execute("INSERT INTO Pedidos (IdCliente, Total) VALUES (1, 5)");
    }
    RecordsetPtr Open(const std::string& sql) { return OpenRecordset(cn, sql, adOpenKeyset, adLockOptimistic); }

    EmbeddedDb db;
    ConnectionPtr cn;
};

}  // namespace

TEST_F(EditingTest, AddNewReadsBackAutonumberAndDefaults) {
    auto rs = Open("SELECT * FROM Clientes");
    for (CursorOptionEnum o : {adUpdate, adAddNew, adDelete}) EXPECT_TRUE(rs->Supports(o));
    rs->AddNew();
    EXPECT_EQ(rs->EditMode(), adEditAdd);
    rs->Fields()["Nombre"].Value("Íñigo");
    rs->Fields()["Alta"].Value(Variant(MakeDate(2024, 2, 29, 8, 30)));
    rs->Update();
    EXPECT_EQ(rs->EditMode(), adEditNone);
    EXPECT_EQ(rs->Fields()["Id"].Value().ToInt32(), 3);
    EXPECT_EQ(rs->Fields()["Saldo"].Value().ToDouble(), 10.0) << "the column's default comes back";
    EXPECT_TRUE(rs->Fields()["Ciudad"].Value().IsNull());
    EXPECT_EQ(db.Scalar("SELECT Nombre FROM Clientes WHERE Id = 3").ToString(), "Íñigo");
    EXPECT_EQ(db.Scalar("SELECT Alta FROM Clientes WHERE Id = 3").AsDate(), MakeDate(2024, 2, 29, 8, 30));
    EXPECT_EQ(rs->RecordCount(), 3);
}

TEST_F(EditingTest, TextsHoldingANulAreWrittenWhole) {
    const std::string text("San\0Roque", 9);
    auto rs = Open("SELECT * FROM Clientes");
    rs->AddNew();
    rs->Fields()["Nombre"].Value("Eva");
    rs->Fields()["Ciudad"].Value(text);
    rs->Update();
    auto cmd = Command::Create();
    cmd->ActiveConnection(cn);
    cmd->CommandText("UPDATE Clientes SET Ciudad = ? WHERE Id = 1");
    cmd->Parameters().Append(cmd->CreateParameter("c", adVarWChar, adParamInput, 20, Variant(text)));
    cmd->Execute(nullptr, Variant(), adExecuteNoRecords);
    EXPECT_EQ(db.Scalar("SELECT Ciudad FROM Clientes WHERE Id = 3").ToString(), text);
    EXPECT_EQ(db.Scalar("SELECT Ciudad FROM Clientes WHERE Id = 1").ToString(), text);
}

// A GUID is stored in one form (braces, upper case) whichever way it arrives: a field's value,
// a parameter; a text that is no GUID is refused before anything is written.
TEST_F(EditingTest, GuidsAreStoredInTheirOneForm) {
    cn->Execute("CREATE TABLE Replicas (Id LONG PRIMARY KEY, G GUID)");
    auto rs = Open("SELECT * FROM Replicas");
    rs->AddNew();
    rs->Fields()["Id"].Value(1);
    rs->Fields()["G"].Value("6f9619ff-8b86-d011-b42d-00c04fc964ff");
    EXPECT_EQ(ErrorNumberOf([&] { rs->Fields()["G"].Value("{6F9619FF-8B86-D011-B42D-00C04FC964F}"); }),
              err::DataConversion);
    rs->Update();
    EXPECT_EQ(db.Scalar("SELECT G FROM Replicas WHERE Id = 1").ToString(), "{6F9619FF-8B86-D011-B42D-00C04FC964FF}");
    auto cmd = testsupport::NewCommand(cn, "INSERT INTO Replicas VALUES (2, ?)");
    cmd->Parameters().Append(
        cmd->CreateParameter("g", adGUID, adParamInput, 0, Variant("{0000000a-0000-0000-0000-00000000000b}")));
    cmd->Execute(nullptr, Variant(), adExecuteNoRecords);
    EXPECT_EQ(db.Scalar("SELECT G FROM Replicas WHERE Id = 2").ToString(), "{0000000A-0000-0000-0000-00000000000B}");
}

TEST_F(EditingTest, EditCancelAndTheBufferRules) {
    auto rs = Open("SELECT * FROM Clientes ORDER BY Id");
    rs->Fields()["Ciudad"].Value("Soria");
    EXPECT_EQ(rs->EditMode(), adEditInProgress);
    EXPECT_EQ(rs->Fields()["Ciudad"].Value().ToString(), "Soria");
    EXPECT_EQ(rs->Fields()["Ciudad"].OriginalValue().ToString(), "León");
    rs->CancelUpdate();
    EXPECT_EQ(rs->Fields()["Ciudad"].Value().ToString(), "León");
    EXPECT_EQ(ErrorNumberOf([&] { rs->Fields()["Nombre"].Value(std::string(21, 'x')); }), err::ErrorsOccurred);
    EXPECT_EQ(ErrorNumberOf([&] { rs->Fields()["Id"].Value(9); }), err::ErrorsOccurred);
    EXPECT_EQ(rs->EditMode(), adEditNone) << "a refused value starts no edit";
    rs->Fields()["Id"].Value(rs->Fields()["Id"].Value());  // its own value: an edit, no change
    EXPECT_EQ(rs->EditMode(), adEditInProgress);
    rs->CancelUpdate();
    EXPECT_EQ(ErrorNumberOf([&] { rs->Fields()["Saldo"].Value("mucho"); }), err::DataConversion);
    rs->Fields()["Nombre"].Value("Ana María");
    EXPECT_EQ(ErrorNumberOf([&] { rs->Fields()["Nombre"].Value(std::string(21, 'y')); }), err::ErrorsOccurred);
    EXPECT_EQ(rs->Fields()["Nombre"].Value().ToString(), "Ana María") << "a refused value leaves the one assigned";
    rs->MoveNext();  // moving off an edited row saves it
    EXPECT_EQ(db.Scalar("SELECT Nombre FROM Clientes WHERE Id = 1").ToString(), "Ana María");
    EXPECT_EQ(rs->Fields()["Id"].Value().ToInt32(), 2);
    rs->MovePrevious();
    rs->AddNew();
    rs->CancelUpdate();
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Fields()["Id"].Value().ToInt32(), 1) << "the row current before AddNew comes back";
}

TEST_F(EditingTest, UpdateCriteriaDecideWhichConcurrentChangesConflict) {
    testsupport::ExpectUpdateCriteriaConflicts([&] { return db.Connect(); });
}

// A refused change keeps its edit for a retry and writes nothing. (An assigned autonumber is
// refused with the other values, in the buffer rules.)
TEST_F(EditingTest, ConstraintFailuresCarryTheLibrarysNumbers) {
    cn->Execute("CREATE TABLE Codigos (Codigo TEXT(5) PRIMARY KEY, Texto TEXT(10))");  // keys without autonumber
    cn->Execute("INSERT INTO Codigos VALUES ('A', 'uno')");
    auto clientes = Open("SELECT * FROM Clientes ORDER BY Id");
    auto pedidos = Open("SELECT * FROM Pedidos");
    auto codigos = Open("SELECT * FROM Codigos");
    struct Case {
        const char* what;
        RecordsetPtr rs;
        std::function<void()> change;
        int32_t number;
        EditModeEnum left;
    } cases[] = {
        {"foreign key on insert", pedidos,
         [&] { pedidos->AddNew(); pedidos->Fields()["IdCliente"].Value(99); pedidos->Update(); },
         err::IntegrityOnChange, adEditAdd},
        {"foreign key on update", pedidos, [&] { pedidos->Fields()["IdCliente"].Value(77); pedidos->Update(); },
         err::IntegrityOnChange, adEditInProgress},
        {"foreign key on delete", clientes, [&] { clientes->Delete(); }, err::IntegrityOnDelete, adEditInProgress},
        {"duplicate key", codigos, [&] { codigos->AddNew(); codigos->Fields()["Codigo"].Value("A"); codigos->Update(); },
         err::DuplicateKey, adEditAdd},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorNumberOf(c.change), c.number) << c.what;
        EXPECT_EQ(cn->Errors().Item(0).Number(), c.number) << c.what;
        EXPECT_EQ(c.rs->EditMode(), c.left) << c.what;
        c.rs->CancelUpdate();
    }
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM Codigos").ToInt32(), 1);
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM Clientes").ToInt32(), 2);
    EXPECT_EQ(db.Scalar("SELECT IdCliente FROM Pedidos").ToInt32(), 1);
}

// An added row shows what was assigned to it; a refused insert keeps it for a retry.
TEST_F(EditingTest, ARefusedAdditionKeepsItsValuesForARetry) {
    cn->Execute("CREATE TABLE Codigos (Codigo TEXT(5) PRIMARY KEY, Texto TEXT(10))");
    cn->Execute("INSERT INTO Codigos VALUES ('A', 'uno')");
    auto rs = Open("SELECT * FROM Codigos");
    rs->AddNew();
    rs->Fields()["Codigo"].Value("A");
    rs->Fields()["Texto"].Value("dos");
    EXPECT_EQ(ErrorNumberOf([&] { rs->Update(); }), err::DuplicateKey);
    EXPECT_EQ(rs->EditMode(), adEditAdd);
    EXPECT_EQ(rs->Fields()["Codigo"].Value().ToString(), "A");
    EXPECT_EQ(rs->Fields()["Texto"].Value().ToString(), "dos");
    EXPECT_TRUE(rs->Fields()["Texto"].OriginalValue().IsNull());
    rs->Fields()["Codigo"].Value("B");
    rs->Update();
    EXPECT_EQ(rs->EditMode(), adEditNone);
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM Codigos").ToInt32(), 2);
    EXPECT_EQ(db.Scalar("SELECT Codigo & '|' & Texto FROM Codigos WHERE Codigo <> 'A'").ToString(), "B|dos");
    EXPECT_EQ(rs->RecordCount(), 2);
}

TEST_F(EditingTest, DeletedRowsLeaveTheCursorAsAdoSays) {
    cn->Execute("INSERT INTO Clientes (Nombre) VALUES ('Eva')");
    auto rs = Open("SELECT * FROM Clientes WHERE Id > 1 ORDER BY Id");
    rs->Delete();
    EXPECT_EQ(ErrorNumberOf([&] { rs->Fields()[0].Value(); }), err::NoCurrentRecord);
    EXPECT_EQ(rs->RecordCount(), 1) << "the deleted row no longer counts";
    rs->MoveNext();
    EXPECT_EQ(rs->Fields()["Nombre"].Value().ToString(), "Eva");
    EXPECT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM Clientes").ToInt32(), 2);
}
