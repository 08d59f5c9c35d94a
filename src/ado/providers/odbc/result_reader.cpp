#include "ado/providers/odbc/result_reader.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "ado/providers/odbc/cell_values.h"

namespace ado::odbc {

namespace {

constexpr size_t kMaxRowset = 1024;
constexpr size_t kBlockBytes = 8 << 20;    // buffer memory per block, all columns together
constexpr SQLULEN kMaxBoundChars = 4000;   // longer or unknown texts get a short buffer ...
constexpr SQLULEN kShortBufferChars = 255;  // ... and are read whole when a value overflows it
constexpr SQLULEN kMaxBoundBytes = 8000;

}  // namespace

struct ResultReader::Column {
    Fetch fetch;
    SQLSMALLINT cType;
    uint8_t scale = 0;  // Numeric: the column's decimals, which values keep
    SQLLEN width;       // bytes per row in the buffer
    SQLLEN capacity;    // value bytes that fit (width less the terminator)
    bool bound = true;  // false: read with SQLGetData row by row
    std::unique_ptr<uint64_t[]> buffer;
    std::vector<SQLLEN> indicators;
    const char* At(size_t row) const { return reinterpret_cast<const char*>(buffer.get()) + row * width; }
};

namespace {

SQLSMALLINT CTypeOf(Fetch f, bool narrowUtf8) {
    switch (f) {
        case Fetch::Integer: return SQL_C_SBIGINT;
        case Fetch::Boolean: return SQL_C_BIT;
        case Fetch::Real: return SQL_C_DOUBLE;
        case Fetch::Numeric:
        case Fetch::Currency: return SQL_C_CHAR;  // digits are ASCII in every encoding
        case Fetch::Timestamp: return SQL_C_TYPE_TIMESTAMP;
        case Fetch::Time: return SQL_C_TYPE_TIME;
        case Fetch::Text: return narrowUtf8 ? SQL_C_CHAR : SQL_C_WCHAR;
        case Fetch::Binary: return SQL_C_BINARY;
    }
    return SQL_C_CHAR;
}

// Buffer bytes per row, and whether values may be longer than that.
SQLLEN WidthOf(const DescribedColumn& d, SQLSMALLINT cType, bool& mayOverflow) {
    mayOverflow = false;
    switch (d.mapping.fetch) {
        case Fetch::Integer: return sizeof(SQLBIGINT);
        case Fetch::Boolean: return sizeof(unsigned char);
        case Fetch::Real: return sizeof(double);
        case Fetch::Timestamp: return sizeof(SQL_TIMESTAMP_STRUCT);
        case Fetch::Time: return sizeof(SQL_TIME_STRUCT);
        case Fetch::Numeric:
        case Fetch::Currency: return static_cast<SQLLEN>(std::clamp<SQLULEN>(d.columnSize, 19, 60) + 4);
        case Fetch::Binary: {
            mayOverflow = d.columnSize == 0 || d.columnSize > kMaxBoundBytes;
            return static_cast<SQLLEN>(mayOverflow ? kShortBufferChars : d.columnSize);
        }
        case Fetch::Text: {
            mayOverflow = d.columnSize == 0 || d.columnSize > kMaxBoundChars;
            const SQLULEN chars = mayOverflow ? kShortBufferChars : d.columnSize;
            // UTF-8 takes up to 4 bytes a character, UTF-16 two units.
            return static_cast<SQLLEN>(cType == SQL_C_CHAR ? chars * 4 + 1 : (chars * 2 + 1) * sizeof(SQLWCHAR));
        }
    }
    return 0;
}

SQLLEN TerminatorOf(SQLSMALLINT cType) {
    return cType == SQL_C_CHAR ? 1 : cType == SQL_C_WCHAR ? static_cast<SQLLEN>(sizeof(SQLWCHAR)) : 0;
}

// Drivers may drop a numeric's trailing zeros ("12.5" for 12.50): the value keeps the column's scale.
Decimal WithScale(Decimal d, uint8_t scale) {
    constexpr unsigned __int128 kLimit = static_cast<unsigned __int128>(1) << 96;
    while (d.scale < scale && d.scale < 28 && d.mantissa * 10 < kLimit) {
        d.mantissa *= 10;
        ++d.scale;
    }
    return d;
}

bool IsVariable(Fetch f) {
    return f == Fetch::Text || f == Fetch::Binary || f == Fetch::Numeric || f == Fetch::Currency;
}

// Reads a column of the current row whole with SQLGetData; false when it is NULL.
bool GetWhole(SQLHSTMT stmt, SQLUSMALLINT number, SQLSMALLINT cType, std::string& out, const ErrorContext& context) {
    out.clear();
    char chunk[16384];
    const size_t room = sizeof chunk - static_cast<size_t>(TerminatorOf(cType));
    for (;;) {
        SQLLEN ind = 0;
        const SQLRETURN rc = SQLGetData(stmt, number, cType, chunk, sizeof chunk, &ind);
        if (rc == SQL_NO_DATA) break;
        CheckStmt(rc, stmt, context);
        if (ind == SQL_NULL_DATA) return false;
        out.append(chunk, ind == SQL_NO_TOTAL || static_cast<size_t>(ind) > room ? room : static_cast<size_t>(ind));
        if (rc == SQL_SUCCESS) break;
    }
    return true;
}

}  // namespace

ResultReader::ResultReader(SQLHSTMT stmt, const std::vector<DescribedColumn>& described, const FetchOptions& options,
                           const ErrorContext& context)
    : stmt_(stmt), context_(context), columns_(described.size()) {
    size_t rowBytes = 0;
    bool anyOverflow = false;
    size_t firstOverflow = SIZE_MAX;
    for (size_t i = 0; i < described.size(); ++i) {
        Column& c = columns_[i];
        c.fetch = described[i].mapping.fetch;
        c.scale = described[i].info.numericScale;
        c.cType = CTypeOf(c.fetch, options.narrowUtf8);
        bool mayOverflow = false;
        c.width = WidthOf(described[i], c.cType, mayOverflow);
        c.capacity = c.width - TerminatorOf(c.cType);
        if (mayOverflow && firstOverflow == SIZE_MAX) firstOverflow = i;
        anyOverflow |= mayOverflow;
        rowBytes += static_cast<size_t>(c.width) + sizeof(SQLLEN);
    }
    // Long values inside a block need SQLGetData on a positioned row; a driver without it
    // reads one row at a time, and without SQL_GD_BOUND leaves long columns unbound.
    const bool blockRefetch = options.getDataBlock && options.getDataBound;
    rowsetSize_ = anyOverflow && !blockRefetch ? 1 : std::clamp<size_t>(kBlockBytes / rowBytes, 1, kMaxRowset);
    for (size_t i = 0; i < columns_.size(); ++i) {
        Column& c = columns_[i];
        c.bound = options.getDataBound || i < firstOverflow;
        if (!c.bound) continue;
        c.buffer.reset(new uint64_t[(static_cast<size_t>(c.width) * rowsetSize_ + 7) / 8]);
        c.indicators.assign(rowsetSize_, 0);
        CheckStmt(SQLBindCol(stmt_, static_cast<SQLUSMALLINT>(i + 1), c.cType, c.buffer.get(), c.width,
                             c.indicators.data()),
                  stmt_, context_);
    }
    status_.assign(rowsetSize_, SQL_ROW_SUCCESS);
    SQLSetStmtAttr(stmt_, SQL_ATTR_ROW_BIND_TYPE, reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0);
    CheckStmt(SQLSetStmtAttr(stmt_, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(rowsetSize_), 0), stmt_,
              context_);
    SQLSetStmtAttr(stmt_, SQL_ATTR_ROWS_FETCHED_PTR, &fetched_, 0);
    SQLSetStmtAttr(stmt_, SQL_ATTR_ROW_STATUS_PTR, status_.data(), 0);
}

ResultReader::~ResultReader() {
    SQLFreeStmt(stmt_, SQL_UNBIND);
    SQLSetStmtAttr(stmt_, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(1), 0);
    SQLSetStmtAttr(stmt_, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
    SQLSetStmtAttr(stmt_, SQL_ATTR_ROW_STATUS_PTR, nullptr, 0);
}

void ResultReader::ReadAll(cursor::RowStore& rows) {
    for (;;) {
        fetched_ = 0;
        const SQLRETURN rc = SQLFetch(stmt_);
        if (rc == SQL_NO_DATA) break;
        CheckStmt(rc, stmt_, context_);
        positioned_ = SIZE_MAX;
        for (size_t r = 0; r < fetched_; ++r) {
            if (status_[r] == SQL_ROW_NOROW) continue;
            if (status_[r] == SQL_ROW_ERROR) ThrowDiagnostics(SQL_HANDLE_STMT, stmt_, context_);
            rows.BeginRow();
            for (Column& c : columns_) {
                if (c.bound) PutCell(c, r, rows);
                else PutWhole(c, r, rows);
            }
        }
    }
    rows.ShrinkToFit();
}

void ResultReader::PutCell(Column& c, size_t row, cursor::RowStore& rows) {
    const SQLLEN ind = c.indicators[row];
    if (ind == SQL_NULL_DATA) return rows.PutNull();
    if (IsVariable(c.fetch) && (ind == SQL_NO_TOTAL || ind > c.capacity)) return PutWhole(c, row, rows);
    const char* p = c.At(row);
    switch (c.fetch) {
        case Fetch::Integer: {
            SQLBIGINT v;
            std::memcpy(&v, p, sizeof v);
            return rows.PutInt(v);
        }
        case Fetch::Boolean: return rows.PutBool(*p != 0);
        case Fetch::Real: {
            double v;
            std::memcpy(&v, p, sizeof v);
            return rows.PutReal(v);
        }
        case Fetch::Timestamp: {
            SQL_TIMESTAMP_STRUCT ts;
            std::memcpy(&ts, p, sizeof ts);
            // Dates the DATE type cannot hold (before year 100, after 9999, infinity) read as Null.
            if (auto serial = TimestampToSerial(ts)) return rows.PutDate(*serial);
            return rows.PutNull();
        }
        case Fetch::Time: {
            SQL_TIME_STRUCT t;
            std::memcpy(&t, p, sizeof t);
            return rows.PutDate(TimeToSerial(t));
        }
        default: return PutValue(c, p, static_cast<size_t>(ind), rows);
    }
}

// A value read with SQLGetData: an unbound column, or a bound one that overflowed its buffer.
void ResultReader::PutWhole(Column& c, size_t row, cursor::RowStore& rows) {
    const auto number = static_cast<SQLUSMALLINT>(&c - columns_.data() + 1);
    if (rowsetSize_ > 1 && positioned_ != row) {
        CheckStmt(SQLSetPos(stmt_, static_cast<SQLSETPOSIROW>(row + 1), SQL_POSITION, SQL_LOCK_NO_CHANGE), stmt_,
                  context_);
        positioned_ = row;
    }
    std::string whole;
    if (!GetWhole(stmt_, number, c.cType, whole, context_)) return rows.PutNull();
    PutValue(c, whole.data(), whole.size(), rows);
}

void ResultReader::PutValue(const Column& c, const char* data, size_t bytes, cursor::RowStore& rows) {
    const std::string_view text(data, bytes);
    switch (c.fetch) {
        case Fetch::Numeric: {
            if (auto d = ParseDecimalText(text)) return rows.PutVariant(Variant(WithScale(*d, c.scale)));
            double v = 0;  // beyond Decimal (or NaN): the nearest double
            if (std::from_chars(data, data + bytes, v).ec == std::errc()) return rows.PutReal(v);
            return rows.PutNull();
        }
        case Fetch::Currency: {
            if (auto scaled = ParseCurrencyText(text)) return rows.PutCurrency(*scaled);
            return rows.PutNull();
        }
        case Fetch::Binary: return rows.PutBlob(data, bytes);
        default:
            if (c.cType == SQL_C_CHAR) return rows.PutText(text);
            scratch_.clear();
            AppendUtf8(reinterpret_cast<const SQLWCHAR*>(data), bytes / sizeof(SQLWCHAR), scratch_);
            return rows.PutText(scratch_);
    }
}

}  // namespace ado::odbc
