#include "ado/Catalog.h"

#include "ado/connection_string.h"
#include "ado/error_numbers.h"
#include "ado/provider.h"

namespace ado {

void provider::Provider::Create(const OpenRequest&) { Raise(Condition::NotSupported); }
bool provider::Provider::Upgrade(const OpenRequest&, int&, int64_t&) { Raise(Condition::NotSupported); }

namespace {

std::pair<provider::Provider*, provider::OpenRequest> ProviderFor(std::string_view connectionString) {
    provider::OpenRequest request;
    request.settings = ConnectionString::Parse(connectionString);
    request.providerName = request.settings.GetOr("Provider", "Microsoft.Jet.OLEDB.4.0");
    provider::Provider* p = provider::FindProvider(request.providerName);
    if (!p) Raise(Condition::ProviderNotFound, request.providerName);
    return {p, std::move(request)};
}

}  // namespace

void CreateDatabase(std::string_view connectionString) {
    auto [p, request] = ProviderFor(connectionString);
    p->Create(request);
}

UpgradeReport UpgradeDatabase(std::string_view connectionString) {
    auto [p, request] = ProviderFor(connectionString);
    UpgradeReport report;
    report.alreadyCurrent = !p->Upgrade(request, report.tables, report.rows);
    return report;
}

}  // namespace ado
