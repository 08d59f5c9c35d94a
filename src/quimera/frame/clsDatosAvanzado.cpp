// clsDatosAvanzado: creation, destruction and InicializarPropiedades.
#include "quimera/clsDatosAvanzado.h"

namespace quimera {

clsDatosAvanzado::clsDatosAvanzado()
    : objRegional_(babelia::CrearRegional()),
      objAccesoDatos_(std::make_unique<clsAccesoDatos>()),
      objSQL_(std::make_unique<clsSQL>()) {}

clsDatosAvanzado::~clsDatosAvanzado() {
    LiberarGestionErrores();
    objAccesoDatos_.reset();
    objSQL_.reset();
    objRegional_.reset();
}

void clsDatosAvanzado::InicializarPropiedades(const std::string& strRuta, TipoOrigenDatos numOrigen,
                                              bool blnAutomatizar, TipoSQL numTipoSQL,
                                              std::shared_ptr<babelia::Regional> pObjRegional) {
    InicializarComun(strRuta, Nombre());
    if (pObjRegional) objRegional_ = std::move(pObjRegional);
    objAccesoDatos_->InicializarPropiedades(CarpetaInforme(), numOrigen, blnAutomatizar, objRegional_);
    objSQL_->InicializarPropiedades(numTipoSQL, CarpetaInforme());
    numOrigenDatos_ = numOrigen;
}

}  // namespace quimera
