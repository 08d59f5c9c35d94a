// Runtime failures raised by the library.
#include <algorithm>
#include <array>
#include <string_view>

#include "quimera/frame/ErroresEjecucion.h"

namespace quimera::frame {

namespace {

struct TextoError {
    int32_t numError;
    std::string_view strDescripcion;
};

constexpr std::array<TextoError, 7> kTextos{{
    {ErrorLlamadaNoValida, "Llamada a procedimiento o argumento no válidos"},
    {ErrorDesbordamiento, "Desbordamiento"},
    {ErrorMemoria, "Memoria insuficiente"},
    {ErrorSubindice, "Subíndice fuera del intervalo"},
    {ErrorTiposIncompatibles, "No coinciden los tipos"},
    {ErrorObjetoNoEstablecido, "Variable de objeto o bloque With no establecido"},
    {ErrorClaveRepetida, "Esta clave ya está asociada con un elemento de esta colección"},
}};

}  // namespace

ado::Error ErrorEjecucion(int32_t numError) {
    const auto texto = std::ranges::find(kTextos, numError, &TextoError::numError);
    const std::string_view descripcion = texto == kTextos.end() ? "Error definido por la aplicación o por el objeto"
                                                                 : texto->strDescripcion;
    return ado::Error(numError, std::string(descripcion), "Quimera");
}

int32_t Sumar(int32_t a, int32_t b) {
    int32_t suma = 0;
    if (__builtin_add_overflow(a, b, &suma)) throw ErrorEjecucion(ErrorDesbordamiento);
    return suma;
}

}  // namespace quimera::frame
