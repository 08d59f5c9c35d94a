// How many terminal columns a UTF-8 text takes: wide (East Asian) characters two, combining
// marks none, by the C library's wcwidth.
#pragma once

#include <cstddef>
#include <string_view>

namespace tool {

// Makes the C library read characters as UTF-8 whatever the locale's encoding (a locale
// may be unset or not installed): wcwidth needs it.
void UseUtf8Characters();

size_t DisplayWidth(std::string_view utf8);

}  // namespace tool
