// What the library's fuzz targets share: an error manager that stops the run on any report,
// since the routines under test must not fail on any input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "quimera/components/centinela.h"

namespace fuzz {

class GestorQueAborta final : public centinela::GestorErrores {
public:
    void Inicializar(bool, const std::string&, const std::string&) override {}
    int32_t Informar(const std::string&, const std::string& strClase, const std::string& strMetodo, int32_t numError,
                     const std::string& strDescripcion, const std::string&, const std::string&, const std::string&,
                     const std::string&, int32_t, int32_t, const std::string&) override {
        std::fprintf(stderr, "failure reported: %s.%s %d %s\n", strClase.c_str(), strMetodo.c_str(), numError,
                     strDescripcion.c_str());
        std::abort();
    }
};

inline void InstalarGestorQueAborta() {
    centinela::InstalarFabricaGestorErrores([] { return std::make_unique<GestorQueAborta>(); });
}

}  // namespace fuzz
