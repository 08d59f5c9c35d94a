// What a database file allows before the engine opens it, each refusal with its own error
// naming the file; and the leftovers of copies whose process died.
#pragma once

#include <string>

#include "ado/error_numbers.h"

namespace ado::sqlite {

// Checks that the file at path can be opened in `mode` (ConnectModeEnum): a missing file
// fails with FileNotFound, one that cannot be reached or read with PermissionDenied, one
// that cannot be written when the mode asks for writing with ReadOnlyFile. Returns whether
// the file is to be opened read-only: asked so, or an unspecified mode on a file this
// process may not write (Access then opens it read-only).
bool CheckFileAccess(const std::string& path, int mode);

// Why the engine could not read a file as a database with `key` (empty: none): a plain
// database the engine cannot read, or a file that cannot be a database at all, is
// NotADatabase; anything else is encrypted, and the key is missing or wrong.
Condition UnreadableFileCondition(const std::string& path, const std::string& key);

// Removes the copies (".<file>.brezal-XXXXXX" and their journals) that a process killed
// while compacting or re-encrypting the file left beside it. A copy still being written is
// locked by its process and stays.
void RemoveStaleCopies(const std::string& path);

// Opens (creating it when missing) the lock file "<path>.ldb" for reading and writing, with
// the database's own permission bits, so every user who may write the database may lock
// through it. -1 with errno set when it cannot be opened for writing.
int OpenLockFile(const std::string& databasePath);

}  // namespace ado::sqlite
