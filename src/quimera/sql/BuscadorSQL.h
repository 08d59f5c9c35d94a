// Searches on SQL text for the statement object and the SQL Server conversion, every one of
// them through the text utility: occurrences inside quoted literals ('...', "...") and
// bracketed names ([...]) do not count, and a token that begins with a letter matches only
// as a whole word. Offsets are 0-based; npos means absent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "quimera/components/utilidades.h"

namespace quimera::sql {

inline constexpr int32_t kOpcionesSQL = utilidades::OpcionOmitirLiterales | utilidades::OpcionPalabraCompleta;
inline constexpr size_t npos = std::string::npos;

class BuscadorSQL {
public:
    explicit BuscadorSQL(const utilidades::UtilidadTexto& utilidad) : utilidad_(utilidad) {}

    const utilidades::UtilidadTexto& Utilidad() const { return utilidad_; }

    // The first occurrence of strToken at or after desde.
    size_t Buscar(const std::string& strTexto, const std::string& strToken, size_t desde = 0) const;

    // Buscar for scans that move forward occurrence by occurrence: it hands the utility
    // growing pieces of the text from desde instead of the whole text, so that a scan costs
    // what it passes over. desde must be 0 or follow a character that an earlier search found
    // outside literals and that is no part of a word, so the piece reads as the whole would.
    size_t BuscarAdelante(const std::string& strTexto, const std::string& strToken, size_t desde) const;

    // Every occurrence of strBuscado replaced by strReemplazo.
    std::string Reemplazar(const std::string& strTexto, const std::string& strBuscado,
                           const std::string& strReemplazo) const;

private:
    const utilidades::UtilidadTexto& utilidad_;
};

// A part [desde, hasta) of a text.
struct Tramo {
    size_t desde = 0;
    size_t hasta = 0;
};

// A "(" with the ")" that balances it (npos when none does) and the commas at its own depth.
struct Grupo {
    size_t apertura = 0;
    size_t cierre = npos;
    std::vector<size_t> comas;
};

// The parentheses and commas of a text outside literals, found once. A ")" that closes
// nothing is ignored.
class Parentesis {
public:
    Parentesis(const BuscadorSQL& buscador, const std::string& strTexto);

    // The group opened at apertura, or null when no "(" stands there outside literals.
    const Grupo* En(size_t apertura) const;

    // The outermost groups from their "(" to just past their ")"; an open one runs to the end.
    std::vector<Tramo> Exteriores() const;

private:
    std::vector<Grupo> grupos_;  // in order of their "("
    size_t numLongitud_;
};

// BuscarAdelante from desde, passing over the occurrences inside tramos (as Exteriores gives them).
size_t BuscarFuera(const BuscadorSQL& buscador, const std::string& strTexto, const std::string& strToken,
                   const std::vector<Tramo>& tramos, size_t desde = 0);

}  // namespace quimera::sql
