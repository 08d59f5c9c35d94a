// ColeccionCampos: the keyed collection of field descriptors behind clsCampos::Coleccion.
//
// Entries keep the order they were added in. Keys are texts compared without regard to
// case (ASCII and the accented Latin letters fold: "á" matches "Á"); an entry may have no
// key. An index is a text key or a position from 1 (any number, rounded as CLng rounds).
// Failures are ado::Error with the automation runtime's numbers: a duplicate key 457, a
// key that is not there 5, a position outside 1..Cuenta 9.
//
// Threads: one thread at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ado/Variant.h"
#include "quimera/clsCampo.h"

namespace quimera {

class ColeccionCampos {
public:
    int32_t Cuenta() const { return static_cast<int32_t>(entradas_.size()); }
    void Agregar(clsCampoPtr objElemento, const std::string& strClave = "");
    void Quitar(const ado::Variant& varIndice);
    const clsCampoPtr& Elemento(const ado::Variant& varIndice) const;

    // The entries in order, for walks over the whole collection.
    std::vector<clsCampoPtr> Elementos() const;

private:
    struct Entrada {
        std::string strClavePlegada;  // empty when the entry has no key
        clsCampoPtr objElemento;
    };
    size_t Posicion(const ado::Variant& varIndice) const;

    std::vector<Entrada> entradas_;
};

}  // namespace quimera
