// clsAccesoDatos: detaching a client-side recordset from its connection, and attaching it
// again to send its pending changes as one batch.
#include "ado/ErrorNumbers.h"
#include "quimera/clsAccesoDatos.h"
#include "quimera/editing/Avisos.h"
#include "quimera/frame/ErroresEjecucion.h"

namespace quimera {

namespace {

using namespace avisos;
namespace err = ado::err;

constexpr Aviso kIntegridadMayuscula{"Integridad Referencial", "Integridad Referencial", Contenido::Descripcion};

constexpr Reconocido kReconectar[] = {
    {err::LockedByUser, kBloqueadoAlActualizar}, {err::CouldNotReadLocked, kBloqueadoAlActualizar},
    {err::IntegrityOnChange, kIntegridadMayuscula}, {err::Fail, kErrorAlActualizar},
    {err::OdbcCallFailed, kErrorAlActualizar},    {err::NoCurrentRecord, kSinRegistroActivo},
};
constexpr Reconocido kAutoReconectar[] = {
    {err::LockedByUser, kBloqueadoAlActualizar},    {err::CouldNotReadLocked, kBloqueadoAlActualizar},
    {err::IntegrityOnChange, kIntegridadReferencial}, {err::Fail, kErrorAlActualizar},
    {err::OdbcCallFailed, kErrorAlActualizar},       {err::NoCurrentRecord, kSinRegistroActivo},
};

bool EnServidor(const ado::RecordsetPtr& objRecordset) {
    return frame::Establecido(objRecordset).CursorLocation() == ado::adUseServer;
}

}  // namespace

// What tells ReconectarRecordset and AutoReconectar apart.
struct clsAccesoDatos::FormaReconectar {
    std::string_view strMetodo;
    std::span<const Reconocido> reconocidos;
    bool blnLotes;  // the batch goes with the lock type batch optimistic, the recordset's own put back after
};

ado::RecordsetPtr clsAccesoDatos::DesconectarRecordset(ado::RecordsetPtr objRecordset) {
    ado::RecordsetPtr resultado;
    frame::Procedimiento p(*this, "DesconectarRecordset");
    p.paso([&] { return !EnServidor(objRecordset); })
        && p.paso([&] {
               objRecordset->ActiveConnection(nullptr);
               resultado = objRecordset;
           });
    return resultado;
}

bool clsAccesoDatos::AutoDesconectar(ado::RecordsetPtr& objRecordset) {
    bool resultado = false;
    frame::Procedimiento p(*this, "AutoDesconectar");
    p.paso([&] { return !EnServidor(objRecordset); })
        && p.paso([&] {
               objRecordset->ActiveConnection(nullptr);
               resultado = true;
           });
    return resultado;
}

bool clsAccesoDatos::Reconectar(const FormaReconectar& forma, ado::RecordsetPtr& objRecordset,
                                ado::ConnectionPtr& objBaseDatos, ado::MarshalOptionsEnum numTipoActualizacion) {
    bool resultado = false;
    ado::LockTypeEnum numBloqueo = ado::adLockUnspecified;
    const Avisador avisar{objRegional_, Nombre()};
    frame::Procedimiento p(*this, forma.strMetodo, objBaseDatos);
    p.AlFallar([&](const frame::Fallo& f) {
         Eventos().Emitir(&clsAccesoDatosEventos::ErrorActualizar, objRecordset, f.numError, dnLotes);
     })
        .Reconocer(forma.reconocidos,
                   [&](const Reconocido& fila, const frame::Fallo& f) { Atender(fila, f, avisar, false, {}); });

    p.paso([&] { return !EnServidor(objRecordset) && !objRecordset->ActiveConnection(); })
        && p.paso([&] {
               if (objBaseDatos) objBaseDatos->Errors().Clear();
           })
        && p.paso([&] {
               if (!forma.blnLotes) return;
               numBloqueo = objRecordset->LockType();
               objRecordset->LockType(ado::adLockBatchOptimistic);
           })
        && p.paso([&] { objRecordset->ActiveConnection(objBaseDatos); })
        && p.paso([&] { objRecordset->MarshalOptions(numTipoActualizacion); })
        && p.paso([&] { objRecordset->UpdateBatch(ado::adAffectAll); })
        && p.paso([&] {
               if (forma.blnLotes) objRecordset->LockType(numBloqueo);
               resultado = true;
           })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

ado::RecordsetPtr clsAccesoDatos::ReconectarRecordset(ado::RecordsetPtr objRecordset, ado::ConnectionPtr& objBaseDatos,
                                                      ado::MarshalOptionsEnum numTipoActualizacion) {
    static constexpr FormaReconectar kForma{"ReconectarRecordset", kReconectar, false};
    return Reconectar(kForma, objRecordset, objBaseDatos, numTipoActualizacion) ? objRecordset : nullptr;
}

bool clsAccesoDatos::AutoReconectar(ado::RecordsetPtr& objRecordset, ado::ConnectionPtr& objBaseDatos,
                                    ado::MarshalOptionsEnum numTipoActualizacion) {
    static constexpr FormaReconectar kForma{"AutoReconectar", kAutoReconectar, true};
    return Reconectar(kForma, objRecordset, objBaseDatos, numTipoActualizacion);
}

}  // namespace quimera
