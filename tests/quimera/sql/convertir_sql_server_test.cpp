// ConvertirSQL_SQLServer: the worked conversions, the steps one by one, literals and whole
// words, balanced arguments, calls left alone, and failures reported under each pass's name.
#include <gtest/gtest.h>

#include "quimera/apoyo/EntornoQuimera.h"
#include "quimera/quimera.h"
#include "quimera/sql/UtilidadQueFalla.h"

namespace {

using namespace quimera;

class ConvertirSQL : public pruebas::EntornoQuimera {
protected:
    clsAccesoDatos acceso;
};

struct Caso {
    const char* jet;
    const char* sqlServer;
};

void Comprobar(clsAccesoDatos& acceso, std::initializer_list<Caso> casos) {
    for (const Caso& caso : casos) EXPECT_EQ(acceso.ConvertirSQL_SQLServer(caso.jet), caso.sqlServer) << caso.jet;
}

TEST_F(ConvertirSQL, EjemplosResueltos) {
    Comprobar(acceso, {
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
    });
}

TEST_F(ConvertirSQL, CadaPaso) {
    Comprobar(acceso, {
        {"", ""},
        {"SELECT Nombre FROM Clientes", "SELECT Nombre FROM Clientes"},
        {"x = FALSE OR y = Verdadero OR z = falso", "x = 0 OR y = 1 OR z = 0"},
        {"UCASE(a) + LCASE(b)", "UPPER(a) + LOWER(b)"},
        {"TIMEVALUE('10:30')", "'10:30'"},
        {"MID(a, 2, 3)", "SUBSTRING(a, 2, 3)"},
        {"HOUR(h) DAY(d)", "DATEPART(HOUR,h) DATEPART(DAY,d)"},
        {"INSTR(a, 'x') STRREVERSE(b)", "CHARINDEX(a, 'x') REVERSE(b)"},
        {"DATEDIFF('n', a, b) DATEDIFF('yyyy', a, b) DATEDIFF('h', a, b) DATEDIFF('m', a, b)",
         "DATEDIFF(mi, a, b) DATEDIFF(yy, a, b) DATEDIFF(hh, a, b) DATEDIFF(mm, a, b)"},
        // The order of the steps: IIF sees "+", DATEPART and GETDATE() already written.
        {"IIF(DAY(NOW()) = 1, a & b, c)", "CASE WHEN DATEPART(DAY,GETDATE()) = 1 THEN  a + b ELSE  c END"},
        {"iif(x, 1, 2)", "CASE WHEN x THEN  1 ELSE  2 END"},
    });
}

TEST_F(ConvertirSQL, CasosLimiteQueSeMantienen) {
    Comprobar(acceso, {
        {"ISNULL('Campo')", "Campo IS NULL"},
        {"DATEDIFF('d', a, b) + DATEDIFF('d', c, d)", "DATEDIFF(dd, a, b) + DATEDIFF(dd, c, d)"},
        {"DATEDIFF('D', x, y)", "DATEDIFF(D, x, y)"},
        {"DATEDIFF(\"d\", x, y) DATEDIFF(d, x, y)", "DATEDIFF(\"d\", x, y) DATEDIFF(d, x, y)"},
        {"ISNULL(ISNULL(x))", "x IS NULL IS NULL"},
    });
}

TEST_F(ConvertirSQL, LiteralesYPalabrasCompletasNoSeTocan) {
    Comprobar(acceso, {
        {"SELECT WEEKDAY(Fecha) FROM T", "SELECT WEEKDAY(Fecha) FROM T"},
        {"WHERE Nombre = 'TRUE' AND Activo = TRUE", "WHERE Nombre = 'TRUE' AND Activo = 1"},
        {"WHERE Texto = \"Falso & Verdadero\"", "WHERE Texto = \"Falso & Verdadero\""},
        {"SELECT [Fecha & Hora], [IIF(a,b,c)] FROM T", "SELECT [Fecha & Hora], [IIF(a,b,c)] FROM T"},
        {"SELECT TRUEVALOR, MIDDAY(x), YEARS FROM T", "SELECT TRUEVALOR, MIDDAY(x), YEARS FROM T"},
        {"'ISNULL(x)' ISNULL(y)", "'ISNULL(x)' y IS NULL"},
        {"'DATEDIFF('d', a, b)'", "'DATEDIFF('d', a, b)'"},
    });
}

TEST_F(ConvertirSQL, ArgumentosHastaElParentesisQueCierraLaLlamada) {
    Comprobar(acceso, {
        {"ISNULL(TRIM(Nombre))", "TRIM(Nombre) IS NULL"},
        {"IIF(a, IIF(b, c, d), e)", "CASE WHEN a THEN  CASE WHEN b THEN  c ELSE  d END ELSE  e END"},
        {"IIF(x > 0, MID(a, 1, 2), ')')", "CASE WHEN x > 0 THEN  SUBSTRING(a, 1, 2) ELSE  ')' END"},
        {"IIF(a = 'x,y', 1, 2)", "CASE WHEN a = 'x,y' THEN  1 ELSE  2 END"},
        {"DATEVALUE(FORMAT(f, 'dd/mm'))", "FORMAT(f, 'dd/mm')"},
    });
}

TEST_F(ConvertirSQL, LlamadasQueNoSePuedenReescribirSeQuedan) {
    Comprobar(acceso, {
        {"ISNULL(Precio, 0)", "ISNULL(Precio, 0)"},
        {"ISNULL(ISNULL(a), 0)", "ISNULL(a IS NULL, 0)"},
        {"ISNULL(", "ISNULL("},
        {"ISNULL() DATEVALUE()", "ISNULL() DATEVALUE()"},
        {"IIF(a, b) IIF(a, b, c, d)", "IIF(a, b) IIF(a, b, c, d)"},
        {"IIF(IIF(x, 1, 2)", "IIF(CASE WHEN x THEN  1 ELSE  2 END"},
        {"DATEDIFF('d", "DATEDIFF('d"},
        {"TIMEVALUE('a' DATEVALUE(b", "TIMEVALUE('a' DATEVALUE(b"},
    });
}

TEST_F(ConvertirSQL, UnFalloSeInformaConElNombreDeSuPaso) {
    struct CasoFallo {
        const char* token;  // the one the utility fails on
        std::deque<int32_t> decisiones;
        const char* metodo;
        const char* resultado;
    };
    const CasoFallo casos[] = {
        {"&", {1}, "ConvertirSQL_SQLServer", ""},
        {"&", {2}, "ConvertirSQL_SQLServer", "CASE WHEN a & b THEN  1 ELSE  0 END"},
        {"IIF(", {1}, "ConversionIIF", ""},
        {"IIF(", {2}, "ConversionIIF", ""},  // the pass hands on its empty result
        {"ISNULL(", {1}, "ConversionISNULL", ""},
        {"DATEVALUE(", {1}, "ConversionDATEVALUE", ""},
        {"TIMEVALUE(", {1}, "ConversionTIMEVALUE", ""},
        {"DATEDIFF(", {1}, "ConversionDATEDIFF", ""},
    };
    for (const CasoFallo& caso : casos) {
        pruebas::FabricaQueFalla fabrica(caso.token);
        clsAccesoDatos objeto;
        registro.informes.clear();
        registro.decisiones = caso.decisiones;
        EXPECT_EQ(objeto.ConvertirSQL_SQLServer("IIF(a & b, TRUE, FALSE)"), caso.resultado) << caso.token;
        ASSERT_EQ(registro.informes.size(), 1u) << caso.token;
        EXPECT_EQ(registro.informes[0].strMetodo, caso.metodo);
        EXPECT_EQ(registro.informes[0].strClase, "clsAccesoDatos");
    }
}

TEST_F(ConvertirSQL, LaUtilidadDeTextoSeCreaUnaVezPorObjeto) {
    pruebas::FabricaQueFalla fabrica("ningún token");
    clsAccesoDatos objeto;
    EXPECT_EQ(fabrica.creadas, 0);
    objeto.ConvertirSQL_SQLServer("SELECT TRUE");
    objeto.ConvertirSQL_SQLServer("SELECT FALSE");
    EXPECT_EQ(fabrica.creadas, 1);
}

}  // namespace
