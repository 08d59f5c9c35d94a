// clsAccesoDatos: connections, cursors, editing, search and persistence over ADO objects
// that the client owns and passes in.
//
// Ownership: a plain object the client creates and destroys; it owns its error manager and regional object
// and keeps no connection or recordset between calls (the client's handles come in by
// reference and may be replaced or emptied, as each member says). Threads: one object, with
// the ADO objects it is given, on one thread at a time; objects share nothing but the message
// dialog's busy mark. Errors: working members never throw: a failure goes to the error
// manager (and the message dialog) and the member returns its failure value (false, null,
// 0 or ""); property accessors and InicializarPropiedades trap nothing.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "quimera/components/babelia.h"
#include "quimera/components/utilidades.h"
#include "quimera/Enumeraciones.h"
#include "quimera/Eventos.h"
#include "quimera/ObjetoQuimera.h"

namespace quimera {

// The fixed password of the library's Access databases, also the default of every
// password parameter.
inline constexpr const char* ClaveBaseDatos = "TERMOS58217";

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

    // Connections. The opening members hand back a new connection that the client owns, or
    // null after the failure's message. Access (and an engine outside TipoOrigenDatos) goes
    // through the Jet provider with ClaveBaseDatos, whatever strUsuario and strClave say;
    // SQL Server engines get a connection string built from the server name and its markers
    // (" @PROV:SQLNCLI10.1", " @PROV:SQLNCLI10", " @PROV:SQLNCLI11", " @PROV:SQLNCLI.1",
    // " @NWL:DBMSSOCN") and a second attempt with "SQLNCLI10;" in place of "SQLNCLI;";
    // dnOracle and dnODBC come back prepared but closed, for the client to open.
    ado::ConnectionPtr AbrirBaseDatos(const std::string& strConexion, const std::string& strUsuario = "sa",
                                      const std::string& strClave = ClaveBaseDatos,
                                      ado::ConnectModeEnum ModoConexion = ado::adModeReadWrite,
                                      ado::CursorLocationEnum numTipoCursor = ado::adUseClient,
                                      TipoOrigenDatos numOrigenDatos = dnAccess,
                                      const std::string& strServidorSQL = "");
    // AbrirBaseDatos with the server first; it traps nothing of its own.
    ado::ConnectionPtr AbrirBaseDatosSQLServer(const std::string& strServidor, const std::string& strBaseDatos,
                                               const std::string& strUsuario, const std::string& strClave,
                                               TipoOrigenDatos numTipoMotor,
                                               ado::CursorLocationEnum numTipoCursor = ado::adUseClient,
                                               ado::ConnectModeEnum numModoConexion = ado::adModeReadWrite);
    // Opens the client's connection string as it is: no provider, time limit or password set.
    ado::ConnectionPtr AbrirBaseDatosDirecta(const std::string& strConexion,
                                             ado::ConnectModeEnum ModoConexion = ado::adModeReadWrite,
                                             ado::CursorLocationEnum numTipoCursor = ado::adUseClient);
    // A connection through the shape provider (MSDataShape) whose data provider follows
    // OrigenDatos: Access (and an engine outside TipoOrigenDatos) the Jet provider with
    // ClaveBaseDatos in "Extended Properties", dnSQLServer and dnMSDE SQLOLEDB, dnOracle
    // MSDAORA, dnODBC MSDASQL, the SQL Server 2005 and 2008 kinds SQLNCLI. strConexion is
    // opened as it is; strUsuario and strClave are not used.
    ado::ConnectionPtr AbrirBaseDatosJerarquica(const std::string& strConexion,
                                                const std::string& strUsuario = "Administrador",
                                                const std::string& strClave = ClaveBaseDatos,
                                                ado::ConnectModeEnum ModoConexion = ado::adModeRead,
                                                ado::CursorLocationEnum numTipoCursor = ado::adUseClient);
    bool ConexionEstaAbierta(ado::ConnectionPtr& objBaseDatos);
    // Closes an open connection; blnEliminar empties the client's handle. A closed one gives true.
    bool CerrarConexion(ado::ConnectionPtr& objBaseDatos, bool blnEliminar = true);
    // Whether the server's master database lists strBaseDatos.
    bool ExisteBaseDatosSQLServer(const std::string& strServidor, const std::string& strBaseDatos,
                                  const std::string& strUsuario, const std::string& strClave,
                                  TipoOrigenDatos numTipoMotor);
    // Compacts an Access file into strRutaDestino (itself when empty), both with ClaveBaseDatos;
    // numTipoJet is the Jet file format (5). Other engines: true, nothing done. An existing
    // destination other than the source fails and nothing is written.
    bool CompactarBaseDatos(const std::string& strRutaOrigen, const std::string& strRutaDestino = "",
                            TipoOrigenDatos numTipoBD = dnAccess, int32_t numTipoJet = 5);

    // SQL text: a statement in the Jet (Access) dialect rewritten for SQL Server, purely as
    // text. Literals and bracketed names are kept; the empty text after a failure.
    std::string ConvertirSQL_SQLServer(const std::string& strSQL);

    // Cursors. Each member opens a new recordset and hands it back, or null after a failure.
    // On a connection whose provider name begins with SQLOLEDB or SQLNCLI the SQL text is
    // first rewritten with ConvertirSQL_SQLServer. A command given in objOrden is opened as
    // it is (strSQL unused); otherwise the member creates one (adCmdText) and hands it back
    // there. Without objBaseDatos the command's own connection is used and handed back.
    // Keyset and dynamic cursors (and AbrirTabla) raise Bloqueo before setting the lock type;
    // a handler that clears blnBloqueo leaves the provider's read-only default. After opening,
    // ADO errors left on the connection are published (report only with MostrarMensajes).
    ado::RecordsetPtr CrearCursorKeyset(std::string strSQL, ado::ConnectionPtr& objBaseDatos,
                                        ado::CommandPtr& objOrden,
                                        ado::LockTypeEnum numTipoBloqueo = ado::adLockPessimistic,
                                        ado::CursorLocationEnum numTipoCursor = ado::adUseClient,
                                        ado::ADCPROP_UPDATECRITERIA_ENUM numCriterioActualizacion =
                                            ado::adCriteriaUpdCols);
    ado::RecordsetPtr CrearCursorDinamico(std::string strSQL, ado::ConnectionPtr& objBaseDatos,
                                          ado::CommandPtr& objOrden,
                                          ado::LockTypeEnum numTipoBloqueo = ado::adLockPessimistic,
                                          ado::CursorLocationEnum numTipoCursor = ado::adUseClient);
    ado::RecordsetPtr CrearCursorEstatico(std::string strSQL, ado::ConnectionPtr& objBaseDatos,
                                          ado::CommandPtr& objOrden,
                                          ado::CursorLocationEnum numTipoCursor = ado::adUseClient);
    ado::RecordsetPtr CrearCursorInspeccion(std::string strSQL, ado::ConnectionPtr& objBaseDatos,
                                            ado::CommandPtr& objOrden,
                                            ado::CursorLocationEnum numTipoCursor = ado::adUseClient);
    // The whole table, keyset, opened directly; the connection is left client-side.
    ado::RecordsetPtr AbrirTabla(const std::string& strNombreTabla, ado::ConnectionPtr& objBaseDatos,
                                 ado::LockTypeEnum numTipoBloqueo = ado::adLockPessimistic);

    // A hierarchical recordset of two levels, or three when strSQLTerciario is given: the
    // SHAPE command is written into strSentenciaJerarquica (before anything is opened) and
    // opened on objBaseDatosJerarquica by the cursor member numTipoCursor names; another
    // numTipoCursor opens nothing. Link fields "a, b" relate two fields each.
    ado::RecordsetPtr CrearCursorJerarquico(const std::string& strSQLPrincipal, const std::string& strAliasPrimario,
                                            const std::string& strCampoEnlacePrimario1,
                                            const std::string& strSQLSecundario,
                                            const std::string& strAliasSecundario,
                                            const std::string& strCampoEnlacePrimario2,
                                            ado::ConnectionPtr& objBaseDatosJerarquica,
                                            TipoCursor numTipoCursor, const std::string& strSQLTerciario,
                                            const std::string& strAliasTerciario,
                                            const std::string& strCampoEnlaceSecundario1,
                                            const std::string& strCampoEnlaceSecundario2,
                                            std::string& strSentenciaJerarquica);
    // The same, for a client that does not want the SHAPE command back.
    ado::RecordsetPtr CrearCursorJerarquico(const std::string& strSQLPrincipal, const std::string& strAliasPrimario,
                                            const std::string& strCampoEnlacePrimario1,
                                            const std::string& strSQLSecundario,
                                            const std::string& strAliasSecundario,
                                            const std::string& strCampoEnlacePrimario2,
                                            ado::ConnectionPtr& objBaseDatosJerarquica,
                                            TipoCursor numTipoCursor = dnEstatico, const std::string& strSQLTerciario = "",
                                            const std::string& strAliasTerciario = "Terciario",
                                            const std::string& strCampoEnlaceSecundario1 = "",
                                            const std::string& strCampoEnlaceSecundario2 = "");

    // Stored queries and commands. SQL text goes to the provider as written.
    // A text command; with a name it is also named and prepared.
    ado::CommandPtr CrearConsulta(const std::string& strSQL, ado::ConnectionPtr& objBaseDatos,
                                  const std::string& strNombreConsulta = "");
    // The stored query of that name as an adCmdStoredProc command, not run.
    ado::CommandPtr AbrirConsulta(const std::string& strNombreConsulta, ado::ConnectionPtr& objBaseDatos);
    // Runs a query with the values of varParametros: a two-dimensional array whose first index
    // is 1 name (no brackets), 2 value, 3 ADO data type, and whose second runs over the
    // parameters 1 to numParametros (indices outside the array are a failure). On Access the
    // values bind to the parameters the engine reports (the others are dropped); on other
    // engines each [name] of the text is replaced by the value written as SQL: NULL for Null,
    // numbers with a decimal point, 200 (adVarChar) quoted with apostrophes doubled, 135
    // (adDBTimeStamp) as 'yyyy-mm-dd hh:mm:ss' and 134 (adDBTime) as 'hh:mm:ss'. A leading
    // PARAMETERS declaration is cut off there. With an empty strSQL the stored query
    // strNombreConsulta runs (without values on other engines).
    ado::RecordsetPtr EjecutarConsulta(const std::string& strNombreConsulta, ado::ConnectionPtr& objBaseDatos,
                                       ado::Variant& varParametros, const std::string& strSQL = "",
                                       ado::CommandTypeEnum numTipoConsulta = ado::adCmdText,
                                       int32_t numParametros = 0, TipoOrigenDatos numTipoMotor = dnAccess);
    // The command opened as a keyset cursor (CrearCursorKeyset's defaults); a closed
    // recordset rather than null when that fails.
    ado::RecordsetPtr LeerConsultaDinamica(ado::CommandPtr& objConsulta);
    // The command opened into a static recordset, client-side when AutomatizarLocCursor.
    ado::RecordsetPtr LeerConsultaEstatica(ado::CommandPtr& objConsulta);
    void ModificarParametro(ado::CommandPtr& objConsulta, const std::string& strNombreParametro,
                            const ado::Variant& varNuevoValor);

    // Editing. Each member refuses with a message what makes no sense for the recordset's
    // position and edit mode, raises its Antes/Despues/Error events (a handler may veto
    // through bolCancelar or replace objRecordset), publishes the connection's ADO errors,
    // shows its own message for the failures it recognises and returns whether it was done.
    bool Editar(ado::RecordsetPtr& objRecordset);
    bool Agregar(ado::RecordsetPtr& objRecordset);
    bool CancelarActualizacion(ado::RecordsetPtr& objRecordset);
    // blnNoMostrarMensaje silences the messages of duplicate keys, time limits, locks and
    // unspecified provider failures (and the forced report of unrecognised ones).
    bool Actualizar(ado::RecordsetPtr& objRecordset, bool blnNoMostrarMensaje = false);
    // Sends every pending change of a batch recordset.
    bool ActualizarCascada(ado::RecordsetPtr& objRecordset);
    // Asks first (blnPreguntar), deletes the current record and moves to the next one, or to
    // the last when it was the last. blnBloqueos keeps unspecified provider failures quiet.
    bool Borrar(ado::RecordsetPtr& objRecordset, bool blnPreguntar = true, bool blnBloqueos = true);

    // Recordset files. SalvarRecordset writes the recordset to strRuta (numFormato: 0 ADTG,
    // 1 XML) and, with blnCerrar, closes it and empties the client's reference. An existing
    // file is replaced only once the new one is complete: the new file is written beside it
    // and put in its place through the file utility; when that refuses, ErrorSalvandoRecordset
    // comes with dnBorrarArchivo and the old file is left as it was. ErrorSalvandoRecordset
    // also reports an unset (dnNoEstablecido) or closed (dnNoAbierto) recordset, a close that
    // failed (dnCerrar) and any other failure (dnDesconocido, before the usual report).
    bool SalvarRecordset(ado::RecordsetPtr& objRecordset, const std::string& strRuta,
                         ado::PersistFormatEnum numFormato = ado::adPersistADTG, bool blnCerrar = true);
    // Writes the recordset again to the file it was last saved to or opened from.
    bool ReSalvarRecordset(ado::RecordsetPtr& objRecordset);
    // The file as a client-side, batch optimistic recordset without connection; null, with no
    // message, when there is no file at strRuta.
    ado::RecordsetPtr CargarRecordset(const std::string& strRuta);
    // Sends the file's rows and pending changes to objBaseDatos as one batch; objRecordset
    // receives the recordset read from the file.
    bool ObtenerDatosDesdeFichero(ado::ConnectionPtr& objBaseDatos, const std::string& strRutaFichero,
                                  const std::string& strSQL, ado::RecordsetPtr& objRecordset);
    bool ObtenerDatosDesdeFichero(ado::ConnectionPtr& objBaseDatos, const std::string& strRutaFichero,
                                  const std::string& strSQL = "");

    // Disconnected recordsets and their structure. A recordset whose CursorLocation is
    // adUseServer is never detached nor reattached; one without ActiveConnection counts as
    // disconnected.
    ado::RecordsetPtr DesconectarRecordset(ado::RecordsetPtr objRecordset);
    bool AutoDesconectar(ado::RecordsetPtr& objRecordset);
    // Attaches a disconnected recordset to objBaseDatos and sends its pending changes.
    ado::RecordsetPtr ReconectarRecordset(ado::RecordsetPtr objRecordset, ado::ConnectionPtr& objBaseDatos,
                                          ado::MarshalOptionsEnum numTipoActualizacion = ado::adMarshalModifiedOnly);
    // The same, sending the batch with the lock type batch optimistic and putting back the
    // recordset's own lock type afterwards.
    bool AutoReconectar(ado::RecordsetPtr& objRecordset, ado::ConnectionPtr& objBaseDatos,
                        ado::MarshalOptionsEnum numTipoActualizacion = ado::adMarshalModifiedOnly);
    bool RecordsetEstaAbierto(ado::RecordsetPtr& objRecordset);
    // Closes an open recordset; blnEliminar empties the client's reference. A closed one gives true.
    bool CerrarRecordset(ado::RecordsetPtr& objRecordset, bool blnEliminar = true);
    // A field appended to a recordset without connection (null for a connected one); without
    // numTamano the size is the one Append gives the type.
    ado::FieldPtr AgregarCampo(ado::RecordsetPtr& objRecordset, const std::string& strNombreCampo,
                               ado::DataTypeEnum numTipo, std::optional<int32_t> numTamano = std::nullopt,
                               int32_t numAtributos = ado::adFldUnknownUpdatable);
    bool QuitarCampo(ado::RecordsetPtr& objRecordset, const std::string& strNombreCampo);

    // Search, built on the recordset's Find; the criterion follows Find's syntax and passes
    // on unchecked. Each returns whether a record was found (Buscar: neither at EOF nor at
    // BOF; BuscarPrimero, BuscarSiguiente, BuscarRegistro: not at EOF; BuscarAnterior,
    // BuscarUltimo: not at BOF) and then raises RegistroEncontrado with the old bookmark
    // (Empty when the recordset stood on no record) and the new one. Finding nothing puts the
    // recordset back on the record it stood on. BuscarSiguiente and BuscarAnterior skip the
    // current record; BuscarPrimero and BuscarUltimo search the whole recordset. A criterion
    // Find refuses is a failure (false), and leaves the recordset where Find left it.
    bool Buscar(ado::RecordsetPtr& objRecordset, const ado::Variant& varCriterio, int32_t numDispensado = 0,
                ado::SearchDirectionEnum numDireccion = ado::adSearchForward,
                int32_t varPosicionComienzo = ado::adBookmarkCurrent);
    bool BuscarPrimero(ado::RecordsetPtr& objRecordset, const ado::Variant& varCriterio);
    bool BuscarSiguiente(ado::RecordsetPtr& objRecordset, const ado::Variant& varCriterio);
    bool BuscarAnterior(ado::RecordsetPtr& objRecordset, const ado::Variant& varCriterio);
    bool BuscarUltimo(ado::RecordsetPtr& objRecordset, const ado::Variant& varCriterio);
    // Searches strNombreCampo + " = " + the value as text, from the first record: nothing is
    // quoted, so a text value brings its own apostrophes and a date its # marks.
    bool BuscarRegistro(ado::RecordsetPtr& objRecordset, const ado::Variant& varDatoBuscado,
                        const std::string& strNombreCampo);

    // Position and selection over bookmarks. SeleccionaRegistro gives false, silently, for a
    // bookmark the recordset refuses; SeleccionarRegistros filters the recordset to the
    // bookmarks and hands back that same recordset. The ControlDesplazamiento members tell
    // whether a move would land on a record, leaving the recordset where it was.
    bool SeleccionaRegistro(ado::RecordsetPtr& objRecordset, const ado::Variant& varMarcador);
    ado::RecordsetPtr SeleccionarRegistros(ado::RecordsetPtr objRecordset, ado::Variant& varMarcadores);
    bool ControlDesplazamientoAdelante(ado::RecordsetPtr& objRecordset);
    bool ControlDesplazamientoAtras(ado::RecordsetPtr& objRecordset);

    // Filters and indexes in memory. The index members (OptimizarCampo, DesoptimizarCampo,
    // CrearIndiceTemporal, BorrarIndicesTemporales) do nothing on a server-side recordset.
    // CrearIndiceTemporal sorts by the fields up to the first empty one, the direction word
    // (ASCENDING or DESCENDING) after the last: "Apellidos,Nombre ASCENDING".
    ado::RecordsetPtr AplicarFiltro(ado::RecordsetPtr objRecordset, const std::string& strCriterio);
    ado::RecordsetPtr QuitarFiltro(ado::RecordsetPtr objRecordset);
    bool FiltroDirecto(ado::RecordsetPtr& objRecordset, const std::string& strCriterio = "");
    void OptimizarCampo(ado::RecordsetPtr& objRecordset, const std::string& strNombreCampo);
    void DesoptimizarCampo(ado::RecordsetPtr& objRecordset, const std::string& strNombreCampo);
    void CrearIndiceTemporal(ado::RecordsetPtr& objRecordset, const std::string& strNombreCampo1,
                             const std::string& strNombreCampo2 = "", const std::string& strNombreCampo3 = "",
                             const std::string& strNombreCampo4 = "", bool blnAscendente = true);
    void BorrarIndicesTemporales(ado::RecordsetPtr& objRecordset);

private:
    // Search: what tells the members of the family apart, and their steps, with the criterion
    // made when Find is called.
    struct FormaBuscar;
    bool Buscar(const FormaBuscar& forma, ado::RecordsetPtr& objRecordset, const std::function<std::string()>& criterio);
    bool BuscarCriterio(const FormaBuscar& forma, ado::RecordsetPtr& objRecordset, const ado::Variant& varCriterio);
    // Position: the two ControlDesplazamiento members.
    bool Desplazable(std::string_view strMetodo, ado::RecordsetPtr& objRecordset, bool blnAdelante);
    // Filters and indexes: the frame the seven members share; false when the action failed.
    bool AccionRecordset(std::string_view strMetodo, const ado::RecordsetPtr& objRecordset, bool blnSoloCliente,
                         const std::function<void()>& accion);

    // SQL text: the structured passes of ConvertirSQL_SQLServer, each reporting under its name.
    std::string ConversionISNULL(const std::string& strSQL);
    std::string ConversionDATEVALUE(const std::string& strSQL);
    std::string ConversionTIMEVALUE(const std::string& strSQL);
    std::string ConversionDATEDIFF(const std::string& strSQL);
    std::string ConversionIIF(const std::string& strSQL);

    // The text utility of this object, created on first use and kept for its life.
    utilidades::UtilidadTexto& ObjUtilidadTexto();

    // Cursors: what the four SQL members share, and the Bloqueo event with its veto.
    struct FamiliaCursor;
    ado::RecordsetPtr CrearCursor(const FamiliaCursor& familia, std::string strSQL, ado::ConnectionPtr& objBaseDatos,
                                  ado::CommandPtr& objOrden, ado::LockTypeEnum numTipoBloqueo,
                                  ado::CursorLocationEnum numTipoCursor,
                                  ado::ADCPROP_UPDATECRITERIA_ENUM numCriterioActualizacion);
    void AplicarBloqueo(ado::Recordset& objRecordset, ado::LockTypeEnum numTipoBloqueo);

    // Connections: the failure path shared by the opening members.
    void PrepararFalloApertura(frame::Procedimiento& p);

    // Recordset files and reconnection: the refusals with their ErrorSalvandoRecordset event,
    // and the reconnecting members' shared steps.
    bool ExigirRecordset(ado::RecordsetPtr& objRecordset, ErroresSalvarRecordset numTipoError, bool blnCumple);
    bool PrepararSalvado(frame::Procedimiento& p, ado::RecordsetPtr& objRecordset, ado::ConnectionPtr& cn);
    struct FormaReconectar;
    bool Reconectar(const FormaReconectar& forma, ado::RecordsetPtr& objRecordset, ado::ConnectionPtr& objBaseDatos,
                    ado::MarshalOptionsEnum numTipoActualizacion);

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
