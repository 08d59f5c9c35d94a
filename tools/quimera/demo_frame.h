// The library frame shown by the demo: a library object, an event, a transaction and a
// failure reported into the error manager's log.
#pragma once

#include <filesystem>

namespace tool {

// Works in carpeta: the error manager's log and a small database file go there.
void MostrarMarco(const std::filesystem::path& carpeta);

}  // namespace tool
