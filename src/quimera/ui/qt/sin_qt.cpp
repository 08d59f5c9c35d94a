// A build without Qt: no Qt dialog to give.
#include "quimera/ControlQt.h"

namespace ui {

bool ControlQtDisponible() { return false; }
std::shared_ptr<ControlDialogo> CrearControlQt() { return nullptr; }

}  // namespace ui
