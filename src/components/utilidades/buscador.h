// The matching rules shared by ExtraerTexto and ReemplazarTexto: letter case ignored,
// literals and bracketed names skipped on request, whole words on request.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace utilidades::detalle {

// Lower-cases ASCII letters and the two-byte UTF-8 Latin-1 capitals (À..Þ but ×), so the
// result has the same length and every byte offset still points at the same character.
std::string PlegarMayusculas(std::string_view texto);

class Buscador {
public:
    // Both views must outlive the Buscador.
    Buscador(std::string_view texto, std::string_view token, int32_t opciones);

    static constexpr size_t npos = std::string_view::npos;

    // 0-based offset of the first acceptable occurrence at or after desde, or npos.
    size_t Siguiente(size_t desde) const;

private:
    bool Aceptable(size_t posicion) const;
    bool EnLiteral(size_t posicion, size_t longitud) const;
    bool LimitesDePalabra(size_t posicion) const;

    std::string_view texto_;
    std::string textoPlegado_;
    std::string tokenPlegado_;
    std::vector<bool> literal_;  // per byte: inside '...', "..." or [...]; empty when not asked
    bool palabraCompleta_ = false;
};

}  // namespace utilidades::detalle
