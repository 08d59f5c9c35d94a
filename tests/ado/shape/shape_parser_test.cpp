// The SHAPE command taken apart: what each form gives, and how malformed and unsupported text fails.
#include <gtest/gtest.h>

#include "ado/Error.h"
#include "ado/providers/shape/shape_command.h"

using namespace ado;
using namespace ado::shape;

namespace {

// A compact picture of a parsed command: source[alias] then each chapter.
std::string Picture(const Shape& s);

std::string Picture(const RowSource& r) {
    switch (r.kind) {
        case RowSource::Kind::Command: return "{" + r.text + "}";
        case RowSource::Kind::Table: return "TABLE<" + r.text + ">";
        case RowSource::Kind::Shape: return "(" + Picture(*r.shape) + ")";
    }
    return {};
}

std::string Picture(const Shape& s) {
    std::string out = Picture(s.parent) + "[" + s.alias + "]";
    for (const Chapter& c : s.chapters) {
        out += " +" + c.name + "=" + Picture(c.child) + "[" + c.childAlias + "]";
        for (const RelatePair& p : c.relation) out += " " + p.parent + "->" + p.child;
    }
    return out;
}

std::string FailureOf(std::string_view text) {
    try {
        ParseShape(text);
    } catch (const Error& e) {
        return std::to_string(e.Number()) + " " + e.Description();
    }
    return "parsed";
}

}  // namespace

TEST(ShapeParser, EachFormGivesItsParts) {
    struct Case {
        std::string_view text;
        std::string_view picture;
    } cases[] = {
        {"SHAPE {SELECT * FROM Clientes} AS Clientes APPEND ({SELECT * FROM Pedidos} AS Pedidos RELATE IdCliente "
         "TO IdCliente) AS Pedidos",
         "{SELECT * FROM Clientes}[Clientes] +Pedidos={SELECT * FROM Pedidos}[Pedidos] IdCliente->IdCliente"},
        // The three-level text the library builds.
        {"SHAPE {SELECT * FROM Clientes} AS Clientes APPEND (( SHAPE {SELECT * FROM Pedidos} AS Pedidos APPEND "
         "({SELECT * FROM Lineas} AS Terciario RELATE IdPedido TO IdPedido) AS Terciario) AS Pedidos RELATE "
         "IdCliente TO IdCliente) AS Pedidos",
         "{SELECT * FROM Clientes}[Clientes] +Pedidos=({SELECT * FROM Pedidos}[Pedidos] +Terciario={SELECT * FROM "
         "Lineas}[Terciario] IdPedido->IdPedido)[Pedidos] IdCliente->IdCliente"},
        // AS is optional; no aliases at all gives ChapterN names.
        {"shape {a} p append ({b} c relate x to y) d", "{a}[p] +d={b}[c] x->y"},
        {"SHAPE {a} APPEND ({b} RELATE x TO y), ({c} RELATE x TO z)", "{a}[] +Chapter1={b}[] x->y +Chapter2={c}[] x->z"},
        {"SHAPE {a} APPEND ({b} RELATE x TO y) AS uno APPEND ({c} RELATE x TO z) AS dos",
         "{a}[] +uno={b}[] x->y +dos={c}[] x->z"},
        {"SHAPE {a} APPEND ({b} RELATE Sucursal TO Sucursal, Cliente TO IdCliente) AS Pedidos",
         "{a}[] +Pedidos={b}[] Sucursal->Sucursal Cliente->IdCliente"},
        {"SHAPE TABLE Clientes APPEND (TABLE [Líneas de pedido] RELATE \"Id Cliente\" TO 'Id ''Cliente''') AS [a]]b]",
         "TABLE<Clientes>[] +a]b=TABLE<Líneas de pedido>[] Id Cliente->Id 'Cliente'"},
        // Braces and quotes inside the provider's text are its own.
        {"SHAPE {SELECT '}' AS c, \"{\" FROM [t}] WHERE {fn UCASE(x)} = 'it''s }'} APPEND ({b} RELATE c TO c)",
         "{SELECT '}' AS c, \"{\" FROM [t}] WHERE {fn UCASE(x)} = 'it''s }'}[] +Chapter1={b}[] c->c"},
        // A nested SHAPE as the parent, names with # and :.
        {"SHAPE (SHAPE {a} APPEND ({b} RELATE k TO k)) AS n APPEND ({c} RELATE Nº#1 TO x:y) AS ch",
         "({a}[] +Chapter1={b}[] k->k)[n] +ch={c}[] Nº#1->x:y"},
    };
    for (const Case& c : cases) EXPECT_EQ(Picture(ParseShape(c.text)), c.picture) << c.text;
}

TEST(ShapeParser, MalformedAndUnsupportedTextFailsNamingThePosition) {
    const std::string syntax = "-2147217900 Error de sintaxis en la instrucción SQL. (SHAPE: se esperaba ";
    const std::string unsupported =
        "3251 El objeto o proveedor no es capaz de realizar la operación solicitada. (SHAPE: ";
    struct Case {
        std::string_view text;
        std::string failure;
    } cases[] = {
        {"SELECT * FROM t", syntax + "«SHAPE» en la posición 1)"},
        {"SHAPE {a} AS p", syntax + "«APPEND» en la posición 15)"},
        {"SHAPE {a} APPEND ({b} RELATE x y)", syntax + "«TO» en la posición 32)"},
        {"SHAPE {a} APPEND ({b} RELATE x TO y", syntax + "«)» en la posición 36)"},
        {"SHAPE {SELECT 'abc} APPEND ({b} RELATE x TO y)", syntax + "«'» en la posición 47)"},
        {"SHAPE {SELECT 1 APPEND", syntax + "«}» en la posición 23)"},
        {"SHAPE {a} APPEND ({b} RELATE x TO y) AS c extra", syntax + "el final de la orden en la posición 43)"},
        {"SHAPE {a} APPEND ({b} RELATE TO y)", syntax + "un campo del padre en la posición 30)"},
        {"SHAPE {ñ} APPEND ({b} RELATE x TO [])", syntax + "un campo del hijo en la posición 35)"},
        {"SHAPE APPEND NEW adInteger AS x", unsupported + "SHAPE sin orden principal, en la posición 7, no se admite)"},
        {"SHAPE {a} COMPUTE b BY c", unsupported + "COMPUTE, en la posición 11, no se admite)"},
        {"SHAPE {a} APPEND ({b} RELATE x TO y), SUM(c.Importe) AS Total",
         unsupported + "el agregado SUM, en la posición 39, no se admite)"},
        {"SHAPE {a} APPEND CALC(x * 2) AS y", unsupported + "CALC, en la posición 18, no se admite)"},
        {"SHAPE {a} APPEND ({SELECT * FROM b WHERE k = ?} RELATE x TO PARAMETER 0)",
         unsupported + "PARAMETER, en la posición 61, no se admite)"},
        {"SHAPE 'ya formado' APPEND ({b} RELATE x TO y)",
         unsupported + "el nombre de un conjunto de registros ya formado, en la posición 7, no se admite)"},
    };
    for (const Case& c : cases) EXPECT_EQ(FailureOf(c.text), c.failure) << c.text;
    // Nesting without end is refused before the stack runs out.
    std::string deep;
    for (int i = 0; i < 100; ++i) deep += "SHAPE (";
    EXPECT_EQ(FailureOf(deep).substr(0, syntax.size()), syntax);
    EXPECT_TRUE(IsShapeCommand("  shape {x}"));
    EXPECT_FALSE(IsShapeCommand("SHAPED {x}"));
    EXPECT_FALSE(IsShapeCommand("SELECT 1"));
}
