// Opening connections: Access files with the fixed password, connections handed back
// prepared, the messages of the failures the opening members recognise, and the silent
// second attempt of the server engines.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>

#include "ado/provider.h"
#include "quimera/apoyo/EntornoQuimera.h"
#include "quimera/connections/aviso_conexion.h"
#include "quimera/quimera.h"
#include "support/EmbeddedDb.h"

namespace {

using namespace quimera;

struct Avisos : clsAccesoDatosEventos {
    void ErroresADO(ado::Errors& colErrores) override { numeros.push_back(colErrores.Item(0).Number()); }
    std::vector<int32_t> numeros;
};

class AbrirBaseDatos : public pruebas::EntornoQuimera {
protected:
    AbrirBaseDatos() {
        acceso.ConectarEventos(avisos);
        ado::CreateDatabase(testsupport::JetConnectionString(archivo, ClaveBaseDatos));
    }

    // The dialog of a recognised failure, as the control received it.
    void EsperarAviso(const ui::DialogoGrabado& d, const std::string& strTitulo, const std::string& strInstruccion) {
        EXPECT_EQ(d.strTitulo, strTitulo);
        EXPECT_EQ(d.strInstruccion, strInstruccion);
        EXPECT_EQ(d.strContenido, "Detectado en la clase: Quimera");
        EXPECT_EQ(d.numIconoPrincipal, 2);  // the control's error icon
        EXPECT_EQ(d.botones, (std::vector<ui::DialogoGrabado::Boton>{{"Aceptar", BotonAceptar}}));
    }

    testsupport::TempDir carpeta;
    std::string archivo = carpeta.file("datos.mdb");
    clsAccesoDatos acceso;
    Avisos avisos;
};

TEST_F(AbrirBaseDatos, AccessConLaClaveFijaSeaCualSeaLaDelCliente) {
    struct Caso {
        ado::ConnectModeEnum numModo;
        ado::CursorLocationEnum numCursor;
    };
    for (const Caso c : {Caso{ado::adModeReadWrite, ado::adUseClient}, Caso{ado::adModeRead, ado::adUseServer}}) {
        ado::ConnectionPtr cn = acceso.AbrirBaseDatos(archivo, "otro", "otra", c.numModo, c.numCursor);
        ASSERT_TRUE(cn);
        EXPECT_EQ(cn->State(), ado::adStateOpen);
        EXPECT_EQ(cn->Provider(), "Microsoft.Jet.OLEDB.4.0");
        EXPECT_EQ(std::make_pair(cn->Mode(), cn->CursorLocation()), std::make_pair(c.numModo, c.numCursor));
    }
    // The same through the server-first order, whose database is the file.
    ado::ConnectionPtr cn = acceso.AbrirBaseDatosSQLServer("servidor", archivo, "u", "p", dnAccess);
    ASSERT_TRUE(cn);
    EXPECT_EQ(cn->State(), ado::adStateOpen);
    EXPECT_TRUE(Dialogos().empty());
    EXPECT_TRUE(registro.informes.empty());
}

TEST_F(AbrirBaseDatos, MotoresQueSeDevuelvenPreparadosSinAbrir) {
    struct Caso {
        TipoOrigenDatos numOrigen;
        const char* strProveedor;
        const char* strClave;
    };
    const Caso casos[] = {
        {dnOracle, "MSDAORA", ""},
        {dnODBC, "MSDASQL", ""},
        {static_cast<TipoOrigenDatos>(12), "Microsoft.Jet.OLEDB.4.0", ClaveBaseDatos},
        {static_cast<TipoOrigenDatos>(-1), "Microsoft.Jet.OLEDB.4.0", ClaveBaseDatos},
    };
    for (const Caso& c : casos) {
        ado::ConnectionPtr cn = acceso.AbrirBaseDatosSQLServer(archivo, "D", "u", "p", c.numOrigen, ado::adUseServer,
                                                               ado::adModeRead);
        ASSERT_TRUE(cn) << c.numOrigen;
        EXPECT_EQ(cn->State(), ado::adStateClosed);
        EXPECT_EQ(cn->Provider(), c.strProveedor);
        EXPECT_EQ(cn->Properties().Item("Jet OLEDB:Database Password").Value().ToString(), c.strClave);
        EXPECT_EQ(std::make_pair(cn->Mode(), cn->CursorLocation()), std::make_pair(ado::adModeRead, ado::adUseServer));
        EXPECT_EQ(cn->ConnectionTimeout(), 15);
    }
}

TEST_F(AbrirBaseDatos, FallosReconocidosYNoReconocidos) {
    ado::CreateDatabase(testsupport::JetConnectionString(carpeta.file("ajena.mdb"), "otra"));
    struct Caso {
        const char* strCaso;
        std::function<ado::ConnectionPtr()> abrir;
        int32_t numError;
        const char* strTitulo;  // of the one dialog shown
    };
    const Caso casos[] = {
        {"archivo que no existe", [&] { return acceso.AbrirBaseDatos(carpeta.file("no.mdb")); }, ado::err::Fail,
         "Error de conexión"},
        {"proveedor desconocido", [&] { return acceso.AbrirBaseDatosDirecta("Provider=Ninguno;Data Source=x"); },
         ado::err::ProviderNotFound, "Error"},
        {"cadena directa a un archivo que no existe",
         [&] { return acceso.AbrirBaseDatosDirecta(testsupport::JetConnectionString(carpeta.file("no.mdb"))); },
         ado::err::Fail, "Error de conexión"},
        // Not recognised: the forced data-error report, whatever MostrarMensajes says.
        {"otra contraseña", [&] { return acceso.AbrirBaseDatos(carpeta.file("ajena.mdb")); },
         ado::err::InvalidPassword, "Error de acceso a datos"},
    };
    for (const Caso& c : casos) {
        const size_t antes = Dialogos().size();
        avisos.numeros.clear();
        EXPECT_FALSE(c.abrir()) << c.strCaso;
        EXPECT_EQ(avisos.numeros, std::vector<int32_t>{c.numError}) << c.strCaso;
        ASSERT_EQ(Dialogos().size(), antes + 1) << c.strCaso;
        EXPECT_EQ(Dialogos().back().strTitulo, c.strTitulo) << c.strCaso;
    }
    EsperarAviso(Dialogos()[0], "Error de conexión", "Error al establecer la conexión");
    EsperarAviso(Dialogos()[1], "Error", "No se encuentra el proveedor OLEDB");
    EXPECT_TRUE(registro.informes.empty());
}

TEST_F(AbrirBaseDatos, AvisosTraducidos) {
    const std::tuple<int32_t, const char*, const char*> casos[] = {
        {ado::err::Fail, "Connection error", "Could not establish the connection"},
        {ado::err::OdbcCallFailed, "Connection error", "Could not establish the connection"},
        {ado::err::ProviderNotFound, "Error", "The OLE DB provider cannot be found"},
    };
    for (const auto& [numError, strTitulo, strInstruccion] : casos) {
        const auto* aviso = std::ranges::find(conexiones::kAvisosConexion, numError, &conexiones::AvisoConexion::numError);
        ASSERT_NE(aviso, std::end(conexiones::kAvisosConexion));
        conexiones::MostrarAvisoConexion(pruebas::Regional("en_US"), "Quimera", *aviso);
        EXPECT_EQ(Dialogos().back().strTitulo, strTitulo);
        EXPECT_EQ(Dialogos().back().strInstruccion, strInstruccion);
        EXPECT_EQ(Dialogos().back().strContenido, "Detected in class: Quimera");
    }
}

// Server engines reach a SQL Server driver that is not installed: every attempt fails as a
// missing provider, whether or not the library was built with its ODBC provider.
class AbrirServidor : public AbrirBaseDatos {
protected:
    AbrirServidor() { ::setenv("BREZAL_SQLSERVER_ODBC_DRIVER", "Controlador inexistente", 1); }
    ~AbrirServidor() override { ::unsetenv("BREZAL_SQLSERVER_ODBC_DRIVER"); }
};

TEST_F(AbrirServidor, SegundoIntentoSilencioso) {
    acceso.MostrarMensajes(true);  // not even then does the first failure show
    for (const TipoOrigenDatos numMotor : {dnSQLServer, dnMSDE, dnSQLServer2005, dnSQLServer2008Compact}) {
        const size_t antes = Dialogos().size();
        avisos.numeros.clear();
        EXPECT_FALSE(acceso.AbrirBaseDatos("D", "u", "p", ado::adModeReadWrite, ado::adUseClient, numMotor,
                                           "S @PROV:SQLNCLI10"));
        EXPECT_EQ(avisos.numeros, std::vector<int32_t>{ado::err::ProviderNotFound}) << numMotor;
        ASSERT_EQ(Dialogos().size(), antes + 1) << numMotor;
        EsperarAviso(Dialogos().back(), "Error", "No se encuentra el proveedor OLEDB");
    }
    EXPECT_TRUE(registro.informes.empty());
}

}  // namespace
