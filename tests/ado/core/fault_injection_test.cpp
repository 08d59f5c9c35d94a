// Every preparation and commit of an edit cycle and of a batch made to fail in turn: after
// each failure the connection goes on working and the file holds the state before or after
// each write, never part of one; a batch keeps what it did not write pending, and writes it
// when asked again.
#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "ado/providers/sqlite/fault_injection.h"
#include "support/EmbeddedDb.h"

namespace {

using namespace ado;
namespace testing = ado::sqlite::testing;

// The whole table as "Id:Nombre:Precio" rows.
std::string Contents(const ConnectionPtr& cn) {
    std::string out;
    auto rs = cn->Execute("SELECT Id, Nombre, Precio FROM Art ORDER BY Id");
    auto text = [&](int i) { return rs->Fields()[i].Value().IsNull() ? std::string() : rs->Fields()[i].Value().ToString(); };
    for (; !rs->adoEOF(); rs->MoveNext()) out += text(0) + ":" + text(1) + ":" + text(2) + " ";
    return out;
}

// Runs `work` with the n-th point failing, for n = 1, 2, ... until it runs with no fault left
// to fire; each time the file must hold one of `states` and the connection must still work,
// and with no fault the file holds `done`. Returns how many points were walked.
int Walk(const std::function<void(const ConnectionPtr&)>& work, const std::set<std::string>& states,
         const std::string& done, const std::function<bool()>& finish = {}) {
    for (int n = 1;; ++n) {
        testsupport::EmbeddedDb db;
        auto cn = db.Connect();
        testsupport::CreateArticles(cn);
        testing::FailNth(n);
        try {
            work(cn);
        } catch (const Error&) {
        }
        const bool fired = testing::Fired();
        testing::FailNth(0);
        EXPECT_TRUE(states.contains(Contents(db.Connect()))) << "point " << n << ": " << Contents(db.Connect());
        EXPECT_EQ(testsupport::ErrorNumberOf([&] { cn->Execute("UPDATE Art SET Precio = Precio WHERE Id = 1"); }), 0)
            << "point " << n;
        if (finish && finish()) {
            EXPECT_EQ(Contents(db.Connect()), done) << "point " << n << ": what was left pending is written";
        }
        if (!fired) {
            EXPECT_EQ(Contents(cn), done) << "without a fault the work is done";
            return n - 1;
        }
    }
}

const std::string kBefore = "1:a1:1 2:a2:2 3:a3:3 4:a4:4 ";

TEST(FaultInjection, AnEditCycleFailsWriteByWrite) {
    const std::string changed = "1:a1:9 2:a2:2 3:a3:3 4:a4:4 ";
    const std::string added = changed + "5:nueva:5 ";
    const std::string deleted = "1:a1:9 3:a3:3 4:a4:4 5:nueva:5 ";
    const int points = Walk(
        [](const ConnectionPtr& cn) {
            auto rs = testsupport::OpenRecordset(cn, "SELECT * FROM Art ORDER BY Id", adOpenKeyset, adLockOptimistic);
            rs->Fields()["Precio"].Value(9);
            rs->Update();
            rs->AddNew();
            rs->Fields()["Id"].Value(5);
            rs->Fields()["Nombre"].Value("nueva");
            rs->Fields()["Precio"].Value(5);
            rs->Update();
            rs->MoveFirst();
            rs->MoveNext();
            rs->Delete();
        },
        {kBefore, changed, added, deleted}, deleted);
    EXPECT_GE(points, 3);
}

TEST(FaultInjection, ABatchWritesEachRowWholeAndKeepsTheRestPending) {
    RecordsetPtr rs;
    bool sent = false;
    // Each of the three rows written or not, in any combination.
    std::set<std::string> states;
    for (const char* first : {"1:a1:1 ", "1:a1:9 "})
        for (const char* second : {"2:a2:2 ", ""})
            for (const char* added : {"5:nueva: ", ""})
                states.insert(std::string(first) + second + "3:a3:3 4:a4:4 " + added);
    const std::string done = "1:a1:9 3:a3:3 4:a4:4 5:nueva: ";
    const int points = Walk(
        [&](const ConnectionPtr& cn) {
            sent = false;
            rs = testsupport::OpenRecordset(cn, "SELECT * FROM Art ORDER BY Id", adOpenStatic, adLockBatchOptimistic);
            rs->Fields()["Precio"].Value(9);
            rs->Update();
            rs->MoveNext();
            rs->Delete();
            rs->AddNew();
            rs->Fields()["Id"].Value(5);
            rs->Fields()["Nombre"].Value("nueva");
            rs->Update();
            sent = true;
            rs->UpdateBatch();
        },
        states, done,
        [&] {
            if (sent) rs->UpdateBatch();
            return sent;
        });
    EXPECT_GE(points, 3);
}

}  // namespace
