// Placeholders replaced by literals, in one pass over the statement's text.
#include "quimera/cursors/MarcasParametro.h"

#include <algorithm>
#include <cctype>

namespace quimera::consultas {

namespace {

bool MismoNombre(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::ranges::equal(a, b, [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// Where the run that starts at i (a quoted text or a comment) ends, one past it; i itself
// when no such run starts there.
size_t FinDeTramo(std::string_view t, size_t i) {
    const char c = t[i];
    if (c == '\'' || c == '"') {
        // A doubled quote stands for itself: the scan goes on past it.
        for (size_t j = i + 1; j < t.size(); ++j)
            if (t[j] == c) {
                if (j + 1 < t.size() && t[j + 1] == c) ++j;
                else return j + 1;
            }
        return t.size();
    }
    if (t.substr(i, 2) == "--") {
        const size_t fin = t.find('\n', i);
        return fin == std::string_view::npos ? t.size() : fin + 1;
    }
    if (t.substr(i, 2) == "/*") {
        const size_t fin = t.find("*/", i + 2);
        return fin == std::string_view::npos ? t.size() : fin + 2;
    }
    return i;
}

}  // namespace

std::string SustituirMarcas(std::string_view strSQL, const std::vector<Marca>& marcas, sql::DialectoSQL dialecto) {
    std::string resultado;
    resultado.reserve(strSQL.size());
    size_t i = 0;
    while (i < strSQL.size()) {
        if (const size_t fin = FinDeTramo(strSQL, i); fin != i) {
            resultado.append(strSQL, i, fin - i);
            i = fin;
            continue;
        }
        const size_t cierre = strSQL[i] == '[' ? strSQL.find(']', i + 1) : std::string_view::npos;
        if (cierre == std::string_view::npos) {
            resultado += strSQL[i++];
            continue;
        }
        const std::string_view nombre = strSQL.substr(i + 1, cierre - i - 1);
        const auto marca = std::ranges::find_if(marcas, [&](const Marca& m) { return MismoNombre(m.strNombre, nombre); });
        if (marca == marcas.end())
            resultado.append(strSQL, i, cierre + 1 - i);
        else
            resultado += sql::LiteralSQL(dialecto, marca->varValor, marca->numTipo);
        i = cierre + 1;
    }
    return resultado;
}

}  // namespace quimera::consultas
