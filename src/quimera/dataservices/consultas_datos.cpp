// Lookups and aggregates of clsDatosAvanzado: one SELECT built from the caller's table, field
// and criterion, a cursor opened through the inner clsAccesoDatos, its first record read or
// written, and the cursor let go.
#include "quimera/clsDatosAvanzado.h"
#include "quimera/frame/ErroresEjecucion.h"
#include "quimera/frame/Procedimiento.h"

namespace quimera {

std::string clsDatosAvanzado::Sentencia(std::string_view strCabeza, const std::string& strNombreTabla,
                                        const std::string& strCriterio) {
    std::string strSQL(strCabeza);
    strSQL += strNombreTabla;
    if (!strCriterio.empty()) strSQL += " WHERE " + strCriterio;
    objSQL_->Sentencia(strSQL);
    return objSQL_->Sentencia();
}

ado::RecordsetPtr clsDatosAvanzado::AbrirCursorDatos(CursorDatos numTipo, const std::string& strSQL,
                                                     ado::ConnectionPtr& objBaseDatos) {
    ado::CommandPtr sinOrden;
    if (numTipo == CursorDatos::SegunMotor) {
        const TipoOrigenDatos origen = objAccesoDatos_->OrigenDatos();
        numTipo = origen == dnSQLServer || origen == dnOracle ? CursorDatos::Dinamico : CursorDatos::Keyset;
    }
    switch (numTipo) {
        case CursorDatos::Lectura: return objAccesoDatos_->CrearCursorEstatico(strSQL, objBaseDatos, sinOrden, ado::adUseClient);
        case CursorDatos::Keyset:
            return objAccesoDatos_->CrearCursorKeyset(strSQL, objBaseDatos, sinOrden, ado::adLockPessimistic,
                                                      ado::adUseClient, ado::adCriteriaUpdCols);
        default:
            return objAccesoDatos_->CrearCursorDinamico(strSQL, objBaseDatos, sinOrden, ado::adLockPessimistic,
                                                        ado::adUseServer);
    }
}

namespace {

void LimpiarErrores(const ado::ConnectionPtr& objBaseDatos) {
    if (objBaseDatos) objBaseDatos->Errors().Clear();
}

}  // namespace

ado::Variant clsDatosAvanzado::ObtenerDato(const std::string& strNombreTabla, const std::string& strNombreCampo,
                                           ado::ConnectionPtr& objBaseDatos, const std::string& strCriterio) {
    ado::Variant resultado(ado::Variant::Null);
    ado::RecordsetPtr rs;
    std::string strSQL;
    frame::Procedimiento p(*this, "ObtenerDato", objBaseDatos);
    p.paso([&] { LimpiarErrores(objBaseDatos); })
        && p.paso([&] { strSQL = Sentencia("SELECT " + strNombreCampo + " FROM ", strNombreTabla, strCriterio); })
        && p.paso([&] { rs = AbrirCursorDatos(CursorDatos::Lectura, strSQL, objBaseDatos); })
        && p.paso([&] {
               if (!rs || rs->adoEOF()) return;
               resultado = rs->Fields()[strNombreCampo].Value();
               p.PublicarErroresADO(false);
           })
        && p.paso([&] { rs.reset(); });
    return resultado;
}

// How ActualizarDato and ReemplazarDato differ: what they select, the cursor they open and
// whether a cursor at its beginning refuses as well as one at its end.
struct clsDatosAvanzado::Escritura {
    std::string_view strMetodo;
    bool blnSoloCampo;  // "SELECT field" rather than "SELECT *"
    CursorDatos numCursor;
    bool blnExigirNoBOF;
};

bool clsDatosAvanzado::EscribirDato(const Escritura& escritura, const std::string& strNombreTabla,
                                    const std::string& strNombreCampo, ado::ConnectionPtr& objBaseDatos,
                                    const std::string& strCriterio, const ado::Variant& varValor) {
    bool resultado = false;
    ado::RecordsetPtr rs;
    std::string strSQL;
    frame::Procedimiento p(*this, escritura.strMetodo, objBaseDatos);
    const std::string strCabeza = escritura.blnSoloCampo ? "SELECT " + strNombreCampo + " FROM " : "SELECT * FROM ";
    p.paso([&] { LimpiarErrores(objBaseDatos); })
        && p.paso([&] { strSQL = Sentencia(strCabeza, strNombreTabla, strCriterio); })
        && p.paso([&] { rs = AbrirCursorDatos(escritura.numCursor, strSQL, objBaseDatos); })
        && p.paso([&] { return rs && !rs->adoEOF() && !(escritura.blnExigirNoBOF && rs->BOF()); })
        && p.paso([&] { rs->Fields()[strNombreCampo].Value(varValor); })
        && p.paso([&] { return objAccesoDatos_->Actualizar(rs, false); })
        && p.paso([&] { resultado = true; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    rs.reset();
    return resultado;
}

bool clsDatosAvanzado::ActualizarDato(const std::string& strNombreTabla, const std::string& strNombreCampo,
                                      ado::ConnectionPtr& objBaseDatos, const std::string& strCriterio,
                                      const ado::Variant& varValor) {
    static constexpr Escritura kActualizar{"ActualizarDato", false, CursorDatos::Keyset, true};
    return EscribirDato(kActualizar, strNombreTabla, strNombreCampo, objBaseDatos, strCriterio, varValor);
}

bool clsDatosAvanzado::ReemplazarDato(const std::string& strNombreTabla, const std::string& strNombreCampo,
                                      ado::ConnectionPtr& objBaseDatos, const std::string& strCriterio,
                                      const ado::Variant& varValor) {
    static constexpr Escritura kReemplazar{"ReemplazarDato", true, CursorDatos::SegunMotor, false};
    return EscribirDato(kReemplazar, strNombreTabla, strNombreCampo, objBaseDatos, strCriterio, varValor);
}

ado::RecordsetPtr clsDatosAvanzado::ObtenerRegistro(const std::string& strNombreTabla, ado::ConnectionPtr& objBaseDatos,
                                                    const std::string& strCriterio, bool blnEstatico) {
    ado::RecordsetPtr resultado;
    std::string strSQL;
    frame::Procedimiento p(*this, "ObtenerRegistro", objBaseDatos);
    p.paso([&] { LimpiarErrores(objBaseDatos); })
        && p.paso([&] { strSQL = Sentencia("SELECT * FROM ", strNombreTabla, strCriterio); })
        && p.paso([&] {
               resultado = AbrirCursorDatos(blnEstatico ? CursorDatos::Lectura : CursorDatos::SegunMotor, strSQL,
                                            objBaseDatos);
           })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

bool clsDatosAvanzado::ExisteRegistro(const std::string& strNombreTabla, ado::ConnectionPtr& objBaseDatos,
                                      const std::string& strCriterio) {
    bool resultado = false;
    ado::RecordsetPtr rs;
    std::string strSQL;
    frame::Procedimiento p(*this, "ExisteRegistro", objBaseDatos);
    p.paso([&] { LimpiarErrores(objBaseDatos); })
        && p.paso([&] { strSQL = Sentencia("SELECT * FROM ", strNombreTabla, strCriterio); })
        && p.paso([&] { rs = AbrirCursorDatos(CursorDatos::Lectura, strSQL, objBaseDatos); })
        && p.paso([&] {
               if (!rs || rs->adoEOF()) return;
               resultado = true;
               p.PublicarErroresADO(false);
           })
        && p.paso([&] { rs.reset(); });
    return resultado;
}

// One aggregate: its method, its function and the alias its value is read back under.
struct clsDatosAvanzado::Agregado {
    std::string_view strMetodo;
    std::string_view strFuncion;
    std::string_view strAlias;
};

namespace {

// The value an aggregate's cursor gives: Null without a cursor, the integer 0 without a row.
ado::Variant ValorAgregado(const ado::RecordsetPtr& rs, std::string_view strAlias) {
    if (!rs) return ado::Variant(ado::Variant::Null);
    if (rs->adoEOF()) return ado::Variant(int16_t{0});
    return rs->Fields()[strAlias].Value();
}

}  // namespace

ado::Variant clsDatosAvanzado::ObtenerAgregado(const Agregado& agregado, const std::string& strNombreTabla,
                                               const std::string& strNombreCampo, ado::ConnectionPtr& objBaseDatos,
                                               const std::string& strCondiciones) {
    ado::Variant resultado;  // Empty: a failure before the value was read leaves it so
    ado::RecordsetPtr rs;
    std::string strSQL;
    const std::string strCabeza = "SELECT " + std::string(agregado.strFuncion) + "(" + strNombreCampo + ") AS " +
                                  std::string(agregado.strAlias) + " FROM ";
    frame::Procedimiento p(*this, agregado.strMetodo, objBaseDatos);
    p.paso([&] { LimpiarErrores(objBaseDatos); })
        && p.paso([&] { strSQL = Sentencia(strCabeza, strNombreTabla, strCondiciones); })
        && p.paso([&] { rs = AbrirCursorDatos(CursorDatos::Lectura, strSQL, objBaseDatos); })
        && p.paso([&] { resultado = ValorAgregado(rs, agregado.strAlias); })
        && p.paso([&] { rs.reset(); })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

ado::Variant clsDatosAvanzado::ObtenerMaximo(const std::string& strNombreTabla, const std::string& strNombreCampo,
                                             ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones) {
    static constexpr Agregado kMaximo{"ObtenerMaximo", "MAX", "Maximo"};
    return ObtenerAgregado(kMaximo, strNombreTabla, strNombreCampo, objBaseDatos, strCondiciones);
}

ado::Variant clsDatosAvanzado::ObtenerMinimo(const std::string& strNombreTabla, const std::string& strNombreCampo,
                                             ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones) {
    static constexpr Agregado kMinimo{"ObtenerMinimo", "MIN", "Minimo"};
    return ObtenerAgregado(kMinimo, strNombreTabla, strNombreCampo, objBaseDatos, strCondiciones);
}

ado::Variant clsDatosAvanzado::ObtenerPromedio(const std::string& strNombreTabla, const std::string& strNombreCampo,
                                               ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones) {
    static constexpr Agregado kPromedio{"ObtenerPromedio", "AVG", "Promedio"};
    return ObtenerAgregado(kPromedio, strNombreTabla, strNombreCampo, objBaseDatos, strCondiciones);
}

ado::Variant clsDatosAvanzado::ObtenerTotal(const std::string& strNombreTabla, const std::string& strNombreCampo,
                                            ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones) {
    static constexpr Agregado kTotal{"ObtenerTotal", "SUM", "kTotal"};
    return ObtenerAgregado(kTotal, strNombreTabla, strNombreCampo, objBaseDatos, strCondiciones);
}

int32_t clsDatosAvanzado::ObtenerNumeroRegistros(const std::string& strNombreTabla, const std::string& strNombreCampo,
                                                 ado::ConnectionPtr& objBaseDatos, const std::string& strCondiciones) {
    int32_t resultado = 0;
    ado::RecordsetPtr rs;
    std::string strSQL;
    frame::Procedimiento p(*this, "ObtenerNumeroRegistros", objBaseDatos);
    p.paso([&] { LimpiarErrores(objBaseDatos); })
        && p.paso([&] {
               strSQL = Sentencia("SELECT COUNT(" + strNombreCampo + ") AS Registros FROM ", strNombreTabla,
                                  strCondiciones);
           })
        && p.paso([&] { rs = AbrirCursorDatos(CursorDatos::Lectura, strSQL, objBaseDatos); })
        && p.paso([&] { if (rs && !rs->adoEOF()) resultado = rs->Fields()["Registros"].Value().ToInt32(); })
        && p.paso([&] { rs.reset(); })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

}  // namespace quimera
