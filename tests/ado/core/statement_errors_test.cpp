// Failures name the statement that failed (passwords masked), what() shows it with the
// engine's codes, and ExecuteEach hands over any number of rows a page at a time.
#include <gtest/gtest.h>

#include "support/EmbeddedDb.h"

using namespace ado;

namespace {

Error ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return Error(0, "");
}

TEST(StatementErrors, EveryWayOfRunningAStatementNamesIt) {
    testsupport::EmbeddedDb db;
    auto cn = db.Connect();
    testsupport::CreateArticles(cn);
    const std::string bad = "SELECT Nada FROM Art WHERE Id = 1";
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"Connection::Execute", [&] { cn->Execute(bad); }},
        {"Recordset::Open", [&] { db.Query(cn, bad); }},
        {"Command::Execute", [&] { testsupport::NewCommand(cn, bad)->Execute(); }},
        {"Connection::ExecuteEach", [&] { cn->ExecuteEach(bad, [](Fields&) { return true; }); }},
    };
    for (const auto& [way, action] : ways) {
        const Error e = ErrorOf(action);
        EXPECT_EQ(e.Statement(), bad) << way;
        EXPECT_EQ(std::string(e.what()), e.Description() + " en la instrucción: " + bad) << way;
        ASSERT_EQ(cn->Errors().Count(), 1) << way;
        EXPECT_EQ(cn->Errors().Item(0).Statement(), bad) << way << ": the collection holds the same error";
    }
    // A failure that comes from no statement names none.
    const Error closed = ErrorOf([&] { Connection::Create()->Execute("SELECT 1"); });
    EXPECT_EQ(closed.Statement(), "");
    EXPECT_EQ(std::string(closed.what()), closed.Description());
}

TEST(StatementErrors, PasswordsInTheStatementAreMasked) {
    const std::pair<const char*, const char*> cases[] = {
        {"SELECT * FROM T IN '' [;PWD=secreto;DATABASE=otra.db]", "SELECT * FROM T IN '' [;PWD=***;DATABASE=otra.db]"},
        {"SELECT * FROM T IN '' [;pwd=secreto]", "SELECT * FROM T IN '' [;pwd=***]"},
        {"SELECT * FROM T IN 'x.db' 'Jet OLEDB:Database Password=a b;'", "SELECT * FROM T IN 'x.db' 'Jet OLEDB:Database Password=***;'"},
        {"SELECT 'la password no va aquí'", "SELECT 'la password no va aquí'"},
    };
    for (const auto& [text, masked] : cases) {
        Error e(3078, "No se encuentra la tabla");
        e.Statement(text);
        EXPECT_EQ(e.Statement(), masked);
        EXPECT_EQ(std::string(e.what()), std::string("No se encuentra la tabla en la instrucción: ") + masked);
        e.Statement("SELECT otra");
        EXPECT_EQ(e.Statement(), masked) << "the innermost statement stays";
    }
    Error odbc(-2147217865, "relation \"nada\" does not exist", "Microsoft OLE DB Provider for ODBC Drivers", "42P01", 7);
    odbc.Statement("SELECT * FROM nada");
    EXPECT_EQ(std::string(odbc.what()),
              "relation \"nada\" does not exist [SQLSTATE 42P01, error nativo 7] en la instrucción: SELECT * FROM nada");
}

TEST(ExecuteEach, RowsComeInOrderAPageAtATimeAndStopWhenAsked) {
    testsupport::EmbeddedDb db;
    auto cn = db.Connect();
    cn->Execute("CREATE TABLE N (Id LONG PRIMARY KEY, Texto TEXT(10))");
    cn->BeginTrans();
    for (int i = 1; i <= 1000; ++i) cn->Execute("INSERT INTO N VALUES (" + std::to_string(i) + ", 'n" + std::to_string(i) + "')");
    cn->CommitTrans();

    std::vector<std::string> names;
    int64_t next = 1, bad = 0;
    EXPECT_EQ(cn->ExecuteEach(
                  "SELECT Id, Texto FROM N ORDER BY Id",
                  [&](Fields& f) {
                      bad += f[0].Value().As<int64_t>() != next || f["Texto"].Value().As<std::string>() != "n" + std::to_string(next);
                      ++next;
                      return true;
                  },
                  [&](Fields& f) {
                      for (Field& field : f) names.push_back(field.Name());
                  }),
              -1);
    EXPECT_EQ(next, 1001);
    EXPECT_EQ(bad, 0);
    EXPECT_EQ(names, (std::vector<std::string>{"Id", "Texto"})) << "start sees the fields once";

    int seen = 0;
    cn->ExecuteEach("SELECT Id FROM N ORDER BY Id", [&](Fields&) { return ++seen < 300; });
    EXPECT_EQ(seen, 300) << "false stops the reading";

    int starts = 0, rows = 0;
    EXPECT_EQ(cn->ExecuteEach(
                  "SELECT Id FROM N WHERE Id < 0", [&](Fields&) { return ++rows > 0; },
                  [&](Fields& f) { starts += f.Count(); }),
              -1);
    EXPECT_EQ(starts, 1) << "an empty result still shows its fields";
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(cn->ExecuteEach("DELETE FROM N WHERE Id > 990", [&](Fields&) { return true; }), 10);
}

}  // namespace
