// ExtraerTexto and ReemplazarTexto of the default text utility.
#include <gtest/gtest.h>

#include "quimera/components/utilidades.h"
#include "support/EmbeddedDb.h"

namespace {

using ado::Variant;
using namespace utilidades;

constexpr int32_t Literales = OpcionOmitirLiterales;
constexpr int32_t Palabra = OpcionPalabraCompleta;

struct CasoExtraer {
    const char* texto;
    const char* token;
    int32_t modo;
    int32_t opciones;
    int32_t inicio;
    Variant esperado;
};

const CasoExtraer kExtraer[] = {
    // Every mode, with the token present and absent.
    {"SELECT a FROM t WHERE x", " FROM ", ModoPosicion, 0, 1, int32_t{9}},
    {"SELECT a FROM t", " WHERE ", ModoPosicion, 0, 1, int32_t{0}},
    {"SELECT a FROM t WHERE x", " WHERE ", ModoContiene, 0, 1, true},
    {"SELECT a FROM t", " WHERE ", ModoContiene, 0, 1, false},
    {"SELECT a FROM t WHERE x", " WHERE ", ModoDesdeToken, 0, 1, " WHERE x"},
    {"SELECT a FROM t", " WHERE ", ModoDesdeToken, 0, 1, ""},
    {"SELECT a FROM t WHERE x", " WHERE ", ModoHastaToken, 0, 1, "SELECT a FROM t WHERE "},
    {"SELECT a FROM t", " WHERE ", ModoHastaToken, 0, 1, ""},
    {"SELECT a FROM t WHERE x", " WHERE ", ModoAntesToken, 0, 1, "SELECT a FROM t"},
    {"SELECT a FROM t", " WHERE ", ModoAntesToken, 0, 1, ""},
    {"SELECT a FROM t WHERE x", " WHERE ", ModoTrasToken, 0, 1, "x"},
    {"SELECT a FROM t", " WHERE ", ModoTrasToken, 0, 1, ""},
    // Start positions: the search begins there, the cut still measures from the beginning.
    {"a,b,c", ",", ModoPosicion, 0, 2, int32_t{2}},
    {"a,b,c", ",", ModoPosicion, 0, 3, int32_t{4}},
    {"a,b,c", ",", ModoPosicion, 0, 5, int32_t{0}},
    {"a=1 AND b=2 AND c=3", " AND ", ModoAntesToken, 0, 5, "a=1 AND b=2"},
    {"a=1 AND b=2 AND c=3", " AND ", ModoTrasToken, 0, 5, "c=3"},
    {"abc", "", ModoPosicion, 0, 3, int32_t{3}},
    // Letter case is ignored, accented capitals included.
    {"select * from t", " FROM ", ModoPosicion, 0, 1, int32_t{9}},
    {"SELECT DESCRIPCIÓN FROM t", "descripción", ModoPosicion, 0, 1, int32_t{8}},
    // Without options, literals and brackets are searched like the rest.
    {"SELECT 'a FROM b' FROM t", " FROM ", ModoPosicion, 0, 1, int32_t{10}},
    // Skipping literals: single and double quotes, brackets, doubled quotes, "]]", unclosed.
    {"SELECT 'a FROM b' FROM t", " FROM ", ModoPosicion, Literales, 1, int32_t{18}},
    {"SELECT [x FROM y] FROM t", " FROM ", ModoTrasToken, Literales, 1, "t"},
    {"a = \"x;y\"; b", ";", ModoPosicion, Literales, 1, int32_t{10}},
    {"'it''s ; x' ; y", ";", ModoPosicion, Literales, 1, int32_t{13}},
    {"[a]] ; b] ; c", ";", ModoPosicion, Literales, 1, int32_t{11}},
    {"a 'b ; c", ";", ModoContiene, Literales, 1, false},
    {"x' ; '", "' ; '", ModoContiene, Literales, 1, false},
    {"x = 'y'", "= 'y", ModoContiene, Literales, 1, false},
    // Whole words: no word character on either side; only tokens beginning with a letter.
    {"tNombres, Nombre2, Nombre_x, nombre", "NOMBRE", ModoPosicion, Palabra, 1, int32_t{30}},
    {"tNombres, Nombre2, Nombre_x, nombre", "NOMBRE", ModoPosicion, 0, 1, int32_t{2}},
    {"XIIF(a) IIF(b)", "IIF(", ModoPosicion, Palabra, 1, int32_t{9}},
    {"ónombre nombre", "nombre", ModoPosicion, Palabra, 1, int32_t{10}},
    {"a_x", "_x", ModoPosicion, Palabra, 1, int32_t{2}},
    // Both options together.
    {"WHERE 'Nombre' = [Nombre] OR Nombres = Nombre", "nombre", ModoAntesToken, Literales | Palabra, 1,
     "WHERE 'Nombre' = [Nombre] OR Nombres = "},
    {"WHERE 'Nombre' = [Nombre] OR Nombres = Nombre", "nombre", ModoPosicion, Literales | Palabra, 1,
     int32_t{40}},
};

TEST(UtilidadTexto, ExtraerTextoPorModoInicioYOpciones) {
    const auto utilidad = CrearUtilidadTextoPredeterminada();
    for (const auto& c : kExtraer) {
        const Variant obtenido = utilidad->ExtraerTexto(c.texto, c.token, c.modo, c.opciones, c.inicio, 0);
        EXPECT_EQ(obtenido, c.esperado) << c.texto << " / " << c.token << " / modo " << c.modo << " / opciones "
                                        << c.opciones << " / inicio " << c.inicio << " -> " << obtenido.ToString();
    }
}

// Callers search a text, then its beginning (a statement cut at each clause found), then
// another: each search answers for its own text alone.
TEST(UtilidadTexto, ExtraerTextoDeUnTextoQueEmpiezaElAnteriorODeOtro) {
    const auto utilidad = CrearUtilidadTextoPredeterminada();
    const std::string largo = "'" + std::string(20000, ';') + "' ; x";
    const CasoExtraer secuencia[] = {
        {"WHERE a = 'x; y' AND b; c", ";", ModoPosicion, Literales, 1, int32_t{23}},
        {"WHERE a = 'x; y", ";", ModoPosicion, Literales, 1, int32_t{0}},
        {"WHERE a = 'x; y", ";", ModoPosicion, 0, 1, int32_t{13}},
        {"WHERE a =  x; y", ";", ModoPosicion, Literales, 1, int32_t{13}},
        {"WHERE a =  x; y AND Ó", "ó", ModoPosicion, 0, 1, int32_t{21}},
        {"WHERE a =  x; y AND Ó", "ó", ModoPosicion, 0, 1, int32_t{21}},
        {"WHERE a =  x", "X", ModoPosicion, Palabra, 1, int32_t{12}},
        {largo.c_str(), ";", ModoPosicion, Literales, 1, int32_t{20004}},
        {"'a' ; b", ";", ModoPosicion, Literales, 1, int32_t{5}},
    };
    for (const auto& c : secuencia)
        EXPECT_EQ(utilidad->ExtraerTexto(c.texto, c.token, c.modo, c.opciones, c.inicio, 0), c.esperado)
            << std::string(c.texto).substr(0, 40) << " / " << c.token << " / opciones " << c.opciones;
}

struct CasoReemplazar {
    const char* texto;
    const char* buscado;
    const char* reemplazo;
    int32_t cuenta;
    int32_t opciones;
    int32_t inicio;
    const char* esperado;
};

const CasoReemplazar kReemplazar[] = {
    {"a-b-c", "-", "+", -1, 0, 1, "a+b+c"},
    {"a-b-c", "-", "+", 1, 0, 1, "a+b-c"},
    {"a-b-c", "-", "+", 0, 0, 1, "a-b-c"},
    {"a-b-c", "-", "+", -1, 0, 3, "a-b+c"},
    {"a-b-c", "", "+", -1, 0, 1, "a-b-c"},
    // The inserted text is never searched again.
    {"banana", "a", "aa", -1, 0, 1, "baanaanaa"},
    {"aaa", "a", "aa", 2, 0, 1, "aaaaa"},
    {"Select x FROM t from u", "from", "IN", -1, 0, 1, "Select x IN t IN u"},
    // Options, with the count applying to accepted occurrences only.
    {"x = 'x' OR [x] = \"x\" OR x", "x", "y", -1, Literales, 1, "y = 'x' OR [x] = \"x\" OR y"},
    {"a AND ab OR a_ OR ba", "a", "x", -1, Palabra, 1, "x AND ab OR a_ OR ba"},
    {"ab a a", "a", "x", 1, Palabra, 1, "ab x a"},
    {"ISNULL(x) + MYISNULL(y)", "ISNULL(", "IsNull(", -1, Palabra, 1, "IsNull(x) + MYISNULL(y)"},
};

TEST(UtilidadTexto, ReemplazarTextoPorCuentaInicioYOpciones) {
    const auto utilidad = CrearUtilidadTextoPredeterminada();
    for (const auto& c : kReemplazar)
        EXPECT_EQ(utilidad->ReemplazarTexto(c.texto, c.buscado, c.reemplazo, c.cuenta, c.opciones, c.inicio, 0),
                  c.esperado)
            << c.texto << " / " << c.buscado << " -> " << c.reemplazo;
}

TEST(UtilidadTexto, ArgumentosNoValidosFallanConElError5) {
    const auto u = CrearUtilidadTextoPredeterminada();
    const std::function<void()> llamadas[] = {
        [&] { u->ExtraerTexto("abc", "b", 6, 0, 1, 0); }, [&] { u->ExtraerTexto("abc", "b", -1, 0, 1, 0); },
        [&] { u->ExtraerTexto("abc", "b", 0, 0, 0, 0); }, [&] { u->ReemplazarTexto("abc", "b", "c", -1, 0, 0, 0); },
        [&] { u->ReemplazarTexto("abc", "b", "c", -2, 0, 1, 0); }};
    for (const auto& llamada : llamadas) EXPECT_EQ(testsupport::ErrorNumberOf(llamada), ErrorArgumentoNoValido);
}

}  // namespace
