// The Access SQL of real applications on a small business schema: crosstabs, action queries
// through joins, RIGHT JOIN, TABLE, the bang, DISTINCTROW, TOP with ties, aliases reused,
// HAVING alone, domain aggregates and the VBA functions. Each expectation is what Access's
// documentation says the statement gives.
#include "access_db.h"

namespace {

using dialect_test::AccessDb;
using dialect_test::ExpectRows;

class AccessFeatures : public ::testing::Test {
protected:
    void SetUp() override {
        db.Setup({
            "CREATE TABLE Clientes (Id LONG PRIMARY KEY, Nombre TEXT(30), Ciudad TEXT(20))",
            "CREATE TABLE Pedidos (Id LONG PRIMARY KEY, Cliente LONG, Fecha DATETIME, Total CURRENCY, Estado TEXT(10))",
            "INSERT INTO Clientes VALUES (1, 'Ana', 'Sevilla')",
            "INSERT INTO Clientes VALUES (2, 'Luis', 'Bilbao')",
            "INSERT INTO Clientes VALUES (3, 'Ana', 'Bilbao')",
            "INSERT INTO Clientes VALUES (4, 'Eva', 'Sevilla')",
            "INSERT INTO Pedidos VALUES (10, 1, #1/5/2023#, 100, 'abierto')",
            "INSERT INTO Pedidos VALUES (11, 1, #3/9/2024#, 50.5, 'cerrado')",
            "INSERT INTO Pedidos VALUES (12, 2, #4/1/2024#, 20, 'cerrado')",
            "INSERT INTO Pedidos VALUES (13, 3, #6/30/2024#, 75.25, Null)",
            "INSERT INTO Pedidos VALUES (14, 3, #7/1/2024#, 10, 'abierto')",
        });
    }
    testsupport::ScopedRegional spanish{ado::RegionalSettings::Spanish()};
    AccessDb db;
};

TEST_F(AccessFeatures, CrosstabsHaveAColumnPerPivotValue) {
    auto columns = [&](const std::string& sql) {
        auto rs = db.db().Query(db.cn(), sql);
        std::string out;
        for (int i = 0; i < rs->Fields().Count(); ++i) out += rs->Fields()[i].Name() + ";";
        for (; !rs->adoEOF(); rs->MoveNext()) {
            out += "\n";
            for (int i = 0; i < rs->Fields().Count(); ++i) out += dialect_test::Shown(rs->Fields()[i].Value()) + ";";
        }
        return out;
    };
    // Values sorted, Null's heading "<>", Null where a row has no value, the aggregate's type kept.
    EXPECT_EQ(columns("TRANSFORM Sum(Total) AS Suma SELECT Cliente FROM Pedidos GROUP BY Cliente PIVOT Estado"),
              "Cliente;<>;abierto;cerrado;\n"
              "Long(1);Null;Currency(100.0000);Currency(50.5000);\n"
              "Long(2);Null;Null;Currency(20.0000);\n"
              "Long(3);Currency(75.2500);Currency(10.0000);Null;");
    // IN fixes the columns and their order; a row total beside them. A cell without rows is Null,
    // Count's too; Nz gives 0 there.
    EXPECT_EQ(columns("TRANSFORM Count(*) SELECT c.Ciudad, Count(*) AS Todos FROM Clientes AS c INNER JOIN Pedidos AS p "
                      "ON p.Cliente = c.Id GROUP BY c.Ciudad ORDER BY c.Ciudad PIVOT p.Estado IN ('cerrado', 'perdido')"),
              "Ciudad;Todos;cerrado;perdido;\n"
              "Text('Bilbao');Long(3);Long(1);Null;\n"
              "Text('Sevilla');Long(2);Long(1);Null;");
    EXPECT_EQ(columns("TRANSFORM Nz(Count(p.Total), 0) SELECT c.Ciudad FROM Clientes AS c INNER JOIN Pedidos AS p "
                      "ON p.Cliente = c.Id GROUP BY c.Ciudad ORDER BY c.Ciudad PIVOT p.Estado IN ('cerrado', 'perdido')"),
              "Ciudad;cerrado;perdido;\n"
              "Text('Bilbao');Long(1);Long(0);\n"
              "Text('Sevilla');Long(1);Long(0);");
    // Format in the pivot: headings sort as text.
    EXPECT_EQ(columns("TRANSFORM Sum(Total) SELECT 'Total' AS Fila FROM Pedidos GROUP BY 'Total' "
                      "PIVOT Format(Fecha, 'yyyy')"),
              "Fila;2023;2024;\nText('Total');Currency(100.0000);Currency(155.7500);");
    // As a stored query, with a parameter.
    db.Setup({"CREATE PROCEDURE PorEstado (Desde DateTime) AS TRANSFORM Max(Total) SELECT Cliente FROM Pedidos "
              "WHERE Fecha >= Desde GROUP BY Cliente PIVOT Estado"});
    auto cmd = testsupport::NewCommand(db.cn(), "PorEstado", ado::adCmdStoredProc);
    auto rs = cmd->Execute(nullptr, dialect_test::Values({ado::Variant(ado::MakeDate(2024, 6, 1))}));
    EXPECT_EQ(rs->Fields().Count(), 3);
    EXPECT_EQ(rs->Fields()[2].Name(), "abierto");
    EXPECT_EQ(dialect_test::Shown(rs->Fields()[2].Value()), "Currency(10.0000)");
}

TEST_F(AccessFeatures, ActionQueriesThroughJoinsAndAliases) {
    EXPECT_EQ(db.Run("UPDATE Pedidos INNER JOIN Clientes ON Pedidos.Cliente = Clientes.Id "
                     "SET Pedidos.Estado = Left(Clientes.Ciudad, 3), Pedidos.Total = Pedidos.Total * 2 "
                     "WHERE Clientes.Ciudad = 'Bilbao'"),
              "3");
    ExpectRows(db, {{"SELECT Estado & ' ' & Total FROM Pedidos ORDER BY Id",
                     "Text('abierto 100')|Text('cerrado 50,5')|Text('Bil 40')|Text('Bil 150,5')|Text('Bil 20')"}});
    EXPECT_EQ(db.Run("UPDATE DISTINCTROW Pedidos AS p SET p.Total = p.Total + 1 WHERE p.Id = 10"), "1");
    EXPECT_EQ(db.Run("UPDATE Clientes AS c INNER JOIN Pedidos AS p ON p.Cliente = c.Id SET c.Nombre = c.Nombre & '*' "
                     "WHERE p.Total > 100"),
              "2");
    ExpectRows(db, {{"SELECT Nombre FROM Clientes ORDER BY Id", "Text('Ana*')|Text('Luis')|Text('Ana*')|Text('Eva')"}});
    EXPECT_EQ(db.Run("DELETE DISTINCTROW Pedidos.*, Pedidos.Total FROM Pedidos INNER JOIN Clientes "
                     "ON Pedidos.Cliente = Clientes.Id WHERE Clientes.Ciudad = 'Sevilla' AND Pedidos.Total < 100"),
              "1");
    EXPECT_EQ(db.Run("DELETE p.* FROM Pedidos AS p WHERE p.Estado = 'Bil' AND p.Total < 30"), "1");
    EXPECT_EQ(db.Run("DELETE * FROM Pedidos WHERE Id = 999"), "0");
    // @@IDENTITY: the autonumber this connection added last.
    db.Setup({"CREATE TABLE Notas (Id COUNTER PRIMARY KEY, Texto TEXT(10))", "INSERT INTO Notas (Texto) VALUES ('a')",
              "INSERT INTO Notas (Texto) VALUES ('b')"});
    ExpectRows(db, {{"SELECT @@IDENTITY", "Long(2)"}, {"SELECT Texto FROM Notas WHERE Id = @@identity", "Text('b')"}});
    ExpectRows(db, {{"SELECT Id FROM Pedidos ORDER BY Id", "Long(10)|Long(12)|Long(13)"}});
    EXPECT_EQ(db.Run("DELETE * FROM Pedidos WITH OWNERACCESS OPTION;"), "3");
}

TEST_F(AccessFeatures, JoinsAndSetForms) {
    db.Setup({"CREATE TABLE [Select Lista] (Nombre TEXT(10))", "INSERT INTO [Select Lista] VALUES ('x')"});
    ExpectRows(db, {
        // What saved queries of Access add and the embedded engine has no use for.
        {"SELECT Nombre FROM Clientes WHERE Id = 2 WITH OWNERACCESS OPTION;", "Text('Luis')"},
        {"SELECT Count(*) FROM Clientes WITH OWNERACCESS OPTION;", "Long(4)"},  // WITH is no alias
        // RIGHT JOIN keeps every row of its right side.
        {"SELECT c.Nombre & ':' & Count(p.Id) FROM Pedidos AS p RIGHT JOIN Clientes AS c ON p.Cliente = c.Id "
         "GROUP BY c.Id, c.Nombre ORDER BY c.Id",
         "Text('Ana:2')|Text('Luis:1')|Text('Ana:2')|Text('Eva:0')"},
        {"SELECT [Clientes]![Nombre] FROM Clientes WHERE Clientes!Id = 2", "Text('Luis')"},
        {"SELECT Count(*) FROM (TABLE Clientes UNION TABLE Clientes)", "Long(4)"},
        {"SELECT Nombre FROM Clientes WHERE Ciudad = Null", ""},  // = Null is never true
        {"SELECT Count(*) AS N, N * 2 AS Doble FROM Pedidos", "Long(5)"},
        // A saved query's derived table, as Access writes it: [SELECT ...]. AS alias, nested,
        // with its own bracketed names and a ']' inside a literal.
        {"SELECT Count(*) FROM [SELECT Nombre FROM Clientes WHERE Ciudad = 'Bilbao']. AS q", "Long(2)"},
        {"SELECT q.Nombre & ':' & q.N FROM [SELECT c.[Nombre], Count(*) AS N FROM [Clientes] AS c INNER JOIN "
         "[SELECT Cliente FROM Pedidos WHERE Estado <> 'x]']. AS p ON p.Cliente = c.Id GROUP BY c.Nombre]. AS q "
         "ORDER BY q.Nombre",
         "Text('Ana:3')|Text('Luis:1')"},
        // DISTINCTROW keeps one row per row of the tables output, also of a table inside Access's
        // parenthesised joins (five orders, two of them with the same state).
        {"SELECT DISTINCTROW p.Estado FROM Clientes AS c INNER JOIN (Pedidos AS p INNER JOIN Clientes AS d "
         "ON d.Id = p.Cliente) ON c.Id = p.Cliente ORDER BY p.Id",
         "Text('abierto')|Text('cerrado')|Text('cerrado')|Null|Text('abierto')"},
        // Comparisons with ANY (SOME) and ALL of a subquery, Null where the standard says unknown;
        // text compares as the database does.
        {"SELECT Id FROM Clientes WHERE Id > ALL (SELECT Cliente FROM Pedidos WHERE Estado = 'ABIERTO') ORDER BY Id",
         "Long(4)"},
        {"SELECT Id FROM Clientes WHERE Id = SOME (SELECT Cliente FROM Pedidos WHERE Total > 60) ORDER BY Id",
         "Long(1)|Long(3)"},
        {"SELECT Nombre FROM Clientes WHERE Nombre < ANY (SELECT Nombre FROM Clientes WHERE Ciudad = 'BILBAO') "
         "ORDER BY Nombre",
         "Text('Ana')|Text('Ana')|Text('Eva')"},
        {"SELECT 1 > ALL (SELECT Cliente FROM Pedidos WHERE Id = 0)", "Boolean(True)"},
        {"SELECT IsNull(2 > ALL (SELECT Null UNION ALL SELECT 1))", "Boolean(True)"},
        {"SELECT IsNull(0 > ANY (SELECT Null UNION ALL SELECT 1))", "Boolean(True)"},
        {"SELECT IsNull(0 > ALL (SELECT Null UNION ALL SELECT 1))", "Boolean(False)"},
        // A bracketed name that starts with the word, qualified by a period, stays a name.
        {"SELECT [Select Lista].Nombre FROM [Select Lista]", "Text('x')"},
    });
    // Columns of one name from two tables are named after their tables, as Access names them;
    // an alias names its column, and a saved query's columns are reached by those names.
    auto names = [&](const std::string& sql) {
        auto rs = db.db().Query(db.cn(), sql);
        std::string out;
        for (int32_t i = 0; i < rs->Fields().Count(); ++i) out += (i ? "|" : "") + rs->Fields()[i].Name();
        return out;
    };
    EXPECT_EQ(names("SELECT * FROM Pedidos RIGHT JOIN Clientes ON Pedidos.Cliente = Clientes.Id"),
              "Pedidos.Id|Cliente|Fecha|Total|Estado|Clientes.Id|Nombre|Ciudad");
    EXPECT_EQ(names("SELECT p.Id, c.*, p.Total AS Id FROM Pedidos AS p INNER JOIN Clientes AS c ON p.Cliente = c.Id"),
              "p.Id|c.Id|Nombre|Ciudad|Id");
    EXPECT_EQ(names("SELECT Pedidos.Id, Nombre FROM Pedidos, Clientes"), "Id|Nombre");
    db.Setup({"CREATE VIEW PedidosDe AS SELECT * FROM Pedidos INNER JOIN Clientes ON Pedidos.Cliente = Clientes.Id"});
    ExpectRows(db, {{"SELECT [Clientes.Id] * 100 + q.[Pedidos.Id] FROM PedidosDe AS q WHERE Nombre = 'ana' ORDER BY 1",
                     "Long(110)|Long(111)|Long(313)|Long(314)"}});
    auto rs = db.db().Query(db.cn(), "SELECT Count(*) AS N, N * 2 AS Doble, 'x' AS [Mi Texto], Doble + 1 FROM Pedidos");
    EXPECT_EQ(dialect_test::Shown(rs->Fields()[1].Value()), "Long(10)");
    EXPECT_EQ(dialect_test::Shown(rs->Fields()[3].Value()), "Long(11)");
}

// Programs list their tables and queries through MSysObjects; the system's own tables carry flags.
TEST_F(AccessFeatures, SystemObjectsListTablesAndQueries) {
    db.Setup({"CREATE VIEW Abiertos AS SELECT Id FROM Pedidos WHERE Estado = 'abierto'"});
    ExpectRows(db, {
        {"SELECT Name FROM MSysObjects WHERE Type = 1 AND Flags = 0 ORDER BY Name", "Text('Clientes')|Text('Pedidos')"},
        {"SELECT Name FROM MSysObjects WHERE Type = 5", "Text('Abiertos')"},
        {"SELECT Count(*) FROM MSysObjects WHERE Name = 'Pedidos' AND Type = 1", "Long(1)"},
        {"SELECT Count(*) FROM MSysObjects WHERE Left(Name, 4) = 'MSys' AND Flags <> 0 AND Type = 1", "Long(2)"},
    });
}

TEST_F(AccessFeatures, DistinctRowTopWithTiesAndHavingAlone) {
    db.Setup({"INSERT INTO Clientes VALUES (5, 'Eva', 'Sevilla')"});
    ExpectRows(db, {
        // One table: DISTINCTROW changes nothing.
        {"SELECT DISTINCTROW Nombre FROM Clientes WHERE Nombre = 'Eva'", "Text('Eva')|Text('Eva')"},
        // Across a join: each customer once, the two Anas apart.
        {"SELECT DISTINCTROW c.Nombre FROM Clientes AS c INNER JOIN Pedidos AS p ON p.Cliente = c.Id ORDER BY c.Nombre",
         "Text('Ana')|Text('Ana')|Text('Luis')"},
        // TOP n gives every row tied with the nth.
        {"SELECT TOP 1 Id FROM Clientes ORDER BY Ciudad", "Long(2)|Long(3)"},
        {"SELECT TOP 2 Id FROM Clientes ORDER BY Ciudad DESC, Nombre", "Long(1)|Long(4)|Long(5)"},
        {"SELECT TOP 10 Id FROM Clientes ORDER BY Ciudad", "Long(2)|Long(3)|Long(1)|Long(4)|Long(5)"},
        {"SELECT TOP 1 Estado FROM Pedidos ORDER BY Estado", "Null"},
        // A number that is no column's position orders by a constant.
        {"SELECT TOP 1 Id FROM Clientes ORDER BY Ciudad, .0", "Long(2)|Long(3)"},
        // Per group, through a correlated subquery: Sevilla's two Evas are tied.
        {"SELECT Id FROM Clientes AS c WHERE Id IN (SELECT TOP 1 d.Id FROM Clientes AS d WHERE d.Ciudad = c.Ciudad "
         "ORDER BY d.Nombre DESC) ORDER BY Id",
         "Long(2)|Long(4)|Long(5)"},
        // HAVING without GROUP BY: the whole table is one group.
        {"SELECT Count(*) AS N FROM Pedidos HAVING Count(*) > 100", ""},
        {"SELECT Sum(Total) FROM Pedidos HAVING Count(*) = 5", "Currency(255.7500)"},
        {"SELECT Count(*) FROM Pedidos WHERE Id = 0 HAVING Count(*) = 0", "Long(0)"},
    });
    // Nested TOP queries (as deep as the engine's parser takes them).
    std::string nested = "SELECT Id, Nombre FROM Clientes";
    for (int level = 0; level < 5; ++level)
        nested = "SELECT TOP 3 Id, Nombre FROM (" + nested + ") ORDER BY Nombre DESC, Id";
    const std::string outer = "SELECT Id FROM (" + nested + ")";
    ExpectRows(db, {{outer.c_str(), "Long(2)|Long(4)|Long(5)"}});
}

TEST_F(AccessFeatures, DomainAggregatesAndFunctions) {
    ExpectRows(db, {
        {"SELECT DLookUp('Nombre', 'Clientes', 'Id = 2')", "Text('Luis')"},
        {"SELECT DCount('*', 'Pedidos', 'Total > 50') & '/' & DSum('Total', 'Pedidos')", "Text('3/255,75')"},
        {"SELECT Nombre FROM Clientes WHERE DMax('Total', 'Pedidos') > 99 AND Id = 1", "Text('Ana')"},
        // Computed per row, through the same connection.
        {"SELECT Id & ':' & DCount('*', 'Pedidos', 'Cliente = ' & Id) & ':' & DLookUp('Estado', 'Pedidos', "
         "'Cliente = ' & Id & ' AND Total < 60') FROM Clientes ORDER BY Id",
         "Text('1:2:cerrado')|Text('2:1:cerrado')|Text('3:2:abierto')|Text('4:0:')"},
        {"SELECT DSum('Total', 'Pedidos', 'Cliente = ' & Cliente) FROM Pedidos WHERE Id = 10", "Double(150.5)"},
        {"SELECT DVarP('Total', 'Pedidos', 'Cliente = 1') & '/' & DVar('Total', 'Pedidos', 'Cliente = 1') & '/' & "
         "DStDevP('Total', 'Pedidos', 'Cliente = 1') & '/' & Round(DStDev('Total', 'Pedidos', 'Cliente = ' & Cliente), 4) "
         "FROM Pedidos WHERE Id = 13",
         "Text('612,5625/1225,125/24,75/46,1387')"},
        {"SELECT Switch(Total > 60, 'alto', Total > 15, 'medio', True, 'bajo') FROM Pedidos ORDER BY Id",
         "Text('alto')|Text('medio')|Text('medio')|Text('alto')|Text('bajo')"},
        {"SELECT Choose(Cliente, 'uno', 'dos') FROM Pedidos ORDER BY Id",
         "Text('uno')|Text('uno')|Text('dos')|Null|Null"},
        {"SELECT Str(5) & '|' & Str(-2.5) & '|' & Hex(255) & '|' & Oct(8) & '|' & Hex(-1)",
         "Text(' 5|-2.5|FF|10|FFFFFFFF')"},
        {"SELECT InStrRev('a-b-c', '-') & InStrRev('a-b-c', '-', 3) & InStrRev('aXa', 'x', -1, 1)",
         "Text('422')"},
        {"SELECT Replace('Hola hola', 'hola', 'adiós') & '|' & Replace('Hola hola', 'hola', 'X', 1, -1, 1) & '|' & "
         "Replace('abcabc', 'b', '', 3)",
         "Text('Hola adiós|X X|cac')"},
        {"SELECT MonthName(3) & ' ' & MonthName(3, True) & ' ' & WeekdayName(1) & ' ' & WeekdayName(1, False, 2)",
         "Text('marzo mar domingo lunes')"},
        {"SELECT Format(1234.5, 'Standard') & '|' & Format(#3/15/2024#, 'Long Date') & '|' & Format(0.25, 'Percent')",
         "Text('1.234,50|viernes, 15 de marzo de 2024|25,00%')"},
        {"SELECT StrConv('hola MUNDO', 3) & Round(2.5) & Round(3.5) & Int(-2.5) & Fix(-2.5) & Sgn(-3)",
         "Text('Hola Mundo24-3-2-1')"},
        // Asc is a function before '(' (and ASC still orders); StrComp compares as the
        // database does unless told binary (0); Spanish puts ñ between n and o.
        {"SELECT Asc('A') & '|' & StrComp('a', 'A') & '|' & StrComp('a', 'A', 0) & '|' & StrComp('n', 'ñ') & '|' & "
         "StrComp('o', 'ñ', 1) FROM Clientes WHERE Id = 1 ORDER BY Nombre ASC",
         "Text('65|0|1|-1|1')"},
        {"SELECT StrComp(Null, 'a')", "Null"},
        // Ranges of 25 up to 100, each side as wide as '100' plus one; 50.5 rounds to 50.
        {"SELECT '[' & Partition(Total, 0, 100, 25) & ']' FROM Pedidos ORDER BY Id",
         "Text('[ 100: 100]')|Text('[  50:  74]')|Text('[   0:  24]')|Text('[  75:  99]')|Text('[   0:  24]')"},
        {"SELECT Partition(-1, 0, 100, 25) & '|' & Partition(101, 0, 100, 25) & '|' & Partition(7, 0, 1000, 1)",
         "Text('    :  -1| 101:    |    7:    7')"},
    });
    EXPECT_EQ(db.Rows("SELECT MiFuncion(Id) FROM Clientes"),
              "error 3085: Función 'MiFuncion' no definida en la expresión.");
    // Choose and Switch without the values they choose among (Choose() crashed the translator).
    for (const char* sql : {"SELECT Choose()", "SELECT Choose(1) FROM Clientes", "SELECT Switch()", "SELECT Switch(True)"})
        EXPECT_EQ(db.Rows(sql), "error 5: Argumento o llamada a procedimiento no válida") << sql;
    // A zero divisor is an error for whole numbers too (the engine's % gave Null).
    for (const char* sql : {"SELECT Id / 0 FROM Clientes", "SELECT Id \\ 0 FROM Clientes", "SELECT Id Mod 0 FROM Clientes"})
        EXPECT_EQ(db.Rows(sql), "error 11: División por cero") << sql;
}

// The financial functions: a loan of 1,000 at 1% a month over 12 months, paid at the end of each
// month (or at the start), and the depreciation of an asset, as VBA computes them.
TEST_F(AccessFeatures, FinancialFunctions) {
    ExpectRows(db, {
        {"SELECT Round(Pmt(0.01, 12, -1000), 4) & '|' & Round(IPmt(0.01, 1, 12, -1000), 4) & '|' & "
         "Round(PPmt(0.01, 1, 12, -1000), 4) & '|' & Round(IPmt(0.01, 2, 12, -1000, 0, 1), 4) & '|' & "
         "Round(FV(0.01, 12, -100), 4) & '|' & Round(PV(0.01, 12, -100), 4) & '|' & Round(NPer(0.01, -100, 1000), 4) & "
         "'|' & Round(Rate(12, -100, 1000), 6) & '|' & Pmt(0, 10, 1000)",
         "Text('88,8488|10|78,8488|9,1203|1268,2503|1125,5077|10,5886|0,029229|-100')"},
        {"SELECT SLN(1000, 100, 5) & '|' & Round(SYD(30000, 7500, 10, 1), 2) & '|' & DDB(2400, 300, 10, 2) & '|' & "
         "DDB(1000, 100, 5, 5)",
         "Text('180|4090,91|384|29,6')"},
        {"SELECT Pmt(Null, 12, 1000)", "Null"},
    });
    for (const char* sql : {"SELECT Pmt(0.1, 0, 1)", "SELECT Rate(12, 100, 1000)", "SELECT IPmt(0.01, 13, 12, -1000)",
                            "SELECT DDB(1000, 100, 5, 6)"})
        EXPECT_EQ(db.Rows(sql), "error 5: Argumento o llamada a procedimiento no válida") << sql;
}

// What VBA tells of a value (its kind, by the column's type where the stored value does not
// tell it) and of the clock, as texts of fixed forms.
TEST_F(AccessFeatures, TypeInspectionAndClockTexts) {
    ExpectRows(db, {
        {"SELECT VarType(Id) & VarType(Fecha) & VarType(Total) & VarType(Estado) & '|' & TypeName(Fecha) & "
         "TypeName(Total) & TypeName(Estado) & TypeName(Id / 2) FROM Pedidos WHERE Id = 13",
         "Text('3761|DateCurrencyNullDouble')"},
        {"SELECT VarType(Cliente = 3) & VarType(CInt(Cliente)) & VarType(CDec(Total)) & VarType(Null) & "
         "TypeName(Cliente & '') & TypeName(CByte(Cliente)) FROM Pedidos WHERE Id = 13",
         "Text('112141StringByte')"},
        {"SELECT IsEmpty(Estado) & IsEmpty(Null) FROM Pedidos WHERE Id = 13", "Text('00')"},
        {"SELECT Date$() = Format(Date(), 'mm-dd-yyyy') AND Len(Time$()) = 8 AND Mid(Time$(), 3, 1) = ':' AND "
         "Abs(Timer() - (Hour(Now()) * 3600 + Minute(Now()) * 60 + Second(Now()))) < 2",
         "Boolean(True)"},
    });
}

}  // namespace
