// Provider names served through ODBC and the ODBC connection string each one opens.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ado/connection_string.h"

namespace ado::odbc {

enum class Family {
    Odbc,         // MSDASQL: the connection string goes to the driver manager as given
    SqlServer,    // SQLOLEDB, SQLNCLI*: OLE DB keywords become the SQL Server driver's
    Unavailable,  // a provider with no driver on this platform (MSDAORA)
};

// The family of a provider name ("SQLOLEDB.1", "msdasql", ...); nullopt if not ours.
std::optional<Family> FamilyOf(std::string_view providerName);

// One ODBC "key=value;" pair, the value in braces when it holds ';', braces or edge spaces.
std::string OdbcPair(std::string_view key, std::string_view value);

// MSDASQL: every key as given except the OLE DB ones: Provider, Data Source (the DSN),
// Initial Catalog (DATABASE), User ID and Password (UID/PWD, from `user` and `password`),
// and Extended Properties, whose text is an ODBC connection string of its own.
std::string OdbcConnectionString(const ConnectionString& settings, std::string_view user, std::string_view password);

// SQLOLEDB / SQLNCLI*: Data Source ("host", "host,port", "host\instance", "tcp:host", "(local)"),
// Initial Catalog, User ID, Password, Network Library, Application Name, Workstation ID,
// Current Language, Integrated Security and encryption, written in the keywords of `driver`:
// FreeTDS's (Server, Port, ClientCharset=UTF-8, ...) or, for any other name, those of
// Microsoft's ODBC Driver for SQL Server (Server=tcp:host,port, Network=DBMSSOCN, ...).
std::string SqlServerConnectionString(const ConnectionString& settings, std::string_view driver, std::string_view user,
                                      std::string_view password);

// The installed SQL Server ODBC driver: BREZAL_SQLSERVER_ODBC_DRIVER, else Debian's FreeTDS.
std::string SqlServerDriver();

}  // namespace ado::odbc
