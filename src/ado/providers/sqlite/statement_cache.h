// Prepared statements kept for reuse, keyed by their SQL text (row writes, prepared commands).
#pragma once

#include <list>
#include <string>
#include <unordered_map>

#include <sqlcipher/sqlite3.h>

namespace ado::sqlite {

class StatementCache {
public:
    explicit StatementCache(size_t capacity = 64) : capacity_(capacity) {}
    ~StatementCache() { Clear(); }
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // A reset statement ready for binding; prepared on first use. Engine failures throw.
    sqlite3_stmt* Get(sqlite3* db, const std::string& sql);
    void Clear();

private:
    struct Entry {
        sqlite3_stmt* stmt;
        std::list<std::string>::iterator age;
    };
    size_t capacity_;
    std::unordered_map<std::string, Entry> entries_;
    std::list<std::string> ages_;  // most recently used first
};

}  // namespace ado::sqlite
