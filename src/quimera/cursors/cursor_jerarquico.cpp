// CrearCursorJerarquico: the SHAPE command of two or three levels written from the client's
// statements, aliases and link fields, and opened by one of the cursor members.
#include <string>

#include "quimera/clsAccesoDatos.h"
#include "quimera/frame/Procedimiento.h"

namespace quimera {

namespace {

constexpr const char* kSeparadorCampos = ", ";

// "parent TO child", or for link lists "p1 TO c1, p2 TO c2" split at the first ", " of each;
// only the parent list decides whether there are two.
std::string ClausulaRelacion(const utilidades::UtilidadTexto& utilidad, const std::string& strPadre,
                             const std::string& strHijo) {
    if (!utilidad.ExtraerTexto(strPadre, kSeparadorCampos, utilidades::ModoContiene).ToBool())
        return strPadre + " TO " + strHijo;
    auto antes = [&](const std::string& s) {
        return utilidad.ExtraerTexto(s, kSeparadorCampos, utilidades::ModoAntesToken).ToString();
    };
    auto tras = [&](const std::string& s) {
        return utilidad.ExtraerTexto(s, kSeparadorCampos, utilidades::ModoTrasToken).ToString();
    };
    return antes(strPadre) + " TO " + antes(strHijo) + kSeparadorCampos + tras(strPadre) + " TO " + tras(strHijo);
}

}  // namespace

ado::RecordsetPtr clsAccesoDatos::CrearCursorJerarquico(
    const std::string& strSQLPrincipal, const std::string& strAliasPrimario, const std::string& strCampoEnlacePrimario1,
    const std::string& strSQLSecundario, const std::string& strAliasSecundario,
    const std::string& strCampoEnlacePrimario2, ado::ConnectionPtr& objBaseDatosJerarquica, TipoCursor numTipoCursor,
    const std::string& strSQLTerciario, const std::string& strAliasTerciario,
    const std::string& strCampoEnlaceSecundario1, const std::string& strCampoEnlaceSecundario2,
    std::string& strSentenciaJerarquica) {
    ado::RecordsetPtr resultado;
    std::string R1, R2;
    frame::Procedimiento p(*this, "CrearCursorJerarquico", objBaseDatosJerarquica);
    p.paso([&] { R1 = ClausulaRelacion(ObjUtilidadTexto(), strCampoEnlacePrimario1, strCampoEnlacePrimario2); })
        && p.paso([&] {
               R2 = strCampoEnlaceSecundario1.empty()
                        ? std::string()
                        : ClausulaRelacion(ObjUtilidadTexto(), strCampoEnlaceSecundario1, strCampoEnlaceSecundario2);
           })
        && p.paso([&] { strSentenciaJerarquica = "SHAPE {" + strSQLPrincipal + "} AS " + strAliasPrimario; })
        && p.paso([&] {
               if (!strSQLTerciario.empty())
                   strSentenciaJerarquica += " APPEND (( SHAPE {" + strSQLSecundario + "} AS " + strAliasSecundario +
                                             " APPEND ({" + strSQLTerciario + "} AS " + strAliasTerciario +
                                             " RELATE " + R2 + ") AS " + strAliasTerciario + ") AS " +
                                             strAliasSecundario + " RELATE " + R1 + ") AS " + strAliasSecundario;
               else
                   strSentenciaJerarquica += " APPEND ({" + strSQLSecundario + "} AS " + strAliasSecundario +
                                             " RELATE " + R1 + ") AS " + strAliasSecundario;
           })
        && p.paso([&] {
               // A command made for the call and dropped afterwards.
               ado::CommandPtr objOrden;
               switch (numTipoCursor) {
                   case dnEstatico:
                       resultado = CrearCursorEstatico(strSentenciaJerarquica, objBaseDatosJerarquica, objOrden,
                                                       ado::adUseClient);
                       break;
                   case dnClaves:
                       resultado = CrearCursorKeyset(strSentenciaJerarquica, objBaseDatosJerarquica, objOrden,
                                                     ado::adLockPessimistic, ado::adUseClient, ado::adCriteriaUpdCols);
                       break;
                   case dnDinamico:
                       resultado = CrearCursorDinamico(strSentenciaJerarquica, objBaseDatosJerarquica, objOrden,
                                                       ado::adLockPessimistic, ado::adUseClient);
                       break;
                   case dnInspeccion:
                       resultado = CrearCursorInspeccion(strSentenciaJerarquica, objBaseDatosJerarquica, objOrden,
                                                         ado::adUseClient);
                       break;
                   default:
                       break;  // nothing opened; the command text is the client's all the same
               }
           });
    return resultado;
}

ado::RecordsetPtr clsAccesoDatos::CrearCursorJerarquico(
    const std::string& strSQLPrincipal, const std::string& strAliasPrimario, const std::string& strCampoEnlacePrimario1,
    const std::string& strSQLSecundario, const std::string& strAliasSecundario,
    const std::string& strCampoEnlacePrimario2, ado::ConnectionPtr& objBaseDatosJerarquica, TipoCursor numTipoCursor,
    const std::string& strSQLTerciario, const std::string& strAliasTerciario,
    const std::string& strCampoEnlaceSecundario1, const std::string& strCampoEnlaceSecundario2) {
    std::string strSentenciaJerarquica;
    return CrearCursorJerarquico(strSQLPrincipal, strAliasPrimario, strCampoEnlacePrimario1, strSQLSecundario,
                                 strAliasSecundario, strCampoEnlacePrimario2, objBaseDatosJerarquica, numTipoCursor,
                                 strSQLTerciario, strAliasTerciario, strCampoEnlaceSecundario1,
                                 strCampoEnlaceSecundario2, strSentenciaJerarquica);
}

}  // namespace quimera
