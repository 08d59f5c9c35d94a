// clsAccesoDatos::Editar: puts the current record into editing by writing its first field
// back to it (ADO has no explicit edit call).
#include "ado/ErrorNumbers.h"
#include "quimera/clsAccesoDatos.h"
#include "quimera/editing/Avisos.h"
#include "quimera/frame/ErroresEjecucion.h"

namespace quimera {

namespace {

using namespace avisos;

constexpr Aviso kSinRegistro{"Advertencia", "Modificar Datos", Contenido::Fijo,
                             "No es posible editar. No se ha seleccionado un registro válido"};
constexpr Aviso kEnEdicion{"Advertencia", "Modificar Datos", Contenido::Fijo,
                           "No es posible editar. Ya hay un proceso de edición en marcha"};
constexpr Aviso kBloqueado{"Información de bloqueos", "Información de bloqueos", Contenido::Fijo,
                           "Imposible editar, el registro está bloqueado por otro usuario"};
constexpr Aviso kError{.strTitulo = "Error", .strInstruccion = "Error al editar",
                       .contenido = Contenido::DetectadoEnClase, .numIcono = IconoError, .blnTraducir = true};

constexpr Reconocido kReconocidos[] = {
    {ado::err::CouldNotReadLocked, kBloqueado},
    {ado::err::LockedByUser, kBloqueado},
    {ado::err::IntegrityOnChange, avisos::kIntegridadReferencial},
    {ado::err::Fail, kError, Cambio::CancelarDespues},
    {ado::err::OdbcCallFailed, kError, Cambio::CancelarDespues},
    {ado::err::NoCurrentRecord, avisos::kSinRegistroActivo, Cambio::CancelarDespues},
};
// The last ADO error that makes an unrecognised failure cancel the pending edit.
constexpr int32_t kCancelanTrasInforme[] = {ado::err::Fail, ado::err::OdbcCallFailed, ado::err::NoCurrentRecord};

}  // namespace

bool clsAccesoDatos::Editar(ado::RecordsetPtr& objRecordset) {
    using E = clsAccesoDatosEventos;
    bool resultado = false;
    bool bolCancelar = false;
    ado::ConnectionPtr cn;
    const avisos::Avisador avisar{objRegional_, Nombre()};
    const avisos::ReglaCambio regla{
        .cancelar = [&] { avisos::CancelarSiEnModo(objRecordset, ado::adEditInProgress); },
        .trasInforme = kCancelanTrasInforme};

    frame::Procedimiento p(*this, "Editar", cn);
    p.AlFallar([&](const frame::Fallo& f) { Eventos().Emitir(&E::ErrorEditar, objRecordset, f.numError); });
    avisos::PrepararFallos(p, kReconocidos, avisar, cn, regla);

    p.paso([&] { cn = avisos::TomarConexion(objRecordset); })
        && p.paso([&] { return avisar.Exigir(!objRecordset->adoEOF() && !objRecordset->BOF(), kSinRegistro); })
        && p.paso([&] { return avisar.Exigir(objRecordset->EditMode() == ado::adEditNone, kEnEdicion); })
        && p.paso([&] { Eventos().Emitir(&E::AntesEditar, objRecordset, bolCancelar); })
        && p.paso([&] {
               if (bolCancelar) return;
               ado::Field& campo = frame::Establecido(objRecordset).Fields()[0];
               campo.Value(campo.Value());
           })
        && p.paso([&] { if (!bolCancelar) Eventos().Emitir(&E::DespuesEditar, objRecordset); })
        && p.paso([&] { if (!bolCancelar) resultado = true; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

}  // namespace quimera
