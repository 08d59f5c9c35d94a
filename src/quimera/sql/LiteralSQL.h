// Values written into SQL text as literals, for the members that put values into a
// statement's text instead of binding them (EjecutarConsulta's text way, and any other).
//
// A literal never ends early and never changes the statement around it: every text type is
// quoted, with the quote doubled inside (and backslashes made plain where the engine reads
// them as escapes); a number is written in SQL's form whatever the regional settings, and a
// text that is no number fails for a numeric type; dates, times and timestamps in each engine's
// own unambiguous form; Null and Empty as NULL.
#pragma once

#include <cstdint>
#include <string>

#include "ado/Connection.h"
#include "ado/Variant.h"

namespace quimera::sql {

// How an engine writes literals.
enum class DialectoSQL : uint8_t {
    Access,      // the embedded engine's Access SQL: #yyyy-mm-dd hh:nn:ss#, True/False, X'..'
    SQLServer,   // N'..', '20240315', '2024-03-15T13:45:00', 1/0, 0x..
    PostgreSQL,  // E'..' where a backslash is in the text, DATE/TIME/TIMESTAMP '..', TRUE/FALSE
    MySQL,       // backslashes doubled, DATE/TIME/TIMESTAMP '..', TRUE/FALSE
    Oracle,      // DATE/TIMESTAMP '..', 1/0, HEXTORAW('..')
    ODBC,        // any other engine: ODBC's escapes {d '..'}, {t '..'}, {ts '..'}
};

// The dialect of the engine behind the connection, by its "DBMS Name" property.
DialectoSQL DialectoDe(ado::Connection& objConexion);

// varValor as a literal of the dialect for a value of ADO type numDataType (DataTypeEnum):
//  - texts (8, 72, 129, 130, 200, 201, 202, 203): the value's text, quoted; a text holding a
//    NUL character fails (5);
//  - numbers (2 to 6, 14, 16 to 21, 131, 139): the value converted to the type's kind (a text
//    read with the regional settings; one that is no number fails, 13), in SQL's form, a
//    negative one in parentheses;
//  - booleans (11), dates (133), times (134), date and time (7, 135), binaries (128, 204, 205):
//    converted likewise and written in the dialect's form (dates to the second);
//  - any other type (adEmpty, adVariant, ...): as the value's own kind.
// Null and Empty are NULL whatever the type.
std::string LiteralSQL(DialectoSQL dialecto, const ado::Variant& varValor, int32_t numDataType);

}  // namespace quimera::sql
