// clsAccesoDatos::CancelarActualizacion: throws the pending change away.
#include "ado/ErrorNumbers.h"
#include "quimera/clsAccesoDatos.h"
#include "quimera/editing/Avisos.h"
#include "quimera/frame/ErroresEjecucion.h"

namespace quimera {

namespace {

using namespace avisos;

constexpr Aviso kSinEdicion{"Error al cancelar", "Error al cancelar", Contenido::Fijo,
                            "No es posible cancelar actualización. No hay procesos de edición activos", IconoError};
constexpr Aviso kError{.strTitulo = "Error al cancelar", .strInstruccion = "Error al cancelar la actualización",
                       .contenido = Contenido::DetectadoEnClase, .numIcono = IconoError, .blnTraducir = true};

constexpr Reconocido kReconocidos[] = {
    {ado::err::Fail, kError},
    {ado::err::OdbcCallFailed, kError},
};

}  // namespace

bool clsAccesoDatos::CancelarActualizacion(ado::RecordsetPtr& objRecordset) {
    using E = clsAccesoDatosEventos;
    bool resultado = false;
    ado::EditModeEnum numModalidad = ado::adEditNone;
    ado::ConnectionPtr cn;
    const avisos::Avisador avisar{objRegional_, Nombre()};

    frame::Procedimiento p(*this, "CancelarActualizacion", cn);
    p.AlFallar([&](const frame::Fallo& f) {
        Eventos().Emitir(&E::ErrorCancelarActualizacion, objRecordset, f.numError);
    });
    p.Reconocer(kReconocidos, [&](const Reconocido& fila, const frame::Fallo& f) {
        avisos::Atender(fila, f, avisar, false, {});
    });

    p.paso([&] { cn = avisos::TomarConexion(objRecordset); })
        && p.paso([&] {
               if (objRecordset->EditMode() != ado::adEditNone) return true;
               avisar(kSinEdicion);
               return false;
           })
        && p.paso([&] { numModalidad = objRecordset->EditMode(); })
        && p.paso([&] { Eventos().Emitir(&E::AntesCancelarActualizacion, objRecordset, numModalidad); })
        && p.paso([&] { frame::Establecido(objRecordset).CancelUpdate(); })
        && p.paso([&] { Eventos().Emitir(&E::DespuesCancelarActualizacion, objRecordset, numModalidad); })
        && p.paso([&] { resultado = true; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

}  // namespace quimera
