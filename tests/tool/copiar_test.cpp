// quimera copiar, run as a user runs it: a table copied to another file (made there when
// missing) value by value, a query's rows added, and a copy that fails leaving nothing.
#include <gtest/gtest.h>

#include "support/EmbeddedDb.h"
#include "tool/Herramienta.h"

namespace {

using testsupport::Quimera;
using testsupport::Quoted;

// Every row of Art as text, fields separated by '|'.
std::string Filas(const ado::ConnectionPtr& cn) {
    auto rs = cn->Execute("SELECT * FROM Art ORDER BY Id");
    std::string texto;
    for (; !rs->adoEOF(); rs->MoveNext()) {
        for (ado::Field& f : rs->Fields()) texto += (f.Value().IsNull() ? "<nulo>" : f.Value().ToString()) + "|";
        texto += "\n";
    }
    return texto;
}

// The summary without its time and rate, which change from run to run.
std::string SinTiempo(std::string salida) {
    const size_t en = salida.find(" en ");
    const size_t fin = salida.find(')', en);
    if (en != std::string::npos && fin != std::string::npos) salida.erase(en, fin + 1 - en);
    return salida;
}

TEST(HerramientaCopiar, CopiaUnaTablaYLasFilasDeUnaConsulta) {
    testsupport::EmbeddedDb origen;
    testsupport::EmbeddedDb destino("", "destino.db");
    auto cn = origen.Connect();
    cn->Execute("CREATE TABLE Art (Id LONG PRIMARY KEY, Nombre TEXT(20), Precio CURRENCY, Alta DATETIME)");
    cn->Execute("INSERT INTO Art VALUES (1, 'Begoña', 12.5, #2024-02-29 13:45:00#)");
    cn->Execute("INSERT INTO Art VALUES (2, NULL, -0.0001, NULL)");
    cn->Execute("INSERT INTO Art VALUES (3, 'O''Neil', 922337203685477.5807, #1899-12-30#)");
    const std::string de = Quoted(origen.file()), a = Quoted(destino.file());

    EXPECT_EQ(SinTiempo(Quimera("copiar " + de + " " + a + " --tabla Art")),
              "3 filas copiadas a Art (tabla creada)\n[0]");
    auto otro = destino.Connect();
    EXPECT_EQ(Filas(otro), Filas(cn));
    // A query's rows added to the same table; keys that repeat fail the whole copy.
    const std::string fallida = Quimera("copiar " + de + " " + a + " --tabla Art --sql \"SELECT * FROM Art WHERE Id > 1\"");
    EXPECT_TRUE(fallida.ends_with("[1]")) << fallida;
    EXPECT_EQ(Filas(otro), Filas(cn)) << "nothing of a failed copy stays";
    EXPECT_EQ(SinTiempo(Quimera("copiar " + de + " " + a +
                                " --tabla Art --sql \"SELECT Id + 10 AS Id, Nombre, Precio, Alta FROM Art\"")),
              "3 filas copiadas a Art\n[0]");
    EXPECT_EQ(testsupport::Scalar(otro, "SELECT COUNT(*) FROM Art WHERE Id > 10"), ado::Variant(3));
    EXPECT_NE(Quimera("copiar " + de + " " + a).find("--tabla"), std::string::npos) << "the table is required";
}

}  // namespace
