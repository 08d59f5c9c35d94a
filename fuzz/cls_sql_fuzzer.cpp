// Fuzz target: clsSQL taking a statement apart and putting it together again. The input is a
// statement, optionally followed by "\n#" and clause edits, one per line: a digit that picks
// the clause (0 Ejecutar, 1 Parametros, 2 Seleccion, 3 Desde, 4 Condiciones, 5 Agrupar,
// 6 Ordenar) and its new text. Besides not crashing or failing, taking apart and rebuilding
// must settle: a statement already rebuilt once comes back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "FuzzQuimera.h"
#include "quimera/clsSQL.h"

namespace {

using Editor = void (quimera::clsSQL::*)(const std::string&);
constexpr Editor kEditores[] = {
    &quimera::clsSQL::Ejecutar, &quimera::clsSQL::Parametros,  &quimera::clsSQL::Seleccion,
    &quimera::clsSQL::Desde,    &quimera::clsSQL::Condiciones, &quimera::clsSQL::Agrupar,
    &quimera::clsSQL::Ordenar,
};

// The statement rebuilt from its own clauses.
std::string Recompuesta(quimera::clsSQL& sql) {
    sql.Ordenar(sql.Ordenar());
    return sql.Sentencia();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool instalado = (fuzz::InstalarGestorQueAborta(), true);
    (void)instalado;
    const std::string_view entrada(reinterpret_cast<const char*>(data), size);
    const size_t corte = entrada.find("\n#");
    quimera::clsSQL sql;
    sql.Sentencia(std::string(entrada.substr(0, corte)));

    for (std::string_view resto = corte == std::string_view::npos ? "" : entrada.substr(corte + 2); !resto.empty();) {
        const size_t fin = resto.find('\n');
        const std::string_view linea = resto.substr(0, fin);
        resto = fin == std::string_view::npos ? "" : resto.substr(fin + 1);
        if (linea.empty() || linea[0] < '0' || linea[0] > '6') continue;
        (sql.*kEditores[linea[0] - '0'])(std::string(linea.substr(1)));
    }

    sql.Sentencia(Recompuesta(sql));
    const std::string asentada = Recompuesta(sql);
    sql.Sentencia(asentada);
    if (Recompuesta(sql) != asentada) std::abort();
    return 0;
}
