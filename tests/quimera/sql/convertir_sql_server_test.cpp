// ConvertirSQL_SQLServer: the worked conversions, each step, literals and whole words,
// balanced arguments, calls left alone, and failures reported under each pass's name.
#include <gtest/gtest.h>

#include "quimera/apoyo/EntornoQuimera.h"
#include "quimera/sql/UtilidadQueFalla.h"
#include "support/SmallStack.h"

namespace {

using namespace quimera;

class ConvertirSQL : public pruebas::EntornoQuimera {};

TEST_F(ConvertirSQL, CadaConversion) {
    clsAccesoDatos acceso;
    const std::pair<const char*, const char*> casos[] = {  // the Access statement and its SQL Server form
        // The worked examples.
        {"SELECT DISTINCTROW Nombre & ' ' & Apellidos FROM Clientes WHERE Activo = TRUE",
         "SELECT DISTINCT Nombre + ' ' + Apellidos FROM Clientes WHERE Activo = 1"},
        {"SELECT * FROM Pedidos WHERE ISNULL(FechaEnvio) AND Importe > 0",
         "SELECT * FROM Pedidos WHERE FechaEnvio IS NULL AND Importe > 0"},
        {"SELECT DATEDIFF('d', FechaAlta, NOW()) FROM Clientes", "SELECT DATEDIFF(dd, FechaAlta, GETDATE()) FROM Clientes"},
        {"SELECT DATEDIFF('ww', Desde, Hasta) FROM Turnos", "SELECT DATEDIFF(ww, Desde, Hasta) FROM Turnos"},
        {"SELECT YEAR(Fecha), MONTH(Fecha) FROM Ventas", "SELECT DATEPART(YEAR,Fecha), DATEPART(MONTH,Fecha) FROM Ventas"},
        {"SELECT IIF(Importe > 100, 'Alto', 'Bajo') AS Nivel FROM Pedidos",
         "SELECT CASE WHEN Importe > 100 THEN  'Alto' ELSE  'Bajo' END AS Nivel FROM Pedidos"},
        {"WHERE Fecha >= DATEVALUE('01/01/2024')", "WHERE Fecha >= '01/01/2024'"},
        // Each step, in its order.
        {"", ""},
        {"SELECT Nombre FROM Clientes", "SELECT Nombre FROM Clientes"},
        {"x = FALSE OR y = Verdadero OR z = falso", "x = 0 OR y = 1 OR z = 0"},
        {"UCASE(a) + LCASE(b) + MID(c, 2, 3)", "UPPER(a) + LOWER(b) + SUBSTRING(c, 2, 3)"},
        {"TIMEVALUE('10:30')", "'10:30'"},
        {"HOUR(h) DAY(d)", "DATEPART(HOUR,h) DATEPART(DAY,d)"},
        {"INSTR(a, 'x') STRREVERSE(b)", "CHARINDEX(a, 'x') REVERSE(b)"},
        {"DATEDIFF('n', a, b) DATEDIFF('yyyy', a, b) DATEDIFF('h', a, b) DATEDIFF('m', a, b)",
         "DATEDIFF(mi, a, b) DATEDIFF(yy, a, b) DATEDIFF(hh, a, b) DATEDIFF(mm, a, b)"},
        {"DATEDIFF('d', a, b) + DATEDIFF('D', c, d)", "DATEDIFF(dd, a, b) + DATEDIFF(D, c, d)"},
        {"DATEDIFF(\"d\", x, y) DATEDIFF(d, x, y)", "DATEDIFF(\"d\", x, y) DATEDIFF(d, x, y)"},
        {"ISNULL('Campo') OR ISNULL(ISNULL(x))", "Campo IS NULL OR x IS NULL IS NULL"},
        // IIF comes after "&", DAY( and NOW() have been rewritten.
        {"iif(DAY(NOW()) = 1, a & b, c)", "CASE WHEN DATEPART(DAY,GETDATE()) = 1 THEN  a + b ELSE  c END"},
        // Literals, brackets and whole words are left alone.
        {"SELECT WEEKDAY(Fecha) FROM T", "SELECT WEEKDAY(Fecha) FROM T"},
        {"WHERE Nombre = 'TRUE' AND Activo = TRUE", "WHERE Nombre = 'TRUE' AND Activo = 1"},
        {"WHERE Texto = \"Falso & Verdadero\" OR [Fecha & Hora] = [IIF(a,b,c)]",
         "WHERE Texto = \"Falso & Verdadero\" OR [Fecha & Hora] = [IIF(a,b,c)]"},
        {"SELECT TRUEVALOR, MIDDAY(x), YEARS FROM T", "SELECT TRUEVALOR, MIDDAY(x), YEARS FROM T"},
        {"'ISNULL(x)' ISNULL(y) 'DATEDIFF('d', a, b)'", "'ISNULL(x)' y IS NULL 'DATEDIFF('d', a, b)'"},
        // Arguments end at the parenthesis that closes the call.
        {"ISNULL(TRIM(Nombre))", "TRIM(Nombre) IS NULL"},
        {"IIF(a, IIF(b, c, d), e)", "CASE WHEN a THEN  CASE WHEN b THEN  c ELSE  d END ELSE  e END"},
        {"IIF(x > 0, MID(a, 1, 2), ')')", "CASE WHEN x > 0 THEN  SUBSTRING(a, 1, 2) ELSE  ')' END"},
        {"IIF(a = 'x,y', 1, 2)", "CASE WHEN a = 'x,y' THEN  1 ELSE  2 END"},
        {"DATEVALUE(FORMAT(f, 'dd/mm'))", "FORMAT(f, 'dd/mm')"},
        // Calls that cannot be rewritten stay as they are.
        {"ISNULL(Precio, 0)", "ISNULL(Precio, 0)"},
        {"ISNULL(ISNULL(a), 0)", "ISNULL(a IS NULL, 0)"},
        {"ISNULL(", "ISNULL("},
        {"ISNULL() DATEVALUE( )", "ISNULL() DATEVALUE( )"},
        {"IIF(a, b) IIF(a, b, c, d)", "IIF(a, b) IIF(a, b, c, d)"},
        {"IIF(IIF(x, 1, 2)", "IIF(CASE WHEN x THEN  1 ELSE  2 END"},
        {"DATEDIFF('d", "DATEDIFF('d"},
        {"TIMEVALUE('a' DATEVALUE(b", "TIMEVALUE('a' DATEVALUE(b"},
    };
    for (const auto& [jet, sqlServer] : casos) EXPECT_EQ(acceso.ConvertirSQL_SQLServer(jet), sqlServer) << jet;
}

TEST_F(ConvertirSQL, UnFalloSeInformaConElNombreDeSuPaso) {
    struct Caso {
        const char* token;  // the one the utility fails on
        int32_t decision;
        const char* metodo;
        const char* resultado;
    };
    const Caso casos[] = {
        {"&", centinela::DecisionAbandonar, "ConvertirSQL_SQLServer", ""},
        {"&", centinela::DecisionContinuar, "ConvertirSQL_SQLServer", "CASE WHEN a & b THEN  1 ELSE  0 END"},
        {"IIF(", centinela::DecisionContinuar, "ConversionIIF", ""},  // the pass hands on its empty text
        {"ISNULL(", centinela::DecisionAbandonar, "ConversionISNULL", ""},
        {"DATEVALUE(", centinela::DecisionAbandonar, "ConversionDATEVALUE", ""},
        {"TIMEVALUE(", centinela::DecisionAbandonar, "ConversionTIMEVALUE", ""},
        {"DATEDIFF(", centinela::DecisionAbandonar, "ConversionDATEDIFF", ""},
    };
    for (const Caso& caso : casos) {
        pruebas::FabricaQueFalla fabrica(caso.token);
        clsAccesoDatos objeto;
        registro.informes.clear();
        registro.decisiones = {caso.decision};
        EXPECT_EQ(objeto.ConvertirSQL_SQLServer("IIF(a & b, TRUE, FALSE)"), caso.resultado) << caso.token;
        EXPECT_EQ(Informados(), std::vector{"clsAccesoDatos." + std::string(caso.metodo) + " 5"}) << caso.token;
        objeto.ConvertirSQL_SQLServer("");
        EXPECT_EQ(fabrica.creadas, 1);  // one text utility for the object's life
    }
}

// A megabyte of nested calls and of "&" chains on a worker thread's small stack: each pass
// reads the text once, whatever the depth, and the result is the whole conversion.
TEST_F(ConvertirSQL, UnMegabyteAnidadoEnUnaPilaPequena) {
    constexpr size_t kProfundidad = 100'000;
    struct Caso {
        std::string abre, centro, cierra;  // repeated kProfundidad times around the centre
        std::string abreConvertido, cierraConvertido;
    };
    const Caso casos[] = {
        {"IIF(a,", "1", ",b)", "CASE WHEN a THEN ", " ELSE b END"},
        {"ISNULL(", "'x'", ")", "", " IS NULL"},
        {"DATEVALUE(TIMEVALUE(", "d", "))", "", ""},
        {"UCASE(", "n & m", ")", "UPPER(", ")"},
        {"DATEDIFF('d', ", "x", ", y)", "DATEDIFF(dd, ", ", y)"},
        {"s & ", "t", "", "s + ", ""},
    };
    for (const Caso& c : casos) {
        std::string sql, esperado;
        for (size_t i = 0; i < kProfundidad; ++i) sql += c.abre, esperado += c.abreConvertido;
        sql += c.centro;
        esperado += c.abre == "ISNULL(" ? "x" : c.abre == "UCASE(" ? "n + m" : c.centro;
        for (size_t i = 0; i < kProfundidad; ++i) sql += c.cierra, esperado += c.cierraConvertido;
        ASSERT_GE(sql.size(), 300'000u) << c.abre;
        std::string convertido;
        clsAccesoDatos acceso;
        testsupport::OnSmallStack([&] { convertido = acceso.ConvertirSQL_SQLServer(sql); });
        EXPECT_TRUE(convertido == esperado) << c.abre << ": " << convertido.substr(0, 200);
    }
    EXPECT_TRUE(registro.informes.empty());
}

}  // namespace
