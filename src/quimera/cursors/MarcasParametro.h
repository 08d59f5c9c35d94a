// The text way of EjecutarConsulta: the values of the parameter array written into the SQL
// text in place of their bracketed placeholders.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ado/Variant.h"
#include "quimera/sql/LiteralSQL.h"

namespace quimera::consultas {

// One item of the parameter array: its name (without brackets), value and ADO type.
struct Marca {
    std::string strNombre;
    ado::Variant varValor;
    int32_t numTipo = 0;
};

// The text with each placeholder [name] that an item names (letter case aside; the first such
// item) replaced by the item's value as a literal of the dialect (sql::LiteralSQL). One pass
// over the original text: a value written in is never read again, so a value "[b]" stays as
// it is. Placeholders inside quoted texts ('..', "..") and comments (-- .., /* .. */) are left
// alone, as are those no item names.
std::string SustituirMarcas(std::string_view strSQL, const std::vector<Marca>& marcas, sql::DialectoSQL dialecto);

}  // namespace quimera::consultas
