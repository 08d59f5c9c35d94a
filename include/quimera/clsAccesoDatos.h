// clsAccesoDatos: connections, cursors, editing, search and persistence over ADO objects
// that the client owns and passes in.
#pragma once

#include <memory>
#include <string>

#include "components/babelia.h"
#include "components/utilidades.h"
#include "quimera/Enumeraciones.h"
#include "quimera/Eventos.h"
#include "quimera/ObjetoQuimera.h"

namespace quimera {

class clsAccesoDatos : public ObjetoQuimera<clsAccesoDatosEventos> {
public:
    // Creates the error manager, then the regional object, through the components' factories.
    clsAccesoDatos();
    ~clsAccesoDatos() override;

    std::string Nombre() const { return "Quimera"; }

    // A regional object that is not set keeps the one the object holds.
    void InicializarPropiedades(const std::string& strRuta = "", TipoOrigenDatos numOrigen = dnAccess,
                                bool blnAutomatizarLocCursor = true,
                                std::shared_ptr<babelia::Regional> pObjRegional = nullptr);

    // Whether the ADO error report shows on ordinary paths; failure handlers always show it.
    bool MostrarMensajes() const { return blnMostrarMensajes_; }
    void MostrarMensajes(bool blnMostrarMensajes) { blnMostrarMensajes_ = blnMostrarMensajes; }
    TipoOrigenDatos OrigenDatos() const { return numOrigenDatos_; }
    void OrigenDatos(TipoOrigenDatos numOrigenDatos) { numOrigenDatos_ = numOrigenDatos; }
    bool AutomatizarLocCursor() const { return blnAutomatizarLocCursor_; }
    void AutomatizarLocCursor(bool blnAutomatizarLocCursor) { blnAutomatizarLocCursor_ = blnAutomatizarLocCursor; }

    // SQL text: a statement in the Jet (Access) dialect rewritten for SQL Server, purely as
    // text. Literals and bracketed names are kept; the empty text after a failure.
    std::string ConvertirSQL_SQLServer(const std::string& strSQL);

private:
    // SQL text: the structured passes of ConvertirSQL_SQLServer, each reporting under its name.
    std::string ConversionISNULL(const std::string& strSQL);
    std::string ConversionDATEVALUE(const std::string& strSQL);
    std::string ConversionTIMEVALUE(const std::string& strSQL);
    std::string ConversionDATEDIFF(const std::string& strSQL);
    std::string ConversionIIF(const std::string& strSQL);

    // The text utility of this object, created on first use and kept for its life.
    utilidades::UtilidadTexto& ObjUtilidadTexto();

    std::string_view ClaseInforme() const override { return "clsAccesoDatos"; }
    int32_t IdiomaInforme() const override { return objRegional_->CodigoIdioma(); }
    bool PublicaErroresADO() const override { return true; }
    void EventoErroresADO(ado::Errors& colErrores) override {
        Eventos().Emitir(&clsAccesoDatosEventos::ErroresADO, colErrores);
    }
    void MostrarErroresADO(ado::Errors& colErrores, bool blnForzar) override;

    bool blnMostrarMensajes_ = false;
    TipoOrigenDatos numOrigenDatos_ = dnAccess;
    bool blnAutomatizarLocCursor_ = true;
    std::shared_ptr<babelia::Regional> objRegional_;
    std::unique_ptr<utilidades::UtilidadTexto> objUtilidadTexto_;
};

}  // namespace quimera
