// The length of UTF-8 text in characters (code points), as field sizes and positions shown
// to users count it: every byte that does not continue a character starts one.
#pragma once

#include <cstddef>
#include <string_view>

namespace ado::text {

inline size_t CharacterCount(std::string_view utf8) {
    size_t n = 0;
    for (const char ch : utf8) n += (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    return n;
}

}  // namespace ado::text
