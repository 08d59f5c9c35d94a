// clsDatosAvanzado: the current bookmark of a recordset, or Null where it stands on no record.
#include "quimera/clsDatosAvanzado.h"
#include "quimera/frame/ErroresEjecucion.h"
#include "quimera/frame/Procedimiento.h"
#include "quimera/navigation/AvisosProveedor.h"

namespace quimera {

ado::Variant clsDatosAvanzado::ObtenerPosicion(ado::RecordsetPtr& objRecordset) {
    ado::Variant resultado(ado::Variant::Null);
    ado::ConnectionPtr conn;
    const avisos::Avisador avisar{objRegional_, Nombre()};
    frame::Procedimiento p(*this, "ObtenerPosicion", conn);
    p.paso([&] { return objRecordset != nullptr; })
        && p.paso([&] {
               conn = objRecordset->ActiveConnection();
               if (conn) conn->Errors().Clear();
           })
        && p.paso([&] { return avisar.Exigir(objRecordset->Supports(ado::adBookmark), avisos::kSinMarcadores); })
        && p.paso([&] {
               if (!objRecordset->adoEOF() && !objRecordset->BOF()) resultado = objRecordset->Bookmark();
           })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

}  // namespace quimera
