// clsSQL: InicializarPropiedades.
#include "quimera/clsSQL.h"

namespace quimera {

void clsSQL::InicializarPropiedades(TipoSQL numTipoSQL, const std::string& strRuta) {
    InicializarComun(strRuta, Nombre());
    numTipo_ = numTipoSQL;
}

}  // namespace quimera
