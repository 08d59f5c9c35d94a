// clsAccesoDatos::Borrar: deletes the current record after asking, then moves on to the next
// record (or the new last one).
#include "ado/ErrorNumbers.h"
#include "quimera/clsAccesoDatos.h"
#include "quimera/editing/Avisos.h"
#include "quimera/frame/ErroresEjecucion.h"

namespace quimera {

namespace {

using namespace avisos;
namespace err = ado::err;

constexpr Aviso kSinSoporte{.strTitulo = "Error de proveedor",
                            .strInstruccion = "El proveedor no admite el método borrar",
                            .contenido = Contenido::DetectadoEnClase, .numIcono = IconoError, .blnTraducir = true};
constexpr Aviso kSinRegistro{"Eliminar Datos", "Eliminar Datos", Contenido::Fijo,
                             "No es posible Borrar. No se ha seleccionado un registro válido"};
constexpr Aviso kEnEdicion{"Eliminar Datos", "Eliminar Datos", Contenido::Fijo,
                           "No es posible borrar. Hay un proceso de edición activo"};
constexpr Aviso kPregunta{"Confirmación de borrado", "Eliminar registro", Contenido::Fijo,
                          "Está a punto de eliminar los datos del registro actual. Esta acción no podrá deshacerse "
                          "¿Quiere continuar?"};
constexpr Aviso kBloqueado{"Información de bloqueos", "Información de bloqueos", Contenido::Fijo,
                           "Imposible borrar, el registro está bloqueado por otro usuario"};
constexpr Aviso kError{.strTitulo = "Error al borrar", .strInstruccion = "Error al borrar",
                       .contenido = Contenido::DetectadoEnClase, .numIcono = IconoError, .blnTraducir = true};

// A deletion the engine refused leaves the record in edit mode: it is cancelled, so that the
// recordset can be used again. blnSilenciable: blnBloqueos hides the message.
constexpr Reconocido kReconocidos[] = {
    {err::CouldNotReadLocked, kBloqueado, Cambio::CancelarAntes},
    {err::LockedByUser, kBloqueado, Cambio::CancelarAntes},
    {err::IntegrityOnDelete, avisos::kIntegridadReferencial, Cambio::CancelarAntes},
    {err::Fail, kError, Cambio::CancelarAntes, true},
    {err::OdbcCallFailed, kError, Cambio::CancelarAntes},
    {err::NoCurrentRecord, avisos::kSinRegistroActivo},
};

}  // namespace

bool clsAccesoDatos::Borrar(ado::RecordsetPtr& objRecordset, bool blnPreguntar, bool blnBloqueos) {
    using E = clsAccesoDatosEventos;
    bool resultado = false;
    bool bolCancelar = false;
    bool bolDesplazarSiguiente = true;
    ado::ConnectionPtr cn;
    const avisos::Avisador avisar{objRegional_, Nombre()};
    const avisos::ReglaCambio regla{
        .cancelar = [&] { avisos::CancelarSiEnModo(objRecordset, ado::adEditInProgress); },
        .blnTrasCualquierInforme = true,
        .blnSilencio = blnBloqueos};

    frame::Procedimiento p(*this, "Borrar", cn);
    p.AlFallar([&](const frame::Fallo& f) {
        Eventos().Emitir(&E::ErrorBorrar, objRecordset, f.numError);
        // With blnBloqueos an unspecified provider failure left in Errors is not reported.
        p.ForzarInforme(!(blnBloqueos && avisos::UltimoErrorADO(cn) == err::Fail));
    });
    avisos::PrepararFallos(p, kReconocidos, avisar, cn, regla);

    p.paso([&] { cn = avisos::TomarConexion(objRecordset); })
        && p.paso([&] { return avisar.Exigir(objRecordset->Supports(ado::adDelete), kSinSoporte); })
        && p.paso([&] { return avisar.Exigir(!objRecordset->adoEOF() && !objRecordset->BOF(), kSinRegistro); })
        && p.paso([&] { return avisar.Exigir(objRecordset->EditMode() == ado::adEditNone, kEnEdicion); })
        && p.paso([&] { Eventos().Emitir(&E::AntesBorrar, objRecordset, bolCancelar, blnPreguntar); })
        && p.paso([&] { return bolCancelar || !blnPreguntar || avisar.Preguntar(kPregunta) != BotonNo; })
        && p.paso([&] { if (!bolCancelar) frame::Establecido(objRecordset).Delete(ado::adAffectCurrent); })
        && p.paso([&] { if (!bolCancelar) Eventos().Emitir(&E::DespuesBorrar, objRecordset, bolDesplazarSiguiente); })
        && p.paso([&] {
               if (bolCancelar || !bolDesplazarSiguiente || objRecordset->RecordCount() <= 0) return;
               objRecordset->MoveNext();
               if (objRecordset->adoEOF()) objRecordset->MoveLast();
           })
        && p.paso([&] { if (!bolCancelar) resultado = true; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

}  // namespace quimera
