// clsAccesoDatos::ConvertirSQL_SQLServer: a statement in the Jet (Access) dialect rewritten
// for SQL Server, purely as text, in a fixed order of substitutions and function passes.
// Nothing inside quoted literals or bracketed names is touched, and tokens that begin with
// a letter match as whole words, so WEEKDAY(x) and 'TRUE' stay as they are.
#include <string_view>

#include "quimera/clsAccesoDatos.h"
#include "quimera/frame/Procedimiento.h"
#include "quimera/sql/BuscadorSQL.h"

namespace quimera {

utilidades::UtilidadTexto& clsAccesoDatos::ObjUtilidadTexto() {
    if (!objUtilidadTexto_) objUtilidadTexto_ = utilidades::CrearUtilidadTexto();
    return *objUtilidadTexto_;
}

std::string clsAccesoDatos::ConvertirSQL_SQLServer(const std::string& strSQL) {
    using Pase = std::string (clsAccesoDatos::*)(const std::string&);
    // A substitution of buscado by reemplazo, or a pass over the function calls.
    struct Paso {
        std::string_view buscado;
        std::string_view reemplazo;
        Pase pase = nullptr;
    };
    // The order matters: the passes see TRUE/FALSE as 1/0, the IIF pass sees "+" for "&",
    // DATEPART and GETDATE(); DATEPART(DAY, holds no "DAY(" for a later step to find.
    static constexpr Paso kPasos[] = {
        {"DISTINCTROW", "DISTINCT"},
        {"TRUE", "1"},
        {"FALSE", "0"},
        {"Verdadero", "1"},
        {"Falso", "0"},
        {{}, {}, &clsAccesoDatos::ConversionISNULL},
        {"UCASE(", "UPPER("},
        {"LCASE(", "LOWER("},
        {{}, {}, &clsAccesoDatos::ConversionDATEVALUE},
        {{}, {}, &clsAccesoDatos::ConversionTIMEVALUE},
        {{}, {}, &clsAccesoDatos::ConversionDATEDIFF},
        {"&", "+"},
        {"MID(", "SUBSTRING("},
        {"HOUR(", "DATEPART(HOUR,"},
        {"DAY(", "DATEPART(DAY,"},
        {"MONTH(", "DATEPART(MONTH,"},
        {"YEAR(", "DATEPART(YEAR,"},
        {"NOW()", "GETDATE()"},
        {{}, {}, &clsAccesoDatos::ConversionIIF},
        {"INSTR(", "CHARINDEX("},
        {"STRREVERSE(", "REVERSE("},
    };

    std::string resultado;
    std::string texto = strSQL;
    frame::Procedimiento p(*this, "ConvertirSQL_SQLServer");
    for (const Paso& paso : kPasos) {
        const bool blnSigue = p.paso([&] {
            if (paso.pase) {
                texto = (this->*paso.pase)(texto);
            } else {
                texto = sql::BuscadorSQL(ObjUtilidadTexto())
                            .Reemplazar(texto, std::string(paso.buscado), std::string(paso.reemplazo));
            }
        });
        if (!blnSigue) return resultado;
    }
    p.paso([&] { resultado = std::move(texto); });
    return resultado;
}

}  // namespace quimera
