// clsCampo: a plain descriptor of one field as a client application shows it. Every property
// is a store and a load with no validation, event or conversion; the library gives them no
// meaning of its own.
//
// Ownership: a plain value-like object the client creates. Threads: one thread at a time.
// Errors: none of its members fails.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "quimera/Enumeraciones.h"
#include "quimera/Eventos.h"
#include "quimera/ObjetoQuimera.h"

namespace quimera {

class clsCampo : public ObjetoQuimera<clsCampoEventos> {
public:
    clsCampo();

    std::string Nombre() const { return "Campo"; }
    std::string Prefijo() const { return "OBJ"; }
    void InicializarPropiedades(const std::string& strRuta = "");

    int32_t Contador() const { return numContador_; }
    void Contador(int32_t valor) { numContador_ = valor; }
    std::string Descripcion() const { return strDescripcion_; }
    void Descripcion(const std::string& valor) { strDescripcion_ = valor; }
    std::string Id() const { return strId_; }
    void Id(const std::string& valor) { strId_ = valor; }
    int32_t Longitud() const { return numLongitud_; }
    void Longitud(int32_t valor) { numLongitud_ = valor; }
    std::string NombreObjeto() const { return strNombreObjeto_; }
    void NombreObjeto(const std::string& valor) { strNombreObjeto_ = valor; }
    std::string Referencia() const { return strReferencia_; }
    void Referencia(const std::string& valor) { strReferencia_ = valor; }
    TipoDatosEnum TipoDato() const { return numTipoDato_; }
    void TipoDato(TipoDatosEnum valor) { numTipoDato_ = valor; }
    std::string ConcatenadorAlias1() const { return strConcatenadorAlias1_; }
    void ConcatenadorAlias1(const std::string& valor) { strConcatenadorAlias1_ = valor; }
    bool Visible() const { return blnVisible_; }
    void Visible(bool valor) { blnVisible_ = valor; }
    TipoFormatoEspecialCampoEnum FormatoEspecial() const { return numFormatoEspecial_; }
    void FormatoEspecial(TipoFormatoEspecialCampoEnum valor) { numFormatoEspecial_ = valor; }
    bool Negrita() const { return blnNegrita_; }
    void Negrita(bool valor) { blnNegrita_ = valor; }
    int32_t ColorFondo() const { return numColorFondo_; }
    void ColorFondo(int32_t valor) { numColorFondo_ = valor; }
    int32_t ColorTexto() const { return numColorTexto_; }
    void ColorTexto(int32_t valor) { numColorTexto_ = valor; }
    bool Preview() const { return blnPreview_; }
    void Preview(bool valor) { blnPreview_ = valor; }
    std::string TextoSustitucionLink() const { return strTextoSustitucionLink_; }
    void TextoSustitucionLink(const std::string& valor) { strTextoSustitucionLink_ = valor; }
    std::string CampoRealAlias1() const { return strCampoRealAlias1_; }
    void CampoRealAlias1(const std::string& valor) { strCampoRealAlias1_ = valor; }
    std::string CampoRealAlias2() const { return strCampoRealAlias2_; }
    void CampoRealAlias2(const std::string& valor) { strCampoRealAlias2_ = valor; }
    std::string ConcatenadorAlias2() const { return strConcatenadorAlias2_; }
    void ConcatenadorAlias2(const std::string& valor) { strConcatenadorAlias2_ = valor; }
    std::string CampoRealAlias3() const { return strCampoRealAlias3_; }
    void CampoRealAlias3(const std::string& valor) { strCampoRealAlias3_ = valor; }
    std::string ClaveAlias() const { return strClaveAlias_; }
    void ClaveAlias(const std::string& valor) { strClaveAlias_ = valor; }
    std::string TablaAlias() const { return strTablaAlias_; }
    void TablaAlias(const std::string& valor) { strTablaAlias_ = valor; }
    std::string ClaveTablaAlias() const { return strClaveTablaAlias_; }
    void ClaveTablaAlias(const std::string& valor) { strClaveTablaAlias_ = valor; }
    bool AgruparPorCampo() const { return blnAgruparPorCampo_; }
    void AgruparPorCampo(bool valor) { blnAgruparPorCampo_ = valor; }
    bool MostrarColumnaCampoAgrupado() const { return blnMostrarColumnaCampoAgrupado_; }
    void MostrarColumnaCampoAgrupado(bool valor) { blnMostrarColumnaCampoAgrupado_ = valor; }
    int32_t OrdenAgrupacion() const { return numOrdenAgrupacion_; }
    void OrdenAgrupacion(int32_t valor) { numOrdenAgrupacion_ = valor; }

private:
    std::string_view ClaseInforme() const override { return "clsCampo"; }

    int32_t numContador_ = 0;
    std::string strDescripcion_;
    std::string strId_;
    int32_t numLongitud_ = 0;
    std::string strNombreObjeto_;
    std::string strReferencia_;
    TipoDatosEnum numTipoDato_ = dnTexto;
    std::string strConcatenadorAlias1_;
    bool blnVisible_ = false;
    TipoFormatoEspecialCampoEnum numFormatoEspecial_ = dnFormatoNinguno;
    bool blnNegrita_ = false;
    int32_t numColorFondo_ = 0;
    int32_t numColorTexto_ = 0;
    bool blnPreview_ = false;
    std::string strTextoSustitucionLink_;
    std::string strCampoRealAlias1_;
    std::string strCampoRealAlias2_;
    std::string strConcatenadorAlias2_;
    std::string strCampoRealAlias3_;
    std::string strClaveAlias_;
    std::string strTablaAlias_;
    std::string strClaveTablaAlias_;
    bool blnAgruparPorCampo_ = false;
    bool blnMostrarColumnaCampoAgrupado_ = false;
    int32_t numOrdenAgrupacion_ = 0;
};

using clsCampoPtr = std::shared_ptr<clsCampo>;

}  // namespace quimera
