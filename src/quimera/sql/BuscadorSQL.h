// Searches on SQL text for the statement object and the SQL Server conversion, every one of
// them through the text utility: occurrences inside quoted literals ('...', "...") and
// bracketed names ([...]) do not count, and a token that begins with a letter matches only
// as a whole word. Offsets are 0-based; npos means absent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "components/utilidades.h"

namespace quimera::sql {

inline constexpr int32_t kOpcionesSQL = utilidades::OpcionOmitirLiterales | utilidades::OpcionPalabraCompleta;

// A function call in the text: NAME(argument, argument, ...).
struct Llamada {
    size_t inicio = 0;  // offset of the name
    size_t fin = 0;     // offset just past the ")" that balances the call's "("
    std::vector<std::string> argumentos;  // split at the call's own commas, spaces kept
    size_t Longitud() const { return fin - inicio; }
};

// A parenthesised part [desde, hasta): from its "(" to just past the ")" that balances it.
struct Tramo {
    size_t desde = 0;
    size_t hasta = 0;
};

class BuscadorSQL {
public:
    static constexpr size_t npos = std::string::npos;

    explicit BuscadorSQL(const utilidades::UtilidadTexto& utilidad) : utilidad_(utilidad) {}

    // The first occurrence of strToken at or after desde.
    size_t Buscar(const std::string& strTexto, const std::string& strToken, size_t desde = 0) const;

    // Every occurrence of strBuscado replaced by strReemplazo.
    std::string Reemplazar(const std::string& strTexto, const std::string& strBuscado,
                           const std::string& strReemplazo) const;

    // The call whose name starts at inicio and whose "(" stands at apertura; nullopt when
    // that "(" is never balanced.
    std::optional<Llamada> LeerLlamada(const std::string& strTexto, size_t inicio, size_t apertura) const;

    // The outermost parenthesised parts of the text, in order. A part left open runs to the
    // end of the text; a ")" that closes nothing is ignored.
    std::vector<Tramo> Parentesis(const std::string& strTexto) const;

    // Buscar, skipping the occurrences that lie inside one of tramos (as Parentesis gives them).
    size_t BuscarFuera(const std::string& strTexto, const std::string& strToken, const std::vector<Tramo>& tramos,
                       size_t desde = 0) const;

private:
    const utilidades::UtilidadTexto& utilidad_;
};

}  // namespace quimera::sql
