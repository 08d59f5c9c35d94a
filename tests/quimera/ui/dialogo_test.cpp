// The message dialog routine: buttons, default, dismissal, icons, settings, translation,
// the check box handed back and the busy mark.
#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

#include "quimera/apoyo/EntornoQuimera.h"

namespace {

using namespace quimera;
using Boton = ui::DialogoGrabado::Boton;

class Dialogo : public pruebas::EntornoQuimera {
protected:
    ParametrosDialogo Parametros(std::array<int32_t, 6> botones = {101, 100, 100, 100, 100, 100},
                                 int32_t numBotonDefecto = 101) {
        ParametrosDialogo p{.pObjRegional = pruebas::Regional("es_ES")};
        std::tie(p.numBoton1, p.numBoton2, p.numBoton3, p.numBoton4, p.numBoton5, p.numBoton6) =
            std::tuple_cat(botones);
        p.numBotonDefecto = numBotonDefecto;
        return p;
    }
};

TEST_F(Dialogo, BotonesPredeterminadoYCierreSinBoton) {
    struct Caso {
        std::array<int32_t, 6> botones;
        int32_t numBotonDefecto;
        std::vector<Boton> esperados;
        std::optional<int32_t> predeterminado;
        bool blnCierreSinBoton;
    };
    const Caso casos[] = {
        {{100, 100, 100, 100, 100, 100}, 101, {}, std::nullopt, true},
        {{0, 0, 0, 0, 0, 0}, 101, {}, std::nullopt, false},
        {{103, 104, 100, 100, 100, 100}, 101, {{"Sí", 103}, {"No", 104}}, std::nullopt, false},
        {{100, 100, 100, 100, 100, 102}, 101, {{"Cancelar", 102}}, std::nullopt, true},
        {{0, 114, 101, 99, 100, 100}, 101, {{"Aceptar", 101}}, 101, false},
        {{105, 106, 107, 101, 101, 102}, 106,
         {{"Reintentar", 105}, {"Ignorar", 106}, {"Anular", 107}, {"Aceptar", 101}, {"Aceptar", 101},
          {"Cancelar", 102}}, 106, true},
        {{113, 112, 111, 110, 109, 108}, 110,
         {{"Cuatro", 113}, {"Tres", 112}, {"Dos", 111}, {"Aceptar", 110}, {"Cerrar", 109}, {"Ayuda", 108}},
         110, false},
    };
    for (const Caso& caso : casos) {
        ParametrosDialogo p = Parametros(caso.botones, caso.numBotonDefecto);
        // Custom captions go as given, never translated.
        p.strBotonPropio1 = "Aceptar", p.strBotonPropio2 = "Dos";
        p.strBotonPropio3 = "Tres", p.strBotonPropio4 = "Cuatro";
        MostrarDialogoMensaje(p);
        const ui::DialogoGrabado& d = Dialogos().back();
        EXPECT_EQ(d.botones, caso.esperados);
        EXPECT_EQ(d.numBotonPredeterminado, caso.predeterminado);
        EXPECT_EQ(d.blnCierreSinBoton, caso.blnCierreSinBoton);
    }
}

TEST_F(Dialogo, RespuestasYCasilla) {
    struct Caso {
        std::array<int32_t, 6> botones;
        std::optional<ui::RespuestaDialogo> respuesta;  // none: nobody chooses
        bool blnCasillaInicial;
        int32_t resultado;
        bool blnCasillaFinal;
    };
    const Caso casos[] = {
        {{103, 104, 100, 100, 100, 100}, ui::RespuestaDialogo{104, false}, true, 104, false},
        {{103, 104, 100, 100, 100, 100}, std::nullopt, true, 103, true},  // no default: the first
        {{101, 102, 100, 100, 100, 100}, ui::RespuestaDialogo{ui::IdCierreSinBoton, true}, false, 102, true},
        {{100, 100, 100, 100, 100, 100}, std::nullopt, false, 102, false},
        {{104, 101, 100, 100, 100, 100}, std::nullopt, false, 101, false},  // the default
    };
    for (const Caso& caso : casos) {
        if (caso.respuesta) control->Responder(*caso.respuesta);
        ParametrosDialogo p = Parametros(caso.botones);
        p.strTextoCasilla = "No volver a preguntar";
        p.blnCasilla = caso.blnCasillaInicial;
        EXPECT_EQ(MostrarDialogoMensaje(p), caso.resultado);
        EXPECT_EQ(p.blnCasilla, caso.blnCasillaFinal);
        EXPECT_EQ(Dialogos().back().blnCasillaInicial, caso.blnCasillaInicial);
    }
}

TEST_F(Dialogo, Iconos) {
    const std::pair<int32_t, std::optional<int32_t>> casos[] = {
        {1, 3}, {2, 1}, {3, 2}, {4, 3}, {5, 2}, {6, 3}, {7, 3}, {0, std::nullopt}, {8, std::nullopt},
    };
    for (const auto& [numCodigo, valor] : casos) {
        ParametrosDialogo p = Parametros();
        p.numIcono = numCodigo, p.numIconoPie = 2;
        MostrarDialogoMensaje(p);
        p.numIcono = 3, p.numIconoPie = numCodigo;
        MostrarDialogoMensaje(p);
        const ui::DialogoGrabado &principal = Dialogos().end()[-2], &pie = Dialogos().end()[-1];
        EXPECT_EQ(std::tie(principal.numIconoPrincipal, principal.numIconoPie, pie.numIconoPrincipal, pie.numIconoPie),
                  std::make_tuple(valor, ui::IconoControlAdvertencia, ui::IconoControlError, valor))
            << numCodigo;
    }
}

TEST_F(Dialogo, AjustesQueSoloPasan) {
    using enum ui::Ajuste;
    for (const int32_t numAjuste : {0, -3, 250}) {
        ParametrosDialogo p = Parametros();
        p.blnAjuste1 = true, p.blnAjuste4 = true, p.numAjuste = numAjuste;
        MostrarDialogoMensaje(p);
        std::map<ui::Ajuste, int32_t> esperados{{Preparacion, 1}, {Ajuste1, 1}, {Ajuste2, 0}, {Activacion, 1},
                                                {Ajuste4, 1},     {Ajuste3, 0}, {Menor, 0},   {Presentacion, 1}};
        if (numAjuste > 0) esperados[Numerico] = numAjuste;
        EXPECT_EQ(Dialogos().back().ajustes, esperados);
    }
}

TEST_F(Dialogo, CadaTextoFijoSeTraduce) {
    ParametrosDialogo p = Parametros({101, 102, 110, 100, 100, 100});
    p.pObjRegional = pruebas::Regional("en_GB.UTF-8");
    p.strTitulo = "Advertencia";
    p.strInstruccion = "Modificar Datos";
    p.strContenido = "No es posible editar. Ya hay un proceso de edición en marcha";
    p.strPie = "Error";
    p.strTextoCasilla = "Descripción: ";
    p.strInformacionDetallada = "Un texto sin traducción";
    p.strBotonPropio1 = "Sí";
    MostrarDialogoMensaje(p);
    const ui::DialogoGrabado& d = Dialogos().back();
    EXPECT_EQ(std::tie(d.strTitulo, d.strInstruccion, d.strContenido, d.strPie, d.strTextoCasilla),
              std::make_tuple("Warning", "Edit Data", "Cannot edit. An edit is already in progress", "Error",
                              "Description: "));
    EXPECT_EQ(std::tie(d.strInformacionDetallada, d.strTextoMostrar, d.strTextoOcultar),
              std::make_tuple("Un texto sin traducción", "Show details", "Hide details"));
    EXPECT_EQ(d.botones, (std::vector<Boton>{{"OK", 101}, {"Cancel", 102}, {"Sí", 110}}));
}

TEST_F(Dialogo, LaMarcaDeOcupado) {
    // A dialog open refuses another, which answers 0 and leaves its check box as it was.
    int32_t anidado = -1;
    ParametrosDialogo otro = Parametros();
    otro.blnCasilla = true;
    control->AlMostrar([&](const ui::DialogoGrabado&) { anidado = MostrarDialogoMensaje(otro); });
    EXPECT_EQ(MostrarDialogoMensaje(Parametros()), 101);
    EXPECT_EQ(anidado, 0);
    EXPECT_TRUE(otro.blnCasilla);
    EXPECT_EQ(Dialogos().size(), 1u);
    control->AlMostrar({});

    // A failure inside clears the mark: a dismissal without Cancelar, no regional object.
    control->Responder({ui::IdCierreSinBoton});
    EXPECT_THROW(MostrarDialogoMensaje(Parametros({103, 104, 100, 100, 100, 100})), std::logic_error);
    EXPECT_EQ(MostrarDialogoMensaje(Parametros()), 101);
    ParametrosDialogo sinRegional = Parametros();
    sinRegional.pObjRegional = nullptr;
    EXPECT_EQ(testsupport::ErrorNumberOf([&] { MostrarDialogoMensaje(sinRegional); }), 91);
    EXPECT_EQ(MostrarDialogoMensaje(Parametros()), 101);
}

}  // namespace
