#include "ado/providers/sqlite/file_use_lock.h"

#include <cerrno>
#include <cstring>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "ado/error_numbers.h"
#include "ado/providers/sqlite/file_access.h"

namespace ado::sqlite {

FileUseLock::FileUseLock(const std::string& databasePath, bool exclusive, bool readOnly) {
    fd_ = OpenLockFile(databasePath);
    if (fd_ < 0) {
        // Read-only media, or a reader in a folder it may not write: nobody writes through it.
        if (errno == EROFS || (readOnly && errno == EACCES)) return;
        Raise(Condition::PermissionDenied, "(no se puede usar el archivo de bloqueo '" + databasePath + ".ldb': " +
                                               std::strerror(errno) + ")");
    }
    // A session closing at this moment releases its lock within a moment: wait a little.
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (::flock(fd_, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) return;
        if (errno != EWOULDBLOCK && errno != EINTR) return;  // no locking there: unguarded
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ::close(fd_);
    fd_ = -1;
    Raise(Condition::ExclusiveUse, "'" + databasePath + "'");
}

FileUseLock::~FileUseLock() {
    if (fd_ >= 0) ::close(fd_);
}

FileUseLock::FileUseLock(FileUseLock&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

FileUseLock& FileUseLock::operator=(FileUseLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

}  // namespace ado::sqlite
