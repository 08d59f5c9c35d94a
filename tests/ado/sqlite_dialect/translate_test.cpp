// The translator, text to text: each Access statement and the SQLite text it becomes.
#include <gtest/gtest.h>

#include "ado/Error.h"
#include "ado/ErrorNumbers.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"

namespace {

using ado::sqlite::TranslateAccessSql;

struct Case {
    const char* access;
    const char* sqlite;
};

void ExpectTranslations(std::initializer_list<Case> cases) {
    for (const Case& c : cases) EXPECT_EQ(TranslateAccessSql(c.access).sql, c.sqlite) << c.access;
}

TEST(Translate, QuotesAndBrackets) {
    ExpectTranslations({
        {R"(SELECT * FROM Clientes WHERE Nombre = "O'Brien")", R"(SELECT * FROM Clientes WHERE Nombre = 'O''Brien')"},
        {R"(SELECT [Nombre Cliente], [Pedidos].[Fecha] FROM [Pedidos])",
         R"(SELECT `Nombre Cliente`, `Pedidos`.`Fecha` FROM `Pedidos`)"},
        {R"(SELECT 'say "hi"', "a ""b"" c", [a"b])", R"(SELECT 'say "hi"', 'a "b" c', `a"b`)"},
        {"SELECT 'TRUE & [x] #1/1/2000# -- no' FROM t", "SELECT 'TRUE & [x] #1/1/2000# -- no' FROM t"},
        {"SELECT a -- \"not & a string\n, [b] /* TRUE & 'x' */ FROM t",
         "SELECT a -- \"not & a string\n, `b` /* TRUE & 'x' */ FROM t"},
        {"INSERT INTO t (a, b) VALUES (?, :b); SELECT last_insert_rowid() AS n",
         "INSERT INTO t (a, b) VALUES (?, :b); SELECT last_insert_rowid() AS n"},
    });
}

TEST(Translate, DateLiterals) {
    ExpectTranslations({
        {"WHERE F = #3/15/2024#", "WHERE F = '2024-03-15 00:00:00'"},
        {"WHERE F = #2024-03-15 13:45:10#", "WHERE F = '2024-03-15 13:45:10'"},
        {"WHERE F = #3/15/2024 1:45 PM#", "WHERE F = '2024-03-15 13:45:00'"},
        {"WHERE F = #12:05:09 AM#", "WHERE F = '1899-12-30 00:05:09'"},
        {"WHERE F = #13:45#", "WHERE F = '1899-12-30 13:45:00'"},
        {"WHERE F = #15-Mar-2024#", "WHERE F = '2024-03-15 00:00:00'"},
        {"WHERE F = #March 15, 2024 8:00# OR F = #15 enero 2024#",
         "WHERE F = '2024-03-15 08:00:00' OR F = '2024-01-15 00:00:00'"},
        {"WHERE F = #2024-03-15T08:30#", "WHERE F = '2024-03-15 08:30:00'"},
        {"WHERE F = #25/12/2023#", "WHERE F = '2023-12-25 00:00:00'"},  // no month 25: day first
        {"WHERE F BETWEEN #1/2/99# AND #1/2/29#", "WHERE F BETWEEN '1999-01-02 00:00:00' AND '2029-01-02 00:00:00'"},
    });
}

TEST(Translate, WordsAccessSpellsOtherwise) {
    ExpectTranslations({
        {"SELECT * FROM t WHERE Activo = True AND Borrado = no OR x = FALSE OR y = Yes",
         "SELECT * FROM t WHERE Activo = -1 AND Borrado = 0 OR x = 0 OR y = -1"},
        {"SELECT t.Yes, x AS No FROM t INNER JOIN u ON t.a = u.a", "SELECT t.Yes, x AS No FROM t INNER JOIN u ON t.a = u.a"},
        {"CREATE TABLE t (Activo YESNO DEFAULT Yes, No INTEGER REFERENCES u ON DELETE NO ACTION)",
         "CREATE TABLE t (Activo YESNO DEFAULT -1, No INTEGER REFERENCES u ON DELETE NO ACTION)"},
        {"PRAGMA foreign_keys = TRUE", "PRAGMA foreign_keys = TRUE"},
        {"SELECT DISTINCTROW a, b Mod 3 FROM t", "SELECT DISTINCT a, b % 3 FROM t"},
        {"SELECT Left(N, 2), Right(N, 1), IsNull(x), Mid(N, 2) FROM t LEFT JOIN u ON t.a = u.a",
         R"(SELECT `LEFT`(N, 2), `RIGHT`(N, 1), `ISNULL`(x), Mid(N, 2) FROM t LEFT JOIN u ON t.a = u.a)"},
    });
}

TEST(Translate, Concatenation) {
    ExpectTranslations({
        {"SELECT Nombre & ' ' & Apellidos FROM t", "SELECT IFNULL(Nombre,'') || ' ' || IFNULL(Apellidos,'') FROM t"},
        {R"(SELECT a.b & "x" AS c, [d e]&f FROM t)", R"(SELECT IFNULL(a.b,'') || 'x' AS c, IFNULL(`d e`,'')||IFNULL(f,'') FROM t)"},
        {"SELECT UCase(a) & (b & c) FROM t", "SELECT IFNULL(UCase(a),'') || IFNULL((IFNULL(b,'') || IFNULL(c,'')),'') FROM t"},
        {"SELECT 1 + 2 & 3, -x * 2 & y", "SELECT IFNULL(1 + 2,'') || 3, IFNULL(-x * 2,'') || IFNULL(y,'')"},
        {"SELECT * FROM t WHERE x = a & b AND NOT c & d LIKE 'z*'",
         "SELECT * FROM t WHERE x = IFNULL(a,'') || IFNULL(b,'') AND NOT IFNULL(c,'') || IFNULL(d,'') LIKE 'z*'"},
        {"SELECT IIf(a, b & c, d), CASE WHEN a THEN b END & c",
         "SELECT IIf(a, IFNULL(b,'') || IFNULL(c,''), d), IFNULL(CASE WHEN a THEN b END,'') || IFNULL(c,'')"},
        {"SELECT a & b x FROM t", "SELECT IFNULL(a,'') || IFNULL(b,'') x FROM t"},
        {"SELECT EXISTS (SELECT 1) & 'x'", "SELECT EXISTS (SELECT 1) || 'x'"},  // not delimited: plain ||
    });
}

TEST(Translate, Top) {
    ExpectTranslations({
        {"SELECT TOP 5 * FROM t ORDER BY a", "SELECT * FROM t ORDER BY a LIMIT 5"},
        {"SELECT DISTINCT TOP 3 a FROM t;", "SELECT DISTINCT a FROM t LIMIT 3;"},
        {"SELECT * FROM t WHERE id IN (SELECT TOP 2 id FROM u ORDER BY f) -- fin",
         "SELECT * FROM t WHERE id IN (SELECT id FROM u ORDER BY f LIMIT 2) -- fin"},
        {"SELECT TOP 2 a FROM t UNION SELECT TOP 1 b FROM u ORDER BY 1",
         "SELECT * FROM (SELECT a FROM t LIMIT 2) UNION SELECT * FROM (SELECT b FROM u LIMIT 1) ORDER BY 1"},
        {"SELECT TOP 10 PERCENT a FROM t ORDER BY a",
         "SELECT a FROM t ORDER BY a LIMIT (SELECT CAST(c AS INTEGER) + (c > CAST(c AS INTEGER)) FROM "
         "(SELECT COUNT(*) * 10 / 100.0 AS c FROM (SELECT a FROM t)))"},
        {"SELECT TOP 50 PERCENT a FROM t WHERE b = ? AND c = ?",
         "SELECT a FROM t WHERE b = ?1 AND c = ?2 LIMIT (SELECT CAST(c AS INTEGER) + (c > CAST(c AS INTEGER)) FROM "
         "(SELECT COUNT(*) * 50 / 100.0 AS c FROM (SELECT a FROM t WHERE b = ?1 AND c = ?2)))"},
    });
}

TEST(Translate, StatementForms) {
    ExpectTranslations({
        {"DELETE * FROM t WHERE a = 1", "DELETE FROM t WHERE a = 1"},
        {"DELETE t.* FROM t", "DELETE FROM t"},
        {"SELECT a, b INTO [Nueva Tabla] FROM t WHERE c", R"(CREATE TABLE `Nueva Tabla` AS SELECT a, b FROM t WHERE c)"},
        {"CREATE TABLE [Clientes] (Id COUNTER PRIMARY KEY, Nombre TEXT(50) NOT NULL, Saldo CURRENCY, Alta DATETIME)",
         R"(CREATE TABLE `Clientes` (`Id` INTEGER PRIMARY KEY AUTOINCREMENT, Nombre TEXT(50) NOT NULL, Saldo CURRENCY, Alta DATETIME))"},
        {"CREATE TABLE t (Id AUTOINCREMENT, Nota MEMO, CONSTRAINT pk PRIMARY KEY (Id))",
         R"(CREATE TABLE t (`Id` INTEGER PRIMARY KEY AUTOINCREMENT, Nota MEMO))"},
        {"CREATE TABLE t (PRIMARY KEY ([Id]), [Id] COUNTER(1,1) CONSTRAINT pk PRIMARY KEY NOT NULL, P DECIMAL(10,2))",
         R"(CREATE TABLE t ( `Id` INTEGER PRIMARY KEY AUTOINCREMENT NOT NULL, P DECIMAL(10,2)))"},
        {"CREATE TABLE t (Codigo TEXT(5) PRIMARY KEY, Peso SINGLE, Foto OLEOBJECT)",
         "CREATE TABLE t (Codigo TEXT(5) PRIMARY KEY, Peso SINGLE, Foto OLEOBJECT)"},
        {"CREATE TABLE t (Alta DATETIME DEFAULT Now(), Nota TEXT(10) WITH COMPRESSION, No YESNO DEFAULT No)",
         "CREATE TABLE t (Alta DATETIME DEFAULT (Now()), Nota TEXT(10), No YESNO DEFAULT 0)"},
        {"CREATE VIEW v AS SELECT * FROM t WHERE a = True", "CREATE VIEW v AS SELECT * FROM t WHERE a = -1"},
        {"INSERT INTO t (Activo, No) VALUES (Yes, 1)", "INSERT INTO t (Activo, No) VALUES (-1, 1)"},
    });
}

TEST(Translate, ParametersBecomeNumberedPlaceholders) {
    const auto tr = TranslateAccessSql(
        "PARAMETERS [Desde] DateTime, [Codigo Cliente] Long, Nombre Text (50);\n"
        "SELECT p.Cliente, Desde FROM Pedidos AS p WHERE p.Fecha >= Desde AND p.Cliente = [Codigo Cliente] "
        "OR p.Fecha = [desde]");
    EXPECT_EQ(tr.sql, "SELECT p.Cliente, ?1 FROM Pedidos AS p WHERE p.Fecha >= ?1 AND p.Cliente = ?2 OR p.Fecha = ?1");
    const std::vector<ado::sqlite::DeclaredParameter> declared = {
        {"[Desde]", "DateTime"}, {"[Codigo Cliente]", "Long"}, {"Nombre", "Text (50)"}};
    EXPECT_EQ(tr.parameters, declared);
    EXPECT_EQ(tr.placeholders, (std::vector<std::string>{"Desde", "Codigo Cliente"}));
    EXPECT_TRUE(tr.returnsRows);

    ExpectTranslations({
        {"PARAMETERS Nombre Text; INSERT INTO t (Nombre) VALUES (Nombre)", "INSERT INTO t (Nombre) VALUES (?1)"},
        {"PARAMETERS Precio Currency; UPDATE t SET Precio = Precio * 2, No = No WHERE x.Precio > [Precio]",
         "UPDATE t SET Precio = ?1 * 2, No = 0 WHERE x.Precio > ?1"},
    });
}

TEST(Translate, ExternalTablesAreAttached) {
    const auto tr = TranslateAccessSql(
        "SELECT * FROM Clientes IN 'C:\\datos\\otra.mdb' AS c INNER JOIN [Pedidos] IN \"C:\\datos\\otra.mdb\" ON c.Id = 1");
    ASSERT_EQ(tr.attachments.size(), 1u);
    const std::string alias = tr.attachments[0].alias;
    EXPECT_EQ(tr.attachments[0].path, "C:\\datos\\otra.mdb");
    EXPECT_EQ(tr.sql, "SELECT * FROM `" + alias + "`.`Clientes` AS c INNER JOIN `" + alias + "`.`Pedidos` ON c.Id = 1");

    EXPECT_EQ(TranslateAccessSql("SELECT a IN 'x' FROM t").sql, "SELECT a IN 'x' FROM t");  // no table there

    const auto other = TranslateAccessSql("INSERT INTO Copia IN 'b.db' SELECT * FROM t IN 'a.db'");
    ASSERT_EQ(other.attachments.size(), 2u);
    EXPECT_NE(other.attachments[0].alias, other.attachments[1].alias);
    EXPECT_EQ(TranslateAccessSql("SELECT * FROM x IN 'b.db'").attachments[0].alias, other.attachments[0].alias);
}

TEST(Translate, ReturnsRows) {
    const std::pair<const char*, bool> cases[] = {
        {"SELECT 1", true},
        {"PARAMETERS a Long; SELECT a", true},
        {"-- list\n  PRAGMA table_info(t)", true},
        {"WITH x AS (SELECT 1) SELECT * FROM x", true},
        {"WITH x AS (SELECT 1) DELETE FROM t WHERE a IN x", false},
        {"INSERT INTO t VALUES (1)", false},
        {"SELECT a INTO b FROM c", false},
        {"/* nothing */", false},
    };
    for (const auto& [sql, rows] : cases) EXPECT_EQ(TranslateAccessSql(sql).returnsRows, rows) << sql;
}

// Malformed text is a syntax error that says so; what the engine has no form for is refused.
TEST(Translate, RefusesMalformedTextAndWhatTheEngineCannotExpress) {
    constexpr int32_t kSyntax = ado::err::SyntaxError, kNoForm = ado::err::FeatureNotAvailable;
    const std::pair<const char*, int32_t> cases[] = {
        {"SELECT 'abc", kSyntax},         {"SELECT \"abc", kSyntax},      {"SELECT [abc", kSyntax},
        {"WHERE F = #1/1/2000", kSyntax}, {"SELECT 1 /* x", kSyntax},     {"WHERE F = #2/30/2024#", kSyntax},
        {"WHERE F = #hello#", kSyntax},   {"WHERE F = #25:00#", kSyntax}, {"SELECT TOP x FROM t", kSyntax},
        {"SELECT TOP 1.5 a FROM t", kSyntax}, {"PARAMETERS a Long SELECT a", kSyntax}, {"PARAMETERS ; SELECT 1", kSyntax},
        {"CREATE TABLE t (Id COUNTER, Codigo TEXT(5) PRIMARY KEY)", kNoForm},
        {"CREATE TABLE t (Id COUNTER, Codigo TEXT(5), PRIMARY KEY (Id, Codigo))", kNoForm},
        {"CREATE TABLE t (Id COUNTER(100, 5))", kNoForm},
        {"CREATE TABLE t (A COUNTER, B AUTOINCREMENT)", kNoForm},
        {"ALTER TABLE t ADD COLUMN Id COUNTER", kNoForm},
        {"TRANSFORM Sum(x) SELECT a FROM t GROUP BY a PIVOT b", kNoForm},
        {"SELECT * FROM t IN '' [ODBC;DSN=x]", kNoForm},
        {"SELECT * FROM t IN 'c:\\x' 'dBASE IV;'", kNoForm},
    };
    for (const auto& [sql, number] : cases) {
        try {
            TranslateAccessSql(sql);
            ADD_FAILURE() << "accepted: " << sql;
        } catch (const ado::Error& e) {
            EXPECT_EQ(e.Number(), number) << sql;
            if (number == kSyntax) {
                EXPECT_EQ(e.Description().rfind("Error de sintaxis en la instrucción SQL: ", 0), 0u) << e.Description();
            }
        }
    }
}

TEST(Translate, CacheAnswersLikeTheTranslator) {
    const std::string sql = "SELECT TOP 1 [a] & b FROM t";
    const auto& cached = ado::sqlite::TranslateAccessSqlCached(sql);
    EXPECT_EQ(cached.sql, TranslateAccessSql(sql).sql);
    EXPECT_EQ(&ado::sqlite::TranslateAccessSqlCached(sql), &cached);  // served from the cache
    EXPECT_THROW(ado::sqlite::TranslateAccessSqlCached("SELECT 'x"), ado::Error);
}

}  // namespace
