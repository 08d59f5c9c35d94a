// Access statements run on a real database file through the embedded provider.
#include <fstream>

#include "access_db.h"

namespace {

using dialect_test::AccessDb;
using dialect_test::ExpectRows;

class AccessSql : public ::testing::Test {
protected:
    void SetUp() override {
        db.Setup({
            "CREATE TABLE Clientes (Id COUNTER PRIMARY KEY, Nombre TEXT(50), Apellido TEXT(50), Alta DATETIME, "
            "Activo YESNO)",
            "INSERT INTO Clientes (Nombre, Apellido, Alta, Activo) VALUES (\"Ana\", \"Pérez\", #3/15/2024#, True)",
            "INSERT INTO Clientes (Nombre, Apellido, Alta, Activo) VALUES ('Luis', Null, #1/2/2023 10:30 AM#, False)",
            "INSERT INTO Clientes (Nombre, Apellido, Alta, Activo) VALUES ('Marta', 'Gil', #2024-12-01#, Yes)",
            "INSERT INTO Clientes (Nombre, Apellido, Alta, Activo) VALUES ('Óscar', 'Ruiz', #7/4/2022#, No)",
        });
    }
    AccessDb db;
};

TEST_F(AccessSql, Queries) {
    ExpectRows(db, {
        {"SELECT Nombre & ' ' & Apellido FROM Clientes ORDER BY Id",
         "Text('Ana Pérez')|Text('Luis ')|Text('Marta Gil')|Text('Óscar Ruiz')"},
        {"SELECT Alta FROM Clientes WHERE Id = 2", "Date(2023-01-02 10:30:00)"},
        {"SELECT TOP 2 Nombre FROM Clientes ORDER BY Alta DESC", "Text('Marta')|Text('Ana')"},
        {"SELECT TOP 30 PERCENT Nombre FROM Clientes ORDER BY Nombre", "Text('Ana')|Text('Luis')"},
        {"SELECT TOP 1 Nombre FROM Clientes UNION ALL SELECT TOP 1 Apellido FROM Clientes WHERE Apellido Is Not Null",
         "Text('Ana')|Text('Pérez')"},
        {"SELECT Id FROM Clientes WHERE Id IN (SELECT TOP 1 Id FROM Clientes ORDER BY Alta)", "Long(4)"},
        {"SELECT Nombre FROM Clientes WHERE Nombre LIKE \"[a-m]*\" ORDER BY Id", "Text('Ana')|Text('Luis')|Text('Marta')"},
        {"SELECT Nombre FROM Clientes WHERE Nombre NOT LIKE '*a' AND Nombre LIKE 'ó*'", "Text('Óscar')"},
        {"SELECT Nombre FROM Clientes WHERE Activo = True ORDER BY Id", "Text('Ana')|Text('Marta')"},
        {"SELECT Nombre FROM Clientes WHERE Alta BETWEEN #1/1/2024# AND #12/31/2024# ORDER BY Alta",
         "Text('Ana')|Text('Marta')"},
        {"SELECT Count(*) FROM Clientes WHERE IsNull(Apellido)", "Long(1)"},
        {"SELECT IIf(Activo, 'sí', 'no') FROM Clientes ORDER BY Id", "Text('sí')|Text('no')|Text('sí')|Text('no')"},
        {"SELECT DateDiff('yyyy', Alta, #1/1/2025#) FROM Clientes ORDER BY Id", "Long(1)|Long(2)|Long(1)|Long(3)"},
        {"SELECT Format(Alta, 'dd/mm/yyyy') & ' ' & UCase(Left(Nombre, 3)) FROM Clientes WHERE Id Mod 2 = 0 ORDER BY Id",
         "Text('02/01/2023 LUI')|Text('04/07/2022 ÓSC')"},
        // Keywords in any letter case, where a name could follow (an alias without AS).
        {"select Nombre from Clientes where Id = 3", "Text('Marta')"},
        {"Select Nombre n From Clientes c Where c.Id < 3 Order By n desc", "Text('Luis')|Text('Ana')"},
    });
}

std::string FieldNames(AccessDb& db, const std::string& sql) {
    auto rs = db.db().Query(db.cn(), sql);
    std::string names;
    for (int i = 0; i < rs->Fields().Count(); ++i) names += rs->Fields()[i].Name() + ";";
    return names;
}

// {guid {...}} is a GUID in the form GUIDs are stored in, whatever the letter case written; a
// GUID column stores a GUID's text in that form too and refuses any other value.
TEST_F(AccessSql, GuidLiteralsStoreAndFindTheGuid) {
    db.Setup({"CREATE TABLE Replicas (Id LONG PRIMARY KEY, G GUID)",
              "INSERT INTO Replicas VALUES (1, {guid {6f9619ff-8b86-d011-b42d-00c04fc964ff}})",
              "INSERT INTO Replicas VALUES (2, { GUID {00000000-0000-0000-0000-000000000002} })",
              "INSERT INTO Replicas VALUES (3, '0000000a-0000-0000-0000-000000000003')"});
    ExpectRows(db, {{"SELECT Id & ' ' & G FROM Replicas WHERE G = {guid {6F9619FF-8B86-D011-B42D-00C04FC964FF}}",
                     "Text('1 {6F9619FF-8B86-D011-B42D-00C04FC964FF}')"},
                    {"SELECT G FROM Replicas WHERE Id = 3", "Text('{0000000A-0000-0000-0000-000000000003}')"}});
    for (const char* bad : {"INSERT INTO Replicas VALUES (4, 'abc')", "UPDATE Replicas SET G = 12 WHERE Id = 1"})
        EXPECT_EQ(db.Run(bad), "error 13: No coinciden los tipos") << bad;
    for (const char* bad : {"SELECT {guid {6F9619FF-8B86-D011-B42D-00C04FC964F}}", "SELECT {guid 6F9619FF}",
                            "SELECT {guid {6F9619FF-8B86-D011-B42D-00C04FC964FG}}"})
        EXPECT_EQ(db.Rows(bad),
                  "error -2147217900: Error de sintaxis en la instrucción SQL: literal GUID no válido: se esperaba "
                  "{guid {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}}.")
            << bad;
}

TEST_F(AccessSql, ColumnsAreNamedAsAccessNamesThem) {
    EXPECT_EQ(FieldNames(db, "SELECT Id, Nombre & 'x', Count(*) AS N, Max(Alta) FROM Clientes GROUP BY Id, Nombre"),
              "Id;Expr1001;N;Expr1003;");
    // A qualified column is named by its column, whatever its source: a table, a saved query or
    // a derived table, in every form of query.
    db.Setup({"CREATE VIEW Activos AS SELECT Id, Nombre FROM Clientes WHERE Activo"});
    for (const char* sql : {
             "SELECT c.Id, c.Nombre FROM Clientes AS c",
             "SELECT a.Id, a.Nombre FROM Activos AS a",
             "SELECT Activos.Id, [Activos].[Nombre] FROM Activos",
             "SELECT d.Id, d.Nombre FROM (SELECT Id, Nombre FROM Clientes) AS d",
             "SELECT DISTINCT d.Id, d.Nombre FROM (SELECT Id, Nombre FROM Clientes) AS d",
             "SELECT TOP 1 a.Id, a.Nombre FROM Activos AS a ORDER BY a.Nombre DESC",
             "SELECT a.Id, a.Nombre FROM Activos AS a UNION SELECT Id, Apellido FROM Clientes",
         })
        EXPECT_EQ(FieldNames(db, sql), "Id;Nombre;") << sql;
}

TEST_F(AccessSql, MakeTableDeleteAndAutonumber) {
    EXPECT_EQ(db.Run("SELECT Nombre, Alta INTO [Copia Activos] FROM Clientes WHERE Activo"), "2");
    // The new table keeps the columns' Access types.
    ExpectRows(db, {{"SELECT Alta FROM [Copia Activos] ORDER BY Alta", "Date(2024-03-15 00:00:00)|Date(2024-12-01 00:00:00)"}});
    EXPECT_EQ(db.Run("DELETE * FROM [Copia Activos] WHERE Nombre = 'ana'"), "1");
    ExpectRows(db, {{"SELECT Nombre FROM [Copia Activos]", "Text('Marta')"}});
    // The autonumber never gives a deleted number again.
    EXPECT_EQ(db.Run("DELETE Clientes.* FROM Clientes WHERE Id = 4"), "1");
    EXPECT_EQ(db.Run("INSERT INTO Clientes (Nombre) VALUES ('Pablo')"), "1");
    ExpectRows(db, {{"SELECT Max(Id) FROM Clientes", "Long(5)"}});
}

TEST_F(AccessSql, TablesOfAnotherFile) {
    testsupport::EmbeddedDb other("", "otra base.db");
    testsupport::Scalar(other.Connect(), "SELECT 1");
    other.Connect()->Execute("CREATE TABLE Proveedores (Nombre TEXT)");
    other.Connect()->Execute("INSERT INTO Proveedores VALUES ('Zeta')");
    other.Connect()->Execute("INSERT INTO Proveedores VALUES ('alfa')");
    const std::string file = other.file();
    ExpectRows(db, {{("SELECT p.Nombre FROM Proveedores IN '" + file + "' AS p ORDER BY p.Nombre").c_str(),
                     "Text('alfa')|Text('Zeta')"}});
    EXPECT_EQ(db.Run("INSERT INTO Proveedores IN \"" + file + "\" (Nombre) SELECT Nombre FROM Clientes WHERE Id = 1"), "1");
    ExpectRows(db, {{("SELECT Nombre FROM Proveedores IN '" + file + "' WHERE Nombre <> 'ZETA' ORDER BY Nombre").c_str(),
                     "Text('alfa')|Text('Ana')"},
                    {("SELECT Count(*) FROM [" + file + "].[Proveedores]").c_str(), "Long(3)"},
                    {("SELECT Count(*) FROM [;DATABASE=" + file + "].Proveedores").c_str(), "Long(3)"}});
}

// A form's control that has no value here is a parameter, as Access reads it.
TEST_F(AccessSql, FormReferencesAreParameters) {
    EXPECT_EQ(db.Rows("SELECT Nombre FROM Clientes WHERE Id = [Forms]![Pedidos]![IdCliente]"),
              "error -2147217904: No se han especificado valores para algunos de los parámetros requeridos. "
              "(Forms.Pedidos.IdCliente)");
    auto cmd = testsupport::NewCommand(db.cn(), "SELECT Nombre FROM Clientes WHERE Id = [Forms]![Pedidos]![IdCliente]");
    cmd->Parameters().Refresh();
    ASSERT_EQ(cmd->Parameters().Count(), 1);
    EXPECT_EQ(cmd->Parameters().Item(0)->Name(), "Forms.Pedidos.IdCliente");
    auto rs = cmd->Execute(nullptr, dialect_test::Values({ado::Variant(int32_t{3})}));
    EXPECT_EQ(dialect_test::Shown(rs->Fields()[0].Value()), "Text('Marta')");
}

// One statement per call: text after it is refused before anything runs.
TEST_F(AccessSql, TrailingStatementsAreRefusedBeforeAnythingRuns) {
    EXPECT_EQ(db.Run("UPDATE Clientes SET Nombre = 'X'; DELETE FROM Clientes"),
              "error 3142: Se encontraron caracteres después del final de la instrucción SQL.");
    EXPECT_EQ(db.Rows("SELECT 1; SELECT 2"), "error 3142: Se encontraron caracteres después del final de la instrucción SQL.");
    ExpectRows(db, {{"SELECT Count(*) FROM Clientes WHERE Nombre <> 'X'", "Long(4)"}});
    EXPECT_EQ(db.Run("UPDATE Clientes SET Activo = True WHERE Id = 2; -- hecho"), "1");
}

// A statement whose second file cannot be attached leaves nothing attached behind it.
TEST_F(AccessSql, AFailedAttachmentLeavesNothingAttached) {
    testsupport::EmbeddedDb other("", "otra.db");
    other.Connect()->Execute("CREATE TABLE Proveedores (Nombre TEXT)");
    const std::string good = other.file();
    const std::string bad = other.dir().file("no es una base.db");
    { std::ofstream(bad) << "esto no es una base de datos"; }
    const std::string both = "SELECT p.Nombre FROM Proveedores IN '" + good + "' AS p, Proveedores IN '" + bad + "' AS q";
    EXPECT_EQ(db.Rows(both).rfind("error", 0), 0u);
    EXPECT_EQ(db.Rows("SELECT Count(*) FROM Proveedores IN '" + good + "'"), "Long(0)");
    EXPECT_EQ(db.Rows("SELECT Count(*) FROM Proveedores IN '" + good + "'"), "Long(0)");
}

}  // namespace
