// clsAccesoDatos: creation, destruction and InicializarPropiedades.
#include "quimera/clsAccesoDatos.h"

namespace quimera {

clsAccesoDatos::clsAccesoDatos() : objRegional_(babelia::CrearRegional()) {}

clsAccesoDatos::~clsAccesoDatos() {
    LiberarGestionErrores();
    objRegional_.reset();
}

void clsAccesoDatos::InicializarPropiedades(const std::string& strRuta, TipoOrigenDatos numOrigen,
                                            bool blnAutomatizarLocCursor,
                                            std::shared_ptr<babelia::Regional> pObjRegional) {
    InicializarComun(strRuta, Nombre());
    numOrigenDatos_ = numOrigen;
    blnAutomatizarLocCursor_ = blnAutomatizarLocCursor;
    if (pObjRegional) objRegional_ = std::move(pObjRegional);
}

}  // namespace quimera
