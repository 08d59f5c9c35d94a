// The folder of the running program, where the error manager reports when the client gave
// no host path.
#include <filesystem>

#include "quimera/ObjetoQuimera.h"

namespace quimera {

std::string CarpetaProgramaHost() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

}  // namespace quimera
