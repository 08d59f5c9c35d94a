// Access statements translated and run on a real database file, as the provider runs them.
#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "engine.h"
#include "support/TempDir.h"

namespace {

using ado::sqlite::TranslateAccessSql;
using dialect_test::Engine;

// Translates, attaches what the statement needs and runs it; the rows' first column.
std::string RunAccess(Engine& e, const std::string& access) {
    const auto tr = TranslateAccessSql(access);
    for (const auto& a : tr.attachments) {
        const std::string error = e.Exec("ATTACH DATABASE '" + a.path + "' AS \"" + a.alias + "\"");
        if (!error.empty()) return error;
    }
    const std::string rows = e.Query(tr.sql);
    for (const auto& a : tr.attachments) e.Exec("DETACH DATABASE \"" + a.alias + "\"");
    return rows;
}

class AccessSession : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* sql : {
                 "CREATE TABLE Clientes (Id COUNTER PRIMARY KEY, Nombre TEXT(50), Apellido TEXT(50), Alta DATETIME, "
                 "Activo YESNO)",
                 "INSERT INTO Clientes (Nombre, Apellido, Alta, Activo) VALUES (\"Ana\", \"Pérez\", #3/15/2024#, True)",
                 "INSERT INTO Clientes (Nombre, Apellido, Alta, Activo) VALUES ('Luis', Null, #1/2/2023 10:30 AM#, False)",
                 "INSERT INTO Clientes (Nombre, Apellido, Alta, Activo) VALUES ('Marta', 'Gil', #2024-12-01#, Yes)",
                 "INSERT INTO Clientes (Nombre, Apellido, Alta, Activo) VALUES ('Óscar', 'Ruiz', #7/4/2022#, No)",
             })
            ASSERT_EQ(RunAccess(db, sql), "") << sql;
    }

    testsupport::TempDir dir;
    Engine db{dir.file("datos.db").c_str()};
};

TEST_F(AccessSession, Queries) {
    const std::pair<const char*, const char*> cases[] = {
        {"SELECT Nombre & ' ' & Apellido FROM Clientes ORDER BY Id", "'Ana Pérez'|'Luis '|'Marta Gil'|'Óscar Ruiz'"},
        {"SELECT Alta FROM Clientes WHERE Id = 2", "'2023-01-02 10:30:00'"},
        {"SELECT TOP 2 Nombre FROM Clientes ORDER BY Alta DESC", "'Marta'|'Ana'"},
        {"SELECT TOP 30 PERCENT Nombre FROM Clientes ORDER BY Nombre", "'Ana'|'Luis'"},
        {"SELECT TOP 1 Nombre FROM Clientes UNION ALL SELECT TOP 1 Apellido FROM Clientes WHERE Apellido Is Not Null",
         "'Ana'|'Pérez'"},
        {"SELECT Id FROM Clientes WHERE Id IN (SELECT TOP 1 Id FROM Clientes ORDER BY Alta)", "4"},
        {"SELECT Nombre FROM Clientes WHERE Nombre LIKE \"[a-m]*\" ORDER BY Id", "'Ana'|'Luis'|'Marta'"},
        {"SELECT Nombre FROM Clientes WHERE Nombre NOT LIKE '*a' AND Nombre LIKE 'ó*'", "'Óscar'"},
        {"SELECT Nombre FROM Clientes WHERE Activo = True ORDER BY Id", "'Ana'|'Marta'"},
        {"SELECT Nombre FROM Clientes WHERE Alta BETWEEN #1/1/2024# AND #12/31/2024# ORDER BY Alta", "'Ana'|'Marta'"},
        {"SELECT Count(*) FROM Clientes WHERE IsNull(Apellido)", "1"},
        {"SELECT IIf(Activo, 'sí', 'no') FROM Clientes ORDER BY Id", "'sí'|'no'|'sí'|'no'"},
        {"SELECT DateDiff('yyyy', Alta, #1/1/2025#) FROM Clientes ORDER BY Id", "1|2|1|3"},
        {"SELECT First(Nombre) & Last(Nombre) & VarP(Id) & Round(StDev(Id), 4) FROM Clientes",
         "'AnaÓscar1.251.291'"},
        {"SELECT Count(*) & '/' & StDev(Id) & '/' & First(Apellido) FROM Clientes WHERE Id = 2", "'1//'"},
        {"SELECT Format(Alta, 'dd/mm/yyyy') & ' ' & UCase(Left(Nombre, 3)) FROM Clientes WHERE Id Mod 2 = 0 ORDER BY Id",
         "'02/01/2023 LUI'|'04/07/2022 ÓSC'"},
    };
    for (const auto& [access, rows] : cases) EXPECT_EQ(RunAccess(db, access), rows) << access;
}

TEST_F(AccessSession, MakeTableDeleteAndAutonumber) {
    EXPECT_EQ(RunAccess(db, "SELECT Nombre, Alta INTO [Copia Activos] FROM Clientes WHERE Activo"), "");
    EXPECT_EQ(RunAccess(db, "SELECT Count(*) FROM [Copia Activos]"), "2");
    EXPECT_EQ(RunAccess(db, "DELETE * FROM [Copia Activos] WHERE Nombre = 'Ana'"), "");
    EXPECT_EQ(RunAccess(db, "SELECT Nombre FROM [Copia Activos]"), "'Marta'");
    // The autonumber never gives a deleted number again.
    EXPECT_EQ(RunAccess(db, "DELETE Clientes.* FROM Clientes WHERE Id = 4"), "");
    EXPECT_EQ(RunAccess(db, "INSERT INTO Clientes (Nombre) VALUES ('Pablo')"), "");
    EXPECT_EQ(RunAccess(db, "SELECT Max(Id) FROM Clientes"), "5");
    EXPECT_EQ(RunAccess(db, "SELECT sql FROM sqlite_master WHERE name = 'Clientes'"),
              "'CREATE TABLE Clientes (`Id` INTEGER PRIMARY KEY AUTOINCREMENT, Nombre TEXT(50), Apellido TEXT(50), "
              "Alta DATETIME, Activo YESNO)'");
}

TEST_F(AccessSession, TablesOfAnotherFile) {
    const std::string other = dir.file("otra base.db");
    {
        Engine file(other.c_str());
        ASSERT_EQ(file.Exec("CREATE TABLE Proveedores (Nombre TEXT); INSERT INTO Proveedores VALUES ('Zeta'), ('Alfa')"), "");
    }
    EXPECT_EQ(RunAccess(db, "SELECT p.Nombre FROM Proveedores IN '" + other + "' AS p ORDER BY p.Nombre"), "'Alfa'|'Zeta'");
    EXPECT_EQ(RunAccess(db, "INSERT INTO Proveedores IN \"" + other + "\" (Nombre) SELECT Nombre FROM Clientes WHERE Id = 1"), "");
    Engine file(other.c_str());
    EXPECT_EQ(file.Query("SELECT Nombre FROM Proveedores ORDER BY Nombre"), "'Alfa'|'Ana'|'Zeta'");
}

}  // namespace
