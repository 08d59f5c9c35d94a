#include "ado/providers/odbc/statement_cache.h"

namespace ado::odbc {

PreparedStatement& StatementCache::Get(SQLHDBC dbc, const std::string& sql, const ErrorContext& context) {
    if (auto it = entries_.find(sql); it != entries_.end()) {
        ages_.splice(ages_.begin(), ages_, it->second.age);
        SQLFreeStmt(it->second.statement->stmt.get(), SQL_CLOSE);
        return *it->second.statement;
    }
    SQLHANDLE h = SQL_NULL_HANDLE;
    Check(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &h), SQL_HANDLE_DBC, dbc, context);
    auto prepared = std::make_unique<PreparedStatement>();
    prepared->stmt = Handle(SQL_HANDLE_STMT, h);
    WString text = ToUtf16(sql);
    CheckStmt(SQLPrepareW(h, text.data(), static_cast<SQLINTEGER>(text.size())), h, context, OperationOf(sql));
    if (entries_.size() >= capacity_) {
        entries_.erase(ages_.back());
        ages_.pop_back();
    }
    ages_.push_front(sql);
    PreparedStatement& ref = *prepared;
    entries_.emplace(sql, Entry{std::move(prepared), ages_.begin()});
    return ref;
}

void StatementCache::Clear() {
    entries_.clear();
    ages_.clear();
}

}  // namespace ado::odbc
