// Record locks of pessimistic editing on real files: two connections (of one process, or of
// two), the same record and other records, the lock wait, what a cancel leaves, transactions
// during an edit, a killed holder, and the .ldb's use lock beside the record locks.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

#include "support/EmbeddedDb.h"

using namespace ado;
using testsupport::EmbeddedDb;
using testsupport::ErrorNumberOf;
using testsupport::OpenRecordset;

namespace {

class RecordLocks : public ::testing::Test {
protected:
    void SetUp() override {
        auto cn = db.Connect();
        cn->Execute("CREATE TABLE Clientes (Id COUNTER PRIMARY KEY, Nombre TEXT(20), Ciudad TEXT(20))");
        cn->Execute("CREATE TABLE Pedidos (Numero LONG PRIMARY KEY, Cliente LONG, Total DOUBLE)");
        for (const char* nombre : {"Ana", "Luis", "Eva"})
            cn->Execute(std::string("INSERT INTO Clientes (Nombre, Ciudad) VALUES ('") + nombre + "', 'León')");
        cn->Execute("INSERT INTO Pedidos VALUES (1, 1, 10)");
    }
    // A connection that waits one second (its lock wait) for a record another one holds.
    ConnectionPtr User() const { return db.Open(""); }
    // A pessimistic edit of customer `id`, begun by changing its city.
    static RecordsetPtr Edit(const ConnectionPtr& cn, int id, const char* ciudad = "Soria",
                             LockTypeEnum lock = adLockPessimistic) {
        auto rs = OpenRecordset(cn, "SELECT * FROM Clientes WHERE Id = " + std::to_string(id), adOpenKeyset, lock);
        rs->Fields()["Ciudad"].Value(ciudad);
        return rs;
    }
    std::string Ciudades() const {
        std::string all;
        for (auto rs = db.Query(db.Connect(), "SELECT Ciudad FROM Clientes ORDER BY Id"); !rs->adoEOF(); rs->MoveNext())
            all += (all.empty() ? "" : ",") + rs->Fields()[0].Value().ToString();
        return all;
    }

    EmbeddedDb db;
};

// Runs `f`; its error number, and whether it waited about the connection's lock wait.
std::pair<int32_t, bool> Timed(const std::function<void()>& f) {
    const auto start = std::chrono::steady_clock::now();
    const int32_t number = ErrorNumberOf(f);
    const auto waited = std::chrono::steady_clock::now() - start;
    return {number, waited >= std::chrono::milliseconds(900) && waited < std::chrono::seconds(5)};
}

TEST_F(RecordLocks, OneRecordIsHeldAndEveryOtherIsFree) {
    auto holder = User();
    auto held = Edit(holder, 1);
    auto other = User();
    const struct {
        const char* what;
        std::function<void()> run;
        int32_t number;
    } cases[] = {
        {"a pessimistic edit of the held record", [&] { Edit(other, 1); }, err::LockedByUser},
        {"an optimistic update of it", [&] { Edit(other, 1, "Vigo", adLockOptimistic)->Update(); }, err::LockedByUser},
        {"a delete of it",
         [&] { OpenRecordset(other, "SELECT * FROM Clientes WHERE Id = 1", adOpenKeyset, adLockOptimistic)->Delete(); },
         err::LockedByUser},
        {"a batch that writes it",
         [&] {
             auto rs = OpenRecordset(other, "SELECT * FROM Clientes ORDER BY Id", adOpenKeyset, adLockBatchOptimistic);
             rs->Fields()["Nombre"].Value("Ana María");
             rs->UpdateBatch();
         },
         err::ErrorsOccurred},
        {"another record of the same table", [&] { Edit(other, 2, "Vigo")->Update(); }, 0},
        {"a record of another table",
         [&] {
             auto rs = OpenRecordset(other, "SELECT * FROM Pedidos", adOpenKeyset, adLockPessimistic);
             rs->Fields()["Total"].Value(12.5);
             rs->Update();
         },
         0},
    };
    for (const auto& c : cases) {
        const auto [number, waited] = Timed(c.run);
        EXPECT_EQ(number, c.number) << c.what;
        EXPECT_EQ(waited, c.number != 0) << c.what << ": waits the lock wait, and only when refused";
    }
    EXPECT_EQ(other->Errors().Item(0).Number(), err::LockedByUser) << "the batch's row failure";
    // Plain SQL does not look at record locks.
    other->Execute("UPDATE Clientes SET Nombre = 'Ana Belén' WHERE Id = 1");
    held->Update();  // changed another column: saved, and the record is free again
    Edit(other, 1, "Burgos")->Update();
    EXPECT_EQ(Ciudades(), "Burgos,Vigo,León");
    EXPECT_EQ(db.Scalar("SELECT Nombre FROM Clientes WHERE Id = 1").ToString(), "Ana Belén");
    EXPECT_EQ(db.Scalar("SELECT Total FROM Pedidos").ToDouble(), 12.5);
}

// A connection counts its own holders: two edits of one record by one connection do not meet,
// and the record stays held until the last of them ends.
TEST_F(RecordLocks, AConnectionsOwnEditsShareTheRecord) {
    auto holder = User();
    auto first = Edit(holder, 3, "Soria");
    auto second = Edit(holder, 3, "Lugo");
    auto other = User();
    first->Update();
    EXPECT_EQ(ErrorNumberOf([&] { Edit(other, 3); }), err::LockedByUser);
    second->CancelUpdate();
    Edit(other, 3, "Vigo")->Update();
    EXPECT_EQ(Ciudades(), "León,León,Vigo");
}

// Nothing but the edit's own change goes with a cancel; transactions work during an edit.
TEST_F(RecordLocks, CancelUndoesNothingElse) {
    auto cn = User();
    auto held = Edit(cn, 1);
    auto orders = OpenRecordset(cn, "SELECT * FROM Pedidos", adOpenKeyset, adLockOptimistic);
    orders->AddNew();
    orders->Fields()["Numero"].Value(2);
    orders->Fields()["Total"].Value(20.0);
    orders->Update();
    cn->Execute("INSERT INTO Pedidos VALUES (3, 2, 30)");
    EXPECT_EQ(cn->BeginTrans(), 1);
    cn->Execute("INSERT INTO Pedidos VALUES (4, 2, 40)");
    cn->CommitTrans();
    cn->BeginTrans();
    cn->Execute("INSERT INTO Pedidos VALUES (5, 2, 50)");
    cn->RollbackTrans();  // undoes its own insert only
    held->CancelUpdate();
    EXPECT_EQ(db.Scalar("SELECT SUM(Numero) FROM Pedidos").ToInt32(), 1 + 2 + 3 + 4);
    EXPECT_EQ(Ciudades(), "León,León,León");
    // An edit saved inside a transaction is the transaction's.
    held = Edit(cn, 2);
    cn->BeginTrans();
    held->Update();
    cn->RollbackTrans();
    EXPECT_EQ(Ciudades(), "León,León,León");
    held = Edit(cn, 2);
    cn->BeginTrans();
    held->Update();
    cn->CommitTrans();
    EXPECT_EQ(Ciudades(), "León,Soria,León");
}

// A connection whose open transaction wrote rows of a table without checking records (nobody
// was editing it then) is waited for by a new editor of that table, who gets the record once
// the transaction ends; its writes after that check the editor's record.
TEST_F(RecordLocks, AnEditorWaitsForTheTablesUncheckedWriters) {
    auto writer = User();
    writer->BeginTrans();
    Edit(writer, 2, "Vigo", adLockOptimistic)->Update();
    auto editor = User();
    const auto [number, waited] = Timed([&] { Edit(editor, 1); });
    EXPECT_EQ(number, err::LockedByUser);
    EXPECT_TRUE(waited);
    std::thread commit([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        writer->CommitTrans();
    });
    auto held = Edit(editor, 1, "Soria");
    commit.join();
    writer->BeginTrans();
    EXPECT_EQ(ErrorNumberOf([&] { Edit(writer, 1, "Lugo", adLockOptimistic)->Update(); }), err::LockedByUser);
    Edit(writer, 3, "Lugo", adLockOptimistic)->Update();
    writer->CommitTrans();
    held->Update();
    EXPECT_EQ(Ciudades(), "Soria,Vigo,Lugo");
}

// A record held by a process that dies is free at once: the lock belonged to its open.
TEST_F(RecordLocks, AKilledHolderLetsTheRecordGo) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        auto cn = User();
        auto held = Edit(cn, 1);
        const char byte = 1;
        if (write(ready[1], &byte, 1) != 1) _exit(1);
        pause();
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1) << "the child holds the record";
    auto cn = User();
    EXPECT_EQ(ErrorNumberOf([&] { Edit(cn, 1); }), err::LockedByUser);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(ready[0]);
    close(ready[1]);
    Edit(cn, 1, "Vigo")->Update();
    EXPECT_EQ(Ciudades(), "Vigo,León,León");
}

// The .ldb carries two kinds of lock that do not meet: who uses the file (flock) and which
// records are held (byte ranges).
TEST_F(RecordLocks, TheFilesUseLockAndRecordLocksLiveSideBySide) {
    auto holder = User();
    auto held = Edit(holder, 1);
    EXPECT_EQ(ErrorNumberOf([&] { db.Open("", adModeShareExclusive); }), err::LockedByUser)
        << "the file is in use";
    auto other = User();
    Edit(other, 2, "Vigo")->Update();
    held->Update();
    holder->Close();
    other->Close();
    auto alone = db.Open("", adModeShareExclusive);
    Edit(alone, 1, "Lugo")->Update();
    EXPECT_EQ(testsupport::Scalar(alone, "SELECT Ciudad FROM Clientes WHERE Id = 1").ToString(), "Lugo");
}

}  // namespace
