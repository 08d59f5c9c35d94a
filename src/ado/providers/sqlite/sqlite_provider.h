#pragma once

#include "ado/provider.h"

namespace ado::sqlite {

class SqliteProvider : public provider::Provider {
public:
    bool Serves(std::string_view providerName) const override;
    std::unique_ptr<provider::Session> Open(const provider::OpenRequest& request) override;
    void Create(const provider::OpenRequest& request) override;
    void Compact(const provider::OpenRequest& source, const provider::OpenRequest& destination) override;
    bool Upgrade(const provider::OpenRequest& request, int& tables, int64_t& rows) override;
};

}  // namespace ado::sqlite
