// Database passwords of Access files: the connection is reopened exclusively, the provider
// re-encrypts (or decrypts) the file when a password property is written, and the
// connection is reopened for reading and writing.
#include "quimera/clsDatosAvanzado.h"
#include "quimera/frame/ErroresEjecucion.h"
#include "quimera/frame/Procedimiento.h"

namespace quimera {

namespace {

using frame::Establecido;

// Close, Mode and Open again with the connection's own string, each a step of its own.
bool Reabrir(frame::Procedimiento& p, ado::ConnectionPtr& cn, ado::ConnectModeEnum numModo) {
    return p.paso([&] { Establecido(cn).Close(); })
        && p.paso([&] { Establecido(cn).Mode(numModo); })
        && p.paso([&] { Establecido(cn).Open("", "", "", ado::adOptionUnspecified); });
}

bool EscribirClave(Informante& objClase, std::string_view strMetodo, TipoOrigenDatos numOrigen,
                   ado::ConnectionPtr& objConexion, std::string_view strPropiedad, const std::string& strValor) {
    bool resultado = false;
    // Failures go straight to the error manager: no connection is watched.
    frame::Procedimiento p(objClase, strMetodo);
    Reabrir(p, objConexion, ado::adModeShareExclusive)
        && p.paso([&] { return numOrigen == dnAccess; })
        && p.paso([&] { Establecido(objConexion).Properties().Item(strPropiedad).Value(ado::Variant(strValor)); })
        && Reabrir(p, objConexion, ado::adModeReadWrite)
        && p.paso([&] { resultado = true; });
    return resultado;
}

}  // namespace

bool clsDatosAvanzado::EstablecerContraseñaBD(ado::ConnectionPtr& objConexion, const std::string& strContrasena) {
    return EscribirClave(*this, "EstablecerContraseñaBD", numOrigenDatos_, objConexion,
                         "Jet OLEDB:Database Password", strContrasena);
}

bool clsDatosAvanzado::QuitarContraseñaBD(ado::ConnectionPtr& objConexion, const std::string& /*strContrasena*/) {
    return EscribirClave(*this, "QuitarContraseñaBD", numOrigenDatos_, objConexion,
                         "Jet OLEDB:New Database Password", "");
}

}  // namespace quimera
