// The password options of every subcommand that opens a database:
//   --password P        the password on the command line (other users see it in ps)
//   --password          with no value: asked on the terminal without echo (read as one line
//                       from standard input when that is no terminal)
//   --password-env VAR  taken from the environment variable VAR
#pragma once

#include <string>

namespace CLI {
class App;
}  // namespace CLI

namespace tool {

// Adds the options to `command`; once it is parsed, `password` holds the password they name
// (empty when none). A variable that is not set fails the parse with std::runtime_error.
void AddPasswordOptions(CLI::App& command, std::string& password, const std::string& description);

}  // namespace tool
