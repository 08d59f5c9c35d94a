// clsSQL: the statement and its clauses. Setting the statement takes it apart from its end
// towards its beginning; setting a clause puts the statement together again. Every change of
// the statement is offered first through CambiaSentencia, which may rewrite or cancel it.
#include <iterator>
#include <memory>
#include <string_view>

#include "quimera/clsSQL.h"
#include "quimera/frame/Procedimiento.h"
#include "quimera/sql/BuscadorSQL.h"

namespace quimera {

namespace {

// The keyword of each clause, in the order the clauses are written.
constexpr std::string_view kPalabrasClausula[] = {"SELECT", "FROM", "WHERE", "GROUP BY", "ORDER BY"};
constexpr std::string_view kPalabraParametros = "PARAMETERS";

std::string QuitarEspacios(const std::string& strTexto) {
    const size_t primero = strTexto.find_first_not_of(' ');
    if (primero == std::string::npos) return {};
    return strTexto.substr(primero, strTexto.find_last_not_of(' ') - primero + 1);
}

// Cuts the first keyword found at the statement's own level from the end part of resto:
// the trimmed text after it goes to strCampo, resto keeps the text before it, untrimmed.
void Separar(const sql::BuscadorSQL& buscador, std::string& resto, std::string_view strPalabra,
             const std::vector<sql::Tramo>& tramos, std::string& strCampo) {
    const size_t posicion = sql::BuscarFuera(buscador, resto, std::string(strPalabra), tramos);
    if (posicion == sql::npos) {
        strCampo.clear();
        return;
    }
    strCampo = QuitarEspacios(resto.substr(posicion + strPalabra.size()));
    resto.resize(posicion);
}

// What makes the declarations end with "; ".
std::string_view CierreParametros(const std::string& strParametros) {
    if (strParametros.ends_with("; ")) return "";
    if (strParametros.ends_with(";")) return " ";
    return "; ";
}

}  // namespace

void clsSQL::Sentencia(const std::string& strNuevaSentencia) {
    const std::string strAnterior = strSentencia_;
    std::string strNueva = strNuevaSentencia;
    bool blnCancelar = false;
    Eventos().Emitir(&clsSQLEventos::CambiaSentencia, strAnterior, strNueva, blnCancelar);
    if (blnCancelar) return;
    if (strNueva.empty()) {
        strSentencia_.clear();
        strEjecutar_.clear();
        strParametros_.clear();
        for (std::string& strClausula : strClausulas_) strClausula.clear();
        return;
    }
    strSentencia_ = std::move(strNueva);
    DescomponerSQL(strSentencia_);
}

void clsSQL::Ejecutar(const std::string& strNuevo) {
    strEjecutar_ = strNuevo;
    RecomponerSQL();
}

void clsSQL::Parametros(const std::string& strNuevo) {
    strParametros_ = strNuevo;
    RecomponerSQL();
}

void clsSQL::Clausula(NumClausula numClausula, const std::string& strNuevo) {
    strClausulas_[numClausula] = strNuevo;
    RecomponerSQL();
}

bool clsSQL::DescomponerSQL(const std::string& strSentencia) {
    static_assert(std::size(kPalabrasClausula) == kNumClausulas);
    bool resultado = false;
    std::unique_ptr<utilidades::UtilidadTexto> objUtilidad;  // one per statement taken apart
    auto buscador = [&] {
        if (!objUtilidad) objUtilidad = utilidades::CrearUtilidadTexto();
        return sql::BuscadorSQL(*objUtilidad);
    };
    std::string resto = strSentencia;
    std::vector<sql::Tramo> tramos;  // keywords inside parentheses belong to subqueries and calls

    frame::Procedimiento p(*this, "DescomponerSQL");
    bool blnSigue = p.paso([&] { tramos = sql::Parentesis(buscador(), strSentencia).Exteriores(); });
    for (size_t i = kNumClausulas; blnSigue && i-- > 0;)
        blnSigue = p.paso([&] { Separar(buscador(), resto, kPalabrasClausula[i], tramos, strClausulas_[i]); });
    // Whatever is left is this statement's own: a statement with nothing in front of its
    // clauses has no PARAMETERS part and no lead text, whatever an earlier one had.
    blnSigue = blnSigue && p.paso([&] {
        if (resto.empty()) strParametros_.clear();
        else Separar(buscador(), resto, kPalabraParametros, tramos, strParametros_);
    }) && p.paso([&] { strEjecutar_ = resto; }) && p.paso([&] { resultado = true; });
    return resultado;
}

bool clsSQL::RecomponerSQL() {
    bool resultado = false;
    std::string strTexto;
    frame::Procedimiento p(*this, "RecomponerSQL");
    p.paso([&] {
        strTexto = strEjecutar_;
        if (!strParametros_.empty())
            strTexto.append(kPalabraParametros).append(" ").append(strParametros_).append(CierreParametros(strParametros_));
        for (size_t i = 0; i < kNumClausulas; ++i) {
            if (strClausulas_[i].empty()) continue;
            strTexto.append(kPalabrasClausula[i]).append(" ").append(strClausulas_[i]);
            if (i + 1 < kNumClausulas) strTexto.append(" ");
        }
        strTexto = QuitarEspacios(strTexto);
    }) && p.paso([&] {
        const std::string strAnterior = strSentencia_;
        bool blnCancelar = false;
        Eventos().Emitir(&clsSQLEventos::CambiaSentencia, strAnterior, strTexto, blnCancelar);
        if (!blnCancelar) strSentencia_ = std::move(strTexto);
    }) && p.paso([&] { resultado = true; });
    return resultado;
}

}  // namespace quimera
