// clsAccesoDatos: position services over bookmarks: moving to one, narrowing to a list of them,
// and telling whether a move forwards or backwards would land on a record.
#include "ado/ErrorNumbers.h"
#include "quimera/clsAccesoDatos.h"
#include "quimera/editing/Avisos.h"
#include "quimera/frame/ErroresEjecucion.h"
#include "quimera/navigation/AvisosProveedor.h"

namespace quimera {

using namespace avisos;

namespace {

// The provider's answer to a bookmark that is not its own; the method then ends silently.
bool MarcadorNoValido(const ado::Error& e) {
    return e.Number() == ado::err::BadBookmark || e.Description() == "Marcador no válido.";
}

}  // namespace

bool clsAccesoDatos::SeleccionaRegistro(ado::RecordsetPtr& objRecordset, const ado::Variant& varMarcador) {
    bool resultado = false;
    ado::ConnectionPtr conn;
    frame::Procedimiento p(*this, "SeleccionaRegistro", conn);
    p.paso([&] {
        conn = frame::Establecido(objRecordset).ActiveConnection();
        if (conn) conn->Errors().Clear();
    }) && p.paso([&] { return !(objRecordset->adoEOF() && objRecordset->BOF()); })
        && p.paso([&] {
               try {
                   objRecordset->Bookmark(varMarcador);
               } catch (const ado::Error& e) {
                   if (MarcadorNoValido(e)) return false;
                   throw;
               }
               return true;
           })
        && p.paso([&] {
               p.PublicarErroresADO(false);
               resultado = true;
           });
    return resultado;
}

ado::RecordsetPtr clsAccesoDatos::SeleccionarRegistros(ado::RecordsetPtr objRecordset, ado::Variant& varMarcadores) {
    ado::RecordsetPtr resultado;
    ado::ConnectionPtr conn;
    frame::Procedimiento p(*this, "SeleccionarRegistros", conn);
    p.paso([&] {
        conn = frame::Establecido(objRecordset).ActiveConnection();
        if (conn) conn->Errors().Clear();
    }) && p.paso([&] { objRecordset->Filter(varMarcadores); })
        && p.paso([&] { resultado = objRecordset; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

bool clsAccesoDatos::Desplazable(std::string_view strMetodo, ado::RecordsetPtr& objRecordset, bool blnAdelante) {
    bool resultado = false;
    ado::Variant varMarcador;
    const Avisador avisar{objRegional_, Nombre()};
    frame::Procedimiento p(*this, strMetodo);
    p.paso([&] { return objRecordset != nullptr; })
        && p.paso([&] { return !(objRecordset->BOF() || objRecordset->adoEOF()); })
        && p.paso([&] {
               return blnAdelante || avisar.Exigir(objRecordset->Supports(ado::adMovePrevious), kSinDesplazamientoAtras);
           })
        && p.paso([&] {
               varMarcador = objRecordset->Bookmark();
               resultado = true;
               if (blnAdelante) {
                   objRecordset->MoveNext();
                   if (objRecordset->adoEOF()) resultado = false;
               } else {
                   objRecordset->MovePrevious();
                   if (objRecordset->BOF()) resultado = false;
               }
           })
        && p.paso([&] { objRecordset->Bookmark(varMarcador); });
    return resultado;
}

bool clsAccesoDatos::ControlDesplazamientoAdelante(ado::RecordsetPtr& objRecordset) {
    return Desplazable("ControlDesplazamientoAdelante", objRecordset, true);
}

bool clsAccesoDatos::ControlDesplazamientoAtras(ado::RecordsetPtr& objRecordset) {
    return Desplazable("ControlDesplazamientoAtras", objRecordset, false);
}

}  // namespace quimera
