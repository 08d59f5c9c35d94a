// Whether the PostgreSQL server of the test script is there (BREZAL_TEST_PG). Without it a
// server test skips, unless BREZAL_REQUIRE_PG is set (scripts/test sets it): then it fails,
// so that a server that could not start never turns server tests into silent skips.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

namespace testsupport {

inline const char* PgBase() {
    const char* base = std::getenv("BREZAL_TEST_PG");
    return base && *base ? base : nullptr;
}

inline bool PgRequired() {
    const char* required = std::getenv("BREZAL_REQUIRE_PG");
    return required && *required && std::string_view(required) != "0";
}

}  // namespace testsupport

// Leaves the test (skipped, or failed when the server is required) when there is no server.
#define BREZAL_NEEDS_PG()                                                                            \
    do {                                                                                             \
        if (!::testsupport::PgBase()) {                                                              \
            if (::testsupport::PgRequired()) FAIL() << "BREZAL_TEST_PG is not set: the server did not start"; \
            GTEST_SKIP() << "BREZAL_TEST_PG is not set: no PostgreSQL server for this test";         \
        }                                                                                            \
    } while (false)
