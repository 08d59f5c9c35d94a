// Failures the library raises itself, numbered and worded as the automation runtime does,
// and the two checks that raise them most.
#pragma once

#include <cstdint>

#include "ado/Error.h"

namespace quimera::frame {

inline constexpr int32_t ErrorLlamadaNoValida = 5;
inline constexpr int32_t ErrorDesbordamiento = 6;
inline constexpr int32_t ErrorMemoria = 7;
inline constexpr int32_t ErrorSubindice = 9;
inline constexpr int32_t ErrorTiposIncompatibles = 13;
inline constexpr int32_t ErrorObjetoNoEstablecido = 91;
inline constexpr int32_t ErrorClaveRepetida = 457;

// The failure with that number, its runtime description and the project as its source.
ado::Error ErrorEjecucion(int32_t numError);

// The object behind a handle, or failure 91 when the handle is unset.
template <class Puntero>
auto& Establecido(const Puntero& objeto) {
    if (!objeto) throw ErrorEjecucion(ErrorObjetoNoEstablecido);
    return *objeto;
}

// a + b, or failure 6 when the sum leaves the 32-bit range.
int32_t Sumar(int32_t a, int32_t b);

}  // namespace quimera::frame
