// The tool's recordset file commands, run as a user runs them: exportar a file, ver it with a
// pending change made on it, importar its change, and its rows into a new table.
#include <gtest/gtest.h>

#include "support/EmbeddedDb.h"
#include "tool/Herramienta.h"

namespace {

using testsupport::Quimera;
using testsupport::Quoted;

TEST(HerramientaArchivos, ExportarVerEImportar) {
    testsupport::EmbeddedDb db;
    auto cn = db.Connect();
    cn->Execute("CREATE TABLE Art (Id LONG PRIMARY KEY, Nombre TEXT(20), Precio CURRENCY)");
    cn->Execute("INSERT INTO Art VALUES (1, 'Ana, \"la\"', 12.5)");
    cn->Execute("INSERT INTO Art VALUES (2, 'Begoña', NULL)");
    const std::string base = Quoted(db.file());
    const std::string xml = db.dir().file("art.xml");
    EXPECT_EQ(Quimera("exportar " + base + " \"SELECT * FROM Art ORDER BY Id\" " + Quoted(xml)),
              "2 registros guardados en " + xml + " (xml)\n[0]");
    EXPECT_EQ(Quimera("exportar " + base + " \"SELECT * FROM Art\" " + Quoted(xml)),
              "error 58: El archivo ya existe. ('" + xml + "')\n[1]");
    EXPECT_EQ(Quimera("exportar " + base + " \"SELECT * FROM Art\" " + Quoted(xml), "", "2>&1", testsupport::kIngles),
              "error 58: The file already exists. ('" + xml + "')\n[1]");
    const std::string csv = db.dir().file("art.txt");
    EXPECT_EQ(Quimera("exportar " + base + " \"SELECT * FROM Art ORDER BY Id\" " + Quoted(csv) + " --formato csv"),
              "2 registros guardados en " + csv + " (csv)\n[0]");
    EXPECT_EQ(testsupport::FileBytes(csv), "Id,Nombre,Precio\r\n1,\"Ana, \"\"la\"\"\",12.5\r\n2,Begoña,\r\n");

    // A change made on the file, not sent.
    auto rs = ado::Recordset::Create();
    rs->Open(xml, nullptr);
    rs->MoveLast();
    rs->Fields()["Precio"].Value(ado::Currency::FromUnits(3));
    rs->Update();
    rs->Save();
    EXPECT_EQ(Quimera("ver " + Quoted(xml)),
              xml + ": 2 registros, 3 campos\n\n"
                    "  Id: Integer(4) [clave, admite nulos, escribible, Art.Id]\n"
                    "  Nombre: VarWChar(20) [admite nulos, escribible, Art.Nombre]\n"
                    "  Precio: Currency(8) [admite nulos, escribible, Art.Precio]\n\n"
                    "Id | Nombre    | Precio\n"
                    "---+-----------+-------\n"
                    " 1 | Ana, \"la\" |   12.5\n"
                    " 2 | Begoña    |      3\n"
                    "(2 filas)\n\n"
                    "Cambios pendientes:\n"
                    "  modificado: Precio: Null -> 3\n[0]");
    EXPECT_EQ(Quimera("importar " + base + " " + Quoted(xml)), "1 cambio pendiente enviado a " + db.file() + "\n[0]");
    EXPECT_EQ(db.Scalar("SELECT Precio FROM Art WHERE Id = 2"), ado::Variant(ado::Currency::FromUnits(3)));
    EXPECT_EQ(Quimera("importar " + base + " " + Quoted(xml) + " --tabla Copia"),
              "2 registros añadidos a Copia (tabla creada)\n[0]");
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM Copia WHERE Precio = 3 OR Nombre = 'Ana, \"la\"'"), ado::Variant(2));
}

}  // namespace
