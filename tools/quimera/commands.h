// The subcommands of the quimera tool.
#pragma once

#include <string>

namespace tool {

struct SqlOptions {
    std::string file;
    std::string statement;
    std::string password;
};
int RunSql(const SqlOptions& options);

struct DemoOptions {
    std::string folder;
};
int RunDemo(const DemoOptions& options);

// The connection string of an embedded database file.
std::string EmbeddedConnectionString(const std::string& file, const std::string& password);

}  // namespace tool
