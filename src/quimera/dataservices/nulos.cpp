// The Null replacements of clsDatosAvanzado: a neutral value for Null, the input otherwise.
// They trap nothing: a value that cannot be converted fails the call itself.
#include <cmath>
#include <optional>

#include "quimera/clsDatosAvanzado.h"

namespace quimera {

namespace {

// A date, or a text the regional settings read as a date or time, as a date read back from
// its own text form; nothing for anything else (numbers included).
std::optional<ado::Date> ComoFecha(const ado::Variant& varValor) {
    if (varValor.Type() != ado::VariantType::Date && !varValor.IsText()) return std::nullopt;
    try {
        return ado::Variant(varValor.ToString()).ToDate();
    } catch (const ado::Error&) {
        return std::nullopt;  // a text that is no date
    }
}

}  // namespace

ado::Variant clsDatosAvanzado::ConvertirNuloNumerico(const ado::Variant& varNumero) {
    return varNumero.IsNull() ? ado::Variant(int16_t{0}) : varNumero;
}

ado::Variant clsDatosAvanzado::ConvertirNuloFecha(const ado::Variant& varFecha) {
    const std::optional<ado::Date> fecha = ComoFecha(varFecha);
    if (!fecha) return ado::Variant("01/01/1900");
    // Before the epoch the fraction still counts forwards, so the day is the whole part.
    return ado::Variant(ado::Date{std::trunc(fecha->serial)});
}

ado::Variant clsDatosAvanzado::ConvertirNuloHora(const ado::Variant& varHora) {
    const std::optional<ado::Date> fecha = ComoFecha(varHora);
    if (!fecha) return ado::Variant("00:00");
    return ado::Variant(ado::Date{std::fabs(fecha->serial - std::trunc(fecha->serial))});
}

std::string clsDatosAvanzado::ConvertirNuloTexto(const ado::Variant& varTexto) {
    return varTexto.IsNull() ? std::string() : varTexto.ToString();
}

}  // namespace quimera
