// The messages of the editing and query members, and the pending-change helpers.
#include "quimera/editing/Avisos.h"

#include "quimera/frame/ErroresEjecucion.h"

namespace quimera::avisos {

namespace {

std::string Texto(const Avisador& avisar, std::string_view strTexto, bool blnTraducir) {
    const std::string texto(strTexto);
    return blnTraducir ? frame::Establecido(avisar.objRegional).Traducir(texto, 100, 0) : texto;
}

ParametrosDialogo Parametros(const Avisador& avisar, const Aviso& aviso, const std::string& strDescripcion) {
    ParametrosDialogo p;
    p.pObjRegional = avisar.objRegional;
    p.strTitulo = Texto(avisar, aviso.strTitulo, aviso.blnTraducir);
    p.strInstruccion = Texto(avisar, aviso.strInstruccion, aviso.blnTraducir);
    if (aviso.blnDescripcionEnInstruccion) p.strInstruccion += strDescripcion;
    switch (aviso.contenido) {
        case Contenido::Fijo: p.strContenido = Texto(avisar, aviso.strContenido, aviso.blnTraducir); break;
        case Contenido::Descripcion: p.strContenido = strDescripcion; break;
        case Contenido::DetectadoEnClase:
            p.strContenido = Texto(avisar, "Detectado en la clase: ", aviso.blnTraducir) + avisar.strNombre;
            break;
    }
    p.numIcono = aviso.numIcono;
    return p;
}

}  // namespace

void Avisador::operator()(const Aviso& aviso, const std::string& strDescripcion) const {
    MostrarDialogoMensaje(Parametros(*this, aviso, strDescripcion));
}

int32_t Avisador::Preguntar(const Aviso& aviso) const {
    ParametrosDialogo p = Parametros(*this, aviso, {});
    p.numBoton1 = BotonSi;
    p.numBoton2 = BotonNo;
    return MostrarDialogoMensaje(p);  // the default stays 101: no button of the two
}

void Atender(const Reconocido& fila, const frame::Fallo& fallo, const Avisador& avisar, bool blnSilencio,
             const frame::AccionEnLinea<void()>& cancelarCambio) {
    if (fila.cambio == Cambio::CancelarAntes) cancelarCambio();
    if (!(fila.blnSilenciable && blnSilencio)) avisar(fila.aviso, fallo.strDescripcion);
    if (fila.cambio == Cambio::CancelarDespues) cancelarCambio();
}

ado::ConnectionPtr TomarConexion(const ado::RecordsetPtr& objRecordset) {
    ado::ConnectionPtr objConexion = frame::Establecido(objRecordset).ActiveConnection();
    if (objConexion) objConexion->Errors().Clear();
    return objConexion;
}

ado::EditModeEnum ModoEdicion(const ado::RecordsetPtr& objRecordset) {
    try {
        return objRecordset && objRecordset->State() == ado::adStateOpen ? objRecordset->EditMode()
                                                                        : ado::adEditNone;
    } catch (const ado::Error&) {
        return ado::adEditNone;  // no current record: nothing can be pending on it
    }
}

bool HayCambiosPendientes(ado::Recordset& objRecordset) {
    const ado::Variant varFiltro = objRecordset.Filter();
    const bool blnFinal = objRecordset.adoEOF() && !objRecordset.BOF();
    const bool blnMarca = !objRecordset.adoEOF() && !objRecordset.BOF() && objRecordset.Supports(ado::adBookmark);
    const ado::Variant varMarca = blnMarca ? objRecordset.Bookmark() : ado::Variant();
    objRecordset.Filter(ado::Variant(int32_t{ado::adFilterPendingRecords}));
    const bool blnPendientes = objRecordset.RecordCount() > 0;
    objRecordset.Filter(varFiltro);
    if (blnMarca) {
        objRecordset.Bookmark(varMarca);
    } else if (blnFinal && !objRecordset.adoEOF()) {
        objRecordset.MoveLast();
        objRecordset.MoveNext();
    }
    return blnPendientes;
}

void CancelarSiEnModo(const ado::RecordsetPtr& objRecordset, ado::EditModeEnum numModo) {
    if (ModoEdicion(objRecordset) == numModo) objRecordset->CancelUpdate();
}

int32_t UltimoErrorADO(const ado::ConnectionPtr& objConexion) {
    if (!objConexion) return 0;
    const ado::Errors& colErrores = objConexion->Errors();
    return colErrores.Count() > 0 ? colErrores.Item(colErrores.Count() - 1).Number() : 0;
}

}  // namespace quimera::avisos
