// A real in-memory engine with the Access functions registered, and the value of a
// query's first column written so that its storage type shows: 5, 1.5, 'text', NULL,
// or "error: <message>".
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sqlcipher/sqlite3.h>

#include "ado/Regional.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "support/Checks.h"

namespace dialect_test {

class Engine {
public:
    explicit Engine(const char* path = ":memory:") {
        sqlite3_open(path, &db_);
        ado::sqlite::RegisterAccessFunctions(db_);
    }
    ~Engine() { sqlite3_close(db_); }
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    sqlite3* db() const { return db_; }

    // Runs statements that return nothing; an engine error comes back as its message.
    std::string Exec(const std::string& sql) {
        char* message = nullptr;
        const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message);
        std::string result = rc == SQLITE_OK ? "" : "error: " + std::string(message ? message : "");
        sqlite3_free(message);
        return result;
    }

    // The first column of every row, joined with '|'; texts bound to ?1, ?2...
    std::string Query(const std::string& sql, const std::vector<std::string>& texts = {}) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            return "error: " + std::string(sqlite3_errmsg(db_));
        for (size_t i = 0; i < texts.size(); ++i)
            sqlite3_bind_text(stmt, static_cast<int>(i + 1), texts[i].c_str(), -1, SQLITE_TRANSIENT);
        std::string out;
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            if (!out.empty()) out += "|";
            out += Cell(stmt);
        }
        if (rc != SQLITE_DONE) out = "error: " + std::string(sqlite3_errmsg(db_));
        sqlite3_finalize(stmt);
        return out;
    }

    std::string Eval(const std::string& expression) { return Query("SELECT " + expression); }

private:
    static std::string Cell(sqlite3_stmt* stmt) {
        switch (sqlite3_column_type(stmt, 0)) {
            case SQLITE_NULL: return "NULL";
            case SQLITE_TEXT: return "'" + std::string(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0))) + "'";
            default: return reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        }
    }
    sqlite3* db_ = nullptr;
};

using testsupport::ScopedRegional;

// Evaluates each expression on a fresh engine and compares its written value.
struct EvalCase {
    const char* expression;
    const char* expected;
};
inline void ExpectEvaluations(std::initializer_list<EvalCase> cases) {
    Engine e;
    for (const EvalCase& c : cases) EXPECT_EQ(e.Eval(c.expression), c.expected) << c.expression;
}

}  // namespace dialect_test
