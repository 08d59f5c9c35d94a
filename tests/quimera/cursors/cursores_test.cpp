// The cursor members on a real file: the cursor each one opens, Bloqueo and its veto, the
// SQL Server provider check, the command handed back, update criteria, AbrirTabla's
// connection, and the ADO errors published after opening.
#include <gtest/gtest.h>

#include "quimera/editing/BaseEdicion.h"

namespace {

using namespace pruebas;
using quimera::clsAccesoDatos;
using Rs = ado::RecordsetPtr;

class Cursores : public BaseEdicion {};

constexpr const char* kSQL = "SELECT * FROM Clientes ORDER BY Codigo";

using Miembro = std::function<Rs(clsAccesoDatos&, ado::ConnectionPtr&, ado::CommandPtr&, const std::string&)>;
const Miembro kKeyset = [](clsAccesoDatos& a, ado::ConnectionPtr& cn, ado::CommandPtr& cmd, const std::string& sql) {
    return a.CrearCursorKeyset(sql, cn, cmd, ado::adLockPessimistic, ado::adUseServer);
};
const Miembro kDinamico = [](clsAccesoDatos& a, ado::ConnectionPtr& cn, ado::CommandPtr& cmd,
                             const std::string& sql) {
    return a.CrearCursorDinamico(sql, cn, cmd, ado::adLockPessimistic, ado::adUseServer);
};
const Miembro kEstatico = [](clsAccesoDatos& a, ado::ConnectionPtr& cn, ado::CommandPtr& cmd,
                             const std::string& sql) { return a.CrearCursorEstatico(sql, cn, cmd, ado::adUseServer); };
const Miembro kInspeccion = [](clsAccesoDatos& a, ado::ConnectionPtr& cn, ado::CommandPtr& cmd,
                               const std::string& sql) {
    return a.CrearCursorInspeccion(sql, cn, cmd, ado::adUseServer);
};

TEST_F(Cursores, CadaMiembroSuCursorYSuBloqueo) {
    struct Caso {
        const char* nombre;
        Miembro abrir;
        ado::CursorTypeEnum tipo;
        bool blnBloqueo;  // raises Bloqueo and sets the pessimistic lock unless vetoed
    } casos[] = {
        {"keyset", kKeyset, ado::adOpenKeyset, true},
        {"dinámico", kDinamico, ado::adOpenDynamic, true},
        {"estático", kEstatico, ado::adOpenStatic, false},
        {"inspección", kInspeccion, ado::adOpenForwardOnly, false},
        {"tabla",
         [](clsAccesoDatos& a, ado::ConnectionPtr& cn, ado::CommandPtr&, const std::string&) {
             return a.AbrirTabla("Clientes", cn);
         },
         ado::adOpenStatic, true},
    };
    for (const Caso& caso : casos) {
        for (const bool blnVetar : {false, true}) {
            Mundo m;
            m.sucesos.blnVetar = blnVetar;
            ado::CommandPtr cmd;
            const Rs rs = caso.abrir(m.acceso, m.cn, cmd, kSQL);
            ASSERT_TRUE(rs) << caso.nombre;
            EXPECT_EQ(rs->CursorType(), caso.tipo) << caso.nombre;
            const bool blnEscribe = caso.blnBloqueo && !blnVetar;
            EXPECT_EQ(rs->LockType(), blnEscribe ? ado::adLockPessimistic : ado::adLockReadOnly) << caso.nombre;
            EXPECT_EQ(rs->Supports(ado::adUpdate), blnEscribe) << caso.nombre;
            EXPECT_EQ(m.sucesos.Lista(), caso.blnBloqueo ? "Bloqueo 2" : "") << caso.nombre;
            EXPECT_EQ(rs->Fields()["Nombre"].Value().ToString(), "Ana") << caso.nombre;
            if (std::string_view(caso.nombre) == "tabla") continue;
            ASSERT_TRUE(cmd) << caso.nombre << ": the command made is handed back";
            EXPECT_EQ(std::make_tuple(cmd->CommandText(), cmd->CommandType()), std::make_tuple(kSQL, ado::adCmdText));
            EXPECT_EQ(cmd->ActiveConnection(), m.cn);
        }
    }
    EXPECT_TRUE(Dialogos().empty());
    EXPECT_TRUE(registro.informes.empty());
}

TEST_F(Cursores, SoloLosProveedoresDeSQLServerConviertenElTexto) {
    const std::string jet = "SELECT UCASE(Nombre) FROM Clientes WHERE Activo = TRUE";
    const std::string servidor = "SELECT UPPER(Nombre) FROM Clientes WHERE Activo = 1";
    const std::pair<const char*, bool> casos[] = {
        {"SQLOLEDB", true},  {"SQLOLEDB.1", true},        {"SQLNCLI", true},   {"SQLNCLI10", true},
        {"SQLNCLI11", true}, {"sqloledb", false},          {"SqlNcli10", false}, {"SQLNCL", false},
        {"MSDASQL", false},  {"Microsoft.Jet.OLEDB.4.0", false},
    };
    clsAccesoDatos acceso;
    for (const auto& [proveedor, blnConvierte] : casos) {
        ado::ConnectionPtr cn = ado::Connection::Create();  // closed: the open fails afterwards
        cn->Provider(proveedor);
        ado::CommandPtr cmd;
        EXPECT_FALSE(acceso.CrearCursorKeyset(jet, cn, cmd)) << proveedor;
        ASSERT_TRUE(cmd) << proveedor;
        EXPECT_EQ(cmd->CommandText(), blnConvierte ? servidor : jet) << proveedor;
    }
    EXPECT_EQ(registro.informes.size(), std::size(casos));
    EXPECT_EQ(registro.informes.back().strMetodo, "CrearCursorKeyset");
}

TEST_F(Cursores, ConOrdenDadaSeAbreElTextoDeLaOrden) {
    Mundo m;
    auto cmd = ado::Command::Create();
    cmd->ActiveConnection(m.cn);
    cmd->CommandText("SELECT * FROM Clientes WHERE Codigo = 'B'");
    cmd->CommandType(ado::adCmdText);
    Rs rs = m.acceso.CrearCursorKeyset("esto no es SQL", m.cn, cmd);
    ASSERT_TRUE(rs);
    EXPECT_EQ(rs->Fields()["Nombre"].Value().ToString(), "Luis");

    ado::ConnectionPtr sinConexion;
    rs = m.acceso.CrearCursorEstatico("", sinConexion, cmd);
    ASSERT_TRUE(rs) << "opened on the command's own connection";
    EXPECT_EQ(sinConexion, m.cn) << "and that connection is handed back";

    ado::CommandPtr sinOrden;
    ado::ConnectionPtr ninguna;
    EXPECT_FALSE(m.acceso.CrearCursorInspeccion(kSQL, ninguna, sinOrden));
    ASSERT_EQ(registro.informes.size(), 1u);
    EXPECT_EQ(registro.informes[0].strMetodo, "CrearCursorInspeccion");
}

TEST_F(Cursores, CriterioDeActualizacionPorClave) {
    // Another user changes the same column since it was read: only the key criterion lets
    // the save through.
    for (const auto criterio : {ado::adCriteriaKey, ado::adCriteriaUpdCols}) {
        Mundo m;
        ado::CommandPtr cmd;
        Rs rs = m.acceso.CrearCursorKeyset(kSQL, m.cn, cmd, ado::adLockOptimistic, ado::adUseClient, criterio);
        EXPECT_EQ(rs->Properties().Item("Update Criteria").Value().ToInt32(), criterio);
        m.Otro("UPDATE Clientes SET Ciudad = 'Vigo' WHERE Codigo = 'A'");
        rs->Fields()["Ciudad"].Value("Lugo");
        EXPECT_EQ(m.acceso.Actualizar(rs, true), criterio == ado::adCriteriaKey);
        EXPECT_EQ(m.Valor("SELECT Ciudad FROM Clientes WHERE Codigo = 'A'"),
                  criterio == ado::adCriteriaKey ? "Lugo" : "Vigo");
    }
}

TEST_F(Cursores, AbrirTablaDejaLaConexionEnElCliente) {
    Mundo m;
    m.cn->CursorLocation(ado::adUseServer);
    Rs rs = m.acceso.AbrirTabla("Clientes", m.cn, ado::adLockOptimistic);
    ASSERT_TRUE(rs);
    EXPECT_EQ(m.cn->CursorLocation(), ado::adUseClient);
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_FALSE(m.acceso.AbrirTabla("NoExiste", m.cn));
    EXPECT_EQ(UltimoDialogo(),
              "Error de acceso a datos | Error de acceso a datos en la clase: Quimera | Descripción: No se encuentra "
              "la tabla o consulta de entrada. 'NoExiste'. Origen: ADO | 3")
        << "a provider failure: the forced report, not the error manager";
    EXPECT_TRUE(registro.informes.empty());
}

TEST_F(Cursores, ErroresQueQuedanEnLaConexionSePublicanTrasAbrir) {
    for (const bool blnMostrar : {false, true}) {
        Mundo m;
        m.acceso.MostrarMensajes(blnMostrar);
        try {
            m.cn->Execute(kMalEscrita);
        } catch (const ado::Error&) {
        }
        const size_t antes = Dialogos().size();
        ado::CommandPtr cmd;
        EXPECT_TRUE(m.acceso.CrearCursorEstatico(kSQL, m.cn, cmd));
        EXPECT_EQ(m.sucesos.Lista(), "ErroresADO -2147217900");
        EXPECT_EQ(m.cn->Errors().Count(), 0);
        EXPECT_EQ(Dialogos().size() - antes, blnMostrar ? 1u : 0u);
    }
}

}  // namespace
