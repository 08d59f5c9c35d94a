// The recording dialog control, and the answering shared by the controls that describe
// their dialog.
#include <algorithm>
#include <stdexcept>

#include <fmt/format.h>

#include "quimera/ControlGrabador.h"

namespace ui {

namespace {

bool TieneBoton(const DialogoGrabado& dialogo, int32_t numId) {
    return std::ranges::any_of(dialogo.botones, [&](const DialogoGrabado::Boton& b) { return b.numId == numId; });
}

}  // namespace

RespuestaDialogo RespuestaPredeterminada(const DialogoGrabado& dialogo) {
    if (dialogo.numBotonPredeterminado && TieneBoton(dialogo, *dialogo.numBotonPredeterminado))
        return {.numBoton = *dialogo.numBotonPredeterminado};
    if (!dialogo.botones.empty()) return {.numBoton = dialogo.botones.front().numId};
    return {.numBoton = IdCierreSinBoton};
}

// A dialog without buttons can always be closed; one with buttons only when it allows it.
void ControlDescrito::Contestar(EventosDialogo& eventos, const RespuestaDialogo& respuesta) {
    const bool blnPosible = respuesta.numBoton == IdCierreSinBoton
                                ? actual_.blnCierreSinBoton || actual_.botones.empty()
                                : TieneBoton(actual_, respuesta.numBoton);
    if (!blnPosible)
        throw std::logic_error(fmt::format("el diálogo \"{}\" no admite la respuesta {}", actual_.strTitulo,
                                           respuesta.numBoton));
    actual_.blnCasillaFinal = respuesta.blnCasilla.value_or(actual_.blnCasillaInicial);
    if (respuesta.blnCasilla) eventos.CasillaPulsada(*respuesta.blnCasilla);
    actual_.numRespuesta = respuesta.numBoton;
    eventos.BotonPulsado(respuesta.numBoton);
}

void ControlGrabador::Mostrar(EventosDialogo& eventos) {
    if (alMostrar_) alMostrar_(actual_);
    RespuestaDialogo respuesta = RespuestaPredeterminada(actual_);
    if (!guion_.empty()) {
        respuesta = guion_.front();
        guion_.pop_front();
    }
    Contestar(eventos, respuesta);
    dialogos_.push_back(actual_);
}

}  // namespace ui
