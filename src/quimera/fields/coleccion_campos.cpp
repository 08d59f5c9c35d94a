// The keyed collection of field descriptors.
#include <algorithm>

#include "quimera/ColeccionCampos.h"
#include "quimera/frame/ErroresEjecucion.h"

namespace quimera {

namespace {

// The key as it is compared: ASCII letters and the accented Latin-1 capitals (UTF-8 C3 80
// to C3 9E, but for the sign ×) in lower case.
std::string Plegar(const std::string& strClave) {
    std::string plegada = strClave;
    for (size_t i = 0; i < plegada.size(); ++i) {
        unsigned char& c = reinterpret_cast<unsigned char&>(plegada[i]);
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<unsigned char>(c + ('a' - 'A'));
        } else if (c == 0xC3 && i + 1 < plegada.size()) {
            unsigned char& siguiente = reinterpret_cast<unsigned char&>(plegada[++i]);
            if (siguiente >= 0x80 && siguiente <= 0x9E && siguiente != 0x97)
                siguiente = static_cast<unsigned char>(siguiente + 0x20);
        }
    }
    return plegada;
}

}  // namespace

void ColeccionCampos::Agregar(clsCampoPtr objElemento, const std::string& strClave) {
    std::string plegada = Plegar(strClave);
    if (!plegada.empty() &&
        std::ranges::any_of(entradas_, [&](const Entrada& e) { return e.strClavePlegada == plegada; }))
        throw frame::ErrorEjecucion(frame::ErrorClaveRepetida);
    entradas_.push_back({std::move(plegada), std::move(objElemento)});
}

size_t ColeccionCampos::Posicion(const ado::Variant& varIndice) const {
    if (varIndice.IsText()) {
        const std::string plegada = Plegar(varIndice.AsString());
        const auto entrada = std::ranges::find(entradas_, plegada, &Entrada::strClavePlegada);
        if (plegada.empty() || entrada == entradas_.end()) throw frame::ErrorEjecucion(frame::ErrorLlamadaNoValida);
        return static_cast<size_t>(entrada - entradas_.begin());
    }
    const int32_t numPosicion = varIndice.ToInt32();
    if (numPosicion < 1 || numPosicion > Cuenta()) throw frame::ErrorEjecucion(frame::ErrorSubindice);
    return static_cast<size_t>(numPosicion - 1);
}

void ColeccionCampos::Quitar(const ado::Variant& varIndice) {
    entradas_.erase(entradas_.begin() + static_cast<std::ptrdiff_t>(Posicion(varIndice)));
}

const clsCampoPtr& ColeccionCampos::Elemento(const ado::Variant& varIndice) const {
    return entradas_[Posicion(varIndice)].objElemento;
}

std::vector<clsCampoPtr> ColeccionCampos::Elementos() const {
    std::vector<clsCampoPtr> elementos;
    elementos.reserve(entradas_.size());
    for (const Entrada& entrada : entradas_) elementos.push_back(entrada.objElemento);
    return elementos;
}

}  // namespace quimera
