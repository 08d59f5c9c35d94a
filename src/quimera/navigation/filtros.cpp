// clsAccesoDatos: filters, field indexes ("Optimize") and temporary indexes (Sort) of a
// recordset in memory. Every member clears the connection's errors, acts, and publishes the
// ADO errors left; the index members do all of it only on a client-side recordset.
#include "quimera/clsAccesoDatos.h"
#include "quimera/frame/ErroresEjecucion.h"
#include "quimera/frame/Procedimiento.h"

namespace quimera {

namespace {

bool EnCliente(const ado::RecordsetPtr& objRecordset) {
    return frame::Establecido(objRecordset).CursorLocation() != ado::adUseServer;
}

// The sort string: the fields up to the first empty one, joined by ",", and one direction
// word after the last.
std::string CadenaOrden(const std::string& strNombreCampo1, const std::string& strNombreCampo2,
                        const std::string& strNombreCampo3, const std::string& strNombreCampo4, bool blnAscendente) {
    std::string strOrden = strNombreCampo1;
    for (const std::string* campo : {&strNombreCampo2, &strNombreCampo3, &strNombreCampo4}) {
        if (campo->empty()) break;
        strOrden += "," + *campo;
    }
    return strOrden + (blnAscendente ? " ASCENDING" : " DESCENDING");
}

}  // namespace

bool clsAccesoDatos::AccionRecordset(std::string_view strMetodo, const ado::RecordsetPtr& objRecordset, bool blnSoloCliente,
                                     const std::function<void()>& accion) {
    bool resultado = false;
    ado::ConnectionPtr conn;
    frame::Procedimiento p(*this, strMetodo, conn);
    p.paso([&] { return !blnSoloCliente || EnCliente(objRecordset); })
        && p.paso([&] {
               conn = frame::Establecido(objRecordset).ActiveConnection();
               if (conn) conn->Errors().Clear();
           })
        && p.paso([&] { accion(); })
        && p.paso([&] { resultado = true; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

ado::RecordsetPtr clsAccesoDatos::AplicarFiltro(ado::RecordsetPtr objRecordset, const std::string& strCriterio) {
    const bool hecho = AccionRecordset("AplicarFiltro", objRecordset, false,
                                       [&] { objRecordset->Filter(ado::Variant(strCriterio)); });
    return hecho ? objRecordset : nullptr;
}

ado::RecordsetPtr clsAccesoDatos::QuitarFiltro(ado::RecordsetPtr objRecordset) {
    const bool hecho = AccionRecordset("QuitarFiltro", objRecordset, false,
                                       [&] { objRecordset->Filter(ado::Variant(int32_t{ado::adFilterNone})); });
    return hecho ? objRecordset : nullptr;
}

bool clsAccesoDatos::FiltroDirecto(ado::RecordsetPtr& objRecordset, const std::string& strCriterio) {
    return AccionRecordset("FiltroDirecto", objRecordset, false,
                           [&] { objRecordset->Filter(ado::Variant(strCriterio)); });
}

void clsAccesoDatos::OptimizarCampo(ado::RecordsetPtr& objRecordset, const std::string& strNombreCampo) {
    AccionRecordset("OptimizarCampo", objRecordset, true, [&] {
        objRecordset->Fields()[strNombreCampo].Properties().Item("Optimize").Value(ado::Variant(true));
    });
}

void clsAccesoDatos::DesoptimizarCampo(ado::RecordsetPtr& objRecordset, const std::string& strNombreCampo) {
    AccionRecordset("DesoptimizarCampo", objRecordset, true, [&] {
        objRecordset->Fields()[strNombreCampo].Properties().Item("Optimize").Value(ado::Variant(false));
    });
}

void clsAccesoDatos::CrearIndiceTemporal(ado::RecordsetPtr& objRecordset, const std::string& strNombreCampo1,
                                         const std::string& strNombreCampo2, const std::string& strNombreCampo3,
                                         const std::string& strNombreCampo4, bool blnAscendente) {
    AccionRecordset("CrearIndiceTemporal", objRecordset, true, [&] {
        objRecordset->Sort("");
        objRecordset->Sort(
            CadenaOrden(strNombreCampo1, strNombreCampo2, strNombreCampo3, strNombreCampo4, blnAscendente));
    });
}

void clsAccesoDatos::BorrarIndicesTemporales(ado::RecordsetPtr& objRecordset) {
    AccionRecordset("BorrarIndicesTemporales", objRecordset, true, [&] { objRecordset->Sort(""); });
}

}  // namespace quimera
