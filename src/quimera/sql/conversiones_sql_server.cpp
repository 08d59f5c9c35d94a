// The function passes of ConvertirSQL_SQLServer. Each finds the calls of one Jet function,
// outside literals and as a whole word, takes its arguments apart at the call's own commas
// up to the ")" that balances its "(", and puts the T-SQL form in its place. A call that
// cannot be rewritten (never closed, or with another number of arguments) is passed over,
// so every pass ends: each round either moves past a call or removes one.
#include <functional>
#include <optional>
#include <string_view>

#include "quimera/clsAccesoDatos.h"
#include "quimera/frame/Procedimiento.h"
#include "quimera/sql/BuscadorSQL.h"

namespace quimera {

namespace {

using utilidades::UtilidadTexto;
using Forma = std::function<std::optional<std::string>(const sql::Llamada&)>;

// The text with the call found at its offset replaced by reemplazo, through the utility: a
// plain search from the call's own position finds the call itself first.
std::string SustituirLlamada(const UtilidadTexto& utilidad, const std::string& strTexto, size_t inicio,
                             size_t longitud, const std::string& strReemplazo) {
    return utilidad.ReemplazarTexto(strTexto, strTexto.substr(inicio, longitud), strReemplazo, 1, 0,
                                    static_cast<int32_t>(inicio + 1), 0);
}

// Every call of strNombre rewritten by forma; a call it answers nullopt for is left alone.
// After a rewrite the search goes on from the same offset, so calls nested inside the
// arguments are rewritten in turn.
std::string ConvertirLlamadas(const UtilidadTexto& utilidad, std::string strTexto, std::string_view strNombre,
                              const Forma& forma) {
    const sql::BuscadorSQL buscador(utilidad);
    const std::string strToken = std::string(strNombre) + "(";
    for (size_t desde = 0;;) {
        const size_t inicio = buscador.Buscar(strTexto, strToken, desde);
        if (inicio == sql::BuscadorSQL::npos) return strTexto;
        const auto llamada = buscador.LeerLlamada(strTexto, inicio, inicio + strNombre.size());
        const auto reemplazo = llamada ? forma(*llamada) : std::nullopt;
        if (!reemplazo) {
            desde = inicio + strNombre.size();
            continue;
        }
        strTexto = SustituirLlamada(utilidad, strTexto, inicio, llamada->Longitud(), *reemplazo);
        desde = inicio;
    }
}

bool EnBlanco(const std::string& strTexto) { return strTexto.find_first_not_of(' ') == std::string::npos; }

// The single argument of a call, or nullopt for none or several (ISNULL(a, b) is SQL
// Server's own function and stays).
std::optional<std::string> ArgumentoUnico(const sql::Llamada& llamada) {
    if (llamada.argumentos.size() != 1 || EnBlanco(llamada.argumentos[0])) return std::nullopt;
    return llamada.argumentos[0];
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
        return ConvertirLlamadas(utilidad, strSQL, "ISNULL", [&](const sql::Llamada& llamada) {
            auto argumento = ArgumentoUnico(llamada);
            if (argumento) *argumento = utilidad.ReemplazarTexto(*argumento, "'", "", -1, 0, 1, 0) + " IS NULL";
            return argumento;
        });
    });
}

// DATEVALUE(x) becomes x, taken over as written.
std::string clsAccesoDatos::ConversionDATEVALUE(const std::string& strSQL) {
    return Pasada(*this, "ConversionDATEVALUE",
                  [&] { return ConvertirLlamadas(ObjUtilidadTexto(), strSQL, "DATEVALUE", ArgumentoUnico); });
}

// TIMEVALUE(x) becomes x, taken over as written.
std::string clsAccesoDatos::ConversionTIMEVALUE(const std::string& strSQL) {
    return Pasada(*this, "ConversionTIMEVALUE",
                  [&] { return ConvertirLlamadas(ObjUtilidadTexto(), strSQL, "TIMEVALUE", ArgumentoUnico); });
}

// DATEDIFF('code', ...) becomes DATEDIFF(name, ...): only the interval code in apostrophes
// right after the "(" is rewritten; the rest of the call stays. Codes in double quotes or in
// no quotes are left as they are.
std::string clsAccesoDatos::ConversionDATEDIFF(const std::string& strSQL) {
    return Pasada(*this, "ConversionDATEDIFF", [&] {
        static constexpr std::string_view kNombre = "DATEDIFF(";
        const UtilidadTexto& utilidad = ObjUtilidadTexto();
        const sql::BuscadorSQL buscador(utilidad);
        std::string texto = strSQL;
        for (size_t desde = 0;;) {
            const size_t inicio = buscador.Buscar(texto, std::string(kNombre), desde);
            if (inicio == sql::BuscadorSQL::npos) return texto;
            desde = inicio + kNombre.size();
            const size_t apertura = inicio + kNombre.size();  // the code's opening apostrophe
            if (apertura >= texto.size() || texto[apertura] != '\'') continue;
            const auto cierre = static_cast<size_t>(
                utilidad.ExtraerTexto(texto, "'", utilidades::ModoPosicion, 0, static_cast<int32_t>(apertura + 2))
                    .ToInt32());
            if (cierre <= apertura + 1) continue;  // the code is never closed
            const std::string strCodigo = texto.substr(apertura + 1, cierre - apertura - 2);
            const std::string strNuevo = std::string(kNombre) + NombreIntervalo(strCodigo);
            texto = SustituirLlamada(utilidad, texto, inicio, cierre - inicio, strNuevo);
            desde = inicio + strNuevo.size();
        }
    });
}

// IIF(c, a, b) becomes CASE WHEN c THEN a ELSE b END; each part keeps its own spaces.
std::string clsAccesoDatos::ConversionIIF(const std::string& strSQL) {
    return Pasada(*this, "ConversionIIF", [&] {
        return ConvertirLlamadas(ObjUtilidadTexto(), strSQL, "IIF", [](const sql::Llamada& llamada) {
            std::optional<std::string> caso;
            const auto& a = llamada.argumentos;
            if (a.size() == 3) caso = "CASE WHEN " + a[0] + " THEN " + a[1] + " ELSE " + a[2] + " END";
            return caso;
        });
    });
}

}  // namespace quimera
