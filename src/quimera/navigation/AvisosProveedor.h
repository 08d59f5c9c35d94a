// The messages of the position members when the provider lacks a capability.
#pragma once

#include "quimera/editing/Avisos.h"

namespace quimera::avisos {

inline constexpr Aviso kSinDesplazamientoAtras{
    .strTitulo = "Error de proveedor", .strInstruccion = "Error de proveedor",
    .strContenido = "El proveedor no admite el método de desplazamiento hacia atrás", .numIcono = IconoError,
    .blnTraducir = true};
inline constexpr Aviso kSinMarcadores{.strTitulo = "Error de proveedor", .strInstruccion = "Error de proveedor",
                                      .strContenido = "El proveedor no admite marcadores", .numIcono = IconoError,
                                      .blnTraducir = true};

}  // namespace quimera::avisos
