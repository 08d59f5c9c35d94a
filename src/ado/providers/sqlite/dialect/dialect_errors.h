// The failures of the dialect: statement errors as the Jet provider reports them, and the
// runtime errors that the Access functions raise inside the engine.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ado::sqlite {

// Runtime error numbers of the functions that ErrorNumbers.h does not list.
inline constexpr int32_t kInvalidProcedureCall = 5;
inline constexpr int32_t kInvalidPatternString = 93;

// "Error de sintaxis en la instrucción SQL: <detail>" as err::SyntaxError.
[[noreturn]] void ThrowSyntaxError(std::string_view detail);
// An Access construct that the engine cannot express, as err::FeatureNotAvailable.
[[noreturn]] void ThrowNotSupported(std::string_view what);
// A runtime error of a function: number and its Spanish description.
[[noreturn]] void ThrowRuntimeError(int32_t number);
// The number of a runtime error by its description, as the engine passes it on (0: none).
int32_t RuntimeErrorNumber(std::string_view description);

}  // namespace ado::sqlite
