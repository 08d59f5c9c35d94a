// What the translator reports of a statement without running it: its parameters, the files
// it reaches, whether it yields rows, and the statements it refuses and why. What statements
// do is checked by running them (access_sql_test.cpp, access_values_test.cpp).
#include <gtest/gtest.h>

#include "ado/Error.h"
#include "ado/ErrorNumbers.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "support/SmallStack.h"

namespace {

using ado::sqlite::TranslateAccessSql;

TEST(Translate, ParametersAreNumberedNamedFirstInOrderOfAppearance) {
    const auto tr = TranslateAccessSql(
        "PARAMETERS [Desde] DateTime, [Codigo Cliente] Long, Nombre Text (50);\n"
        "SELECT p.Cliente, ? FROM Pedidos AS p WHERE p.Fecha >= Desde AND p.Cliente = [Codigo Cliente] "
        "OR p.Fecha = [desde] OR p.Nota = :nota OR p.Ref = ?");
    const std::vector<ado::sqlite::DeclaredParameter> declared = {
        {"[Desde]", "DateTime"}, {"[Codigo Cliente]", "Long"}, {"Nombre", "Text (50)"}};
    EXPECT_EQ(tr.parameters, declared);
    EXPECT_EQ(tr.placeholders, (std::vector<std::string>{"Desde", "Codigo Cliente", "nota"}));
    // The declared types say how values bind; the plain ? markers come last.
    EXPECT_EQ(tr.parameterTypes, (std::vector<ado::DataTypeEnum>{ado::adDate, ado::adInteger, ado::adVariant,
                                                                  ado::adVariant, ado::adVariant}));
    EXPECT_NE(tr.sql.find("?5"), std::string::npos) << tr.sql;
    EXPECT_TRUE(tr.returnsRows);
}

TEST(Translate, TopQueriesGrowTheirTextLinearly) {
    // Each level's rows are written once, however many ties conditions read them.
    std::string nested = "SELECT a, b FROM t";
    for (int level = 0; level < 20; ++level) nested = "SELECT TOP 3 a, b FROM (" + nested + ") ORDER BY b DESC, a";
    EXPECT_LT(TranslateAccessSql(nested).sql.size(), 50 * nested.size());
    // So does one TOP ordered by many keys: each key's tie condition reads the nth row once.
    std::string keys = "a";
    for (int key = 1; key < 400; ++key) keys += ", a + " + std::to_string(key);
    const std::string manyKeys = "SELECT TOP 2 a FROM t ORDER BY " + keys;
    EXPECT_LT(TranslateAccessSql(manyKeys).sql.size(), 50 * manyKeys.size());
}

TEST(Translate, ExternalFilesAreAttachedUnderOneAliasPerPath) {
    const auto tr = TranslateAccessSql(
        "SELECT * FROM Clientes IN 'C:\\datos\\otra.mdb' AS c INNER JOIN [Pedidos] IN \"C:\\datos\\otra.mdb\" ON c.Id = 1");
    ASSERT_EQ(tr.attachments.size(), 1u);
    EXPECT_EQ(tr.attachments[0].path, "C:\\datos\\otra.mdb");
    const auto other = TranslateAccessSql("INSERT INTO Copia IN 'b.db' SELECT * FROM t IN 'a.db'");
    ASSERT_EQ(other.attachments.size(), 2u);
    EXPECT_NE(other.attachments[0].alias, other.attachments[1].alias);
    EXPECT_EQ(TranslateAccessSql("SELECT * FROM x IN 'b.db'").attachments[0].alias, other.attachments[0].alias);
    EXPECT_TRUE(TranslateAccessSql("SELECT a IN ('x') FROM t").attachments.empty());
    // The same file named by the connect strings of an Access database.
    for (const char* sql : {"SELECT * FROM [;DATABASE=C:\\datos\\otra.mdb].Clientes",
                            "SELECT * FROM [MS Access;PWD=x; DATABASE = C:\\datos\\otra.mdb].[Clientes] AS c",
                            "SELECT * FROM Clientes IN '' [;DATABASE=C:\\datos\\otra.mdb]",
                            "SELECT * FROM Clientes IN 'C:\\datos\\otra.mdb' 'MS Access;'"}) {
        const auto connect = TranslateAccessSql(sql);
        ASSERT_EQ(connect.attachments.size(), 1u) << sql;
        EXPECT_EQ(connect.attachments[0], tr.attachments[0]) << sql;
    }
}

// Access also names the file after an insert's column list; both orders write the same.
TEST(Translate, InsertNamesItsFileAfterTheColumnsToo) {
    const auto after = TranslateAccessSql("INSERT INTO Copia (a, b) IN 'b.db' SELECT x, y FROM t");
    const auto before = TranslateAccessSql("INSERT INTO Copia IN 'b.db' (a, b) SELECT x, y FROM t");
    ASSERT_EQ(after.attachments.size(), 1u);
    EXPECT_EQ(after.attachments[0].path, "b.db");
    EXPECT_EQ(after.sql, before.sql);
    EXPECT_THROW(TranslateAccessSql("INSERT INTO Copia IN 'a.db' (a) IN 'b.db' SELECT x FROM t"), ado::Error);
}

TEST(Translate, ReturnsRows) {
    const std::pair<const char*, bool> cases[] = {
        {"SELECT 1", true},
        {"PARAMETERS a Long; SELECT a", true},
        {"-- list\n  PRAGMA table_info(t)", true},
        {"WITH x AS (SELECT 1 AS n) SELECT * FROM x", true},
        {"WITH x AS (SELECT 1 AS n) DELETE FROM t WHERE a IN (SELECT n FROM x)", false},
        {"INSERT INTO t VALUES (1)", false},
        {"SELECT a INTO b FROM c", false},
        {"/* nothing */", false},
    };
    for (const auto& [sql, rows] : cases) EXPECT_EQ(TranslateAccessSql(sql).returnsRows, rows) << sql;
}

// One statement per call: a second one is refused before anything runs.
TEST(Translate, TextAfterTheStatementIsRefused) {
    for (const char* sql : {"UPDATE t SET a = 1; DELETE FROM Clientes", "SELECT 1; SELECT 2", "SELECT 1 SELECT 2",
                            "DELETE FROM t WHERE a = 1 ORDER"}) {
        try {
            TranslateAccessSql(sql);
            ADD_FAILURE() << "accepted: " << sql;
        } catch (const ado::Error& e) {
            EXPECT_EQ(e.Number(), ado::err::CharactersAfterEnd) << sql;
            EXPECT_EQ(e.Description(), "Se encontraron caracteres después del final de la instrucción SQL.");
        }
    }
    for (const char* sql : {"SELECT 1;", "SELECT 1 ;  -- fin", "SELECT 1; /* nada */ ", "PARAMETERS a Long; SELECT a;"})
        EXPECT_NO_THROW(TranslateAccessSql(sql)) << sql;
}

TEST(Translate, ScriptsSplitIntoStatements) {
    const auto parts = ado::sqlite::SplitAccessScript(
        "CREATE TABLE t (a TEXT);\n INSERT INTO t VALUES ('x;y'); -- c;\n"
        "PARAMETERS p Long; SELECT p;\n"
        "CREATE TRIGGER tr AFTER INSERT ON t BEGIN DELETE FROM u; INSERT INTO u VALUES (1); END;\n;");
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[0].text, "CREATE TABLE t (a TEXT)");
    EXPECT_EQ(parts[1].text, "INSERT INTO t VALUES ('x;y')");
    EXPECT_EQ(parts[1].offset, 26u);
    EXPECT_EQ(parts[2].text, "PARAMETERS p Long; SELECT p");
    EXPECT_EQ(parts[3].text, "CREATE TRIGGER tr AFTER INSERT ON t BEGIN DELETE FROM u; INSERT INTO u VALUES (1); END");
}

// Malformed text is a syntax error that says where; what the engine has no form for is refused.
TEST(Translate, RefusesMalformedTextAndWhatTheEngineCannotExpress) {
    constexpr int32_t kSyntax = ado::err::SyntaxError, kNoForm = ado::err::FeatureNotAvailable;
    const std::pair<const char*, int32_t> cases[] = {
        {"SELECT 'abc", kSyntax},         {"SELECT \"abc", kSyntax},      {"SELECT [abc", kSyntax},
        {"SELECT a FROM t WHERE F = #1/1/2000", kSyntax}, {"SELECT 1 /* x", kSyntax},
        {"SELECT a FROM t WHERE F = #2/30/2024#", kSyntax}, {"SELECT a FROM t WHERE F = #hello#", kSyntax},
        {"SELECT TOP x a FROM t", kSyntax},  {"SELECT TOP 1.5 a FROM t", kSyntax},
        {"PARAMETERS a Long SELECT a", kSyntax}, {"PARAMETERS ; SELECT 1", kSyntax},
        {"SELECT (1 + 2 FROM t", kSyntax},  {"SELECT IIf(a, b FROM t", kSyntax},
        {"SELECT CASE WHEN a THEN 1 FROM t", kSyntax}, {"SELECT a FROM t WHERE b BETWEEN 1", kSyntax},
        {"SELECT a FROM t WHERE", kSyntax}, {"SELECT a + FROM t", kSyntax},
        {"CREATE TABLE t (Id COUNTER, Codigo TEXT(5) PRIMARY KEY)", kNoForm},
        {"CREATE TABLE t (Id COUNTER, Codigo TEXT(5), PRIMARY KEY (Id, Codigo))", kNoForm},
        {"CREATE TABLE t (Id COUNTER(100, 5))", kNoForm},
        {"CREATE TABLE t (A COUNTER, B AUTOINCREMENT)", kNoForm},
        {"ALTER TABLE t ADD COLUMN Id COUNTER", kNoForm},
        {"CREATE INDEX i ON t (a) WITH PRIMARY", kNoForm},
        {"SELECT * FROM t IN '' [ODBC;DSN=x]", kNoForm},
        {"SELECT * FROM [Text;DATABASE=C:\\datos].[x.csv]", kNoForm},
        {"SELECT * FROM [;PWD=x].t", kNoForm},
        {"SELECT * FROM t IN 'c:\\x' 'dBASE IV;'", kNoForm},
    };
    for (const auto& [sql, number] : cases) {
        try {
            TranslateAccessSql(sql);
            ADD_FAILURE() << "accepted: " << sql;
        } catch (const ado::Error& e) {
            EXPECT_EQ(e.Number(), number) << sql << ": " << e.Description();
            if (number == kSyntax) {
                EXPECT_EQ(e.Description().rfind("Error de sintaxis en la instrucción SQL: ", 0), 0u) << e.Description();
            }
        }
    }
}

// Changing or dropping a column or a constraint of an existing table has no form in the engine:
// refused by name. Renaming a table goes to the engine as written.
// A change that makes a table again needs the table's definition in the file: a translation
// on its own refuses it by name.
TEST(Translate, TableChangesNeedTheDatabase) {
    const std::pair<const char*, const char*> cases[] = {
        {"ALTER TABLE Clientes ALTER COLUMN Nombre TEXT(80)", "ALTER TABLE ... ALTER COLUMN sin la base de datos."},
        {"ALTER TABLE [Mis Clientes] ADD CONSTRAINT pk PRIMARY KEY (Id)",
         "ALTER TABLE ... ADD CONSTRAINT sin la base de datos."},
        {"ALTER TABLE Clientes ADD PRIMARY KEY (Id)", "ALTER TABLE ... ADD CONSTRAINT sin la base de datos."},
        {"ALTER TABLE Clientes DROP COLUMN Nombre", "ALTER TABLE ... DROP COLUMN sin la base de datos."},
        {"ALTER TABLE Clientes ADD CHECK (Id > 0)", "ALTER TABLE ... ADD CONSTRAINT sin la base de datos."},
    };
    for (const auto& [sql, construct] : cases) {
        try {
            TranslateAccessSql(sql);
            ADD_FAILURE() << "accepted: " << sql;
        } catch (const ado::Error& e) {
            EXPECT_EQ(e.Number(), ado::err::FeatureNotAvailable) << sql;
            EXPECT_EQ(e.Description(),
                      std::string("El motor de base de datos incrustado no admite esta construcción de SQL de Access: ") +
                          construct);
        }
    }
    EXPECT_EQ(TranslateAccessSql("ALTER TABLE Clientes RENAME TO Socios").sql, "ALTER TABLE Clientes RENAME TO Socios");
    // A constraint to drop is taken for an index.
    EXPECT_EQ(TranslateAccessSql("DROP INDEX PorNombre ON Clientes").sql, "DROP INDEX `PorNombre`");
    EXPECT_EQ(TranslateAccessSql("ALTER TABLE Clientes DROP CONSTRAINT pk").sql, "DROP INDEX `pk`");
}

// Subqueries in GROUP BY grow the parser's arena of selects while the outer select's list of
// groups is being filled.
TEST(Translate, SubqueriesInGroupByKeepTheOuterSelect) {
    EXPECT_EQ(TranslateAccessSql("SELECT a FROM t GROUP BY a, (SELECT 1), (SELECT 2), (SELECT 3), (SELECT 4), (SELECT 5)").sql,
              "SELECT `a` FROM `t` GROUP BY `a`, (SELECT 1 AS `Expr1000`), (SELECT 2 AS `Expr1000`), "
              "(SELECT 3 AS `Expr1000`), (SELECT 4 AS `Expr1000`), (SELECT 5 AS `Expr1000`)");
}

// Parenthesised joins nested beyond any real query are refused, not parsed until the stack ends.
TEST(Translate, DeeplyNestedJoinsAreASyntaxError) {
    const std::string sql = "SELECT * FROM " + std::string(100000, '(') + "t";
    try {
        TranslateAccessSql(sql);
        FAIL() << "accepted";
    } catch (const ado::Error& e) {
        EXPECT_EQ(e.Number(), ado::err::SyntaxError);
        EXPECT_EQ(e.Description().rfind("Error de sintaxis en la instrucción SQL: demasiadas combinaciones anidadas", 0), 0u)
            << e.Description();
    }
    EXPECT_EQ(TranslateAccessSql("SELECT * FROM ((a INNER JOIN b ON a.x = b.x) INNER JOIN c ON b.y = c.y)").sql,
              TranslateAccessSql("SELECT * FROM (a INNER JOIN b ON a.x = b.x) INNER JOIN c ON b.y = c.y").sql);
}

TEST(Translate, SyntaxErrorsSayWhere) {
    try {
        TranslateAccessSql("SELECT Nombre FROM Clientes WHERE Id = = 3");
        FAIL();
    } catch (const ado::Error& e) {
        EXPECT_EQ(e.Description(),
                  "Error de sintaxis en la instrucción SQL: se esperaba una expresión (cerca de '=', posición 40).");
    }
}

// A megabyte of nesting or of "&" operands on a worker thread's small stack: the translator
// reads expressions without recursion; it translates the statement or refuses it with an
// ado::Error, and never overflows the stack.
TEST(Translate, AMegabyteOfNestingOnASmallStack) {
    constexpr size_t kDepth = 100'000;
    auto repeated = [](const std::string& piece, size_t times) {
        std::string text;
        for (size_t i = 0; i < times; ++i) text += piece;
        return text;
    };
    const std::string statements[] = {
        "SELECT " + repeated("IIF(a, ", kDepth) + "1" + repeated(", 2)", kDepth),
        "SELECT " + repeated("(", kDepth) + "1" + repeated(")", kDepth),
        "SELECT " + repeated("'x' & ", kDepth) + "'y'",
        "SELECT " + repeated("Nz(", kDepth) + "1" + repeated(", 0)", kDepth),
        "SELECT 1 FROM t WHERE " + repeated("NOT ", kDepth) + "a",
    };
    for (const std::string& sql : statements) {
        ASSERT_GE(sql.size(), 200'000u);
        std::string outcome;
        testsupport::OnSmallStack([&] {
            try {
                outcome = TranslateAccessSql(sql).sql.empty() ? "empty" : "translated";
            } catch (const ado::Error& e) {
                outcome = "refused " + std::to_string(e.Number());
            }
        });
        EXPECT_TRUE(outcome == "translated" || outcome.starts_with("refused")) << sql.substr(0, 40) << ": " << outcome;
    }
}

}  // namespace
