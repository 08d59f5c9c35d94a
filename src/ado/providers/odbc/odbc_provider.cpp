#include "ado/providers/odbc/odbc_provider.h"

#include <charconv>

#include "ado/error_numbers.h"
#include "ado/providers/odbc/connection_strings.h"
#include "ado/providers/odbc/odbc_session.h"

namespace ado::odbc {

bool OdbcProvider::Serves(std::string_view providerName) const { return FamilyOf(providerName).has_value(); }

std::unique_ptr<provider::Session> OdbcProvider::Open(const provider::OpenRequest& request) {
    provider::OpenRequest r = request;
    switch (*FamilyOf(request.providerName)) {
        case Family::Unavailable:
            Raise(Condition::ProviderNotFound, "'" + request.providerName + "' (no hay controlador ODBC para él)");
        case Family::Odbc:
            return std::make_unique<OdbcSession>(OdbcConnectionString(r.settings, r.user, r.password), r,
                                                 ErrorContext{"Microsoft OLE DB Provider for ODBC Drivers", false});
        case Family::SqlServer: {
            // The OLE DB provider's own time limit for logging in, when the string gives one.
            for (std::string_view key : {"Connect Timeout", "Connection Timeout"})
                if (auto v = r.settings.Get(key))
                    std::from_chars(v->data(), v->data() + v->size(), r.connectionTimeout);
            return std::make_unique<OdbcSession>(
                SqlServerConnectionString(r.settings, SqlServerDriver(), r.user, r.password), r,
                ErrorContext{"Microsoft OLE DB Provider for SQL Server", true});
        }
    }
    return nullptr;
}

}  // namespace ado::odbc
