// clsDatosAvanzado: lookups, aggregates, counters, keys and data transfer. It works through
// one inner clsAccesoDatos and one inner clsSQL of its own, whose events it does not pass on.
//
// Ownership: a plain object the client creates and destroys; it owns its error manager, regional object and inner objects
// and keeps no connection or recordset between calls (the client's handles come in by
// reference and may be replaced or emptied, as each member says). Threads: one object, with
// the ADO objects it is given, on one thread at a time; objects share nothing but the message
// dialog's busy mark. Errors: working members never throw: a failure goes to the error
// manager (and the message dialog) and the member returns its failure value (false, null,
// 0 or ""); property accessors and InicializarPropiedades trap nothing.
#pragma once

#include <memory>
#include <string>

#include "quimera/components/babelia.h"
#include "quimera/Enumeraciones.h"
#include "quimera/Eventos.h"
#include "quimera/ObjetoQuimera.h"
#include "quimera/clsAccesoDatos.h"
#include "quimera/clsSQL.h"

namespace quimera {

class clsDatosAvanzado : public ObjetoQuimera<clsDatosAvanzadoEventos> {
public:
    // Creates the error manager, the regional object, the inner clsAccesoDatos and clsSQL.
    clsDatosAvanzado();
    ~clsDatosAvanzado() override;

    std::string Nombre() const { return "Datos Avanzado"; }

    // Also initialises the inner objects, with the host path or else the program's folder,
    // and hands the inner clsAccesoDatos the regional object this one holds.
    void InicializarPropiedades(const std::string& strRuta = "", TipoOrigenDatos numOrigen = dnAccess,
                                bool blnAutomatizar = true, TipoSQL numTipoSQL = TipoJet,
                                std::shared_ptr<babelia::Regional> pObjRegional = nullptr);

    // Not passed on to the inner clsAccesoDatos.
    bool MostrarMensajes() const { return blnMostrarMensajes_; }
    void MostrarMensajes(bool blnMostrarMensajes) { blnMostrarMensajes_ = blnMostrarMensajes; }

    // Database passwords of Access files (an object initialised with another origin gives
    // false and leaves the connection open exclusively). The connection is reopened in
    // exclusive mode (12), the file re-encrypted with strContrasena, or decrypted, and the
    // connection reopened read/write with the new password, which it keeps in its dynamic
    // property (a password written in its connection string would be reused instead, as
    // AbrirBaseDatos never does). QuitarContraseñaBD ignores strContrasena. After a failure
    // the connection stays as the failing step left it.
    bool EstablecerContraseñaBD(ado::ConnectionPtr& objConexion, const std::string& strContrasena = ClaveBaseDatos);
    bool QuitarContraseñaBD(ado::ConnectionPtr& objConexion, const std::string& strContrasena = ClaveBaseDatos);

    // The recordset's current bookmark; Null when it stands on no record, and after the
    // message "El proveedor no admite marcadores" on a recordset without bookmarks.
    ado::Variant ObtenerPosicion(ado::RecordsetPtr& objRecordset);

private:
    std::string_view ClaseInforme() const override { return "clsDatosAvanzado"; }
    int32_t IdiomaInforme() const override { return objRegional_->CodigoIdioma(); }
    bool PublicaErroresADO() const override { return true; }
    void EventoErroresADO(ado::Errors& colErrores) override {
        Eventos().Emitir(&clsDatosAvanzadoEventos::ErroresADO, colErrores);
    }
    void MostrarErroresADO(ado::Errors& colErrores, bool blnForzar) override;

    bool blnMostrarMensajes_ = false;
    std::shared_ptr<babelia::Regional> objRegional_;
    std::unique_ptr<clsAccesoDatos> objAccesoDatos_;
    std::unique_ptr<clsSQL> objSQL_;
    TipoOrigenDatos numOrigenDatos_ = dnAccess;  // the database engine, not a property
};

}  // namespace quimera
