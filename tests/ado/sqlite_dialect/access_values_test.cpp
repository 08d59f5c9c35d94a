// Values keep Access's meaning in the file: dates are date serials that Access's date
// arithmetic works on, Currency is exact over its whole range, texts compare without regard
// to case, typed columns refuse what does not fit, and files of an older format are converted.
#include <optional>
#include <string>
#include <vector>

#include <sqlcipher/sqlite3.h>

#include "access_db.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "support/PlainFile.h"

namespace {

using dialect_test::AccessDb;
using dialect_test::ExpectRows;
using dialect_test::Shown;

class Dates : public ::testing::Test {
protected:
    testsupport::ScopedRegional spanish{ado::RegionalSettings::Spanish()};
    void SetUp() override {
        db.Setup({
            "CREATE TABLE Fechas (Id COUNTER PRIMARY KEY, F DATETIME)",
            "INSERT INTO Fechas (F) VALUES (#1/1/100#)",
            "INSERT INTO Fechas (F) VALUES (#12/29/1899#)",
            "INSERT INTO Fechas (F) VALUES (#12/29/1899 6:00#)",
            "INSERT INTO Fechas (F) VALUES (#12/30/1899#)",
            "INSERT INTO Fechas (F) VALUES (#12/31/1899 18:00#)",
            "INSERT INTO Fechas (F) VALUES (#3/15/2024 10:30#)",
            "INSERT INTO Fechas (F) VALUES (#12/31/9999 23:59:59#)",
        });
    }
    AccessDb db;
};

TEST_F(Dates, ArithmeticComparisonAndOrderWorkOnTheSerials) {
    ExpectRows(db, {
        {"SELECT F + 1 FROM Fechas WHERE Id = 6", "Date(2024-03-16 10:30:00)"},
        {"SELECT F - 1.5 FROM Fechas WHERE Id = 6", "Date(2024-03-13 22:30:00)"},
        {"SELECT F - #1/1/2024# FROM Fechas WHERE Id = 6", "Double(74.4375)"},
        {"SELECT DateAdd('d', 1, F) FROM Fechas WHERE Id = 3", "Date(1899-12-30 06:00:00)"},
        {"SELECT Year(F) & '-' & Month(F) FROM Fechas WHERE Id IN (1, 7) ORDER BY Id", "Text('100-1')|Text('9999-12')"},
        {"SELECT Id FROM Fechas WHERE F BETWEEN #1/1/1899# AND #12/31/1899# ORDER BY F",
         "Long(3)|Long(2)|Long(4)"},  // before 1900 a time of day sorts as its serial does
        {"SELECT Id FROM Fechas ORDER BY F DESC", "Long(7)|Long(6)|Long(5)|Long(4)|Long(2)|Long(3)|Long(1)"},
        {"SELECT Max(F) FROM Fechas", "Date(9999-12-31 23:59:59)"},
        {"SELECT Min(F) FROM Fechas WHERE F > #12/30/1899#", "Date(1899-12-31 18:00:00)"},
        {"SELECT Id FROM Fechas WHERE F = '15/03/2024 10:30:00' OR F = #12/30/1899#", "Long(4)|Long(6)"},
        {"SELECT 'Alta: ' & F FROM Fechas WHERE Id = 6", "Text('Alta: 15/03/2024 10:30:00')"},
    });
    // What another program sees in the file: the serial.
    ExpectRows(db, {{"SELECT CAST(F AS TEXT) FROM Fechas WHERE Id IN (3, 6) ORDER BY Id",
                     "Text('-1.25')|Text('45366.4375')"}});
    EXPECT_EQ(db.Run("INSERT INTO Fechas (F) VALUES (Now())"), "1");
    ExpectRows(db, {{"SELECT Count(*) FROM Fechas WHERE F >= Date() - 30", "Long(2)"}});
}

TEST_F(Dates, ValuesFromTheCursorAndFromParametersAreSerialsToo) {
    auto rs = ado::Recordset::Create();
    rs->Open("SELECT * FROM Fechas WHERE Id = 0", db.cn(), ado::adOpenKeyset, ado::adLockOptimistic, ado::adCmdText);
    rs->AddNew();
    rs->Fields()["F"].Value(ado::Variant(ado::MakeDate(1900, 2, 28, 12)));
    rs->Update();
    ExpectRows(db, {{"SELECT F + 1 FROM Fechas WHERE Id = 8", "Date(1900-03-01 12:00:00)"}});
    auto cmd = testsupport::NewCommand(db.cn(), "SELECT Id FROM Fechas WHERE F = ? OR F = ?");
    auto found = cmd->Execute(nullptr, dialect_test::Values({ado::Variant(ado::MakeDate(2024, 3, 15, 10, 30)),
                                                          ado::Variant("1900-02-28 12:00:00")}));
    std::string ids;
    for (; !found->adoEOF(); found->MoveNext()) ids += Shown(found->Fields()[0].Value());
    EXPECT_EQ(ids, "Long(6)Long(8)");
}

TEST_F(Dates, OutOfTheCalendarIsRefusedAndNothingStored) {
    EXPECT_EQ(db.Run("INSERT INTO Fechas (F) VALUES (#12/31/9999# + 1)"), "error 6: Desbordamiento (campo F)");
    EXPECT_EQ(db.Run("UPDATE Fechas SET F = F - 1 WHERE Id = 1"), "error 6: Desbordamiento (campo F)");
    ExpectRows(db, {{"SELECT Count(*) & '/' & Min(F) FROM Fechas", "Text('7/01/01/0100')"}});
}

class Money : public ::testing::Test {
protected:
    testsupport::ScopedRegional spanish{ado::RegionalSettings::Spanish()};
    void SetUp() override {
        db.Setup({"CREATE TABLE Importes (Id COUNTER PRIMARY KEY, M CURRENCY, D DOUBLE)"});
        // The extremes and a value a double cannot hold, through the cursor.
        auto rs = ado::Recordset::Create();
        rs->Open("SELECT * FROM Importes", db.cn(), ado::adOpenKeyset, ado::adLockOptimistic, ado::adCmdText);
        for (int64_t scaled : {INT64_MAX, INT64_MIN, int64_t{9007199254740993}, int64_t{1}, int64_t{1}}) {
            rs->AddNew();
            rs->Fields()["M"].Value(ado::Variant(ado::Currency{scaled}));
            rs->Update();
        }
    }
    AccessDb db;
};

TEST_F(Money, StoredReadAndSummedExactly) {
    ExpectRows(db, {
        {"SELECT M FROM Importes ORDER BY Id",
         "Currency(922337203685477.5807)|Currency(-922337203685477.5808)|Currency(900719925474.0993)|"
         "Currency(0.0001)|Currency(0.0001)"},
        {"SELECT CAST(M AS TEXT) FROM Importes WHERE Id = 3", "Text('9007199254740993')"},
        {"SELECT Sum(M) FROM Importes WHERE Id > 2", "Currency(900719925474.0995)"},
        {"SELECT M + 1 FROM Importes WHERE Id = 3", "Currency(900719925475.0993)"},
        {"SELECT M - 0.0993 FROM Importes WHERE Id = 3", "Double(900719925474)"},
        {"SELECT M * 2 FROM Importes WHERE Id = 3", "Currency(1801439850948.1986)"},
        {"SELECT -M FROM Importes WHERE Id = 3", "Currency(-900719925474.0993)"},
        {"SELECT M / 4 FROM Importes WHERE Id = 4", "Double(2.5000000000000001e-05)"},
        {"SELECT Id FROM Importes WHERE M > 900719925474.0992 ORDER BY Id", "Long(1)|Long(3)"},
        {"SELECT Id FROM Importes WHERE M = 0.0001 AND M < 1 ORDER BY Id", "Long(4)|Long(5)"},
        {"SELECT Count(*) FROM Importes WHERE M IN (0.0001, 900719925474.0993)", "Long(3)"},
        {"SELECT IIf(M > 1, M, 0) FROM Importes WHERE Id = 3", "Currency(900719925474.0993)"},
        {"SELECT M & '' FROM Importes WHERE Id = 4", "Text('0,0001')"},
    });
}

TEST_F(Money, OverflowFailsAndStoresNothing) {
    EXPECT_EQ(db.Run("INSERT INTO Importes (M) VALUES (922337203685477.5808)"), "error 6: Desbordamiento");
    EXPECT_EQ(db.Run("UPDATE Importes SET M = M * 2 WHERE Id = 3 OR Id = 1"), "error 6: Desbordamiento (campo M)");
    EXPECT_EQ(db.Rows("SELECT Sum(M) FROM Importes WHERE Id <> 2"), "error 6: Desbordamiento");
    ExpectRows(db, {{"SELECT Count(*) FROM Importes", "Long(5)"},
                    {"SELECT M FROM Importes WHERE Id = 3", "Currency(900719925474.0993)"}});
}

TEST_F(Money, ValuesFromSqlParametersAndDoublesTakeTheCurrencyForm) {
    EXPECT_EQ(db.Run("UPDATE Importes SET M = 1.23455, D = 2.5 WHERE Id = 4"), "1");
    EXPECT_EQ(db.Run("UPDATE Importes SET M = D * 3 WHERE Id = 4"), "1");
    ExpectRows(db, {{"SELECT M FROM Importes WHERE Id = 4", "Currency(7.5000)"}});
    EXPECT_EQ(db.Run("UPDATE Importes SET M = 1.23455 WHERE Id = 5"), "1");  // rounded half to even
    ExpectRows(db, {{"SELECT M FROM Importes WHERE Id = 5", "Currency(1.2346)"}});
    auto cmd = testsupport::NewCommand(db.cn(), "PARAMETERS Tope Currency; SELECT Count(*) FROM Importes WHERE M > Tope");
    auto rs = cmd->Execute(nullptr, dialect_test::Values({ado::Variant(1.2345)}));
    EXPECT_EQ(Shown(rs->Fields()[0].Value()), "Long(4)");
    auto plain = testsupport::NewCommand(db.cn(), "SELECT Count(*) FROM Importes WHERE M >= ?");
    rs = plain->Execute(nullptr, dialect_test::Values({ado::Variant(int32_t{7})}));
    EXPECT_EQ(Shown(rs->Fields()[0].Value()), "Long(3)");
}

TEST(Decimals, StoredComputedAndSummedExactlyToTwentyEightDigits) {
    AccessDb db;
    db.Setup({"CREATE TABLE Decimales (Id COUNTER PRIMARY KEY, D DECIMAL(28,6), E DECIMAL(10,2))",
              "INSERT INTO Decimales (D, E) VALUES (1234567890.123456, 1.005)",
              "INSERT INTO Decimales (D, E) VALUES (-0.000001, 1.015)"});
    auto rs = ado::Recordset::Create();
    rs->Open("SELECT * FROM Decimales", db.cn(), ado::adOpenKeyset, ado::adLockOptimistic, ado::adCmdText);
    rs->AddNew();
    rs->Fields()["D"].Value(ado::Variant("9999999999999999999999.999999").ConvertTo(ado::VariantType::Decimal));
    rs->Update();
    ExpectRows(db, {
        {"SELECT D FROM Decimales ORDER BY D",
         "Decimal(-0.000001)|Decimal(1234567890.123456)|Decimal(9999999999999999999999.999999)"},
        {"SELECT E FROM Decimales WHERE Id < 3 ORDER BY Id", "Decimal(1)|Decimal(1.02)"},  // half to even
        {"SELECT Sum(D) FROM Decimales WHERE Id < 3", "Decimal(1234567890.123455)"},
        {"SELECT D + 1 FROM Decimales WHERE Id = 1", "Decimal(1234567891.123456)"},
        {"SELECT D * 2 - 0.000002 FROM Decimales WHERE Id = 1", "Decimal(2469135780.24691)"},
        {"SELECT Id FROM Decimales WHERE D > 1234567890.123455 ORDER BY Id", "Long(1)|Long(3)"},
        {"SELECT Max(D) FROM Decimales", "Decimal(9999999999999999999999.999999)"},
    });
    EXPECT_EQ(db.Run("UPDATE Decimales SET E = 123456789 WHERE Id = 1"), "error 6: Desbordamiento");
    EXPECT_EQ(db.Run("UPDATE Decimales SET D = D * 10 WHERE Id = 3"), "error 6: Desbordamiento");
    ExpectRows(db, {{"SELECT E FROM Decimales WHERE Id = 1", "Decimal(1)"}});
}

TEST(Text, ComparesAndKeysWithoutRegardToCase) {
    AccessDb db;
    db.Setup({"CREATE TABLE Personas (Codigo TEXT(10) PRIMARY KEY, Nombre TEXT(30))",
              "INSERT INTO Personas VALUES ('abc', 'bego')", "INSERT INTO Personas VALUES ('x1', 'BEGO')",
              "INSERT INTO Personas VALUES ('x2', 'Bego')", "INSERT INTO Personas VALUES ('x3', 'José')"});
    EXPECT_EQ(db.Run("INSERT INTO Personas VALUES ('ABC', 'otro')").substr(0, 18), "error -2147217873:");
    ExpectRows(db, {
        {"SELECT Count(*) FROM Personas WHERE Nombre = 'BEGO'", "Long(3)"},
        {"SELECT Count(*) FROM Personas WHERE UCase(Nombre) = 'bego'", "Long(3)"},
        {"SELECT Count(*) FROM Personas WHERE Nombre = 'Jose'", "Long(0)"},
        {"SELECT Count(*) FROM (SELECT DISTINCT Nombre FROM Personas)", "Long(2)"},
        {"SELECT Count(*) FROM (SELECT DISTINCT LCase(Nombre) & '' FROM Personas)", "Long(2)"},
        {"SELECT Count(*) FROM Personas GROUP BY Nombre ORDER BY 1", "Long(1)|Long(3)"},
        {"SELECT Codigo FROM Personas WHERE Codigo IN ('ABC', 'X2') ORDER BY Codigo", "Text('abc')|Text('x2')"},
    });
}

// Text in arithmetic and in comparisons with numbers is the number written in it, in the
// regional settings' form; text that holds none is a type mismatch, never 0 and never a silent
// "not equal". + of two texts joins them.
TEST(Text, InArithmeticIsTheNumberItHolds) {
    testsupport::ScopedRegional spanish{ado::RegionalSettings::Spanish()};
    AccessDb db;
    db.Setup({"CREATE TABLE Notas (Id LONG PRIMARY KEY, T TEXT(10))", "INSERT INTO Notas VALUES (1, '2,5')",
              "INSERT INTO Notas VALUES (2, 'dos')", "INSERT INTO Notas VALUES (3, Null)"});
    ExpectRows(db, {
        {"SELECT T * 2 FROM Notas WHERE Id = 1", "Double(5)"},
        {"SELECT '10' + 5 & '|' & -'4' & '|' & ('1' + '2')", "Text('15|-4|12')"},
        {"SELECT T - 1 FROM Notas WHERE Id = 3", "Null"},
        // Compared with a number that no column holds, a text is the number it holds too.
        {"SELECT (T * 1 = '2,5') & '|' & (Len('abc') = '3') & '|' & (10 > '9') & '|' & ('10' > '9') & '|' & "
         "(Len('abc') IN ('2', '3')) & '|' & (10 BETWEEN '9' AND '11') FROM Notas WHERE Id = 1",
         "Text('-1|-1|-1|0|-1|-1')"},
    });
    for (const char* sql : {"SELECT T * 2 FROM Notas WHERE Id = 2", "SELECT 'a' + 5", "SELECT -T FROM Notas WHERE Id = 2",
                            "SELECT Id FROM Notas WHERE Id * 2 = T & ''"})
        EXPECT_EQ(db.Rows(sql), "error 13: No coinciden los tipos") << sql;
}

// Under the Spanish rules (a file made without a regional language takes them): accented
// letters with their base letter, "ñ" after "n", case ignored.
TEST(Text, SortsAsSpanishDoes) {
    AccessDb db;
    db.Setup({"CREATE TABLE Palabras (P TEXT(20))"});
    for (const char* w : {"oso", "Zoe", "ñu", "bego", "nube", "Álvaro", "Ana", "álamo"})
        ASSERT_EQ(db.Run(std::string("INSERT INTO Palabras VALUES ('") + w + "')"), "1");
    ExpectRows(db, {{"SELECT P FROM Palabras ORDER BY P",
                     "Text('álamo')|Text('Álvaro')|Text('Ana')|Text('bego')|Text('nube')|Text('ñu')|Text('oso')|"
                     "Text('Zoe')"},
                    {"SELECT Max(P) & '/' & Min(UCase(P)) FROM Palabras", "Text('Zoe/ÁLAMO')"}});
}

// Queries compare texts by the file's collation, as its ORDER BY does, whatever language the
// program runs under (Access compares by the database's sort order): a Swedish file puts ä
// after z, a Turkish one pairs I with ı and İ with i.
TEST(Text, QueriesCompareByTheFilesCollationWhateverTheProgramsLanguage) {
    auto settings = [](const char* language) {
        ado::RegionalSettings rs = ado::RegionalSettings::Spanish();
        rs.language = language;
        return rs;
    };
    auto query = [&settings](const char* language, const std::vector<std::string>& setup, const std::string& sql) {
        std::optional<AccessDb> db;
        {
            testsupport::ScopedRegional made{settings(language)};
            db.emplace();
            for (const std::string& sql : setup) EXPECT_EQ(db->Run(sql).rfind("error", 0), std::string::npos) << sql;
            db->cn()->Close();
        }
        testsupport::ScopedRegional spanish{ado::RegionalSettings::Spanish()};
        return Shown(testsupport::Scalar(db->db().Connect(), sql));
    };
    EXPECT_EQ(query("sv", {"CREATE TABLE P (T TEXT(5))", "INSERT INTO P VALUES ('z')", "INSERT INTO P VALUES ('ä')"},
                    "SELECT StrComp('ä', 'z') & '|' & StrComp('Ä', 'ä') & '|' & "
                    "(SELECT T FROM P ORDER BY T DESC LIMIT 1) FROM P WHERE T = 'z'"),
              "Text('1|0|ä')");
    EXPECT_EQ(query("tr", {}, "SELECT ('İstanbul' LIKE 'i*') & '|' & ('Isparta' LIKE 'ı*') & '|' & "
                              "InStr('DİYARBAKIR', 'i') & '|' & StrComp('I', 'ı')"),
              "Text('-1|-1|2|0')");
}

TEST(TypedColumns, RefuseWhatDoesNotFit) {
    AccessDb db;
    db.Setup({"CREATE TABLE Chicos (Id COUNTER PRIMARY KEY, B BYTE, S SHORT, L LONG)"});
    EXPECT_EQ(db.Run("INSERT INTO Chicos (B) VALUES (256)"), "error 6: Desbordamiento (campo B)");
    EXPECT_EQ(db.Run("INSERT INTO Chicos (B) VALUES (-1)"), "error 6: Desbordamiento (campo B)");
    EXPECT_EQ(db.Run("INSERT INTO Chicos (S) VALUES (32768)"), "error 6: Desbordamiento (campo S)");
    EXPECT_EQ(db.Run("INSERT INTO Chicos (L) VALUES (2147483648)"), "error 6: Desbordamiento (campo L)");
    EXPECT_EQ(db.Run("INSERT INTO Chicos (B, S, L) VALUES (2.5, '7', 1.5)"), "1");  // rounded as Access stores
    ExpectRows(db, {{"SELECT B & '/' & S & '/' & L FROM Chicos", "Text('2/7/2')"}});
    auto rs = ado::Recordset::Create();
    rs->Open("SELECT * FROM Chicos", db.cn(), ado::adOpenKeyset, ado::adLockOptimistic, ado::adCmdText);
    rs->AddNew();
    for (int32_t refused : {256, -1})
        EXPECT_EQ(testsupport::ErrorNumberOf([&] { rs->Fields()["B"].Value(ado::Variant(refused)); }),
                  ado::err::DataConversion);
    rs->CancelUpdate();
    ExpectRows(db, {{"SELECT Count(*) FROM Chicos", "Long(1)"}});
}

TEST(TypedColumns, TextsKeepToTheirDeclaredSize) {
    AccessDb db;
    db.Setup({"CREATE TABLE Nombres (Id COUNTER PRIMARY KEY, Corto TEXT(3), Libre TEXT, Largo MEMO)"});
    auto tooSmall = [](const char* column) {
        return std::string("error 3163: El campo es demasiado pequeño para aceptar la cantidad de datos que intentó "
                           "agregar. Intente insertar o pegar menos datos. (campo ") + column + ")";
    };
    const std::string longText(300, 'x');
    EXPECT_EQ(db.Run("INSERT INTO Nombres (Corto) VALUES ('abcd')"), tooSmall("Corto"));
    // The size counts characters; a text declared without a size is not held to 255.
    EXPECT_EQ(db.Run("INSERT INTO Nombres (Corto, Libre, Largo) VALUES ('ñáé', '" + longText + "', '" + longText + "')"),
              "1");
    EXPECT_EQ(db.Run("UPDATE Nombres SET Corto = Corto & 'x'"), tooSmall("Corto"));
    db.Setup({"ALTER TABLE Nombres ADD COLUMN Otro VARCHAR(2)", "SELECT Id, Corto INTO Copia FROM Nombres"});
    EXPECT_EQ(db.Run("UPDATE Nombres SET Otro = 'abc'"), tooSmall("Otro"));
    EXPECT_EQ(db.Run("INSERT INTO Copia (Corto) SELECT Libre FROM Nombres"), tooSmall("Corto"));
    ExpectRows(db, {{"SELECT Corto & '|' & Len(Libre) & '|' & Len(Largo) & '|' & (Otro Is Null) FROM Nombres",
                     "Text('ñáé|300|300|-1')"},
                    {"SELECT Count(*) FROM Copia", "Long(1)"}});
}

// A key column and a required one take no Null, through SQL or a recordset; the file keeps
// only the rows that have their values.
TEST(TypedColumns, KeysAndRequiredFieldsRefuseNull) {
    AccessDb db;
    db.Setup({"CREATE TABLE Paises (Codigo TEXT(2) PRIMARY KEY, Nombre TEXT(20) NOT NULL)",
              "CREATE TABLE Lineas (Pedido LONG, Linea SHORT, Nota TEXT(5), CONSTRAINT pk PRIMARY KEY (Pedido, Linea))"});
    const std::string nullKey = "error -2147467259: El índice o la clave principal no pueden contener un valor nulo. ";
    const std::string required = "error -2147467259: El campo no puede contener un valor nulo porque es obligatorio. "
                                 "Escriba un valor en este campo. ";
    EXPECT_EQ(db.Run("INSERT INTO Paises (Nombre) VALUES ('España')"), nullKey + "(campo Codigo)");
    EXPECT_EQ(db.Run("INSERT INTO Paises (Codigo) VALUES ('ES')"), required + "(campo Paises.Nombre)");
    EXPECT_EQ(db.Run("INSERT INTO Lineas (Pedido, Nota) VALUES (1, 'a')"), nullKey + "(campo Linea)");
    EXPECT_EQ(db.Run("INSERT INTO Lineas (Pedido, Linea) VALUES (1, 1)"), "1");
    EXPECT_EQ(db.Run("UPDATE Lineas SET Pedido = Null"), nullKey + "(campo Pedido)");
    auto rs = ado::Recordset::Create();
    rs->Open("SELECT * FROM Paises", db.cn(), ado::adOpenKeyset, ado::adLockOptimistic, ado::adCmdText);
    rs->AddNew();
    rs->Fields()["Nombre"].Value("Francia");
    try {
        rs->Update();
        ADD_FAILURE() << "a Null key was written";
    } catch (const ado::Error& e) {
        EXPECT_EQ("error " + std::to_string(e.Number()) + ": " + e.Description(), nullKey + "(campo Codigo)");
    }
    rs->Fields()["Codigo"].Value("FR");
    rs->Update();
    // What another connection reads in the file.
    EXPECT_EQ(testsupport::Scalar(db.db().Connect(), "SELECT Codigo & '|' & Nombre FROM Paises").ToString(),
              "FR|Francia");
    ExpectRows(db, {{"SELECT Pedido & '|' & Linea FROM Lineas", "Text('1|1')"}});
}

// A truth is Access's True, -1, wherever its value is used: stored, computed, summed, sorted.
// Where only the truth counts (a condition) the comparison stays the engine's, for its indexes.
TEST(Booleans, ATruthIsMinusOneWhereverItsValueIsUsed) {
    AccessDb db;
    db.Setup({"CREATE TABLE Cuentas (Id LONG PRIMARY KEY, Saldo CURRENCY, Nota TEXT(10), Saldada YESNO)",
              "INSERT INTO Cuentas VALUES (1, 0, 'a', False)", "INSERT INTO Cuentas VALUES (2, 50, Null, False)",
              "INSERT INTO Cuentas VALUES (3, 0, 'b', False)", "UPDATE Cuentas SET Saldada = (Saldo = 0)",
              "INSERT INTO Cuentas VALUES (4, 1, 'c', 2 > 1)"});
    ExpectRows(db, {
        {"SELECT Id FROM Cuentas WHERE Saldada = True ORDER BY Id", "Long(1)|Long(3)|Long(4)"},
        {"SELECT -Sum(Saldo = 0) & '|' & Sum(Nota Is Null) & '|' & Sum(Saldo * (Saldo > 10)) FROM Cuentas",
         "Text('2|-1|-50')"},
        {"SELECT ((Not 0) + 1) & '|' & ((5 And 3) * 2) & '|' & ((7 In (1, 7)) * 3) & '|' & (('ab' Not Like 'a*') * 1) & "
         "'|' & (('ab' Not Like 'x*') * 1) & '|' & (((1 > 0) Xor (1 > 2)) * 1) & '|' & ((2 Between 1 And 3) * 1) & '|' & "
         "((Exists (SELECT * FROM Cuentas)) * 1)",
         "Text('0|-2|-3|0|-1|-1|-1|-1')"},
        {"SELECT Id FROM Cuentas ORDER BY Saldo > 10, Id", "Long(2)|Long(1)|Long(3)|Long(4)"},
    });
    const std::string condition =
        ado::sqlite::TranslateAccessSql("SELECT * FROM t WHERE a = 1 AND (b > 2 OR Not c Is Null)").sql;
    EXPECT_EQ(condition.find("(- "), std::string::npos) << condition;
}

// A computation that leaves its integer type goes on in the next one, never cut to 32 bits.
TEST(WholeNumbers, BeyondTheirTypeGoOnInTheNextOne) {
    AccessDb db;
    db.Setup({"CREATE TABLE Cifras (Id LONG PRIMARY KEY, Corta SHORT)", "INSERT INTO Cifras VALUES (2, 30000)"});
    ExpectRows(db, {
        {"SELECT Id + 2147483647 FROM Cifras", "Double(2147483649)"},
        {"SELECT Corta + Corta FROM Cifras", "Long(60000)"},
        {"SELECT Corta FROM Cifras", "Integer(30000)"},
    });
}

// A real beyond its type's range overflows, where the engine would keep infinity; a Single is
// stored with a Single's precision, as Access stores it.
TEST(Reals, BeyondTheirRangeOverflowAndSinglesKeepTheirPrecision) {
    testsupport::ScopedRegional spanish{ado::RegionalSettings::Spanish()};
    AccessDb db;
    db.Setup({"CREATE TABLE Medidas (Id LONG PRIMARY KEY, S SINGLE, D DOUBLE)",
              "INSERT INTO Medidas VALUES (1, 0.1, 1E308)"});
    for (const char* sql : {"SELECT D * 10 FROM Medidas", "SELECT CDbl(D * 10) FROM Medidas"})
        EXPECT_EQ(db.Rows(sql), "error 6: Desbordamiento") << sql;
    for (const char* sql : {"UPDATE Medidas SET D = D * 10", "UPDATE Medidas SET S = 1E39"})
        EXPECT_EQ(db.Run(sql), "error 6: Desbordamiento") << sql;
    ExpectRows(db, {
        {"SELECT D / 1E300 & '|' & S & '|' & CStr(S) & '|' & Format(S) & '|' & Str(S) FROM Medidas",
         "Text('100000000|0,1|0,1|0,1| 0.1')"},
        {"SELECT Count(*) FROM Medidas WHERE S = 0.1", "Long(0)"},
        {"SELECT Count(*) FROM Medidas WHERE S = CSng(0.1)", "Long(1)"},
    });
}

TEST(Counters, NumberFromTheirSeedByOne) {
    AccessDb db;
    db.Setup({"CREATE TABLE Facturas (Numero COUNTER(1000, 1) PRIMARY KEY, Cliente TEXT(10))",
              "INSERT INTO Facturas (Cliente) VALUES ('a')", "INSERT INTO Facturas (Cliente) VALUES ('b')",
              // Defined again where it exists: the numbering goes on.
              "CREATE TABLE IF NOT EXISTS Facturas (Numero AUTOINCREMENT(5, 1), Cliente TEXT(10))",
              "INSERT INTO Facturas (Cliente) VALUES ('c')"});
    ExpectRows(db, {{"SELECT Numero FROM Facturas ORDER BY Numero", "Long(1000)|Long(1001)|Long(1002)"}});
    const std::string refused = "error 3251: El motor de base de datos incrustado no admite esta construcción de SQL "
                                "de Access: COUNTER con valor inicial menor que 1 o incremento distinto de 1.";
    for (const char* sql : {"CREATE TABLE Otra (Id COUNTER(10, 5))", "CREATE TABLE Otra (Id COUNTER(0, 1))"})
        EXPECT_EQ(db.Run(sql), refused) << sql;
    ExpectRows(db, {{"SELECT Count(*) FROM MSysObjects WHERE Name = 'Otra'", "Long(0)"}});
}

TEST(Relationships, NeedTheTableTheyPointTo) {
    AccessDb db;
    db.Setup({"CREATE TABLE Padres (Id LONG PRIMARY KEY)",
              "CREATE TABLE Hijos (Id LONG PRIMARY KEY, Padre LONG REFERENCES padres (Id), Hermano LONG, "
              "CONSTRAINT h FOREIGN KEY (Hermano) REFERENCES Hijos (Id))",
              "ALTER TABLE Hijos ADD COLUMN Otro LONG REFERENCES Padres"});
    const auto missing = [](const char* table) {
        return std::string("error -2147217865: No se encuentra la tabla o consulta de entrada. '") + table + "'";
    };
    EXPECT_EQ(db.Run("CREATE TABLE Nietos (Id LONG, Hijo LONG REFERENCES Hijas (Id))"), missing("Hijas"));
    EXPECT_EQ(db.Run("CREATE TABLE Nietos (Id LONG, CONSTRAINT n FOREIGN KEY (Id) REFERENCES [Los Hijos])"),
              missing("Los Hijos"));
    EXPECT_EQ(db.Run("ALTER TABLE Hijos ADD COLUMN Tio LONG REFERENCES Tios"), missing("Tios"));
    ExpectRows(db, {{"SELECT Count(*) FROM MSysObjects WHERE Name = 'Nietos'", "Long(0)"}});
}

// A table or unique index that a relationship stands on stays until the relationship goes.
TEST(Relationships, KeepTheTableAndIndexTheyStandOn) {
    AccessDb db;
    db.Setup({"CREATE TABLE Padres (Id LONG PRIMARY KEY, Codigo TEXT(5))",
              "CREATE UNIQUE INDEX PorCodigo ON Padres (Codigo)", "CREATE INDEX PorId ON Padres (Id, Codigo)",
              "CREATE TABLE Hijos (Id LONG PRIMARY KEY, Padre LONG REFERENCES Padres (Id), Jefe LONG REFERENCES Hijos)"});
    // Another user, connected before the last relationship is made, is refused too.
    const ado::ConnectionPtr other = db.db().Connect();
    other->Execute("SELECT * FROM Padres");
    db.Setup({"CREATE TABLE Notas (Codigo TEXT(5), CONSTRAINT n FOREIGN KEY (Codigo) REFERENCES Padres (Codigo))"});
    const std::string inUse =
        "No se puede eliminar este índice o tabla. Es el índice actual o se utiliza en una relación. ";
    EXPECT_EQ(db.Run("DROP TABLE padres"), "error -2147467259: " + inUse + "'padres' ('Hijos')");
    try {
        other->Execute("DROP INDEX PorCodigo ON Padres");
        ADD_FAILURE() << "the index was dropped";
    } catch (const ado::Error& e) {
        EXPECT_EQ(e.Description(), inUse + "'PorCodigo' ('Notas')");
    }
    // Both are still there and still hold.
    EXPECT_EQ(db.Run("INSERT INTO Padres VALUES (1, 'A')"), "1");
    EXPECT_EQ(db.Run("INSERT INTO Padres VALUES (2, 'a')"),
              "error -2147217873: Los cambios no se realizaron porque crearían valores duplicados en el índice, "
              "clave principal o relación. (motor: UNIQUE constraint failed: Padres.Codigo)");
    EXPECT_EQ(db.Run("INSERT INTO Notas VALUES ('A')"), "1");
    // An index no relationship needs goes; so does a table that points only to itself, and
    // the parent once its children are gone.
    EXPECT_EQ(db.Run("DROP INDEX PorId ON Padres"), "0");
    EXPECT_EQ(db.Run("DROP TABLE Notas"), "0");
    EXPECT_EQ(db.Run("DROP INDEX PorCodigo ON Padres"), "0");
    EXPECT_EQ(db.Run("DROP TABLE Hijos"), "0");
    EXPECT_EQ(db.Run("DROP TABLE Padres"), "0");
    ExpectRows(db, {{"SELECT Count(*) FROM MSysObjects WHERE Type = 1 AND Flags = 0", "Long(0)"}});
}

TEST(MakeTable, CopiesTheColumnsAccessTypes) {
    AccessDb db;
    db.Setup({"CREATE TABLE Origen (F DATETIME, M CURRENCY, N TEXT(20))",
              "INSERT INTO Origen VALUES (#1/2/2003#, 1.5, 'abc')"});
    EXPECT_EQ(db.Run("SELECT F, M, N, M * 2 AS Doble, F + 1 AS Despues INTO Copia FROM Origen"), "1");
    auto rs = db.db().Query(db.cn(), "SELECT * FROM Copia WHERE N = 'ABC'");
    std::string shown;
    for (int i = 0; i < rs->Fields().Count(); ++i) shown += Shown(rs->Fields()[i].Value()) + " ";
    EXPECT_EQ(shown, "Date(2003-01-02 00:00:00) Currency(1.5000) Text('abc') Currency(3.0000) Date(2003-01-03 00:00:00) ");
}

// A file of the earlier format (dates as text, money as doubles, no collation), or made by
// another program, is refused naming the command that converts it; converted, it reads right.
TEST(OlderFiles, AreRefusedThenConverted) {
    testsupport::TempDir dir;
    const std::string file = dir.file("vieja.mdb");
    ASSERT_EQ(testsupport::WritePlainFile(
                  file, "CREATE TABLE Viejo (Id INTEGER PRIMARY KEY, F DATETIME, M CURRENCY, R REAL, N TEXT);"
                        "CREATE INDEX PorNombre ON Viejo (N);"
                        "INSERT INTO Viejo VALUES (1, '2024-03-15 10:30:00', 12.5, 123456789.125, 'bego');"
                        "INSERT INTO Viejo VALUES (2, 45366.5, 3, 0.1, 'Ana')"),
              "");
    const std::string cs = testsupport::JetConnectionString(file);
    auto cn = ado::Connection::Create();
    try {
        cn->Open(cs);
        FAIL() << "an old file opened";
    } catch (const ado::Error& e) {
        EXPECT_EQ(e.Number(), ado::err::Fail);
        EXPECT_EQ(e.Description(),
                  "La base de datos tiene un formato anterior de esta biblioteca o de otro programa y debe convertirse "
                  "antes de abrirla. Archivo: '" + file + "'. Conviértalo con: quimera migrar \"" + file + "\"");
    }
    const ado::UpgradeReport report = ado::UpgradeDatabase(cs);
    EXPECT_FALSE(report.alreadyCurrent);
    EXPECT_EQ(report.tables, 1);
    EXPECT_EQ(report.rows, 2);
    EXPECT_TRUE(ado::UpgradeDatabase(cs).alreadyCurrent);
    cn->Open(cs);
    auto rs = ado::Recordset::Create();
    rs->Open("SELECT * FROM Viejo WHERE N = 'BEGO' OR N = 'ana' ORDER BY Id", cn, ado::adOpenStatic, ado::adLockReadOnly,
             ado::adCmdText);
    std::string shown;
    for (; !rs->adoEOF(); rs->MoveNext())
        for (int i = 1; i < rs->Fields().Count(); ++i) shown += Shown(rs->Fields()[i].Value()) + " ";
    EXPECT_EQ(shown,
              "Date(2024-03-15 10:30:00) Currency(12.5000) Double(123456789.125) Text('bego') "
              "Date(2024-03-15 12:00:00) Currency(3.0000) Double(0.10000000000000001) Text('Ana') ");
}

// Text indexes are built by the collator the file records; another version rebuilds them.
TEST(OlderFiles, ANewCollatorRebuildsTheTextIndexes) {
    AccessDb db;
    db.Setup({"CREATE TABLE Nombres (N TEXT(20) PRIMARY KEY)", "INSERT INTO Nombres VALUES ('bego')"});
    auto recorded = [&] {
        sqlite3* raw = nullptr;
        sqlite3_open(db.db().file().c_str(), &raw);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw, "SELECT Valor FROM MSysPropiedades WHERE Propiedad = 'VersionIntercalacion'", -1, &st,
                           nullptr);
        std::string version = sqlite3_step(st) == SQLITE_ROW ? reinterpret_cast<const char*>(sqlite3_column_text(st, 0)) : "";
        sqlite3_finalize(st);
        sqlite3_close(raw);
        return version;
    };
    const std::string current = recorded();
    ASSERT_FALSE(current.empty());
    db.cn()->Close();
    sqlite3* raw = nullptr;
    sqlite3_open(db.db().file().c_str(), &raw);
    ASSERT_EQ(sqlite3_exec(raw, "UPDATE MSysPropiedades SET Valor = 'antigua' WHERE Propiedad = 'VersionIntercalacion'",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);
    auto cn = db.db().Connect();
    EXPECT_EQ(recorded(), current);
    EXPECT_EQ(Shown(testsupport::Scalar(cn, "SELECT Count(*) FROM Nombres WHERE N = 'BEGO'")), "Long(1)");
}

// A format record that holds no number (a damaged or foreign file) reads as an earlier format.
TEST(OlderFiles, AFormatRecordThatIsNoNumberIsAnEarlierFormat) {
    AccessDb db;
    db.cn()->Close();
    const std::string file = db.db().file();
    ASSERT_EQ(testsupport::WritePlainFile(file, "UPDATE MSysPropiedades SET Valor = 'x' WHERE Propiedad = 'Formato'"), "");
    try {
        db.db().Connect();
        FAIL() << "a damaged file opened";
    } catch (const ado::Error& e) {
        EXPECT_EQ(e.Description(),
                  "La base de datos tiene un formato anterior de esta biblioteca o de otro programa y debe convertirse "
                  "antes de abrirla. Archivo: '" + file + "'. Conviértalo con: quimera migrar \"" + file + "\"");
    }
}

}  // namespace
