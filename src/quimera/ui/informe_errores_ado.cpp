// The data-error report of clsAccesoDatos and clsDatosAvanzado: one dialog per ADO error.
// The collection is left as it is; the publication clears it afterwards.
#include "ado/ErrorTranslation.h"
#include "quimera/MostrarDialogoMensaje.h"
#include "quimera/clsAccesoDatos.h"
#include "quimera/clsDatosAvanzado.h"
#include "quimera/frame/ErroresEjecucion.h"

namespace quimera {

namespace {

// blnTraducirPiezas: whether the fixed pieces are translated before they are joined; the
// dialog translates the joined texts in any case.
void MostrarInformeErroresADO(const std::shared_ptr<babelia::Regional>& objRegional, const std::string& strNombre,
                              const ado::Errors& colErrores, bool blnTraducirPiezas) {
    const auto pieza = [&](const std::string& strTexto) {
        return blnTraducirPiezas ? frame::Establecido(objRegional).Traducir(strTexto, 100, 0) : strTexto;
    };
    for (const ado::Error& error : colErrores) {
        MostrarDialogoMensaje({
            .pObjRegional = objRegional,
            .strTitulo = pieza("Error de acceso a datos"),
            .strInstruccion = pieza("Error de acceso a datos en la clase: ") + strNombre,
            .strContenido = pieza("Descripción: ") + ado::TranslateDescription(error.Description(), pieza) +
                            pieza(". Origen: ") + error.Source(),
            .numIcono = IconoInformacion,
        });
    }
}

}  // namespace

void clsAccesoDatos::MostrarErroresADO(ado::Errors& colErrores, bool blnForzar) {
    if (!MostrarMensajes() && !blnForzar) return;
    MostrarInformeErroresADO(objRegional_, Nombre(), colErrores, true);
}

void clsDatosAvanzado::MostrarErroresADO(ado::Errors& colErrores, bool blnForzar) {
    if (!MostrarMensajes() && !blnForzar) return;
    MostrarInformeErroresADO(objRegional_, Nombre(), colErrores, false);
}

}  // namespace quimera
