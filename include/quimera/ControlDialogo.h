// ui::ControlDialogo: the task-dialog control that the message dialog routine drives.
//
// The routine resets the control, sets texts, settings, buttons and icons, then shows it
// modally; while it is shown the control reports the pressed button, check-box toggles and
// link clicks to the EventosDialogo it was given. Backends: ControlGrabador (records every
// dialog and answers by script or with the default button), ControlTerminal (draws on a
// text stream and reads the choice from another).
//
// Ownership: the routine takes the control from the factory for each dialog. Threads: the
// dialog runs on the caller's thread; only one dialog of the routine is open at a time.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace ui {

// Control values of the three standard icons.
inline constexpr int32_t IconoControlAdvertencia = 1;
inline constexpr int32_t IconoControlError = 2;
inline constexpr int32_t IconoControlInformacion = 3;

// The identifier a control reports when the dialog is closed without a button.
inline constexpr int32_t IdCierreSinBoton = 8;

// The presentation settings the routine only passes through, by the control's identifier.
// Switches take 1 (on) or 0 (off).
enum class Ajuste : int32_t {
    Preparacion = 24,   // switched on after each reset
    Activacion = 10,    // switched on with the caller's switches
    Presentacion = 21,  // switched on just before the dialog shows
    Ajuste1 = 14,
    Ajuste2 = 15,
    Ajuste3 = 13,
    Ajuste4 = 12,
    Numerico = 6,  // the caller's number, only when above 0
    Menor = 22,    // a small number, always 0
};

// What the control reports while the dialog is shown.
class EventosDialogo {
public:
    virtual ~EventosDialogo() = default;
    // numId: the identifier of the pressed button, IdCierreSinBoton for a dismissal.
    virtual void BotonPulsado(int32_t numId) = 0;
    virtual void CasillaPulsada(bool blnMarcada) = 0;
    virtual void EnlacePulsado(const std::string& strEnlace) = 0;
};

class ControlDialogo {
public:
    virtual ~ControlDialogo() = default;

    // Forgets every text, button, icon and setting of the previous dialog.
    virtual void Reiniciar() = 0;
    virtual void Titulo(const std::string& strTexto) = 0;
    virtual void Instruccion(const std::string& strTexto) = 0;
    virtual void Contenido(const std::string& strTexto) = 0;
    virtual void Pie(const std::string& strTexto) = 0;
    virtual void TextoCasilla(const std::string& strTexto) = 0;
    virtual void InformacionDetallada(const std::string& strTexto) = 0;
    // Captions of the detail expander while the detail is shown and while it is hidden.
    virtual void TextoOcultar(const std::string& strTexto) = 0;
    virtual void TextoMostrar(const std::string& strTexto) = 0;
    virtual void Establecer(Ajuste ajuste, int32_t numValor) = 0;
    virtual void CasillaMarcada(bool blnMarcada) = 0;
    // Whether the dialog may be closed without pressing a button.
    virtual void CierreSinBoton(bool blnPermitido) = 0;
    virtual void AgregarBoton(const std::string& strTexto, int32_t numId) = 0;
    virtual void BotonPredeterminado(int32_t numId) = 0;
    // Control values (IconoControl...); an icon never set is left to the control.
    virtual void IconoPrincipal(int32_t numValor) = 0;
    virtual void IconoPie(int32_t numValor) = 0;
    // Shows the dialog modally; returns once it is closed.
    virtual void Mostrar(EventosDialogo& eventos) = 0;
    // Lets the host's message loop process its pending window messages once. Backends
    // without a message loop (recording, terminal) have nothing to do.
    virtual void ProcesarMensajesPendientes() {}
};

// A terminal control when standard input and standard error are both terminals, otherwise
// a ControlSinUsuario that answers every dialog with the choice that changes nothing and
// reports it to the error manager (in the program's folder) and on standard error, so that
// services never wait for a user. A new control each call.
std::shared_ptr<ControlDialogo> CrearControlDialogoPredeterminado();

// The factory the dialog routine takes its control from, once per dialog. A client installs
// its own (a shared control the factory returns each time, for instance); an empty function
// restores the default. A factory that returns null is treated as absent.
using FabricaControlDialogo = std::function<std::shared_ptr<ControlDialogo>()>;
void InstalarFabricaControlDialogo(FabricaControlDialogo fabrica);
std::shared_ptr<ControlDialogo> CrearControlDialogo();

}  // namespace ui
