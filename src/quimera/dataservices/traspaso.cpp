// Data transfer of clsDatosAvanzado: a query's rows into a table of another file in one
// statement, row by row into a cursor of a second connection or into another recordset, and
// through a recordset file. Each row is saved on its own; rows saved before a failure stay.
#include <vector>

#include "ado/Enums.h"
#include "quimera/clsDatosAvanzado.h"
#include "quimera/frame/ErroresEjecucion.h"
#include "quimera/frame/Procedimiento.h"

namespace quimera {

namespace {

void LimpiarErrores(const ado::ConnectionPtr& objBaseDatos) {
    if (objBaseDatos) objBaseDatos->Errors().Clear();
}

// Whether any row of the recordset waits for a batch update.
bool HayCambiosPendientes(ado::Recordset& objRecordset) {
    const ado::Variant filtro = objRecordset.Filter();
    objRecordset.Filter(ado::Variant(int32_t{ado::adFilterPendingRecords}));
    const bool blnPendientes = !objRecordset.adoEOF();
    objRecordset.Filter(filtro);
    return blnPendientes;
}

}  // namespace

bool clsDatosAvanzado::VolcarDatos(const std::string& strTablaDestino, ado::ConnectionPtr& objOrigenDatos,
                                   std::string& strDestinoDatos, const std::string& strTablaOrigen,
                                   const std::string& strCampos, const std::string& strCriterio) {
    bool resultado = false;
    std::string strSQL;
    frame::Procedimiento p(*this, "VolcarDatos", objOrigenDatos);
    p.ForzarInforme(false);  // the data-error report only with MostrarMensajes
    p.paso([&] { LimpiarErrores(objOrigenDatos); })
        && p.paso([&] {
               // The Jet form of an insert into another database, never converted.
               strSQL = Sentencia("INSERT INTO " + strTablaDestino + " IN '" + strDestinoDatos + "' SELECT " +
                                      strCampos + " FROM ",
                                  strTablaOrigen, strCriterio);
           })
        && p.paso([&] { frame::Establecido(objOrigenDatos).Execute(strSQL, nullptr, ado::adOptionUnspecified); })
        && p.paso([&] { resultado = true; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

bool clsDatosAvanzado::CopiarRegistros(ado::RecordsetPtr& objOrigen, ado::RecordsetPtr& objDestino,
                                       bool blnVaciosANulo) {
    ado::Fields& origen = objOrigen->Fields();
    ado::Fields& destino = objDestino->Fields();
    // The destination's fields by name, found once for every row.
    std::vector<ado::Field*> pares;
    for (ado::Field& campo : origen) pares.push_back(&destino[campo.Name()]);
    while (!objOrigen->adoEOF()) {
        if (!objAccesoDatos_->Agregar(objDestino)) return false;
        for (int32_t i = 0; i < origen.Count(); ++i) {
            ado::Field& campo = origen[i];
            const ado::Variant valor = campo.Value();
            const bool blnVacio = blnVaciosANulo && campo.Type() == ado::adVarWChar && valor.IsText() &&
                                  valor.AsString().empty();
            // Set without a conditional expression, which would copy the value once more.
            if (blnVacio)
                pares[static_cast<size_t>(i)]->Value(ado::Variant(ado::Variant::Null));
            else
                pares[static_cast<size_t>(i)]->Value(valor);
        }
        if (!objAccesoDatos_->Actualizar(objDestino, false)) return false;
        objOrigen->MoveNext();
    }
    return true;
}

bool clsDatosAvanzado::VolcarDatos97(const std::string& strTablaDestino, ado::ConnectionPtr& objOrigenDatos,
                                     ado::ConnectionPtr& objDestinoDatos, const std::string& strTablaOrigen,
                                     const std::string& strCampos, const std::string& strCriterio) {
    bool resultado = false;
    std::string strSQL;
    ado::RecordsetPtr origen, destino;
    frame::Procedimiento p(*this, "VolcarDatos97", objOrigenDatos);
    p.ForzarInforme(false);
    const std::string strCabeza = "SELECT " + strCampos + " FROM ";
    p.paso([&] { return objOrigenDatos && objDestinoDatos; })
        && p.paso([&] { LimpiarErrores(objOrigenDatos); })
        && p.paso([&] { strSQL = Sentencia(strCabeza, strTablaOrigen, strCriterio); })
        && p.paso([&] { origen = AbrirCursorDatos(CursorDatos::Lectura, strSQL, objOrigenDatos); })
        && p.paso([&] { return origen != nullptr; })
        && p.paso([&] {
               if (!origen->adoEOF()) return true;
               resultado = true;  // nothing to copy: the destination is not opened
               return false;
           })
        // The named destination table, opened empty: its rows are never loaded to append to it.
        && p.paso([&] {
               const std::string& tabla = strTablaDestino.empty() ? strTablaOrigen : strTablaDestino;
               destino = AbrirCursorDatos(CursorDatos::Keyset, strCabeza + tabla + " WHERE 1=0", objDestinoDatos);
           })
        && p.paso([&] { return destino != nullptr; })
        && p.paso([&] { return CopiarRegistros(origen, destino, true); })
        && p.paso([&] { resultado = true; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

bool clsDatosAvanzado::TraspasoDatos(ado::RecordsetPtr& dnObjRCOrigen, ado::RecordsetPtr& dnObjRCDestino) {
    bool resultado = false;
    frame::Procedimiento p(*this, "TraspasoDatos");  // recordsets only: no ADO errors are looked for
    p.paso([&] { return dnObjRCOrigen && dnObjRCDestino; })
        && p.paso([&] { return CopiarRegistros(dnObjRCOrigen, dnObjRCDestino, false); })
        && p.paso([&] { resultado = true; });
    return resultado;
}

bool clsDatosAvanzado::MigraDatosTabla(ado::RecordsetPtr& objRecordset, ado::ConnectionPtr& objDestinoDatos,
                                       const std::string& strRutaTemporal) {
    bool resultado = false;
    std::string strSQL;
    frame::Procedimiento p(*this, "MigraDatosTabla", objDestinoDatos);
    p.ForzarInforme(false);
    p.paso([&] { LimpiarErrores(objDestinoDatos); })
        && p.paso([&] {
               objSQL_->Sentencia(frame::Establecido(objRecordset).Source());
               strSQL = objSQL_->Sentencia();
           })
        && p.paso([&] { return objAccesoDatos_->AutoDesconectar(objRecordset); })
        // Unchanged rows would send nothing: with no change pending, every row goes as an insertion.
        && p.paso([&] {
               if (!HayCambiosPendientes(*objRecordset)) objRecordset->PendingAsNew();
           })
        && p.paso([&] { return objAccesoDatos_->SalvarRecordset(objRecordset, strRutaTemporal, ado::adPersistXML, false); })
        && p.paso([&] { return objAccesoDatos_->ObtenerDatosDesdeFichero(objDestinoDatos, strRutaTemporal, strSQL); })
        && p.paso([&] { resultado = true; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

bool clsDatosAvanzado::TraspasoDatos_SQLServer(ado::RecordsetPtr& /*dnObjRCOrigen*/,
                                               ado::RecordsetPtr& /*dnObjRCDestino*/,
                                               const std::string& /*strRutaImagenes*/,
                                               const std::string& /*strRutaLogotipos*/,
                                               const std::string& /*strRutaDocumentosRtf*/,
                                               const std::string& /*strTabla*/) {
    return false;
}

}  // namespace quimera
