// The server connection strings, letter for letter, and the string of the second attempt.
#include <gtest/gtest.h>

#include "ado/connection_string.h"
#include "quimera/connections/cadena_conexion.h"

namespace {

using namespace quimera;

TEST(CadenaConexion, SegmentosPorMotorYMarcas) {
    struct Caso {
        TipoOrigenDatos numMotor;
        const char* strServidor;
        bool blnAplicacion;
        const char* strEsperada;
    };
    const Caso casos[] = {
        {dnSQLServer2008, "S @PROV:SQLNCLI10 @NWL:DBMSSOCN", true,
         "Provider=SQLNCLI10; Network Library=DBMSSOCN; Initial Catalog=D; Data Source=S; User ID=u; Password=p;"
         "Application Name=Almena;"},
        {dnSQLServer2005Express, "S", true,
         "Provider=SQLNCLI; Initial Catalog=D; Data Source=S; User ID=u; Password=p;Application Name=Almena;"},
        // The longer marker is looked for first; a marker found is removed wherever it occurs.
        {dnSQLServer2008, "S @PROV:SQLNCLI10.1", true,
         "Provider=SQLNCLI10.1; Initial Catalog=D; Data Source=S; User ID=u; Password=p;Application Name=Almena;"},
        {dnSQLServer2005, "S @PROV:SQLNCLI11\\I @PROV:SQLNCLI11", true,
         "Provider=SQLNCLI11; Initial Catalog=D; Data Source=S\\I; User ID=u; Password=p;Application Name=Almena;"},
        {dnSQLServer2008Compact, "S @PROV:SQLNCLI.1 @NWL:DBMSSOCN @NWL:DBMSSOCN", true,
         "Provider=SQLNCLI.1; Network Library=DBMSSOCN; Initial Catalog=D; Data Source=S; User ID=u; Password=p;"
         "Application Name=Almena;"},
        // Only the first marker in the order counts; the others stay in the server name.
        {dnSQLServer2008Express, "S @PROV:SQLNCLI11 @PROV:SQLNCLI10", true,
         "Provider=SQLNCLI10; Initial Catalog=D; Data Source=S @PROV:SQLNCLI11; User ID=u; Password=p;"
         "Application Name=Almena;"},
        // Markers are case-sensitive.
        {dnSQLServer2005, "S @prov:SQLNCLI11 @nwl:DBMSSOCN", true,
         "Provider=SQLNCLI; Initial Catalog=D; Data Source=S @prov:SQLNCLI11 @nwl:DBMSSOCN; User ID=u; Password=p;"
         "Application Name=Almena;"},
        // SQLOLEDB engines keep provider markers in the name, not the network one.
        {dnSQLServer, "S @PROV:SQLNCLI11", true,
         "Provider=SQLOLEDB; Initial Catalog=D; Data Source=S @PROV:SQLNCLI11; User ID=u; Password=p;"
         "Application Name=Almena;"},
        {dnMSDE, "S @NWL:DBMSSOCN", true,
         "Provider=SQLOLEDB; Network Library=DBMSSOCN; Initial Catalog=D; Data Source=S; User ID=u; Password=p;"
         "Application Name=Almena;"},
        // As ExisteBaseDatosSQLServer builds it: no application name, no provider for other engines.
        {dnSQLServer2008, "S @PROV:SQLNCLI10.1", false,
         "Provider=SQLNCLI10.1; Initial Catalog=D; Data Source=S; User ID=u; Password=p;"},
        {dnAccess, "S @PROV:SQLNCLI10 @NWL:DBMSSOCN", false,
         "Network Library=DBMSSOCN; Initial Catalog=D; Data Source=S @PROV:SQLNCLI10; User ID=u; Password=p;"},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(conexiones::CadenaConexionServidor(c.numMotor, "D", c.strServidor, "u", "p", c.blnAplicacion),
                  c.strEsperada)
            << c.numMotor << " " << c.strServidor;
}

// Values that would end early or lose their spaces are quoted, and read back whole.
TEST(CadenaConexion, ValoresConSeparadoresYComillas) {
    const std::string clave = "p\"a;b'c", usuario = " u;x", ruta = "/d/pun;to=co'ma \"x\".mdb";
    const ado::ConnectionString servidor = ado::ConnectionString::Parse(
        conexiones::CadenaConexionServidor(dnSQLServer, "D;1", "S", usuario, clave, true));
    EXPECT_EQ(servidor.Get("Password"), clave);
    EXPECT_EQ(servidor.Get("User ID"), usuario);
    EXPECT_EQ(servidor.Get("Initial Catalog"), "D;1");
    EXPECT_EQ(servidor.Get("Application Name"), "Almena");
    const ado::ConnectionString archivo = ado::ConnectionString::Parse(conexiones::CadenaCompactacion(ruta));
    EXPECT_EQ(archivo.Get("Data Source"), ruta);
    EXPECT_EQ(archivo.Get("Jet OLEDB:Database Password"), ClaveBaseDatos);
}

TEST(CadenaConexion, SegundoIntento) {
    const std::pair<const char*, const char*> casos[] = {
        {"Provider=SQLNCLI; Initial Catalog=D;", "Provider=SQLNCLI10; Initial Catalog=D;"},
        {"Provider=SQLNCLI10; Initial Catalog=D;", "Provider=SQLNCLI10; Initial Catalog=D;"},
        {"Provider=SQLNCLI.1; Initial Catalog=D;", "Provider=SQLNCLI.1; Initial Catalog=D;"},
        {"Provider=SQLOLEDB; Initial Catalog=D;", "Provider=SQLOLEDB; Initial Catalog=D;"},
        // Every occurrence in the text, wherever it is.
        {"Provider=SQLNCLI; Password=xSQLNCLI;", "Provider=SQLNCLI10; Password=xSQLNCLI10;"},
    };
    for (const auto& [strCadena, strEsperada] : casos)
        EXPECT_EQ(conexiones::CadenaSegundoIntento(strCadena), strEsperada);
}

}  // namespace
