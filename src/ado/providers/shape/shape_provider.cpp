#include "ado/providers/shape/shape_provider.h"

#include "ado/connection_string.h"
#include "ado/error_numbers.h"
#include "ado/providers/shape/shape_session.h"

namespace ado::shape {

namespace {

constexpr std::string_view kDataProvider = "Data Provider";
constexpr std::string_view kExtendedProperties = "Extended Properties";

// The data provider's own open request: the same settings without the shape provider's,
// and the keys of "Extended Properties" (a database password, for one) as its own.
provider::OpenRequest DataRequest(const provider::OpenRequest& request, const std::string& dataProvider) {
    provider::OpenRequest data = request;
    data.providerName = dataProvider;
    data.settings.Remove(kDataProvider);
    data.settings.Remove(kExtendedProperties);
    data.settings.Set("Provider", dataProvider);
    if (auto extended = request.settings.Get(kExtendedProperties)) {
        const ConnectionString keys = ConnectionString::Parse(*extended);
        for (const auto& [key, value] : keys.Items())
            if (!data.settings.Get(key)) data.settings.Set(key, value);
    }
    return data;
}

}  // namespace

bool ShapeProvider::Serves(std::string_view providerName) const {
    return EqualsNoCase(providerName, "MSDataShape") || EqualsNoCase(providerName, "MSDataShape.1");
}

std::unique_ptr<provider::Session> ShapeProvider::Open(const provider::OpenRequest& request) {
    const std::string dataProvider = request.settings.GetOr(kDataProvider, "");
    if (dataProvider.empty() || EqualsNoCase(dataProvider, "none")) return std::make_unique<ShapeSession>(nullptr);
    provider::Provider* data = Serves(dataProvider) ? nullptr : provider::FindProvider(dataProvider);
    if (!data) Raise(Condition::ProviderNotFound, "(" + dataProvider + ")");
    return std::make_unique<ShapeSession>(data->Open(DataRequest(request, dataProvider)));
}

}  // namespace ado::shape
