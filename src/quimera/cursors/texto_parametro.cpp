// Parameter values written as SQL literals.
#include "quimera/cursors/TextoParametro.h"

#include <fmt/format.h>

#include "ado/Enums.h"
#include "ado/Regional.h"

namespace quimera::consultas {

namespace {

// SQL's own number form: the invariant settings (a decimal point; numbers never carry a
// thousands separator), whatever the process's are.
const ado::RegionalSettings& FormaSQL() {
    static const ado::RegionalSettings forma;
    return forma;
}

std::string Entrecomillado(const std::string& strTexto) {
    std::string texto(1, '\'');
    for (char c : strTexto) {
        if (c == '\'') texto.push_back('\'');
        texto.push_back(c);
    }
    texto.push_back('\'');
    return texto;
}

std::string Texto(const ado::Variant& varValor) {
    if (varValor.Type() == ado::VariantType::Bool) return varValor.AsBool() ? "1" : "0";
    if (varValor.IsNumeric()) return varValor.ToString(FormaSQL());
    return varValor.ToString();
}

}  // namespace

std::string TextoParametroSQL(const ado::Variant& varValor, int32_t numDataType) {
    if (varValor.IsNull()) return "NULL";
    switch (numDataType) {
        case ado::adVarChar: return Entrecomillado(Texto(varValor));
        case ado::adDBTimeStamp: {
            const ado::DateParts f = ado::SplitDate(varValor.ToDate());
            return fmt::format("'{:04}-{:02}-{:02} {:02}:{:02}:{:02}'", f.year, f.month, f.day, f.hour, f.minute,
                               f.second);
        }
        case ado::adDBTime: {
            const ado::DateParts f = ado::SplitDate(varValor.ToDate());
            return fmt::format("'{:02}:{:02}:{:02}'", f.hour, f.minute, f.second);
        }
        default: return Texto(varValor);
    }
}

}  // namespace quimera::consultas
