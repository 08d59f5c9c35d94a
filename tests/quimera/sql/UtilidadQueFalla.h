// A text utility that fails when asked about one token and otherwise is the default one,
// installed as the utility factory for the life of the object, with a count of creations.
#pragma once

#include <memory>
#include <string>

#include "ado/Error.h"
#include "quimera/components/utilidades.h"

namespace pruebas {

class FabricaQueFalla {
public:
    explicit FabricaQueFalla(std::string token) {
        utilidades::InstalarFabricaUtilidadTexto([this, token] {
            ++creadas;
            return std::make_unique<Utilidad>(token);
        });
    }
    ~FabricaQueFalla() { utilidades::InstalarFabricaUtilidadTexto({}); }
    FabricaQueFalla(const FabricaQueFalla&) = delete;
    FabricaQueFalla& operator=(const FabricaQueFalla&) = delete;

    int creadas = 0;

private:
    class Utilidad final : public utilidades::UtilidadTexto {
    public:
        explicit Utilidad(std::string token) : token_(std::move(token)) {}
        ado::Variant ExtraerTexto(const std::string& t, const std::string& token, int32_t m, int32_t o, int32_t i,
                                  int32_t o2) const override {
            return Comprobar(token).real_->ExtraerTexto(t, token, m, o, i, o2);
        }
        std::string ReemplazarTexto(const std::string& t, const std::string& b, const std::string& r, int32_t c,
                                    int32_t o, int32_t i, int32_t o2) const override {
            return Comprobar(b).real_->ReemplazarTexto(t, b, r, c, o, i, o2);
        }

    private:
        const Utilidad& Comprobar(const std::string& token) const {
            if (token == token_) throw ado::Error(5, "Argumento no válido", "utilidades");
            return *this;
        }
        std::string token_;
        std::unique_ptr<utilidades::UtilidadTexto> real_ = utilidades::CrearUtilidadTextoPredeterminada();
    };
};

}  // namespace pruebas
