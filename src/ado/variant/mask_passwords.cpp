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

// Offset just past a value that opens at i and closes with `cierra`, in which a doubled
// closing character stands for itself (OLE DB's quotes, ODBC's braces).
size_t FinDeDelimitado(std::string_view texto, size_t i, char cierra) {
    for (size_t j = i + 1; j < texto.size(); ++j) {
        if (texto[j] != cierra) continue;
        if (j + 1 < texto.size() && texto[j + 1] == cierra) {
            ++j;
            continue;
        }
        return j + 1;
    }
    return texto.size();
}

// Offset just past the value that starts at i. A delimited value runs to its closing
// character and on to the next ';': what stands between is no part of the value to a
// parser, but it may be the rest of a password that only looked delimited. Inside a
// statement's bracketed connect string ([ODBC;PWD=x]) a ']' ends a plain value, or a
// quoted one right after its quote; anywhere else a ']' may be part of the password.
size_t FinDeValor(std::string_view texto, size_t i, bool enCorchetes) {
    const bool quoted = i < texto.size() && (texto[i] == '\'' || texto[i] == '"');
    size_t desde = i;
    if (quoted) desde = FinDeDelimitado(texto, i, texto[i]);
    else if (i < texto.size() && texto[i] == '{') desde = FinDeDelimitado(texto, i, '}');
    const bool cierraCorchete = enCorchetes && (desde == i || (quoted && desde < texto.size() && texto[desde] == ']'));
    const size_t fin = texto.find_first_of(cierraCorchete ? ";]" : ";", desde);
    return fin == std::string_view::npos ? texto.size() : fin;
}

}  // namespace

std::string MaskPasswords(std::string_view texto) {
    std::string resultado;
    resultado.reserve(texto.size());
    int corchetesAbiertos = 0;  // counted over the text shown, never inside a masked value
    for (size_t i = 0; i < texto.size();) {
        const size_t valor = FinDeClave(texto, i);
        if (valor == 0) {
            if (texto[i] == '[') ++corchetesAbiertos;
            else if (texto[i] == ']' && corchetesAbiertos > 0) --corchetesAbiertos;
            resultado += texto[i++];
            continue;
        }
        const size_t inicioValor = SaltarEspacios(texto, valor);
        resultado.append(texto.substr(i, inicioValor - i)).append(kMascara);
        i = FinDeValor(texto, inicioValor, corchetesAbiertos > 0);
    }
    return resultado;
}

}  // namespace ado
