// Record locks of the embedded engine: one record held by a connection in a pessimistic
// edit, seen by every other connection of any process, without a database transaction.
//
// Each connection opens the database's "<file>.ldb" for itself, read-write, and holds
// open-file-description byte-range locks (F_OFD_SETLK, l_pid 0) on it. Such locks belong to
// the open, not to the process, so two connections of one process conflict as two processes
// do, and every lock goes when the connection closes or its process dies. They are not
// counted, so the connection counts its own holders of each byte. The .ldb's flock (who uses
// the file, FileUseLock) is a separate kind of lock on Linux and does not meet these (on NFS,
// where flock is emulated by byte-range locks, the two would meet: keep databases local).
//
// The bytes, far past any data the file holds:
//  - a record's byte, at 2^62 plus a 62-bit hash of (table, rowid): held exclusively by an
//    editor, and for the length of one statement by a writer that checks records;
//  - a table's "editors" byte E, at 2^40 plus a 40-bit hash of the table: held shared by
//    every connection that holds a record of the table;
//  - a table's "unchecked writers" byte W, at 2^41 plus the same hash: held shared by every
//    connection that writes rows of the table without taking each record's byte.
// Two records (or tables) whose hashes collide only wait for each other (a false 3260, rare).
//
// A write of an update or delete checks once per transaction and table: it takes W shared
// and, when no other connection holds E, writes the table's rows unchecked until its
// transaction ends (TransactionEnded, from the engine's commit and rollback hooks); otherwise
// it lets W go and takes each record's byte for the statement. An editor takes E, then waits
// until no other connection holds W, then takes the record's byte. So a writer that began
// unchecked before an edit has finished its transaction before the edit holds its record,
// and every write that comes later takes the record's byte and meets the editor.
//
// Plain SQL statements run through Execute do not look at record locks: only the cursor's
// row writes (Update, Delete, UpdateBatch) and pessimistic edits do.
//
// A folder where the .ldb cannot be opened, or a file system without these locks, leaves
// records unguarded, as FileUseLock leaves the file.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ado::sqlite {

class RecordLocks {
public:
    explicit RecordLocks(std::string databasePath);
    ~RecordLocks();
    RecordLocks(const RecordLocks&) = delete;
    RecordLocks& operator=(const RecordLocks&) = delete;

    // What the connection holds of one table. References stay valid for the object's life.
    struct Table {
        uint64_t hash = 0;
        uint32_t holds = 0;        // edits of this connection holding records of the table
        bool unchecked = false;    // writing the table's rows unchecked (holds W) until the transaction ends
    };
    Table& For(std::string_view table);

    // The byte of a record: by its rowid, or by its key's text where the table has no rowid.
    static uint64_t RecordByIdentity(const Table& table, int64_t rowid);
    static uint64_t RecordByKey(const Table& table, std::string_view key);

    // An editor's records: held until Release; another connection's hold, or an unchecked
    // writer of the table, is waited for up to `waitMs` and then fails with 3260.
    void Hold(Table& table, std::span<const uint64_t> records, int32_t waitMs);
    void Release(Table& table, std::span<const uint64_t> records);

    // A write of the table's rows: true when it may go unchecked (nobody else edits the table).
    bool WritesUnchecked(Table& table) { return table.unchecked || BeginUnchecked(table); }
    // A checked write's records, for the length of its statement: waits as Hold does.
    void Take(std::span<const uint64_t> records, int32_t waitMs);
    void Drop(std::span<const uint64_t> records);

    // The connection's transaction committed or rolled back: unchecked writing ends.
    void TransactionEnded();

private:
    bool BeginUnchecked(Table& table);
    int Fd();  // the .ldb, opened at the first use; -1 when it cannot be
    // One byte, shared (F_RDLCK) or exclusive (F_WRLCK); false when another open holds it.
    bool Set(uint64_t offset, short type);
    void Clear(uint64_t offset);
    bool HeldByOthers(uint64_t offset);  // any lock of another open on the byte
    // Takes the records not yet held (counting the ones held); all or none, within waitMs.
    void TakeAll(std::span<const uint64_t> records, int32_t waitMs);

    std::string databasePath_;  // the lock file is beside it, "<file>.ldb"
    int fd_ = -1;
    bool unavailable_ = false;
    std::unordered_map<std::string, Table> tables_;  // by lower-case name
    std::unordered_map<uint64_t, uint32_t> holders_;  // record byte -> holders in this connection
    std::vector<Table*> unchecked_;                   // the tables written unchecked in this transaction
};

}  // namespace ado::sqlite
