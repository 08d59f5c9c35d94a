// The step runner: every working method of the library runs its numbered steps through it,
// so that no method writes its own failure handling.
//
//   bool clsTransacciones::IniciarTransaccion(ado::ConnectionPtr& objConexion) {
//       bool resultado = false;
//       frame::Procedimiento p(*this, "IniciarTransaccion");
//       p.paso([&] { Establecido(objConexion).BeginTrans(); })
//           && p.paso([&] { numCuenta_ = Sumar(numCuenta_, 1); })
//           && p.paso([&] { resultado = true; });
//       return resultado;  // whatever the steps stored before leaving
//   }
//
// paso runs its action. An action that returns false leaves the method by itself (a refusal
// that showed its own message); once left, every later paso returns false without running.
// A failure (any exception) in a step runs the handler, in this order:
//  1. the method's AlFallar action, when it has one (its Error… event);
//  2. when the method's connection is set, holds ADO errors and the class publishes them:
//     ErroresADO is raised; a number the method does not recognise (or that is not in its
//     ReconocerConErroresADO list, when it gives one) then gets the data-error report (shown whatever MostrarMensajes says, unless ForzarInforme(false)), the
//     TrasInformeADO action, the clearing of the collection, and the method is left; a
//     recognised number only clears the collection and goes on to 3;
//  3. a recognised number runs the method's action for it, and the method is left;
//  4. otherwise the error manager gets the report, and its decision rules: 2 goes on with
//     the next step, 3 runs the same step again, any other runs AlAbandonar and leaves.
// A failure inside the handler itself (the error manager, a sink, the report) is not
// trapped: it reaches the method's caller.
#pragma once

#include <cstdint>
#include <exception>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "ado/Connection.h"
#include "quimera/frame/AccionEnLinea.h"
#include "quimera/Informante.h"

namespace quimera::frame {

// A failure as the handler reads it.
struct Fallo {
    int32_t numError = 0;
    std::string strDescripcion;
    std::string strOrigen;
};

// ado::Error gives its own number, description and source; other exceptions are reported
// as the runtime would (memory 7, anything else E_FAIL) with the project as source.
Fallo LeerFallo(std::exception_ptr excepcion);

class Procedimiento {
public:
    using Accion = AccionEnLinea<void(const Fallo&)>;

    Procedimiento(Informante& objClase, std::string_view strMetodo);
    // objConexion is read when a step fails, so a handle the method fills later counts.
    Procedimiento(Informante& objClase, std::string_view strMetodo, const ado::ConnectionPtr& objConexion);
    Procedimiento(const Procedimiento&) = delete;
    Procedimiento& operator=(const Procedimiento&) = delete;

    Procedimiento& Conexion(const ado::ConnectionPtr& objConexion) {
        objConexion_ = &objConexion;
        return *this;
    }
    // Whether the handler's data-error report shows whatever MostrarMensajes says (true).
    Procedimiento& ForzarInforme(bool blnForzar) {
        blnForzar_ = blnForzar;
        return *this;
    }

    // The pieces of a method's own failure path.
    Procedimiento& AlFallar(Accion accion) {
        alFallar_ = std::move(accion);
        return *this;
    }
    // tabla: rows with a numError member, kept by reference (a static table next to the
    // method); accion(fila, fallo) runs for a failure whose number has a row. The action may
    // capture a few references (see AccionEnLinea).
    template <class Tabla, class AccionFila>
    Procedimiento& Reconocer(const Tabla& tabla, AccionFila accion) {
        reconocer_ = [&tabla, accion](const Fallo& fallo, bool blnEjecutar) {
            for (const auto& fila : tabla) {
                if (fila.numError != fallo.numError) continue;
                if (blnEjecutar) accion(fila, fallo);
                return true;
            }
            return false;
        };
        return *this;
    }
    // With ADO errors on the connection, only these numbers go on to the method's own message
    // (the others get the data-error report); by default, every number the table recognises.
    Procedimiento& ReconocerConErroresADO(std::span<const int32_t> numeros) {
        conErroresADO_ = numeros;
        blnListaConErrores_ = true;
        return *this;
    }
    Procedimiento& TrasInformeADO(Accion accion) {
        trasInformeADO_ = std::move(accion);
        return *this;
    }
    Procedimiento& AlAbandonar(Accion accion) {
        alAbandonar_ = std::move(accion);
        return *this;
    }

    template <class Paso>
    bool paso(Paso&& accion) {
        if (blnSalido_) return false;
        for (;;) {
            try {
                if constexpr (std::is_same_v<std::invoke_result_t<Paso&>, bool>) {
                    blnSalido_ = !static_cast<bool>(accion());
                    return !blnSalido_;
                } else {
                    accion();
                    return true;
                }
            } catch (...) {
                const Rumbo rumbo = Manejar(std::current_exception());
                if (rumbo == Rumbo::Repetir) continue;
                blnSalido_ = rumbo == Rumbo::Salir;
                return !blnSalido_;
            }
        }
    }

    bool Salido() const { return blnSalido_; }

    // The ADO error publication: when the class publishes ADO errors and the connection holds
    // some, raise ErroresADO, run the data-error report, run antesDeLimpiar, clear them.
    static void PublicarErroresADO(Informante& objClase, ado::Connection& objConexion, bool blnForzar,
                                   const AccionEnLinea<void()>& antesDeLimpiar = {});
    // The same on the method's connection, when it is set.
    void PublicarErroresADO(bool blnForzar);

private:
    enum class Rumbo { Seguir, Repetir, Salir };

    // Whether the failure's number has a row of the method's table; runs its action when blnEjecutar.
    bool Reconoce(const Fallo& fallo, bool blnEjecutar) const { return reconocer_ && reconocer_(fallo, blnEjecutar); }

    Rumbo Manejar(std::exception_ptr excepcion);
    ado::Connection* ConexionActual() const;

    Informante& objClase_;
    std::string_view strMetodo_;  // the caller's text, which outlives the method's runner
    const ado::ConnectionPtr* objConexion_ = nullptr;
    bool blnForzar_ = true;
    bool blnSalido_ = false;
    Accion alFallar_, trasInformeADO_, alAbandonar_;
    AccionEnLinea<bool(const Fallo&, bool)> reconocer_;
    std::span<const int32_t> conErroresADO_;
    bool blnListaConErrores_ = false;
};

}  // namespace quimera::frame
