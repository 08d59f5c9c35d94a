// The terminal dialog control: the dialog drawn as text, the choice read line by line.
#include <charconv>
#include <istream>
#include <ostream>
#include <string>

#include "quimera/ControlTerminal.h"

namespace ui {

namespace {

std::string MarcaIcono(const std::optional<int32_t>& numValor) {
    if (!numValor) return "";
    switch (*numValor) {
        case IconoControlAdvertencia: return "(!) ";
        case IconoControlError: return "(x) ";
        case IconoControlInformacion: return "(i) ";
        default: return "";
    }
}

std::string Recortar(const std::string& texto) {
    const auto inicio = texto.find_first_not_of(" \t\r");
    if (inicio == std::string::npos) return "";
    return texto.substr(inicio, texto.find_last_not_of(" \t\r") - inicio + 1);
}

}  // namespace

ControlTerminal::ControlTerminal(std::istream& entrada, std::ostream& salida, bool blnInteractivo)
    : entrada_(entrada), salida_(salida), blnInteractivo_(blnInteractivo) {}

void ControlTerminal::Dibujar(bool blnDetalle, bool blnCasilla) const {
    const DialogoGrabado& d = actual_;
    salida_ << "\n== " << d.strTitulo << " ==\n";
    if (!d.strInstruccion.empty() || d.numIconoPrincipal)
        salida_ << MarcaIcono(d.numIconoPrincipal) << d.strInstruccion << '\n';
    if (!d.strContenido.empty()) salida_ << d.strContenido << '\n';
    if (!d.strInformacionDetallada.empty()) {
        salida_ << "[d] " << (blnDetalle ? d.strTextoOcultar : d.strTextoMostrar) << '\n';
        if (blnDetalle) salida_ << d.strInformacionDetallada << '\n';
    }
    if (!d.strTextoCasilla.empty()) salida_ << "[c] [" << (blnCasilla ? 'X' : ' ') << "] " << d.strTextoCasilla << '\n';
    if (!d.strPie.empty()) salida_ << MarcaIcono(d.numIconoPie) << d.strPie << '\n';
    for (size_t i = 0; i < d.botones.size(); ++i) {
        const bool blnPredeterminado = d.numBotonPredeterminado == d.botones[i].numId;
        salida_ << "  " << i + 1 << ") " << d.botones[i].strTexto << (blnPredeterminado ? " *" : "");
    }
    if (d.blnCierreSinBoton || d.botones.empty()) salida_ << "  [x]";
    salida_ << '\n';
}

void ControlTerminal::Mostrar(EventosDialogo& eventos) {
    const DialogoGrabado& d = actual_;
    bool blnDetalle = false;
    bool blnCasilla = d.blnCasillaInicial;
    RespuestaDialogo respuesta = RespuestaPredeterminada(d);
    Dibujar(blnDetalle, blnCasilla);
    for (std::string linea; blnInteractivo_ && (salida_ << "> " << std::flush, std::getline(entrada_, linea));) {
        linea = Recortar(linea);
        int32_t numero = 0;
        const auto [fin, error] = std::from_chars(linea.data(), linea.data() + linea.size(), numero);
        if (linea == "d" && !d.strInformacionDetallada.empty()) {
            blnDetalle = !blnDetalle;
        } else if (linea == "c" && !d.strTextoCasilla.empty()) {
            blnCasilla = !blnCasilla;
        } else if (linea == "x" && (d.blnCierreSinBoton || d.botones.empty())) {
            respuesta = {.numBoton = IdCierreSinBoton};
            break;
        } else if (linea.empty() && d.numBotonPredeterminado) {
            break;
        } else if (error == std::errc() && fin == linea.data() + linea.size() && numero >= 1 &&
                   static_cast<size_t>(numero) <= d.botones.size()) {
            respuesta = {.numBoton = d.botones[static_cast<size_t>(numero) - 1].numId};
            break;
        } else {
            continue;
        }
        Dibujar(blnDetalle, blnCasilla);
    }
    if (blnCasilla != d.blnCasillaInicial) respuesta.blnCasilla = blnCasilla;
    Contestar(eventos, respuesta);
}

}  // namespace ui
