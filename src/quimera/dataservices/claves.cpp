// Keys and deletion of clsDatosAvanzado: the key field of a recordset or a table, and the
// deletion of the current record of a recordset, through a second cursor when it joins tables.
// None of these members looks for ADO errors: every failure goes to the error manager.
#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "quimera/clsDatosAvanzado.h"
#include "quimera/frame/ErroresEjecucion.h"
#include "quimera/frame/Procedimiento.h"
#include "quimera/sql/LiteralSQL.h"

namespace quimera {

namespace {

// Where the client cursor keeps KEYCOLUMN among a field's dynamic properties.
constexpr int32_t kPropiedadClave = 4;

bool EsClave(ado::Field& campo) {
    const ado::Variant& valor = campo.Properties().Item(kPropiedadClave).Value();
    return valor.Type() == ado::VariantType::Bool && valor.AsBool();
}

std::string TextoPropiedad(ado::Field& campo, std::string_view strNombre) {
    const ado::Variant& valor = campo.Properties().Item(strNombre).Value();
    return valor.IsText() ? valor.AsString() : std::string();
}

// A table name as the engine reports it: without Access's brackets, compared without case.
bool MismaTabla(std::string_view strBase, std::string_view strNombreTabla) {
    if (strNombreTabla.size() >= 2 && strNombreTabla.front() == '[' && strNombreTabla.back() == ']')
        strNombreTabla = strNombreTabla.substr(1, strNombreTabla.size() - 2);
    return strBase.size() == strNombreTabla.size() &&
           std::equal(strBase.begin(), strBase.end(), strNombreTabla.begin(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) ==
                                                  std::tolower(static_cast<unsigned char>(b)); });
}

// "column = literal AND ..." over every key column of strNombreTabla in the current record,
// each value written as a literal of the connection's dialect; nothing when there is no such
// column or one holds Null (no row could be told apart by it).
std::optional<std::string> CondicionClave(ado::Recordset& objRecordset, std::string_view strNombreTabla,
                                          sql::DialectoSQL dialecto) {
    std::string condicion;
    for (ado::Field& campo : objRecordset.Fields()) {
        if (!EsClave(campo) || !MismaTabla(TextoPropiedad(campo, "BASETABLENAME"), strNombreTabla)) continue;
        const ado::Variant valor = campo.Value();
        if (valor.IsNull() || valor.IsEmpty()) return std::nullopt;
        std::string columna = TextoPropiedad(campo, "BASECOLUMNNAME");
        if (columna.empty()) columna = campo.Name();
        if (!condicion.empty()) condicion += " AND ";
        condicion += columna + " = " + sql::LiteralSQL(dialecto, valor, campo.Type());
    }
    if (condicion.empty()) return std::nullopt;
    return condicion;
}

}  // namespace

std::string clsDatosAvanzado::ObtenerCampoClave(ado::RecordsetPtr& objRecordset) {
    std::string resultado;
    frame::Procedimiento p(*this, "ObtenerCampoClave");
    p.paso([&] { return objRecordset != nullptr; })
        && p.paso([&] {
               ado::Fields& campos = objRecordset->Fields();
               for (int32_t i = 0; i < campos.Count(); ++i) {
                   if (!EsClave(campos[i])) continue;
                   resultado = campos[i].Name();
                   return;
               }
           });
    return resultado;
}

std::string clsDatosAvanzado::ObtenerCampoClaveTabla(const std::string& strNombreTabla,
                                                     ado::ConnectionPtr& objConexion) {
    std::string resultado;
    std::string strSQL;
    ado::RecordsetPtr rs;
    ado::CommandPtr sinOrden;
    frame::Procedimiento p(*this, "ObtenerCampoClaveTabla");
    p.paso([&] { strSQL = Sentencia("SELECT TOP 1 * FROM ", strNombreTabla, ""); })
        && p.paso([&] {
               rs = objAccesoDatos_->CrearCursorDinamico(strSQL, objConexion, sinOrden, ado::adLockPessimistic,
                                                         ado::adUseClient);
           })
        && p.paso([&] { resultado = ObtenerCampoClave(rs); });
    return resultado;
}

bool clsDatosAvanzado::BorradoSelectivo(ado::RecordsetPtr& objRecordset, const std::string& strNombreTabla,
                                        const std::string& strSQL, bool blnPreguntar) {
    bool resultado = false;
    std::unique_ptr<utilidades::UtilidadTexto> utilidad;
    frame::Procedimiento p(*this, "BorradoSelectivo");
    p.paso([&] { utilidad = utilidades::CrearUtilidadTexto(); })
        && p.paso([&] {
               if (utilidad->ExtraerTexto(strSQL, "JOIN", utilidades::ModoContiene).ToBool())
                   resultado = BorrarComplejo(objRecordset, strNombreTabla, blnPreguntar);
               else
                   resultado = objAccesoDatos_->Borrar(objRecordset, blnPreguntar, true);
           });
    return resultado;
}

bool clsDatosAvanzado::BorrarComplejo(ado::RecordsetPtr& objRecordset, const std::string& strNombreTabla,
                                      bool blnPreguntar) {
    bool resultado = false;
    ado::ConnectionPtr cn;
    std::optional<std::string> condicion;
    std::string strSQL;
    ado::RecordsetPtr rs;
    ado::CommandPtr sinOrden;
    frame::Procedimiento p(*this, "BorrarComplejo");
    p.paso([&] { return !ObtenerCampoClave(objRecordset).empty(); })
        && p.paso([&] { cn = frame::Establecido(objRecordset).ActiveConnection(); })
        && p.paso([&] {
               condicion = CondicionClave(*objRecordset, strNombreTabla, sql::DialectoDe(frame::Establecido(cn)));
               return condicion.has_value();
           })
        && p.paso([&] { strSQL = Sentencia("SELECT * FROM ", strNombreTabla, *condicion); })
        && p.paso([&] {
               rs = objAccesoDatos_->CrearCursorKeyset(strSQL, cn, sinOrden, ado::adLockPessimistic, ado::adUseClient,
                                                       ado::adCriteriaUpdCols);
           })
        // The key must tell one row apart: none, or several, and nothing is deleted.
        && p.paso([&] { return rs && rs->RecordCount() == 1; })
        && p.paso([&] { resultado = objAccesoDatos_->Borrar(rs, blnPreguntar, true); });
    return resultado;
}

}  // namespace quimera
