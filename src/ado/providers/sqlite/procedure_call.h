// EXECUTE procedure [value [, value ...]]: Access SQL's statement that runs a stored query
// with values for the parameters its PARAMETERS declaration lists, in that order. The values
// are literals: texts, numbers, #dates#, True/False/Yes/No and Null.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ado/Variant.h"

namespace ado::sqlite {

struct ProcedureCall {
    std::string name;
    std::vector<Variant> values;
};

// The call a text makes; nullopt when it is no EXECUTE statement. A malformed call is a
// syntax error.
std::optional<ProcedureCall> ReadProcedureCall(std::string_view text);

}  // namespace ado::sqlite
