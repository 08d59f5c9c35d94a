// The cursor members of clsAccesoDatos: recordsets of each cursor kind over SQL text or a
// prepared command, and whole tables opened directly.
#include <string_view>

#include "quimera/clsAccesoDatos.h"
#include "quimera/frame/ErroresEjecucion.h"
#include "quimera/frame/Procedimiento.h"

namespace quimera {

// How one member of the family opens its cursor.
struct clsAccesoDatos::FamiliaCursor {
    std::string_view strMetodo;
    ado::CursorTypeEnum numTipo;
    bool blnBloqueo;   // raises Bloqueo and sets the lock type
    bool blnCriterio;  // sets "Update Criteria" when it is not the default
};

namespace {

// The provider names of SQL Server, compared as written: SQLOLEDB.1, SQLNCLI10, ...
bool EsProveedorSQLServer(std::string_view strProveedor) {
    return strProveedor.substr(0, 8) == "SQLOLEDB" || strProveedor.substr(0, 7) == "SQLNCLI";
}

}  // namespace

void clsAccesoDatos::AplicarBloqueo(ado::Recordset& objRecordset, ado::LockTypeEnum numTipoBloqueo) {
    bool blnBloqueo = true;
    Eventos().Emitir(&clsAccesoDatosEventos::Bloqueo, blnBloqueo, numTipoBloqueo);
    if (blnBloqueo) objRecordset.LockType(numTipoBloqueo);
}

ado::RecordsetPtr clsAccesoDatos::CrearCursor(const FamiliaCursor& familia, std::string strSQL,
                                              ado::ConnectionPtr& objBaseDatos, ado::CommandPtr& objOrden,
                                              ado::LockTypeEnum numTipoBloqueo,
                                              ado::CursorLocationEnum numTipoCursor,
                                              ado::ADCPROP_UPDATECRITERIA_ENUM numCriterioActualizacion) {
    ado::RecordsetPtr resultado, rs;
    frame::Procedimiento p(*this, familia.strMetodo, objBaseDatos);
    p.paso([&] {
        if (objBaseDatos && EsProveedorSQLServer(objBaseDatos->Provider())) strSQL = ConvertirSQL_SQLServer(strSQL);
    })
        && p.paso([&] {
               // A command given is used as it is; otherwise the client gets the one made here.
               if (objOrden) return;
               objOrden = ado::Command::Create();
               objOrden->ActiveConnection(objBaseDatos);
               objOrden->CommandText(strSQL);
               objOrden->CommandType(ado::adCmdText);
           })
        && p.paso([&] {
               rs = ado::Recordset::Create();
               rs->Source(objOrden);
           })
        && p.paso([&] { rs->CursorType(familia.numTipo); })
        && p.paso([&] { rs->CursorLocation(numTipoCursor); })
        && p.paso([&] {
               if (familia.blnCriterio && numCriterioActualizacion != ado::adCriteriaUpdCols)
                   rs->Properties().Item("Update Criteria").Value(ado::Variant(int32_t{numCriterioActualizacion}));
           })
        && p.paso([&] { if (familia.blnBloqueo) AplicarBloqueo(*rs, numTipoBloqueo); })
        && p.paso([&] { rs->Open(); })  // the properties above govern the open
        && p.paso([&] { resultado = rs; })
        && p.paso([&] {
               if (!objBaseDatos && objOrden) objBaseDatos = objOrden->ActiveConnection();
               p.PublicarErroresADO(false);
           });
    return resultado;
}

ado::RecordsetPtr clsAccesoDatos::CrearCursorKeyset(std::string strSQL, ado::ConnectionPtr& objBaseDatos,
                                                    ado::CommandPtr& objOrden, ado::LockTypeEnum numTipoBloqueo,
                                                    ado::CursorLocationEnum numTipoCursor,
                                                    ado::ADCPROP_UPDATECRITERIA_ENUM numCriterioActualizacion) {
    const FamiliaCursor familia{"CrearCursorKeyset", ado::adOpenKeyset, true, true};
    return CrearCursor(familia, std::move(strSQL), objBaseDatos, objOrden, numTipoBloqueo, numTipoCursor,
                       numCriterioActualizacion);
}

ado::RecordsetPtr clsAccesoDatos::CrearCursorDinamico(std::string strSQL, ado::ConnectionPtr& objBaseDatos,
                                                      ado::CommandPtr& objOrden, ado::LockTypeEnum numTipoBloqueo,
                                                      ado::CursorLocationEnum numTipoCursor) {
    const FamiliaCursor familia{"CrearCursorDinamico", ado::adOpenDynamic, true, false};
    return CrearCursor(familia, std::move(strSQL), objBaseDatos, objOrden, numTipoBloqueo, numTipoCursor,
                       ado::adCriteriaUpdCols);
}

ado::RecordsetPtr clsAccesoDatos::CrearCursorEstatico(std::string strSQL, ado::ConnectionPtr& objBaseDatos,
                                                      ado::CommandPtr& objOrden,
                                                      ado::CursorLocationEnum numTipoCursor) {
    const FamiliaCursor familia{"CrearCursorEstatico", ado::adOpenStatic, false, false};
    return CrearCursor(familia, std::move(strSQL), objBaseDatos, objOrden, ado::adLockUnspecified, numTipoCursor,
                       ado::adCriteriaUpdCols);
}

ado::RecordsetPtr clsAccesoDatos::CrearCursorInspeccion(std::string strSQL, ado::ConnectionPtr& objBaseDatos,
                                                        ado::CommandPtr& objOrden,
                                                        ado::CursorLocationEnum numTipoCursor) {
    const FamiliaCursor familia{"CrearCursorInspeccion", ado::adOpenForwardOnly, false, false};
    return CrearCursor(familia, std::move(strSQL), objBaseDatos, objOrden, ado::adLockUnspecified, numTipoCursor,
                       ado::adCriteriaUpdCols);
}

ado::RecordsetPtr clsAccesoDatos::AbrirTabla(const std::string& strNombreTabla, ado::ConnectionPtr& objBaseDatos,
                                             ado::LockTypeEnum numTipoBloqueo) {
    ado::RecordsetPtr resultado, rs;
    frame::Procedimiento p(*this, "AbrirTabla", objBaseDatos);
    // The connection stays client-side: later recordsets on it inherit the location.
    p.paso([&] { frame::Establecido(objBaseDatos).CursorLocation(ado::adUseClient); })
        && p.paso([&] {
               rs = ado::Recordset::Create();
               AplicarBloqueo(*rs, numTipoBloqueo);
           })
        && p.paso([&] {
               rs->Open(strNombreTabla, objBaseDatos, ado::adOpenKeyset, ado::adLockUnspecified,
                        ado::adCmdTableDirect);
           })
        && p.paso([&] { resultado = rs; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

}  // namespace quimera
