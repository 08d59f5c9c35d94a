// clsTransacciones: nested transactions on a connection the client passes in, with a count
// of its own of those started and not yet ended.
//
// Ownership: a plain object the client creates and destroys; it owns its error manager
// and keeps no connection or recordset between calls (the client's handles come in by
// reference and may be replaced or emptied, as each member says). Threads: one object, with
// the ADO objects it is given, on one thread at a time; objects share nothing but the message
// dialog's busy mark. Errors: working members never throw: a failure goes to the error
// manager (and the message dialog) and the member returns its failure value (false, null,
// 0 or ""); property accessors and InicializarPropiedades trap nothing.
#pragma once

#include <cstdint>
#include <string>

#include "ado/Connection.h"
#include "quimera/Eventos.h"
#include "quimera/ObjetoQuimera.h"

namespace quimera {

class clsTransacciones : public ObjetoQuimera<clsTransaccionesEventos> {
public:
    clsTransacciones() = default;

    std::string Nombre() const { return "Transacciones"; }
    void InicializarPropiedades(const std::string& strRuta = "");

    // Transactions this object started and did not end yet; never below 0. Another object on
    // the same connection keeps its own count.
    int32_t Cuenta() const { return numCuenta_; }

    // Each returns true when its steps ran; failures go to the error manager, whose decision
    // to go on past a failed step still moves the count and gives true.
    bool IniciarTransaccion(ado::ConnectionPtr& objConexion);
    bool ValidarTransaccion(ado::ConnectionPtr& objConexion);
    bool AnularTransaccion(ado::ConnectionPtr& objConexion);

private:
    std::string_view ClaseInforme() const override { return "clsTransacciones"; }

    int32_t numCuenta_ = 0;
};

}  // namespace quimera
