#include "ado/Catalog.h"

#include "ado/connection_string.h"
#include "ado/error_numbers.h"
#include "ado/provider.h"

namespace ado {

void provider::Provider::Create(const OpenRequest&) { Raise(Condition::NotSupported); }

void CreateDatabase(std::string_view connectionString) {
    provider::OpenRequest request;
    request.settings = ConnectionString::Parse(connectionString);
    request.providerName = request.settings.GetOr("Provider", "Microsoft.Jet.OLEDB.4.0");
    provider::Provider* p = provider::FindProvider(request.providerName);
    if (!p) Raise(Condition::ProviderNotFound, request.providerName);
    p->Create(request);
}

}  // namespace ado
