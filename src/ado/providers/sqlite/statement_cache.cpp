#include "ado/providers/sqlite/statement_cache.h"

#include "ado/providers/sqlite/sqlite_errors.h"

namespace ado::sqlite {

sqlite3_stmt* StatementCache::Get(sqlite3* db, const std::string& sql) {
    if (auto it = entries_.find(sql); it != entries_.end()) {
        ages_.splice(ages_.begin(), ages_, it->second.age);
        sqlite3_reset(it->second.stmt);
        sqlite3_clear_bindings(it->second.stmt);
        return it->second.stmt;
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr) != SQLITE_OK)
        ThrowEngineError(db, KindOf(sql));
    if (entries_.size() >= capacity_) {
        auto oldest = entries_.find(ages_.back());
        sqlite3_finalize(oldest->second.stmt);
        entries_.erase(oldest);
        ages_.pop_back();
    }
    ages_.push_front(sql);
    entries_.emplace(sql, Entry{stmt, ages_.begin()});
    return stmt;
}

void StatementCache::Clear() {
    for (auto& [sql, e] : entries_) sqlite3_finalize(e.stmt);
    entries_.clear();
    ages_.clear();
}

}  // namespace ado::sqlite
