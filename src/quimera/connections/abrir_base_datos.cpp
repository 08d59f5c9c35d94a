// Opening connections: the provider and settings of each engine, how each is opened, and
// the failure path the opening members share.
#include <array>

#include "quimera/clsAccesoDatos.h"
#include "quimera/connections/aviso_conexion.h"
#include "quimera/connections/cadena_conexion.h"
#include "quimera/frame/Procedimiento.h"

namespace quimera {

namespace {

enum class Apertura {
    Archivo,   // the Jet provider opens strConexion, a database file
    Servidor,  // a server connection string, with the second attempt
    Ninguna,   // returned prepared, for the client to open
};

struct PreparacionMotor {
    std::string_view strProveedor;
    Apertura apertura;
    bool blnClaveAccess;  // the fixed database password as a dynamic property
    bool blnTiempos;      // ConnectionTimeout 30 and CommandTimeout 60
};

constexpr PreparacionMotor kJet = {conexiones::kProveedorJet, Apertura::Archivo, true, false};
constexpr PreparacionMotor kSQLOLEDB = {"SQLOLEDB", Apertura::Servidor, false, false};
constexpr PreparacionMotor kSQLNCLI = {"SQLNCLI", Apertura::Servidor, false, true};

// By TipoOrigenDatos; an engine outside it is prepared as Access but left closed.
constexpr std::array<PreparacionMotor, 10> kPreparaciones = {{
    kJet,                                       // dnAccess
    kSQLOLEDB,                                  // dnSQLServer
    {"MSDAORA", Apertura::Ninguna, false, false},  // dnOracle
    kSQLOLEDB,                                  // dnMSDE
    {"MSDASQL", Apertura::Ninguna, false, false},  // dnODBC
    kSQLNCLI, kSQLNCLI, kSQLNCLI, kSQLNCLI, kSQLNCLI,  // dnSQLServer2005 to dnSQLServer2008Compact
}};
constexpr PreparacionMotor kFueraDeRango = {conexiones::kProveedorJet, Apertura::Ninguna, true, false};

const PreparacionMotor& PreparacionDe(TipoOrigenDatos numOrigen) {
    return numOrigen >= 0 && numOrigen < static_cast<int32_t>(kPreparaciones.size()) ? kPreparaciones[numOrigen]
                                                                                       : kFueraDeRango;
}

void Preparar(ado::Connection& cn, const PreparacionMotor& preparacion) {
    cn.Provider(preparacion.strProveedor);
    if (preparacion.blnClaveAccess)
        cn.Properties().Item("Jet OLEDB:Database Password").Value(ado::Variant(ClaveBaseDatos));
    if (preparacion.blnTiempos) {
        cn.ConnectionTimeout(30);
        cn.CommandTimeout(60);
    }
}

}  // namespace

void clsAccesoDatos::PrepararFalloApertura(frame::Procedimiento& p) {
    // With ADO errors pending, the runner raises ErroresADO first and, for a number not in
    // the table, shows the forced report instead of the message.
    p.Reconocer(conexiones::kAvisosConexion, [this](const conexiones::AvisoConexion& aviso, const frame::Fallo&) {
        conexiones::MostrarAvisoConexion(objRegional_, Nombre(), aviso);
    });
}

ado::ConnectionPtr clsAccesoDatos::AbrirBaseDatos(const std::string& strConexion, const std::string& strUsuario,
                                                  const std::string& strClave, ado::ConnectModeEnum ModoConexion,
                                                  ado::CursorLocationEnum numTipoCursor,
                                                  TipoOrigenDatos numOrigenDatos, const std::string& strServidorSQL) {
    ado::ConnectionPtr resultado, cn;
    const PreparacionMotor& preparacion = PreparacionDe(numOrigenDatos);
    frame::Procedimiento p(*this, "AbrirBaseDatos", cn);
    PrepararFalloApertura(p);
    p.paso([&] {
        cn = ado::Connection::Create();
        cn->Errors().Clear();
    }) && p.paso([&] { Preparar(*cn, preparacion); })
        && p.paso([&] {
               cn->Mode(ModoConexion);
               cn->CursorLocation(numTipoCursor);
           })
        && p.paso([&] {
               if (preparacion.apertura == Apertura::Archivo)
                   cn->Open(strConexion, "", "", ado::adOptionUnspecified);
               else if (preparacion.apertura == Apertura::Servidor)
                   conexiones::AbrirConSegundoIntento(
                       *cn, conexiones::CadenaConexionServidor(numOrigenDatos, strConexion, strServidorSQL, strUsuario,
                                                               strClave, true));
           })
        && p.paso([&] {
               resultado = cn;
               p.PublicarErroresADO(false);
           });
    return resultado;
}

ado::ConnectionPtr clsAccesoDatos::AbrirBaseDatosSQLServer(const std::string& strServidor,
                                                           const std::string& strBaseDatos,
                                                           const std::string& strUsuario, const std::string& strClave,
                                                           TipoOrigenDatos numTipoMotor,
                                                           ado::CursorLocationEnum numTipoCursor,
                                                           ado::ConnectModeEnum numModoConexion) {
    return AbrirBaseDatos(strBaseDatos, strUsuario, strClave, numModoConexion, numTipoCursor, numTipoMotor,
                          strServidor);
}

ado::ConnectionPtr clsAccesoDatos::AbrirBaseDatosDirecta(const std::string& strConexion,
                                                         ado::ConnectModeEnum ModoConexion,
                                                         ado::CursorLocationEnum numTipoCursor) {
    ado::ConnectionPtr resultado, cn;
    frame::Procedimiento p(*this, "AbrirBaseDatosDirecta", cn);
    PrepararFalloApertura(p);
    p.paso([&] {
        cn = ado::Connection::Create();
        cn->Errors().Clear();
    }) && p.paso([&] {
        cn->Mode(ModoConexion);
        cn->CursorLocation(numTipoCursor);
    }) && p.paso([&] { cn->Open(strConexion, "", "", ado::adOptionUnspecified); })
        && p.paso([&] {
               resultado = cn;
               p.PublicarErroresADO(false);
           });
    return resultado;
}

}  // namespace quimera
