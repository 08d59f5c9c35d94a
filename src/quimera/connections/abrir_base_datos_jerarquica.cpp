// AbrirBaseDatosJerarquica: a connection through the shape provider, its data provider chosen
// by the object's engine.
#include <array>
#include <string>

#include "quimera/clsAccesoDatos.h"
#include "quimera/connections/cadena_conexion.h"
#include "quimera/frame/Procedimiento.h"

namespace quimera {

namespace {

struct ProveedorDatos {
    std::string_view strProveedor;
    bool blnClaveAccess;  // "Extended Properties" carries the fixed Jet database password
};

constexpr ProveedorDatos kJet = {conexiones::kProveedorJet, true};
constexpr ProveedorDatos kSQLNCLI = {"SQLNCLI", false};

// By TipoOrigenDatos; an engine outside it gets the Jet provider, as Access.
constexpr std::array<ProveedorDatos, 10> kProveedoresDatos = {{
    kJet,                  // dnAccess
    {"SQLOLEDB", false},   // dnSQLServer
    {"MSDAORA", false},    // dnOracle
    {"SQLOLEDB", false},   // dnMSDE
    {"MSDASQL", false},    // dnODBC
    kSQLNCLI, kSQLNCLI, kSQLNCLI, kSQLNCLI, kSQLNCLI,  // dnSQLServer2005 to dnSQLServer2008Compact
}};

const ProveedorDatos& ProveedorDatosDe(TipoOrigenDatos numOrigen) {
    return numOrigen >= 0 && numOrigen < static_cast<int32_t>(kProveedoresDatos.size()) ? kProveedoresDatos[numOrigen]
                                                                                         : kJet;
}

}  // namespace

ado::ConnectionPtr clsAccesoDatos::AbrirBaseDatosJerarquica(const std::string& strConexion, const std::string&,
                                                            const std::string&, ado::ConnectModeEnum ModoConexion,
                                                            ado::CursorLocationEnum numTipoCursor) {
    ado::ConnectionPtr resultado, cn;
    const ProveedorDatos& proveedor = ProveedorDatosDe(OrigenDatos());
    frame::Procedimiento p(*this, "AbrirBaseDatosJerarquica", cn);
    PrepararFalloApertura(p);
    p.paso([&] {
        cn = ado::Connection::Create();
        cn->Errors().Clear();
    }) && p.paso([&] {
        cn->Provider("MSDataShape");
        cn->Mode(ModoConexion);
        cn->CursorLocation(numTipoCursor);
    }) && p.paso([&] {
        cn->Properties().Item("Data Provider").Value(ado::Variant(std::string(proveedor.strProveedor)));
        if (proveedor.blnClaveAccess)
            cn->Properties().Item("Extended Properties").Value(
                ado::Variant(std::string("Jet OLEDB:Database Password=") + ClaveBaseDatos));
    }) && p.paso([&] { cn->Open(strConexion, "", "", ado::adOptionUnspecified); })
        && p.paso([&] {
               resultado = cn;
               p.PublicarErroresADO(false);
           });
    return resultado;
}

}  // namespace quimera
