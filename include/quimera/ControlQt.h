// ui::CrearControlQt: the message dialog as a Qt 6 window, for desktop programs.
//
// The dialog is a modal QDialog: the title, the heading (bold, larger), the message beside
// the standard information, warning or error icon, an expander for the detail, the check
// box, the buttons in their order with the default one focused, and the footer with its own
// small icon. Escape and the window's close button close it without a button only when the
// dialog allows it (reported as IdCierreSinBoton); a button closes it with its identifier.
// It answers as every backend does (see ControlDialogo.h).
//
// Install it with ui::InstalarFabricaControlDialogo(ui::CrearControlQt) once the program's
// QApplication exists; dialogs run on that application's thread. The library has it when it
// was built with Qt 6 (BREZAL_WITH_QT, on when Qt 6 is found): otherwise CrearControlQt
// gives null, which the factory treats as absent (the default control then serves).
#pragma once

#include <memory>

#include "quimera/ControlDialogo.h"

namespace ui {

// Whether this build of the library has the Qt backend.
bool ControlQtDisponible();
std::shared_ptr<ControlDialogo> CrearControlQt();

}  // namespace ui
