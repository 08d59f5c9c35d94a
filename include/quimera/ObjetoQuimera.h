// What every class of the library shares: the host path with its CambiaRutaHost event, the
// connected event sinks and the error manager created with the object.
//
// Threads: one object on one thread at a time.
#pragma once

#include <memory>
#include <string>

#include "quimera/components/centinela.h"
#include "quimera/Emisor.h"
#include "quimera/Informante.h"

namespace quimera {

// The folder of the running program (the host application that loaded the library).
std::string CarpetaProgramaHost();

template <class TEventos>
class ObjetoQuimera : public Informante {
public:
    std::string RutaHost() const { return strRutaHost_; }
    // Raises CambiaRutaHost on every write, also of the same value, and stores the path the
    // handlers leave. The error manager keeps the folder it was initialised with.
    void RutaHost(const std::string& strRuta) {
        const std::string strRutaAntigua = strRutaHost_;
        std::string strRutaNueva = strRuta;
        eventos_.Emitir(&TEventos::CambiaRutaHost, strRutaAntigua, strRutaNueva);
        strRutaHost_ = std::move(strRutaNueva);
    }

    void ConectarEventos(TEventos& objEventos) { eventos_.Conectar(objEventos); }
    void DesconectarEventos(TEventos& objEventos) { eventos_.Desconectar(objEventos); }

protected:
    ObjetoQuimera() : objGestionErrores_(centinela::CrearGestorErrores()) {}

    // The common steps of InicializarPropiedades: a non-empty strRuta becomes the host path
    // (no event); the error manager learns the display name and the folder to report into.
    void InicializarComun(const std::string& strRuta, const std::string& strNombre) {
        if (!strRuta.empty()) strRutaHost_ = strRuta;
        GestionErrores().Inicializar(true, strNombre, CarpetaInforme());
    }

    // The host path, or the running program's folder when there is none.
    std::string CarpetaInforme() const { return strRutaHost_.empty() ? CarpetaProgramaHost() : strRutaHost_; }

    centinela::GestorErrores& GestionErrores() { return *objGestionErrores_; }
    // Destructors release the error manager first, before what each class holds.
    void LiberarGestionErrores() { objGestionErrores_.reset(); }

    const Emisor<TEventos>& Eventos() const { return eventos_; }

private:
    centinela::GestorErrores& GestorInforme() final { return GestionErrores(); }

    std::string strRutaHost_;
    std::unique_ptr<centinela::GestorErrores> objGestionErrores_;
    Emisor<TEventos> eventos_;
};

}  // namespace quimera
