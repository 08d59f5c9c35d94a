// The messages of the position members when the provider lacks a capability.
#pragma once

#include "quimera/editing/Avisos.h"

namespace quimera::avisos {

inline constexpr Aviso kSinDesplazamientoAtras{"Error de proveedor", "Error de proveedor", Contenido::Fijo,
                                               "El proveedor no admite el método de desplazamiento hacia atrás",
                                               IconoError, true};
inline constexpr Aviso kSinMarcadores{"Error de proveedor", "Error de proveedor", Contenido::Fijo,
                                      "El proveedor no admite marcadores", IconoError, true};

}  // namespace quimera::avisos
