// clsCampo: creation with the descriptor's initial values, and InicializarPropiedades.
#include "quimera/clsCampo.h"

namespace quimera {

clsCampo::clsCampo() {
    ClaveAlias("");
    TablaAlias("");
    ClaveTablaAlias("");
    CampoRealAlias1("");
    ConcatenadorAlias1(" ");
    CampoRealAlias2("");
    ConcatenadorAlias2(" ");
    CampoRealAlias3("");
    Visible(true);
    FormatoEspecial(dnFormatoPredeterminadoTipo);
    Negrita(false);
    ColorFondo(-1);
    ColorTexto(-1);
    Preview(false);
    TextoSustitucionLink("");
    AgruparPorCampo(false);
    OrdenAgrupacion(0);
    MostrarColumnaCampoAgrupado(false);
}

void clsCampo::InicializarPropiedades(const std::string& strRuta) { InicializarComun(strRuta, Nombre()); }

}  // namespace quimera
