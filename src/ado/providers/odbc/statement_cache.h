// Prepared statements kept for reuse, keyed by their SQL text (row writes, row locks), each
// with its parameter buffers and, once it has returned rows, its bound result reader.
#pragma once

#include <list>
#include <memory>
#include <string>
#include <unordered_map>

#include "ado/providers/odbc/parameters.h"
#include "ado/providers/odbc/result_reader.h"

namespace ado::odbc {

struct PreparedStatement {
    Handle stmt;
    ParameterSet parameters;
    std::vector<DescribedColumn> columns;   // of its result, once read
    std::unique_ptr<ResultReader> reader;
    SQLULEN timeout = 0;                     // SQL_ATTR_QUERY_TIMEOUT now set
};

class StatementCache {
public:
    explicit StatementCache(size_t capacity = 32) : capacity_(capacity) {}

    // The statement prepared on `dbc`, with its cursor closed; prepared on first use.
    PreparedStatement& Get(SQLHDBC dbc, const std::string& sql, const ErrorContext& context);
    void Clear();

private:
    struct Entry {
        std::unique_ptr<PreparedStatement> statement;
        std::list<std::string>::iterator age;
    };
    size_t capacity_;
    std::unordered_map<std::string, Entry> entries_;
    std::list<std::string> ages_;  // most recently used first
};

}  // namespace ado::odbc
