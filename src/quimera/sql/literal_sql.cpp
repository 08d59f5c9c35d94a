// Literals of each engine's SQL, as data: one row per dialect, one writer per kind of value.
#include "quimera/sql/LiteralSQL.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include <fmt/format.h>

#include "ado/Enums.h"
#include "ado/Regional.h"
#include "quimera/frame/ErroresEjecucion.h"

namespace quimera::sql {

namespace {

// What the engine does with a backslash inside a quoted text.
enum class Barra : uint8_t {
    Literal,  // nothing: it is a character like any other
    Doblada,  // it escapes: it is written twice
    CadenaE,  // it escapes in E'..' texts, which a text holding one becomes (PostgreSQL)
};

struct Dialecto {
    DialectoSQL dialecto;
    std::string_view strNombreMotor;  // "DBMS Name" starts with it ("" for none)
    std::string_view strPrefijoTexto;
    Barra barra;
    // Patterns over year, month, day, hour, minute, second (fmt's {0} to {5}).
    std::string_view strFecha, strHora, strMarca;
    std::string_view strVerdadero, strFalso;
    std::string_view strAntesBinario, strDespuesBinario;  // around the hexadecimal digits
};

constexpr Dialecto kDialectos[] = {
    {DialectoSQL::Access, "MS Jet", "", Barra::Literal, "#{0:04}-{1:02}-{2:02}#", "#{3:02}:{4:02}:{5:02}#",
     "#{0:04}-{1:02}-{2:02} {3:02}:{4:02}:{5:02}#", "True", "False", "X'", "'"},
    {DialectoSQL::SQLServer, "Microsoft SQL Server", "N", Barra::Literal, "'{0:04}{1:02}{2:02}'",
     "'{3:02}:{4:02}:{5:02}'", "'{0:04}-{1:02}-{2:02}T{3:02}:{4:02}:{5:02}'", "1", "0", "0x", ""},
    {DialectoSQL::PostgreSQL, "PostgreSQL", "", Barra::CadenaE, "DATE '{0:04}-{1:02}-{2:02}'",
     "TIME '{3:02}:{4:02}:{5:02}'", "TIMESTAMP '{0:04}-{1:02}-{2:02} {3:02}:{4:02}:{5:02}'", "TRUE", "FALSE",
     "decode('", "', 'hex')"},
    {DialectoSQL::MySQL, "MySQL", "", Barra::Doblada, "DATE '{0:04}-{1:02}-{2:02}'", "TIME '{3:02}:{4:02}:{5:02}'",
     "TIMESTAMP '{0:04}-{1:02}-{2:02} {3:02}:{4:02}:{5:02}'", "TRUE", "FALSE", "X'", "'"},
    {DialectoSQL::MySQL, "MariaDB", "", Barra::Doblada, "DATE '{0:04}-{1:02}-{2:02}'", "TIME '{3:02}:{4:02}:{5:02}'",
     "TIMESTAMP '{0:04}-{1:02}-{2:02} {3:02}:{4:02}:{5:02}'", "TRUE", "FALSE", "X'", "'"},
    {DialectoSQL::Oracle, "Oracle", "", Barra::Literal, "DATE '{0:04}-{1:02}-{2:02}'",
     "TIMESTAMP '{0:04}-{1:02}-{2:02} {3:02}:{4:02}:{5:02}'", "TIMESTAMP '{0:04}-{1:02}-{2:02} {3:02}:{4:02}:{5:02}'",
     "1", "0", "HEXTORAW('", "')"},
    {DialectoSQL::ODBC, "", "", Barra::Literal, "{{d '{0:04}-{1:02}-{2:02}'}}", "{{t '{3:02}:{4:02}:{5:02}'}}",
     "{{ts '{0:04}-{1:02}-{2:02} {3:02}:{4:02}:{5:02}'}}", "1", "0", "X'", "'"},
};

const Dialecto& FilaDe(DialectoSQL dialecto) {
    for (const Dialecto& d : kDialectos)
        if (d.dialecto == dialecto) return d;
    return kDialectos[std::size(kDialectos) - 1];
}

// What a value of each ADO type is written as.
enum class Clase : uint8_t { Texto, Entero, Real, Moneda, Decimal, Booleano, Fecha, Hora, Marca, Binario };

struct TipoADO {
    int32_t numDataType;
    Clase clase;
};

constexpr TipoADO kTipos[] = {
    {ado::adBSTR, Clase::Texto},          {ado::adGUID, Clase::Texto},          {ado::adChar, Clase::Texto},
    {ado::adWChar, Clase::Texto},         {ado::adVarChar, Clase::Texto},       {ado::adLongVarChar, Clase::Texto},
    {ado::adVarWChar, Clase::Texto},      {ado::adLongVarWChar, Clase::Texto},  {ado::adSmallInt, Clase::Entero},
    {ado::adInteger, Clase::Entero},      {ado::adTinyInt, Clase::Entero},      {ado::adUnsignedTinyInt, Clase::Entero},
    {ado::adUnsignedSmallInt, Clase::Entero}, {ado::adUnsignedInt, Clase::Entero}, {ado::adBigInt, Clase::Entero},
    {ado::adUnsignedBigInt, Clase::Entero}, {ado::adSingle, Clase::Real},       {ado::adDouble, Clase::Real},
    {ado::adCurrency, Clase::Moneda},     {ado::adDecimal, Clase::Decimal},     {ado::adNumeric, Clase::Decimal},
    {ado::adVarNumeric, Clase::Decimal},  {ado::adBoolean, Clase::Booleano},    {ado::adDBDate, Clase::Fecha},
    {ado::adDBTime, Clase::Hora},         {ado::adDate, Clase::Marca},          {ado::adDBTimeStamp, Clase::Marca},
    {ado::adBinary, Clase::Binario},      {ado::adVarBinary, Clase::Binario},   {ado::adLongVarBinary, Clase::Binario},
};

// A type outside the table: the value's own kind decides.
Clase ClaseDelValor(const ado::Variant& v) {
    switch (v.Type()) {
        case ado::VariantType::String: return Clase::Texto;
        case ado::VariantType::Bool: return Clase::Booleano;
        case ado::VariantType::I2:
        case ado::VariantType::I4:
        case ado::VariantType::I8: return Clase::Entero;
        case ado::VariantType::R4:
        case ado::VariantType::R8: return Clase::Real;
        case ado::VariantType::Currency: return Clase::Moneda;
        case ado::VariantType::Decimal: return Clase::Decimal;
        case ado::VariantType::Date: return Clase::Marca;
        case ado::VariantType::Binary: return Clase::Binario;
        default: throw frame::ErrorEjecucion(frame::ErrorTiposIncompatibles);
    }
}

Clase ClaseDe(const ado::Variant& v, int32_t numDataType) {
    const auto tipo = std::ranges::find(kTipos, numDataType, &TipoADO::numDataType);
    return tipo == std::end(kTipos) ? ClaseDelValor(v) : tipo->clase;
}

// SQL's own number form: the invariant settings (a decimal point; numbers never carry a
// thousands separator), whatever the process's are.
const ado::RegionalSettings& FormaSQL() {
    static const ado::RegionalSettings forma;
    return forma;
}

std::string Numero(const ado::Variant& varValor, ado::VariantType tipo) {
    const ado::Variant v = varValor.Type() == tipo ? varValor : varValor.ConvertTo(tipo);
    if ((tipo == ado::VariantType::R8 && !std::isfinite(v.AsR8())))
        throw frame::ErrorEjecucion(frame::ErrorDesbordamiento);
    const std::string texto = v.ToString(FormaSQL());
    // "- -1" must not read as the start of a comment.
    return texto.starts_with('-') ? "(" + texto + ")" : texto;
}

// A value given for a text parameter, as text: numbers in SQL's form, booleans as 1 and 0.
std::string TextoDe(const ado::Variant& v) {
    if (v.Type() == ado::VariantType::Bool) return v.AsBool() ? "1" : "0";
    if (v.IsNumeric()) return v.ToString(FormaSQL());
    return v.ToString();
}

std::string Entrecomillado(const Dialecto& d, const std::string& texto) {
    if (texto.find('\0') != std::string::npos) throw frame::ErrorEjecucion(frame::ErrorLlamadaNoValida);
    const bool barras = texto.find('\\') != std::string::npos;
    std::string literal(d.strPrefijoTexto);
    if (d.barra == Barra::CadenaE && barras) literal += 'E';
    literal += '\'';
    for (char c : texto) {
        if (c == '\'' || (c == '\\' && d.barra != Barra::Literal)) literal += c;
        literal += c;
    }
    return literal + '\'';
}

std::string Momento(std::string_view patron, const ado::Variant& v) {
    const ado::DateParts f = ado::SplitDate(v.ToDate());
    return fmt::format(fmt::runtime(patron), f.year, f.month, f.day, f.hour, f.minute, f.second);
}

std::string Binario(const Dialecto& d, const ado::Variant& v) {
    const ado::Variant bytes = v.Type() == ado::VariantType::Binary ? v : v.ConvertTo(ado::VariantType::Binary);
    std::string literal(d.strAntesBinario);
    for (uint8_t b : bytes.AsBinary()) literal += fmt::format("{:02X}", b);
    return literal += d.strDespuesBinario;
}

}  // namespace

DialectoSQL DialectoDe(ado::Connection& objConexion) {
    const ado::Property* nombre = objConexion.Properties().Find("DBMS Name");
    const std::string motor = nombre && nombre->Value().IsText() ? nombre->Value().AsString() : std::string();
    for (const Dialecto& d : kDialectos)
        if (!d.strNombreMotor.empty() && motor.starts_with(d.strNombreMotor)) return d.dialecto;
    return DialectoSQL::ODBC;
}

std::string LiteralSQL(DialectoSQL dialecto, const ado::Variant& varValor, int32_t numDataType) {
    if (varValor.IsNull() || varValor.IsEmpty()) return "NULL";
    const Dialecto& d = FilaDe(dialecto);
    switch (ClaseDe(varValor, numDataType)) {
        case Clase::Texto: return Entrecomillado(d, TextoDe(varValor));
        case Clase::Entero: return Numero(varValor, ado::VariantType::I8);
        case Clase::Real: return Numero(varValor, ado::VariantType::R8);
        case Clase::Moneda: return Numero(varValor, ado::VariantType::Currency);
        case Clase::Decimal: return Numero(varValor, ado::VariantType::Decimal);
        case Clase::Booleano:
            return std::string(varValor.ConvertTo(ado::VariantType::Bool).AsBool() ? d.strVerdadero : d.strFalso);
        case Clase::Fecha: return Momento(d.strFecha, varValor);
        case Clase::Hora: return Momento(d.strHora, varValor);
        case Clase::Marca: return Momento(d.strMarca, varValor);
        case Clase::Binario: return Binario(d, varValor);
    }
    return "NULL";
}

}  // namespace quimera::sql
