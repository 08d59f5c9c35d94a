#include "ado/providers/sqlite/database_copy.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ado/error_numbers.h"
#include "ado/providers/sqlite/engine_statement.h"
#include "ado/providers/sqlite/sqlite_errors.h"

namespace ado::sqlite {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void RaiseSystem(std::string_view what, const fs::path& path, int error) {
    Raise(Condition::General, "(" + std::string(what) + " '" + path.string() + "': " + std::strerror(error) + ")");
}

// Flushes a file or folder to the disk, so a rename never publishes unwritten data.
void Sync(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) RaiseSystem("no se puede abrir", path, errno);
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (rc != 0) RaiseSystem("no se puede escribir", path, error);
}

fs::path FolderOf(const fs::path& file) { return file.has_parent_path() ? file.parent_path() : fs::path("."); }

int32_t PragmaValue(sqlite3* db, const std::string& pragma) { return static_cast<int32_t>(QueryInteger(db, pragma)); }

void Exec(sqlite3* db, const std::string& sql) {
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) ThrowEngineError(db);
}

// A symbolic link is replaced through: the file it names takes the copy, the link stays.
fs::path ResolvedTarget(const fs::path& target) {
    std::error_code ec;
    if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
    const fs::path resolved = fs::canonical(target, ec);
    return ec ? target : resolved;
}

// The copy takes the replaced file's mode, group and owner (the owner only where this
// process may give it), so that replacing a file never changes who may use it.
void KeepOwnership(int fd, const fs::path& replaced) {
    struct stat st {};
    if (::stat(replaced.c_str(), &st) != 0) return;
    if (::fchmod(fd, st.st_mode & 07777) != 0) RaiseSystem("no se pueden copiar los permisos de", replaced, errno);
    if (::fchown(fd, st.st_uid, st.st_gid) != 0 && ::fchown(fd, static_cast<uid_t>(-1), st.st_gid) != 0) {
        // Neither owner nor group may be given: the copy keeps this user's, as any new file.
    }
}

}  // namespace

DatabaseCopy::DatabaseCopy(const fs::path& target) : target_(ResolvedTarget(target)) {
    std::string pattern = (FolderOf(target_) / ("." + target_.filename().string() + ".brezal-XXXXXX")).string();
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd_ < 0) RaiseSystem("no se puede crear la copia en", FolderOf(target_), errno);
    path_ = pattern;
    // Held while this process lives: a later open removes the copy only once it is dead.
    ::flock(fd_, LOCK_EX);
}

DatabaseCopy::~DatabaseCopy() {
    if (!placed_) {
        std::error_code ec;
        fs::remove(path_, ec);
        fs::remove(path_.string() + "-journal", ec);
    }
    ::close(fd_);
}

void DatabaseCopy::Fill(sqlite3* db, const std::string& key, int32_t engineType) {
    const int32_t userVersion = PragmaValue(db, "PRAGMA main.user_version");
    RunOwn(db, "ATTACH DATABASE ?1 AS brezal_copia KEY ?2", {path_.string(), key});

    struct Detach {
        sqlite3* db;
        bool done = false;
        ~Detach() {
            if (!done) sqlite3_exec(db, "DETACH DATABASE brezal_copia", nullptr, nullptr, nullptr);
        }
    } detach{db};
    Exec(db, "SELECT sqlcipher_export('brezal_copia')");
    // The export copies schema and rows, not the header's values.
    Exec(db, "PRAGMA brezal_copia.user_version = " + std::to_string(userVersion) +
                 "; PRAGMA brezal_copia.application_id = " + std::to_string(engineType));
    detach.done = true;
    Exec(db, "DETACH DATABASE brezal_copia");
    Sync(path_);
}

void DatabaseCopy::Replace() {
    KeepOwnership(fd_, target_);
    if (::rename(path_.c_str(), target_.c_str()) != 0) RaiseSystem("no se puede reemplazar", target_, errno);
    placed_ = true;
    Sync(FolderOf(target_));
}

void DatabaseCopy::PlaceNew() {
    // A hard link never overwrites: a file that appeared meanwhile is kept.
    if (::link(path_.c_str(), target_.c_str()) != 0) {
        if (errno == EEXIST) Raise(Condition::General, "(ya existe el archivo de destino '" + target_.string() + "')");
        RaiseSystem("no se puede crear", target_, errno);
    }
    placed_ = true;
    std::error_code ec;
    fs::remove(path_, ec);
    Sync(FolderOf(target_));
}

int32_t RecordedEngineType(sqlite3* db) { return PragmaValue(db, "PRAGMA main.application_id"); }

void ReplaceKey(sqlite3* db, const fs::path& path, const std::string& key) {
    DatabaseCopy copy(path);
    copy.Fill(db, key, RecordedEngineType(db));
    copy.Replace();
}

}  // namespace ado::sqlite
