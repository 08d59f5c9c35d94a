#include "quimera/connections/aviso_conexion.h"

#include "quimera/MostrarDialogoMensaje.h"
#include "quimera/frame/ErroresEjecucion.h"

namespace quimera::conexiones {

void MostrarAvisoConexion(const std::shared_ptr<babelia::Regional>& objRegional, const std::string& strNombre,
                          const AvisoConexion& aviso) {
    MostrarDialogoMensaje({
        .pObjRegional = objRegional,
        .strTitulo = std::string(aviso.strTitulo),
        .strInstruccion = std::string(aviso.strInstruccion),
        .strContenido = frame::Establecido(objRegional).Traducir("Detectado en la clase: ", 100, 0) + strNombre,
        .numIcono = IconoError,
    });
}

}  // namespace quimera::conexiones
