// The six classes: what creation gives, InicializarPropiedades, the order in which each
// object creates and releases the components it holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "quimera/apoyo/EntornoQuimera.h"
#include "quimera/frame/Procedimiento.h"

namespace {

using namespace quimera;

class Clases : public pruebas::EntornoQuimera {};

struct CuentaRutas : clsAccesoDatosEventos {
    void CambiaRutaHost(const std::string&, std::string&) override { ++veces; }
    int veces = 0;
};

// The language code the object reports a failure with.
int32_t IdiomaInformado(Informante& objeto, pruebas::Registro& registro) {
    frame::Procedimiento(objeto, "Prueba").paso([] { throw ado::Error(5, "x"); });
    return registro.informes.back().numIdioma;
}

TEST_F(Clases, InicializarPropiedadesDaAlGestorElNombreYLaCarpeta) {
    const std::string programa = std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
    const std::pair<std::function<void()>, std::vector<std::string>> casos[] = {
        {[] { clsAccesoDatos().InicializarPropiedades("/datos"); }, {"Quimera|/datos"}},
        {[] { clsSQL().InicializarPropiedades(TipoANSI, "/datos"); }, {"SQL|/datos"}},
        {[] { clsCampo().InicializarPropiedades("/datos"); }, {"Campo|/datos"}},
        {[] { clsCampos().InicializarPropiedades("/datos"); }, {"Campos|/datos"}},
        {[] { clsTransacciones().InicializarPropiedades(); }, {"Transacciones|" + programa}},
        // The inner objects take the same folder, the program's when there is no host path.
        {[] { clsDatosAvanzado().InicializarPropiedades("/datos"); },
         {"Datos Avanzado|/datos", "Quimera|/datos", "SQL|/datos"}},
        {[] { clsDatosAvanzado().InicializarPropiedades(); },
         {"Datos Avanzado|" + programa, "Quimera|" + programa, "SQL|" + programa}},
    };
    for (const auto& [crear, esperadas] : casos) {
        registro.inicializaciones.clear();
        crear();
        EXPECT_EQ(registro.inicializaciones, esperadas);
    }
}

TEST_F(Clases, LoQueInicializarPropiedadesNoEstableceSeConserva) {
    clsAccesoDatos acceso;
    EXPECT_EQ(std::make_tuple(acceso.AutomatizarLocCursor(), acceso.OrigenDatos(), acceso.MostrarMensajes()),
              std::make_tuple(true, dnAccess, false));
    CuentaRutas eventos;
    acceso.ConectarEventos(eventos);
    acceso.RutaHost("/host");
    acceso.InicializarPropiedades("", dnSQLServer2008, false);
    EXPECT_EQ(std::make_tuple(acceso.AutomatizarLocCursor(), acceso.OrigenDatos(), acceso.RutaHost()),
              std::make_tuple(false, dnSQLServer2008, "/host"));
    EXPECT_EQ(registro.inicializaciones, std::vector<std::string>{"Quimera|/host"});
    acceso.InicializarPropiedades("/otra");
    EXPECT_EQ(acceso.RutaHost(), "/otra");
    EXPECT_EQ(eventos.veces, 1);  // only the write of RutaHost raised the event

    // A regional object left unset keeps the one there is.
    acceso.InicializarPropiedades("/d", dnAccess, true, nullptr);
    EXPECT_EQ(IdiomaInformado(acceso, registro), babelia::IdiomaEspanol);
    acceso.InicializarPropiedades("/d", dnAccess, true, pruebas::Regional("en"));
    EXPECT_EQ(IdiomaInformado(acceso, registro), babelia::IdiomaIngles);
    acceso.InicializarPropiedades("/d");
    EXPECT_EQ(IdiomaInformado(acceso, registro), babelia::IdiomaIngles);
}

class RegionalContado final : public babelia::Regional {
public:
    explicit RegionalContado(std::vector<std::string>& sucesos) : sucesos_(sucesos) { sucesos_.push_back("+regional"); }
    ~RegionalContado() override { sucesos_.push_back("-regional"); }
    int32_t CodigoIdioma() const override { return 3082; }
    std::string Traducir(const std::string& s, int32_t, int32_t, const std::vector<ado::Variant>&) const override {
        return s;
    }

private:
    std::vector<std::string>& sucesos_;
};

TEST_F(Clases, OrdenDeCreacionYDestruccion) {
    babelia::InstalarFabricaRegional([this] { return std::make_shared<RegionalContado>(registro.sucesos); });
    const std::pair<std::function<void()>, std::vector<std::string>> casos[] = {
        {[] { clsAccesoDatos acceso; }, {"+gestor", "+regional", "-gestor", "-regional"}},
        {[] { clsDatosAvanzado avanzado; },
         {"+gestor", "+regional", "+gestor", "+regional", "+gestor",                // creation
          "-gestor", "-gestor", "-regional", "-gestor", "-regional"}},             // destruction
        {[] { clsTransacciones transacciones; }, {"+gestor", "-gestor"}},
    };
    for (const auto& [vida, esperados] : casos) {
        registro.sucesos.clear();
        vida();
        EXPECT_EQ(registro.sucesos, esperados);
    }
}

}  // namespace
