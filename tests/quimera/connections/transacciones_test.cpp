// clsTransacciones on a real embedded database: the counter, commits and rollbacks seen from
// another connection, and the failures the error manager decides on.
#include <gtest/gtest.h>

#include <climits>
#include <fstream>

#include "quimera/apoyo/EntornoQuimera.h"
#include "quimera/frame/ErroresEjecucion.h"

namespace {

using namespace quimera;

class Transacciones : public pruebas::EntornoQuimera {
protected:
    Transacciones() { cn->Execute("CREATE TABLE Apuntes (Importe INTEGER)"); }

    void Apuntar() { cn->Execute("INSERT INTO Apuntes VALUES (10)"); }
    // Rows as another connection sees them in the file.
    int32_t FilasEnElArchivo() const {
        return db.Query(db.Connect(), "SELECT COUNT(*) FROM Apuntes")->Fields()[0].Value().ToInt32();
    }

    testsupport::EmbeddedDb db;
    ado::ConnectionPtr cn = db.Connect();
    clsTransacciones t;
};

TEST_F(Transacciones, ValidarYAnularSeVenEnElArchivo) {
    EXPECT_TRUE(t.IniciarTransaccion(cn));
    Apuntar();
    EXPECT_TRUE(t.IniciarTransaccion(cn));
    Apuntar();
    EXPECT_EQ(t.Cuenta(), 2);
    EXPECT_TRUE(t.AnularTransaccion(cn));  // the inner level only
    EXPECT_EQ(t.Cuenta(), 1);
    EXPECT_EQ(FilasEnElArchivo(), 0);
    EXPECT_TRUE(t.ValidarTransaccion(cn));
    EXPECT_EQ(t.Cuenta(), 0);
    EXPECT_EQ(FilasEnElArchivo(), 1);
    // With the count at zero, the connection's own transaction ends.
    for (const bool blnValidar : {true, false}) {
        cn->BeginTrans();  // started by someone else
        Apuntar();
        EXPECT_TRUE(blnValidar ? t.ValidarTransaccion(cn) : t.AnularTransaccion(cn));
        EXPECT_EQ(t.Cuenta(), 0);
    }
    EXPECT_EQ(FilasEnElArchivo(), 2);
    EXPECT_TRUE(registro.informes.empty());
}

TEST_F(Transacciones, FallosYDecisiones) {
    ado::ConnectionPtr cerrada = ado::Connection::Create(), nula;
    EXPECT_FALSE(t.IniciarTransaccion(cerrada));  // abandoned: nothing moves
    EXPECT_FALSE(t.IniciarTransaccion(nula));
    EXPECT_EQ(t.Cuenta(), 0);

    // Run again after the connection was opened: the step works the second time.
    registro.decisiones = {centinela::DecisionReintentar};
    registro.alInformar = [&] { cerrada->Open(testsupport::JetConnectionString(db.file())); };
    EXPECT_TRUE(t.IniciarTransaccion(cerrada));
    EXPECT_EQ(t.Cuenta(), 1);
    registro.alInformar = nullptr;

    // Go on past a failed commit: the count still goes down.
    registro.decisiones = {centinela::DecisionContinuar};
    EXPECT_TRUE(t.ValidarTransaccion(nula));
    EXPECT_EQ(t.Cuenta(), 0);
    EXPECT_FALSE(t.AnularTransaccion(nula));
    EXPECT_EQ(Informados(), (std::vector<std::string>{
                                "clsTransacciones.IniciarTransaccion 3704", "clsTransacciones.IniciarTransaccion 91",
                                "clsTransacciones.IniciarTransaccion 3704", "clsTransacciones.ValidarTransaccion 91",
                                "clsTransacciones.AnularTransaccion 91"}));
    EXPECT_EQ(registro.informes[0].numIdioma, 100);
}

TEST_F(Transacciones, SinCarpetaDeRegistroElMetodoTermina) {
    centinela::InstalarFabricaGestorErrores({});  // the default manager, with its log file
    std::ofstream(db.dir().path() / "archivo") << "x";
    clsTransacciones sinRegistro;
    sinRegistro.InicializarPropiedades((db.dir().path() / "archivo" / "carpeta").string());
    ado::ConnectionPtr nula;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(sinRegistro.IniciarTransaccion(nula));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("\tclsTransacciones\tIniciarTransaccion\t91\t"),
              std::string::npos);
}

TEST(Sumar, UnaSumaFueraDelRangoEsUnFallo) {
    const std::tuple<int32_t, int32_t, std::optional<int32_t>> casos[] = {
        {INT_MAX - 1, 1, INT_MAX}, {INT_MAX, 1, std::nullopt}, {INT_MIN, -1, std::nullopt}, {-5, 3, -2}};
    for (const auto& [a, b, suma] : casos) {
        if (suma)
            EXPECT_EQ(frame::Sumar(a, b), *suma);
        else
            EXPECT_EQ(testsupport::ErrorNumberOf([a = a, b = b] { frame::Sumar(a, b); }), frame::ErrorDesbordamiento);
    }
}

}  // namespace
