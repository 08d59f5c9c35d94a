// Reads an open ODBC result into the cursor engine's row store in blocks of rows: fixed
// buffers bound column-wise (SQL_ATTR_ROW_ARRAY_SIZE), one SQLFetch per block. A value longer
// than its buffer is read whole with SQLGetData (after SQLSetPos inside a block when the driver
// allows it, SQL_GD_BLOCK; otherwise blocks hold one row).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ado/cursor/row_store.h"
#include "ado/providers/odbc/result_columns.h"

namespace ado::odbc {

struct FetchOptions {
    bool narrowUtf8 = false;    // texts as SQL_C_CHAR (the driver's narrow data is UTF-8)
    bool getDataBound = false;  // SQL_GD_BOUND: SQLGetData on bound columns
    bool getDataBlock = false;  // SQL_GD_BLOCK: SQLGetData on any row of a block
};

class ResultReader {
public:
    // Binds the statement's columns; the bindings stay while the reader lives, so a prepared
    // statement can be executed and read again.
    ResultReader(SQLHSTMT stmt, const std::vector<DescribedColumn>& columns, const FetchOptions& options,
                 const ErrorContext& context);
    ~ResultReader();
    ResultReader(const ResultReader&) = delete;
    ResultReader& operator=(const ResultReader&) = delete;

    // Appends every remaining row of the open cursor to `rows`, whose columns are set.
    void ReadAll(cursor::RowStore& rows);
    size_t RowsetSize() const { return rowsetSize_; }

private:
    struct Column;
    void PutCell(Column& c, size_t row, cursor::RowStore& rows);
    void PutWhole(Column& c, size_t row, cursor::RowStore& rows);
    void PutValue(const Column& c, const char* data, size_t bytes, cursor::RowStore& rows);

    SQLHSTMT stmt_;
    const ErrorContext& context_;
    std::vector<Column> columns_;
    size_t rowsetSize_ = 1;
    SQLULEN fetched_ = 0;
    std::vector<SQLUSMALLINT> status_;
    size_t positioned_ = SIZE_MAX;  // the row of the block SQLSetPos last moved to
    std::string scratch_;
};

}  // namespace ado::odbc
