// Database passwords through clsDatosAvanzado: set, changed and removed on a connection that
// AbrirBaseDatos opened; the file then opens with the new password only.
#include <gtest/gtest.h>

#include "quimera/apoyo/EntornoQuimera.h"
#include "quimera/quimera.h"
#include "support/EmbeddedDb.h"

namespace {

using namespace quimera;
using testsupport::ErrorNumberOf;

class ContrasenaBaseDatos : public pruebas::EntornoQuimera {
protected:
    ContrasenaBaseDatos() {
        ado::CreateDatabase(testsupport::JetConnectionString(archivo));  // plain
        cn = acceso.AbrirBaseDatos(archivo);
        cn->Execute("CREATE TABLE Notas (Texto TEXT)");
        cn->Execute("INSERT INTO Notas VALUES ('nota')");
    }

    // The error number of opening the file with that password (0 when it opens), waiting a
    // second at most for a file another connection holds.
    int32_t AbrirCon(const std::string& strClave) {
        ado::ConnectionPtr otra = ado::Connection::Create();
        otra->ConnectionTimeout(1);
        return ErrorNumberOf([&] { otra->Open(testsupport::JetConnectionString(archivo, strClave)); });
    }

    testsupport::TempDir carpeta;
    std::string archivo = carpeta.file("datos.mdb");
    clsAccesoDatos acceso;
    ado::ConnectionPtr cn;
    clsDatosAvanzado avanzado;
};

TEST_F(ContrasenaBaseDatos, EstablecerCambiarYQuitar) {
    struct Paso {
        const char* strPaso;
        std::function<bool()> accion;
        const char* strAbre;      // the password that opens the file afterwards
        const char* strNoAbre;    // one that no longer does ("" for none)
    };
    const Paso pasos[] = {
        {"la clave fija, por omisión", [&] { return avanzado.EstablecerContraseñaBD(cn); }, ClaveBaseDatos, ""},
        {"otra clave", [&] { return avanzado.EstablecerContraseñaBD(cn, "nueva"); }, "nueva", ClaveBaseDatos},
        {"sin clave", [&] { return avanzado.QuitarContraseñaBD(cn, "no se consulta"); }, "", nullptr},
    };
    for (const Paso& p : pasos) {
        ASSERT_TRUE(p.accion()) << p.strPaso;
        // The connection is open again, for reading and writing, and works.
        EXPECT_EQ(cn->State(), ado::adStateOpen) << p.strPaso;
        EXPECT_EQ(cn->Mode(), ado::adModeReadWrite) << p.strPaso;
        EXPECT_EQ(cn->Execute("SELECT COUNT(*) FROM Notas")->Fields()[0].Value().ToInt32(), 1) << p.strPaso;
        EXPECT_EQ(AbrirCon(p.strAbre), 0) << p.strPaso;
        if (p.strNoAbre) {
            EXPECT_EQ(AbrirCon(p.strNoAbre), ado::err::InvalidPassword) << p.strPaso;
        }
    }
    EXPECT_TRUE(registro.informes.empty());
}

TEST_F(ContrasenaBaseDatos, OtroOrigenDejaLaConexionExclusiva) {
    avanzado.InicializarPropiedades(carpeta.path().string(), dnSQLServer);
    EXPECT_FALSE(avanzado.EstablecerContraseñaBD(cn, "nueva"));
    EXPECT_EQ(cn->State(), ado::adStateOpen);
    EXPECT_EQ(cn->Mode(), ado::adModeShareExclusive);
    EXPECT_EQ(AbrirCon(""), ado::err::LockedByUser);  // nobody else gets in meanwhile
    cn->Close();
    EXPECT_EQ(AbrirCon(""), 0);  // and the file is as it was
    EXPECT_TRUE(registro.informes.empty());
}

TEST_F(ContrasenaBaseDatos, ConexionCerradaONulaVanAlGestorDeErrores) {
    ado::ConnectionPtr nula;
    cn->Close();
    EXPECT_FALSE(avanzado.EstablecerContraseñaBD(cn, "nueva"));
    EXPECT_FALSE(avanzado.QuitarContraseñaBD(nula));
    ASSERT_EQ(registro.informes.size(), 2u);
    EXPECT_EQ(registro.informes[0].strMetodo, "EstablecerContraseñaBD");
    EXPECT_EQ(registro.informes[0].numError, ado::err::ObjectClosed);
    EXPECT_EQ(registro.informes[1].strMetodo, "QuitarContraseñaBD");
    EXPECT_EQ(registro.informes[1].numError, 91);
    EXPECT_EQ(AbrirCon(""), 0);
}

}  // namespace
