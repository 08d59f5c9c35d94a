// Opening connections: Access files with the fixed password, connections handed back
// prepared, and the messages of the failures the opening members recognise.
#include <gtest/gtest.h>

#include <algorithm>

#include "quimera/apoyo/EntornoQuimera.h"
#include "quimera/connections/aviso_conexion.h"

namespace {

using namespace quimera;

class AbrirBaseDatos : public pruebas::EntornoQuimera, public clsAccesoDatosEventos {
protected:
    AbrirBaseDatos() { acceso.ConectarEventos(*this); }
    void ErroresADO(ado::Errors& colErrores) override { numeros.push_back(colErrores.Item(0).Number()); }

    testsupport::EmbeddedDb db{ClaveBaseDatos, "datos.mdb"};
    clsAccesoDatos acceso;
    std::vector<int32_t> numeros;  // of the ErroresADO events
};

TEST_F(AbrirBaseDatos, PreparadasPorMotor) {
    struct Caso {
        TipoOrigenDatos numOrigen;
        const char *strProveedor, *strClave;
        ado::ObjectStateEnum numEstado;
    };
    const Caso casos[] = {
        {dnAccess, "Microsoft.Jet.OLEDB.4.0", ClaveBaseDatos, ado::adStateOpen},  // whatever user and password say
        {dnOracle, "MSDAORA", "", ado::adStateClosed},
        {dnODBC, "MSDASQL", "", ado::adStateClosed},
        {static_cast<TipoOrigenDatos>(12), "Microsoft.Jet.OLEDB.4.0", ClaveBaseDatos, ado::adStateClosed},
    };
    for (const Caso& c : casos) {
        // The server-first order: its database is the file.
        ado::ConnectionPtr cn =
            acceso.AbrirBaseDatosSQLServer("S", db.file(), "u", "p", c.numOrigen, ado::adUseServer, ado::adModeRead);
        ASSERT_TRUE(cn) << c.numOrigen;
        EXPECT_EQ(cn->State(), c.numEstado);
        EXPECT_EQ(cn->Provider(), c.strProveedor);
        EXPECT_EQ(cn->Properties().Item("Jet OLEDB:Database Password").Value().ToString(), c.strClave);
        EXPECT_EQ(std::make_pair(cn->Mode(), cn->CursorLocation()), std::make_pair(ado::adModeRead, ado::adUseServer));
    }
    EXPECT_TRUE(Dialogos().empty() && registro.informes.empty());
}

TEST_F(AbrirBaseDatos, FallosReconocidosYNoReconocidos) {
    ado::CreateDatabase(testsupport::JetConnectionString(db.dir().file("ajena.mdb"), "otra"));
    const std::tuple<std::function<ado::ConnectionPtr()>, int32_t, const char*> casos[] = {
        {[&] { return acceso.AbrirBaseDatos(db.dir().file("no.mdb")); }, ado::err::Fail,
         "Error de conexión | Error al establecer la conexión | Detectado en la clase: Quimera | 2"},
        {[&] { return acceso.AbrirBaseDatosDirecta("Provider=Ninguno;Data Source=x"); }, ado::err::ProviderNotFound,
         "Error | No se encuentra el proveedor OLEDB | Detectado en la clase: Quimera | 2"},
        // Not recognised: the forced data-error report, whatever MostrarMensajes says.
        {[&] { return acceso.AbrirBaseDatos(db.dir().file("ajena.mdb")); }, ado::err::InvalidPassword,
         "Error de acceso a datos | Error de acceso a datos en la clase: Quimera | "},
    };
    for (const auto& [abrir, numError, strDialogo] : casos) {
        const size_t antes = Dialogos().size();
        numeros.clear();
        EXPECT_FALSE(abrir()) << strDialogo;
        EXPECT_EQ(numeros, std::vector<int32_t>{numError});
        EXPECT_EQ(Dialogos().size(), antes + 1) << strDialogo;
        EXPECT_EQ(UltimoDialogo(antes).rfind(strDialogo, 0), 0u) << UltimoDialogo(antes);
    }
    EXPECT_EQ(Dialogos()[0].botones, (std::vector<ui::DialogoGrabado::Boton>{{"Aceptar", BotonAceptar}}));
    EXPECT_TRUE(registro.informes.empty());
}

TEST_F(AbrirBaseDatos, AvisosTraducidos) {
    const std::tuple<int32_t, const char*, const char*> casos[] = {
        {ado::err::Fail, "Connection error", "Could not establish the connection"},
        {ado::err::OdbcCallFailed, "Connection error", "Could not establish the connection"},
        {ado::err::ProviderNotFound, "Error", "The OLE DB provider cannot be found"},
    };
    for (const auto& [numError, strTitulo, strInstruccion] : casos) {
        using conexiones::AvisoConexion, conexiones::kAvisosConexion;
        const auto* aviso = std::ranges::find(kAvisosConexion, numError, &AvisoConexion::numError);
        ASSERT_NE(aviso, std::end(kAvisosConexion));
        conexiones::MostrarAvisoConexion(pruebas::Regional("en_US"), "Quimera", *aviso);
        EXPECT_EQ(UltimoDialogo(),
                  std::string(strTitulo) + " | " + strInstruccion + " | Detected in class: Quimera | 2");
    }
}

}  // namespace
