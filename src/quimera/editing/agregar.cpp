// clsAccesoDatos::Agregar: starts a new record with AddNew.
#include "ado/ErrorNumbers.h"
#include "quimera/clsAccesoDatos.h"
#include "quimera/editing/Avisos.h"
#include "quimera/frame/ErroresEjecucion.h"

namespace quimera {

namespace {

using namespace avisos;

constexpr Aviso kSinSoporte{.strTitulo = "Error de proveedor",
                            .strInstruccion = "El proveedor no admite el método agregar",
                            .contenido = Contenido::DetectadoEnClase, .numIcono = IconoError, .blnTraducir = true};
constexpr Aviso kEnEdicion{"Añadir Registros", "Añadir Registros", Contenido::Fijo,
                           "No es posible Agregar. Ya hay un proceso de edición activo"};
constexpr Aviso kBloqueado{"Información de bloqueos", "Información de bloqueos", Contenido::Fijo,
                           "Imposible agregar, el registro está bloqueado por otro usuario"};
constexpr Aviso kError{.strTitulo = "Error al agregar", .strInstruccion = "Error al agregar",
                       .contenido = Contenido::DetectadoEnClase, .numIcono = IconoError, .blnTraducir = true};

constexpr Reconocido kReconocidos[] = {
    {ado::err::CouldNotReadLocked, kBloqueado},
    {ado::err::LockedByUser, kBloqueado},
    {ado::err::IntegrityOnChange, avisos::kIntegridadReferencial},
    {ado::err::Fail, kError, Cambio::CancelarDespues},
    {ado::err::OdbcCallFailed, kError, Cambio::CancelarDespues},
    {ado::err::NoCurrentRecord, avisos::kSinRegistroActivo},
};
constexpr int32_t kCancelanTrasInforme[] = {ado::err::Fail, ado::err::OdbcCallFailed};

}  // namespace

bool clsAccesoDatos::Agregar(ado::RecordsetPtr& objRecordset) {
    using E = clsAccesoDatosEventos;
    bool resultado = false;
    bool bolCancelar = false;
    ado::ConnectionPtr cn;
    const avisos::Avisador avisar{objRegional_, Nombre()};
    const avisos::ReglaCambio regla{.cancelar = [&] { avisos::CancelarSiEnModo(objRecordset, ado::adEditAdd); },
                                    .trasInforme = kCancelanTrasInforme};

    frame::Procedimiento p(*this, "Agregar", cn);
    p.AlFallar([&](const frame::Fallo& f) { Eventos().Emitir(&E::ErrorAgregar, objRecordset, f.numError); });
    avisos::PrepararFallos(p, kReconocidos, avisar, cn, regla);

    p.paso([&] { cn = avisos::TomarConexion(objRecordset); })
        && p.paso([&] { return avisar.Exigir(objRecordset->Supports(ado::adAddNew), kSinSoporte); })
        && p.paso([&] {
               // An empty recordset has no edit mode to look at.
               const bool vacio = objRecordset->adoEOF() && objRecordset->BOF();
               return avisar.Exigir(vacio || objRecordset->EditMode() == ado::adEditNone, kEnEdicion);
           })
        && p.paso([&] { Eventos().Emitir(&E::AntesAgregar, objRecordset, bolCancelar); })
        && p.paso([&] { if (!bolCancelar) frame::Establecido(objRecordset).AddNew(); })
        && p.paso([&] { if (!bolCancelar) Eventos().Emitir(&E::DespuesAgregar, objRecordset); })
        && p.paso([&] { if (!bolCancelar) resultado = true; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

}  // namespace quimera
