// A temporary folder for one test, removed with everything in it when the test ends.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <stdlib.h>

namespace testsupport {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "brezal-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
}

inline TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

// Every byte of a file, as it is on disk.
inline std::string FileBytes(const std::filesystem::path& file) {
    std::ostringstream out;
    out << std::ifstream(file, std::ios::binary).rdbuf();
    return out.str();
}

// The names in a folder, sorted, besides the databases' own files: each ".db", its lock file
// (".ldb") and the engine's write-ahead log beside it ("-wal", "-shm").
inline std::vector<std::string> FilesBesideDatabases(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        const std::string name = e.path().filename().string();
        const bool own = name.ends_with(".db") || name.ends_with(".ldb") || name.ends_with(".db-wal") ||
                         name.ends_with(".db-shm");
        if (!own) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace testsupport
