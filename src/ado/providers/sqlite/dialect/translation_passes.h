// The passes of the Access SQL translator, run in this order over the statement's tokens
// by TranslateAccessSql (translate.cpp). Each pass is one concern in one file.
#pragma once

#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "ado/providers/sqlite/dialect/sql_tokens.h"

namespace ado::sqlite::detail {

// Removes a leading PARAMETERS ...; declaration into `out.parameters` (parameters_pass.cpp).
void TakeParameterDeclaration(Tokens& t, Translation& out);

// Appends the row identity columns of an eligible SELECT, asking `schema` which sources
// are base tables (row_identity_pass.cpp). Runs on the tokens as written, before the
// rewrites below.
void AddRowIdentity(Tokens& t, Translation& out, RowIdentitySchema& schema);

// Word-level rewrites: DISTINCTROW, TRUE/FALSE/YES/NO, Mod, function names that are
// SQLite keywords, and references to declared parameters (word_pass.cpp).
void RewriteWords(Tokens& t, Translation& out);

// t IN 'file' -> "alias"."t" (external_tables.cpp).
void QualifyExternalTables(Tokens& t, Translation& out);

// SELECT TOP n [PERCENT] -> LIMIT (top_pass.cpp).
void RewriteTop(Tokens& t);

// a & b -> IFNULL(a,'') || IFNULL(b,'') (concat_pass.cpp).
void RewriteConcatenation(Tokens& t);

// Statement forms: DELETE * FROM, SELECT ... INTO, CREATE TABLE with COUNTER, and the
// constructs that are refused (statement_pass.cpp).
void RewriteStatementForms(Tokens& t);

// Whether the first statement yields rows (statement_pass.cpp).
bool FirstStatementReturnsRows(const Tokens& t);

}  // namespace ado::sqlite::detail
