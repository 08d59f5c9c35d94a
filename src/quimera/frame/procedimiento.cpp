// The step runner's failure handler and the ADO error publication.
#include <algorithm>
#include <new>

#include "ado/ErrorNumbers.h"
#include "quimera/components/centinela.h"
#include "quimera/frame/ErroresEjecucion.h"
#include "quimera/frame/Procedimiento.h"

namespace quimera::frame {

namespace {

constexpr std::string_view kProyecto = "Quimera";
constexpr std::string_view kDesconocido = "Desconocido";

}  // namespace

Fallo LeerFallo(std::exception_ptr excepcion) {
    try {
        std::rethrow_exception(excepcion);
    } catch (const ado::Error& e) {
        return {e.Number(), e.Description(), e.Source()};
    } catch (const std::bad_alloc&) {
        const ado::Error e = ErrorEjecucion(ErrorMemoria);
        return {e.Number(), e.Description(), e.Source()};
    } catch (const std::exception& e) {
        return {ado::err::Fail, e.what(), std::string(kProyecto)};
    } catch (...) {
        return {ado::err::Fail, "Error no especificado", std::string(kProyecto)};
    }
}

Procedimiento::Procedimiento(Informante& objClase, std::string_view strMetodo)
    : objClase_(objClase), strMetodo_(strMetodo) {}

Procedimiento::Procedimiento(Informante& objClase, std::string_view strMetodo, const ado::ConnectionPtr& objConexion)
    : objClase_(objClase), strMetodo_(strMetodo), objConexion_(&objConexion) {}

ado::Connection* Procedimiento::ConexionActual() const { return objConexion_ ? objConexion_->get() : nullptr; }

void Procedimiento::PublicarErroresADO(Informante& objClase, ado::Connection& objConexion, bool blnForzar,
                                       const AccionEnLinea<void()>& antesDeLimpiar) {
    ado::Errors& colErrores = objConexion.Errors();
    if (!objClase.PublicaErroresADO() || colErrores.Count() == 0) return;
    objClase.EventoErroresADO(colErrores);
    objClase.MostrarErroresADO(colErrores, blnForzar);
    if (antesDeLimpiar) antesDeLimpiar();
    colErrores.Clear();
}

void Procedimiento::PublicarErroresADO(bool blnForzar) {
    if (ado::Connection* conexion = ConexionActual()) PublicarErroresADO(objClase_, *conexion, blnForzar);
}

Procedimiento::Rumbo Procedimiento::Manejar(std::exception_ptr excepcion) {
    const Fallo fallo = LeerFallo(excepcion);
    if (alFallar_) alFallar_(fallo);

    const bool blnReconocido = Reconoce(fallo, false);
    const bool blnSigueConErrores =
        blnListaConErrores_ ? std::ranges::find(conErroresADO_, fallo.numError) != conErroresADO_.end() : blnReconocido;
    ado::Connection* conexion = ConexionActual();
    if (conexion && objClase_.PublicaErroresADO() && conexion->Errors().Count() > 0) {
        if (!blnSigueConErrores) {
            PublicarErroresADO(objClase_, *conexion, blnForzar_, [&] {
                if (trasInformeADO_) trasInformeADO_(fallo);
            });
            return Rumbo::Salir;
        }
        objClase_.EventoErroresADO(conexion->Errors());
        conexion->Errors().Clear();
    }
    if (blnReconocido) {
        Reconoce(fallo, true);
        return Rumbo::Salir;
    }

    const int32_t decision = objClase_.GestorInforme().Informar(
        std::string(kProyecto), std::string(objClase_.ClaseInforme()), std::string(strMetodo_), fallo.numError,
        fallo.strDescripcion, fallo.strOrigen, std::string(kDesconocido), std::string(kDesconocido),
        std::string(kDesconocido), 0, objClase_.IdiomaInforme(), std::string());
    if (decision == centinela::DecisionContinuar) return Rumbo::Seguir;
    if (decision == centinela::DecisionReintentar) return Rumbo::Repetir;
    if (alAbandonar_) alAbandonar_(fallo);
    return Rumbo::Salir;
}

}  // namespace quimera::frame
