// Transactions, locks held by other connections and time limits on a real PostgreSQL server.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "pg_server.h"
#include "support/SharedScenarios.h"

using namespace ado;
using testsupport::ErrorNumberOf;
using testsupport::OpenRecordset;
using testsupport::PgTest;

namespace {

class OdbcTransactions : public PgTest {
protected:
    void SetUp() override {
        PgTest::SetUp();
        if (IsSkipped()) return;
        Run("CREATE TABLE stock (id int PRIMARY KEY, articulo varchar(20), unidades int)");
        Run("INSERT INTO stock VALUES (1, 'tornillo', 10), (2, 'tuerca', 20)");
    }
};

TEST_F(OdbcTransactions, NestedLevelsAreSavepoints) {
    testsupport::ExpectNestedTransactionsAreSavepoints([&] { return Connect(); });
}

TEST_F(OdbcTransactions, RowsLockedByAnotherConnectionAndTimeLimits) {
    auto holder = Connect(adUseServer);
    auto rs = OpenRecordset(holder, "SELECT * FROM stock ORDER BY id", adOpenKeyset, adLockPessimistic, adUseServer);
    rs->Fields()["unidades"].Value(Variant(int32_t{11}));  // the pessimistic edit locks row 1

    auto waiter = Connect(adUseServer, 1);
    waiter->CommandTimeout(1);
    auto theirs = OpenRecordset(waiter, "SELECT * FROM stock ORDER BY id", adOpenKeyset, adLockPessimistic, adUseServer);
    struct Case {
        const char* what;
        std::function<void()> run;
        int32_t number;
        const char* sqlState;
    } cases[] = {
        {"a pessimistic edit of the same row", [&] { theirs->Fields()["unidades"].Value(Variant(int32_t{12})); },
         err::LockedByUser, "57014"},
        {"a lock that does not wait", [&] { waiter->Execute("SELECT * FROM stock WHERE id = 1 FOR UPDATE NOWAIT"); },
         err::LockedByUser, "55P03"},
        {"a statement that waits past its time limit", [&] { waiter->Execute("UPDATE stock SET unidades = 0"); },
         err::TimeLimit, "57014"},
    };
    for (const auto& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(ErrorNumberOf(c.run), c.number) << c.what;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.what;
        ASSERT_EQ(waiter->Errors().Count(), 1) << c.what;
        EXPECT_EQ(waiter->Errors().Item(0).Number(), c.number) << c.what;
        EXPECT_EQ(waiter->Errors().Item(0).SQLState(), c.sqlState) << c.what;
    }
    theirs->CancelUpdate();
    // Another row is free, and the lock ends with the holder's Update.
    theirs->MoveNext();
    theirs->Fields()["unidades"].Value(Variant(int32_t{21}));
    theirs->Update();
    rs->Update();
    EXPECT_EQ(Scalar("SELECT sum(unidades) FROM stock"), Variant(int64_t{32}));
    // A time limit of zero is none.
    waiter->CommandTimeout(0);
    waiter->Execute("SELECT pg_sleep(1.2)");
}

}  // namespace
