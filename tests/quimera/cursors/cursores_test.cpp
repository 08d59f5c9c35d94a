// The cursor members on a real file: the cursor each one opens, Bloqueo and its veto, the
// SQL Server provider check, the command handed back, update criteria, AbrirTabla's
// connection, and the ADO errors published after opening.
#include <gtest/gtest.h>

#include "quimera/editing/Mundo.h"

namespace {

using namespace pruebas;
using quimera::clsAccesoDatos;

class Cursores : public EntornoQuimera {};

constexpr const char* kSQL = "SELECT * FROM Clientes ORDER BY Codigo";

TEST_F(Cursores, CadaMiembroSuCursorYSuBloqueo) {
    using A = clsAccesoDatos;
    using Cn = ado::ConnectionPtr;
    using O = ado::CommandPtr;
    const auto p = ado::adLockPessimistic;
    const auto s = ado::adUseServer;  // server-side, each cursor keeps the type it asks for
    const struct {
        Rs (*abrir)(A&, Cn&, O&);
        ado::CursorTypeEnum tipo;
        bool blnBloqueo;  // raises Bloqueo and sets the pessimistic lock unless vetoed
    } casos[] = {
        {[](A& a, Cn& cn, O& o) { return a.CrearCursorKeyset(kSQL, cn, o, p, s); }, ado::adOpenKeyset, true},
        {[](A& a, Cn& cn, O& o) { return a.CrearCursorDinamico(kSQL, cn, o, p, s); }, ado::adOpenDynamic, true},
        {[](A& a, Cn& cn, O& o) { return a.CrearCursorEstatico(kSQL, cn, o, s); }, ado::adOpenStatic, false},
        {[](A& a, Cn& cn, O& o) { return a.CrearCursorInspeccion(kSQL, cn, o, s); }, ado::adOpenForwardOnly, false},
        {[](A& a, Cn& cn, O&) { return a.AbrirTabla("Clientes", cn); }, ado::adOpenStatic, true},
    };
    for (const auto& caso : casos) {
        for (const bool blnVetar : {false, true}) {
            Mundo m;
            m.sucesos.blnVetar = blnVetar;
            ado::CommandPtr orden;
            const Rs rs = caso.abrir(m.acceso, m.cn, orden);
            ASSERT_TRUE(rs);
            const bool blnEscribe = caso.blnBloqueo && !blnVetar;
            EXPECT_EQ(std::make_tuple(rs->CursorType(), rs->LockType(), rs->Supports(ado::adUpdate)),
                      std::make_tuple(caso.tipo, blnEscribe ? p : ado::adLockReadOnly, blnEscribe));
            EXPECT_EQ(m.sucesos.lista, caso.blnBloqueo ? "Bloqueo 2" : "");
            EXPECT_EQ(rs->Fields()["Nombre"].Value().ToString(), "Ana");
            if (!orden) continue;  // AbrirTabla makes no command
            EXPECT_EQ(std::make_tuple(orden->CommandText(), orden->CommandType(), orden->ActiveConnection()),
                      std::make_tuple(kSQL, ado::adCmdText, m.cn))
                << "the command made is handed back";
        }
    }
    EXPECT_TRUE(Dialogos().empty());
    EXPECT_TRUE(registro.informes.empty());
}

TEST_F(Cursores, SoloLosProveedoresDeSQLServerConviertenElTexto) {
    const std::string jet = "SELECT UCASE(Nombre) FROM Clientes WHERE Activo = TRUE";
    const std::pair<const char*, bool> casos[] = {
        {"SQLOLEDB", true},  {"SQLOLEDB.1", true}, {"SQLNCLI", true},   {"SQLNCLI10", true},
        {"SQLNCLI11", true}, {"sqloledb", false},  {"SqlNcli10", false}, {"SQLNCL", false},
        {"MSDASQL", false},  {"Microsoft.Jet.OLEDB.4.0", false},
    };
    clsAccesoDatos acceso;
    for (const auto& [proveedor, blnConvierte] : casos) {
        ado::ConnectionPtr cn = ado::Connection::Create();  // closed: the open fails afterwards
        cn->Provider(proveedor);
        ado::CommandPtr orden;
        EXPECT_FALSE(acceso.CrearCursorKeyset(jet, cn, orden)) << proveedor;
        EXPECT_EQ(orden->CommandText(), blnConvierte ? "SELECT UPPER(Nombre) FROM Clientes WHERE Activo = 1" : jet)
            << proveedor;
    }
    EXPECT_EQ(Informados(), std::vector<std::string>(std::size(casos), "clsAccesoDatos.CrearCursorKeyset 3709"));
}

TEST_F(Cursores, OrdenDadaYConexionDeLaOrden) {
    Mundo m;
    auto orden = ado::Command::Create();
    orden->ActiveConnection(m.cn);
    orden->CommandText("SELECT * FROM Clientes WHERE Codigo = 'B'");
    orden->CommandType(ado::adCmdText);
    ado::ConnectionPtr ninguna;
    Rs rs = m.acceso.CrearCursorKeyset("esto no es SQL", ninguna, orden);
    ASSERT_TRUE(rs) << "the command's own text, on its own connection";
    EXPECT_EQ(rs->Fields()["Nombre"].Value().ToString(), "Luis");
    EXPECT_EQ(ninguna, m.cn) << "which is handed back";

    ado::CommandPtr sinOrden;
    ado::ConnectionPtr sinConexion;
    EXPECT_FALSE(m.acceso.CrearCursorInspeccion(kSQL, sinConexion, sinOrden));
    EXPECT_EQ(Informados(), std::vector<std::string>{"clsAccesoDatos.CrearCursorInspeccion 3709"});
}

TEST_F(Cursores, CriterioDeActualizacionPorClave) {
    // Another user changed the same column since it was read: only the key criterion saves.
    for (const auto criterio : {ado::adCriteriaKey, ado::adCriteriaUpdCols}) {
        Mundo m;
        ado::CommandPtr orden;
        Rs rs = m.acceso.CrearCursorKeyset(kSQL, m.cn, orden, ado::adLockOptimistic, ado::adUseClient, criterio);
        m.Otro("UPDATE Clientes SET Ciudad = 'Vigo' WHERE Codigo = 'A'");
        rs->Fields()["Ciudad"].Value("Lugo");
        EXPECT_EQ(m.acceso.Actualizar(rs, true), criterio == ado::adCriteriaKey);
        EXPECT_EQ(m.Valor("SELECT Ciudad FROM Clientes WHERE Codigo = 'A'"),
                  criterio == ado::adCriteriaKey ? "Lugo" : "Vigo");
    }
}

TEST_F(Cursores, AbrirTablaYErroresQueQuedanEnLaConexion) {
    Mundo m;
    m.cn->CursorLocation(ado::adUseServer);
    EXPECT_EQ(m.acceso.AbrirTabla("Clientes", m.cn, ado::adLockOptimistic)->RecordCount(), 3);
    EXPECT_EQ(m.cn->CursorLocation(), ado::adUseClient);
    EXPECT_FALSE(m.acceso.AbrirTabla("NoExiste", m.cn));
    EXPECT_EQ(Dialogos().at(0).strTitulo, "Error de acceso a datos") << "a provider failure: the forced report";
    EXPECT_TRUE(registro.informes.empty());

    // Errors an earlier statement left on the connection are published after opening.
    for (const bool blnMostrar : {false, true}) {
        m.acceso.MostrarMensajes(blnMostrar);
        m.sucesos.lista.clear();
        EXPECT_NE(testsupport::ErrorNumberOf([&] { m.cn->Execute(kMalEscrita); }), 0);
        const size_t antes = Dialogos().size();
        ado::CommandPtr orden;
        EXPECT_TRUE(m.acceso.CrearCursorEstatico(kSQL, m.cn, orden));
        EXPECT_EQ(m.sucesos.lista, "ErroresADO -2147217900");
        EXPECT_EQ(m.cn->Errors().Count(), 0);
        EXPECT_EQ(Dialogos().size() - antes, blnMostrar ? 1u : 0u);
    }
}

}  // namespace
