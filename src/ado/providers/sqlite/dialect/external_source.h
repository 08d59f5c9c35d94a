// The external databases Access SQL names by a connect string: "[;DATABASE=C:\datos\otra.mdb]",
// "[MS Access;DATABASE=...;PWD=...]", as a table's prefix or after IN ''. The embedded
// engine reaches database files only: any other source type (Text, Excel, ODBC...) is refused.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ado::sqlite::detail {

// Whether a prefix or an IN name is a connect string (it has a ';').
bool IsConnectString(std::string_view text);

// The database file of a connect string of an Access database; a connect string of another
// source type, or one without DATABASE=, is refused as not supported (3251).
std::string ConnectStringDatabase(std::string_view connect);

// The file an IN clause names: IN 'file', IN '' [connect string], or IN 'file' 'type' with
// the type of an Access database (";" or "MS Access;").
std::string InClauseDatabase(std::string_view path, std::optional<std::string_view> connectOrType);

}  // namespace ado::sqlite::detail
