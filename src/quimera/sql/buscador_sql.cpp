#include "quimera/sql/BuscadorSQL.h"

#include <algorithm>
#include <array>
#include <limits>

namespace quimera::sql {

namespace {

// The next "(", ")" or "," at or after an offset that only moves forward. A found offset is
// kept until it is passed, so each kind of mark is searched for over each stretch once.
class Marcas {
public:
    Marcas(const BuscadorSQL& buscador, const std::string& strTexto) : buscador_(buscador), strTexto_(strTexto) {}

    // The offset of the nearest mark at or after desde and the mark, or npos.
    std::pair<size_t, char> Siguiente(size_t desde) {
        std::pair<size_t, char> cercana{npos, 0};
        for (size_t i = 0; i < kMarcas.size(); ++i) {
            size_t& posicion = posiciones_[i];
            if (posicion == kSinBuscar || (posicion != npos && posicion < desde))
                posicion = buscador_.BuscarAdelante(strTexto_, std::string(1, kMarcas[i]), desde);
            if (posicion < cercana.first) cercana = {posicion, kMarcas[i]};
        }
        return cercana;
    }

private:
    static constexpr std::array<char, 3> kMarcas = {'(', ')', ','};
    static constexpr size_t kSinBuscar = npos - 1;

    const BuscadorSQL& buscador_;
    const std::string& strTexto_;
    std::array<size_t, 3> posiciones_ = {kSinBuscar, kSinBuscar, kSinBuscar};
};

}  // namespace

size_t BuscadorSQL::Buscar(const std::string& strTexto, const std::string& strToken, size_t desde) const {
    if (desde >= strTexto.size() || desde >= static_cast<size_t>(std::numeric_limits<int32_t>::max())) return npos;
    const int32_t posicion =
        utilidad_.ExtraerTexto(strTexto, strToken, utilidades::ModoPosicion, kOpcionesSQL, static_cast<int32_t>(desde + 1))
            .ToInt32();
    // A position before desde would make callers go round for ever: read it as absent.
    if (posicion < 1 || static_cast<size_t>(posicion) <= desde) return npos;
    return static_cast<size_t>(posicion) - 1;
}

size_t BuscadorSQL::BuscarAdelante(const std::string& strTexto, const std::string& strToken, size_t desde) const {
    for (size_t numLongitud = std::max<size_t>(64, 4 * strToken.size()); desde < strTexto.size(); numLongitud *= 2) {
        // A short text is searched whole, without a copy.
        if (desde == 0 && numLongitud >= strTexto.size()) return Buscar(strTexto, strToken);
        const std::string strTrozo = strTexto.substr(desde, numLongitud);
        const bool blnHastaElFinal = desde + strTrozo.size() == strTexto.size();
        const size_t posicion = Buscar(strTrozo, strToken);
        // An occurrence that touches the end of the piece is judged again on a longer one:
        // what follows it decides whether it is a whole word.
        if (posicion != npos && (blnHastaElFinal || posicion + strToken.size() < strTrozo.size()))
            return desde + posicion;
        if (blnHastaElFinal) return npos;
    }
    return npos;
}

std::string BuscadorSQL::Reemplazar(const std::string& strTexto, const std::string& strBuscado,
                                    const std::string& strReemplazo) const {
    return utilidad_.ReemplazarTexto(strTexto, strBuscado, strReemplazo, -1, kOpcionesSQL, 1, 0);
}

Parentesis::Parentesis(const BuscadorSQL& buscador, const std::string& strTexto) : numLongitud_(strTexto.size()) {
    Marcas marcas(buscador, strTexto);
    std::vector<size_t> abiertos;  // indexes into grupos_ of the groups not closed yet
    for (size_t desde = 0;;) {
        const auto [posicion, marca] = marcas.Siguiente(desde);
        if (posicion == npos) break;
        desde = posicion + 1;
        if (marca == '(') {
            abiertos.push_back(grupos_.size());
            grupos_.push_back({posicion, npos, {}});
        } else if (abiertos.empty()) {
            continue;  // a comma or a ")" outside every group
        } else if (marca == ',') {
            grupos_[abiertos.back()].comas.push_back(posicion);
        } else {
            grupos_[abiertos.back()].cierre = posicion;
            abiertos.pop_back();
        }
    }
}

const Grupo* Parentesis::En(size_t apertura) const {
    const auto grupo = std::lower_bound(grupos_.begin(), grupos_.end(), apertura,
                                        [](const Grupo& g, size_t posicion) { return g.apertura < posicion; });
    return grupo != grupos_.end() && grupo->apertura == apertura ? &*grupo : nullptr;
}

std::vector<Tramo> Parentesis::Exteriores() const {
    std::vector<Tramo> tramos;
    for (const Grupo& grupo : grupos_) {
        if (!tramos.empty() && grupo.apertura < tramos.back().hasta) continue;  // nested in the last one
        tramos.push_back({grupo.apertura, grupo.cierre == npos ? numLongitud_ : grupo.cierre + 1});
    }
    return tramos;
}

size_t BuscarFuera(const BuscadorSQL& buscador, const std::string& strTexto, const std::string& strToken,
                   const std::vector<Tramo>& tramos, size_t desde) {
    auto tramo = tramos.begin();
    for (;;) {
        const size_t posicion = buscador.BuscarAdelante(strTexto, strToken, desde);
        if (posicion == npos) return npos;
        while (tramo != tramos.end() && tramo->hasta <= posicion) ++tramo;
        if (tramo == tramos.end() || posicion < tramo->desde) return posicion;
        desde = tramo->hasta;
    }
}

}  // namespace quimera::sql
