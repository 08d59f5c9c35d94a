#include "ado/providers/sqlite/journal_mode.h"

#include <sys/vfs.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iterator>

namespace ado::sqlite {

namespace {

// statfs's f_type of the file systems whose files other machines open too (linux/magic.h).
constexpr uint32_t kSharedFileSystems[] = {
    0x6969,      // NFS
    0x517B,      // SMB
    0xFF534D42,  // CIFS
    0xFE534D42,  // SMB2
    0x564C,      // NCP
    0x73757245,  // Coda
    0x5346414F,  // AFS
    0x6B414653,  // kAFS
    0x01021997,  // 9P
    0x65735546,  // FUSE (sshfs, GlusterFS, virtiofs...)
    0x00C36400,  // Ceph
    0x7461636F,  // OCFS2
    0x01161970,  // GFS2
    0x0BD00BD0,  // Lustre
    0x47504653,  // GPFS
    0x20030528,  // OrangeFS
    0x786F4256,  // VirtualBox shared folders
};

// The journal mode a pragma leaves, in lower case ("" when the engine refused the change).
std::string RunJournalPragma(sqlite3* db, const char* sql) {
    std::string mode;
    auto keep = [](void* out, int, char** values, char**) {
        if (values[0]) *static_cast<std::string*>(out) = values[0];
        return 0;
    };
    if (sqlite3_exec(db, sql, keep, &mode, nullptr) != SQLITE_OK) return {};
    std::ranges::transform(mode, mode.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return mode;
}

}  // namespace

bool IsOnSharedFileSystem(const std::string& path) {
    struct statfs fs {};
    if (::statfs(path.c_str(), &fs) != 0) return false;
    const auto type = static_cast<uint32_t>(fs.f_type);
    return std::ranges::find(kSharedFileSystems, type) != std::end(kSharedFileSystems);
}

bool EnterWriteAheadLog(sqlite3* db, const std::string& path, int waitMs) {
    if (IsOnSharedFileSystem(path)) {
        LeaveWriteAheadLog(db);  // a log that a local writer left there would be shared unsafely
        return false;
    }
    sqlite3_busy_timeout(db, waitMs);
    const bool inLog = RunJournalPragma(db, "PRAGMA main.journal_mode = WAL") == "wal";
    // The log's own consistency makes the commit's flush unnecessary; the rollback journal
    // keeps the engine's full synchronisation.
    if (inLog) sqlite3_exec(db, "PRAGMA main.synchronous = NORMAL", nullptr, nullptr, nullptr);
    return inLog;
}

bool UsesWriteAheadLog(sqlite3* db) { return RunJournalPragma(db, "PRAGMA main.journal_mode") == "wal"; }

bool LeaveWriteAheadLog(sqlite3* db) {
    // Never waits: a file another connection has open in the log stays there for it.
    sqlite3_busy_timeout(db, 0);
    return RunJournalPragma(db, "PRAGMA main.journal_mode = DELETE") == "delete";
}

}  // namespace ado::sqlite
