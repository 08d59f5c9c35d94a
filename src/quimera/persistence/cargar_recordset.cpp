// clsAccesoDatos::CargarRecordset and ObtenerDatosDesdeFichero: a recordset file read back,
// and sent to a database.
#include "ado/ErrorNumbers.h"
#include "quimera/clsAccesoDatos.h"
#include "quimera/editing/Avisos.h"
#include "quimera/frame/ErroresEjecucion.h"

namespace quimera {

namespace {

using namespace avisos;
namespace err = ado::err;

constexpr Reconocido kReconocidos[] = {
    {err::LockedByUser, kBloqueadoAlActualizar},    {err::CouldNotReadLocked, kBloqueadoAlActualizar},
    {err::IntegrityOnChange, kIntegridadReferencial}, {err::Fail, kErrorAlActualizar},
    {err::OdbcCallFailed, kErrorAlActualizar},       {err::NoCurrentRecord, kSinRegistroActivo},
};
// With ADO errors on the connection, integrity failures get the data-error report instead.
constexpr int32_t kConErroresADO[] = {err::Fail, err::LockedByUser, err::CouldNotReadLocked, err::OdbcCallFailed,
                                      err::NoCurrentRecord};

}  // namespace

ado::RecordsetPtr clsAccesoDatos::CargarRecordset(const std::string& strRuta) {
    ado::RecordsetPtr resultado;
    frame::Procedimiento p(*this, "CargarRecordset");
    p.paso([&] { return utilidades::CrearUtilidadArchivo()->Existe(strRuta, false); })
        && p.paso([&] {
               auto rs = ado::Recordset::Create();
               rs->LockType(ado::adLockBatchOptimistic);
               rs->Open(strRuta, nullptr, ado::adOpenUnspecified, ado::adLockUnspecified, ado::adCmdUnspecified);
               resultado = rs;
           });
    return resultado;
}

bool clsAccesoDatos::ObtenerDatosDesdeFichero(ado::ConnectionPtr& objBaseDatos, const std::string& strRutaFichero,
                                              const std::string& strSQL) {
    ado::RecordsetPtr objRecordset;
    return ObtenerDatosDesdeFichero(objBaseDatos, strRutaFichero, strSQL, objRecordset);
}

bool clsAccesoDatos::ObtenerDatosDesdeFichero(ado::ConnectionPtr& objBaseDatos, const std::string& strRutaFichero,
                                              const std::string& strSQL, ado::RecordsetPtr& objRecordset) {
    bool resultado = false;
    ado::RecordsetPtr rs;
    const Avisador avisar{objRegional_, Nombre()};
    frame::Procedimiento p(*this, "ObtenerDatosDesdeFichero", objBaseDatos);
    p.AlFallar([&](const frame::Fallo& f) {
         Eventos().Emitir(&clsAccesoDatosEventos::ErrorActualizar, rs, f.numError, dnLotes);
     })
        .ReconocerConErroresADO(kConErroresADO)
        .Reconocer(kReconocidos,
                   [&](const Reconocido& fila, const frame::Fallo& f) { Atender(fila, f, avisar, false, {}); });

    p.paso([&] {
        rs = ado::Recordset::Create();
        rs->CursorLocation(ado::adUseClient);
    })
        && p.paso([&] {
               if (objBaseDatos) objBaseDatos->Errors().Clear();
           })
        && p.paso([&] {
               rs->Source(strSQL);
               rs->LockType(ado::adLockBatchOptimistic);
           })
        && p.paso([&] {
               rs->Open(strRutaFichero, "Provider=MsPersist", ado::adOpenKeyset, ado::adLockUnspecified, ado::adCmdFile);
           })
        && p.paso([&] {
               rs->ActiveConnection(objBaseDatos);
               rs->MarshalOptions(ado::adMarshalAll);
               rs->UpdateBatch(ado::adAffectAll);
           })
        && p.paso([&] { p.PublicarErroresADO(false); })
        && p.paso([&] {
               objRecordset = rs;
               resultado = true;
           });
    return resultado;
}

}  // namespace quimera
