#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/sqlite_errors.h"

#include "ado/Error.h"
#include "ado/ErrorNumbers.h"

namespace ado::sqlite {
namespace {


struct RuntimeMessage {
    int32_t number;
    const char* text;
};

constexpr RuntimeMessage kRuntimeMessages[] = {
    {kInvalidProcedureCall, "Argumento o llamada a procedimiento no válida"},
    {err::Overflow, "Desbordamiento"},
    {err::DivisionByZero, "División por cero"},
    {err::TypeMismatch, "No coinciden los tipos"},
    {kInvalidPatternString, "Cadena de modelo no válida"},
    {err::InvalidUseOfNull, "Uso no válido de Null"},
};

}  // namespace

void ThrowSyntaxError(std::string_view detail) {
    throw Error(err::SyntaxError, "Error de sintaxis en la instrucción SQL: " + std::string(detail), kEngineSource);
}

void ThrowNotSupported(std::string_view what) {
    throw Error(err::FeatureNotAvailable,
                "El motor de base de datos incrustado no admite esta construcción de SQL de Access: " +
                    std::string(what),
                kEngineSource);
}

void ThrowRuntimeError(int32_t number) {
    for (const auto& m : kRuntimeMessages)
        if (m.number == number) throw Error(number, m.text, kEngineSource);
    throw Error(number, "Error de aplicación o definido por el objeto", kEngineSource);
}

int32_t RuntimeErrorNumber(std::string_view description) {
    for (const auto& m : kRuntimeMessages)
        if (description == m.text) return m.number;
    return 0;
}

}  // namespace ado::sqlite
