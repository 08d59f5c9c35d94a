// The edit cycle when it works: events in order, vetoes, a handler that hands back another
// recordset, the batch save, and deletion with its question and the move that follows.
#include <gtest/gtest.h>

#include "quimera/editing/BaseEdicion.h"

namespace {

using namespace pruebas;
using Rs = ado::RecordsetPtr;

class CicloEdicion : public BaseEdicion {};

TEST_F(CicloEdicion, EditarYActualizarGuardanEnElArchivo) {
    Mundo m;
    Rs rs = m.Clientes();
    ASSERT_TRUE(m.acceso.Editar(rs));
    EXPECT_EQ(Modo(rs), ado::adEditInProgress);
    rs->Fields()["Ciudad"].Value("Lugo");
    EXPECT_TRUE(m.acceso.Actualizar(rs));
    EXPECT_EQ(m.Valor("SELECT Ciudad FROM Clientes WHERE Codigo = 'A'"), "Lugo");
    ASSERT_TRUE(m.acceso.Agregar(rs));
    rs->Fields()["Codigo"].Value("D");
    rs->Fields()["Nombre"].Value("Íñigo");
    EXPECT_TRUE(m.acceso.Actualizar(rs));
    EXPECT_EQ(m.Valor("SELECT Nombre FROM Clientes WHERE Codigo = 'D'"), "Íñigo");
    EXPECT_EQ(m.sucesos.Lista(),
              "AntesEditar, DespuesEditar, AntesActualizar 1, DespuesActualizar 1, AntesAgregar, DespuesAgregar, "
              "AntesActualizar 2, DespuesActualizar 2");
    EXPECT_TRUE(Dialogos().empty());
}

TEST_F(CicloEdicion, VetosYPublicacionDeErroresPendientes) {
    struct Caso {
        const char* nombre;
        std::function<bool(Mundo&, Rs&)> ejecutar;
        std::string eventos;
        int modo;
        std::string ciudad;  // customer A's city in the file afterwards
    } casos[] = {
        {"Editar", [](Mundo& m, Rs& rs) { return m.acceso.Editar(rs); }, "AntesEditar, ErroresADO -2147217900", 0,
         "León"},
        {"Actualizar: el cambio se cancela",
         [](Mundo& m, Rs& rs) {
             rs->Fields()["Ciudad"].Value("Lugo");
             return m.acceso.Actualizar(rs);
         },
         "AntesActualizar 1, ErroresADO -2147217900", 0, "León"},
        {"ActualizarCascada: el lote se cancela",
         [](Mundo& m, Rs& rs) {
             rs = m.Clientes(ado::adLockBatchOptimistic);
             rs->Fields()["Ciudad"].Value("Lugo");
             return m.acceso.ActualizarCascada(rs);
         },
         "AntesActualizar 1, ErroresADO -2147217900", 0, "León"},
        {"Borrar", [](Mundo& m, Rs& rs) { return m.acceso.Borrar(rs); }, "AntesBorrar, ErroresADO -2147217900", 0,
         "León"},
    };
    for (const Caso& caso : casos) {
        Mundo m;
        Rs rs = m.Clientes();
        m.sucesos.blnVetar = true;
        m.En("Antes", [&] {  // a handler that leaves a provider error behind
            try {
                m.cn->Execute(kMalEscrita);
            } catch (const ado::Error&) {
            }
        });
        EXPECT_FALSE(caso.ejecutar(m, rs)) << caso.nombre;
        EXPECT_EQ(m.sucesos.Lista(), caso.eventos) << caso.nombre;
        EXPECT_EQ(Modo(rs), caso.modo) << caso.nombre;
        EXPECT_EQ(m.Valor("SELECT Ciudad FROM Clientes WHERE Codigo = 'A'"), caso.ciudad) << caso.nombre;
        EXPECT_EQ(m.cn->Errors().Count(), 0) << caso.nombre;
    }
    EXPECT_TRUE(Dialogos().empty()) << "the report of ordinary paths follows MostrarMensajes";
}

TEST_F(CicloEdicion, UnManejadorDevuelveOtroRecordset) {
    Mundo m;
    Rs rs = m.Clientes();
    Rs otro = m.Abrir("SELECT * FROM Clientes WHERE Codigo = 'C'");
    m.sucesos.reemplazo = otro;
    EXPECT_TRUE(m.acceso.Editar(rs));
    EXPECT_EQ(rs, otro) << "the caller gets the replacement back";
    EXPECT_EQ(Modo(otro), ado::adEditInProgress);
    otro->Fields()["Ciudad"].Value("Vigo");
    EXPECT_TRUE(m.acceso.Actualizar(rs));
    EXPECT_EQ(m.Valor("SELECT Ciudad FROM Clientes WHERE Codigo = 'C'"), "Vigo");
}

TEST_F(CicloEdicion, AgregarEnVacioYCancelarElAlta) {
    Mundo m;
    Rs rs = m.Abrir("SELECT * FROM Clientes WHERE Codigo = 'Z'");
    ASSERT_TRUE(m.acceso.Agregar(rs));
    EXPECT_TRUE(m.acceso.CancelarActualizacion(rs));
    EXPECT_EQ(m.sucesos.Lista(),
              "AntesAgregar, DespuesAgregar, AntesCancelarActualizacion 2, DespuesCancelarActualizacion 2");
    EXPECT_EQ(rs->RecordCount(), 0);
}

TEST_F(CicloEdicion, BorrarPreguntaYSeDesplaza) {
    struct Caso {
        const char* nombre;
        std::optional<int32_t> respuesta;  // to the question; none when no question may come
        std::function<void(Mundo&, Rs&)> preparar;
        bool resultado;
        std::string queda;   // the codes left in the file
        std::string actual;  // the current record afterwards ("" where there is none)
    } casos[] = {
        {"sí", quimera::BotonSi, {}, true, "A,C", "C"},
        {"no", quimera::BotonNo, {}, false, "A,B,C", "B"},
        {"el manejador quita la pregunta", {}, [](Mundo& m, Rs&) { m.sucesos.blnPreguntar = false; }, true, "A,C",
         "C"},
        {"el manejador no desplaza", quimera::BotonSi, [](Mundo& m, Rs&) { m.sucesos.blnDesplazar = false; }, true,
         "A,C", ""},
        {"el último", quimera::BotonSi, [](Mundo&, Rs& rs) { rs->MoveLast(); }, true, "A,B", "B"},
        {"el único", quimera::BotonSi,
         [](Mundo& m, Rs& rs) { rs = m.Abrir("SELECT * FROM Clientes WHERE Codigo = 'C'"); }, true, "A,B", ""},
    };
    for (const Caso& caso : casos) {
        Mundo m;
        Rs rs = m.Abrir("SELECT * FROM Clientes WHERE Codigo >= 'B' ORDER BY Codigo");
        if (caso.preparar) caso.preparar(m, rs);
        const size_t antes = Dialogos().size();
        if (caso.respuesta) control->Responder({*caso.respuesta});
        EXPECT_EQ(m.acceso.Borrar(rs), caso.resultado) << caso.nombre;
        EXPECT_EQ(Dialogos().size(), antes + (caso.respuesta ? 1 : 0)) << caso.nombre;
        std::string queda;
        for (Rs r = m.Abrir("SELECT Codigo FROM Clientes ORDER BY Codigo"); !r->adoEOF(); r->MoveNext())
            queda += (queda.empty() ? "" : ",") + r->Fields()[0].Value().ToString();
        EXPECT_EQ(queda, caso.queda) << caso.nombre;
        EXPECT_EQ(Modo(rs) < 0 ? "" : rs->Fields()["Codigo"].Value().ToString(), caso.actual) << caso.nombre;
        EXPECT_EQ(m.sucesos.Lista(), caso.resultado ? "AntesBorrar, DespuesBorrar" : "AntesBorrar") << caso.nombre;
        if (std::string_view(caso.nombre) == "el único") {
            EXPECT_EQ(rs->RecordCount(), 0);
        }
    }
    const ui::DialogoGrabado& pregunta = Dialogos().front();
    EXPECT_EQ(pregunta.strTitulo + " | " + pregunta.strInstruccion + " | " + pregunta.strContenido,
              "Confirmación de borrado | Eliminar registro | Está a punto de eliminar los datos del registro actual. "
              "Esta acción no podrá deshacerse ¿Quiere continuar?");
    EXPECT_EQ(pregunta.botones, (std::vector<ui::DialogoGrabado::Boton>{{"Sí", 103}, {"No", 104}}));
    EXPECT_FALSE(pregunta.numBotonPredeterminado.has_value());
    EXPECT_EQ(pregunta.numIconoPrincipal, ui::IconoControlAdvertencia);
}

}  // namespace
