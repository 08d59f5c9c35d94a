// clsAccesoDatos::EjecutarConsulta: one logical query run on two kinds of engine. On Access
// the values bind to the parameters the engine reports; on the others they are written into
// the SQL text in place of bracketed placeholders, as literals of the connection's engine
// (quoted, apostrophes doubled, dates in the engine's form, numbers in SQL's), so that no
// value changes the meaning of the statement.
#include <vector>

#include "ado/ErrorNumbers.h"
#include "quimera/clsAccesoDatos.h"
#include "quimera/cursors/AvisosConsulta.h"
#include "quimera/cursors/MarcasParametro.h"
#include "quimera/frame/ErroresEjecucion.h"

namespace quimera {

namespace {

using consultas::Dialogo;

constexpr std::string_view kParameters = "PARAMETERS";

constexpr Dialogo kDialogos[] = {
    {ado::err::Fail, consultas::kErrorConsulta},
    {ado::err::OdbcCallFailed, consultas::kErrorConsulta},
    {ado::err::ItemNotFound,
     {"Error de procedimiento almacenado", "Error de procedimiento almacenado", avisos::Contenido::Fijo,
      "No se encuentra el procedimiento almacenado solicitado"}},
};
constexpr int32_t kSinInforme[] = {ado::err::Fail, ado::err::OdbcCallFailed, ado::err::ItemNotFound};

// Items of the parameter array: varParametros(item, i).
constexpr int32_t kItemNombre = 1, kItemValor = 2, kItemTipo = 3;

const ado::Variant& Elemento(const ado::Variant& varParametros, int32_t numItem, int32_t i) {
    return varParametros.AsArray().At({numItem, i});
}

// A command over the stored query of that name, or over the text with the type given.
void DefinirOrden(ado::Command& cmd, const std::string& strNombreConsulta, const std::string& strTexto,
                  bool blnProcedimiento, ado::CommandTypeEnum numTipoConsulta) {
    if (blnProcedimiento) {
        cmd.Name(strNombreConsulta);
        cmd.CommandText(strNombreConsulta);
        cmd.CommandType(ado::adCmdStoredProc);
    } else {
        cmd.CommandText(strTexto);
        cmd.CommandType(numTipoConsulta);
    }
}

// The Access way: each parameter the engine reports takes the value of the first item named
// as it is (with or without brackets); a parameter no item names is dropped.
void VincularParametros(ado::Command& cmd, const ado::Variant& varParametros, int32_t numParametros) {
    ado::Parameters& colParametros = cmd.Parameters();
    colParametros.Refresh();
    const std::vector<ado::ParameterPtr> declarados(colParametros.begin(), colParametros.end());
    for (const ado::ParameterPtr& parametro : declarados) {
        bool blnEncontrado = false;
        for (int32_t i = 1; i <= numParametros && !blnEncontrado; ++i) {
            const std::string strNombre = Elemento(varParametros, kItemNombre, i).ToString();
            if (parametro->Name() != strNombre && parametro->Name() != "[" + strNombre + "]") continue;
            parametro->Value(Elemento(varParametros, kItemValor, i));
            blnEncontrado = true;
        }
        if (blnEncontrado) continue;
        for (int32_t k = 0; k < colParametros.Count(); ++k)
            if (colParametros.Item(k) == parametro) colParametros.Delete(k);
    }
}

}  // namespace

ado::RecordsetPtr clsAccesoDatos::EjecutarConsulta(const std::string& strNombreConsulta,
                                                   ado::ConnectionPtr& objBaseDatos, ado::Variant& varParametros,
                                                   const std::string& strSQL, ado::CommandTypeEnum numTipoConsulta,
                                                   int32_t numParametros, TipoOrigenDatos numTipoMotor) {
    ado::RecordsetPtr resultado;
    ado::CommandPtr cmd;
    std::string strTrabajo;
    bool blnSinDialogo = false;
    const bool blnProcedimiento = strSQL.empty();
    const avisos::Avisador avisar{objRegional_, Nombre()};
    frame::Procedimiento p(*this, "EjecutarConsulta", objBaseDatos);
    p.AlFallar([&](const frame::Fallo& f) {
        consultas::AjustarListaSinInforme(
            *this, objBaseDatos, f, kDialogos, kSinInforme,
            [&](ado::Errors& e) { Eventos().Emitir(&clsAccesoDatosEventos::ErroresADO, e); }, blnSinDialogo);
    });
    p.Reconocer(kDialogos, [&](const Dialogo& fila, const frame::Fallo&) {
        if (!blnSinDialogo) avisar(fila.aviso);
    });

    const auto ejecutar = [&] { resultado = cmd->Execute(nullptr, ado::Variant(), ado::adOptionUnspecified); };
    const auto conAccess = [&] {
        return p.paso([&] {
                   cmd = ado::Command::Create();
                   DefinirOrden(*cmd, strNombreConsulta, strSQL, blnProcedimiento, numTipoConsulta);
               })
            && p.paso([&] { cmd->ActiveConnection(objBaseDatos); })
            && p.paso([&] { if (numParametros > 0) VincularParametros(*cmd, varParametros, numParametros); })
            && p.paso(ejecutar);
    };
    const auto conTexto = [&] {
        return p.paso([&] {
                   // A Jet PARAMETERS declaration in front of the query is cut off; any other
                   // text is used as it is.
                   strTrabajo = strSQL;
                   if (numParametros > 0 && strSQL.compare(0, kParameters.size(), kParameters) == 0)
                       strTrabajo = ObjUtilidadTexto().ExtraerTexto(strSQL, "SELECT", utilidades::ModoDesdeToken)
                                        .ToString();
               })
            && p.paso([&] {
                   cmd = ado::Command::Create();
                   cmd->ActiveConnection(objBaseDatos);
               })
            && p.paso([&] {
                   std::vector<consultas::Marca> marcas;
                   for (int32_t i = 1; i <= numParametros; ++i)
                       marcas.push_back({Elemento(varParametros, kItemNombre, i).ToString(),
                                         Elemento(varParametros, kItemValor, i),
                                         Elemento(varParametros, kItemTipo, i).ToInt32()});
                   strTrabajo = consultas::SustituirMarcas(strTrabajo, marcas,
                                                           sql::DialectoDe(frame::Establecido(objBaseDatos)));
               })
            && p.paso([&] { DefinirOrden(*cmd, strNombreConsulta, strTrabajo, blnProcedimiento, numTipoConsulta); })
            && p.paso(ejecutar);
    };

    p.paso([&] { frame::Establecido(objBaseDatos).Errors().Clear(); })
        && (numTipoMotor == dnAccess ? conAccess() : conTexto())
        && p.paso([&] {
               if (objBaseDatos)
                   p.PublicarErroresADO(false);
               else
                   avisar(consultas::kConexionIncorrecta);
           });
    return resultado;
}

}  // namespace quimera
