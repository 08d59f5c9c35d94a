// The messages of AbrirConsulta and EjecutarConsulta, and how their own lists of failure
// numbers meet the step runner's handling of pending ADO errors.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "ado/Connection.h"
#include "quimera/editing/Avisos.h"
#include "quimera/frame/Procedimiento.h"

namespace quimera::consultas {

inline constexpr avisos::Aviso kConexionIncorrecta{.strTitulo = "Error de conexión",
                                                   .strInstruccion = "Error de conexión",
                                                   .strContenido = "La conexión no es correcta", .numIcono = IconoError,
                                                   .blnTraducir = true};
inline constexpr avisos::Aviso kErrorConsulta{.strTitulo = "Error de consulta",
                                              .strInstruccion = "Error al ejecutar la consulta",
                                              .contenido = avisos::Contenido::DetectadoEnClase, .numIcono = IconoError,
                                              .blnTraducir = true};

// A number with a dialog of its own.
struct Dialogo {
    int32_t numError;
    avisos::Aviso aviso;
};

// The runner publishes pending ADO errors (with the forced report) for numbers without a
// dialog and only clears them for numbers with one. The method's list of numbers that skip
// the report may say otherwise; this settles those numbers before the runner looks:
//  - in the list without a dialog: ErroresADO is raised and the errors cleared, so the
//    failure goes on to the error manager;
//  - with a dialog but not in the list: the errors are published with the report, and
//    blnSinDialogo tells the dialog's action to show nothing.
// eventoErroresADO raises the class's ErroresADO event.
void AjustarListaSinInforme(Informante& objClase, const ado::ConnectionPtr& objConexion, const frame::Fallo& fallo,
                            std::span<const Dialogo> dialogos, std::span<const int32_t> sinInforme,
                            const std::function<void(ado::Errors&)>& eventoErroresADO, bool& blnSinDialogo);

}  // namespace quimera::consultas
