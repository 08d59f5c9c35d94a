// The dialog control without a user: safe answers, and a trace of what was not shown.
#include "quimera/ControlSinUsuario.h"

#include <algorithm>
#include <ostream>

#include "quimera/components/centinela.h"
#include "quimera/MostrarDialogoMensaje.h"

namespace ui {

namespace {

// The buttons that change nothing, the safest first.
constexpr int32_t kBotonesSeguros[] = {quimera::BotonNo, quimera::BotonCancelar, quimera::BotonAnular,
                                       quimera::BotonCerrar, quimera::BotonAceptar};

// The caption of the button with that identifier ("" for a dismissal).
std::string Rotulo(const DialogoGrabado& dialogo, int32_t numId) {
    const auto boton = std::ranges::find(dialogo.botones, numId, &DialogoGrabado::Boton::numId);
    return boton == dialogo.botones.end() ? std::string() : boton->strTexto;
}

}  // namespace

RespuestaDialogo RespuestaSegura(const DialogoGrabado& dialogo) {
    for (const int32_t numId : kBotonesSeguros)
        if (std::ranges::find(dialogo.botones, numId, &DialogoGrabado::Boton::numId) != dialogo.botones.end())
            return {.numBoton = numId};
    return RespuestaPredeterminada(dialogo);
}

ControlSinUsuario::ControlSinUsuario(std::ostream& salida, std::string strCarpeta)
    : salida_(salida), strCarpeta_(std::move(strCarpeta)) {}

void ControlSinUsuario::Mostrar(EventosDialogo& eventos) {
    const RespuestaDialogo respuesta = RespuestaSegura(actual_);
    const std::string rotulo = Rotulo(actual_, respuesta.numBoton);
    const std::string strTexto = actual_.strTitulo + " | " + actual_.strInstruccion + " | " + actual_.strContenido +
                                 " | respuesta: " + (rotulo.empty() ? "cerrar" : rotulo);
    salida_ << "quimera: diálogo sin usuario: " << centinela::OcultarClaves(strTexto) << '\n' << std::flush;
    // The answer is given whatever the manager does with the report.
    try {
        const auto gestor = centinela::CrearGestorErrores();
        gestor->Inicializar(true, "Quimera", strCarpeta_);
        gestor->Informar("Quimera", "ControlSinUsuario", "MostrarDialogoMensaje", 0, strTexto, "Quimera",
                         "Desconocido", "Desconocido", "Desconocido", 0, 100, "");
    } catch (...) {
    }
    Contestar(eventos, respuesta);
}

}  // namespace ui
