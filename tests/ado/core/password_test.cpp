// Exclusive connections to embedded files, and the password properties that re-encrypt or
// decrypt a file held exclusively.
#include <gtest/gtest.h>

#include "ado/ado.h"
#include "support/EmbeddedDb.h"

namespace {

using namespace ado;
using testsupport::ErrorNumberOf;

int32_t Notes(const ConnectionPtr& cn) { return testsupport::Scalar(cn, "SELECT COUNT(*) FROM Notas").ToInt32(); }

TEST(ExclusiveMode, HeldAloneAndRefusedWhileAnotherHoldsTheFile) {
    testsupport::EmbeddedDb db("clave");
    auto writer = db.Connect();
    writer->Execute("CREATE TABLE Notas (Texto TEXT)");
    writer->BeginTrans();
    writer->Execute("INSERT INTO Notas VALUES ('texto visible')");
    EXPECT_EQ(ErrorNumberOf([&] { db.Open("clave", adModeShareExclusive); }), err::LockedByUser);
    writer->CommitTrans();
    // An idle connection still has the file open.
    EXPECT_EQ(ErrorNumberOf([&] { db.Open("clave", adModeShareExclusive); }), err::LockedByUser);
    writer->Close();

    auto holder = db.Open("clave", adModeShareExclusive);
    for (ConnectModeEnum mode : {adModeReadWrite, adModeRead, adModeShareExclusive})
        EXPECT_EQ(ErrorNumberOf([&] { db.Open("clave", mode); }), err::LockedByUser) << mode;
    holder->Execute("INSERT INTO Notas VALUES ('del dueño')");
    holder->Close();
    EXPECT_EQ(Notes(db.Open("clave")), 2);
}

TEST(DatabasePassword, SetChangedAndRemovedOnAnExclusiveConnection) {
    const std::tuple<std::string, std::string, std::string> changes[] = {
        {"", "Jet OLEDB:Database Password", "nueva"},
        {"vieja", "Jet OLEDB:Database Password", "nueva"},
        {"vieja", "Jet OLEDB:New Database Password", "nueva ñ;2"},
        {"vieja", "Jet OLEDB:New Database Password", ""},  // removed
    };
    for (const auto& change : changes) {
        const std::string& before = std::get<0>(change);
        const std::string& property = std::get<1>(change);
        const std::string& after = std::get<2>(change);
        SCOPED_TRACE(before + " -> " + after);
        testsupport::EmbeddedDb db(before);
        db.Connect()->Execute("CREATE TABLE Notas (Texto TEXT)");
        db.Connect()->Execute("INSERT INTO Notas VALUES ('texto visible')");
        auto cn = db.Open(before, adModeShareExclusive);
        cn->Properties().Item(property).Value(Variant(after));
        // The connection goes on, on the new file, and still holds it alone.
        EXPECT_EQ(Notes(cn), 1);
        EXPECT_EQ(ErrorNumberOf([&] { db.Open(after); }), err::LockedByUser);
        cn->Close();
        EXPECT_EQ(Notes(db.Open(after)), 1);
        EXPECT_EQ(testsupport::FileBytes(db.file()).find("texto visible") != std::string::npos, after.empty());
        // The old password no longer opens an encrypted file; a plain one opens with any.
        EXPECT_EQ(ErrorNumberOf([&] { db.Open(after.empty() ? "otra" : before); }),
                  after.empty() ? 0 : before.empty() ? err::PasswordMissing : err::InvalidPassword);
    }
}

TEST(DatabasePassword, RefusedWithoutExclusiveUseOrInsideATransaction) {
    testsupport::EmbeddedDb db;
    db.Connect()->Execute("CREATE TABLE Notas (Texto TEXT)");
    auto shared = db.Open("");
    EXPECT_EQ(ErrorNumberOf([&] { shared->Properties().Item("Jet OLEDB:Database Password").Value(Variant("x")); }),
              err::FeatureNotAvailable);
    EXPECT_EQ(shared->Errors().Count(), 1);
    shared->Close();
    auto exclusive = db.Open("", adModeShareExclusive);
    exclusive->BeginTrans();
    EXPECT_EQ(ErrorNumberOf([&] { exclusive->Properties().Item("Jet OLEDB:Database Password").Value(Variant("x")); }),
              err::IllegalOperation);
    exclusive->RollbackTrans();
    exclusive->Close();
    EXPECT_EQ(Notes(db.Open("")), 0);  // still plain
}

}  // namespace
