// The default text utility and its factory.
#include "quimera/components/utilidades.h"

#include "ado/Error.h"
#include "components/fabrica.h"
#include "components/utilidades/buscador.h"

namespace utilidades {

namespace {

using detalle::Buscador;

[[noreturn]] void ArgumentoNoValido() {
    throw ado::Error(ErrorArgumentoNoValido, "Argumento o llamada a procedimiento no válida", "utilidades");
}

class UtilidadTextoPredeterminada final : public UtilidadTexto {
public:
    ado::Variant ExtraerTexto(const std::string& strTexto, const std::string& strToken, int32_t numModo,
                              int32_t numOpciones, int32_t numInicio, int32_t) const override {
        if (numModo < ModoPosicion || numModo > ModoTrasToken || numInicio < 1) ArgumentoNoValido();
        const size_t p = Buscador(strTexto, strToken, numOpciones).Siguiente(static_cast<size_t>(numInicio) - 1);
        const bool hallado = p != Buscador::npos;
        if (numModo == ModoPosicion) return static_cast<int32_t>(hallado ? p + 1 : 0);
        if (numModo == ModoContiene) return hallado;
        if (!hallado) return std::string();
        const size_t fin = p + strToken.size();
        switch (numModo) {
            case ModoDesdeToken: return strTexto.substr(p);
            case ModoHastaToken: return strTexto.substr(0, fin);
            case ModoAntesToken: return strTexto.substr(0, p);
            default: return strTexto.substr(fin);  // ModoTrasToken
        }
    }

    std::string ReemplazarTexto(const std::string& strTexto, const std::string& strBuscado,
                                const std::string& strReemplazo, int32_t numCuenta, int32_t numOpciones,
                                int32_t numInicio, int32_t) const override {
        if (numInicio < 1 || numCuenta < -1) ArgumentoNoValido();
        size_t desde = static_cast<size_t>(numInicio) - 1;
        if (strBuscado.empty() || desde >= strTexto.size()) return strTexto;

        // Every search runs on the original text, so an inserted replacement is never
        // looked at again, and literals and word limits are judged on what the caller wrote.
        Buscador buscador(strTexto, strBuscado, numOpciones);
        std::string resultado = strTexto.substr(0, desde);
        for (int32_t hechos = 0; numCuenta == -1 || hechos < numCuenta; ++hechos) {
            const size_t p = buscador.Siguiente(desde);
            if (p == Buscador::npos) break;
            resultado.append(strTexto, desde, p - desde).append(strReemplazo);
            desde = p + strBuscado.size();
        }
        return resultado.append(strTexto, desde);
    }
};

FabricaUtilidadTexto& Fabrica() {
    static FabricaUtilidadTexto fabrica;
    return fabrica;
}

}  // namespace

std::unique_ptr<UtilidadTexto> CrearUtilidadTextoPredeterminada() {
    return std::make_unique<UtilidadTextoPredeterminada>();
}

void InstalarFabricaUtilidadTexto(FabricaUtilidadTexto fabrica) { Fabrica() = std::move(fabrica); }

std::unique_ptr<UtilidadTexto> CrearUtilidadTexto() {
    return componentes::CrearConFabrica(Fabrica(), &CrearUtilidadTextoPredeterminada);
}

}  // namespace utilidades
