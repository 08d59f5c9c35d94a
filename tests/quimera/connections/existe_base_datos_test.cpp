// ExisteBaseDatosSQLServer against the PostgreSQL server of the test script, reached as an
// ODBC data source (engine dnODBC: the server name is the data source's name), whose
// "master" database answers through a sysdatabases view. Names that try to leave their
// literal are only names.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "quimera/apoyo/EntornoQuimera.h"
#include "support/PgServer.h"
#include "support/TempDir.h"

namespace {

using namespace quimera;

// The value of a key of the server's ODBC string ("Port=5432;" gives "5432").
std::string Valor(const std::string& cadena, const std::string& clave) {
    const size_t i = cadena.find(clave + "=");
    if (i == std::string::npos) return {};
    const size_t desde = i + clave.size() + 1;
    return cadena.substr(desde, cadena.find(';', desde) - desde);
}

ado::ConnectionPtr Abrir(const std::string& cadena) {
    auto cn = ado::Connection::Create();
    cn->Open(cadena);
    return cn;
}

// Runs sql and ignores a failure (the object may already be there from an earlier run).
void Intentar(const ado::ConnectionPtr& cn, const std::string& sql) {
    try {
        cn->Execute(sql);
    } catch (const ado::Error&) {
    }
}

class ExisteBaseDatos : public pruebas::EntornoQuimera {
protected:
    clsAccesoDatos acceso;
    testsupport::TempDir carpeta;
};

TEST_F(ExisteBaseDatos, ElNombreEsSoloUnNombre) {
    BREZAL_NEEDS_PG();
    const std::string base = testsupport::PgBase();
    const std::string raiz = base.substr(0, base.find("Database="));
    Intentar(Abrir(base), "CREATE DATABASE master");
    Intentar(Abrir(base), "CREATE DATABASE \"O'Brien\"");
    const ado::ConnectionPtr master = Abrir(raiz + "Database=master;Uid=brezal;Pwd=;");
    master->Execute("CREATE OR REPLACE VIEW sysdatabases AS SELECT datname::text AS name FROM pg_database");
    master->Execute("DROP TABLE IF EXISTS inyectada");

    // The server as a data source of a private list of sources.
    const std::string fuentes = carpeta.file("odbc.ini");
    std::ofstream(fuentes) << "[servidor_pruebas]\nDriver=PostgreSQL Unicode\nServername=127.0.0.1\nPort="
                           << Valor(base, "Port") << "\n";
    ::setenv("ODBCINI", fuentes.c_str(), 1);

    const std::pair<std::string, bool> casos[] = {
        {"brezal_test", true},
        {"O'Brien", true},
        {"O'Brien' OR '1'='1", false},
        {"nada' OR '1'='1", false},
        {"x'; CREATE TABLE inyectada (a int); --", false},
        {"nada\\' OR 1=1 --", false},
        {"nada", false},
    };
    for (const auto& [nombre, existe] : casos)
        EXPECT_EQ(acceso.ExisteBaseDatosSQLServer("servidor_pruebas", nombre, "brezal", "", dnODBC), existe) << nombre;
    ::unsetenv("ODBCINI");
    EXPECT_TRUE(Informados().empty()) << Informados().front();
    EXPECT_EQ(testsupport::Scalar(master, "SELECT COUNT(*) FROM pg_tables WHERE tablename = 'inyectada'").ToString(),
              "0");
}

}  // namespace
