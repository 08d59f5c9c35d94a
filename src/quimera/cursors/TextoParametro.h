// How EjecutarConsulta writes a parameter value into SQL text for engines other than Access.
#pragma once

#include <cstdint>
#include <string>

#include "ado/Variant.h"

namespace quimera::consultas {

// The value as SQL reads it, whatever the regional settings: NULL for Null; numbers with a
// decimal point and no thousands separator (booleans as 1 and 0, as SQL Server's bit);
// numDataType 200 (adVarChar) quoted with its apostrophes doubled; 135 (adDBTimeStamp) as
// 'yyyy-mm-dd hh:mm:ss' and 134 (adDBTime) as 'hh:mm:ss'. Other values of other types keep
// their plain text form, unquoted.
std::string TextoParametroSQL(const ado::Variant& varValor, int32_t numDataType);

}  // namespace quimera::consultas
