// clsAccesoDatos::Actualizar and ActualizarCascada: saving the pending change of the current
// record, or every pending change of a batch recordset.
#include "ado/ErrorNumbers.h"
#include "quimera/ControlDialogo.h"
#include "quimera/clsAccesoDatos.h"
#include "quimera/editing/Avisos.h"
#include "quimera/frame/ErroresEjecucion.h"

namespace quimera {

namespace {

using namespace avisos;
namespace err = ado::err;

constexpr Aviso kSinSoporte{.strTitulo = "Error de proveedor",
                            .strInstruccion = "El proveedor no admite el método actualizar",
                            .contenido = Contenido::DetectadoEnClase, .numIcono = IconoError, .blnTraducir = true};
constexpr Aviso kSinEdicion{"Actualizar Datos", "Actualizar Datos", Contenido::Fijo,
                            "No es posible Actualizar. No hay procesos de edición activos"};
constexpr Aviso kSinEdicionTraducido{.strTitulo = kSinEdicion.strTitulo, .strInstruccion = kSinEdicion.strInstruccion,
                                     .strContenido = kSinEdicion.strContenido, .numIcono = IconoAdvertencia,
                                     .blnTraducir = true};
constexpr Aviso kDuplicidadOTiempo{
    "Actualización cancelada", "Actualización cancelada", Contenido::Fijo,
    "No se ha podido procesar la actualizacion por duplicidad de indices o consumo de tiempo de espera, "
    "inténtelo de nuevo.",
    IconoInformacion};
constexpr Aviso kConcurrencia{
    "Actualización cancelada", "Actualización cancelada", Contenido::Fijo,
    "No se pueden guardar los cambios porque otro usuario ha realizado los mismos cambios en este registro "
    "desde la ultima vez que actualizó sus datos. Cancele la edición actual y actualize la consulta actual para "
    "poder editar este registro."};
constexpr Aviso kErrorConDescripcion{.strTitulo = "Error al actualizar",
                                     .strInstruccion = "Error al actualizar. Descripción: ",
                                     .contenido = Contenido::DetectadoEnClase, .numIcono = IconoError,
                                     .blnTraducir = true, .blnDescripcionEnInstruccion = true};

// blnSilenciable: blnNoMostrarMensaje hides the message.
constexpr Reconocido kActualizar[] = {
    {err::TimeLimit, kDuplicidadOTiempo, Cambio::CancelarAntes, true},
    {err::DuplicateKey, kDuplicidadOTiempo, Cambio::CancelarAntes, true},
    {err::ConcurrencyViolation, kConcurrencia, Cambio::CancelarAntes},
    {err::CouldNotReadLocked, kBloqueadoAlActualizar, Cambio::Conservar, true},
    {err::LockedByUser, kBloqueadoAlActualizar, Cambio::Conservar, true},
    {err::IntegrityOnChange, avisos::kIntegridadReferencial},
    {err::Fail, kErrorConDescripcion, Cambio::Conservar, true},
    {err::OdbcCallFailed, kErrorConDescripcion},
    {err::NoCurrentRecord, avisos::kSinRegistroActivo},
};
// The last ADO error that makes an unrecognised failure cancel the change.
constexpr int32_t kCancelanTrasInforme[] = {err::TimeLimit, err::DuplicateKey, err::ConcurrencyViolation};

constexpr Reconocido kActualizarCascada[] = {
    {err::CouldNotReadLocked, kBloqueadoAlActualizar},
    {err::LockedByUser, kBloqueadoAlActualizar},
    {err::IntegrityOnChange, avisos::kIntegridadReferencial},
    {err::Fail, kErrorAlActualizar},
    {err::OdbcCallFailed, kErrorAlActualizar},
    {err::NoCurrentRecord, avisos::kSinRegistroActivo},
};

}  // namespace

bool clsAccesoDatos::Actualizar(ado::RecordsetPtr& objRecordset, bool blnNoMostrarMensaje) {
    using E = clsAccesoDatosEventos;
    bool resultado = false;
    bool bolCancelar = false;
    ado::EditModeEnum numModalidad = ado::adEditNone;
    ado::ConnectionPtr cn;
    const avisos::Avisador avisar{objRegional_, Nombre()};
    const auto cancelar = [&] { frame::Establecido(objRecordset).CancelUpdate(); };
    const avisos::ReglaCambio regla{.cancelar = cancelar,
                                    .trasInforme = kCancelanTrasInforme,
                                    .blnAlAbandonar = false,
                                    .blnSilencio = blnNoMostrarMensaje};

    frame::Procedimiento p(*this, "Actualizar", cn);
    p.ForzarInforme(!blnNoMostrarMensaje)
        .AlFallar([&](const frame::Fallo& f) {
            Eventos().Emitir(&E::ErrorActualizar, objRecordset, f.numError, dnIndividual);
            ui::CrearControlDialogo()->ProcesarMensajesPendientes();
        });
    avisos::PrepararFallos(p, kActualizar, avisar, cn, regla);

    p.paso([&] { cn = avisos::TomarConexion(objRecordset); })
        && p.paso([&] { return avisar.Exigir(objRecordset->Supports(ado::adUpdate), kSinSoporte); })
        && p.paso([&] { return avisar.Exigir(objRecordset->EditMode() != ado::adEditNone, kSinEdicionTraducido); })
        && p.paso([&] { numModalidad = objRecordset->EditMode(); })
        && p.paso([&] { Eventos().Emitir(&E::AntesActualizar, objRecordset, bolCancelar, numModalidad); })
        && p.paso([&] { if (bolCancelar) cancelar(); })
        && p.paso([&] { if (!bolCancelar) frame::Establecido(objRecordset).Update(); })
        && p.paso([&] { if (!bolCancelar) Eventos().Emitir(&E::DespuesActualizar, objRecordset, numModalidad); })
        && p.paso([&] { if (!bolCancelar) resultado = true; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

bool clsAccesoDatos::ActualizarCascada(ado::RecordsetPtr& objRecordset) {
    using E = clsAccesoDatosEventos;
    bool resultado = false;
    bool bolCancelar = false;
    ado::EditModeEnum numModalidad = ado::adEditNone;
    ado::ConnectionPtr cn;
    const avisos::Avisador avisar{objRegional_, Nombre()};
    const avisos::ReglaCambio regla{.cancelar = {}, .blnAlAbandonar = false};

    frame::Procedimiento p(*this, "ActualizarCascada", cn);
    p.AlFallar([&](const frame::Fallo& f) {
        Eventos().Emitir(&E::ErrorActualizar, objRecordset, f.numError, dnIndividual);
    });
    avisos::PrepararFallos(p, kActualizarCascada, avisar, cn, regla);

    // In batch mode Update ends the edit (EditMode 0) and leaves the change pending: the method
    // refuses only when no edit runs and nothing is pending, wherever the cursor stands.
    const auto algoQueEnviar = [&] {
        ado::Recordset& rs = frame::Establecido(objRecordset);
        return avisos::ModoEdicion(objRecordset) != ado::adEditNone || avisos::HayCambiosPendientes(rs);
    };
    p.paso([&] { cn = avisos::TomarConexion(objRecordset); })
        && p.paso([&] { return avisar.Exigir(objRecordset->Supports(ado::adUpdateBatch), kSinSoporte); })
        && p.paso([&] { return avisar.Exigir(algoQueEnviar(), kSinEdicion); })
        && p.paso([&] { numModalidad = avisos::ModoEdicion(objRecordset); })
        && p.paso([&] { Eventos().Emitir(&E::AntesActualizar, objRecordset, bolCancelar, numModalidad); })
        && p.paso([&] { if (bolCancelar) frame::Establecido(objRecordset).CancelBatch(ado::adAffectAll); })
        && p.paso([&] { if (!bolCancelar) frame::Establecido(objRecordset).UpdateBatch(ado::adAffectAll); })
        && p.paso([&] { if (!bolCancelar) Eventos().Emitir(&E::DespuesActualizar, objRecordset, numModalidad); })
        && p.paso([&] { if (!bolCancelar) resultado = true; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

}  // namespace quimera
