#include "ado/error_numbers.h"

namespace ado {

const ConditionEntry& Lookup(Condition c) {
    for (const auto& e : kConditionTable)
        if (e.condition == c) return e;
    return kConditionTable[0];
}

Error MakeError(Condition c, std::string_view detail, std::string_view source, std::string_view sqlState,
                int32_t nativeError) {
    const ConditionEntry& e = Lookup(c);
    std::string text(e.description);
    if (!detail.empty()) {
        text += ' ';
        text += detail;
    }
    return Error(e.number, std::move(text), std::string(source), std::string(sqlState), nativeError);
}

void Raise(Condition c, std::string_view detail) { throw MakeError(c, detail); }

}  // namespace ado
