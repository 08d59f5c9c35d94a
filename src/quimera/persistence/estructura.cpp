// clsAccesoDatos: whether a recordset is open, closing it, and the fields of a recordset
// without connection.
#include "quimera/clsAccesoDatos.h"
#include "quimera/frame/ErroresEjecucion.h"
#include "quimera/frame/Procedimiento.h"

namespace quimera {

namespace {

// The recordset's connection, its ADO errors cleared; null when it has none.
ado::ConnectionPtr ConexionLimpia(const ado::RecordsetPtr& objRecordset) {
    ado::ConnectionPtr cn = objRecordset->ActiveConnection();
    if (cn) cn->Errors().Clear();
    return cn;
}

}  // namespace

bool clsAccesoDatos::RecordsetEstaAbierto(ado::RecordsetPtr& objRecordset) {
    bool resultado = false;
    ado::ConnectionPtr cn;
    frame::Procedimiento p(*this, "RecordsetEstaAbierto", cn);
    p.paso([&] { return objRecordset != nullptr; })
        && p.paso([&] { cn = ConexionLimpia(objRecordset); })
        && p.paso([&] { return objRecordset->State() != ado::adStateClosed; })
        && p.paso([&] { resultado = true; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

bool clsAccesoDatos::CerrarRecordset(ado::RecordsetPtr& objRecordset, bool blnEliminar) {
    bool resultado = false;
    ado::ConnectionPtr cn;
    frame::Procedimiento p(*this, "CerrarRecordset", cn);
    p.paso([&] { return objRecordset != nullptr; })
        && p.paso([&] { cn = ConexionLimpia(objRecordset); })
        && p.paso([&] {
               if (RecordsetEstaAbierto(objRecordset)) objRecordset->Close();
           })
        && p.paso([&] {
               if (blnEliminar) objRecordset = nullptr;
               resultado = true;
           })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

ado::FieldPtr clsAccesoDatos::AgregarCampo(ado::RecordsetPtr& objRecordset, const std::string& strNombreCampo,
                                           ado::DataTypeEnum numTipo, std::optional<int32_t> numTamano,
                                           int32_t numAtributos) {
    ado::FieldPtr resultado;
    ado::FieldPtr campo;
    frame::Procedimiento p(*this, "AgregarCampo");
    p.paso([&] { return objRecordset && !objRecordset->ActiveConnection(); })
        && p.paso([&] { objRecordset->Fields().Append(strNombreCampo, numTipo, 0, ado::adFldUnspecified, ado::Variant()); })
        && p.paso([&] { campo = objRecordset->Fields().Item(strNombreCampo); })
        && p.paso([&] {
               if (numTamano) campo->DefinedSize(*numTamano);
           })
        && p.paso([&] { campo->Attributes(numAtributos); })
        && p.paso([&] { resultado = campo; });
    return resultado;
}

bool clsAccesoDatos::QuitarCampo(ado::RecordsetPtr& objRecordset, const std::string& strNombreCampo) {
    bool resultado = false;
    frame::Procedimiento p(*this, "QuitarCampo");
    p.paso([&] { return objRecordset && !objRecordset->ActiveConnection(); })
        && p.paso([&] { objRecordset->Fields().Delete(strNombreCampo); })
        && p.paso([&] { resultado = true; });
    return resultado;
}

}  // namespace quimera
