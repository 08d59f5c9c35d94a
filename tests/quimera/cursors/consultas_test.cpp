// Commands and stored queries on a real file: CrearConsulta, AbrirConsulta, the two ways of
// EjecutarConsulta (values written as SQL whatever the regional settings), its dialogs,
// LeerConsultaDinamica, LeerConsultaEstatica and ModificarParametro.
#include <gtest/gtest.h>

#include "ado/Regional.h"
#include "quimera/editing/BaseEdicion.h"

namespace {

using namespace pruebas;
using Rs = ado::RecordsetPtr;

class Consultas : public BaseEdicion {
protected:
    ~Consultas() override { ado::RegionalSettings::SetCurrent(ado::RegionalSettings::FromLocale("C")); }
};

// The parameter array: items 1 name, 2 value, 3 type, one column per parameter from 1.
ado::Variant Parametros(const std::vector<std::tuple<std::string, ado::Variant, int32_t>>& filas) {
    ado::SafeArray a({{1, 3}, {1, static_cast<int32_t>(filas.size())}});
    for (int32_t i = 1; i <= static_cast<int32_t>(filas.size()); ++i) {
        const auto& [nombre, valor, tipo] = filas[static_cast<size_t>(i - 1)];
        a.At({1, i}) = ado::Variant(nombre);
        a.At({2, i}) = valor;
        a.At({3, i}) = ado::Variant(tipo);
    }
    return ado::Variant(a);
}

std::string Columna(Rs rs, int32_t campo = 0) {
    std::string texto;
    for (; rs && rs->State() == ado::adStateOpen && !rs->adoEOF(); rs->MoveNext()) {
        const ado::Variant v = rs->Fields()[campo].Value();
        texto += (texto.empty() ? "" : ",") + (v.IsNull() ? std::string("Null") : v.ToString());
    }
    return texto;
}

TEST_F(Consultas, CrearYAbrirConsultas) {
    Mundo m;
    for (const std::string nombre : {"", "Caros"}) {
        auto cmd = m.acceso.CrearConsulta("SELECT Numero FROM Pedidos WHERE Importe > 15", m.cn, nombre);
        ASSERT_TRUE(cmd);
        EXPECT_EQ(std::make_tuple(cmd->Name(), cmd->Prepared(), cmd->CommandType()),
                  std::make_tuple(nombre, !nombre.empty(), ado::adCmdText));
        EXPECT_EQ(Columna(cmd->Execute()), "99");
    }
    m.cn->Execute("CREATE PROCEDURE PedidosDe ([Cliente] Text) AS SELECT Numero FROM Pedidos WHERE Codigo = "
                  "[Cliente] ORDER BY Numero");
    auto cmd = m.acceso.AbrirConsulta("PedidosDe", m.cn);
    ASSERT_TRUE(cmd);
    EXPECT_EQ(std::make_tuple(cmd->Name(), cmd->CommandText(), cmd->CommandType(), cmd->ActiveConnection()),
              std::make_tuple("PedidosDe", "PedidosDe", ado::adCmdStoredProc, m.cn));
    cmd->Parameters().Refresh();
    m.acceso.ModificarParametro(cmd, "Cliente", ado::Variant("A"));
    EXPECT_EQ(Columna(m.acceso.LeerConsultaEstatica(cmd)), "1,99");
    m.acceso.ModificarParametro(cmd, "NoExiste", ado::Variant(1));
    ASSERT_EQ(registro.informes.size(), 1u);
    EXPECT_EQ(std::make_tuple(registro.informes[0].strMetodo, registro.informes[0].numError),
              std::make_tuple("ModificarParametro", 3265));

    ado::ConnectionPtr ninguna;
    registro.decisiones = {centinela::DecisionContinuar};
    EXPECT_TRUE(m.acceso.AbrirConsulta("PedidosDe", ninguna));
    EXPECT_EQ(UltimoDialogo(), "Error de conexión | Error de conexión | La conexión no es correcta | 2");
}

TEST_F(Consultas, EnAccessLosValoresSeVinculanPorNombre) {
    struct Caso {
        std::string declarado, dado;
        std::string resultado;  // the order numbers, or "" when the query fails for want of a value
    } casos[] = {
        {"[Cliente]", "Cliente", "1,99"}, {"Cliente", "Cliente", "1,99"}, {"[Cliente]", "[Cliente]", "1,99"},
        {"Cliente", "[Cliente]", ""},     {"Cliente", "cliente", ""},
    };
    for (const Caso& caso : casos) {
        Mundo m;
        ado::Variant valores = Parametros({{caso.dado, ado::Variant("A"), ado::adVarChar}});
        const std::string sql = "PARAMETERS " + caso.declarado + " Text, Tope Double; SELECT Numero FROM Pedidos "
                                "WHERE Codigo = " + caso.declarado + " ORDER BY Numero";
        const size_t antes = Dialogos().size();
        // Tope is named by no item: it leaves the command, and nothing asks a value for it.
        EXPECT_EQ(Columna(m.acceso.EjecutarConsulta("", m.cn, valores, sql, ado::adCmdText, 1)), caso.resultado)
            << caso.declarado << " / " << caso.dado;
        EXPECT_EQ(Dialogos().size() - antes, caso.resultado.empty() ? 1u : 0u) << "the forced report";
    }
    Mundo m;
    m.cn->Execute("CREATE PROCEDURE PedidosDe ([Cliente] Text) AS SELECT Numero FROM Pedidos WHERE Codigo = "
                  "[Cliente] ORDER BY Numero");
    ado::Variant valores = Parametros({{"Cliente", ado::Variant("A"), ado::adVarChar}});
    EXPECT_EQ(Columna(m.acceso.EjecutarConsulta("PedidosDe", m.cn, valores, "", ado::adCmdText, 1)), "1,99");
    EXPECT_EQ(Columna(m.acceso.EjecutarConsulta("", m.cn, valores, "SELECT Numero FROM Pedidos ORDER BY Numero")),
              "1,99");
    valores = Parametros({{"Otro", ado::Variant("A"), ado::adVarChar}});  // so column 2 is looked at
    EXPECT_FALSE(m.acceso.EjecutarConsulta("PedidosDe", m.cn, valores, "", ado::adCmdText, 2));
    ASSERT_EQ(registro.informes.size(), 1u);
    EXPECT_EQ(registro.informes[0].numError, 9) << "an index outside the array";
}

TEST_F(Consultas, EnOtrosMotoresLosValoresSeEscribenComoSQL) {
    ado::RegionalSettings::SetCurrent(ado::RegionalSettings::Spanish());  // decimal comma, day first
    struct Caso {
        ado::Variant valor;
        int32_t tipo;
        ado::Variant leido;  // what SELECT [V] AS V gives back
    } casos[] = {
        {ado::Variant("O'Brien"), ado::adVarChar, ado::Variant("O'Brien")},
        {ado::Variant(ado::Variant::Null), ado::adVarChar, ado::Variant(ado::Variant::Null)},
        {ado::Variant(ado::Variant::Null), ado::adInteger, ado::Variant(ado::Variant::Null)},
        {ado::Variant(7.5), ado::adDouble, ado::Variant(7.5)},
        {ado::Variant(ado::Currency{12345672500}), ado::adCurrency, ado::Variant(1234567.25)},
        {ado::Variant(true), ado::adBoolean, ado::Variant(1)},
        {ado::Variant(ado::MakeDate(2024, 2, 1)), ado::adDBTimeStamp, ado::Variant("2024-02-01 00:00:00")},
        {ado::Variant(ado::MakeDate(1899, 12, 30, 13, 45)), ado::adDBTime, ado::Variant("13:45:00")},
        {ado::Variant(7.5), ado::adVarChar, ado::Variant("7.5")},
    };
    Mundo m;
    for (const Caso& caso : casos) {
        ado::Variant valores = Parametros({{"V", caso.valor, caso.tipo}});
        Rs rs = m.acceso.EjecutarConsulta("", m.cn, valores, "SELECT [V] AS V", ado::adCmdText, 1,
                                          quimera::dnSQLServer);
        ASSERT_TRUE(rs) << caso.tipo;
        EXPECT_EQ(rs->Fields().Count(), 1);
        EXPECT_TRUE(ado::Compare(rs->Fields()[0].Value(), caso.leido, true) == 0) << caso.tipo;
    }
    // A PARAMETERS declaration is cut off; a placeholder twice is replaced twice; a bracketed
    // name the array does not give stays as it was (here a column).
    ado::Variant valores = Parametros({{"Cliente", ado::Variant("A"), ado::adVarChar}});
    EXPECT_EQ(Columna(m.acceso.EjecutarConsulta(
                  "", m.cn, valores,
                  "PARAMETERS [Cliente] Text; SELECT [Nombre] FROM Clientes WHERE Codigo = [Cliente] OR "
                  "Codigo > [Cliente] ORDER BY Codigo",
                  ado::adCmdText, 1, quimera::dnSQLServer)),
              "Ana,Luis,Eva");
    EXPECT_TRUE(registro.informes.empty());
    EXPECT_TRUE(Dialogos().empty());
}

TEST_F(Consultas, DialogosDeEjecutarConsulta) {
    const std::string noEncontrado =
        "Error de procedimiento almacenado | Error de procedimiento almacenado | No se encuentra el procedimiento "
        "almacenado solicitado | 1";
    struct Caso {
        std::string nombre, sql;
        quimera::TipoOrigenDatos motor;
        std::string eventos, dialogo;
    } casos[] = {
        {"NoExiste", "", quimera::dnAccess, "ErroresADO 3265", noEncontrado},
        {"NoExiste", "", quimera::dnSQLServer, "ErroresADO 3265", noEncontrado},
        {"", kSinNombre, quimera::dnAccess, "ErroresADO -2147467259",
         "Error de consulta | Error al ejecutar la consulta | Detectado en la clase: Quimera | 2"},
        {"", kMalEscrita, quimera::dnAccess, "ErroresADO -2147217900",
         "Error de acceso a datos | Error de acceso a datos en la clase: Quimera | Descripción: Error de sintaxis en "
         "la instrucción SQL. (motor: near \"SELEC\": syntax error). Origen: Microsoft JET Database Engine | 3"},
    };
    for (const Caso& caso : casos) {
        Mundo m;
        ado::Variant nada;
        EXPECT_FALSE(m.acceso.EjecutarConsulta(caso.nombre, m.cn, nada, caso.sql, ado::adCmdText, 0, caso.motor));
        EXPECT_EQ(m.sucesos.Lista(), caso.eventos) << caso.sql;
        EXPECT_EQ(UltimoDialogo(), caso.dialogo) << caso.sql;
        EXPECT_EQ(m.cn->Errors().Count(), 0);
    }
    EXPECT_TRUE(registro.informes.empty());

    Mundo m;
    ado::ConnectionPtr ninguna;
    ado::Variant nada;
    registro.decisiones = {centinela::DecisionContinuar, centinela::DecisionContinuar};
    EXPECT_FALSE(m.acceso.EjecutarConsulta("", ninguna, nada, "SELECT 1"));
    EXPECT_EQ(registro.informes.size(), 2u) << "the errors cleared and the execution, both without a connection";
    EXPECT_EQ(UltimoDialogo(), "Error de conexión | Error de conexión | La conexión no es correcta | 2");
}

TEST_F(Consultas, LecturasDeUnaOrden) {
    Mundo m;
    auto cmd = m.acceso.CrearConsulta("SELECT * FROM Clientes ORDER BY Codigo", m.cn);
    Rs dinamica = m.acceso.LeerConsultaDinamica(cmd);
    EXPECT_EQ(std::make_tuple(dinamica->LockType(), dinamica->CursorLocation()),
              std::make_tuple(ado::adLockPessimistic, ado::adUseClient));
    EXPECT_EQ(m.sucesos.Lista(), "Bloqueo 2");

    // Static and scrollable, as prepared: server-side when the location is not automated.
    for (const bool blnAutomatizar : {true, false}) {
        m.acceso.AutomatizarLocCursor(blnAutomatizar);
        m.cn->CursorLocation(ado::adUseServer);
        Rs estatica = m.acceso.LeerConsultaEstatica(cmd);
        EXPECT_EQ(std::make_tuple(estatica->CursorType(), estatica->CursorLocation(), estatica->RecordCount()),
                  std::make_tuple(ado::adOpenStatic, blnAutomatizar ? ado::adUseClient : ado::adUseServer, 3));
        estatica->MoveLast();
        estatica->MovePrevious();
        EXPECT_EQ(estatica->Fields()["Codigo"].Value().ToString(), "B");
    }

    auto mala = m.acceso.CrearConsulta(kMalEscrita, m.cn);
    Rs cerrada = m.acceso.LeerConsultaDinamica(mala);
    ASSERT_TRUE(cerrada) << "a closed recordset rather than none";
    EXPECT_EQ(cerrada->State(), ado::adStateClosed);
}

}  // namespace
