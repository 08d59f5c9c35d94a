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
//
// Criteria. Every strCriterio and strCondiciones is a complete condition in the connection's
// own SQL dialect, with its own quotes and delimiters, pasted after " WHERE " as it comes
// (the empty text: no condition); table and field names are pasted likewise. Never build a
// criterion from what a user typed: a value with an apostrophe breaks the statement or
// changes what it does. For user input, use a command with parameters
// (clsAccesoDatos::CrearConsulta and EjecutarConsulta) and pass its recordset instead.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

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

    // Lookups and aggregates. Each builds one SELECT on strNombreTabla (criterion after
    // " WHERE " when not empty), opens a cursor through the inner clsAccesoDatos and works on
    // its first record only.
    // The value of strNombreCampo in the first matching record; Null when none matches.
    ado::Variant ObtenerDato(const std::string& strNombreTabla, const std::string& strNombreCampo,
                             ado::ConnectionPtr& objBaseDatos, const std::string& strCriterio = "");
    // Writes varValor into the first matching record and saves it (keyset, pessimistic,
    // client-side); true when the save succeeded.
    bool ActualizarDato(const std::string& strNombreTabla, const std::string& strNombreCampo,
                        ado::ConnectionPtr& objBaseDatos, const std::string& strCriterio = "",
                        const ado::Variant& varValor = ado::Variant(int16_t{0}));
    // The same on a cursor of that field only: dynamic server-side on SQL Server and Oracle
    // origins, keyset client-side on every other.
    bool ReemplazarDato(const std::string& strNombreTabla, const std::string& strNombreCampo,
                        ado::ConnectionPtr& objBaseDatos, const std::string& strCriterio,
                        const ado::Variant& varValor);
    // SELECT * with the criterion, static client-side (or by engine without blnEstatico); the
    // caller owns the recordset.
    ado::RecordsetPtr ObtenerRegistro(const std::string& strNombreTabla, ado::ConnectionPtr& objBaseDatos,
                                      const std::string& strCriterio, bool blnEstatico = true);
    bool ExisteRegistro(const std::string& strNombreTabla, ado::ConnectionPtr& objBaseDatos,
                        const std::string& strCriterio);
    // MAX, MIN, AVG and SUM of strNombreCampo (any expression): the engine's value, Null over
    // no matching record, the integer 0 for a result without any row, Empty after a failure.
    ado::Variant ObtenerMaximo(const std::string& strNombreTabla, const std::string& strNombreCampo,
                               ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones = "");
    ado::Variant ObtenerMinimo(const std::string& strNombreTabla, const std::string& strNombreCampo,
                               ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones = "");
    ado::Variant ObtenerPromedio(const std::string& strNombreTabla, const std::string& strNombreCampo,
                                 ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones = "");
    ado::Variant ObtenerTotal(const std::string& strNombreTabla, const std::string& strNombreCampo,
                              ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones = "");
    // COUNT(strNombreCampo): non-Null values of the field, or records with "*".
    int32_t ObtenerNumeroRegistros(const std::string& strNombreTabla, const std::string& strNombreCampo,
                                   ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones = "");

    // Null replacements; they trap nothing. Numero: Null gives the integer 0. Fecha and Hora:
    // Null, a number or a text that is no date give "01/01/1900" and "00:00" as texts; a date
    // (or a text the regional settings read as one) gives its date or time-of-day part.
    // Texto: Null gives "", anything else its text form (an array or object fails, 13).
    ado::Variant ConvertirNuloNumerico(const ado::Variant& varNumero);
    ado::Variant ConvertirNuloFecha(const ado::Variant& varFecha);
    ado::Variant ConvertirNuloHora(const ado::Variant& varHora);
    std::string ConvertirNuloTexto(const ado::Variant& varTexto);

    // Counters: a new number for a numbering field, 0 on failure. ValidarContador lets the
    // client change the new value before it is used. One attempt each: a save refused because
    // another user holds or changed the record gives 0, and the caller decides.
    // The highest value plus one; numInicioContador (at least 1) while the field is empty.
    int32_t ObtenerContador(const std::string& strNombreTabla, const std::string& strNombreCampo,
                            ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones = "",
                            int32_t numInicioContador = 1);
    // The lowest positive value not in use (it fills gaps), or the highest plus one; 1 without
    // event when the highest value is negative. Any 32-bit value; one read of the field.
    int32_t ObtenerContadorLibre(const std::string& strNombreTabla, const std::string& strNombreCampo,
                                 ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones = "");
    // The first record matching strCondiciones holds the last number handed out in
    // strNombreCampo; it is advanced and saved (Null counts as 0). No record: 0.
    int32_t ObtenerContadorDispensador(const std::string& strNombreTabla, const std::string& strNombreCampo,
                                       ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones = "");
    // The table Contadores (numIdContador, strCampo, numContador), which must exist: the
    // record of strNombreCampo is advanced and saved; the first call for a field adds it,
    // starting from the highest value of the field in strNombreTabla.
    int32_t ObtenerContadorExterno(const std::string& strNombreTabla, const std::string& strNombreCampo,
                                   ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones = "");

    // Keys and deletion. The key field: the first field whose dynamic property 4 (KEYCOLUMN)
    // is true; "" when none is.
    std::string ObtenerCampoClave(ado::RecordsetPtr& objRecordset);
    // The key field of SELECT TOP 1 * FROM strNombreTabla.
    std::string ObtenerCampoClaveTabla(const std::string& strNombreTabla, ado::ConnectionPtr& objConexion);
    // Deletes the current record through the recordset, or through BorrarComplejo when
    // strSQL (the recordset's statement) holds a JOIN.
    bool BorradoSelectivo(ado::RecordsetPtr& objRecordset, const std::string& strNombreTabla,
                          const std::string& strSQL, bool blnPreguntar = true);
    // Deletes the row of strNombreTabla behind the current record of a joined recordset: the
    // values of every key column of that table, written as literals of the connection's
    // dialect, must find exactly one row; otherwise (no key, a Null key, no row or several)
    // nothing is deleted and the result is false. objRecordset is not touched.
    bool BorrarComplejo(ado::RecordsetPtr& objRecordset, const std::string& strNombreTabla, bool blnPreguntar = true);

    // Data transfer. Records are saved one by one, without a transaction of their own.
    // INSERT INTO strTablaDestino IN 'strDestinoDatos' SELECT strCampos FROM strTablaOrigen,
    // run on the (Access) source connection.
    bool VolcarDatos(const std::string& strTablaDestino, ado::ConnectionPtr& objOrigenDatos,
                     std::string& strDestinoDatos, const std::string& strTablaOrigen, const std::string& strCampos,
                     const std::string& strCriterio = "");
    // The query's rows added one by one to strTablaDestino (strTablaOrigen when empty) of the
    // second connection; empty Unicode texts arrive as Null.
    bool VolcarDatos97(const std::string& strTablaDestino, ado::ConnectionPtr& objOrigenDatos,
                       ado::ConnectionPtr& objDestinoDatos, const std::string& strTablaOrigen,
                       const std::string& strCampos, const std::string& strCriterio = "");
    // The source's rows from its current one on, added to the destination, fields by name.
    bool TraspasoDatos(ado::RecordsetPtr& dnObjRCOrigen, ado::RecordsetPtr& dnObjRCDestino);
    // The recordset disconnected, saved as XML at strRutaTemporal and sent to the second
    // connection from there: its pending changes, or every row when none is pending.
    bool MigraDatosTabla(ado::RecordsetPtr& objRecordset, ado::ConnectionPtr& objDestinoDatos,
                         const std::string& strRutaTemporal);
    // Does nothing; always false.
    bool TraspasoDatos_SQLServer(ado::RecordsetPtr& dnObjRCOrigen, ado::RecordsetPtr& dnObjRCDestino,
                                 const std::string& strRutaImagenes, const std::string& strRutaLogotipos,
                                 const std::string& strRutaDocumentosRtf, const std::string& strTabla);

private:
    // Data services: the cursor kinds the members open through the inner clsAccesoDatos.
    enum class CursorDatos : uint8_t { Lectura, Keyset, Dinamico, SegunMotor };
    // The statement head + table [+ " WHERE " + criterion], stored in the inner clsSQL and
    // read back from it.
    std::string Sentencia(std::string_view strCabeza, const std::string& strNombreTabla,
                          const std::string& strCriterio);
    ado::RecordsetPtr AbrirCursorDatos(CursorDatos numTipo, const std::string& strSQL,
                                       ado::ConnectionPtr& objBaseDatos);
    struct Agregado;
    ado::Variant ObtenerAgregado(const Agregado& agregado, const std::string& strNombreTabla,
                                 const std::string& strNombreCampo, ado::ConnectionPtr& objBaseDatos,
                                 const std::string& strCondiciones);
    struct Escritura;
    bool EscribirDato(const Escritura& escritura, const std::string& strNombreTabla,
                      const std::string& strNombreCampo, ado::ConnectionPtr& objBaseDatos,
                      const std::string& strCriterio, const ado::Variant& varValor);
    // The highest value of a counted field, Null as 0, as a 32-bit integer.
    int32_t ValorMaximo(const std::string& strNombreTabla, const std::string& strNombreCampo,
                        ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones);
    // The lowest positive value of the field that the cursor's rows do not hold, up to
    // numMaximo + 1: its values read in one pass and sorted, not searched once per candidate.
    int32_t HuecoMasBajo(ado::Recordset& objCursor, const std::string& strNombreCampo, int32_t numMaximo);
    // Raises ValidarContador and gives the value the handlers left.
    int32_t AvisarContador(int32_t numAnterior, int32_t numNuevo);
    // Copies the fields of the source's current record into the destination's new one.
    bool CopiarRegistros(ado::RecordsetPtr& objOrigen, ado::RecordsetPtr& objDestino, bool blnVaciosANulo);

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
