// The outside components a test of the library runs with, installed through their factories
// for the life of one test: error managers that record every call and answer with scripted
// decisions, Spanish regional objects with the build's catalogues, and one recording dialog
// control that every dialog goes to; the reports and dialogs read back as short texts.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "quimera/components/babelia.h"
#include "quimera/components/centinela.h"
#include "quimera/ControlGrabador.h"
#include "quimera/quimera.h"
#include "support/EmbeddedDb.h"

namespace pruebas {

inline const std::filesystem::path kCatalogos = std::filesystem::path(BREZAL_BINARY_DIR) / "locale";

inline std::shared_ptr<babelia::Regional> Regional(const std::string& strIdioma) {
    return babelia::CrearRegionalPredeterminado(strIdioma, kCatalogos);
}

struct Informe {
    std::string strProyecto, strClase, strMetodo;
    int32_t numError;
    std::string strDescripcion, strOrigen, strDato1, strDato2, strDato3;
    int32_t numDato, numIdioma;
    std::string strDato4;
};

// What every error manager of the test shares.
struct Registro {
    std::vector<std::string> inicializaciones;  // "name|folder"
    std::vector<Informe> informes;
    std::deque<int32_t> decisiones;  // one per report; abandon once empty
    std::function<void()> alInformar;
    std::vector<std::string> sucesos;  // creations and destructions of components
};

class GestorGrabador final : public centinela::GestorErrores {
public:
    explicit GestorGrabador(Registro& registro) : registro_(registro) { registro_.sucesos.push_back("+gestor"); }
    ~GestorGrabador() override { registro_.sucesos.push_back("-gestor"); }

    void Inicializar(bool blnRegistrar, const std::string& strNombre, const std::string& strCarpeta) override {
        EXPECT_TRUE(blnRegistrar);
        registro_.inicializaciones.push_back(strNombre + "|" + strCarpeta);
    }
    int32_t Informar(const std::string& p, const std::string& c, const std::string& m, int32_t n,
                     const std::string& d, const std::string& o, const std::string& d1, const std::string& d2,
                     const std::string& d3, int32_t nd, int32_t i, const std::string& d4) override {
        registro_.informes.push_back({p, c, m, n, d, o, d1, d2, d3, nd, i, d4});
        if (registro_.alInformar) registro_.alInformar();
        if (registro_.decisiones.empty()) return centinela::DecisionAbandonar;
        const int32_t decision = registro_.decisiones.front();
        registro_.decisiones.pop_front();
        return decision;
    }

private:
    Registro& registro_;
};

class EntornoQuimera : public ::testing::Test {
protected:
    EntornoQuimera() {
        centinela::InstalarFabricaGestorErrores([this] { return std::make_unique<GestorGrabador>(registro); });
        babelia::InstalarFabricaRegional([] { return Regional("es_ES"); });
        ui::InstalarFabricaControlDialogo([this] { return control; });
    }
    ~EntornoQuimera() override {
        centinela::InstalarFabricaGestorErrores({});
        babelia::InstalarFabricaRegional({});
        ui::InstalarFabricaControlDialogo({});
    }

    const std::vector<ui::DialogoGrabado>& Dialogos() const { return control->Dialogos(); }
    // A dialog as "title | heading | text | control icon".
    static std::string Texto(const ui::DialogoGrabado& d) {
        return d.strTitulo + " | " + d.strInstruccion + " | " + d.strContenido + " | " +
               std::to_string(d.numIconoPrincipal.value_or(0));
    }
    // The last dialog shown once there were `desde` dialogs; "" when none was.
    std::string UltimoDialogo(size_t desde = 0) const {
        return Dialogos().size() > desde ? Texto(Dialogos().back()) : "";
    }
    // Every report so far as "class.method number".
    std::vector<std::string> Informados() const {
        std::vector<std::string> textos;
        for (const Informe& i : registro.informes)
            textos.push_back(i.strClase + "." + i.strMetodo + " " + std::to_string(i.numError));
        return textos;
    }

    Registro registro;
    std::shared_ptr<ui::ControlGrabador> control = std::make_shared<ui::ControlGrabador>();
};

}  // namespace pruebas
