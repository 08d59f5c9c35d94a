#include "ado/error_numbers.h"

#include "ado/ErrorTranslation.h"

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

std::string TranslateDescription(std::string_view description,
                                 const std::function<std::string(const std::string&)>& translate) {
    // The longest fixed text the description starts with, ending there or before the detail.
    std::string_view fixed;
    for (const auto& e : kConditionTable) {
        const std::string_view text = e.description;
        if (text.size() > fixed.size() && description.starts_with(text) &&
            (description.size() == text.size() || description[text.size()] == ' '))
            fixed = text;
    }
    if (fixed.empty()) return translate(std::string(description));
    return translate(std::string(fixed)) + std::string(description.substr(fixed.size()));
}

}  // namespace ado
