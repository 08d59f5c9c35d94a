// Fresh copies of an embedded database that take the place of a file.
//
// The engine has no VACUUM INTO, and PRAGMA rekey='' does not decrypt, so compaction and
// password changes both write a new file with sqlcipher_export (compacted, encrypted with
// the key given or plain) and then move it into place with one rename: the file at the
// target is always either the old one or the new one, whole.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include <sqlcipher/sqlite3.h>

namespace ado::sqlite {

// A copy written in the folder of the file it will become, removed unless placed.
class DatabaseCopy {
public:
    // Creates an empty file next to `target` (next to the file it names, when a symbolic
    // link); the folder must exist. The copy is locked while this object lives.
    explicit DatabaseCopy(const std::filesystem::path& target);
    ~DatabaseCopy();
    DatabaseCopy(const DatabaseCopy&) = delete;
    DatabaseCopy& operator=(const DatabaseCopy&) = delete;

    // Writes every object and row of the main database of `db` into the copy, encrypted with
    // `key` (plain when empty). The copy keeps the source's user_version and records
    // `engineType` (the Jet file format asked for) as its application_id.
    void Fill(sqlite3* db, const std::string& key, int32_t engineType);
    // Puts the copy in place of the target, replacing it when it exists; the copy takes the
    // target's mode, group and (where permitted) owner.
    void Replace();
    // Puts the copy at the target; fails, leaving everything as it was, when a file is there.
    void PlaceNew();

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path target_;
    std::filesystem::path path_;
    int fd_ = -1;
    bool placed_ = false;
};

// The Jet engine type recorded in the database open on `db` (0 when none was recorded).
int32_t RecordedEngineType(sqlite3* db);

// Gives the file at `path`, open on `db`, a new key (none when empty): a copy encrypted with
// it replaces the file. `db` stays on the old file; the caller reopens `path` with the key.
void ReplaceKey(sqlite3* db, const std::filesystem::path& path, const std::string& key);

}  // namespace ado::sqlite
