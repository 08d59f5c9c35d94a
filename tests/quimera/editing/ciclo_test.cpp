// The edit cycle when it works: events in order, vetoes, a handler that hands back another
// recordset, and deletion with its question and the move that follows.
#include <gtest/gtest.h>

#include "quimera/editing/Mundo.h"

namespace {

using namespace pruebas;

class CicloEdicion : public EntornoQuimera {};

TEST_F(CicloEdicion, EventosYArchivo) {
    Mundo m;
    Rs rs = m.Clientes();
    Rs otro = m.Abrir("SELECT * FROM Clientes WHERE Codigo = 'C'");
    ASSERT_TRUE(m.acceso.Editar(rs));
    rs->Fields()["Ciudad"].Value("Lugo");
    EXPECT_TRUE(m.acceso.Actualizar(rs));
    ASSERT_TRUE(m.acceso.Agregar(rs));
    EXPECT_TRUE(m.acceso.CancelarActualizacion(rs));
    m.sucesos.reemplazo = otro;  // the edit goes on with the recordset the handler gives
    ASSERT_TRUE(m.acceso.Editar(rs));
    EXPECT_EQ(rs, otro);
    rs->Fields()["Ciudad"].Value("Vigo");
    EXPECT_TRUE(m.acceso.ActualizarCascada(rs));
    EXPECT_EQ(m.sucesos.lista,
              "AntesEditar, DespuesEditar, AntesActualizar 1, DespuesActualizar 1, AntesAgregar, DespuesAgregar, "
              "AntesCancelarActualizacion 2, DespuesCancelarActualizacion 2, AntesEditar, DespuesEditar, "
              "AntesActualizar 1, DespuesActualizar 1");
    EXPECT_EQ(m.Valor("SELECT Ciudad FROM Clientes WHERE Codigo = 'A'"), "Lugo");
    EXPECT_EQ(m.Valor("SELECT Ciudad FROM Clientes WHERE Codigo = 'C'"), "Vigo");
    EXPECT_EQ(m.Valor("SELECT COUNT(*) FROM Clientes"), "3");
    EXPECT_TRUE(Dialogos().empty());
}

// In batch mode each Actualizar leaves its change pending and the edit mode back at 0:
// ActualizarCascada sends every pending change, wherever the cursor stands, and leaves it
// there; with nothing pending it refuses.
TEST_F(CicloEdicion, CascadaEnviaCadaCambioPendiente) {
    Mundo m;
    Rs rs = m.Clientes(ado::adLockBatchOptimistic);
    for (; !rs->adoEOF(); rs->MoveNext()) {
        ASSERT_TRUE(m.acceso.Editar(rs));
        rs->Fields()["Ciudad"].Value("Lugo " + rs->Fields()["Codigo"].Value().ToString());
        ASSERT_TRUE(m.acceso.Actualizar(rs));
    }
    EXPECT_EQ(m.Valor("SELECT COUNT(*) FROM Clientes WHERE Ciudad LIKE 'Lugo*'"), "0") << "nothing sent yet";
    m.sucesos.lista.clear();
    EXPECT_TRUE(m.acceso.ActualizarCascada(rs));
    EXPECT_EQ(m.sucesos.lista, "AntesActualizar 0, DespuesActualizar 0");
    EXPECT_TRUE(rs->adoEOF());
    EXPECT_EQ(Columna(m.Abrir("SELECT Ciudad FROM Clientes ORDER BY Codigo")), "Lugo A,Lugo B,Lugo C");

    rs->MoveFirst();
    ASSERT_TRUE(m.acceso.Editar(rs));
    rs->Fields()["Ciudad"].Value("Soria");
    ASSERT_TRUE(m.acceso.Actualizar(rs));
    rs->MoveNext();
    EXPECT_TRUE(m.acceso.ActualizarCascada(rs));
    EXPECT_EQ(rs->Fields()["Codigo"].Value().ToString(), "B");
    EXPECT_EQ(Columna(m.Abrir("SELECT Ciudad FROM Clientes ORDER BY Codigo")), "Soria,Lugo B,Lugo C");
    EXPECT_TRUE(Dialogos().empty());
    EXPECT_FALSE(m.acceso.ActualizarCascada(rs)) << "nothing left to send";
    EXPECT_EQ(UltimoDialogo(), "Actualizar Datos | Actualizar Datos | No es posible Actualizar. No hay procesos de "
                               "edición activos | 1");
}

TEST_F(CicloEdicion, VetosQuePublicanLosErroresPendientes) {
    for (const Miembro miembro : {Editar, Actualizar, Cascada, Borrar}) {
        Mundo m;
        Rs rs = miembro == Actualizar ? m.Editado()
                : miembro == Cascada  ? m.Editado(ado::adLockBatchOptimistic)
                                      : m.Clientes();
        m.sucesos.blnVetar = true;
        m.En("Antes", kMalEscrita, true);  // a handler that leaves a provider error behind
        EXPECT_FALSE(miembro(m, rs));
        EXPECT_NE(m.sucesos.lista.find(", ErroresADO -2147217900"), std::string::npos) << m.sucesos.lista;
        EXPECT_EQ(m.sucesos.lista.find("Despues"), std::string::npos) << m.sucesos.lista;
        EXPECT_EQ(Modo(rs), 0) << m.sucesos.lista << ": a vetoed save cancels the change";
        EXPECT_EQ(m.Valor("SELECT Ciudad FROM Clientes WHERE Codigo = 'A'") + m.Valor("SELECT COUNT(*) FROM Clientes"),
                  "León3");
        EXPECT_EQ(m.cn->Errors().Count(), 0);
    }
    EXPECT_TRUE(Dialogos().empty()) << "the report of ordinary paths follows MostrarMensajes";
}

TEST_F(CicloEdicion, BorrarPreguntaYSeDesplaza) {
    const struct {
        std::optional<int32_t> respuesta;  // to the question; none when none may come
        std::function<void(Mundo&, Rs&)> preparar;
        std::string queda;   // the codes left in the file
        std::string actual;  // the current record afterwards ("" where there is none)
    } casos[] = {
        {quimera::BotonSi, {}, "A,C", "C"},
        {quimera::BotonNo, {}, "A,B,C", "B"},
        {{}, [](Mundo& m, Rs&) { m.sucesos.blnPreguntar = false; }, "A,C", "C"},
        {quimera::BotonSi, [](Mundo& m, Rs&) { m.sucesos.blnDesplazar = false; }, "A,C", ""},
        {quimera::BotonSi, [](Mundo&, Rs& rs) { rs->MoveLast(); }, "A,B", "B"},
        {quimera::BotonSi, [](Mundo& m, Rs& rs) { rs = m.Abrir("SELECT * FROM Clientes WHERE Codigo = 'C'"); }, "A,B",
         ""},
    };
    for (const auto& caso : casos) {
        Mundo m;
        Rs rs = m.Abrir("SELECT * FROM Clientes WHERE Codigo >= 'B' ORDER BY Codigo");
        if (caso.preparar) caso.preparar(m, rs);
        const size_t antes = Dialogos().size();
        if (caso.respuesta) control->Responder({*caso.respuesta});
        const bool blnBorrado = caso.queda != "A,B,C";
        EXPECT_EQ(m.acceso.Borrar(rs), blnBorrado) << caso.queda;
        EXPECT_EQ(Dialogos().size(), antes + (caso.respuesta ? 1 : 0));
        EXPECT_EQ(Columna(m.Abrir("SELECT Codigo FROM Clientes ORDER BY Codigo")), caso.queda);
        EXPECT_EQ(Modo(rs) < 0 ? "" : rs->Fields()["Codigo"].Value().ToString(), caso.actual) << caso.queda;
        EXPECT_EQ(m.sucesos.lista, blnBorrado ? "AntesBorrar, DespuesBorrar" : "AntesBorrar");
    }
    const ui::DialogoGrabado& pregunta = Dialogos().front();
    EXPECT_EQ(pregunta.strTitulo + " | " + pregunta.strInstruccion, "Confirmación de borrado | Eliminar registro");
    EXPECT_EQ(pregunta.botones, (std::vector<ui::DialogoGrabado::Boton>{{"Sí", 103}, {"No", 104}}));
    EXPECT_FALSE(pregunta.numBotonPredeterminado.has_value());
}

}  // namespace
