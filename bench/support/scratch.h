// Where the benchmarks keep their database files: memory-backed storage when the machine has
// it, so that the disk's flushes (the same on both sides of a ratio, but slow and uneven on a
// shared machine) do not drown the work being compared.
#pragma once

#include <filesystem>
#include <string>

namespace benchsupport {

inline std::filesystem::path ScratchFile(const std::string& name) {
    std::error_code ec;
    const std::filesystem::path shm = "/dev/shm";
    if (std::filesystem::is_directory(shm, ec)) return shm / name;
    return std::filesystem::temp_directory_path() / name;
}

}  // namespace benchsupport
