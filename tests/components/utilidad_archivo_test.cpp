// The default file utility on real files in a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "quimera/components/utilidades.h"
#include "support/TempDir.h"

namespace {

using namespace utilidades;

TEST(UtilidadArchivo, ExisteYBorrarSobreArchivosYCarpetasReales) {
    testsupport::TempDir tmp;
    const std::string archivo = tmp.file("datos.adtg");
    const std::string carpeta = tmp.file("vacia");
    std::ofstream(archivo) << "x";
    std::filesystem::create_directory(carpeta);
    const auto utilidad = CrearUtilidadArchivoPredeterminada();

    EXPECT_TRUE(utilidad->Existe(archivo, false));
    EXPECT_FALSE(utilidad->Existe(carpeta, false));
    EXPECT_TRUE(utilidad->Existe(carpeta, true));
    EXPECT_FALSE(utilidad->Existe(tmp.file("falta.xml"), true));

    EXPECT_TRUE(utilidad->Borrar(archivo, true));
    EXPECT_FALSE(std::filesystem::exists(archivo));
    EXPECT_FALSE(utilidad->Existe(archivo, false));
    EXPECT_FALSE(utilidad->Borrar(archivo, true));  // already gone

    EXPECT_FALSE(utilidad->Borrar(carpeta, true));
    EXPECT_TRUE(std::filesystem::exists(carpeta));
    EXPECT_TRUE(utilidad->Borrar(carpeta, false));
    EXPECT_FALSE(std::filesystem::exists(carpeta));
}

TEST(UtilidadArchivo, ReemplazarPoneElArchivoNuevoEnElSitioDelAntiguo) {
    testsupport::TempDir tmp;
    const std::string antiguo = tmp.file("datos.xml");
    const std::string nuevo = tmp.file("datos.xml.nuevo");
    std::ofstream(antiguo) << "antiguo";
    std::ofstream(nuevo) << "nuevo";
    const auto utilidad = CrearUtilidadArchivoPredeterminada();
    EXPECT_TRUE(utilidad->Reemplazar(nuevo, antiguo));
    EXPECT_EQ(testsupport::FileBytes(antiguo), "nuevo");
    EXPECT_FALSE(std::filesystem::exists(nuevo));
    EXPECT_FALSE(utilidad->Reemplazar(nuevo, antiguo)) << "nothing left to put there";
    EXPECT_EQ(testsupport::FileBytes(antiguo), "nuevo");
    std::ofstream(nuevo) << "otro";
    std::filesystem::permissions(antiguo, std::filesystem::perms::owner_read);
    EXPECT_FALSE(utilidad->Reemplazar(nuevo, antiguo)) << "a read-only file is not replaced";
    EXPECT_EQ(testsupport::FileBytes(antiguo), "nuevo");
    EXPECT_TRUE(std::filesystem::exists(nuevo));
}

}  // namespace
