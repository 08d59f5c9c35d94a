// clsTransacciones: InicializarPropiedades.
#include "quimera/clsTransacciones.h"

namespace quimera {

void clsTransacciones::InicializarPropiedades(const std::string& strRuta) { InicializarComun(strRuta, Nombre()); }

}  // namespace quimera
