// Counters of clsDatosAvanzado: the highest value plus one, the lowest free value, a dispenser
// record, and the shared table Contadores. Each raises ValidarContador with the value it is about to use; one
// attempt each, 0 on failure.
#include <algorithm>
#include <vector>

#include "ado/Enums.h"
#include "quimera/clsDatosAvanzado.h"
#include "quimera/frame/ErroresEjecucion.h"
#include "quimera/frame/Procedimiento.h"
#include "quimera/sql/LiteralSQL.h"

namespace quimera {

namespace {

void LimpiarErrores(const ado::ConnectionPtr& objBaseDatos) {
    if (objBaseDatos) objBaseDatos->Errors().Clear();
}

// A counted field's name as a text literal of the connection's dialect: a name with an
// apostrophe neither breaks nor changes the statement.
std::string NombreCitado(const ado::ConnectionPtr& objBaseDatos, const std::string& strNombreCampo) {
    return sql::LiteralSQL(sql::DialectoDe(frame::Establecido(objBaseDatos)), ado::Variant(strNombreCampo),
                           ado::adVarWChar);
}

}  // namespace

int32_t clsDatosAvanzado::HuecoMasBajo(ado::Recordset& objCursor, const std::string& strNombreCampo,
                                       int32_t numMaximo) {
    // One pass reads the values, one sort orders them: the first number they skip is the gap.
    std::vector<double> valores;
    ado::Field& campo = objCursor.Fields()[strNombreCampo];
    for (objCursor.MoveFirst(); !objCursor.adoEOF(); objCursor.MoveNext()) {
        const ado::Variant valor = campo.Value();
        if (!valor.IsNull()) valores.push_back(valor.ToDouble());
    }
    std::sort(valores.begin(), valores.end());
    int64_t numEsperado = 1;
    for (const double numValor : valores) {
        if (numEsperado > numMaximo || numValor > static_cast<double>(numEsperado)) break;
        if (numValor == static_cast<double>(numEsperado)) ++numEsperado;
    }
    return numEsperado > numMaximo ? frame::Sumar(numMaximo, 1) : static_cast<int32_t>(numEsperado);
}

int32_t clsDatosAvanzado::ObtenerContadorLibre(const std::string& strNombreTabla, const std::string& strNombreCampo,
                                               ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones) {
    int32_t resultado = 0;
    int32_t numMaximo = 0, numLibre = 0;
    ado::RecordsetPtr rs;
    frame::Procedimiento p(*this, "ObtenerContadorLibre", objBaseDatos);
    p.paso([&] { LimpiarErrores(objBaseDatos); })
        && p.paso([&] { numMaximo = ValorMaximo(strNombreTabla, strNombreCampo, objBaseDatos, strCondiciones); })
        && p.paso([&] {
               if (numMaximo >= 0) return true;
               resultado = 1;  // no cursor, no event, no publication
               return false;
           })
        && p.paso([&] {
               rs = AbrirCursorDatos(CursorDatos::Lectura,
                                     Sentencia("SELECT " + strNombreCampo + " FROM ", strNombreTabla, strCondiciones),
                                     objBaseDatos);
               objSQL_->Sentencia("");
               return rs != nullptr;
           })
        && p.paso([&] { numLibre = HuecoMasBajo(*rs, strNombreCampo, numMaximo); })
        && p.paso([&] { numLibre = AvisarContador(numMaximo, numLibre); })
        && p.paso([&] { resultado = numLibre; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

int32_t clsDatosAvanzado::AvisarContador(int32_t numAnterior, int32_t numNuevo) {
    Eventos().Emitir(&clsDatosAvanzadoEventos::ValidarContador, numAnterior, numNuevo);
    return numNuevo;
}

int32_t clsDatosAvanzado::ValorMaximo(const std::string& strNombreTabla, const std::string& strNombreCampo,
                                      ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones) {
    return ConvertirNuloNumerico(ObtenerMaximo(strNombreTabla, strNombreCampo, objBaseDatos, strCondiciones)).ToInt32();
}

int32_t clsDatosAvanzado::ObtenerContador(const std::string& strNombreTabla, const std::string& strNombreCampo,
                                          ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones,
                                          int32_t numInicioContador) {
    int32_t resultado = 0;
    int32_t numMaximo = 0, numNuevo = 0;
    frame::Procedimiento p(*this, "ObtenerContador", objBaseDatos);
    p.paso([&] { LimpiarErrores(objBaseDatos); })
        && p.paso([&] { numInicioContador = std::max(numInicioContador, 1); })
        && p.paso([&] { numMaximo = ValorMaximo(strNombreTabla, strNombreCampo, objBaseDatos, strCondiciones); })
        && p.paso([&] {
               if (numMaximo >= 0) return true;
               resultado = numInicioContador;  // no event, no publication
               return false;
           })
        && p.paso([&] { if (numMaximo == 0) numMaximo = numInicioContador - 1; })
        && p.paso([&] { numNuevo = frame::Sumar(numMaximo, 1); })
        && p.paso([&] { numNuevo = AvisarContador(numMaximo, numNuevo); })
        && p.paso([&] { resultado = numNuevo; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

int32_t clsDatosAvanzado::ObtenerContadorDispensador(const std::string& strNombreTabla,
                                                     const std::string& strNombreCampo,
                                                     ado::ConnectionPtr& objBaseDatos,
                                                     const std::string& strCondiciones) {
    int32_t resultado = 0;
    int32_t numActual = 0, numNuevo = 0;
    std::string strSQL;
    ado::RecordsetPtr rs;
    frame::Procedimiento p(*this, "ObtenerContadorDispensador", objBaseDatos);
    p.paso([&] { LimpiarErrores(objBaseDatos); })
        && p.paso([&] { strSQL = Sentencia("SELECT * FROM ", strNombreTabla, strCondiciones); })
        && p.paso([&] { rs = AbrirCursorDatos(CursorDatos::Keyset, strSQL, objBaseDatos); })
        && p.paso([&] { return rs && !rs->adoEOF(); })  // no dispenser: none is created
        && p.paso([&] { numActual = ConvertirNuloNumerico(rs->Fields()[strNombreCampo].Value()).ToInt32(); })
        && p.paso([&] { numNuevo = frame::Sumar(numActual, 1); })
        && p.paso([&] { numNuevo = AvisarContador(numActual, numNuevo); })
        && p.paso([&] { rs->Fields()[strNombreCampo].Value(ado::Variant(numNuevo)); })
        && p.paso([&] { return objAccesoDatos_->Actualizar(rs, false); })
        && p.paso([&] { resultado = numNuevo; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

int32_t clsDatosAvanzado::ObtenerContadorExterno(const std::string& strNombreTabla, const std::string& strNombreCampo,
                                                 ado::ConnectionPtr& objBaseDatos,
                                                 const std::string& strCondiciones) {
    int32_t resultado = 0;
    bool blnExiste = false;
    std::string strCampoCitado, strSQL;
    ado::RecordsetPtr rs;
    frame::Procedimiento p(*this, "ObtenerContadorExterno", objBaseDatos);
    p.paso([&] { LimpiarErrores(objBaseDatos); })
        && p.paso([&] { strCampoCitado = NombreCitado(objBaseDatos, strNombreCampo); })
        // Whether the counter exists, as ExisteRegistro tells it; but a lookup that failed (the
        // file busy with another user's save) is no answer: it must not add a second record.
        && p.paso([&] {
               ado::RecordsetPtr existe = AbrirCursorDatos(
                   CursorDatos::Lectura, Sentencia("SELECT * FROM ", "Contadores", "strcampo = " + strCampoCitado),
                   objBaseDatos);
               if (!existe) return false;
               blnExiste = !existe->adoEOF();
               return true;
           });
    if (p.Salido()) return resultado;

    if (blnExiste) {
        // The counter's record: advanced and saved before the event, which changes only the result.
        int32_t numAnterior = 0, numNuevo = 0;
        p.paso([&] { strSQL = Sentencia("SELECT * FROM ", "Contadores", "strCampo = " + strCampoCitado); })
            && p.paso([&] { rs = AbrirCursorDatos(CursorDatos::Keyset, strSQL, objBaseDatos); })
            && p.paso([&] { return rs && !rs->adoEOF() && !rs->BOF(); })
            && p.paso([&] {
                   ado::Field& contador = rs->Fields()["numContador"];
                   const ado::Variant valor = contador.Value();
                   if (!valor.IsNull()) numAnterior = valor.ToInt32();
                   // A Null stays Null, and reading it back fails below.
                   contador.Value(valor.IsNull() ? valor : ado::Variant(frame::Sumar(numAnterior, 1)));
               })
            && p.paso([&] { return objAccesoDatos_->Actualizar(rs, false); })
            && p.paso([&] { numNuevo = rs->Fields()["numContador"].Value().ToInt32(); })
            && p.paso([&] { numNuevo = AvisarContador(numAnterior, numNuevo); })
            && p.paso([&] { resultado = numNuevo; });
        return resultado;
    }

    // A new counter, from the highest value of the counted field.
    int32_t numMaximo = 0, numNuevo = 0, numId = 0;
    p.paso([&] { numMaximo = ValorMaximo(strNombreTabla, strNombreCampo, objBaseDatos, strCondiciones); })
        && p.paso([&] {
               if (numMaximo < 0) {
                   numNuevo = 1;
                   return;
               }
               numNuevo = frame::Sumar(numMaximo, 1);
               numNuevo = AvisarContador(numMaximo, numNuevo);
           })
        && p.paso([&] { strSQL = Sentencia("SELECT * FROM ", "Contadores", ""); })
        && p.paso([&] { rs = AbrirCursorDatos(CursorDatos::Keyset, strSQL, objBaseDatos); })
        && p.paso([&] { return objAccesoDatos_->Agregar(rs); })
        && p.paso([&] { numId = ObtenerContadorLibre("Contadores", "numIdContador", objBaseDatos, ""); })
        && p.paso([&] { rs->Fields()["numIdContador"].Value(ado::Variant(numId)); })
        && p.paso([&] { rs->Fields()["strCampo"].Value(ado::Variant(strNombreCampo)); })
        && p.paso([&] { rs->Fields()["numContador"].Value(ado::Variant(numNuevo)); })
        && p.paso([&] { if (objAccesoDatos_->Actualizar(rs, false)) resultado = numNuevo; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

}  // namespace quimera
