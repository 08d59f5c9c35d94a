#include "ado/providers/sqlite/result_reader.h"

#include <cmath>
#include <cstdlib>
#include <new>
#include <string>

#include "ado/ErrorNumbers.h"
#include "ado/providers/sqlite/dialect/iso_date.h"
#include "ado/providers/sqlite/dialect/value_text.h"
#include "ado/providers/sqlite/sqlite_errors.h"
#include "ado/providers/sqlite/dialect/decimal_key.h"
#include "ado/providers/sqlite/dialect/declared_types.h"

namespace ado::sqlite {

namespace {

void DescribeBase(sqlite3* db, sqlite3_stmt* stmt, int i, cursor::ColumnInfo& c, MappedType& m) {
    const char* table = sqlite3_column_table_name(stmt, i);
    const char* origin = sqlite3_column_origin_name(stmt, i);
    const char* database = sqlite3_column_database_name(stmt, i);
    if (!table || !origin) return;
    c.baseTable = table;
    c.baseColumn = origin;
    const char* declared = nullptr;
    const char* collation = nullptr;
    int notNull = 0, primaryKey = 0, autoIncrement = 0;
    if (sqlite3_table_column_metadata(db, database, table, origin, &declared, &collation, &notNull, &primaryKey,
                                      &autoIncrement) != SQLITE_OK)
        return;
    c.key = primaryKey != 0;
    if (autoIncrement) m.autoIncrement = true;
    if (!notNull) c.attributes |= adFldIsNullable;
    c.attributes |= adFldUpdatable;
}

}  // namespace

void DescribeColumns(sqlite3* db, sqlite3_stmt* stmt, cursor::RowStore& rows, const std::vector<ResultColumnType>& typed) {
    const int n = sqlite3_column_count(stmt);
    std::vector<cursor::ColumnInfo> columns(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        cursor::ColumnInfo& c = columns[static_cast<size_t>(i)];
        c.name = sqlite3_column_name(stmt, i);
        const char* declared = sqlite3_column_decltype(stmt, i);
        MappedType m = MapDeclaredType(declared ? declared : "");
        if (!declared && static_cast<size_t>(i) < typed.size() && typed[static_cast<size_t>(i)].type != adVariant) {
            const ResultColumnType& t = typed[static_cast<size_t>(i)];
            m = MappedType{t.type, t.size, t.precision, t.scale, false};
        }
        DescribeBase(db, stmt, i, c, m);
        c.type = m.type;
        c.definedSize = m.definedSize;
        c.precision = m.precision;
        c.numericScale = m.scale;
        c.autoIncrement = m.autoIncrement;
        c.attributes |= adFldMayBeNull | adFldUnknownUpdatable;
        if (c.key) c.attributes |= adFldKeyColumn;
        if (IsFixedLength(c.type)) c.attributes |= adFldFixed;
        if (IsLong(c.type)) c.attributes |= adFldLong;
        if (c.autoIncrement) c.attributes &= ~adFldUpdatable;
    }
    rows.Columns() = std::move(columns);
}

namespace {

[[noreturn]] void ThrowOverflow() { throw Error(err::Overflow, "Desbordamiento", kEngineSource); }

// How a stored value becomes a cell, decided once per column from its ADO type.
enum class Reader : uint8_t { Natural, Integer, Boolean, Real, Currency, Decimal, Date, Text, Blob };

Reader ReaderFor(DataTypeEnum t) {
    switch (t) {
        case adSmallInt: case adInteger: case adBigInt: case adUnsignedTinyInt: case adTinyInt: return Reader::Integer;
        case adBoolean: return Reader::Boolean;
        case adSingle: case adDouble: return Reader::Real;
        case adNumeric: case adDecimal: return Reader::Decimal;
        case adCurrency: return Reader::Currency;
        case adDate: case adDBDate: case adDBTime: case adDBTimeStamp: return Reader::Date;
        case adLongVarBinary: case adVarBinary: case adBinary: return Reader::Blob;
        case adVariant: return Reader::Natural;
        default: return Reader::Text;
    }
}

void PutBlobOf(sqlite3_value* v, cursor::RowStore& rows) {
    const size_t n = static_cast<size_t>(sqlite3_value_bytes(v));
    const void* p = sqlite3_value_blob(v);
    if (!p && n > 0) throw std::bad_alloc();
    rows.PutBlob(p, n);
}

// A real the engine computed beyond Double's range (it gives infinity) is Access's overflow.
double FiniteReal(sqlite3_value* v) {
    const double d = sqlite3_value_double(v);
    if (!std::isfinite(d)) ThrowOverflow();
    return d;
}

void PutNatural(sqlite3_value* v, int storage, cursor::RowStore& rows) {
    switch (storage) {
        case SQLITE_INTEGER: rows.PutInt(sqlite3_value_int64(v)); break;
        case SQLITE_FLOAT: rows.PutReal(FiniteReal(v)); break;
        case SQLITE_TEXT: rows.PutText(ValueText(v)); break;
        case SQLITE_BLOB: PutBlobOf(v, rows); break;
        default: rows.PutNull(); break;
    }
}

// Each cell is read through the column's value, looked up once: every sqlite3_column_* call
// would look the column up again. A connection is used by one thread at a time, which is
// what reading such an unprotected value asks.
void PutCell(sqlite3_stmt* stmt, int i, Reader reader, cursor::RowStore& rows) {
    sqlite3_value* v = sqlite3_column_value(stmt, i);
    const int storage = sqlite3_value_type(v);
    if (storage == SQLITE_NULL) return rows.PutNull();
    switch (reader) {
        case Reader::Integer:
            if (storage == SQLITE_INTEGER) return rows.PutInt(sqlite3_value_int64(v));
            break;
        case Reader::Boolean:
            if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT) return rows.PutBool(sqlite3_value_double(v) != 0);
            break;
        case Reader::Real:
            if (storage == SQLITE_FLOAT) return rows.PutReal(FiniteReal(v));
            if (storage == SQLITE_INTEGER) return rows.PutReal(sqlite3_value_double(v));
            break;
        case Reader::Currency:
            // Ten-thousandths, exact. A real here is a computation that left Currency's range.
            if (storage == SQLITE_INTEGER) return rows.PutCurrency(sqlite3_value_int64(v));
            if (storage == SQLITE_FLOAT) ThrowOverflow();
            break;
        case Reader::Decimal:
            // The exact key; a number (a file of another program) as the Decimal nearest it.
            if (storage == SQLITE_BLOB) {
                const auto* p = static_cast<const uint8_t*>(sqlite3_value_blob(v));
                const auto n = static_cast<size_t>(sqlite3_value_bytes(v));
                return rows.PutVariant(Variant(DecodeDecimalKey({p, n})));
            }
            if (storage == SQLITE_INTEGER || storage == SQLITE_FLOAT)
                return rows.PutVariant(Variant(sqlite3_value_double(v)).ConvertTo(VariantType::Decimal));
            break;
        case Reader::Date:
            // The date serial; a text in the date form is read too (files of other programs).
            if (storage == SQLITE_TEXT) {
                if (auto d = ParseIsoDate(ValueText(v))) return rows.PutDate(d->serial);
            } else {
                return rows.PutDate(sqlite3_value_double(v));
            }
            break;
        case Reader::Text:
            if (storage == SQLITE_BLOB) break;
            return rows.PutText(ValueText(v));
        case Reader::Blob:
        case Reader::Natural: break;
    }
    // A value that does not fit the declared type is kept as the engine holds it.
    PutNatural(v, storage, rows);
}

bool IsComputedText(const cursor::ColumnInfo& c) { return c.type == adVarWChar && c.baseTable.empty(); }

// A computed text longer than a text field holds is a memo.
void SettleTextLength(cursor::RowStore& rows, size_t c) {
    cursor::ColumnInfo& info = rows.Columns()[c];
    for (cursor::RowId r = 0; r < rows.RowCount(); ++r) {
        const auto& cell = rows.CellAt(r, c);
        if (cell.tag == cursor::RowStore::Tag::Text && cell.length > 255) {
            info.type = adLongVarWChar;
            info.definedSize = 536870910;
            info.attributes |= adFldLong;
            return;
        }
    }
}

// Computed columns the translator could not type: take the type from the values that came back.
void SettleUntypedColumns(cursor::RowStore& rows) {
    for (size_t c = 0; c < rows.ColumnCount(); ++c) {
        cursor::ColumnInfo& info = rows.Columns()[c];
        if (IsComputedText(info)) SettleTextLength(rows, c);
        if (info.type != adVariant) continue;
        bool anyReal = false, anyText = false, anyBlob = false, wide = false;
        size_t longest = 0;
        for (cursor::RowId r = 0; r < rows.RowCount(); ++r) {
            const auto& cell = rows.CellAt(r, c);
            switch (cell.tag) {
                case cursor::RowStore::Tag::Int: wide |= cell.i > INT32_MAX || cell.i < INT32_MIN; break;
                case cursor::RowStore::Tag::Real: anyReal = true; break;
                case cursor::RowStore::Tag::Text: anyText = true; longest = std::max<size_t>(longest, cell.length); break;
                case cursor::RowStore::Tag::Blob: anyBlob = true; break;
                default: break;
            }
        }
        if (anyBlob) info.type = adLongVarBinary, info.definedSize = 1073741823;
        else if (anyText) {
            info.type = longest > 255 ? adLongVarWChar : adVarWChar;
            info.definedSize = longest > 255 ? 536870910 : 255;
        } else if (anyReal) info.type = adDouble, info.definedSize = 8;
        else if (wide) info.type = adBigInt, info.definedSize = 8;
        else info.type = adInteger, info.definedSize = 4;
        if (info.type != adVarWChar && info.type != adLongVarWChar && info.type != adLongVarBinary)
            info.attributes |= adFldFixed;
    }
}

}  // namespace

Variant ReadValue(sqlite3_stmt* stmt, int column, DataTypeEnum type) {
    cursor::ColumnInfo info;
    info.type = type;
    cursor::RowStore one(std::vector<cursor::ColumnInfo>{info});
    one.BeginRow();
    PutCell(stmt, column, ReaderFor(type), one);
    return one.Get(0, 0);
}

void ReadRows(sqlite3* db, sqlite3_stmt* stmt, int step, cursor::RowStore& rows,
              const std::function<bool(cursor::RowStore&)>& page) {
    constexpr size_t kPageRows = 256;
    const int n = static_cast<int>(rows.ColumnCount());
    std::vector<Reader> readers;
    bool untyped = false;
    for (const auto& c : rows.Columns()) {
        readers.push_back(ReaderFor(c.type));
        untyped |= c.type == adVariant || IsComputedText(c);
    }
    while (step == SQLITE_ROW) {
        rows.BeginRow();
        for (int i = 0; i < n; ++i) PutCell(stmt, i, readers[static_cast<size_t>(i)], rows);
        if (page && rows.RowCount() == kPageRows) {
            if (untyped) SettleUntypedColumns(rows);
            if (!page(rows)) {
                rows.Clear();
                return;
            }
            rows.Clear();
        }
        step = sqlite3_step(stmt);
    }
    if (step != SQLITE_DONE) ThrowEngineError(db);
    if (untyped) SettleUntypedColumns(rows);
    rows.ShrinkToFit();
}

}  // namespace ado::sqlite
