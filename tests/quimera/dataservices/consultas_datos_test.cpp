// Lookups and aggregates of clsDatosAvanzado on a real file: the statements, the first record
// only, the results without rows and after failures, and the Null replacements.
#include <gtest/gtest.h>

#include "quimera/dataservices/Almacen.h"

namespace {

using namespace pruebas;
using ado::Variant;

class ConsultasDatos : public EntornoQuimera {
protected:
    Almacen a;
};

TEST_F(ConsultasDatos, ObtenerDatoLeeElPrimerRegistroQueCumpleONulo) {
    EXPECT_EQ(a.datos.ObtenerDato("Clientes", "Nombre", a.cn, "Id = 5"), Variant("Eva"));
    EXPECT_EQ(a.datos.ObtenerDato("Clientes", "Nombre", a.cn), Variant("Ana")) << "no criterion: the first record";
    EXPECT_TRUE(a.datos.ObtenerDato("Clientes", "Nombre", a.cn, "Id = 3").IsNull()) << "no record";
    EXPECT_TRUE(a.datos.ObtenerDato("Clientes", "Saldo", a.cn, "Id = 2").IsNull()) << "a Null value";
    EXPECT_EQ(a.datos.ObtenerDato("Clientes", "Saldo", a.cn, "Nombre = 'Ana'"), Variant(ado::Currency{105000}));
    EXPECT_EQ(a.datos.ObtenerDato("Clientes", "Alta", a.cn, "Id = 1"), Variant(ado::MakeDate(2003, 5, 17)));
    // The criterion is the caller's whole condition, with its own delimiters.
    EXPECT_EQ(a.datos.ObtenerDato("Clientes", "Id", a.cn, "Alta > #2005-01-01# AND Ciudad IS NULL"), Variant(5));
    EXPECT_TRUE(Informados().empty());
    EXPECT_TRUE(Dialogos().empty());
}

TEST_F(ConsultasDatos, UnCursorQueNoSeAbreLoInformaElYElMiembroDevuelveSuValorDeFallo) {
    EXPECT_TRUE(a.datos.ObtenerDato("NoHay", "Nombre", a.cn).IsNull());
    EXPECT_FALSE(a.datos.ExisteRegistro("NoHay", a.cn, ""));
    EXPECT_FALSE(a.datos.ActualizarDato("NoHay", "Nombre", a.cn, "", Variant("x")));
    EXPECT_FALSE(a.datos.ReemplazarDato("NoHay", "Nombre", a.cn, "", Variant("x")));
    EXPECT_EQ(a.datos.ObtenerRegistro("NoHay", a.cn, ""), nullptr);
    EXPECT_TRUE(a.datos.ObtenerMaximo("NoHay", "Id", a.cn).IsNull());
    EXPECT_EQ(a.datos.ObtenerNumeroRegistros("NoHay", "*", a.cn), 0);
    // Each cursor member's data-error report, none of the members' own failures.
    EXPECT_TRUE(Informados().empty());
    EXPECT_EQ(Dialogos().size(), 7u);
    EXPECT_TRUE(a.cn->Errors().Count() == 0);
}

TEST_F(ConsultasDatos, UnCampoQueElCursorNoTieneVaAlGestorDeErrores) {
    // The field text stands in the select list, and is read back under that same name.
    EXPECT_TRUE(a.datos.ObtenerDato("Clientes", "Nombre AS N", a.cn, "Id = 1").IsNull());
    EXPECT_EQ(Informados(), std::vector<std::string>{"clsDatosAvanzado.ObtenerDato 3265"});
    EXPECT_EQ(registro.informes[0].strProyecto, "Quimera");
}

TEST_F(ConsultasDatos, ObtenerRegistroDevuelveElCursorConSuSentenciaYSuClase) {
    Rs estatico = a.datos.ObtenerRegistro("Clientes", a.cn, "Id = 5");
    ASSERT_NE(estatico, nullptr);
    EXPECT_EQ(estatico->Source(), "SELECT * FROM Clientes WHERE Id = 5") << "one blank each side of WHERE, no more";
    EXPECT_EQ(std::make_tuple(estatico->CursorType(), estatico->CursorLocation(), estatico->RecordCount()),
              std::make_tuple(ado::adOpenStatic, ado::adUseClient, 1));
    Rs todos = a.datos.ObtenerRegistro("Clientes", a.cn, "");
    EXPECT_EQ(todos->Source(), "SELECT * FROM Clientes");
    EXPECT_EQ(todos->RecordCount(), 3);

    // By engine on Access: keyset requested client-side, which a client cursor serves as static.
    Rs keyset = a.datos.ObtenerRegistro("Clientes", a.cn, "Id = 1", false);
    EXPECT_EQ(std::make_tuple(keyset->CursorType(), keyset->CursorLocation(), keyset->LockType()),
              std::make_tuple(ado::adOpenStatic, ado::adUseClient, ado::adLockPessimistic));

    quimera::clsDatosAvanzado oracle;
    oracle.InicializarPropiedades(a.db.dir().path().string(), quimera::dnOracle);
    Rs dinamico = oracle.ObtenerRegistro("Clientes", a.cn, "Id = 1", false);
    ASSERT_NE(dinamico, nullptr);
    EXPECT_EQ(std::make_tuple(dinamico->CursorLocation(), dinamico->LockType()),
              std::make_tuple(ado::adUseServer, ado::adLockPessimistic));
    EXPECT_EQ(dinamico->Fields()["Nombre"].Value(), Variant("Ana"));
}

TEST_F(ConsultasDatos, ExisteRegistroSoloCuandoAlgunoCumple) {
    EXPECT_TRUE(a.datos.ExisteRegistro("Clientes", a.cn, "Ciudad = 'ávila'")) << "texts compare without case";
    EXPECT_FALSE(a.datos.ExisteRegistro("Clientes", a.cn, "Id > 5"));
    EXPECT_TRUE(a.datos.ExisteRegistro("Clientes", a.cn, ""));
    a.cn->Execute("DELETE FROM Clientes");
    EXPECT_FALSE(a.datos.ExisteRegistro("Clientes", a.cn, "")) << "an empty table";
}

TEST_F(ConsultasDatos, LosAgregadosDanElValorDelMotorNuloSinRegistrosYCeroSinFila) {
    EXPECT_EQ(a.datos.ObtenerTotal("Lineas", "Importe", a.cn, "Pedido = 7"), Variant(ado::Currency{77500}));
    EXPECT_TRUE(a.datos.ObtenerTotal("Lineas", "Importe", a.cn, "Pedido = 8").IsNull()) << "no lines: Null, not 0";
    EXPECT_EQ(a.datos.ObtenerMaximo("Clientes", "Alta", a.cn), Variant(ado::MakeDate(2005, 12, 31)));
    EXPECT_EQ(a.datos.ObtenerMinimo("Clientes", "Nombre", a.cn), Variant("Ana"));
    EXPECT_EQ(a.datos.ObtenerMaximo("Lineas", "Linea", a.cn, "Importe < 3"), Variant(2));
    EXPECT_EQ(a.datos.ObtenerPromedio("Lineas", "Linea", a.cn).ToDouble(), 2.0);
    // A grouped condition gives no row at all: the 16-bit 0.
    const Variant sinFila = a.datos.ObtenerMaximo("Lineas", "Linea", a.cn, "Pedido = 8 GROUP BY Pedido");
    EXPECT_EQ(sinFila, Variant(int16_t{0}));
    EXPECT_TRUE(Informados().empty());
}

TEST_F(ConsultasDatos, ObtenerNumeroRegistrosCuentaRegistrosOValoresNoNulos) {
    const int32_t registros = a.datos.ObtenerNumeroRegistros("Clientes", "*", a.cn);
    EXPECT_EQ(registros, 3);
    EXPECT_EQ(a.datos.ObtenerNumeroRegistros("Clientes", "Ciudad", a.cn), 2) << "a Null is not counted";
    EXPECT_EQ(a.datos.ObtenerNumeroRegistros("Lineas", "*", a.cn, "Pedido = 7 AND Linea > 1"), 2);
    EXPECT_EQ(a.datos.ObtenerNumeroRegistros("Lineas", "*", a.cn, "Pedido = 8 GROUP BY Pedido"), 0);
}

TEST_F(ConsultasDatos, ActualizarDatoCambiaSoloElPrimeroYLoVeOtroUsuario) {
    auto otro = a.Otro();
    EXPECT_TRUE(a.datos.ActualizarDato("Lineas", "Importe", a.cn, "Pedido = 7", Variant(9)));
    EXPECT_EQ(testsupport::Scalar(otro, "SELECT COUNT(*) FROM Lineas WHERE Importe = 9"), Variant(1));
    EXPECT_TRUE(a.datos.ActualizarDato("Clientes", "Saldo", a.cn, "Id = 5"));
    EXPECT_EQ(testsupport::Scalar(otro, "SELECT Saldo FROM Clientes WHERE Id = 5"), Variant(ado::Currency{0}))
        << "without a value: the integer 0";
    EXPECT_FALSE(a.datos.ActualizarDato("Clientes", "Saldo", a.cn, "Id = 3", Variant(1))) << "no record";
    EXPECT_EQ(a.Valor("SELECT SUM(Saldo) FROM Clientes"), Variant(ado::Currency{105000}));
}

TEST_F(ConsultasDatos, ReemplazarDatoAbreElCursorSegunElMotor) {
    auto otro = a.Otro();
    EXPECT_TRUE(a.datos.ReemplazarDato("Clientes", "Ciudad", a.cn, "Id = 5", Variant("Soria")));
    EXPECT_EQ(testsupport::Scalar(otro, "SELECT Ciudad FROM Clientes WHERE Id = 5"), Variant("Soria"));
    quimera::clsDatosAvanzado servidor;
    servidor.InicializarPropiedades(a.db.dir().path().string(), quimera::dnSQLServer);
    EXPECT_TRUE(servidor.ReemplazarDato("Clientes", "Ciudad", a.cn, "Id = 2", Variant("Lugo")));
    EXPECT_EQ(testsupport::Scalar(otro, "SELECT Ciudad FROM Clientes WHERE Id = 2"), Variant("Lugo"));
    // A duplicate key is refused by the save, with its own message, and gives false.
    const size_t antes = Dialogos().size();
    EXPECT_FALSE(a.datos.ReemplazarDato("Clientes", "Id", a.cn, "Id = 2", Variant(1)));
    EXPECT_EQ(Dialogos().size(), antes + 1);
    EXPECT_EQ(testsupport::Scalar(otro, "SELECT COUNT(*) FROM Clientes WHERE Id = 2"), Variant(1));
}

TEST_F(ConsultasDatos, LosReemplazosDeNulo) {
    auto& d = a.datos;
    EXPECT_EQ(d.ConvertirNuloNumerico(Variant(Variant::Null)), Variant(int16_t{0}));
    EXPECT_EQ(d.ConvertirNuloNumerico(Variant("abc")), Variant("abc"));
    EXPECT_EQ(d.ConvertirNuloNumerico(Variant(2.5)), Variant(2.5));

    EXPECT_EQ(d.ConvertirNuloFecha(Variant(Variant::Null)), Variant("01/01/1900"));
    EXPECT_EQ(d.ConvertirNuloFecha(Variant(12)), Variant("01/01/1900")) << "numbers are not dates";
    EXPECT_EQ(d.ConvertirNuloFecha(Variant("mañana")), Variant("01/01/1900"));
    EXPECT_EQ(d.ConvertirNuloFecha(Variant(ado::MakeDate(2004, 1, 2, 10, 30))), Variant(ado::MakeDate(2004, 1, 2)));
    EXPECT_EQ(d.ConvertirNuloHora(Variant(Variant::Null)), Variant("00:00"));
    EXPECT_EQ(d.ConvertirNuloHora(Variant(7)), Variant("00:00"));
    EXPECT_EQ(d.ConvertirNuloHora(Variant(ado::MakeDate(2004, 1, 2, 10, 30))), Variant(ado::MakeDate(1899, 12, 30, 10, 30)));
    // Before the epoch the time still counts forwards.
    EXPECT_EQ(d.ConvertirNuloHora(Variant(ado::Date{-1.25})), Variant(ado::MakeDate(1899, 12, 30, 6, 0)));
    EXPECT_EQ(d.ConvertirNuloFecha(Variant(ado::Date{-1.25})), Variant(ado::Date{-1}));
    // A text read with the regional settings in force (Spanish: day first).
    const ado::RegionalSettings previas = ado::RegionalSettings::Current();
    ado::RegionalSettings::SetCurrent(ado::RegionalSettings::Spanish());
    EXPECT_EQ(d.ConvertirNuloFecha(Variant("02/01/2004 10:30:00")), Variant(ado::MakeDate(2004, 1, 2)));
    EXPECT_EQ(d.ConvertirNuloHora(Variant("10:30")), Variant(ado::MakeDate(1899, 12, 30, 10, 30)));

    EXPECT_EQ(d.ConvertirNuloTexto(Variant(Variant::Null)), "");
    EXPECT_EQ(d.ConvertirNuloTexto(Variant()), "");
    EXPECT_EQ(d.ConvertirNuloTexto(Variant(2.5)), "2,5") << "the regional form";
    EXPECT_THROW(d.ConvertirNuloTexto(Variant(ado::SafeArray(std::vector<ado::SafeArray::Bound>{{0, 2}}))),
                 ado::Error);
    ado::RegionalSettings::SetCurrent(previas);
}

}  // namespace
