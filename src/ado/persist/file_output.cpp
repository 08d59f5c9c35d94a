#include "ado/persist/file_output.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "ado/error_numbers.h"

namespace ado::persist {

namespace {

constexpr size_t kBufferBytes = size_t{1} << 20;

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The permissions a new file gets: those of the file it replaces, else 0666 less the umask.
mode_t ModeFor(const std::string& destination) {
    struct stat st {};
    if (stat(destination.c_str(), &st) == 0) return st.st_mode & 07777;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("Umask:", 0) == 0) return 0666 & ~static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    return 0644;
}

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

AtomicFile::AtomicFile(std::string destination) : destination_(std::move(destination)) {
    // A short name, so that it can be made wherever the destination's name can.
    const size_t slash = destination_.rfind('/');
    temporary_ = (slash == std::string::npos ? std::string() : destination_.substr(0, slash + 1)) + ".~brezal.XXXXXX";
    fd_ = mkostemp(temporary_.data(), O_CLOEXEC);
    if (fd_ < 0) {
        temporary_.clear();
        Fail("no se puede crear el archivo temporal");
    }
    buffer_.reserve(kBufferBytes);
}

AtomicFile::~AtomicFile() {
    if (fd_ >= 0) close(fd_);
    if (!committed_ && !temporary_.empty()) unlink(temporary_.c_str());
}

void AtomicFile::Fail(std::string_view what) {
    const std::string reason = std::strerror(errno);
    Raise(Condition::FileWrite, "(" + std::string(what) + " para '" + destination_ + "': " + reason + ")");
}

void AtomicFile::Write(std::string_view bytes) {
    buffer_.append(bytes);
    if (buffer_.size() >= kBufferBytes) Flush();
}

void AtomicFile::Flush() {
    const char* p = buffer_.data();
    size_t left = buffer_.size();
    while (left > 0) {
        const ssize_t n = write(fd_, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) Fail("no se pudo escribir");
        p += n;
        left -= static_cast<size_t>(n);
    }
    buffer_.clear();
}

void AtomicFile::Commit(bool replace) {
    Flush();
    if (fchmod(fd_, ModeFor(destination_)) != 0 || fsync(fd_) != 0) Fail("no se pudo guardar en el disco");
    close(fd_);
    fd_ = -1;
    if (replace) {
        // A file marked read-only is not replaced, whoever runs the program.
        struct stat st {};
        if (stat(destination_.c_str(), &st) == 0 && !(st.st_mode & S_IWUSR))
            Raise(Condition::FileWrite, "(el archivo '" + destination_ + "' es de sólo lectura)");
        if (rename(temporary_.c_str(), destination_.c_str()) != 0) Fail("no se pudo reemplazar el archivo");
    } else if (renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, destination_.c_str(), RENAME_NOREPLACE) != 0) {
        // Filesystems without the exclusive move: a hard link refuses an existing name too.
        if (errno == EEXIST) Raise(Condition::FileExists, "('" + destination_ + "')");
        if (errno != EINVAL || link(temporary_.c_str(), destination_.c_str()) != 0) {
            if (errno == EEXIST) Raise(Condition::FileExists, "('" + destination_ + "')");
            Fail("no se pudo crear el archivo");
        }
        unlink(temporary_.c_str());
    }
    committed_ = true;
    SyncFolder(FolderOf(destination_));
}

}  // namespace ado::persist

