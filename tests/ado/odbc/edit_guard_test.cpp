// Pessimistic edits and key-less writes on a real PostgreSQL server: the server's row lock is
// held apart from the session's other work, so a cancel undoes nothing else; a write that
// would change several rows of a table without a key is undone.
#include <gtest/gtest.h>

#include "ado/error_numbers.h"
#include "pg_server.h"

using namespace ado;
using testsupport::ErrorNumberOf;
using testsupport::OpenRecordset;
using testsupport::PgTest;

namespace {

class OdbcEditGuard : public PgTest {
protected:
    void SetUp() override {
        PgTest::SetUp();
        if (IsSkipped()) return;
        Run("CREATE TABLE stock (id int PRIMARY KEY, articulo varchar(20), unidades int)");
        Run("INSERT INTO stock VALUES (1, 'tornillo', 10), (2, 'tuerca', 20)");
        Run("CREATE TABLE personas (nombre varchar(20), ciudad varchar(20))");
        Run("INSERT INTO personas VALUES ('Ana', 'León'), ('Ana', 'León'), ('Eva', 'Soria')");
    }
    RecordsetPtr EditUnits(const ConnectionPtr& cn, int id, int units) const {
        auto rs = OpenRecordset(cn, "SELECT * FROM stock WHERE id = " + std::to_string(id), adOpenKeyset,
                                adLockPessimistic, adUseServer);
        rs->Fields()["unidades"].Value(Variant(int32_t{units}));
        return rs;
    }
    std::string Stock() const {
        std::string all;
        for (auto rs = Query(Connect(), "SELECT id, unidades FROM stock ORDER BY id"); !rs->adoEOF(); rs->MoveNext())
            all += (all.empty() ? "" : ",") + rs->Fields()[0].Value().ToString() + ":" +
                   rs->Fields()[1].Value().ToString();
        return all;
    }
    std::string People() const {
        std::string all;
        for (auto rs = Query(Connect(), "SELECT nombre, ciudad FROM personas ORDER BY nombre, ciudad"); !rs->adoEOF();
             rs->MoveNext())
            all += (all.empty() ? "" : ",") + rs->Fields()[0].Value().ToString() + "/" +
                   rs->Fields()[1].Value().ToString();
        return all;
    }
};

TEST_F(OdbcEditGuard, CancellingAnEditUndoesNothingElse) {
    auto cn = Connect(adUseServer, 1);
    auto held = EditUnits(cn, 1, 11);
    cn->Execute("INSERT INTO stock VALUES (3, 'arandela', 30)");
    auto other = Query(cn, "SELECT * FROM stock WHERE id = 2", adLockOptimistic);
    other->Fields()["unidades"].Value(Variant(int32_t{21}));
    other->Update();
    EXPECT_EQ(cn->BeginTrans(), 1);
    cn->Execute("INSERT INTO stock VALUES (4, 'clavo', 40)");
    cn->CommitTrans();
    held->CancelUpdate();
    EXPECT_EQ(Stock(), "1:10,2:21,3:30,4:40");
    // The record is free again for another connection, at once.
    auto rival = Connect(adUseServer, 1);
    EditUnits(rival, 1, 12)->Update();
    EXPECT_EQ(Stock(), "1:12,2:21,3:30,4:40");
}

// An edit saved inside a transaction begun during it belongs to that transaction.
TEST_F(OdbcEditGuard, AnEditSavedInsideATransactionIsTheTransactions) {
    auto cn = Connect(adUseServer, 1);
    for (const bool commit : {false, true}) {
        auto held = EditUnits(cn, 2, commit ? 22 : 99);
        cn->BeginTrans();
        held->Update();
        commit ? cn->CommitTrans() : cn->RollbackTrans();
        EXPECT_EQ(Stock(), commit ? "1:10,2:22" : "1:10,2:20");
    }
    EditUnits(Connect(adUseServer, 1), 2, 23)->Update();  // nothing is left locked
    EXPECT_EQ(Stock(), "1:10,2:23");
}

TEST_F(OdbcEditGuard, AKeylessWriteThatWouldChangeSeveralRowsIsUndone) {
    const std::string tooMany = Lookup(Condition::TooManyRows).description.data();
    auto cn = Connect();
    for (const bool inTransaction : {false, true}) {
        if (inTransaction) cn->BeginTrans();
        auto rs = Query(cn, "SELECT * FROM personas ORDER BY nombre", adLockOptimistic);
        rs->Fields()["ciudad"].Value("Lugo");
        try {
            rs->Update();
            ADD_FAILURE() << "written";
        } catch (const Error& e) {
            EXPECT_EQ(e.Number(), err::Fail);
            EXPECT_EQ(e.Description(), tooMany);
        }
        rs->CancelUpdate();
        EXPECT_EQ(ErrorNumberOf([&] { rs->Delete(); }), err::Fail);
        rs->CancelUpdate();
        rs->MoveLast();  // Eva: one row, written
        rs->Fields()["ciudad"].Value(inTransaction ? "Vigo" : "Lugo");
        rs->Update();
        if (inTransaction) cn->CommitTrans();  // the transaction goes on after an undone write
        EXPECT_EQ(People(), inTransaction ? "Ana/León,Ana/León,Eva/Vigo" : "Ana/León,Ana/León,Eva/Lugo");
    }
}

}  // namespace
