// The default regional object and its factory.
#include <system_error>

#include "quimera/components/babelia.h"
#include "components/babelia/catalogo_mo.h"
#include "components/babelia/idioma.h"
#include "components/fabrica.h"

namespace babelia {

namespace {

namespace fs = std::filesystem;

// The catalogue folders the build compiled in: the installed one, then the build tree's,
// so that programs run from the build tree translate before anything is installed.
std::vector<fs::path> CarpetasPredeterminadas() {
    std::vector<fs::path> carpetas;
#ifdef BREZAL_LOCALEDIR_INSTALADO
    carpetas.emplace_back(BREZAL_LOCALEDIR_INSTALADO);
#endif
#ifdef BREZAL_LOCALEDIR_CONSTRUCCION
    carpetas.emplace_back(BREZAL_LOCALEDIR_CONSTRUCCION);
#endif
    return carpetas;
}

class RegionalPredeterminado final : public Regional {
public:
    RegionalPredeterminado(const std::string& strIdioma, const fs::path& carpetaCatalogos) {
        const auto idioma = detalle::LeerLocale(strIdioma.empty() ? detalle::LocaleDelProceso() : strIdioma);
        codigo_ = detalle::CodigoDeIdioma(idioma);
        const auto carpetas = carpetaCatalogos.empty() ? CarpetasPredeterminadas() : std::vector{carpetaCatalogos};
        CargarCatalogo(carpetas, detalle::NombresDeCatalogo(idioma));
    }

    int32_t CodigoIdioma() const override { return codigo_; }

    std::string Traducir(const std::string& strTexto, int32_t, int32_t,
                         const std::vector<ado::Variant>&) const override {
        const std::string* traduccion = catalogo_.Buscar(strTexto);
        return traduccion ? *traduccion : strTexto;
    }

private:
    // The first catalogue that reads, most specific language name first in each folder.
    void CargarCatalogo(const std::vector<fs::path>& carpetas, const std::vector<std::string>& nombres) {
        const std::string archivo = std::string(DominioTextos) + ".mo";
        for (const fs::path& carpeta : carpetas)
            for (const std::string& nombre : nombres)
                if (catalogo_.Leer(carpeta / nombre / "LC_MESSAGES" / archivo)) return;
    }

    int32_t codigo_ = IdiomaEspanol;
    detalle::CatalogoMo catalogo_;
};

FabricaRegional& Fabrica() {
    static FabricaRegional fabrica;
    return fabrica;
}

std::shared_ptr<Regional> CrearPredeterminadoDelProceso() { return CrearRegionalPredeterminado(); }

}  // namespace

ado::RegionalSettings Regional::Configuracion() const { return ado::RegionalSettings::Current(); }

void Regional::Configuracion(const ado::RegionalSettings& configuracion) {
    ado::RegionalSettings::SetCurrent(configuracion);
}

std::shared_ptr<Regional> CrearRegionalPredeterminado(const std::string& strIdioma,
                                                      const std::filesystem::path& carpetaCatalogos) {
    return std::make_shared<RegionalPredeterminado>(strIdioma, carpetaCatalogos);
}

void InstalarFabricaRegional(FabricaRegional fabrica) { Fabrica() = std::move(fabrica); }

std::shared_ptr<Regional> CrearRegional() {
    return componentes::CrearConFabrica(Fabrica(), &CrearPredeterminadoDelProceso);
}

}  // namespace babelia
