// Detaching and reattaching recordsets, testing and closing them, and the fields of a
// recordset without connection, through clsAccesoDatos.
#include <gtest/gtest.h>

#include "quimera/editing/Mundo.h"

namespace {

using namespace pruebas;

class Desconectados : public EntornoQuimera {
protected:
    Mundo m;
};

TEST_F(Desconectados, SoloSeDesconectaYReconectaUnCursorDelCliente) {
    Rs servidor = m.Clientes(ado::adLockOptimistic, ado::adUseServer);
    EXPECT_EQ(m.acceso.DesconectarRecordset(servidor), nullptr);
    EXPECT_FALSE(m.acceso.AutoDesconectar(servidor));
    EXPECT_EQ(servidor->ActiveConnection(), m.cn);

    Rs cliente = m.Abrir("SELECT * FROM Clientes ORDER BY Codigo", ado::adLockBatchOptimistic);
    cliente->Fields()["Ciudad"].Value("Lugo");
    cliente->Update();
    EXPECT_EQ(m.acceso.ReconectarRecordset(cliente, m.cn), nullptr) << "still connected: nothing is sent";
    EXPECT_EQ(m.Valor("SELECT Ciudad FROM Clientes WHERE Codigo = 'A'"), "León");
    EXPECT_EQ(m.acceso.DesconectarRecordset(cliente), cliente);
    EXPECT_EQ(cliente->ActiveConnection(), nullptr);
    EXPECT_EQ(m.acceso.ReconectarRecordset(cliente, m.cn), cliente);
    EXPECT_EQ(cliente->ActiveConnection(), m.cn);
    EXPECT_EQ(m.Valor("SELECT Ciudad FROM Clientes WHERE Codigo = 'A'"), "Lugo");
    EXPECT_TRUE(Informados().empty());
}

TEST_F(Desconectados, AutoReconectarEnviaEnLoteYDevuelveElBloqueo) {
    Rs rs = m.Clientes(ado::adLockOptimistic);
    ASSERT_TRUE(m.acceso.AutoDesconectar(rs));
    rs->Fields()["Ciudad"].Value("Lugo");
    rs->Update();  // without connection the change waits
    EXPECT_EQ(m.Valor("SELECT Ciudad FROM Clientes WHERE Codigo = 'A'"), "León");
    EXPECT_TRUE(m.acceso.AutoReconectar(rs, m.cn));
    EXPECT_EQ(std::make_tuple(rs->LockType(), rs->ActiveConnection()), std::make_tuple(ado::adLockOptimistic, m.cn));
    EXPECT_EQ(m.Valor("SELECT Ciudad FROM Clientes WHERE Codigo = 'A'"), "Lugo");
}

// The batch's row refused by another user's record lock comes back in Errors: ErrorActualizar in batch
// mode, then the data-error report.
TEST_F(Desconectados, UnBloqueoAlReconectarDaErrorActualizarEnLoteYElInforme) {
    for (const bool blnAuto : {false, true}) {
        m.sucesos.lista.clear();
        Rs rs = m.Abrir("SELECT * FROM Clientes ORDER BY Codigo", ado::adLockBatchOptimistic);
        m.acceso.AutoDesconectar(rs);
        rs->MoveLast();  // customer C, the record Bloquear holds
        rs->Fields()["Ciudad"].Value("Lugo");
        rs->Update();
        m.Bloquear();
        const size_t antes = Dialogos().size();
        const bool hecho = blnAuto ? m.acceso.AutoReconectar(rs, m.cn) : m.acceso.ReconectarRecordset(rs, m.cn) != nullptr;
        EXPECT_FALSE(hecho);
        EXPECT_EQ(m.sucesos.lista, "ErrorActualizar -2147217887 1, ErroresADO 3260");
        EXPECT_EQ(UltimoDialogo(antes), kInformeRegistroBloqueadoEnLote);
        EXPECT_EQ(m.cn->Errors().Count(), 0);
        m.bloqueo->CancelUpdate();
    }
    EXPECT_TRUE(Informados().empty());
}

TEST_F(Desconectados, AbiertoCerradoYCampos) {
    Rs nada;
    EXPECT_FALSE(m.acceso.RecordsetEstaAbierto(nada));
    EXPECT_FALSE(m.acceso.CerrarRecordset(nada));
    Rs cerrado = ado::Recordset::Create();
    EXPECT_FALSE(m.acceso.RecordsetEstaAbierto(cerrado));
    EXPECT_TRUE(m.acceso.CerrarRecordset(cerrado, false)) << "closed already: true, Close is not called";
    EXPECT_NE(cerrado, nullptr);
    EXPECT_TRUE(m.acceso.CerrarRecordset(cerrado));
    EXPECT_EQ(cerrado, nullptr);
    Rs abierto = m.Clientes();
    EXPECT_TRUE(m.acceso.RecordsetEstaAbierto(abierto));

    // Fields: only on a recordset without connection.
    EXPECT_EQ(m.acceso.AgregarCampo(abierto, "Nota", ado::adVarWChar), nullptr);
    EXPECT_EQ(abierto->Fields().Count(), 3);
    EXPECT_FALSE(m.acceso.QuitarCampo(abierto, "Ciudad"));
    Rs memoria = ado::Recordset::Create();
    ado::FieldPtr nota = m.acceso.AgregarCampo(memoria, "Nota", ado::adVarWChar);
    ado::FieldPtr codigo = m.acceso.AgregarCampo(memoria, "Codigo", ado::adVarWChar, 5, ado::adFldUpdatable);
    ASSERT_TRUE(nota && codigo);
    EXPECT_EQ(std::make_tuple(nota->DefinedSize(), nota->Attributes(), codigo->DefinedSize(), codigo->Attributes()),
              std::make_tuple(255, int32_t{ado::adFldUnknownUpdatable}, 5, int32_t{ado::adFldUpdatable}));
    EXPECT_TRUE(m.acceso.QuitarCampo(memoria, "Nota"));
    EXPECT_EQ(memoria->Fields().Count(), 1);
    EXPECT_EQ(codigo->Name(), "Codigo") << "a field handle follows its column";
    EXPECT_EQ(testsupport::ErrorNumberOf([&] { nota->Name(); }), ado::err::ItemNotFound) << "the removed one fails";
    EXPECT_FALSE(m.acceso.QuitarCampo(memoria, "Nota"));
    EXPECT_EQ(Informados(), std::vector<std::string>{"clsAccesoDatos.QuitarCampo 3265"});
    m.acceso.AutoDesconectar(abierto);
    EXPECT_TRUE(m.acceso.QuitarCampo(abierto, "Ciudad")) << "disconnected, a loaded recordset's fields change too";
    EXPECT_EQ(abierto->Fields().Count(), 2);
}

}  // namespace
