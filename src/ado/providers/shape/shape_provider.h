// MSDataShape: hierarchical recordsets over another provider, the data provider named by the
// "Data Provider" property ("none" for none). Statements that are not SHAPE commands, writes,
// locks and transactions go to the data provider's session unchanged.
#pragma once

#include "ado/provider.h"

namespace ado::shape {

class ShapeProvider : public provider::Provider {
public:
    bool Serves(std::string_view providerName) const override;
    std::unique_ptr<provider::Session> Open(const provider::OpenRequest& request) override;
};

}  // namespace ado::shape
