// Compacting databases, as JRO's JetEngine.CompactDatabase does: through the provider
// that serves the source.
#include "ado/Catalog.h"
#include "ado/connection_string.h"
#include "ado/error_numbers.h"
#include "ado/provider.h"

namespace ado {

namespace {

constexpr std::string_view kEmbeddedProvider = "Microsoft.Jet.OLEDB.4.0";

provider::OpenRequest RequestOf(std::string_view connectionString) {
    provider::OpenRequest request;
    request.settings = ConnectionString::Parse(connectionString);
    request.providerName = request.settings.GetOr("Provider", kEmbeddedProvider);
    request.user = request.settings.GetOr("User ID", "");
    request.password = request.settings.GetOr("Password", "");
    return request;
}

}  // namespace

void provider::Provider::Compact(const OpenRequest&, const OpenRequest&) { Raise(Condition::NotSupported); }

void CompactDatabase(std::string_view sourceConnectionString, std::string_view destinationConnectionString) {
    const provider::OpenRequest source = RequestOf(sourceConnectionString);
    const provider::OpenRequest destination = RequestOf(destinationConnectionString);
    provider::Provider* p = provider::FindProvider(source.providerName);
    if (!p) Raise(Condition::ProviderNotFound, source.providerName);
    // One engine reads and writes: a copy into another provider's format is not a compaction.
    if (!p->Serves(destination.providerName))
        Raise(Condition::NotSupported, "(el destino usa otro proveedor: '" + destination.providerName + "')");
    p->Compact(source, destination);
}

}  // namespace ado
