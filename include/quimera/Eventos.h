// The event interfaces of the six classes (the published __clsX interfaces).
//
// A client derives from the interface of a class, overrides the handlers it wants (the others
// do nothing) and connects it with the object's ConectarEventos. Events are raised
// synchronously on every connected sink in connection order; the arguments a handler may
// change are references, and the raising member reads them back after every sink returned.
// The handlers of each interface are declared in the order of its published event numbers.
//
// Ownership: the object does not own a connected sink: keep it alive while connected, or
// disconnect it first. Handlers run on the caller's thread.
#pragma once

#include <cstdint>
#include <string>

#include "ado/Enums.h"
#include "ado/Error.h"
#include "ado/Recordset.h"
#include "ado/Variant.h"
#include "quimera/Enumeraciones.h"

namespace quimera {

// Event 1 of every class: a write of RutaHost. strRutaNueva is the path about to be stored;
// a handler may replace it.
class EventosRutaHost {
public:
    virtual ~EventosRutaHost() = default;
    virtual void CambiaRutaHost(const std::string& /*strRutaAntigua*/, std::string& /*strRutaNueva*/) {}
};

class clsAccesoDatosEventos : public EventosRutaHost {
public:
    virtual void AntesAgregar(ado::RecordsetPtr& /*objRecordset*/, bool& /*bolCancelar*/) {}
    virtual void DespuesAgregar(ado::RecordsetPtr& /*objRecordset*/) {}
    virtual void ErrorAgregar(ado::RecordsetPtr& /*objRecordset*/, int32_t /*numError*/) {}
    virtual void AntesBorrar(ado::RecordsetPtr& /*objRecordset*/, bool& /*bolCancelar*/, bool& /*bolMensaje*/) {}
    virtual void DespuesBorrar(ado::RecordsetPtr& /*objRecordset*/, bool& /*bolDesplazarSiguiente*/) {}
    virtual void ErrorBorrar(ado::RecordsetPtr& /*objRecordset*/, int32_t /*numError*/) {}
    virtual void AntesEditar(ado::RecordsetPtr& /*objRecordset*/, bool& /*bolCancelar*/) {}
    virtual void DespuesEditar(ado::RecordsetPtr& /*objRecordset*/) {}
    virtual void ErrorEditar(ado::RecordsetPtr& /*objRecordset*/, int32_t /*numError*/) {}
    virtual void AntesActualizar(ado::RecordsetPtr& /*objRecordset*/, bool& /*bolCancelar*/,
                                 ado::EditModeEnum /*numModalidad*/) {}
    virtual void DespuesActualizar(ado::RecordsetPtr& /*objRecordset*/, ado::EditModeEnum /*numModalidad*/) {}
    virtual void ErrorActualizar(ado::RecordsetPtr& /*objRecordset*/, int32_t /*numError*/,
                                 ModoActualizacion /*numTipoActualizacion*/) {}
    virtual void AntesCancelarActualizacion(ado::RecordsetPtr& /*objRecordset*/, ado::EditModeEnum /*numModalidad*/) {}
    virtual void DespuesCancelarActualizacion(ado::RecordsetPtr& /*objRecordset*/,
                                              ado::EditModeEnum /*numModalidad*/) {}
    virtual void ErrorCancelarActualizacion(ado::RecordsetPtr& /*objRecordset*/, int32_t /*numError*/) {}
    virtual void Bloqueo(bool& /*blnBloqueo*/, ado::LockTypeEnum /*numTipoBloqueo*/) {}
    virtual void ErroresADO(ado::Errors& /*colErrores*/) {}
    virtual void RegistroEncontrado(const ado::Variant& /*varAnteriorPosicion*/,
                                    const ado::Variant& /*varNuevaPosicion*/) {}
    virtual void ErrorSalvandoRecordset(ado::RecordsetPtr& /*objRecordset*/, ErroresSalvarRecordset /*numTipoError*/) {}
};

class clsSQLEventos : public EventosRutaHost {
public:
    virtual void CambiaSentencia(const std::string& /*strSentenciaAnterior*/, std::string& /*strSentenciaNueva*/,
                                 bool& /*blnCancelar*/) {}
};

class clsDatosAvanzadoEventos : public EventosRutaHost {
public:
    virtual void ValidarContador(int32_t /*numContadorAnterior*/, int32_t& /*numContadorNuevo*/) {}
    virtual void ErroresADO(ado::Errors& /*colErrores*/) {}
};

class clsCampoEventos : public EventosRutaHost {};
class clsCamposEventos : public EventosRutaHost {};
class clsTransaccionesEventos : public EventosRutaHost {};

}  // namespace quimera
