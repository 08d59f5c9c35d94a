// The matching rules shared by ExtraerTexto and ReemplazarTexto: letter case ignored,
// literals and bracketed names skipped on request, whole words on request.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace utilidades::detalle {

// Lower-cases ASCII letters and the two-byte UTF-8 Latin-1 capitals (À..Þ but ×), so the
// result has the same length and every byte offset still points at the same character.
std::string PlegarMayusculas(std::string_view texto);

// A text as searches see it: folded, and with the bytes inside literals marked once asked for.
struct TextoPreparado {
    std::string original;
    std::string plegado;
    std::string literal;  // per byte, 1 inside '...', "..." or [...]
    bool literalHecho = false;

    // Whether texto is the prepared text or its beginning.
    bool Empieza(std::string_view texto) const;
    // Prepares texto unless it begins the text prepared already.
    void Preparar(std::string_view texto, bool conLiterales);
};

class Buscador {
public:
    // texto must outlive the Buscador; a thread makes one Buscador at a time (short texts'
    // preparations are the thread's).
    Buscador(std::string_view texto, std::string_view token, int32_t opciones);

    static constexpr size_t npos = std::string_view::npos;

    // 0-based offset of the first acceptable occurrence at or after desde, or npos.
    size_t Siguiente(size_t desde) const;

private:
    bool Aceptable(size_t posicion) const;
    bool EnLiteral(size_t posicion, size_t longitud) const;
    bool LimitesDePalabra(size_t posicion) const;

    TextoPreparado propio_;  // a long text's preparation; short ones share the thread's
    std::string_view texto_;
    std::string_view textoPlegado_;  // the prepared text, cut to texto_'s length
    std::string_view literal_;       // per byte, 1 inside '...', "..." or [...]; empty when not asked
    std::string tokenPlegado_;
    bool palabraCompleta_ = false;
};

}  // namespace utilidades::detalle
