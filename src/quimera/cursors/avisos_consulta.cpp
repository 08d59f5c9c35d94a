// The lists of failure numbers of AbrirConsulta and EjecutarConsulta.
#include "quimera/cursors/AvisosConsulta.h"

#include <algorithm>

namespace quimera::consultas {

void AjustarListaSinInforme(Informante& objClase, const ado::ConnectionPtr& objConexion, const frame::Fallo& fallo,
                            std::span<const Dialogo> dialogos, std::span<const int32_t> sinInforme,
                            const std::function<void(ado::Errors&)>& eventoErroresADO, bool& blnSinDialogo) {
    blnSinDialogo = false;
    if (!objConexion || objConexion->Errors().Count() == 0) return;
    const bool blnDialogo = std::ranges::find(dialogos, fallo.numError, &Dialogo::numError) != dialogos.end();
    const bool blnSinInforme = avisos::Contiene(sinInforme, fallo.numError);
    if (blnSinInforme && !blnDialogo) {
        eventoErroresADO(objConexion->Errors());
        objConexion->Errors().Clear();
    } else if (blnDialogo && !blnSinInforme) {
        frame::Procedimiento::PublicarErroresADO(objClase, *objConexion, true);
        blnSinDialogo = true;
    }
}

}  // namespace quimera::consultas
