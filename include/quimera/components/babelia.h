// babelia: the regional object. It names the user's language, translates the library's
// fixed texts before they are shown, and is the client's door to the regional settings
// that the text forms of numbers and dates follow.
//
// The default implementation:
//  - takes the language from the name of a locale ("en_GB.UTF-8", "es", ...): the one it
//    is given, or else the process environment's LC_ALL, LC_MESSAGES or LANG, the first
//    that is set. No locale needs to be installed: only the name is read;
//  - answers CodigoIdioma with the platform's locale identifier for that language and
//    territory (es 3082, es_MX 2058, en 1033, en_GB 2057, fr 1036, pt_BR 1046, ...; a
//    territory it does not know takes its language's code). "C", "POSIX" and languages it
//    does not know count as Spanish, the language the library speaks;
//  - translates through the compiled catalogue <folder>/<ll_TT or ll>/LC_MESSAGES/brezal.mo,
//    whose message ids are the Spanish texts. The folder is the one it is given, or else the
//    installed share/locale, or else the build tree's locale folder. A text the catalogue
//    lacks, or a missing or unreadable catalogue, leaves the Spanish text as it is.
//
// Ownership: regional objects live in shared_ptr handles; a library object keeps the one it
// is given. Threads: Traducir and CodigoIdioma of the default object may be called from any
// thread; the factory is installed at start-up, before library objects are created.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ado/Regional.h"
#include "ado/Variant.h"

namespace babelia {

inline constexpr int32_t IdiomaEspanol = 3082;  // es-ES, modern sort
inline constexpr int32_t IdiomaIngles = 1033;   // en-US

// The gettext domain of the library's catalogues: brezal.mo.
inline constexpr const char* DominioTextos = "brezal";

class Regional {
public:
    virtual ~Regional() = default;

    virtual int32_t CodigoIdioma() const = 0;

    // The text to show for strTexto. The library passes 100 and 0 and no values; the
    // default implementation has one catalogue and no placeholders, so it reads neither.
    virtual std::string Traducir(const std::string& strTexto, int32_t numGrupo = 100, int32_t numOpciones = 0,
                                 const std::vector<ado::Variant>& valores = {}) const = 0;

    // The regional settings in force. These are the process's (ado::RegionalSettings::
    // Current), as a platform's regional settings are the system's: setting them here
    // changes how every number and date is written and read from then on.
    virtual ado::RegionalSettings Configuracion() const;
    virtual void Configuracion(const ado::RegionalSettings& configuracion);
};

// strIdioma: a locale name, empty for the process's; carpetaCatalogos: where the compiled
// catalogues are, empty for the installed or build-tree folder.
std::shared_ptr<Regional> CrearRegionalPredeterminado(const std::string& strIdioma = {},
                                                      const std::filesystem::path& carpetaCatalogos = {});

// The factory the library creates its regional objects with. A client installs its own
// before creating library objects; an empty function restores the default. A factory that
// returns null is treated as absent.
using FabricaRegional = std::function<std::shared_ptr<Regional>()>;
void InstalarFabricaRegional(FabricaRegional fabrica);
std::shared_ptr<Regional> CrearRegional();

}  // namespace babelia
