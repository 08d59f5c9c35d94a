// Masking of passwords in connection strings and statements before anything shows them.
#include <array>
#include <cctype>

#include "ado/Error.h"

namespace ado {

namespace {

constexpr std::array<std::string_view, 2> kClaves = {"password", "pwd"};
constexpr std::string_view kMascara = "***";

bool EmpiezaSinMayusculas(std::string_view texto, size_t i, std::string_view clave) {
    if (texto.size() - i < clave.size()) return false;
    for (size_t k = 0; k < clave.size(); ++k)
        if (std::tolower(static_cast<unsigned char>(texto[i + k])) != clave[k]) return false;
    return true;
}

size_t SaltarEspacios(std::string_view texto, size_t i) {
    while (i < texto.size() && (texto[i] == ' ' || texto[i] == '\t')) ++i;
    return i;
}

// Offset just past the '=' of a password key starting at i, or 0 when none starts there.
size_t FinDeClave(std::string_view texto, size_t i) {
    for (std::string_view clave : kClaves) {
        if (!EmpiezaSinMayusculas(texto, i, clave)) continue;
        const size_t igual = SaltarEspacios(texto, i + clave.size());
        if (igual < texto.size() && texto[igual] == '=') return igual + 1;
    }
    return 0;
}

// Offset just past the value that starts at i: a quoted value, or up to the next ';' (or
// the ']' that closes a statement's connect string).
size_t FinDeValor(std::string_view texto, size_t i) {
    if (i < texto.size() && (texto[i] == '\'' || texto[i] == '"')) {
        const size_t cierre = texto.find(texto[i], i + 1);
        return cierre == std::string_view::npos ? texto.size() : cierre + 1;
    }
    const size_t fin = texto.find_first_of(";]", i);
    return fin == std::string_view::npos ? texto.size() : fin;
}

}  // namespace

std::string MaskPasswords(std::string_view texto) {
    std::string resultado;
    resultado.reserve(texto.size());
    for (size_t i = 0; i < texto.size();) {
        const size_t valor = FinDeClave(texto, i);
        if (valor == 0) {
            resultado += texto[i++];
            continue;
        }
        const size_t inicioValor = SaltarEspacios(texto, valor);
        resultado.append(texto.substr(i, inicioValor - i)).append(kMascara);
        i = FinDeValor(texto, inicioValor);
    }
    return resultado;
}

}  // namespace ado
