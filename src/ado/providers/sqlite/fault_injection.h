// Faults injected by tests into the embedded engine's work: after FailNth(n), the n-th
// statement preparation or commit from then on fails, as a full disk or a failing device
// would make it fail, so that tests can walk every point of an operation. Off by default
// (n = 0); one process-wide count, for tests that run on one thread.
#pragma once

#include <sqlcipher/sqlite3.h>

namespace ado::sqlite::testing {

// Arms the count (0 disarms it).
void FailNth(int n);
// Whether the armed fault has fired since FailNth.
bool Fired();

// Installs the checks on a connection of the engine (done for every session's file).
void InstallFaultChecks(sqlite3* db);
// Called where a commit is about to happen: true when this one is to fail.
bool CommitFails();

}  // namespace ado::sqlite::testing
