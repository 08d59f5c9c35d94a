// The view the library's frame has of an object: what its step runner reports a failure
// with and how the object publishes ADO errors. Nothing here is for clients: the members
// are private and only the runner reaches them.
#pragma once

#include <cstdint>
#include <string_view>

#include "ado/Error.h"
#include "quimera/components/centinela.h"

namespace quimera {

namespace frame {
class Procedimiento;
}

class Informante {
public:
    Informante(const Informante&) = delete;
    Informante& operator=(const Informante&) = delete;
    virtual ~Informante() = default;

protected:
    Informante() = default;

private:
    friend class frame::Procedimiento;

    // The class name given to the error manager ("clsTransacciones").
    virtual std::string_view ClaseInforme() const = 0;
    virtual centinela::GestorErrores& GestorInforme() = 0;
    // The language code given to the error manager: 100 in classes without a regional object.
    virtual int32_t IdiomaInforme() const { return 100; }
    // Only the classes with an ErroresADO event publish the ADO errors of a connection.
    virtual bool PublicaErroresADO() const { return false; }
    virtual void EventoErroresADO(ado::Errors& /*colErrores*/) {}
    // The data-error report: one dialog per error, when blnForzar or MostrarMensajes says so.
    virtual void MostrarErroresADO(ado::Errors& /*colErrores*/, bool /*blnForzar*/) {}
};

}  // namespace quimera
