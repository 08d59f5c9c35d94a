// The failures the editing members recognise, each produced for real by the engine on a
// file (locks held by another connection, rows changed by another user, keys, foreign keys,
// refusals of the engine, deleted records), with the message and what becomes of the change.
#include <gtest/gtest.h>

#include "quimera/editing/BaseEdicion.h"

namespace {

using namespace pruebas;
using quimera::clsAccesoDatos;
using Rs = ado::RecordsetPtr;

class FallosEdicion : public BaseEdicion {};

constexpr const char* kBloqueo = "Información de bloqueos | Información de bloqueos | Imposible ";
constexpr const char* kIntegridadAlta =
    "Integridad referencial | Integridad referencial | No se puede agregar o cambiar el registro porque se necesita "
    "un registro relacionado en otra tabla. (motor: FOREIGN KEY constraint failed) | 1";
constexpr const char* kSinActivo = "Error | No hay un registro activo | Detectado en la clase: Quimera | 2";
constexpr const char* kCancelada =
    "Actualización cancelada | Actualización cancelada | No se ha podido procesar la actualizacion por duplicidad de "
    "indices o consumo de tiempo de espera, inténtelo de nuevo. | 3";

struct Caso {
    const char* nombre;
    std::function<bool(Mundo&, Rs&)> ejecutar;
    std::string eventos;
    std::string dialogo;
    int modo;  // the recordset's edit mode afterwards, -1 when it has no current record
};

// Edits customer A's city.
Rs Editado(Mundo& m, ado::LockTypeEnum numBloqueo = ado::adLockOptimistic) {
    Rs rs = m.Clientes(numBloqueo);
    rs->Fields()["Ciudad"].Value("Lugo");
    return rs;
}
// A new customer with that code (and no name, when none is given).
Rs Nuevo(Mundo& m, const char* codigo, const char* nombre = nullptr) {
    Rs rs = m.Clientes();
    rs->AddNew();
    rs->Fields()["Codigo"].Value(codigo);
    if (nombre) rs->Fields()["Nombre"].Value(nombre);
    return rs;
}
Rs Eliminado(Mundo& m) {
    Rs rs = m.Clientes();
    rs->MoveLast();
    rs->Delete();
    return rs;
}

TEST_F(FallosEdicion, CadaNumeroReconocidoConSuMensajeYSuCambio) {
    const std::string lock = kBloqueo;
    const Caso casos[] = {
        {"Editar, bloqueado",
         [](Mundo& m, Rs& rs) {
             m.Bloquear();
             rs = m.Abrir("SELECT * FROM Clientes", ado::adLockPessimistic, ado::adUseServer);
             return m.acceso.Editar(rs);
         },
         "AntesEditar, ErrorEditar 3260, ErroresADO 3260",
         lock + "editar, el registro está bloqueado por otro usuario | 1", 0},
        {"Editar, integridad",
         [](Mundo& m, Rs& rs) {
             m.En("DespuesEditar", [&] { m.cn->Execute(kSinCliente); });
             return m.acceso.Editar(rs = m.Clientes());
         },
         "AntesEditar, DespuesEditar, ErrorEditar 3201, ErroresADO 3201", kIntegridadAlta, 1},
        {"Editar, fallo del motor: la edición se cancela",
         [](Mundo& m, Rs& rs) {
             m.En("DespuesEditar", [&] { m.cn->Execute(kSinNombre); });
             return m.acceso.Editar(rs = m.Clientes());
         },
         "AntesEditar, DespuesEditar, ErrorEditar -2147467259, ErroresADO -2147467259",
         "Error | Error al editar | Detectado en la clase: Quimera | 2", 0},
        {"Editar, registro eliminado", [](Mundo& m, Rs& rs) { return m.acceso.Editar(rs = Eliminado(m)); },
         "ErrorEditar 3021", kSinActivo, -1},
        {"Agregar, bloqueado",
         [](Mundo& m, Rs& rs) {
             m.Bloquear();
             m.En("AntesAgregar", [&] { m.cn->Execute("UPDATE Clientes SET Ciudad = 'Vigo'"); });
             return m.acceso.Agregar(rs = m.Clientes());
         },
         "AntesAgregar, ErrorAgregar 3260, ErroresADO 3260",
         lock + "agregar, el registro está bloqueado por otro usuario | 1", 0},
        {"Agregar, integridad",
         [](Mundo& m, Rs& rs) {
             m.En("DespuesAgregar", [&] { m.cn->Execute(kSinCliente); });
             return m.acceso.Agregar(rs = m.Clientes());
         },
         "AntesAgregar, DespuesAgregar, ErrorAgregar 3201, ErroresADO 3201", kIntegridadAlta, 2},
        {"Agregar, fallo del motor: el alta se cancela",
         [](Mundo& m, Rs& rs) {
             m.En("DespuesAgregar", [&] { m.cn->Execute(kSinNombre); });
             return m.acceso.Agregar(rs = m.Clientes());
         },
         "AntesAgregar, DespuesAgregar, ErrorAgregar -2147467259, ErroresADO -2147467259",
         "Error al agregar | Error al agregar | Detectado en la clase: Quimera | 2", 0},
        {"Agregar, tras el último registro",
         [](Mundo& m, Rs& rs) {
             rs = m.Clientes();
             rs->MoveLast();
             rs->MoveNext();
             return m.acceso.Agregar(rs);
         },
         "ErrorAgregar 3021", kSinActivo, -1},
        {"CancelarActualizacion, fallo del motor",
         [](Mundo& m, Rs& rs) {
             m.En("AntesCancelarActualizacion", [&] { m.cn->Execute(kSinNombre); });
             return m.acceso.CancelarActualizacion(rs = Editado(m));
         },
         "AntesCancelarActualizacion 1, ErrorCancelarActualizacion -2147467259, ErroresADO -2147467259",
         "Error al cancelar | Error al cancelar la actualización | Detectado en la clase: Quimera | 2", 1},
        {"Actualizar, clave duplicada", [](Mundo& m, Rs& rs) { return m.acceso.Actualizar(rs = Nuevo(m, "A", "x")); },
         "AntesActualizar 2, ErrorActualizar -2147217873 0, ErroresADO -2147217873", kCancelada, 0},
        {"Actualizar, clave duplicada sin mensaje",
         [](Mundo& m, Rs& rs) { return m.acceso.Actualizar(rs = Nuevo(m, "A", "x"), true); },
         "AntesActualizar 2, ErrorActualizar -2147217873 0, ErroresADO -2147217873", "", 0},
        {"Actualizar, cambiado por otro usuario (mensaje siempre)",
         [](Mundo& m, Rs& rs) {
             rs = Editado(m);
             m.Otro("UPDATE Clientes SET Ciudad = 'Vigo' WHERE Codigo = 'A'");
             return m.acceso.Actualizar(rs, true);
         },
         "AntesActualizar 1, ErrorActualizar -2147217864 0, ErroresADO -2147217864",
         "Actualización cancelada | Actualización cancelada | No se pueden guardar los cambios porque otro usuario ha "
         "realizado los mismos cambios en este registro desde la ultima vez que actualizó sus datos. Cancele la "
         "edición actual y actualize la consulta actual para poder editar este registro. | 1",
         0},
        {"Actualizar, bloqueado: el cambio sigue pendiente",
         [](Mundo& m, Rs& rs) {
             m.Bloquear();
             return m.acceso.Actualizar(rs = Editado(m));
         },
         "AntesActualizar 1, ErrorActualizar 3260 0, ErroresADO 3260",
         lock + "Actualizar, el registro está bloqueado por otro usuario | 1", 1},
        {"Actualizar, bloqueado sin mensaje",
         [](Mundo& m, Rs& rs) {
             m.Bloquear();
             return m.acceso.Actualizar(rs = Editado(m), true);
         },
         "AntesActualizar 1, ErrorActualizar 3260 0, ErroresADO 3260", "", 1},
        {"Actualizar, integridad (mensaje siempre)",
         [](Mundo& m, Rs& rs) {
             rs = m.Abrir("SELECT * FROM Pedidos ORDER BY Numero");
             rs->Fields()["Codigo"].Value("Z");
             return m.acceso.Actualizar(rs, true);
         },
         "AntesActualizar 1, ErrorActualizar 3201 0, ErroresADO 3201", kIntegridadAlta, 1},
        {"Actualizar, fallo del motor", [](Mundo& m, Rs& rs) { return m.acceso.Actualizar(rs = Nuevo(m, "Q")); },
         "AntesActualizar 2, ErrorActualizar -2147467259 0, ErroresADO -2147467259",
         "Error al actualizar | Error al actualizar. Descripción: Error no especificado (motor: NOT NULL constraint "
         "failed: Clientes.Nombre) | Detectado en la clase: Quimera | 2",
         2},
        {"Actualizar, fallo del motor sin mensaje",
         [](Mundo& m, Rs& rs) { return m.acceso.Actualizar(rs = Nuevo(m, "Q"), true); },
         "AntesActualizar 2, ErrorActualizar -2147467259 0, ErroresADO -2147467259", "", 2},
        {"Actualizar, tiempo de espera agotado",
         [](Mundo& m, Rs& rs) {
             m.cn->CommandTimeout(1);
             m.En("AntesActualizar", [&] { m.cn->Execute(kInterminable); });
             return m.acceso.Actualizar(rs = Editado(m));
         },
         "AntesActualizar 1, ErrorActualizar -2147217871 0, ErroresADO -2147217871", kCancelada, 0},
        {"Actualizar, registro eliminado", [](Mundo& m, Rs& rs) { return m.acceso.Actualizar(rs = Eliminado(m)); },
         "ErrorActualizar 3021 0", kSinActivo, -1},
        {"ActualizarCascada, integridad",
         [](Mundo& m, Rs& rs) {
             m.En("AntesActualizar", [&] { m.cn->Execute(kSinCliente); });
             return m.acceso.ActualizarCascada(rs = Editado(m, ado::adLockBatchOptimistic));
         },
         "AntesActualizar 1, ErrorActualizar 3201 0, ErroresADO 3201", kIntegridadAlta, 1},
        {"ActualizarCascada, fallo del motor",
         [](Mundo& m, Rs& rs) {
             m.En("AntesActualizar", [&] { m.cn->Execute(kSinNombre); });
             return m.acceso.ActualizarCascada(rs = Editado(m, ado::adLockBatchOptimistic));
         },
         "AntesActualizar 1, ErrorActualizar -2147467259 0, ErroresADO -2147467259",
         "Error | Error al actualizar | Detectado en la clase: Quimera | 2", 1},
        {"Borrar, integridad: la fila sigue y sale de edición",
         [](Mundo& m, Rs& rs) { return m.acceso.Borrar(rs = m.Clientes(), false); },
         "AntesBorrar, ErrorBorrar 3200, ErroresADO 3200",
         "Integridad referencial | Integridad referencial | No se puede eliminar o cambiar el registro porque otra "
         "tabla tiene registros relacionados. (motor: FOREIGN KEY constraint failed) | 1",
         0},
        {"Borrar, bloqueado",
         [](Mundo& m, Rs& rs) {
             m.Bloquear();
             rs = m.Clientes();
             rs->MoveLast();
             return m.acceso.Borrar(rs, false);
         },
         "AntesBorrar, ErrorBorrar 3260, ErroresADO 3260",
         lock + "borrar, el registro está bloqueado por otro usuario | 1", 0},
        {"Borrar, el motor se niega (blnBloqueos calla)",
         [](Mundo& m, Rs& rs) {
             return m.acceso.Borrar(rs = m.Abrir("SELECT * FROM Pedidos WHERE Numero = 99"), false);
         },
         "AntesBorrar, ErrorBorrar -2147467259, ErroresADO -2147467259", "", 0},
        {"Borrar, el motor se niega sin blnBloqueos",
         [](Mundo& m, Rs& rs) {
             return m.acceso.Borrar(rs = m.Abrir("SELECT * FROM Pedidos WHERE Numero = 99"), false, false);
         },
         "AntesBorrar, ErrorBorrar -2147467259, ErroresADO -2147467259",
         "Error al borrar | Error al borrar | Detectado en la clase: Quimera | 2", 0},
        {"Borrar, registro eliminado", [](Mundo& m, Rs& rs) { return m.acceso.Borrar(rs = Eliminado(m), false); },
         "ErrorBorrar 3021", kSinActivo, -1},
    };
    for (const Caso& caso : casos) {
        Mundo m;
        Rs rs;
        const size_t antes = Dialogos().size();
        EXPECT_FALSE(caso.ejecutar(m, rs)) << caso.nombre;
        EXPECT_EQ(m.sucesos.Lista(), caso.eventos) << caso.nombre;
        EXPECT_EQ(UltimoDialogo(antes), caso.dialogo) << caso.nombre;
        EXPECT_LE(Dialogos().size() - antes, 1u) << caso.nombre;
        EXPECT_EQ(Modo(rs), caso.modo) << caso.nombre;
        EXPECT_EQ(m.cn->Errors().Count(), 0) << caso.nombre;
    }
    EXPECT_TRUE(registro.informes.empty()) << "recognised numbers never reach the error manager";
}

}  // namespace
