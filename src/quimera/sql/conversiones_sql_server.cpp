// The function passes of ConvertirSQL_SQLServer. Each finds the calls of one Jet function
// outside literals and as a whole word, takes the arguments of each call apart at the call's
// own commas up to the ")" that balances its "(", and puts the T-SQL form in its place. Calls
// nested in the arguments are rewritten too. A call that cannot be rewritten (never closed,
// or with another number of arguments) keeps its text. Every pass reads the text once.
#include <functional>
#include <optional>
#include <string_view>

#include "quimera/clsAccesoDatos.h"
#include "quimera/frame/Procedimiento.h"
#include "quimera/sql/BuscadorSQL.h"

namespace quimera {

namespace {

using utilidades::UtilidadTexto;
using Argumentos = std::vector<std::string>;
using Forma = std::function<std::optional<std::string>(const Argumentos&)>;

// The text of a pass, with the calls of one function and the parentheses found in it.
class Reescritura {
public:
    Reescritura(const UtilidadTexto& utilidad, const std::string& strTexto, std::string_view strNombre,
                const Forma& forma)
        : buscador_(utilidad), strTexto_(strTexto), numNombre_(strNombre.size()), forma_(forma),
          parentesis_(buscador_, strTexto) {
        const std::string strToken = std::string(strNombre) + "(";
        for (size_t p = buscador_.BuscarAdelante(strTexto, strToken, 0); p != sql::npos;
             p = buscador_.BuscarAdelante(strTexto, strToken, p + strToken.size()))
            llamadas_.push_back(p);
    }

    std::string Resultado() { return Tramo(0, strTexto_.size()); }

private:
    // The text of [desde, hasta) with the calls in it rewritten, in order.
    std::string Tramo(size_t desde, size_t hasta) {
        std::string resultado;
        while (siguiente_ < llamadas_.size() && llamadas_[siguiente_] < hasta) {
            const size_t inicio = llamadas_[siguiente_++];
            const sql::Grupo* grupo = parentesis_.En(inicio + numNombre_);
            if (!grupo || grupo->cierre == sql::npos) continue;  // never closed: the calls inside go on
            Argumentos argumentos;
            size_t desdeArgumento = grupo->apertura + 1;
            for (const size_t coma : grupo->comas) {
                argumentos.push_back(Tramo(desdeArgumento, coma));
                desdeArgumento = coma + 1;
            }
            argumentos.push_back(Tramo(desdeArgumento, grupo->cierre));
            resultado.append(strTexto_, desde, inicio - desde).append(Llamada(inicio, argumentos));
            desde = grupo->cierre + 1;
        }
        return resultado.append(strTexto_, desde, hasta - desde);
    }

    // The call's new form, or the call as written with its arguments rewritten.
    std::string Llamada(size_t inicio, const Argumentos& argumentos) const {
        if (auto forma = forma_(argumentos)) return *forma;
        std::string llamada = strTexto_.substr(inicio, numNombre_ + 1);
        for (size_t i = 0; i < argumentos.size(); ++i) llamada.append(i ? "," : "").append(argumentos[i]);
        return llamada.append(")");
    }

    sql::BuscadorSQL buscador_;
    const std::string& strTexto_;
    size_t numNombre_;
    const Forma& forma_;
    sql::Parentesis parentesis_;
    std::vector<size_t> llamadas_;  // offsets of the function's name, in order
    size_t siguiente_ = 0;
};

bool EnBlanco(const std::string& strTexto) { return strTexto.find_first_not_of(' ') == std::string::npos; }

// The single argument of a call, or nullopt for none or several (ISNULL(a, b) is SQL
// Server's own function and stays).
std::optional<std::string> ArgumentoUnico(const Argumentos& argumentos) {
    if (argumentos.size() != 1 || EnBlanco(argumentos[0])) return std::nullopt;
    return argumentos[0];
}

// Jet interval codes of DATEDIFF and their SQL Server names; any other code is kept.
struct Intervalo {
    std::string_view jet;
    std::string_view sqlServer;
};
constexpr Intervalo kIntervalos[] = {
    {"n", "mi"}, {"yyyy", "yy"}, {"d", "dd"}, {"h", "hh"}, {"m", "mm"},
};

std::string NombreIntervalo(const std::string& strCodigo) {
    for (const Intervalo& intervalo : kIntervalos)
        if (strCodigo == intervalo.jet) return std::string(intervalo.sqlServer);  // letter case counts
    return strCodigo;
}

// Runs one pass under its own name; the empty text when it is left after a failure.
template <class Pase>
std::string Pasada(Informante& objClase, std::string_view strMetodo, Pase&& pase) {
    std::string resultado;
    frame::Procedimiento p(objClase, strMetodo);
    p.paso([&] { resultado = pase(); });
    return resultado;
}

}  // namespace

// ISNULL(x) becomes x IS NULL, with the apostrophes of x removed: ISNULL('Campo') names a field.
std::string clsAccesoDatos::ConversionISNULL(const std::string& strSQL) {
    return Pasada(*this, "ConversionISNULL", [&] {
        const UtilidadTexto& utilidad = ObjUtilidadTexto();
        return Reescritura(utilidad, strSQL, "ISNULL", [&](const Argumentos& argumentos) {
                   auto argumento = ArgumentoUnico(argumentos);
                   if (argumento) *argumento = utilidad.ReemplazarTexto(*argumento, "'", "", -1, 0, 1, 0) + " IS NULL";
                   return argumento;
               })
            .Resultado();
    });
}

// DATEVALUE(x) becomes x, taken over as written.
std::string clsAccesoDatos::ConversionDATEVALUE(const std::string& strSQL) {
    return Pasada(*this, "ConversionDATEVALUE",
                  [&] { return Reescritura(ObjUtilidadTexto(), strSQL, "DATEVALUE", ArgumentoUnico).Resultado(); });
}

// TIMEVALUE(x) becomes x, taken over as written.
std::string clsAccesoDatos::ConversionTIMEVALUE(const std::string& strSQL) {
    return Pasada(*this, "ConversionTIMEVALUE",
                  [&] { return Reescritura(ObjUtilidadTexto(), strSQL, "TIMEVALUE", ArgumentoUnico).Resultado(); });
}

// DATEDIFF('code', ...) becomes DATEDIFF(name, ...): only the interval code in apostrophes
// right after the "(" is rewritten; the rest of the call stays. Codes in double quotes or in
// no quotes are left as they are. The start moves past each call, so the pass ends.
std::string clsAccesoDatos::ConversionDATEDIFF(const std::string& strSQL) {
    return Pasada(*this, "ConversionDATEDIFF", [&] {
        static constexpr std::string_view kNombre = "DATEDIFF(";
        const UtilidadTexto& utilidad = ObjUtilidadTexto();
        const sql::BuscadorSQL buscador(utilidad);
        std::string texto = strSQL;
        for (size_t desde = 0;;) {
            const size_t inicio = buscador.Buscar(texto, std::string(kNombre), desde);
            if (inicio == sql::npos) return texto;
            desde = inicio + kNombre.size();
            const size_t apertura = inicio + kNombre.size();  // the code's opening apostrophe
            if (apertura >= texto.size() || texto[apertura] != '\'') continue;
            const auto cierre = static_cast<size_t>(
                utilidad.ExtraerTexto(texto, "'", utilidades::ModoPosicion, 0, static_cast<int32_t>(apertura + 2))
                    .ToInt32());
            if (cierre <= apertura + 1) continue;  // the code is never closed
            const std::string strCodigo = texto.substr(apertura + 1, cierre - apertura - 2);
            const std::string strNuevo = std::string(kNombre) + NombreIntervalo(strCodigo);
            // A plain search from the call's own position finds the call itself first.
            texto = utilidad.ReemplazarTexto(texto, texto.substr(inicio, cierre - inicio), strNuevo, 1, 0,
                                             static_cast<int32_t>(inicio + 1), 0);
            desde = inicio + strNuevo.size();
        }
    });
}

// IIF(c, a, b) becomes CASE WHEN c THEN a ELSE b END; each part keeps its own spaces.
std::string clsAccesoDatos::ConversionIIF(const std::string& strSQL) {
    return Pasada(*this, "ConversionIIF", [&] {
        return Reescritura(ObjUtilidadTexto(), strSQL, "IIF", [](const Argumentos& a) {
                   std::optional<std::string> caso;
                   if (a.size() == 3) caso = "CASE WHEN " + a[0] + " THEN " + a[1] + " ELSE " + a[2] + " END";
                   return caso;
               })
            .Resultado();
    });
}

}  // namespace quimera
