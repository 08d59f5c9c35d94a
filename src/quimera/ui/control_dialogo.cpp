// The dialog control factory and the default backend choice.
#include <unistd.h>

#include <iostream>

#include "components/fabrica.h"
#include "quimera/ControlDialogo.h"
#include "quimera/ControlSinUsuario.h"
#include "quimera/ControlTerminal.h"
#include "quimera/ObjetoQuimera.h"

namespace ui {

namespace {

FabricaControlDialogo& Fabrica() {
    static FabricaControlDialogo fabrica;
    return fabrica;
}

}  // namespace

std::shared_ptr<ControlDialogo> CrearControlDialogoPredeterminado() {
    if (::isatty(STDIN_FILENO) && ::isatty(STDERR_FILENO))
        return std::make_shared<ControlTerminal>(std::cin, std::cerr, true);
    return std::make_shared<ControlSinUsuario>(std::cerr, quimera::CarpetaProgramaHost());
}

void InstalarFabricaControlDialogo(FabricaControlDialogo fabrica) { Fabrica() = std::move(fabrica); }

std::shared_ptr<ControlDialogo> CrearControlDialogo() {
    return componentes::CrearConFabrica(Fabrica(), &CrearControlDialogoPredeterminado);
}

}  // namespace ui
