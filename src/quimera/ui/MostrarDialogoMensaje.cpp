// The message dialog routine: translates the texts, builds the dialog on the control, shows
// it and hands back the pressed button and the check box's state.
#include <algorithm>
#include <array>
#include <string_view>

#include "quimera/ControlDialogo.h"
#include "quimera/MostrarDialogoMensaje.h"
#include "quimera/frame/ErroresEjecucion.h"

namespace quimera {

namespace {

using P = ParametrosDialogo;
using C = ui::ControlDialogo;

// The busy mark: set while a dialog of the routine is prepared or shown, so none nests.
bool blnDialogoAbierto = false;

class MarcaOcupado {
public:
    MarcaOcupado() { blnDialogoAbierto = true; }
    ~MarcaOcupado() { blnDialogoAbierto = false; }
    MarcaOcupado(const MarcaOcupado&) = delete;
    MarcaOcupado& operator=(const MarcaOcupado&) = delete;
};

// The form behind the control: it records what the control reports.
class FormularioDialogo final : public ui::EventosDialogo {
public:
    explicit FormularioDialogo(bool blnCasilla) : RespuestaCheck(blnCasilla) {}
    void BotonPulsado(int32_t numId) override {
        RespuestaDialogo = numId == ui::IdCierreSinBoton ? BotonCancelar : numId;
    }
    void CasillaPulsada(bool blnMarcada) override { RespuestaCheck = blnMarcada; }
    void EnlacePulsado(const std::string&) override {}

    int32_t RespuestaDialogo = 0;
    bool RespuestaCheck;
};

// The texts, in the order they are translated and set.
struct TextoDialogo {
    std::string P::*strTexto;
    void (C::*poner)(const std::string&);
};
constexpr std::array<TextoDialogo, 8> kTextos{{
    {&P::strTitulo, &C::Titulo},
    {&P::strInstruccion, &C::Instruccion},
    {&P::strContenido, &C::Contenido},
    {&P::strPie, &C::Pie},
    {&P::strTextoCasilla, &C::TextoCasilla},
    {&P::strInformacionDetallada, &C::InformacionDetallada},
    {&P::strTextoOcultar, &C::TextoOcultar},
    {&P::strTextoMostrar, &C::TextoMostrar},
}};

constexpr std::array<int32_t P::*, 6> kRanuras{&P::numBoton1, &P::numBoton2, &P::numBoton3,
                                               &P::numBoton4, &P::numBoton5, &P::numBoton6};

// Captions of the standard buttons 101 to 109, translated when shown.
constexpr std::array<std::string_view, 9> kBotonesEstandar{"Aceptar",    "Cancelar", "Sí",    "No",    "Reintentar",
                                                           "Ignorar",    "Anular",   "Ayuda", "Cerrar"};
// Captions of the custom buttons 110 to 113, shown as the caller gives them.
constexpr std::array<std::string P::*, 4> kBotonesPropios{&P::strBotonPropio1, &P::strBotonPropio2,
                                                          &P::strBotonPropio3, &P::strBotonPropio4};

struct IconoDialogo {
    int32_t numCodigo;
    int32_t numValorControl;
};
constexpr std::array<IconoDialogo, 7> kIconos{{
    {1, ui::IconoControlInformacion},
    {2, ui::IconoControlAdvertencia},
    {3, ui::IconoControlError},
    {4, ui::IconoControlInformacion},
    {5, ui::IconoControlError},
    {6, ui::IconoControlInformacion},
    {7, ui::IconoControlInformacion},
}};

void PonerIcono(int32_t numCodigo, C& control, void (C::*poner)(int32_t)) {
    const auto icono = std::ranges::find(kIconos, numCodigo, &IconoDialogo::numCodigo);
    if (icono != kIconos.end()) (control.*poner)(icono->numValorControl);
}

void PonerBotones(const P& p, const babelia::Regional& regional, C& control) {
    if (std::ranges::all_of(kRanuras, [&](auto ranura) { return p.*ranura == BotonNinguno; })) {
        control.CierreSinBoton(true);
        return;
    }
    for (auto ranura : kRanuras) {
        const int32_t numCodigo = p.*ranura;
        if (numCodigo >= BotonAceptar && numCodigo <= BotonCerrar) {
            control.AgregarBoton(regional.Traducir(std::string(kBotonesEstandar[numCodigo - BotonAceptar]), 100, 0),
                                 numCodigo);
            if (numCodigo == BotonCancelar) control.CierreSinBoton(true);
        } else if (numCodigo >= BotonPropio1 && numCodigo <= BotonPropio4) {
            control.AgregarBoton(p.*kBotonesPropios[numCodigo - BotonPropio1], numCodigo);
        }
    }
    if (std::ranges::any_of(kRanuras, [&](auto ranura) { return p.*ranura == p.numBotonDefecto; }))
        control.BotonPredeterminado(p.numBotonDefecto);
}

}  // namespace

int32_t MostrarDialogoMensaje(ParametrosDialogo& p) {
    if (blnDialogoAbierto) return 0;
    const MarcaOcupado marca;
    const std::shared_ptr<C> objControl = ui::CrearControlDialogo();
    C& control = *objControl;

    control.Reiniciar();
    control.Establecer(ui::Ajuste::Preparacion, 1);

    const babelia::Regional& regional = frame::Establecido(p.pObjRegional);
    for (const TextoDialogo& texto : kTextos) (control.*texto.poner)(regional.Traducir(p.*texto.strTexto, 100, 0));

    control.Establecer(ui::Ajuste::Ajuste1, p.blnAjuste1);
    control.Establecer(ui::Ajuste::Ajuste2, p.blnAjuste2);
    if (p.numAjuste > 0) control.Establecer(ui::Ajuste::Numerico, p.numAjuste);
    control.CasillaMarcada(p.blnCasilla);
    control.Establecer(ui::Ajuste::Activacion, 1);
    control.Establecer(ui::Ajuste::Ajuste4, p.blnAjuste4);
    control.Establecer(ui::Ajuste::Ajuste3, p.blnAjuste3);
    control.Establecer(ui::Ajuste::Menor, 0);
    control.CierreSinBoton(false);

    PonerBotones(p, regional, control);
    PonerIcono(p.numIcono, control, &C::IconoPrincipal);
    PonerIcono(p.numIconoPie, control, &C::IconoPie);

    control.Establecer(ui::Ajuste::Presentacion, 1);
    FormularioDialogo formulario(p.blnCasilla);
    control.Mostrar(formulario);

    p.blnCasilla = formulario.RespuestaCheck;
    return formulario.RespuestaDialogo;
}

int32_t MostrarDialogoMensaje(ParametrosDialogo&& parametros) { return MostrarDialogoMensaje(parametros); }

}  // namespace quimera
