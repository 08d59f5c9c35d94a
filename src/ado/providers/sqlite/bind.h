// Binding Variants to the embedded engine's statement parameters.
#pragma once

#include <vector>

#include <sqlcipher/sqlite3.h>

#include "ado/Variant.h"

namespace ado::sqlite {

// Dates go in as ISO text, booleans as -1/0, Currency and Decimal as numbers.
// With `copy` false the value must outlive the statement's next step (no copy is made).
void BindVariant(sqlite3_stmt* stmt, int index, const Variant& value, bool copy = true);
void BindParameters(sqlite3_stmt* stmt, const std::vector<Variant>& values);

}  // namespace ado::sqlite
