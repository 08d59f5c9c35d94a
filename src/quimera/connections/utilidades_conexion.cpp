// Small operations around a connection: whether it is open, closing it, whether a server
// database exists, and compacting an Access file.
#include "ado/Catalog.h"
#include "ado/Recordset.h"
#include "quimera/clsAccesoDatos.h"
#include "quimera/connections/cadena_conexion.h"
#include "quimera/frame/Procedimiento.h"
#include "quimera/sql/LiteralSQL.h"

namespace quimera {

bool clsAccesoDatos::ConexionEstaAbierta(ado::ConnectionPtr& objBaseDatos) {
    bool resultado = false;
    frame::Procedimiento p(*this, "ConexionEstaAbierta", objBaseDatos);
    p.paso([&] { return objBaseDatos && objBaseDatos->State() != ado::adStateClosed; })
        && p.paso([&] {
               resultado = true;
               p.PublicarErroresADO(false);
           });
    return resultado;
}

bool clsAccesoDatos::CerrarConexion(ado::ConnectionPtr& objBaseDatos, bool blnEliminar) {
    bool resultado = false;
    frame::Procedimiento p(*this, "CerrarConexion", objBaseDatos);
    p.paso([&] { return objBaseDatos != nullptr; })
        && p.paso([&] { objBaseDatos->Errors().Clear(); })
        && p.paso([&] {
               if (ConexionEstaAbierta(objBaseDatos)) objBaseDatos->Close();
           })
        && p.paso([&] {
               if (blnEliminar && objBaseDatos) objBaseDatos.reset();
           })
        && p.paso([&] { resultado = true; });
    return resultado;
}

bool clsAccesoDatos::ExisteBaseDatosSQLServer(const std::string& strServidor, const std::string& strBaseDatos,
                                              const std::string& strUsuario, const std::string& strClave,
                                              TipoOrigenDatos numTipoMotor) {
    bool resultado = false;
    std::string cadena;
    ado::ConnectionPtr cn;
    ado::RecordsetPtr rs;
    // Failures go straight to the error manager: no connection is watched.
    frame::Procedimiento p(*this, "ExisteBaseDatosSQLServer");
    p.paso([&] {
        cadena = conexiones::CadenaConexionServidor(numTipoMotor, "master", strServidor, strUsuario, strClave, false);
    }) && p.paso([&] {
        cn = ado::Connection::Create();
        cn->ConnectionTimeout(30);
        cn->CommandTimeout(60);
    }) && p.paso([&] {
        if (conexiones::EsMotorSQLNCLI(numTipoMotor))
            conexiones::AbrirConSegundoIntento(*cn, cadena);
        else
            cn->Open(cadena, "", "", ado::adOptionUnspecified);
    }) && p.paso([&] {
        rs = ado::Recordset::Create();
        // The name is a literal of the server's own dialect: a quote in it stays inside.
        const std::string literal = sql::LiteralSQL(sql::DialectoDe(*cn), ado::Variant(strBaseDatos), ado::adVarWChar);
        rs->Open("SELECT name FROM sysdatabases WHERE name = " + literal, cn, ado::adOpenStatic,
                 ado::adLockUnspecified, ado::adCmdUnspecified);
    }) && p.paso([&] { resultado = rs->RecordCount() >= 1; })
        && p.paso([&] { rs->Close(); })
        && p.paso([&] { cn->Close(); });
    return resultado;
}

bool clsAccesoDatos::CompactarBaseDatos(const std::string& strRutaOrigen, const std::string& strRutaDestino,
                                        TipoOrigenDatos numTipoBD, int32_t numTipoJet) {
    bool resultado = false;
    std::string strDestino = strRutaDestino;
    frame::Procedimiento p(*this, "CompactarBaseDatos");
    p.paso([&] {
        if (strDestino.empty()) strDestino = strRutaOrigen;
    }) && p.paso([&] {
        if (numTipoBD == dnAccess)
            ado::CompactDatabase(conexiones::CadenaCompactacion(strRutaOrigen),
                                 conexiones::CadenaCompactacion(strDestino) +
                                     ";Jet OLEDB:Engine Type=" + std::to_string(numTipoJet));
    }) && p.paso([&] { resultado = true; });
    return resultado;
}

}  // namespace quimera
