// clsTransacciones: starting, committing and rolling back transactions, with the count of
// those this object started. The count moves only after the connection's call, so a
// decision to abandon leaves it as it was.
#include "quimera/clsTransacciones.h"
#include "quimera/frame/ErroresEjecucion.h"
#include "quimera/frame/Procedimiento.h"

namespace quimera {

using frame::Establecido;

bool clsTransacciones::IniciarTransaccion(ado::ConnectionPtr& objConexion) {
    bool resultado = false;
    frame::Procedimiento p(*this, "IniciarTransaccion");
    p.paso([&] { Establecido(objConexion).BeginTrans(); })
        && p.paso([&] { numCuenta_ = frame::Sumar(numCuenta_, 1); })
        && p.paso([&] { resultado = true; });
    return resultado;
}

bool clsTransacciones::ValidarTransaccion(ado::ConnectionPtr& objConexion) {
    bool resultado = false;
    frame::Procedimiento p(*this, "ValidarTransaccion");
    p.paso([&] { Establecido(objConexion).CommitTrans(); })
        && p.paso([&] { if (numCuenta_ > 0) --numCuenta_; })
        && p.paso([&] { resultado = true; });
    return resultado;
}

bool clsTransacciones::AnularTransaccion(ado::ConnectionPtr& objConexion) {
    bool resultado = false;
    frame::Procedimiento p(*this, "AnularTransaccion");
    p.paso([&] { Establecido(objConexion).RollbackTrans(); })
        && p.paso([&] { if (numCuenta_ > 0) --numCuenta_; })
        && p.paso([&] { resultado = true; });
    return resultado;
}

}  // namespace quimera
