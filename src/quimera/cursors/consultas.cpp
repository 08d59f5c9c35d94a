// Commands of clsAccesoDatos: built from SQL text or a stored query's name, a parameter
// changed, and a command read into a recordset.
#include "ado/ErrorNumbers.h"
#include "quimera/clsAccesoDatos.h"
#include "quimera/cursors/AvisosConsulta.h"
#include "quimera/frame/ErroresEjecucion.h"

namespace quimera {

namespace {

using consultas::Dialogo;

constexpr Dialogo kDialogosAbrir[] = {
    {ado::err::Fail, consultas::kErrorConsulta},
    {ado::err::OdbcCallFailed, consultas::kErrorConsulta},
    {ado::err::ItemNotFound,
     {.strTitulo = "Error de proveedor", .strInstruccion = "Error de proveedor",
      .strContenido = "No se encuentra el procedimiento almacenado solicitado", .numIcono = IconoError,
      .blnTraducir = true}},
};
constexpr int32_t kSinInformeAbrir[] = {ado::err::Fail, ado::err::OdbcCallFailed, ado::err::ProviderNotFound};

// Errors of the connection, when it is set, cleared before the work.
void LimpiarErrores(const ado::ConnectionPtr& objConexion) {
    if (objConexion) objConexion->Errors().Clear();
}

}  // namespace

ado::CommandPtr clsAccesoDatos::CrearConsulta(const std::string& strSQL, ado::ConnectionPtr& objBaseDatos,
                                              const std::string& strNombreConsulta) {
    ado::CommandPtr resultado, cmd;
    frame::Procedimiento p(*this, "CrearConsulta", objBaseDatos);
    p.paso([&] { LimpiarErrores(objBaseDatos); })
        && p.paso([&] {
               cmd = ado::Command::Create();
               cmd->ActiveConnection(objBaseDatos);
               cmd->CommandText(strSQL);
               cmd->CommandType(ado::adCmdText);
           })
        && p.paso([&] {
               if (strNombreConsulta.empty()) return;
               cmd->Name(strNombreConsulta);
               cmd->Prepared(true);
           })
        && p.paso([&] { resultado = cmd; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

ado::CommandPtr clsAccesoDatos::AbrirConsulta(const std::string& strNombreConsulta, ado::ConnectionPtr& objBaseDatos) {
    ado::CommandPtr resultado, cmd;
    bool blnSinDialogo = false;
    const avisos::Avisador avisar{objRegional_, Nombre()};
    frame::Procedimiento p(*this, "AbrirConsulta", objBaseDatos);
    p.AlFallar([&](const frame::Fallo& f) {
        consultas::AjustarListaSinInforme(
            *this, objBaseDatos, f, kDialogosAbrir, kSinInformeAbrir,
            [&](ado::Errors& e) { Eventos().Emitir(&clsAccesoDatosEventos::ErroresADO, e); }, blnSinDialogo);
    });
    p.Reconocer(kDialogosAbrir, [&](const Dialogo& fila, const frame::Fallo&) {
        if (!blnSinDialogo) avisar(fila.aviso);
    });

    p.paso([&] { frame::Establecido(objBaseDatos).Errors().Clear(); })
        && p.paso([&] {
               cmd = ado::Command::Create();
               cmd->Name(strNombreConsulta);
               cmd->CommandText(strNombreConsulta);
               cmd->CommandType(ado::adCmdStoredProc);
               cmd->ActiveConnection(objBaseDatos);
           })
        && p.paso([&] { resultado = cmd; })
        && p.paso([&] {
               if (objBaseDatos)
                   p.PublicarErroresADO(false);
               else
                   avisar(consultas::kConexionIncorrecta);
           });
    return resultado;
}

ado::RecordsetPtr clsAccesoDatos::LeerConsultaDinamica(ado::CommandPtr& objConsulta) {
    ado::RecordsetPtr resultado;
    ado::ConnectionPtr cn;
    frame::Procedimiento p(*this, "LeerConsultaDinamica", cn);
    p.paso([&] {
        cn = frame::Establecido(objConsulta).ActiveConnection();
        LimpiarErrores(cn);
    })
        && p.paso([&] {
               ado::ConnectionPtr objSinConexion;
               resultado = CrearCursorKeyset("", objSinConexion, objConsulta);
               if (!resultado) resultado = ado::Recordset::Create();
           })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

ado::RecordsetPtr clsAccesoDatos::LeerConsultaEstatica(ado::CommandPtr& objConsulta) {
    ado::RecordsetPtr resultado, rs;
    ado::ConnectionPtr cn;
    frame::Procedimiento p(*this, "LeerConsultaEstatica", cn);
    p.paso([&] {
        rs = ado::Recordset::Create();
        rs->CursorType(ado::adOpenStatic);
        if (AutomatizarLocCursor()) rs->CursorLocation(ado::adUseClient);
    })
        && p.paso([&] {
               cn = frame::Establecido(objConsulta).ActiveConnection();
               LimpiarErrores(cn);
           })
        // Opened into the recordset prepared above, so that its settings govern the cursor.
        && p.paso([&] {
               rs->Source(objConsulta);
               rs->Open();
           })
        && p.paso([&] { resultado = rs; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

void clsAccesoDatos::ModificarParametro(ado::CommandPtr& objConsulta, const std::string& strNombreParametro,
                                        const ado::Variant& varNuevoValor) {
    ado::ConnectionPtr cn;
    frame::Procedimiento p(*this, "ModificarParametro", cn);
    p.paso([&] {
        cn = frame::Establecido(objConsulta).ActiveConnection();
        LimpiarErrores(cn);
    })
        && p.paso([&] { objConsulta->Parameters().Item(strNombreParametro)->Value(varNuevoValor); })
        && p.paso([&] { p.PublicarErroresADO(false); });
}

}  // namespace quimera
