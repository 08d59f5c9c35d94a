// A text utility that fails when it is asked about one token and otherwise works as the
// default one, to reach the failure paths of the SQL text routines.
#pragma once

#include <string>

#include "ado/Error.h"
#include "components/utilidades.h"

namespace pruebas {

class UtilidadQueFalla final : public utilidades::UtilidadTexto {
public:
    UtilidadQueFalla(std::string token, int& creadas) : token_(std::move(token)) { ++creadas; }

    ado::Variant ExtraerTexto(const std::string& t, const std::string& token, int32_t m, int32_t o, int32_t i,
                              int32_t o2) const override {
        Comprobar(token);
        return real_->ExtraerTexto(t, token, m, o, i, o2);
    }
    std::string ReemplazarTexto(const std::string& t, const std::string& b, const std::string& r, int32_t c,
                                int32_t o, int32_t i, int32_t o2) const override {
        Comprobar(b);
        return real_->ReemplazarTexto(t, b, r, c, o, i, o2);
    }

private:
    void Comprobar(const std::string& token) const {
        if (token == token_) throw ado::Error(5, "Argumento no válido", "utilidades");
    }
    std::string token_;
    std::unique_ptr<utilidades::UtilidadTexto> real_ = utilidades::CrearUtilidadTextoPredeterminada();
};

// Installs UtilidadQueFalla as the utility factory for the life of the object.
class FabricaQueFalla {
public:
    explicit FabricaQueFalla(std::string token) {
        utilidades::InstalarFabricaUtilidadTexto(
            [this, token] { return std::make_unique<UtilidadQueFalla>(token, creadas); });
    }
    ~FabricaQueFalla() { utilidades::InstalarFabricaUtilidadTexto({}); }
    FabricaQueFalla(const FabricaQueFalla&) = delete;
    FabricaQueFalla& operator=(const FabricaQueFalla&) = delete;

    int creadas = 0;
};

}  // namespace pruebas
