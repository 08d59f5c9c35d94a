// The tool's demo, convertir and migrar commands, run as a user runs them: what each prints
// on success and on failure, in Spanish and in English, and its exit status.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/PlainFile.h"
#include "support/TempDir.h"
#include "tool/Herramienta.h"

namespace {

using testsupport::kIngles;
using testsupport::Quimera;
using testsupport::Quoted;

// The section headings the demo printed, one a line, then its exit status.
std::string Headings(const std::string& output) {
    std::istringstream lines(output);
    std::string line, headings;
    while (std::getline(lines, line))
        if (line.starts_with("== ") || line.starts_with("[")) headings += line + "\n";
    return headings;
}

TEST(HerramientaOrdenes, DemoEnUnaCarpetaQueSePuedeRepetir) {
    testsupport::TempDir dir;
    const std::string folder = dir.file("demo");
    const std::string expected =
        "== Base de datos de ejemplo ==\n== SQL de Access sobre el motor incrustado ==\n"
        "== Cursor de cliente: posiciones y marcadores ==\n== Propiedades dinámicas de los campos ==\n"
        "== Escritura: edición, conflicto entre dos usuarios y lote ==\n"
        "== Los objetos de la biblioteca: eventos, transacciones y el gestor de errores ==\n"
        "== SQL de Access convertido para SQL Server ==\n== El ciclo de edición de clsAccesoDatos ==\n"
        "== Conexiones: AbrirBaseDatos y compactación ==\n== Errores con su número y su descripción ==\n[0]\n";
    EXPECT_EQ(Headings(Quimera("demo " + Quoted(folder))), expected);
    EXPECT_EQ(Headings(Quimera("demo " + Quoted(folder))), expected);  // the same folder again
    EXPECT_TRUE(std::filesystem::exists(folder + "/comercial.db"));

    const std::string file = dir.file("un-archivo");
    std::filesystem::copy_file(folder + "/comercial.db", file);
    EXPECT_EQ(Quimera("demo " + Quoted(file)),
              "quimera: no se puede usar ni crear la carpeta de trabajo " + file + "\n[1]");
    EXPECT_EQ(Quimera("demo " + Quoted(file), "", "2>&1", kIngles),
              "quimera: the work folder " + file + " cannot be used or created\n[1]");
}

TEST(HerramientaOrdenes, ConvertirMuestraLaFormaSQLServer) {
    EXPECT_EQ(Quimera("convertir \"SELECT DISTINCTROW Nombre & ' ' & Apellidos FROM Clientes WHERE Activo = TRUE\""),
              "SELECT DISTINCT Nombre + ' ' + Apellidos FROM Clientes WHERE Activo = 1\n[0]");
    EXPECT_EQ(Quimera("convertir \"SELECT * FROM Pedidos WHERE ISNULL(FechaEnvio)\"", "", "2>&1", kIngles),
              "SELECT * FROM Pedidos WHERE FechaEnvio IS NULL\n[0]");
    EXPECT_EQ(Quimera("convertir"), "quimera: falta SQL\n[2]");
    EXPECT_EQ(Quimera("convertir", "", "2>&1", kIngles), "quimera: SQL is missing\n[2]");
}

TEST(HerramientaOrdenes, MigrarConvierteUnArchivoAntiguoUnaVez) {
    testsupport::TempDir dir;
    const std::string file = dir.file("antiguo.db");
    ASSERT_EQ(testsupport::WritePlainFile(file, "CREATE TABLE Viejo (Id INTEGER PRIMARY KEY, F DATETIME, N TEXT);"
                                                "INSERT INTO Viejo VALUES (1, '2024-03-15 10:30:00', 'a');"),
              "");
    const std::string copy = dir.file("antiguo-2.db");
    std::filesystem::copy_file(file, copy);

    EXPECT_EQ(Quimera("migrar " + Quoted(file)), "Convertido " + file + ": 1 tabla, 1 fila.\n[0]");
    EXPECT_EQ(Quimera("migrar " + Quoted(file)), file + " ya está en el formato actual.\n[0]");
    EXPECT_EQ(Quimera("migrar " + Quoted(copy), "", "2>&1", kIngles), "Converted " + copy + ": 1 table, 1 row.\n[0]");
    EXPECT_EQ(Quimera("sql " + Quoted(file) + " 'SELECT Year(F) AS A FROM Viejo' --formato csv"), "A\r\n2024\r\n[0]");

    const std::string missing = dir.file("no-existe.db");
    EXPECT_EQ(Quimera("migrar " + Quoted(missing)),
              "error -2147467259: No se encuentra el archivo de base de datos. '" + missing + "'\n[1]");
    EXPECT_EQ(Quimera("migrar " + Quoted(missing), "", "2>&1", kIngles),
              "error -2147467259: The database file cannot be found. '" + missing + "'\n[1]");
    EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
