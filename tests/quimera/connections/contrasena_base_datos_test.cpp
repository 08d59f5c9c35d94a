// Database passwords through clsDatosAvanzado, on a connection AbrirBaseDatos opened: the
// file then opens with the new password only, and the connection is open again read/write.
#include <gtest/gtest.h>

#include "quimera/apoyo/EntornoQuimera.h"

namespace {

using namespace quimera;

class ContrasenaBaseDatos : public pruebas::EntornoQuimera {
protected:
    // The error number of opening the file with that password (0 when it opens), waiting a
    // second at most for a file another connection holds.
    int32_t AbrirCon(const std::string& strClave) {
        ado::ConnectionPtr otra = ado::Connection::Create();
        otra->ConnectionTimeout(1);
        return testsupport::ErrorNumberOf([&] { otra->Open(testsupport::JetConnectionString(db.file(), strClave)); });
    }

    testsupport::EmbeddedDb db;  // plain
    clsAccesoDatos acceso;
    ado::ConnectionPtr cn = acceso.AbrirBaseDatos(db.file());
    clsDatosAvanzado avanzado;
};

TEST_F(ContrasenaBaseDatos, EstablecerCambiarYQuitar) {
    const std::tuple<std::function<bool()>, const char*, const char*> pasos[] = {
        // what is done, the password that opens the file then, one that no longer does
        {[&] { return avanzado.EstablecerContraseñaBD(cn); }, ClaveBaseDatos, ""},
        {[&] { return avanzado.EstablecerContraseñaBD(cn, "nueva"); }, "nueva", ClaveBaseDatos},
        {[&] { return avanzado.QuitarContraseñaBD(cn, "no se consulta"); }, "", nullptr},
    };
    for (const auto& [hacer, strAbre, strNoAbre] : pasos) {
        ASSERT_TRUE(hacer()) << strAbre;
        EXPECT_EQ(std::make_pair(cn->State(), cn->Mode()), std::make_pair(ado::adStateOpen, ado::adModeReadWrite));
        EXPECT_EQ(AbrirCon(strAbre), 0);
        if (strNoAbre) {
            EXPECT_EQ(AbrirCon(strNoAbre), *strNoAbre ? ado::err::InvalidPassword : ado::err::PasswordMissing)
                << strNoAbre;
        }
    }
    // Failures go to the error manager: a closed connection, and an unset one.
    cn->Close();
    ado::ConnectionPtr nula;
    EXPECT_FALSE(avanzado.EstablecerContraseñaBD(cn, "otra") || avanzado.QuitarContraseñaBD(nula));
    EXPECT_EQ(Informados(), (std::vector<std::string>{"clsDatosAvanzado.EstablecerContraseñaBD 3704",
                                                      "clsDatosAvanzado.QuitarContraseñaBD 91"}));
    EXPECT_EQ(AbrirCon(""), 0);
}

// A connection whose own string carries the password: after each change it opens again, and
// the file opens with the new password only, whatever quotes and separators it holds.
TEST_F(ContrasenaBaseDatos, ConLaClaveEnLaCadenaDeConexion) {
    cn->Close();
    ado::ConnectionPtr propia = ado::Connection::Create();
    propia->Open(testsupport::JetConnectionString(db.file(), "cual\"quiera"));  // a plain file opens with any
    const char* const claves[] = {"a\"b;c'd", "Sec;reto'Q77", " con espacios ", "\"entre comillas\""};
    std::string anterior;
    for (const char* clave : claves) {
        ASSERT_TRUE(avanzado.EstablecerContraseñaBD(propia, clave)) << clave;
        EXPECT_EQ(std::make_pair(propia->State(), propia->Mode()), std::make_pair(ado::adStateOpen, ado::adModeReadWrite));
        propia->Close();
        EXPECT_EQ(AbrirCon(clave), 0) << clave;
        EXPECT_EQ(AbrirCon(""), ado::err::PasswordMissing) << clave;
        if (!anterior.empty()) {
            EXPECT_EQ(AbrirCon(anterior), ado::err::InvalidPassword) << clave;
        }
        propia->Open();
        anterior = clave;
    }
    ASSERT_TRUE(avanzado.QuitarContraseñaBD(propia));
    propia->Close();
    EXPECT_EQ(AbrirCon(""), 0);
    EXPECT_EQ(testsupport::FileBytes(db.file()).substr(0, 15), "SQLite format 3");
    EXPECT_TRUE(registro.informes.empty());
}

TEST_F(ContrasenaBaseDatos, OtroOrigenDejaLaConexionExclusiva) {
    avanzado.InicializarPropiedades(db.dir().path().string(), dnSQLServer);
    EXPECT_FALSE(avanzado.EstablecerContraseñaBD(cn, "nueva"));
    EXPECT_EQ(cn->Mode(), ado::adModeShareExclusive);
    EXPECT_EQ(AbrirCon(""), ado::err::LockedByUser);  // nobody else gets in meanwhile
    EXPECT_TRUE(registro.informes.empty());
}

}  // namespace
