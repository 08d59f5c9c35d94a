#include "ado/text/guid_text.h"

namespace ado::text {

std::optional<std::string> CanonicalGuid(std::string_view text) {
    constexpr std::string_view kDigitGroups = "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx";
    if (text.size() == kDigitGroups.size() + 2 && text.front() == '{' && text.back() == '}')
        text = text.substr(1, kDigitGroups.size());
    if (text.size() != kDigitGroups.size()) return std::nullopt;
    std::string out;
    out.reserve(kDigitGroups.size() + 2);
    out.push_back('{');
    for (size_t i = 0; i < kDigitGroups.size(); ++i) {
        const char c = text[i];
        if (kDigitGroups[i] == '-') {
            if (c != '-') return std::nullopt;
            out.push_back(c);
        } else if (c >= '0' && c <= '9') {
            out.push_back(c);
        } else if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) {
            out.push_back(static_cast<char>(c & ~0x20));
        } else {
            return std::nullopt;
        }
    }
    out.push_back('}');
    return out;
}

}  // namespace ado::text
