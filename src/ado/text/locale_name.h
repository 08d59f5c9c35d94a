// The ICU locale for a regional language or a POSIX locale name.
#pragma once

#include <string>
#include <string_view>

namespace ado::text {

// "es_ES.UTF-8" -> "es_ES", "de_DE@euro" -> "de_DE"; "C", "POSIX" and "" -> "root".
std::string IcuLocale(std::string_view name);

}  // namespace ado::text
