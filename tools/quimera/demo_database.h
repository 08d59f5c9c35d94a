// The demo's sample business database: customers, orders, order lines and counters.
#pragma once

#include <string>

#include "ado/Connection.h"

namespace tool {

struct DemoDatabaseSize {
    int customers = 60;
    int orders = 240;
};

// Creates the file (which must not exist) and fills it; returns an open client-side connection.
ado::ConnectionPtr CreateDemoDatabase(const std::string& file, const std::string& password = "",
                                      DemoDatabaseSize size = {});

}  // namespace tool
