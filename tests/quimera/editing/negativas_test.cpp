// What the editing members refuse before doing anything: a recordset that cannot do the
// operation, no valid record, an edit already running or none to end. Each refusal shows its
// message, raises no event and returns false.
#include <gtest/gtest.h>

#include "quimera/editing/BaseEdicion.h"

namespace {

using namespace pruebas;
using Rs = ado::RecordsetPtr;

class NegativasEdicion : public BaseEdicion {};

TEST_F(NegativasEdicion, MensajePorMetodoYEstado) {
    const auto alFinal = [](Rs rs) {
        rs->MoveLast();
        rs->MoveNext();
        return rs;
    };
    const auto editado = [](Rs rs) {
        rs->Fields()["Ciudad"].Value("Lugo");
        return rs;
    };
    const std::string proveedor = "Error de proveedor | El proveedor no admite el método ";
    const std::string clase = " | Detectado en la clase: Quimera | 2";
    struct Caso {
        const char* nombre;
        std::function<bool(Mundo&, Rs&)> ejecutar;
        std::string dialogo;
    } casos[] = {
        {"Editar tras el último", [&](Mundo& m, Rs& rs) { return m.acceso.Editar(rs = alFinal(m.Clientes())); },
         "Advertencia | Modificar Datos | No es posible editar. No se ha seleccionado un registro válido | 1"},
        {"Editar en edición", [&](Mundo& m, Rs& rs) { return m.acceso.Editar(rs = editado(m.Clientes())); },
         "Advertencia | Modificar Datos | No es posible editar. Ya hay un proceso de edición en marcha | 1"},
        {"Agregar de sólo lectura",
         [&](Mundo& m, Rs& rs) { return m.acceso.Agregar(rs = m.Clientes(ado::adLockReadOnly)); },
         proveedor + "agregar" + clase},
        {"Agregar en edición", [&](Mundo& m, Rs& rs) { return m.acceso.Agregar(rs = editado(m.Clientes())); },
         "Añadir Registros | Añadir Registros | No es posible Agregar. Ya hay un proceso de edición activo | 1"},
        {"CancelarActualizacion sin edición",
         [&](Mundo& m, Rs& rs) { return m.acceso.CancelarActualizacion(rs = m.Clientes()); },
         "Error al cancelar | Error al cancelar | No es posible cancelar actualización. No hay procesos de edición "
         "activos | 2"},
        {"Actualizar de sólo lectura",
         [&](Mundo& m, Rs& rs) { return m.acceso.Actualizar(rs = m.Clientes(ado::adLockReadOnly)); },
         proveedor + "actualizar" + clase},
        {"Actualizar sin edición", [&](Mundo& m, Rs& rs) { return m.acceso.Actualizar(rs = m.Clientes()); },
         "Actualizar Datos | Actualizar Datos | No es posible Actualizar. No hay procesos de edición activos | 1"},
        {"ActualizarCascada de sólo lectura",
         [&](Mundo& m, Rs& rs) { return m.acceso.ActualizarCascada(rs = m.Clientes(ado::adLockReadOnly)); },
         proveedor + "actualizar" + clase},
        {"ActualizarCascada sin edición",
         [&](Mundo& m, Rs& rs) { return m.acceso.ActualizarCascada(rs = m.Clientes(ado::adLockBatchOptimistic)); },
         "Actualizar Datos | Actualizar Datos | No es posible Actualizar. No hay procesos de edición activos | 1"},
        {"Borrar de sólo lectura",
         [&](Mundo& m, Rs& rs) { return m.acceso.Borrar(rs = m.Clientes(ado::adLockReadOnly)); },
         proveedor + "borrar" + clase},
        {"Borrar tras el último", [&](Mundo& m, Rs& rs) { return m.acceso.Borrar(rs = alFinal(m.Clientes())); },
         "Eliminar Datos | Eliminar Datos | No es posible Borrar. No se ha seleccionado un registro válido | 1"},
        {"Borrar en edición", [&](Mundo& m, Rs& rs) { return m.acceso.Borrar(rs = editado(m.Clientes())); },
         "Eliminar Datos | Eliminar Datos | No es posible borrar. Hay un proceso de edición activo | 1"},
    };
    for (const Caso& caso : casos) {
        Mundo m;
        Rs rs;
        const size_t antes = Dialogos().size();
        EXPECT_FALSE(caso.ejecutar(m, rs)) << caso.nombre;
        EXPECT_EQ(Dialogos().size(), antes + 1) << caso.nombre;
        EXPECT_EQ(UltimoDialogo(antes), caso.dialogo) << caso.nombre;
        EXPECT_EQ(Dialogos().back().botones, (std::vector<ui::DialogoGrabado::Boton>{{"Aceptar", 101}}));
        EXPECT_TRUE(m.sucesos.lista.empty()) << caso.nombre << ": " << m.sucesos.Lista();
    }
}

TEST_F(NegativasEdicion, LosTextosTraducidosSeUnenYaTraducidos) {
    Mundo m;
    m.acceso.InicializarPropiedades("", quimera::dnAccess, true, Regional("en"));
    Rs rs = m.Clientes(ado::adLockReadOnly);
    EXPECT_FALSE(m.acceso.Borrar(rs));
    EXPECT_EQ(UltimoDialogo(),
              "Provider error | The provider does not support deleting records | Detected in class: Quimera | 2");
}

}  // namespace
