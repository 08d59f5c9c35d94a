// The Access operators the engine computes otherwise, called by the translator: / (always
// a real division), \ and Mod (on operands rounded to whole numbers), ^; the number a text
// operand holds; and the date text through which a Date reaches the functions that look at a
// value's kind.
#include <cmath>

#include "ado/ErrorNumbers.h"
#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/function_call.h"
#include "ado/providers/sqlite/dialect/iso_date.h"

namespace ado::sqlite::detail {
namespace {

bool AnyNull(Call& c) { return c.IsNull(0) || c.IsNull(1); }

void Divide(Call& c) {
    if (AnyNull(c)) return c.ReturnNull();
    const double divisor = c.Double(1);
    if (divisor == 0) ThrowRuntimeError(err::DivisionByZero);
    c.Return(c.Double(0) / divisor);
}

// \ and Mod round their operands to Long first, as Access does.
void IntegerDivide(Call& c) {
    if (AnyNull(c)) return c.ReturnNull();
    const int64_t divisor = c.Long(1);
    if (divisor == 0) ThrowRuntimeError(err::DivisionByZero);
    c.Return(int64_t{c.Long(0)} / divisor);
}

void Modulo(Call& c) {
    if (AnyNull(c)) return c.ReturnNull();
    const int64_t divisor = c.Long(1);
    if (divisor == 0) ThrowRuntimeError(err::DivisionByZero);
    c.Return(int64_t{c.Long(0)} % divisor);
}

void Power(Call& c) {
    if (AnyNull(c)) return c.ReturnNull();
    const double base = c.Double(0), exponent = c.Double(1);
    if (base < 0 && exponent != std::floor(exponent)) ThrowRuntimeError(kInvalidProcedureCall);
    if (base == 0 && exponent < 0) ThrowRuntimeError(err::DivisionByZero);
    const double r = std::pow(base, exponent);
    if (!std::isfinite(r)) ThrowRuntimeError(err::Overflow);
    c.Return(r);
}

// A text operand where a number is needed: the number it holds, read as CDbl reads it (in
// the regional settings' form); other text is a type mismatch (13). Null stays Null.
void NumberOfText(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    if (!c.IsText(0)) return c.ReturnArgument(0);
    c.Return(c.Double(0));
}

void DateText(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    if (c.IsText(0)) return c.ReturnArgument(0);
    c.ReturnText(FormatIsoDate(Date{c.Double(0)}));
}

void CByte(Call& c) {
    if (c.IsNull(0)) ThrowRuntimeError(err::InvalidUseOfNull);
    const int32_t v = c.Value(0).ToInt16();
    if (v < 0 || v > 255) ThrowRuntimeError(err::Overflow);
    c.Return(int64_t{v});
}

constexpr FunctionSpec kOperatorFunctions[] = {
    {"BZ_DIV", 2, 2, Divide},   {"BZ_INTDIV", 2, 2, IntegerDivide}, {"BZ_MOD", 2, 2, Modulo},
    {"BZ_POW", 2, 2, Power},    {"BZ_ISO", 1, 1, DateText},         {"CBYTE", 1, 1, CByte},
    {"BZ_NUM", 1, 1, NumberOfText},
};

}  // namespace

std::span<const FunctionSpec> OperatorFunctions() { return kOperatorFunctions; }

}  // namespace ado::sqlite::detail
