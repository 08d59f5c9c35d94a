// The user's language as a locale name tells it, and its platform language code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace babelia::detalle {

struct Idioma {
    std::string lengua;      // "en"; empty for "C", "POSIX" or no locale
    std::string territorio;  // "GB"; may be empty
};

// "en_GB.UTF-8@euro" -> {"en", "GB"}.
Idioma LeerLocale(std::string_view nombre);

// The locale name of the process's messages: LC_ALL, LC_MESSAGES or LANG, the first set.
std::string LocaleDelProceso();

// The platform's locale identifier of the language (Spanish when unknown).
int32_t CodigoDeIdioma(const Idioma& idioma);

// Catalogue folder names to try, most specific first: {"en_GB", "en"}.
std::vector<std::string> NombresDeCatalogo(const Idioma& idioma);

}  // namespace babelia::detalle
