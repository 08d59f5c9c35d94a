// The one rule every component factory follows: the client's factory when it is installed
// and gives an object, the component's default otherwise.
#pragma once

#include <functional>
#include <utility>

namespace componentes {

template <class Puntero>
Puntero CrearConFabrica(const std::function<Puntero()>& fabrica, Puntero (*predeterminada)()) {
    Puntero objeto = fabrica ? fabrica() : nullptr;
    return objeto ? std::move(objeto) : predeterminada();
}

}  // namespace componentes
