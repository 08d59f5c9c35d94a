// Where the benchmarks keep their database files: the temporary folder, on disk as users'
// files are, or the folder named by BREZAL_BENCH_DIR (/dev/shm, say, to leave the disk's
// own costs out of both sides of a ratio).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace benchsupport {

inline std::filesystem::path ScratchFile(const std::string& name) {
    if (const char* dir = std::getenv("BREZAL_BENCH_DIR"); dir && *dir) return std::filesystem::path(dir) / name;
    return std::filesystem::temp_directory_path() / name;
}

}  // namespace benchsupport
