// Server engines through ODBC: MSDASQL with the driver manager's own connection strings,
// SQLOLEDB and SQLNCLI* with the installed SQL Server driver.
#pragma once

#include "ado/provider.h"

namespace ado::odbc {

class OdbcProvider : public provider::Provider {
public:
    bool Serves(std::string_view providerName) const override;
    std::unique_ptr<provider::Session> Open(const provider::OpenRequest& request) override;
};

}  // namespace ado::odbc
