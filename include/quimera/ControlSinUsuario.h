// ui::ControlSinUsuario: the dialog control of a program nobody sits at (no backend
// installed, no terminal attached). It shows nothing and waits for nobody; it answers each
// dialog with the choice that changes nothing, and leaves a trace of every dialog it did not
// show: one report to the error manager (number 0, method "MostrarDialogoMensaje", so the
// default manager writes it in its log) and one line on a text stream (standard error).
#pragma once

#include <iosfwd>
#include <string>

#include "quimera/ControlGrabador.h"

namespace ui {

// The safe answer: the first of "No", "Cancelar", "Anular", "Cerrar", "Aceptar" the dialog
// has; else its default button, else its first button; a dialog without buttons is closed.
// A question is never answered with a dismissal, which some callers take for consent.
RespuestaDialogo RespuestaSegura(const DialogoGrabado& dialogo);

class ControlSinUsuario final : public ControlDescrito {
public:
    // strCarpeta: the folder the error manager reports into.
    ControlSinUsuario(std::ostream& salida, std::string strCarpeta);

    void Mostrar(EventosDialogo& eventos) override;

private:
    std::ostream& salida_;
    std::string strCarpeta_;
};

}  // namespace ui
