// TEMPORARY until the ICU collation lands: the ACCESS collation as ASCII case folding.
#pragma once

#include <string>
#include <string_view>

#include <sqlcipher/sqlite3.h>

namespace ado::sqlite {

void RegisterAccessCollation(sqlite3* db, std::string_view locale);
std::string AccessCollationVersion(std::string_view locale);

}  // namespace ado::sqlite
