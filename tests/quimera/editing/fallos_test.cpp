// The failures the editing members recognise, each produced for real by the engine (a lock
// held by another connection, a row changed by another user, keys, foreign keys, the
// engine's refusals, a time limit, deleted records): the message, and the change kept or not.
#include <gtest/gtest.h>

#include "quimera/editing/BaseEdicion.h"

namespace {

using namespace pruebas;

class FallosEdicion : public BaseEdicion {};

constexpr const char* kIntegridad = "se necesita un registro relacionado en otra tabla. (motor: FOREIGN KEY";
constexpr const char* kSinActivo = "Error | No hay un registro activo | Detectado en la clase: Quimera | 2";
constexpr const char* kCancelada = "duplicidad de indices o consumo de tiempo de espera, inténtelo de nuevo. | 3";
constexpr const char* kMotor = "Error al actualizar. Descripción: Error no especificado (motor: NOT NULL";
constexpr const char* kPedido99 = "SELECT * FROM Pedidos WHERE Numero = 99";

TEST_F(FallosEdicion, CadaNumeroReconocidoConSuMensajeYSuCambio) {
    struct Caso {
        std::function<bool(Mundo&, Rs&)> ejecutar;
        const char* evento;  // the Error… event with the failure's number
        const char* aviso;   // a piece of the dialog ("title | heading | text | icon"), "" for none
        int modo;            // the edit mode afterwards, -1 with no current record
    } casos[] = {
        {[](Mundo& m, Rs& rs) {
             m.Bloquear();
             return m.acceso.Editar(rs = m.Abrir("SELECT * FROM Clientes", ado::adLockPessimistic, ado::adUseServer));
         },
         "ErrorEditar 3260", "Imposible editar, el registro está bloqueado por otro usuario | 1", 0},
        {[](Mundo& m, Rs& rs) { return m.En("DespuesEditar", kSinCliente), m.acceso.Editar(rs = m.Clientes()); },
         "ErrorEditar 3201", kIntegridad, 1},
        {[](Mundo& m, Rs& rs) { return m.En("DespuesEditar", kSinNombre), m.acceso.Editar(rs = m.Clientes()); },
         "ErrorEditar -2147467259", "Error | Error al editar | Detectado en la clase: Quimera | 2", 0},
        {[](Mundo& m, Rs& rs) { return m.acceso.Editar(rs = m.Eliminado()); }, "ErrorEditar 3021", kSinActivo, -1},
        {[](Mundo& m, Rs& rs) {
             m.Bloquear();
             m.En("AntesAgregar", "UPDATE Clientes SET Ciudad = 'Vigo'");
             return m.acceso.Agregar(rs = m.Clientes());
         },
         "ErrorAgregar 3260", "Imposible agregar, el registro está bloqueado por otro usuario | 1", 0},
        {[](Mundo& m, Rs& rs) { return m.En("DespuesAgregar", kSinCliente), m.acceso.Agregar(rs = m.Clientes()); },
         "ErrorAgregar 3201", kIntegridad, 2},
        {[](Mundo& m, Rs& rs) { return m.En("DespuesAgregar", kSinNombre), m.acceso.Agregar(rs = m.Clientes()); },
         "ErrorAgregar -2147467259", "Error al agregar | Error al agregar | Detectado en la clase: Quimera | 2", 0},
        {[](Mundo& m, Rs& rs) {
             rs = m.Clientes();
             rs->MoveLast();
             rs->MoveNext();
             return m.acceso.Agregar(rs);
         },
         "ErrorAgregar 3021", kSinActivo, -1},
        {[](Mundo& m, Rs& rs) {
             m.En("AntesCancelarActualizacion", kSinNombre);
             return m.acceso.CancelarActualizacion(rs = m.Editado());
         },
         "ErrorCancelarActualizacion -2147467259", "Error al cancelar la actualización | Detectado en la clase", 1},
        {[](Mundo& m, Rs& rs) { return m.acceso.Actualizar(rs = m.Nuevo("A", "x")); },
         "ErrorActualizar -2147217873 0", kCancelada, 0},
        {[](Mundo& m, Rs& rs) { return m.acceso.Actualizar(rs = m.Nuevo("A", "x"), true); },
         "ErrorActualizar -2147217873 0", "", 0},
        {[](Mundo& m, Rs& rs) {
             rs = m.Editado();
             m.Otro("UPDATE Clientes SET Ciudad = 'Vigo' WHERE Codigo = 'A'");
             return m.acceso.Actualizar(rs, true);  // shown all the same
         },
         "ErrorActualizar -2147217864 0", "actualize la consulta actual para poder editar este registro. | 1", 0},
        {[](Mundo& m, Rs& rs) { return m.Bloquear(), m.acceso.Actualizar(rs = m.Editado()); },
         "ErrorActualizar 3260 0", "Imposible Actualizar, el registro está bloqueado por otro usuario | 1", 1},
        {[](Mundo& m, Rs& rs) { return m.Bloquear(), m.acceso.Actualizar(rs = m.Editado(), true); },
         "ErrorActualizar 3260 0", "", 1},
        {[](Mundo& m, Rs& rs) {
             rs = m.Abrir("SELECT * FROM Pedidos ORDER BY Numero");
             rs->Fields()["Codigo"].Value("Z");
             return m.acceso.Actualizar(rs, true);  // shown all the same
         },
         "ErrorActualizar 3201 0", kIntegridad, 1},
        {[](Mundo& m, Rs& rs) { return m.acceso.Actualizar(rs = m.Nuevo("Q")); }, "ErrorActualizar -2147467259 0",
         kMotor, 2},
        {[](Mundo& m, Rs& rs) { return m.acceso.Actualizar(rs = m.Nuevo("Q"), true); },
         "ErrorActualizar -2147467259 0", "", 2},
        {[](Mundo& m, Rs& rs) {
             m.cn->CommandTimeout(1);
             m.En("AntesActualizar", kInterminable);
             return m.acceso.Actualizar(rs = m.Editado());
         },
         "ErrorActualizar -2147217871 0", kCancelada, 0},
        {[](Mundo& m, Rs& rs) { return m.acceso.Actualizar(rs = m.Eliminado()); }, "ErrorActualizar 3021 0",
         kSinActivo, -1},
        {[](Mundo& m, Rs& rs) {
             m.En("AntesActualizar", kSinCliente);
             return m.acceso.ActualizarCascada(rs = m.Editado(ado::adLockBatchOptimistic));
         },
         "ErrorActualizar 3201 0", kIntegridad, 1},
        {[](Mundo& m, Rs& rs) {
             m.En("AntesActualizar", kSinNombre);
             return m.acceso.ActualizarCascada(rs = m.Editado(ado::adLockBatchOptimistic));
         },
         "ErrorActualizar -2147467259 0", "Error | Error al actualizar | Detectado en la clase: Quimera | 2", 1},
        {[](Mundo& m, Rs& rs) { return m.acceso.Borrar(rs = m.Clientes(), false); }, "ErrorBorrar 3200",
         "otra tabla tiene registros relacionados. (motor: FOREIGN KEY constraint failed) | 1", 0},
        {[](Mundo& m, Rs& rs) {
             m.Bloquear();
             rs = m.Clientes();
             rs->MoveLast();
             return m.acceso.Borrar(rs, false);
         },
         "ErrorBorrar 3260", "Imposible borrar, el registro está bloqueado por otro usuario | 1", 0},
        {[](Mundo& m, Rs& rs) { return m.acceso.Borrar(rs = m.Abrir(kPedido99), false); }, "ErrorBorrar -2147467259",
         "", 0},
        {[](Mundo& m, Rs& rs) { return m.acceso.Borrar(rs = m.Abrir(kPedido99), false, false); },
         "ErrorBorrar -2147467259", "Error al borrar | Error al borrar | Detectado en la clase: Quimera | 2", 0},
        {[](Mundo& m, Rs& rs) { return m.acceso.Borrar(rs = m.Eliminado(), false); }, "ErrorBorrar 3021", kSinActivo,
         -1},
    };
    for (const Caso& caso : casos) {
        Mundo m;
        Rs rs;
        const size_t antes = Dialogos().size();
        EXPECT_FALSE(caso.ejecutar(m, rs)) << caso.evento;
        EXPECT_NE(m.sucesos.lista.find(caso.evento), std::string::npos) << caso.evento << ": " << m.sucesos.lista;
        // The engine's failures left ADO errors: published without the report, then cleared.
        EXPECT_EQ(m.sucesos.lista.find("ErroresADO") != std::string::npos, caso.modo >= 0) << caso.evento;
        EXPECT_EQ(m.cn->Errors().Count(), 0) << caso.evento;
        EXPECT_LE(Dialogos().size() - antes, 1u) << caso.evento;
        if (*caso.aviso) {
            EXPECT_NE(UltimoDialogo(antes).find(caso.aviso), std::string::npos) << caso.evento << ": "
                                                                                << UltimoDialogo(antes);
        } else {
            EXPECT_EQ(UltimoDialogo(antes), "") << caso.evento;
        }
        EXPECT_EQ(Modo(rs), caso.modo) << caso.evento;
    }
    EXPECT_TRUE(registro.informes.empty()) << "recognised numbers never reach the error manager";
}

}  // namespace
