// Opening embedded databases: providers, files, passwords, Errors, transactions.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/EmbeddedDb.h"
#include "support/SharedScenarios.h"

using namespace ado;
using testsupport::EmbeddedDb;
using testsupport::ErrorNumberOf;
using testsupport::FileBytes;
using testsupport::JetConnectionString;
using testsupport::Scalar;

TEST(Connection, OpenFailuresCarryTheirNumbersAndLandInErrors) {
    EmbeddedDb plain;
    EmbeddedDb locked("secreto");
    struct Case {
        const char* what;
        std::string cs;
        int32_t number;
    } cases[] = {
        {"unknown provider", "Provider=SQLNCLI12;Data Source=" + plain.file(), err::ProviderNotFound},
        {"missing file", JetConnectionString(plain.dir().file("nada.db")), err::Fail},
        {"wrong password", JetConnectionString(locked.file(), "otra"), err::InvalidPassword},
        {"no password on an encrypted file", JetConnectionString(locked.file()), err::PasswordMissing},
        {"not a database", JetConnectionString(plain.dir().file("texto.db")), err::UnrecognizedFormat},
    };
    std::ofstream(plain.dir().file("texto.db")) << "esto no es una base de datos, solo texto plano de prueba...";
    const std::string before = FileBytes(locked.file());
    for (const auto& c : cases) {
        auto cn = Connection::Create();
        EXPECT_EQ(ErrorNumberOf([&] { cn->Open(c.cs); }), c.number) << c.what;
        EXPECT_EQ(cn->State(), adStateClosed) << c.what;
        ASSERT_EQ(cn->Errors().Count(), 1) << c.what;
        EXPECT_EQ(cn->Errors().Item(0).Number(), c.number) << c.what;
        EXPECT_FALSE(cn->Errors().Item(0).Description().empty()) << c.what;
    }
    EXPECT_EQ(FileBytes(locked.file()), before) << "a failed open must not touch the file";
    EXPECT_FALSE(std::filesystem::exists(plain.dir().file("nada.db"))) << "open never creates a database";
}

TEST(Connection, PasswordsOnPlainAndEncryptedFiles) {
    EmbeddedDb plain;
    EmbeddedDb locked("clave ñ;1");
    // A password given for a plain file is accepted and the file opens as it is.
    auto cn = Connection::Create();
    cn->Open(JetConnectionString(plain.file(), "loquesea"));
    cn->Execute("CREATE TABLE t (x LONG)");
    cn->Close();
    EXPECT_EQ(FileBytes(plain.file()).substr(0, 15), "SQLite format 3");

    auto enc = Connection::Create();
    enc->Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + locked.file() +
              ";Jet OLEDB:Database Password=\"clave ñ;1\"");
    enc->Execute("CREATE TABLE t (x LONG)");
    enc->Execute("INSERT INTO t VALUES (42)");
    enc->Close();
    EXPECT_EQ(FileBytes(locked.file()).find("SQLite format 3"), std::string::npos) << "the file is encrypted";

    // The password may also come through the dynamic property written before Open.
    auto again = Connection::Create();
    again->Properties().Item("jet oledb:database password").Value(Variant("clave ñ;1"));
    again->Open("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + locked.file());
    EXPECT_EQ(Scalar(again, "SELECT x FROM t").ToInt32(), 42);
}

TEST(Connection, ConnectionStringForms) {
    EmbeddedDb db;
    auto cn = Connection::Create();
    cn->Provider("Microsoft.Jet.OLEDB.4.0");
    cn->Open(db.file());  // a string without '=' is the data source itself
    EXPECT_EQ(cn->State(), adStateOpen);
    EXPECT_EQ(ErrorNumberOf([&] { cn->Provider("MSDASQL"); }), err::ObjectOpen);
    EXPECT_EQ(ErrorNumberOf([&] { cn->Open(db.file()); }), err::ObjectOpen);
    cn->Close();
    EXPECT_EQ(ErrorNumberOf([&] { cn->Close(); }), err::ObjectClosed);
    cn->Open("  PROVIDER = microsoft.jet.oledb.4.0 ; data source = " + db.file() + " ;");
    EXPECT_EQ(cn->State(), adStateOpen);
    cn->Close();

    // A path with '=', ';', quotes and spaces: bare (no key holds a '/'), and as a value.
    const std::string odd = db.dir().file("a=b;c 'd' \"e\" .db");
    CreateDatabase(JetConnectionString(odd));
    cn->Open(odd);
    cn->Execute("CREATE TABLE t (x LONG)");
    cn->Close();
    cn->Open(JetConnectionString(odd));
    EXPECT_EQ(Scalar(cn, "SELECT COUNT(*) FROM t").ToInt32(), 0);
    EXPECT_EQ(ConnectionStringValue("a;b"), "\"a;b\"");
    EXPECT_EQ(ConnectionStringValue("x\"y"), "x\"y");
    EXPECT_EQ(ConnectionStringValue("\"x\";"), "'\"x\";'");
    EXPECT_EQ(ConnectionStringValue("'a\";"), "\"'a\"\";\"");
    EXPECT_EQ(ConnectionStringValue(" a"), "\" a\"");
}

TEST(Connection, ErrorsAreReplacedByTheNextFailureAndKeptBySuccess) {
    EmbeddedDb db;
    auto cn = db.Connect();
    EXPECT_EQ(ErrorNumberOf([&] { cn->Execute("SELECT * FROM NoHay"); }), err::TableNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { cn->Execute("SELEC 1"); }), err::SyntaxError);
    ASSERT_EQ(cn->Errors().Count(), 1);
    EXPECT_EQ(cn->Errors().Item(0).Number(), err::SyntaxError);
    cn->Execute("CREATE TABLE t (x LONG)");
    EXPECT_EQ(cn->Errors().Count(), 1) << "success leaves the collection alone";
    cn->Errors().Clear();
    EXPECT_EQ(cn->Errors().Count(), 0);
    EXPECT_EQ(ErrorNumberOf([&] { cn->Errors().Item(0); }), err::ItemNotFound);
}

TEST(Connection, NestedTransactionsAreSavepointsVisibleInTheFile) {
    EmbeddedDb db;
    testsupport::ExpectNestedTransactionsAreSavepoints([&] { return db.Connect(); });
}

TEST(Connection, ExecuteReturnsRowsOrRecordsAffected) {
    EmbeddedDb db;
    auto cn = db.Connect();
    int32_t affected = -7;
    auto none = cn->Execute("CREATE TABLE t (x LONG, y TEXT(10))", &affected);
    EXPECT_EQ(none->State(), adStateClosed);
    cn->Execute("INSERT INTO t VALUES (1, 'a')");
    cn->Execute("INSERT INTO t VALUES (2, 'b')");
    cn->Execute("UPDATE t SET y = 'z'", &affected);
    EXPECT_EQ(affected, 2);
    auto rs = cn->Execute("SELECT * FROM t");
    EXPECT_EQ(rs->State(), adStateOpen);
    EXPECT_EQ(rs->CursorType(), adOpenForwardOnly);
    EXPECT_EQ(rs->LockType(), adLockReadOnly);
    EXPECT_FALSE(rs->Supports(adMovePrevious));
    EXPECT_EQ(rs->RecordCount(), -1);
}

// A statement's translation follows the schema whoever changes it: another connection's
// committed change, this connection's own, and this connection's rolled-back one; on a plain
// file and on an encrypted one.
TEST(Connection, StatementsFollowSchemaChangesOfEveryConnection) {
    for (const std::string password : {"", "clave"}) {
        EmbeddedDb db(password);
        auto cn = db.Open(password);
        auto otro = db.Open(password);
        cn->Execute("CREATE TABLE T (a LONG)");
        cn->Execute("INSERT INTO T VALUES (1)");
        // b is no column yet: Access reads it as a parameter, which has no value.
        EXPECT_NE(ErrorNumberOf([&] { cn->Execute("SELECT b FROM T"); }), 0) << password;
        otro->Execute("ALTER TABLE T ADD COLUMN b LONG");
        otro->Execute("UPDATE T SET b = 7");
        EXPECT_EQ(Scalar(cn, "SELECT b FROM T"), Variant(7)) << "another connection's column, " << password;
        // This connection's own change inside a transaction, then undone.
        cn->BeginTrans();
        cn->Execute("ALTER TABLE T ADD COLUMN c LONG");
        EXPECT_TRUE(Scalar(cn, "SELECT c FROM T").IsNull());
        cn->RollbackTrans();
        EXPECT_NE(ErrorNumberOf([&] { cn->Execute("SELECT c FROM T"); }), 0) << "the column is gone again";
        otro->Execute("DROP TABLE T");
        otro->Execute("CREATE TABLE T (c TEXT(5))");
        otro->Execute("INSERT INTO T VALUES ('x')");
        EXPECT_EQ(Scalar(cn, "SELECT c FROM T"), Variant("x")) << password;
    }
}

// CurrentUser() answers the user the connection opened as: the Open argument, else the
// string's User ID, else Jet's "Admin"; each connection keeps its own, in views too.
TEST(Connection, CurrentUserIsTheUserTheConnectionOpenedAs) {
    EmbeddedDb db;
    db.Connect()->Execute("CREATE VIEW Quien AS SELECT CurrentUser() AS Usuario");
    auto open = [&](const std::string& extra, const std::string& user) {
        auto cn = Connection::Create();
        cn->Open(JetConnectionString(db.file()) + extra, user);
        return cn;
    };
    auto ana = open(";User ID=ana", "");  // an empty pair before it is passed over
    auto pepe = open("User ID=ana", "pepe");
    auto nobody = open("", "");
    EXPECT_EQ(Scalar(ana, "SELECT Usuario FROM Quien").ToString() + "|" +
                  Scalar(pepe, "SELECT Usuario & '/' & CurrentUser() FROM Quien").ToString() + "|" +
                  Scalar(nobody, "SELECT CurrentUser()").ToString(),
              "ana|pepe/pepe|Admin");
}
