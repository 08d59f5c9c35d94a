// Dialog controls that keep a description of the dialog being prepared:
//  - ControlDescrito, the base of such backends: it records every setting in a DialogoGrabado
//    and gives answers back through the dialog's events;
//  - ControlGrabador, which keeps every dialog shown and answers from a script, or, when the
//    script is empty, as nobody choosing would: nothing is drawn and nothing waits.
//
// Threads: one thread at a time; a recorder is for tests and services.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "quimera/ControlDialogo.h"

namespace ui {

struct DialogoGrabado {
    struct Boton {
        std::string strTexto;
        int32_t numId = 0;
        friend bool operator==(const Boton&, const Boton&) = default;
    };

    std::string strTitulo, strInstruccion, strContenido, strPie, strTextoCasilla;
    std::string strInformacionDetallada, strTextoOcultar, strTextoMostrar;
    std::vector<Boton> botones;
    std::optional<int32_t> numBotonPredeterminado;
    bool blnCierreSinBoton = false;
    bool blnCasillaInicial = false;
    std::optional<int32_t> numIconoPrincipal, numIconoPie;
    std::map<Ajuste, int32_t> ajustes;
    // What the control reported: the button identifier and the check box's final state.
    int32_t numRespuesta = 0;
    bool blnCasillaFinal = false;
};

// One answer: optionally a toggle of the check box to that state, then a press of the
// button with that identifier (IdCierreSinBoton to dismiss).
struct RespuestaDialogo {
    int32_t numBoton = 0;
    std::optional<bool> blnCasilla{};
};

// The answer when nobody chooses: the default button when it was added, else the first
// button, else a dismissal.
RespuestaDialogo RespuestaPredeterminada(const DialogoGrabado& dialogo);

class ControlDescrito : public ControlDialogo {
public:
    void Reiniciar() override { actual_ = {}; }
    void Titulo(const std::string& strTexto) override { actual_.strTitulo = strTexto; }
    void Instruccion(const std::string& strTexto) override { actual_.strInstruccion = strTexto; }
    void Contenido(const std::string& strTexto) override { actual_.strContenido = strTexto; }
    void Pie(const std::string& strTexto) override { actual_.strPie = strTexto; }
    void TextoCasilla(const std::string& strTexto) override { actual_.strTextoCasilla = strTexto; }
    void InformacionDetallada(const std::string& strTexto) override { actual_.strInformacionDetallada = strTexto; }
    void TextoOcultar(const std::string& strTexto) override { actual_.strTextoOcultar = strTexto; }
    void TextoMostrar(const std::string& strTexto) override { actual_.strTextoMostrar = strTexto; }
    void Establecer(Ajuste ajuste, int32_t numValor) override { actual_.ajustes[ajuste] = numValor; }
    void CasillaMarcada(bool blnMarcada) override { actual_.blnCasillaInicial = blnMarcada; }
    void CierreSinBoton(bool blnPermitido) override { actual_.blnCierreSinBoton = blnPermitido; }
    void AgregarBoton(const std::string& strTexto, int32_t numId) override {
        actual_.botones.push_back({strTexto, numId});
    }
    void BotonPredeterminado(int32_t numId) override { actual_.numBotonPredeterminado = numId; }
    void IconoPrincipal(int32_t numValor) override { actual_.numIconoPrincipal = numValor; }
    void IconoPie(int32_t numValor) override { actual_.numIconoPie = numValor; }

protected:
    // Reports the answer through the events and records it. An answer the dialog cannot
    // give (a button it lacks, a dismissal it forbids) fails with std::logic_error.
    void Contestar(EventosDialogo& eventos, const RespuestaDialogo& respuesta);

    DialogoGrabado actual_;
};

class ControlGrabador final : public ControlDescrito {
public:
    // Answers are used one per dialog, in order.
    void Responder(RespuestaDialogo respuesta) { guion_.push_back(respuesta); }
    // Runs while a dialog is shown, before it is answered: the place of the host's message
    // loop, from which a second dialog could be requested.
    void AlMostrar(std::function<void(const DialogoGrabado&)> accion) { alMostrar_ = std::move(accion); }

    const std::vector<DialogoGrabado>& Dialogos() const { return dialogos_; }

    void Mostrar(EventosDialogo& eventos) override;

private:
    std::vector<DialogoGrabado> dialogos_;
    std::deque<RespuestaDialogo> guion_;
    std::function<void(const DialogoGrabado&)> alMostrar_;
};

}  // namespace ui
