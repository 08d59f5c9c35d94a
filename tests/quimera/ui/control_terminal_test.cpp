// The terminal dialog control, driven by the dialog routine: what it draws and how it reads
// the choice.
#include <gtest/gtest.h>

#include <sstream>

#include "quimera/apoyo/EntornoQuimera.h"

namespace {

using namespace quimera;

class ControlTerminal : public pruebas::EntornoQuimera {
protected:
    int32_t Mostrar(const std::string& entrada, bool blnInteractivo, ParametrosDialogo& p) {
        std::istringstream lectura(entrada);
        salida.str("");
        ui::InstalarFabricaControlDialogo(
            [&] { return std::make_shared<ui::ControlTerminal>(lectura, salida, blnInteractivo); });
        return MostrarDialogoMensaje(p);
    }

    ParametrosDialogo Confirmacion() {
        return {.pObjRegional = pruebas::Regional("es"), .strTitulo = "Confirmación de borrado",
                .strInstruccion = "Eliminar registro", .strContenido = "¿Quiere continuar?", .numIcono = 2,
                .numBoton1 = 103, .numBoton2 = 104, .numBoton3 = 102, .numBotonDefecto = 104,
                .strInformacionDetallada = "Detalle", .strTextoCasilla = "Recordar"};
    }

    std::ostringstream salida;
};

TEST_F(ControlTerminal, DibujaElDialogo) {
    ParametrosDialogo p = Confirmacion();
    EXPECT_EQ(Mostrar("", false, p), 104);
    EXPECT_EQ(salida.str(),
              "\n== Confirmación de borrado ==\n(!) Eliminar registro\n¿Quiere continuar?\n"
              "[d] Mostrar información detallada\n[c] [ ] Recordar\n"
              "  1) Sí  2) No *  3) Cancelar  [x]\n");
}

TEST_F(ControlTerminal, LeeLaEleccion) {
    const std::pair<const char*, int32_t> casos[] = {
        {"1\n", 103}, {"\n", 104}, {"x\n", 102}, {"9\nz\n 2 \n", 104}, {"", 104}, {"d\nc\n3\n", 102},
    };
    for (const auto& [entrada, resultado] : casos) {
        ParametrosDialogo p = Confirmacion();
        EXPECT_EQ(Mostrar(entrada, true, p), resultado) << entrada;
        EXPECT_EQ(p.blnCasilla, std::string(entrada).find('c') != std::string::npos) << entrada;
    }
    EXPECT_NE(salida.str().find("[d] Ocultar información detallada\nDetalle\n[c] [X] Recordar"), std::string::npos);
}

}  // namespace
