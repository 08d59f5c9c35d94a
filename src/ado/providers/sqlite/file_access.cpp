#include "ado/providers/sqlite/file_access.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "ado/Enums.h"

namespace ado::sqlite {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kCopyMark = ".brezal-";
constexpr std::string_view kJournal = "-journal";
constexpr std::string_view kPlainHeader{"SQLite format 3\0", 16};
// Every database file is whole pages of at least this size; an encrypted one is too.
constexpr uintmax_t kSmallestPage = 512;

std::string Named(const std::string& path) { return "'" + path + "'"; }

[[noreturn]] void RaiseFor(Condition c, const std::string& path, int error) {
    Raise(c, Named(path) + " (" + std::strerror(error) + ")");
}

}  // namespace

bool CheckFileAccess(const std::string& path, int mode) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno == EACCES) RaiseFor(Condition::PermissionDenied, path, errno);
        Raise(Condition::FileNotFound, Named(path));
    }
    if (!S_ISREG(st.st_mode)) Raise(Condition::FileNotFound, Named(path));
    if (::access(path.c_str(), R_OK) != 0) RaiseFor(Condition::PermissionDenied, path, errno);
    if (mode == adModeRead) return true;
    if (::access(path.c_str(), W_OK) == 0) return false;
    if (mode == adModeUnknown) return true;
    RaiseFor(Condition::ReadOnlyFile, path, errno);
}

Condition UnreadableFileCondition(const std::string& path, const std::string& key) {
    std::error_code ec;
    const uintmax_t size = fs::file_size(path, ec);
    std::string header(kPlainHeader.size(), '\0');
    std::ifstream(path, std::ios::binary).read(header.data(), static_cast<std::streamsize>(header.size()));
    if (ec || header == kPlainHeader || size < kSmallestPage || size % kSmallestPage != 0)
        return Condition::NotADatabase;
    return key.empty() ? Condition::MissingPassword : Condition::WrongPassword;
}

void RemoveStaleCopies(const std::string& path) {
    const fs::path file(path);
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    const std::string prefix = "." + file.filename().string() + std::string(kCopyMark);
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix) || name.ends_with(kJournal)) continue;
        const int fd = ::open(entry.path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) continue;
        // Its writer holds this lock while it lives.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            std::error_code ignored;
            fs::remove(entry.path().string() + std::string(kJournal), ignored);
            fs::remove(entry.path(), ignored);
        }
        ::close(fd);
    }
}

int OpenLockFile(const std::string& databasePath) {
    const std::string lockPath = databasePath + ".ldb";
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        struct stat st {};
        // The umask does not decide who may lock: whoever may write the database may.
        if (::stat(databasePath.c_str(), &st) == 0) {
            ::fchmod(fd, st.st_mode & 0666);
            if (::fchown(fd, static_cast<uid_t>(-1), st.st_gid) != 0) {
                // Not a member of the database's group: the lock file keeps this user's.
            }
        }
        return fd;
    }
    if (errno != EEXIST) return -1;
    return ::open(lockPath.c_str(), O_RDWR | O_CLOEXEC);
}

}  // namespace ado::sqlite
