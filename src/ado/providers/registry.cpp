// The providers linked into the library, in the order they are asked.
#include <memory>

#include "ado/provider.h"
#include "ado/providers/shape/shape_provider.h"
#include "ado/providers/sqlite/sqlite_provider.h"
#ifdef BREZAL_WITH_ODBC
#include "ado/providers/odbc/odbc_provider.h"
#endif

namespace ado::provider {

namespace {
using Factory = std::unique_ptr<Provider> (*)();
constexpr Factory kBuiltIn[] = {
    [] { return std::unique_ptr<Provider>(std::make_unique<sqlite::SqliteProvider>()); },
#ifdef BREZAL_WITH_ODBC
    [] { return std::unique_ptr<Provider>(std::make_unique<odbc::OdbcProvider>()); },
#endif
    [] { return std::unique_ptr<Provider>(std::make_unique<shape::ShapeProvider>()); },
};
}  // namespace

Provider* FindProvider(std::string_view providerName) {
    // Built once: providers are stateless factories of sessions.
    static const std::vector<std::unique_ptr<Provider>> providers = [] {
        std::vector<std::unique_ptr<Provider>> v;
        for (Factory f : kBuiltIn) v.push_back(f());
        return v;
    }();
    for (const auto& p : providers)
        if (p->Serves(providerName)) return p.get();
    return nullptr;
}

}  // namespace ado::provider
