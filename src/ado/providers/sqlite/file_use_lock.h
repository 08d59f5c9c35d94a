// Who uses a database file, as the Access engine's .ldb lock file tells it: every session
// holds a shared lock on "<file>.ldb" for its whole life, an exclusive session an exclusive
// one. So an exclusive open is refused while any other connection has the file open, idle
// or not, and any open is refused while an exclusive session holds it. The lock file is
// left in place: removing it could let two sessions lock different files.
#pragma once

#include <string>

namespace ado::sqlite {

class FileUseLock {
public:
    FileUseLock() = default;
    // Takes the lock or fails with the exclusive-use error (3260). A lock file that cannot be
    // opened for writing fails with the permission error (3051), except on read-only media
    // and for a read-only session that may not create it: the file is then unguarded, as
    // Access leaves it.
    FileUseLock(const std::string& databasePath, bool exclusive, bool readOnly);
    ~FileUseLock();
    FileUseLock(FileUseLock&& other) noexcept;
    FileUseLock& operator=(FileUseLock&& other) noexcept;
    FileUseLock(const FileUseLock&) = delete;
    FileUseLock& operator=(const FileUseLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace ado::sqlite
