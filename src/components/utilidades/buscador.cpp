#include "components/utilidades/buscador.h"

#include "quimera/components/utilidades.h"

namespace utilidades::detalle {

namespace {

constexpr unsigned char kPrefijoLatin1 = 0xC3;  // first byte of U+00C0..U+00FF in UTF-8

bool EsLetraAscii(unsigned char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }

// Bytes of a non-ASCII character count as letters: identifiers like "Descripción".
bool EsLetra(unsigned char c) { return EsLetraAscii(c) || c >= 0x80; }

bool EsDePalabra(unsigned char c) { return EsLetra(c) || (c >= '0' && c <= '9') || c == '_'; }

// Marks every byte that lies inside a quoted literal or a bracketed name, delimiters included,
// with 1. A literal left open runs to the end of the text.
std::string MarcarLiterales(std::string_view texto) {
    std::string dentro(texto.size(), '\0');
    char cierre = 0;  // the delimiter that ends the current literal, 0 outside
    for (size_t i = 0; i < texto.size(); ++i) {
        const char c = texto[i];
        if (cierre == 0) {
            if (c == '\'' || c == '"') cierre = c;
            else if (c == '[') cierre = ']';
            else continue;
            dentro[i] = 1;
            continue;
        }
        dentro[i] = 1;
        if (c != cierre) continue;
        // "]]" inside brackets is an escaped bracket; a doubled quote closes and reopens,
        // which marks the same bytes.
        if (cierre == ']' && i + 1 < texto.size() && texto[i + 1] == ']') {
            dentro[++i] = 1;
            continue;
        }
        cierre = 0;
    }
    return dentro;
}

}  // namespace

// Callers search one text many times (a statement for each of its clauses, cut shorter at
// each one found). Folding and marks go byte by byte from the start, so a text that begins
// the one prepared before uses its first bytes.
bool TextoPreparado::Empieza(std::string_view texto) const {
    return texto.size() <= original.size() && std::string_view(original).substr(0, texto.size()) == texto;
}

void TextoPreparado::Preparar(std::string_view texto, bool conLiterales) {
    if (!Empieza(texto)) {
        original.assign(texto);
        plegado = PlegarMayusculas(texto);
        literal.clear();
        literalHecho = false;
    }
    if (conLiterales && !literalHecho) {
        literal = MarcarLiterales(original);
        literalHecho = true;
    }
}

std::string PlegarMayusculas(std::string_view texto) {
    std::string plegado(texto);
    for (size_t i = 0; i < plegado.size(); ++i) {
        auto c = static_cast<unsigned char>(plegado[i]);
        if (c >= 'A' && c <= 'Z') {
            plegado[i] = static_cast<char>(c | 0x20);
        } else if (c == kPrefijoLatin1 && i + 1 < plegado.size()) {
            auto siguiente = static_cast<unsigned char>(plegado[++i]);
            if (siguiente >= 0x80 && siguiente <= 0x9E && siguiente != 0x97)
                plegado[i] = static_cast<char>(siguiente + 0x20);
        }
    }
    return plegado;
}

Buscador::Buscador(std::string_view texto, std::string_view token, int32_t opciones)
    : texto_(texto), tokenPlegado_(PlegarMayusculas(token)) {
    // Short texts are kept prepared on the thread; a long one is prepared for this search only.
    constexpr size_t kTextoCorto = 16 * 1024;
    thread_local TextoPreparado ultimo;
    TextoPreparado& preparado = texto.size() <= kTextoCorto ? ultimo : propio_;
    const bool conLiterales = opciones & OpcionOmitirLiterales;
    preparado.Preparar(texto, conLiterales);
    textoPlegado_ = std::string_view(preparado.plegado).substr(0, texto.size());
    if (conLiterales) literal_ = std::string_view(preparado.literal).substr(0, texto.size());
    palabraCompleta_ = (opciones & OpcionPalabraCompleta) && !token.empty() &&
                       EsLetra(static_cast<unsigned char>(token.front()));
}

size_t Buscador::Siguiente(size_t desde) const {
    if (desde > textoPlegado_.size()) return npos;
    if (tokenPlegado_.empty()) return desde;
    for (size_t p = textoPlegado_.find(tokenPlegado_, desde); p != npos;
         p = textoPlegado_.find(tokenPlegado_, p + 1)) {
        if (Aceptable(p)) return p;
    }
    return npos;
}

bool Buscador::Aceptable(size_t posicion) const {
    return !EnLiteral(posicion, tokenPlegado_.size()) && (!palabraCompleta_ || LimitesDePalabra(posicion));
}

bool Buscador::EnLiteral(size_t posicion, size_t longitud) const {
    if (literal_.empty()) return false;
    for (size_t i = posicion; i < posicion + longitud; ++i)
        if (literal_[i]) return true;
    return false;
}

bool Buscador::LimitesDePalabra(size_t posicion) const {
    auto byte = [this](size_t i) { return static_cast<unsigned char>(texto_[i]); };
    if (posicion > 0 && EsDePalabra(byte(posicion - 1))) return false;
    const size_t fin = posicion + tokenPlegado_.size();
    const bool tokenAcabaEnPalabra = EsDePalabra(static_cast<unsigned char>(tokenPlegado_.back()));
    return !(tokenAcabaEnPalabra && fin < texto_.size() && EsDePalabra(byte(fin)));
}

}  // namespace utilidades::detalle
