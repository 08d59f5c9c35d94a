// Fuzz target: values into SQL text. The input is both a statement and a value: every
// dialect's literal of it must be one quoted text that gives the value back (nothing of it
// can end the quotes early); the placeholders of the statement are replaced by literals in
// one pass; and the Access translator with row identity columns must end with a translation
// or its own syntax error.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ado/Error.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "ado/providers/sqlite/dialect/schema_source.h"
#include "quimera/cursors/MarcasParametro.h"
#include "quimera/sql/LiteralSQL.h"

namespace {

using quimera::sql::DialectoSQL;

constexpr DialectoSQL kDialectos[] = {DialectoSQL::Access, DialectoSQL::SQLServer, DialectoSQL::PostgreSQL,
                                      DialectoSQL::MySQL,  DialectoSQL::Oracle,    DialectoSQL::ODBC};

[[noreturn]] void Falla(const char* que, const std::string& literal) {
    std::fprintf(stderr, "%s: %s\n", que, literal.c_str());
    std::abort();
}

// Reads the quoted text back as the engine would: a doubled quote is one quote, and where
// backslashes escape (MySQL, PostgreSQL's E''), a backslash takes the next character.
std::string Leido(const std::string& literal, bool barras) {
    size_t i = 0;
    while (i < literal.size() && literal[i] != '\'') ++i;  // N or E before the quote
    if (i == literal.size() || literal.back() != '\'' || literal.size() - i < 2) Falla("sin comillas", literal);
    std::string texto;
    for (++i; i + 1 < literal.size(); ++i) {
        const char c = literal[i];
        if (c == '\'') {
            if (literal[i + 1] != '\'') Falla("comilla suelta", literal);
            ++i;
        } else if (c == '\\' && barras) {
            if (i + 2 >= literal.size()) Falla("barra final", literal);
            ++i;
        }
        texto += literal[i];
    }
    return texto;
}

// Every name is a table of the file with one column, so that every source gets its identity column.
class TodasBase final : public ado::sqlite::detail::SchemaSource {
public:
    const ado::sqlite::detail::TableShape* Table(std::string_view, std::string_view, std::string_view) override {
        return &tabla_;
    }

private:
    ado::sqlite::detail::TableShape tabla_{{{"Id", {ado::adInteger}}}};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string texto(reinterpret_cast<const char*>(data), size);
    const bool nulo = texto.find('\0') != std::string::npos;
    for (const DialectoSQL d : kDialectos) {
        try {
            const std::string literal = quimera::sql::LiteralSQL(d, ado::Variant(texto), 202);
            const bool barras = d == DialectoSQL::MySQL || (d == DialectoSQL::PostgreSQL && literal.front() == 'E');
            if (nulo || Leido(literal, barras) != texto) Falla("no devuelve el valor", literal);
        } catch (const ado::Error&) {
            if (!nulo) Falla("rechazado sin carácter nulo", texto);
        }
    }
    try {
        const std::vector<quimera::consultas::Marca> marcas{{"P", ado::Variant(texto), 202}, {"N", ado::Variant(7), 3}};
        (void)quimera::consultas::SustituirMarcas(texto, marcas, DialectoSQL::Access);
    } catch (const ado::Error&) {
        // a text with a NUL character
    }
    try {
        TodasBase esquema;
        (void)ado::sqlite::TranslateAccessSql(texto, esquema, ado::sqlite::RowIdentity::With);
    } catch (const ado::Error&) {
        // the translator's own refusal of malformed text
    }
    return 0;
}
