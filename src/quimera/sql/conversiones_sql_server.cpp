// The function passes of ConvertirSQL_SQLServer. Each finds the calls of one Jet function
// outside literals and as a whole word, takes the arguments of each call apart at the call's
// own commas up to the ")" that balances its "(", and puts the T-SQL form in its place. Calls
// nested in the arguments are rewritten too. A call that cannot be rewritten (never closed,
// or with another number of arguments) keeps its text. Every pass reads the text once.
#include <algorithm>
#include <functional>
#include <optional>
#include <string_view>

#include "quimera/clsAccesoDatos.h"
#include "quimera/frame/Procedimiento.h"
#include "quimera/sql/BuscadorSQL.h"

namespace quimera {

namespace {

using utilidades::UtilidadTexto;
using Argumentos = std::vector<std::string_view>;  // as written, before their own calls are rewritten

// A piece of a call's new form: fixed text, or one of the call's arguments (rewritten in its
// turn), optionally with its apostrophes removed.
struct Pieza {
    std::string strTexto;
    size_t numArgumento = npos;
    bool blnSinApostrofes = false;
    static constexpr size_t npos = std::string::npos;
};
using Forma = std::function<std::optional<std::vector<Pieza>>(const Argumentos&)>;

// The text of a pass, with the calls of one function and the parentheses found in it. The
// result is written left to right through an explicit stack of what is still to write, so
// that neither the depth of nesting nor its length costs more than the text itself.
class Reescritura {
public:
    Reescritura(const UtilidadTexto& utilidad, const std::string& strTexto, std::string_view strNombre,
                const Forma& forma)
        : buscador_(utilidad), strTexto_(strTexto), numNombre_(strNombre.size()), forma_(forma),
          parentesis_(buscador_, strTexto) {
        const std::string strToken = std::string(strNombre) + "(";
        for (size_t p = buscador_.BuscarAdelante(strTexto, strToken, 0); p != sql::npos;
             p = buscador_.BuscarAdelante(strTexto, strToken, p + strToken.size())) {
            const sql::Grupo* grupo = parentesis_.En(p + numNombre_);
            if (grupo && grupo->cierre != sql::npos) llamadas_.push_back({p, grupo});  // never closed: stays
        }
    }

    std::string Resultado() {
        std::string resultado;
        pendiente_.push_back({{}, 0, strTexto_.size(), false});
        while (!pendiente_.empty()) {
            const Tarea tarea = pendiente_.back();
            pendiente_.pop_back();
            if (tarea.desde == npos) {
                Escribir(resultado, tarea.strTexto, tarea.blnSinApostrofes);
                continue;
            }
            const auto llamada = std::lower_bound(llamadas_.begin(), llamadas_.end(), tarea.desde,
                                                  [](const Llamada& l, size_t p) { return l.inicio < p; });
            if (llamada == llamadas_.end() || llamada->inicio >= tarea.hasta) {
                Escribir(resultado, std::string_view(strTexto_).substr(tarea.desde, tarea.hasta - tarea.desde),
                         tarea.blnSinApostrofes);
                continue;
            }
            Escribir(resultado, std::string_view(strTexto_).substr(tarea.desde, llamada->inicio - tarea.desde),
                     tarea.blnSinApostrofes);
            pendiente_.push_back({{}, llamada->grupo->cierre + 1, tarea.hasta, tarea.blnSinApostrofes});
            Apilar(*llamada, tarea.blnSinApostrofes);
        }
        return resultado;
    }

private:
    static constexpr size_t npos = std::string::npos;

    struct Llamada {
        size_t inicio;  // offset of the function's name
        const sql::Grupo* grupo;
    };
    // Text to write as it is (desde == npos), or a part [desde, hasta) of the text to rewrite.
    struct Tarea {
        std::string strTexto;
        size_t desde = npos, hasta = npos;
        bool blnSinApostrofes = false;
    };

    void Escribir(std::string& resultado, std::string_view strTexto, bool blnSinApostrofes) const {
        if (!blnSinApostrofes || strTexto.find('\'') == std::string_view::npos) {
            resultado.append(strTexto);
            return;
        }
        resultado.append(buscador_.Utilidad().ReemplazarTexto(std::string(strTexto), "'", "", -1, 0, 1, 0));
    }

    // The pieces of the call's new form, or of the call as written, pushed last piece first.
    void Apilar(const Llamada& llamada, bool blnSinApostrofes) {
        std::vector<sql::Tramo> tramos;
        size_t desde = llamada.grupo->apertura + 1;
        for (const size_t coma : llamada.grupo->comas) {
            tramos.push_back({desde, coma});
            desde = coma + 1;
        }
        tramos.push_back({desde, llamada.grupo->cierre});
        Argumentos argumentos;
        for (const sql::Tramo& t : tramos) argumentos.push_back(std::string_view(strTexto_).substr(t.desde, t.hasta - t.desde));
        std::vector<Pieza> piezas;
        if (auto forma = forma_(argumentos)) {
            piezas = std::move(*forma);
        } else {
            piezas.push_back({strTexto_.substr(llamada.inicio, numNombre_ + 1)});
            for (size_t i = 0; i < tramos.size(); ++i) {
                if (i) piezas.push_back({","});
                piezas.push_back({{}, i});
            }
            piezas.push_back({")"});
        }
        for (auto pieza = piezas.rbegin(); pieza != piezas.rend(); ++pieza) {
            const bool blnSin = blnSinApostrofes || pieza->blnSinApostrofes;
            if (pieza->numArgumento == Pieza::npos)
                pendiente_.push_back({std::move(pieza->strTexto), npos, npos, blnSin});
            else
                pendiente_.push_back({{}, tramos[pieza->numArgumento].desde, tramos[pieza->numArgumento].hasta, blnSin});
        }
    }

    sql::BuscadorSQL buscador_;
    const std::string& strTexto_;
    size_t numNombre_;
    const Forma& forma_;
    sql::Parentesis parentesis_;
    std::vector<Llamada> llamadas_;  // in order of their offsets
    std::vector<Tarea> pendiente_;   // what is still to write, the next on top
};

bool EnBlanco(std::string_view strTexto) { return strTexto.find_first_not_of(' ') == std::string_view::npos; }

// The single argument of a call taken over as written, or nullopt for none or several
// (ISNULL(a, b) is SQL Server's own function and stays).
std::optional<std::vector<Pieza>> ArgumentoUnico(const Argumentos& argumentos) {
    if (argumentos.size() != 1 || EnBlanco(argumentos[0])) return std::nullopt;
    return std::vector<Pieza>{{{}, 0}};
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

// The next apostrophe at or after desde, searched in growing pieces of the text, so that a
// search costs what it passes over.
size_t SiguienteApostrofe(const UtilidadTexto& utilidad, const std::string& strTexto, size_t desde) {
    for (size_t numLongitud = 64; desde < strTexto.size(); numLongitud *= 2) {
        const std::string strTrozo = strTexto.substr(desde, numLongitud);
        const int32_t posicion = utilidad.ExtraerTexto(strTrozo, "'", utilidades::ModoPosicion, 0, 1).ToInt32();
        if (posicion >= 1) return desde + static_cast<size_t>(posicion) - 1;
        if (desde + strTrozo.size() == strTexto.size()) break;
    }
    return sql::npos;
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
        return Reescritura(ObjUtilidadTexto(), strSQL, "ISNULL", [](const Argumentos& argumentos) {
                   auto piezas = ArgumentoUnico(argumentos);
                   if (piezas) *piezas = {{{}, 0, true}, {" IS NULL"}};
                   return piezas;
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
// no quotes are left as they are. The text is read once, left to right.
std::string clsAccesoDatos::ConversionDATEDIFF(const std::string& strSQL) {
    return Pasada(*this, "ConversionDATEDIFF", [&] {
        static constexpr std::string_view kNombre = "DATEDIFF(";
        const UtilidadTexto& utilidad = ObjUtilidadTexto();
        const sql::BuscadorSQL buscador(utilidad);
        std::string resultado;
        size_t copiado = 0;  // strSQL up to here is in resultado
        for (size_t desde = 0;;) {
            const size_t inicio = buscador.BuscarAdelante(strSQL, std::string(kNombre), desde);
            if (inicio == sql::npos) break;
            const size_t apertura = inicio + kNombre.size();  // the code's opening apostrophe
            desde = apertura;
            if (apertura >= strSQL.size() || strSQL[apertura] != '\'') continue;
            const size_t cierre = SiguienteApostrofe(utilidad, strSQL, apertura + 1);
            if (cierre == sql::npos) continue;  // the code is never closed
            const std::string strCodigo = strSQL.substr(apertura + 1, cierre - apertura - 1);
            resultado.append(strSQL, copiado, inicio - copiado).append(kNombre).append(NombreIntervalo(strCodigo));
            copiado = desde = cierre + 1;
        }
        return resultado.append(strSQL, copiado);
    });
}

// IIF(c, a, b) becomes CASE WHEN c THEN a ELSE b END; each part keeps its own spaces.
std::string clsAccesoDatos::ConversionIIF(const std::string& strSQL) {
    return Pasada(*this, "ConversionIIF", [&] {
        return Reescritura(ObjUtilidadTexto(), strSQL, "IIF", [](const Argumentos& a) {
                   std::optional<std::vector<Pieza>> caso;
                   if (a.size() == 3)
                       caso = std::vector<Pieza>{{"CASE WHEN "}, {{}, 0}, {" THEN "}, {{}, 1}, {" ELSE "}, {{}, 2}, {" END"}};
                   return caso;
               })
            .Resultado();
    });
}

}  // namespace quimera
