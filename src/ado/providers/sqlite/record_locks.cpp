#include "ado/providers/sqlite/record_locks.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

#include "ado/error_numbers.h"
#include "ado/providers/sqlite/file_access.h"
#include "ado/providers/sqlite/sqlite_errors.h"

namespace ado::sqlite {

namespace {

constexpr uint64_t kEditorsBase = uint64_t{1} << 40;
constexpr uint64_t kWritersBase = uint64_t{1} << 41;
constexpr uint64_t kTableMask = (uint64_t{1} << 40) - 1;
constexpr uint64_t kRecordBase = uint64_t{1} << 62;
constexpr uint64_t kRecordSpan = (uint64_t{1} << 62) - 2;  // the last byte's end stays within off_t

uint64_t Fnv1a(std::string_view text, uint64_t h = 14695981039346656037ull) {
    for (char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ull;
    }
    return h;
}

// SplitMix64's finaliser: every input bit reaches every output bit.
uint64_t Mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

uint64_t RecordOffset(uint64_t hash) { return kRecordBase + hash % kRecordSpan; }

// Runs `attempt` until it succeeds or `waitMs` has passed, sleeping a little longer each time.
template <class Attempt>
bool Await(int32_t waitMs, Attempt&& attempt) {
    if (attempt()) return true;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(waitMs, 0));
    auto pause = std::chrono::milliseconds(2);
    while (Clock::now() < deadline) {
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - Clock::now()));
        if (attempt()) return true;
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
    return false;
}

[[noreturn]] void Conflict() { throw MakeError(Condition::LockConflict, {}, kEngineSource); }

}  // namespace

RecordLocks::RecordLocks(std::string databasePath) : databasePath_(std::move(databasePath)) {}

RecordLocks::~RecordLocks() {
    if (fd_ >= 0) ::close(fd_);  // every lock of this open goes with it
}

int RecordLocks::Fd() {
    if (fd_ < 0 && !unavailable_) {
        fd_ = OpenLockFile(databasePath_);
        unavailable_ = fd_ < 0;
    }
    return fd_;
}

bool RecordLocks::Set(uint64_t offset, short type) {
    if (Fd() < 0) return true;
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = static_cast<off_t>(offset);
    lock.l_len = 1;
    lock.l_pid = 0;  // required of open-file-description locks
    for (;;) {
        if (::fcntl(fd_, F_OFD_SETLK, &lock) == 0) return true;
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EACCES) return false;
        // No such locks on this file system: records stay unguarded.
        unavailable_ = true;
        return true;
    }
}

void RecordLocks::Clear(uint64_t offset) {
    if (fd_ < 0) return;
    struct flock lock {};
    lock.l_type = F_UNLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = static_cast<off_t>(offset);
    lock.l_len = 1;
    ::fcntl(fd_, F_OFD_SETLK, &lock);
}

bool RecordLocks::HeldByOthers(uint64_t offset) {
    if (Fd() < 0 || unavailable_) return false;
    struct flock lock {};
    lock.l_type = F_WRLCK;  // meets any lock another open holds
    lock.l_whence = SEEK_SET;
    lock.l_start = static_cast<off_t>(offset);
    lock.l_len = 1;
    if (::fcntl(fd_, F_OFD_GETLK, &lock) != 0) return false;
    return lock.l_type != F_UNLCK;
}

RecordLocks::Table& RecordLocks::For(std::string_view table) {
    std::string key(table);
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto it = tables_.find(key);
    if (it == tables_.end()) {
        const uint64_t hash = Fnv1a(key);
        it = tables_.emplace(std::move(key), Table{hash, 0, false}).first;
    }
    return it->second;
}

uint64_t RecordLocks::RecordByIdentity(const Table& table, int64_t rowid) {
    return RecordOffset(Mix(table.hash ^ Mix(static_cast<uint64_t>(rowid))));
}

uint64_t RecordLocks::RecordByKey(const Table& table, std::string_view key) {
    return RecordOffset(Mix(table.hash ^ Fnv1a(key, 0x84222325CBF29CE4ull)));
}

void RecordLocks::TakeAll(std::span<const uint64_t> records, int32_t waitMs) {
    std::vector<uint64_t> taken;
    for (uint64_t r : records) {
        uint32_t& holders = holders_[r];
        if (holders == 0 && !Await(waitMs, [&] { return Set(r, F_WRLCK); })) {
            holders_.erase(r);
            Drop(taken);
            Conflict();
        }
        ++holders;
        taken.push_back(r);
    }
}

void RecordLocks::Drop(std::span<const uint64_t> records) {
    for (uint64_t r : records) {
        const auto it = holders_.find(r);
        if (it == holders_.end()) continue;
        if (--it->second == 0) {
            Clear(r);
            holders_.erase(it);
        }
    }
}

void RecordLocks::Take(std::span<const uint64_t> records, int32_t waitMs) { TakeAll(records, waitMs); }

void RecordLocks::Hold(Table& table, std::span<const uint64_t> records, int32_t waitMs) {
    const uint64_t editors = kEditorsBase + (table.hash & kTableMask);
    const uint64_t writers = kWritersBase + (table.hash & kTableMask);
    const bool first = table.holds == 0;
    if (first) Set(editors, F_RDLCK);  // shared: never refused
    auto undo = [&] {
        if (first) Clear(editors);
    };
    // Writers that went unchecked before this editor showed up finish their transactions first.
    if (!Await(waitMs, [&] { return !HeldByOthers(writers); })) {
        undo();
        Conflict();
    }
    try {
        TakeAll(records, waitMs);
    } catch (...) {
        undo();
        throw;
    }
    ++table.holds;
}

void RecordLocks::Release(Table& table, std::span<const uint64_t> records) {
    Drop(records);
    if (table.holds > 0 && --table.holds == 0) Clear(kEditorsBase + (table.hash & kTableMask));
}

bool RecordLocks::BeginUnchecked(Table& table) {
    const uint64_t writers = kWritersBase + (table.hash & kTableMask);
    Set(writers, F_RDLCK);
    if (HeldByOthers(kEditorsBase + (table.hash & kTableMask))) {
        Clear(writers);
        return false;
    }
    table.unchecked = true;
    unchecked_.push_back(&table);
    return true;
}

void RecordLocks::TransactionEnded() {
    for (Table* t : unchecked_) {
        Clear(kWritersBase + (t->hash & kTableMask));
        t->unchecked = false;
    }
    unchecked_.clear();
}

}  // namespace ado::sqlite
