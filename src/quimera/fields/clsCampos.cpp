// clsCampos: the numbered collection of field descriptors.
#include <algorithm>

#include "quimera/clsCampos.h"
#include "quimera/frame/ErroresEjecucion.h"
#include "quimera/frame/Procedimiento.h"

namespace quimera {

using frame::Establecido;

clsCampos::clsCampos() : colCampos_(std::make_shared<ColeccionCampos>()) {}

clsCampos::~clsCampos() {
    LiberarGestionErrores();
    colCampos_.reset();
}

void clsCampos::InicializarPropiedades(const std::string& strRuta) { InicializarComun(strRuta, Nombre()); }

ColeccionCampos& clsCampos::ColeccionEstablecida() const { return Establecido(colCampos_); }

// -1 without a collection, 1 in an empty one, else one above the highest Contador (at least 0).
int32_t clsCampos::SiguienteContador() const {
    if (!colCampos_) return -1;
    if (colCampos_->Cuenta() == 0) return 1;
    int32_t numMaximo = 0;
    for (const clsCampoPtr& campo : colCampos_->Elementos())
        numMaximo = std::max(numMaximo, Establecido(campo).Contador());
    return frame::Sumar(numMaximo, 1);
}

void clsCampos::Agregar(const clsCampoPtr& NuevoObjeto) {
    const int32_t numContador = SiguienteContador();
    clsCampo& campo = Establecido(NuevoObjeto);
    campo.Contador(numContador);
    campo.Id("Campos" + std::to_string(numContador));
    ColeccionEstablecida().Agregar(NuevoObjeto, campo.Id());
}

void clsCampos::Borrar(const ado::Variant& IDNuevoObjeto) { ColeccionEstablecida().Quitar(IDNuevoObjeto); }

clsCampoPtr clsCampos::Objeto(const ado::Variant& varKey) {
    clsCampoPtr resultado;
    frame::Procedimiento p(*this, "Objeto");
    p.paso([&] { resultado = ColeccionEstablecida().Elemento(varKey); });
    return resultado;
}

int32_t clsCampos::Cuenta() const { return ColeccionEstablecida().Cuenta(); }

void clsCampos::Limpiar() {
    ColeccionCampos& coleccion = ColeccionEstablecida();
    for (const clsCampoPtr& campo : coleccion.Elementos()) coleccion.Quitar(Establecido(campo).Id());
}

}  // namespace quimera
