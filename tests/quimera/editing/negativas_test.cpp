// What the editing members refuse before doing anything: a recordset that cannot do the
// operation, no valid record, an edit already running or none to end. Each refusal shows its
// message with one "Aceptar", raises no event and returns false.
#include <gtest/gtest.h>

#include "quimera/editing/BaseEdicion.h"

namespace {

using namespace pruebas;
using quimera::clsAccesoDatos;

class NegativasEdicion : public BaseEdicion {};

TEST_F(NegativasEdicion, MensajePorMetodoYEstado) {
    using Metodo = bool (*)(clsAccesoDatos&, Rs&);
    const Metodo editar = [](clsAccesoDatos& a, Rs& rs) { return a.Editar(rs); };
    const Metodo agregar = [](clsAccesoDatos& a, Rs& rs) { return a.Agregar(rs); };
    const Metodo cancelar = [](clsAccesoDatos& a, Rs& rs) { return a.CancelarActualizacion(rs); };
    const Metodo actualizar = [](clsAccesoDatos& a, Rs& rs) { return a.Actualizar(rs); };
    const Metodo cascada = [](clsAccesoDatos& a, Rs& rs) { return a.ActualizarCascada(rs); };
    const Metodo borrar = [](clsAccesoDatos& a, Rs& rs) { return a.Borrar(rs); };
    enum Estado { AlFinal, EnEdicion, SoloLectura, Quieto, Lotes };
    const std::string proveedor = "Error de proveedor | El proveedor no admite el método ";
    const std::string clase = " | Detectado en la clase: Quimera | 2";
    const std::string actualizarDatos = "Actualizar Datos | Actualizar Datos | No es posible Actualizar. No hay "
                                        "procesos de edición activos | 1";
    const struct {
        Metodo metodo;
        Estado estado;
        std::string dialogo;
    } casos[] = {
        {editar, AlFinal, "Advertencia | Modificar Datos | No es posible editar. No se ha seleccionado un registro "
                          "válido | 1"},
        {editar, EnEdicion, "Advertencia | Modificar Datos | No es posible editar. Ya hay un proceso de edición en "
                            "marcha | 1"},
        {agregar, SoloLectura, proveedor + "agregar" + clase},
        {agregar, EnEdicion, "Añadir Registros | Añadir Registros | No es posible Agregar. Ya hay un proceso de "
                             "edición activo | 1"},
        {cancelar, Quieto, "Error al cancelar | Error al cancelar | No es posible cancelar actualización. No hay "
                           "procesos de edición activos | 2"},
        {actualizar, SoloLectura, proveedor + "actualizar" + clase},
        {actualizar, Quieto, actualizarDatos},
        {cascada, SoloLectura, proveedor + "actualizar" + clase},
        {cascada, Lotes, actualizarDatos},
        {borrar, SoloLectura, proveedor + "borrar" + clase},
        {borrar, AlFinal, "Eliminar Datos | Eliminar Datos | No es posible Borrar. No se ha seleccionado un registro "
                          "válido | 1"},
        {borrar, EnEdicion, "Eliminar Datos | Eliminar Datos | No es posible borrar. Hay un proceso de edición "
                            "activo | 1"},
    };
    for (const auto& caso : casos) {
        Mundo m;
        Rs rs = caso.estado == SoloLectura ? m.Clientes(ado::adLockReadOnly)
                : caso.estado == EnEdicion ? m.Editado()
                : caso.estado == Lotes     ? m.Clientes(ado::adLockBatchOptimistic)
                                           : m.Clientes();
        if (caso.estado == AlFinal) rs->MoveLast(), rs->MoveNext();
        const size_t antes = Dialogos().size();
        EXPECT_FALSE(caso.metodo(m.acceso, rs)) << caso.dialogo;
        EXPECT_EQ(Dialogos().size(), antes + 1) << caso.dialogo;
        EXPECT_EQ(UltimoDialogo(antes), caso.dialogo);
        EXPECT_EQ(Dialogos().back().botones, (std::vector<ui::DialogoGrabado::Boton>{{"Aceptar", 101}}));
        EXPECT_EQ(m.sucesos.lista, "") << caso.dialogo;
    }
    // Translated texts are translated before they are joined.
    Mundo m;
    m.acceso.InicializarPropiedades("", quimera::dnAccess, true, Regional("en"));
    Rs rs = m.Clientes(ado::adLockReadOnly);
    EXPECT_FALSE(m.acceso.Borrar(rs));
    EXPECT_EQ(UltimoDialogo(), "Provider error | The provider does not support deleting records | Detected in class: "
                               "Quimera | 2");
}

}  // namespace
