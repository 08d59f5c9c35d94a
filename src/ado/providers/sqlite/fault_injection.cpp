#include "ado/providers/sqlite/fault_injection.h"

#include <atomic>

namespace ado::sqlite::testing {

namespace {

std::atomic<int> remaining{0};
std::atomic<bool> fired{false};

// One more point of failure passed: true at the armed one.
bool Due() {
    if (remaining.load(std::memory_order_relaxed) <= 0) return false;
    if (remaining.fetch_sub(1, std::memory_order_relaxed) != 1) return false;
    fired = true;
    return true;
}

}  // namespace

void FailNth(int n) {
    remaining = n;
    fired = false;
}

bool Fired() { return fired; }

void InstallFaultChecks(sqlite3* db) {
    // The authorizer runs while a statement is prepared: a denial fails the preparation.
    sqlite3_set_authorizer(
        db, [](void*, int, const char*, const char*, const char*, const char*) { return Due() ? SQLITE_DENY : SQLITE_OK; },
        nullptr);
}

bool CommitFails() { return Due(); }

}  // namespace ado::sqlite::testing
