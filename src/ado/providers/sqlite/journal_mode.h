// How the embedded engine journals the writes to a file.
//
// A writer's connection uses the write-ahead log with synchronous=NORMAL: readers never wait
// for a writer nor a writer for readers, a commit appends to the log instead of flushing a
// journal and the file several times, and a process that dies loses no committed transaction
// (a power cut may lose the last ones, never the file's consistency).
//
// The log lives beside the file ("-wal", "-shm") and needs memory shared by every connection
// on one machine, so:
//  - a file on a network file system keeps the rollback journal;
//  - the last connection to close puts the file back in the rollback journal, so that at
//    rest a database is one file again: copied alone, carried on read-only media, opened
//    by a reader that may not create files beside it;
//  - a session that holds the file exclusively (compaction, a new password) uses the
//    rollback journal, because it replaces the file whole and a log left beside the new file
//    would be replayed into it.
#pragma once

#include <string>

#include <sqlcipher/sqlite3.h>

namespace ado::sqlite {

// Whether the file lies on a file system that other machines share (NFS, SMB, FUSE, ...).
bool IsOnSharedFileSystem(const std::string& path);

// Puts a writer's connection in the write-ahead log where the file allows it, waiting up to
// `waitMs` for readers of a file in the rollback journal; returns whether it did. A file that
// cannot change (a busy one, a shared file system) is left as it is.
bool EnterWriteAheadLog(sqlite3* db, const std::string& path, int waitMs);

// Whether the connection reads and writes the file through the log.
bool UsesWriteAheadLog(sqlite3* db);

// Puts the file back in the rollback journal; false while another connection has the file
// open in the log (it then stays there, for the last one to close).
bool LeaveWriteAheadLog(sqlite3* db);

}  // namespace ado::sqlite
