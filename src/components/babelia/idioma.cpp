#include "components/babelia/idioma.h"

#include <array>
#include <cstdlib>

#include "quimera/components/babelia.h"

namespace babelia::detalle {

namespace {

struct CodigoLocale {
    std::string_view nombre;  // "ll" or "ll_TT"
    int32_t codigo;
};

// The platform's locale identifiers; a territory row wins over its language's row.
constexpr std::array<CodigoLocale, 22> kCodigos = {{
    {"es", IdiomaEspanol}, {"es_MX", 2058}, {"es_AR", 11274}, {"es_CO", 9226}, {"es_CL", 13322},
    {"es_US", 21514},      {"en", IdiomaIngles}, {"en_GB", 2057}, {"en_IE", 6153}, {"en_CA", 4105},
    {"en_AU", 3081},       {"ca", 1027},      {"gl", 1110},    {"eu", 1069},    {"pt", 2070},
    {"pt_BR", 1046},       {"fr", 1036},      {"fr_CA", 3084}, {"de", 1031},    {"it", 1040},
    {"nl", 1043},          {"ja", 1041},
}};

int32_t Buscar(std::string_view nombre) {
    for (const auto& fila : kCodigos)
        if (fila.nombre == nombre) return fila.codigo;
    return 0;
}

}  // namespace

Idioma LeerLocale(std::string_view nombre) {
    nombre = nombre.substr(0, nombre.find_first_of(".@"));
    if (nombre == "C" || nombre == "POSIX") return {};
    const size_t guion = nombre.find('_');
    if (guion == std::string_view::npos) return {std::string(nombre), {}};
    return {std::string(nombre.substr(0, guion)), std::string(nombre.substr(guion + 1))};
}

std::string LocaleDelProceso() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* valor = std::getenv(variable);
        if (valor != nullptr && *valor != '\0') return valor;
    }
    return {};
}

int32_t CodigoDeIdioma(const Idioma& idioma) {
    for (const std::string& nombre : NombresDeCatalogo(idioma))
        if (const int32_t codigo = Buscar(nombre)) return codigo;
    return IdiomaEspanol;
}

std::vector<std::string> NombresDeCatalogo(const Idioma& idioma) {
    std::vector<std::string> nombres;
    if (idioma.lengua.empty()) return nombres;
    if (!idioma.territorio.empty()) nombres.push_back(idioma.lengua + "_" + idioma.territorio);
    nombres.push_back(idioma.lengua);
    return nombres;
}

}  // namespace babelia::detalle
