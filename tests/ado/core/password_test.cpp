// Exclusive connections to embedded files, and the password properties that re-encrypt or
// decrypt a file held exclusively.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ado/ado.h"
#include "support/EmbeddedDb.h"

namespace {

using namespace ado;
using testsupport::EmbeddedDb;
using testsupport::ErrorNumberOf;
using testsupport::JetConnectionString;

// Waits a second at most for a file another connection holds.
ConnectionPtr Open(const std::string& file, const std::string& password, ConnectModeEnum mode = adModeReadWrite) {
    auto cn = Connection::Create();
    cn->Mode(mode);
    cn->ConnectionTimeout(1);
    cn->Open(JetConnectionString(file, password));
    return cn;
}

int32_t Count(const ConnectionPtr& cn) {
    auto rs = Recordset::Create();
    rs->Open("SELECT COUNT(*) FROM Notas", cn, adOpenStatic, adLockReadOnly, adCmdText);
    return rs->Fields()[0].Value().ToInt32();
}

std::string Bytes(const std::string& file) {
    std::ostringstream out;
    out << std::ifstream(file, std::ios::binary).rdbuf();
    return out.str();
}

void AddNotes(const EmbeddedDb& db) {
    auto cn = db.Connect();
    cn->Execute("CREATE TABLE Notas (Texto TEXT)");
    cn->Execute("INSERT INTO Notas VALUES ('texto visible'), ('otra nota')");
}

TEST(ExclusiveMode, RefusesEveryOtherConnectionWhileHeld) {
    EmbeddedDb db("clave");
    AddNotes(db);
    auto holder = Open(db.file(), "clave", adModeShareExclusive);
    EXPECT_EQ(ErrorNumberOf([&] { Open(db.file(), "clave"); }), err::LockedByUser);
    EXPECT_EQ(ErrorNumberOf([&] { Open(db.file(), "clave", adModeRead); }), err::LockedByUser);
    EXPECT_EQ(ErrorNumberOf([&] { Open(db.file(), "clave", adModeShareExclusive); }), err::LockedByUser);
    holder->Execute("INSERT INTO Notas VALUES ('del dueño')");
    EXPECT_EQ(Count(holder), 3);
    holder->Close();
    EXPECT_EQ(Count(Open(db.file(), "clave")), 3);
}

TEST(ExclusiveMode, IsRefusedWhileAnotherConnectionHoldsTheFile) {
    EmbeddedDb db;
    AddNotes(db);
    auto writer = db.Connect();
    writer->BeginTrans();
    writer->Execute("INSERT INTO Notas VALUES ('pendiente')");
    EXPECT_EQ(ErrorNumberOf([&] { Open(db.file(), "", adModeShareExclusive); }), err::LockedByUser);
    writer->CommitTrans();
    EXPECT_EQ(Count(Open(db.file(), "", adModeShareExclusive)), 3);
}

TEST(DatabasePassword, SetChangedAndRemovedOnAnExclusiveConnection) {
    struct Change {
        const char* name;
        std::string before, property, after;
    };
    const Change changes[] = {
        {"set on a plain file", "", "Jet OLEDB:Database Password", "nueva"},
        {"changed", "vieja", "Jet OLEDB:Database Password", "nueva"},
        {"changed through the new-password property", "vieja", "Jet OLEDB:New Database Password", "nueva ñ;2"},
        {"removed", "vieja", "Jet OLEDB:New Database Password", ""},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.name);
        EmbeddedDb db(c.before);
        AddNotes(db);
        auto cn = Open(db.file(), c.before, adModeShareExclusive);
        cn->Properties().Item(c.property).Value(Variant(c.after));
        // The connection goes on, on the new file, and still holds it alone.
        EXPECT_EQ(Count(cn), 2);
        EXPECT_EQ(ErrorNumberOf([&] { Open(db.file(), c.after); }), err::LockedByUser);
        cn->Close();

        EXPECT_EQ(Count(Open(db.file(), c.after)), 2);
        const bool encrypted = !c.after.empty();
        EXPECT_EQ(Bytes(db.file()).find("texto visible") == std::string::npos, encrypted);
        // The old password no longer opens an encrypted file; a plain one opens with any.
        EXPECT_EQ(ErrorNumberOf([&] { Open(db.file(), encrypted ? c.before : "otra"); }),
                  encrypted ? err::InvalidPassword : 0);
    }
}

TEST(DatabasePassword, RefusedWithoutExclusiveUseOrInsideATransaction) {
    EmbeddedDb db("vieja");
    AddNotes(db);
    const std::string before = Bytes(db.file());
    auto shared = Open(db.file(), "vieja");
    EXPECT_EQ(ErrorNumberOf([&] { shared->Properties().Item("Jet OLEDB:Database Password").Value(Variant("x")); }),
              err::FeatureNotAvailable);
    EXPECT_EQ(shared->Errors().Count(), 1);
    shared->Close();

    auto exclusive = Open(db.file(), "vieja", adModeShareExclusive);
    exclusive->BeginTrans();
    EXPECT_EQ(ErrorNumberOf([&] { exclusive->Properties().Item("Jet OLEDB:New Database Password").Value(Variant("")); }),
              err::IllegalOperation);
    exclusive->RollbackTrans();
    exclusive->Close();
    EXPECT_EQ(Bytes(db.file()), before);
}

}  // namespace
