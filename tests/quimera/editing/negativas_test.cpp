// What the editing members refuse before doing anything: a recordset that cannot do the
// operation, no valid record, an edit already running or none to end. Each refusal shows its
// message with one "Aceptar", raises no event and returns false.
#include <gtest/gtest.h>

#include "quimera/editing/Mundo.h"

namespace {

using namespace pruebas;

class NegativasEdicion : public EntornoQuimera {};

TEST_F(NegativasEdicion, MensajePorMetodoYEstado) {
    enum Estado { AlFinal, EnEdicion, Agregando, SoloLectura, Quieto, Lotes };
    const std::string proveedor = "Error de proveedor | El proveedor no admite el método ";
    const std::string clase = " | Detectado en la clase: Quimera | 2";
    const std::string actualizarDatos = "Actualizar Datos | Actualizar Datos | No es posible Actualizar. No hay "
                                        "procesos de edición activos | 1";
    const struct {
        Miembro miembro;
        Estado estado;
        std::string dialogo;
    } casos[] = {
        {Editar, AlFinal, "Advertencia | Modificar Datos | No es posible editar. No se ha seleccionado un registro "
                          "válido | 1"},
        {Editar, EnEdicion, "Advertencia | Modificar Datos | No es posible editar. Ya hay un proceso de edición en "
                            "marcha | 1"},
        // Any edit mode refuses, an addition as much as a change.
        {Editar, Agregando, "Advertencia | Modificar Datos | No es posible editar. Ya hay un proceso de edición en "
                            "marcha | 1"},
        {Agregar, SoloLectura, proveedor + "agregar" + clase},
        {Agregar, EnEdicion, "Añadir Registros | Añadir Registros | No es posible Agregar. Ya hay un proceso de "
                             "edición activo | 1"},
        {Cancelar, Quieto, "Error al cancelar | Error al cancelar | No es posible cancelar actualización. No hay "
                           "procesos de edición activos | 2"},
        {Actualizar, SoloLectura, proveedor + "actualizar" + clase},
        {Actualizar, Quieto, actualizarDatos},
        {Cascada, SoloLectura, proveedor + "actualizar" + clase},
        {Cascada, Lotes, actualizarDatos},
        {Borrar, SoloLectura, proveedor + "borrar" + clase},
        {Borrar, AlFinal, "Eliminar Datos | Eliminar Datos | No es posible Borrar. No se ha seleccionado un registro "
                          "válido | 1"},
        {Borrar, EnEdicion, "Eliminar Datos | Eliminar Datos | No es posible borrar. Hay un proceso de edición "
                            "activo | 1"},
    };
    for (const auto& caso : casos) {
        Mundo m;
        Rs rs = caso.estado == SoloLectura ? m.Clientes(ado::adLockReadOnly)
                : caso.estado == EnEdicion ? m.Editado()
                : caso.estado == Agregando ? m.Nuevo("Z")
                : caso.estado == Lotes     ? m.Clientes(ado::adLockBatchOptimistic)
                : caso.estado == AlFinal   ? m.AlFinal()
                                           : m.Clientes();
        const size_t antes = Dialogos().size();
        EXPECT_FALSE(caso.miembro(m, rs)) << caso.dialogo;
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
