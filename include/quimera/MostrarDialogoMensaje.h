// MostrarDialogoMensaje: the one routine through which the library shows a message.
//
// It shows a modal task dialog through the control that ui::CrearControlDialogo gives and
// returns the code of the button that closed it: 101 to 113, 102 when the dialog was closed
// without a button, 0 when nothing was shown because another dialog of the routine is still
// open (then nothing changes, blnCasilla included). Every text except the custom button
// captions passes through the regional object's translation before the control gets it.
//
// Button codes: 101 "Aceptar", 102 "Cancelar", 103 "Sí", 104 "No", 105 "Reintentar",
// 106 "Ignorar", 107 "Anular", 108 "Ayuda", 109 "Cerrar", 110 to 113 the custom captions
// strBotonPropio1 to 4; any other code (100 by convention) leaves its slot empty. With six
// empty slots the dialog has no button and may be closed without one; otherwise only a
// "Cancelar" button allows that. numBotonDefecto marks the default only when one of the
// slots holds it. Icon codes: 1, 4, 6, 7 information; 2 warning; 3, 5 error; any other
// leaves the control's icon alone.
//
// A failure inside (a regional object that is not set, a translation or control that
// fails) reaches the caller; the busy mark is cleared all the same.
//
// Threads: the dialog runs on the caller's thread; the busy mark is process-wide.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "quimera/components/babelia.h"

namespace quimera {

// Button codes.
inline constexpr int32_t BotonNinguno = 100;
inline constexpr int32_t BotonAceptar = 101;
inline constexpr int32_t BotonCancelar = 102;
inline constexpr int32_t BotonSi = 103;
inline constexpr int32_t BotonNo = 104;
inline constexpr int32_t BotonReintentar = 105;
inline constexpr int32_t BotonIgnorar = 106;
inline constexpr int32_t BotonAnular = 107;
inline constexpr int32_t BotonAyuda = 108;
inline constexpr int32_t BotonCerrar = 109;
inline constexpr int32_t BotonPropio1 = 110;
inline constexpr int32_t BotonPropio4 = 113;

// Icon codes as callers use them.
inline constexpr int32_t IconoInformacion = 1;
inline constexpr int32_t IconoAdvertencia = 2;
inline constexpr int32_t IconoError = 3;

// The routine's parameters in their published order, with the values callers usually pass.
struct ParametrosDialogo {
    std::shared_ptr<babelia::Regional> pObjRegional{};
    std::string strTitulo{};
    std::string strInstruccion{};
    std::string strContenido{};
    int32_t numIcono = IconoInformacion;
    int32_t numBoton1 = BotonAceptar;
    int32_t numBoton2 = BotonNinguno;
    int32_t numBoton3 = BotonNinguno;
    int32_t numBoton4 = BotonNinguno;
    int32_t numBoton5 = BotonNinguno;
    int32_t numBoton6 = BotonNinguno;
    int32_t numBotonDefecto = BotonAceptar;
    std::string strInformacionDetallada{};
    std::string strTextoMostrar = "Mostrar información detallada";
    std::string strTextoOcultar = "Ocultar información detallada";
    bool blnAjuste1 = false;
    bool blnAjuste2 = false;
    std::string strPie{};
    int32_t numIconoPie = IconoInformacion;
    int32_t numAjuste = 0;  // passed to the control only when above 0
    std::string strTextoCasilla{};
    bool blnCasilla = false;  // in: the box's initial state; out: its state when the dialog closed
    bool blnAjuste3 = false;
    bool blnAjuste4 = false;
    std::string strBotonPropio1{};
    std::string strBotonPropio2{};
    std::string strBotonPropio3{};
    std::string strBotonPropio4{};
};

int32_t MostrarDialogoMensaje(ParametrosDialogo& parametros);
// For callers that do not read the check box back.
int32_t MostrarDialogoMensaje(ParametrosDialogo&& parametros);

}  // namespace quimera
