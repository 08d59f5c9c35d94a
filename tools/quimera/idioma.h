// The tool's texts in the user's language. Every text is written in Spanish, which is also
// its message id in the catalogue (tools/quimera/po), and shown translated through the
// library's regional object: Spanish by default, English under an English locale.
#pragma once

#include <fmt/format.h>

#include <string>
#include <string_view>
#include <utility>

namespace tool {

// The text to show for the Spanish text.
std::string T(std::string_view spanish);

// The translated text with its {0}, {1}, ... filled in with the values.
template <class... Values>
std::string F(std::string_view spanish, Values&&... values) {
    return fmt::format(fmt::runtime(T(spanish)), std::forward<Values>(values)...);
}

// Marks a text for the catalogue where it is only named (a table); T translates it later.
constexpr const char* N_(const char* spanish) { return spanish; }

}  // namespace tool
