// ui::ControlTerminal: a dialog control for interactive use in a terminal. It draws the
// dialog as text and, when interactive, reads the choice line by line:
//   a button's number   presses that button
//   empty line          presses the default button, when there is one
//   c                   toggles the check box
//   d                   shows or hides the detail
//   x                   closes without a button, when the dialog allows it
// At the end of the input it answers as nobody choosing would (RespuestaPredeterminada).
// When not interactive it draws the dialog and gives that answer without reading.
//
// Threads: it reads and writes the streams it is given on the caller's thread.
#pragma once

#include <iosfwd>

#include "quimera/ControlGrabador.h"

namespace ui {

class ControlTerminal final : public ControlDescrito {
public:
    ControlTerminal(std::istream& entrada, std::ostream& salida, bool blnInteractivo);

    void Mostrar(EventosDialogo& eventos) override;

private:
    void Dibujar(bool blnDetalle, bool blnCasilla) const;
    RespuestaDialogo Leer();

    std::istream& entrada_;
    std::ostream& salida_;
    bool blnInteractivo_;
};

}  // namespace ui
