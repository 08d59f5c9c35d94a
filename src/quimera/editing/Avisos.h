// The messages that the editing and query members of clsAccesoDatos show themselves, as
// data: refusals, the recognised failures of each method and what each one does.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "ado/Recordset.h"
#include "quimera/components/babelia.h"
#include "quimera/MostrarDialogoMensaje.h"
#include "quimera/frame/Procedimiento.h"

namespace quimera::avisos {

// What the message says below its heading.
enum class Contenido : uint8_t {
    Fijo,              // strContenido
    Descripcion,       // the failure's description
    DetectadoEnClase,  // "Detectado en la clase: " and the class's display name
};

// One message with a single "Aceptar" button, shown whatever MostrarMensajes says.
struct Aviso {
    std::string_view strTitulo;
    std::string_view strInstruccion;
    Contenido contenido = Contenido::Fijo;
    std::string_view strContenido{};
    int32_t numIcono = IconoAdvertencia;
    // The method translates its fixed texts before the call (the dialog translates again).
    bool blnTraducir = false;
    // The heading is followed by the failure's description.
    bool blnDescripcionEnInstruccion = false;
};

// Who shows the messages: the class's regional object (its member, which outlives the call)
// and display name.
struct Avisador {
    const std::shared_ptr<babelia::Regional>& objRegional;
    std::string strNombre;

    // strDescripcion: the failure's description, for the messages that carry it.
    void operator()(const Aviso& aviso, const std::string& strDescripcion = {}) const;
    // The deletion question: "Sí" and "No", no default button; returns the button pressed.
    int32_t Preguntar(const Aviso& aviso) const;
    // A refusal step: shows the message when the condition does not hold; returns the condition.
    bool Exigir(bool blnCumple, const Aviso& aviso) const {
        if (!blnCumple) (*this)(aviso);
        return blnCumple;
    }
};

// Messages that several methods share.
inline constexpr Aviso kIntegridadReferencial{"Integridad referencial", "Integridad referencial",
                                              Contenido::Descripcion};
inline constexpr Aviso kSinRegistroActivo{.strTitulo = "Error", .strInstruccion = "No hay un registro activo",
                                          .contenido = Contenido::DetectadoEnClase, .numIcono = IconoError,
                                          .blnTraducir = true};
inline constexpr Aviso kBloqueadoAlActualizar{"Información de bloqueos", "Información de bloqueos", Contenido::Fijo,
                                              "Imposible Actualizar, el registro está bloqueado por otro usuario"};
inline constexpr Aviso kErrorAlActualizar{.strTitulo = "Error", .strInstruccion = "Error al actualizar",
                                          .contenido = Contenido::DetectadoEnClase, .numIcono = IconoError,
                                          .blnTraducir = true};

// What a recognised failure does to the pending change, and when.
enum class Cambio : uint8_t { Conservar, CancelarAntes, CancelarDespues };

// A failure number a method recognises.
struct Reconocido {
    int32_t numError;
    Aviso aviso;
    Cambio cambio = Cambio::Conservar;
    // The method's silencing flag (blnNoMostrarMensaje, blnBloqueos) hides the message.
    bool blnSilenciable = false;
};

// Runs a recognised failure's row: the pending change and the message, in the row's order.
void Atender(const Reconocido& fila, const frame::Fallo& fallo, const Avisador& avisar, bool blnSilencio,
             const frame::AccionEnLinea<void()>& cancelarCambio);

template <class Lista>
bool Contiene(const Lista& lista, int32_t numError) {
    return std::ranges::find(lista, numError) != std::ranges::end(lista);
}

// The common opening of the editing members: the recordset's connection, its errors cleared.
ado::ConnectionPtr TomarConexion(const ado::RecordsetPtr& objRecordset);

// The recordset's edit mode, or adEditNone where it cannot be read (no current record).
ado::EditModeEnum ModoEdicion(const ado::RecordsetPtr& objRecordset);

// Whether a batch recordset holds changes UpdateBatch would send (found as ADO shows them,
// through the pending-records filter; the filter and the position are put back).
bool HayCambiosPendientes(ado::Recordset& objRecordset);

// The pending-change rule: CancelUpdate when the recordset is in that edit mode.
void CancelarSiEnModo(const ado::RecordsetPtr& objRecordset, ado::EditModeEnum numModo);

// The number of the last entry of the connection's Errors, or 0 without one.
int32_t UltimoErrorADO(const ado::ConnectionPtr& objConexion);

// What an editing member does to the pending change when it fails.
struct ReglaCambio {
    frame::AccionEnLinea<void()> cancelar;    // the pending-change rule
    std::span<const int32_t> trasInforme{};   // last ADO errors after which the report cancels
    bool blnTrasCualquierInforme = false;     // or cancel after every report
    bool blnAlAbandonar = true;               // and when the error manager abandons the method
    bool blnSilencio = false;                 // the member's flag that hides silenceable messages
};

// Wires the failure handling the editing members share besides their Error… event: the
// recognised rows (message and pending change), the rule after the ADO report and on
// abandoning. Everything is kept by reference, so it must outlive `p` (locals of the
// member, declared before it); `cn` is read when a failure happens, so a later step may set it.
template <class Tabla>
void PrepararFallos(frame::Procedimiento& p, const Tabla& reconocidos, const Avisador& avisar,
                    const ado::ConnectionPtr& cn, const ReglaCambio& regla) {
    p.Reconocer(reconocidos, [&avisar, &regla](const Reconocido& fila, const frame::Fallo& f) {
        Atender(fila, f, avisar, regla.blnSilencio, regla.cancelar);
    });
    if (regla.blnTrasCualquierInforme || !regla.trasInforme.empty())
        p.TrasInformeADO([&cn, &regla](const frame::Fallo&) {
            if (regla.blnTrasCualquierInforme || Contiene(regla.trasInforme, UltimoErrorADO(cn))) regla.cancelar();
        });
    if (regla.blnAlAbandonar) p.AlAbandonar([&regla](const frame::Fallo&) { regla.cancelar(); });
}
template <class Tabla>
void PrepararFallos(frame::Procedimiento&, const Tabla&, const Avisador&, const ado::ConnectionPtr&,
                    ReglaCambio&&) = delete;  // a temporary rule would not outlive the method

}  // namespace quimera::avisos
