// The default regional object: language codes, translation through the English catalogue,
// the Spanish fallback, and the regional settings it gives access to.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "ado/error_numbers.h"
#include "ado/ErrorTranslation.h"
#include "quimera/components/babelia.h"
#include "support/TempDir.h"

namespace {

using namespace babelia;
namespace fs = std::filesystem;

const fs::path kCatalogos = fs::path(BREZAL_BINARY_DIR) / "locale";

// LC_ALL, LC_MESSAGES and LANG for one scope (nullptr unsets), put back afterwards.
class EntornoLocale {
public:
    EntornoLocale(std::initializer_list<const char*> valores) {
        auto valor = valores.begin();
        for (size_t i = 0; i < 3; ++i, ++valor) {
            if (const char* actual = std::getenv(kNombres[i])) antes_[i] = actual;
            *valor ? setenv(kNombres[i], *valor, 1) : unsetenv(kNombres[i]);
        }
    }
    ~EntornoLocale() {
        for (size_t i = 0; i < 3; ++i) antes_[i] ? setenv(kNombres[i], antes_[i]->c_str(), 1) : unsetenv(kNombres[i]);
    }

private:
    static constexpr const char* kNombres[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::optional<std::string> antes_[3];
};

TEST(Regional, TraduceAlInglesYDejaEnEspanolLoQueNoConoce) {
    const auto regional = CrearRegionalPredeterminado("en", kCatalogos);
    const std::pair<const char*, const char*> casos[] = {
        {"Aceptar", "OK"},
        {"Sí", "Yes"},
        {"Detectado en la clase: ", "Detected in class: "},
        {"No es posible editar. Ya hay un proceso de edición en marcha", "Cannot edit. An edit is already in progress"},
        {"Un texto que no está en el catálogo", "Un texto que no está en el catálogo"},
        {"", ""},
    };
    for (const auto& [espanol, ingles] : casos) EXPECT_EQ(regional->Traducir(espanol), ingles) << espanol;
    EXPECT_EQ(regional->CodigoIdioma(), IdiomaIngles);
    EXPECT_EQ(CrearRegionalPredeterminado("es_ES.UTF-8", kCatalogos)->Traducir("Aceptar", 100, 0), "Aceptar");
}

// The data layer's errors: every fixed text has its translation, and what the engine added
// after it is kept as it came.
TEST(Regional, LosErroresDeDatosSeTraducenConservandoSuDetalle) {
    const auto regional = CrearRegionalPredeterminado("en", kCatalogos);
    const auto traducir = [&](const std::string& texto) { return regional->Traducir(texto); };
    for (const auto& entrada : ado::kConditionTable) {
        const std::string fijo(entrada.description);
        const std::string ingles = ado::TranslateDescription(fijo, traducir);
        EXPECT_NE(ingles, fijo) << "no English text for: " << fijo;
        EXPECT_EQ(ado::TranslateDescription(fijo + " (motor: near \"x\")", traducir), ingles + " (motor: near \"x\")");
    }
    const std::pair<const char*, const char*> casos[] = {
        {"No se han especificado valores para algunos de los parámetros requeridos. (Nada)",
         "No value given for one or more required parameters. (Nada)"},
        {"Desbordamiento", "Overflow"},
        {"Desbordamientos varios", "Desbordamientos varios"},  // a word that only starts like a fixed text
        {"Aceptar", "OK"},                                      // a whole text of the catalogue
    };
    for (const auto& [espanol, ingles] : casos) EXPECT_EQ(ado::TranslateDescription(espanol, traducir), ingles);
}

TEST(Regional, CodigoDeIdiomaPorNombreDeLocale) {
    testsupport::TempDir sinCatalogos;
    const std::pair<const char*, int32_t> casos[] = {
        {"es", 3082},    {"es_MX.UTF-8", 2058}, {"en_GB", 2057},          {"en_NZ.UTF-8", 1033},
        {"C", 3082},     {"C.UTF-8", 3082},     {"POSIX", 3082},          {"fr_FR.UTF-8@euro", 1036},
        {"xx_YY", 3082}, {"pt_BR", 1046},       {"pt_PT.ISO-8859-1", 2070},
    };
    for (const auto& [locale, codigo] : casos)
        EXPECT_EQ(CrearRegionalPredeterminado(locale, sinCatalogos.path())->CodigoIdioma(), codigo) << locale;
}

TEST(Regional, SinIdiomaExplicitoLeeElLocaleDelProcesoYLosCatalogosDelArbolDeConstruccion) {
    {
        EntornoLocale entorno{nullptr, nullptr, "en_GB.UTF-8"};
        EXPECT_EQ(CrearRegional()->CodigoIdioma(), 2057);
        EXPECT_EQ(CrearRegional()->Traducir("Cancelar"), "Cancel");
    }
    EntornoLocale entorno{"es_ES.UTF-8", "en_US.UTF-8", "en_US.UTF-8"};
    EXPECT_EQ(CrearRegional()->CodigoIdioma(), IdiomaEspanol);
    EXPECT_EQ(CrearRegional()->Traducir("Cancelar"), "Cancelar");
}

TEST(Regional, UnCatalogoIlegibleDejaLosTextosEnEspanol) {
    std::ifstream original(kCatalogos / "en" / "LC_MESSAGES" / "brezal.mo", std::ios::binary);
    const std::string bueno{std::istreambuf_iterator<char>(original), {}};
    ASSERT_GT(bueno.size(), 100u);
    std::string desbordado = bueno;
    desbordado[12] = desbordado[13] = desbordado[14] = '\x7f';  // string table far past the end
    for (const std::string& malo : {std::string("no es un catálogo"), bueno.substr(0, 40), desbordado}) {
        testsupport::TempDir tmp;
        fs::create_directories(tmp.path() / "en" / "LC_MESSAGES");
        std::ofstream(tmp.path() / "en" / "LC_MESSAGES" / "brezal.mo", std::ios::binary) << malo;
        EXPECT_EQ(CrearRegionalPredeterminado("en", tmp.path())->Traducir("Aceptar"), "Aceptar");
    }
}

TEST(Regional, LaConfiguracionRegionalEsLaDelProceso) {
    const ado::RegionalSettings antes = ado::RegionalSettings::Current();
    auto configuracion = CrearRegional()->Configuracion();
    configuracion.decimalSeparator = ",";
    configuracion.dateOrder = ado::RegionalSettings::DateOrder::DayMonthYear;
    configuracion.dateSeparator = "/";
    configuracion.leadingZeroDayMonth = false;
    CrearRegional()->Configuracion(configuracion);
    EXPECT_EQ(ado::Variant(1.5).ToString(), "1,5");
    EXPECT_EQ(ado::Variant(ado::MakeDate(2024, 3, 5)).ToString(), "5/3/2024");
    ado::RegionalSettings::SetCurrent(antes);
}

// The factories of the three components share one rule; this checks it through babelia's.
TEST(Regional, LaFabricaDelClienteSustituyeALaPredeterminada) {
    struct Marcador final : Regional {
        int32_t CodigoIdioma() const override { return 100; }
        std::string Traducir(const std::string& t, int32_t, int32_t, const std::vector<ado::Variant>&) const override {
            return "<" + t + ">";
        }
    };
    InstalarFabricaRegional([] { return std::make_shared<Marcador>(); });
    EXPECT_EQ(CrearRegional()->Traducir("Aceptar"), "<Aceptar>");
    InstalarFabricaRegional([] { return std::shared_ptr<Regional>(); });  // null: the default
    EXPECT_NE(CrearRegional()->CodigoIdioma(), 100);
    InstalarFabricaRegional({});
}

}  // namespace
