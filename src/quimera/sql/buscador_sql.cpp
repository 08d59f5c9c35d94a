#include "quimera/sql/BuscadorSQL.h"

#include <array>
#include <limits>

namespace quimera::sql {

namespace {

// The next "(", ")" or "," (the comma only when asked) at or after an offset that only moves
// forward. A found offset is kept until it is passed, so each mark costs one search.
class Marcas {
public:
    Marcas(const BuscadorSQL& buscador, const std::string& strTexto, bool blnComas)
        : buscador_(buscador), strTexto_(strTexto), numMarcas_(blnComas ? 3 : 2) {}

    // The offset of the nearest mark at or after desde and the mark, or npos.
    std::pair<size_t, char> Siguiente(size_t desde) {
        std::pair<size_t, char> cercana{BuscadorSQL::npos, 0};
        for (size_t i = 0; i < numMarcas_; ++i) {
            size_t& posicion = posiciones_[i];
            if (posicion == kSinBuscar || (posicion != BuscadorSQL::npos && posicion < desde))
                posicion = buscador_.Buscar(strTexto_, std::string(1, kMarcas[i]), desde);
            if (posicion < cercana.first) cercana = {posicion, kMarcas[i]};
        }
        return cercana;
    }

private:
    static constexpr std::array<char, 3> kMarcas = {'(', ')', ','};
    static constexpr size_t kSinBuscar = BuscadorSQL::npos - 1;

    const BuscadorSQL& buscador_;
    const std::string& strTexto_;
    size_t numMarcas_;
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

std::string BuscadorSQL::Reemplazar(const std::string& strTexto, const std::string& strBuscado,
                                    const std::string& strReemplazo) const {
    return utilidad_.ReemplazarTexto(strTexto, strBuscado, strReemplazo, -1, kOpcionesSQL, 1, 0);
}

std::optional<Llamada> BuscadorSQL::LeerLlamada(const std::string& strTexto, size_t inicio, size_t apertura) const {
    Llamada llamada;
    llamada.inicio = inicio;
    Marcas marcas(*this, strTexto, true);
    size_t nivel = 1;
    size_t inicioArgumento = apertura + 1;
    for (size_t desde = apertura + 1;;) {
        const auto [posicion, marca] = marcas.Siguiente(desde);
        if (posicion == npos) return std::nullopt;
        desde = posicion + 1;
        if (marca == '(') {
            ++nivel;
        } else if (marca == ',' && nivel == 1) {
            llamada.argumentos.push_back(strTexto.substr(inicioArgumento, posicion - inicioArgumento));
            inicioArgumento = posicion + 1;
        } else if (marca == ')' && --nivel == 0) {
            llamada.argumentos.push_back(strTexto.substr(inicioArgumento, posicion - inicioArgumento));
            llamada.fin = posicion + 1;
            return llamada;
        }
    }
}

std::vector<Tramo> BuscadorSQL::Parentesis(const std::string& strTexto) const {
    std::vector<Tramo> tramos;
    Marcas marcas(*this, strTexto, false);
    size_t nivel = 0;
    size_t apertura = 0;
    for (size_t desde = 0;;) {
        const auto [posicion, marca] = marcas.Siguiente(desde);
        if (posicion == npos) break;
        desde = posicion + 1;
        if (marca == '(') {
            if (nivel++ == 0) apertura = posicion;
        } else if (nivel > 0 && --nivel == 0) {
            tramos.push_back({apertura, posicion + 1});
        }
    }
    if (nivel > 0) tramos.push_back({apertura, strTexto.size()});
    return tramos;
}

size_t BuscadorSQL::BuscarFuera(const std::string& strTexto, const std::string& strToken,
                                const std::vector<Tramo>& tramos, size_t desde) const {
    auto tramo = tramos.begin();
    for (;;) {
        const size_t posicion = Buscar(strTexto, strToken, desde);
        if (posicion == npos) return npos;
        while (tramo != tramos.end() && tramo->hasta <= posicion) ++tramo;
        if (tramo == tramos.end() || posicion < tramo->desde) return posicion;
        desde = tramo->hasta;
    }
}

}  // namespace quimera::sql
