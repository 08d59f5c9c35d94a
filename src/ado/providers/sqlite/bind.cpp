#include "ado/providers/sqlite/bind.h"

#include <cstring>

#include "ado/error_numbers.h"
#include "ado/providers/sqlite/dialect/decimal_key.h"
#include "ado/providers/sqlite/dialect/value_types.h"

namespace ado::sqlite {

namespace {

void BindDecimal(sqlite3_stmt* stmt, int index, const Decimal& d) {
    const DecimalKey key = EncodeDecimalKey(d);
    sqlite3_bind_blob(stmt, index, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
}

// A std::string ends in a NUL: bound with length -1 the engine knows it, and does not copy
// the text to terminate it whenever a function reads it (every text column's size check
// does). A text holding a NUL of its own is bound by its length.
void BindText(sqlite3_stmt* stmt, int index, const std::string& s, bool copy) {
    const int length = std::memchr(s.data(), 0, s.size()) ? static_cast<int>(s.size()) : -1;
    sqlite3_bind_text(stmt, index, s.c_str(), length, copy ? SQLITE_TRANSIENT : SQLITE_STATIC);
}

}  // namespace

void BindVariant(sqlite3_stmt* stmt, int index, const Variant& v, bool copy) {
    switch (v.Type()) {
        case VariantType::Empty:
        case VariantType::Null: sqlite3_bind_null(stmt, index); break;
        case VariantType::Bool: sqlite3_bind_int(stmt, index, v.AsBool() ? -1 : 0); break;
        case VariantType::I2: sqlite3_bind_int(stmt, index, v.AsI2()); break;
        case VariantType::I4: sqlite3_bind_int(stmt, index, v.AsI4()); break;
        case VariantType::I8: sqlite3_bind_int64(stmt, index, v.AsI8()); break;
        case VariantType::R8: sqlite3_bind_double(stmt, index, v.AsR8()); break;
        case VariantType::R4: sqlite3_bind_double(stmt, index, v.AsR4()); break;
        case VariantType::Currency: sqlite3_bind_int64(stmt, index, v.AsCurrency().scaled); break;
        case VariantType::Decimal: BindDecimal(stmt, index, v.AsDecimal()); break;
        case VariantType::Date: sqlite3_bind_double(stmt, index, v.AsDate().serial); break;
        case VariantType::String: BindText(stmt, index, v.AsString(), copy); break;
        case VariantType::Binary: {
            const Binary& b = v.AsBinary();
            sqlite3_bind_blob(stmt, index, b.data(), static_cast<int>(b.size()), copy ? SQLITE_TRANSIENT : SQLITE_STATIC);
            break;
        }
        default: Raise(Condition::InvalidArgument, "(un parámetro no admite matrices ni objetos)");
    }
}

void BindCell(sqlite3_stmt* stmt, int index, const cursor::RowStore& store, cursor::RowId row, size_t column) {
    using Tag = cursor::RowStore::Tag;
    const cursor::RowStore::Cell c = store.CellAt(row, column);
    const VariantType kind = cursor::VariantTypeFor(store.Columns()[column].type);
    switch (c.tag) {
        case Tag::Null:
        case Tag::Empty: return (void)sqlite3_bind_null(stmt, index);
        case Tag::Currency: return (void)sqlite3_bind_int64(stmt, index, c.i);
        case Tag::Date: return (void)sqlite3_bind_double(stmt, index, c.d);
        case Tag::Text: {
            // The store ends each text with a NUL; one inside it needs the length.
            const bool inner = std::memchr(c.bytes, 0, c.length) != nullptr;
            return (void)sqlite3_bind_text(stmt, index, c.bytes, inner ? static_cast<int>(c.length) : -1,
                                           SQLITE_STATIC);
        }
        case Tag::Blob:
            return (void)sqlite3_bind_blob(stmt, index, c.bytes, static_cast<int>(c.length), SQLITE_STATIC);
        case Tag::Int:
            // The integer kinds the cell reads as, narrowed as reading narrows them.
            if (kind == VariantType::I4) return (void)sqlite3_bind_int(stmt, index, static_cast<int32_t>(c.i));
            if (kind == VariantType::I2) return (void)sqlite3_bind_int(stmt, index, static_cast<int16_t>(c.i));
            if (kind == VariantType::I8 || kind == VariantType::Empty) return (void)sqlite3_bind_int64(stmt, index, c.i);
            break;
        case Tag::Real:
            if (kind == VariantType::R8 || kind == VariantType::Empty) return (void)sqlite3_bind_double(stmt, index, c.d);
            if (kind == VariantType::R4) return (void)sqlite3_bind_double(stmt, index, static_cast<float>(c.d));
            break;
        default: break;
    }
    // The rest (booleans, conversions to the column's kind, boxed values) as the value reads.
    BindVariant(stmt, index, store.Get(row, column), true);
}

void BindParameter(sqlite3_stmt* stmt, int index, const Variant& v, DataTypeEnum type) {
    using detail::IsDecimalType;
    using detail::IsNumberType;
    using detail::IsTextType;
    if (v.IsNull() || v.IsEmpty()) return (void)sqlite3_bind_null(stmt, index);
    if (type == adCurrency) return (void)sqlite3_bind_int64(stmt, index, v.ToCurrency().scaled);
    if (IsDecimalType(type)) return BindDecimal(stmt, index, v.ToDecimal());
    if (type == adDate) return (void)sqlite3_bind_double(stmt, index, v.ToDate().serial);
    if (type == adBoolean) return (void)sqlite3_bind_int(stmt, index, v.ToBool() ? -1 : 0);
    if (IsTextType(type) && v.Type() != VariantType::String && v.Type() != VariantType::Binary)
        return BindText(stmt, index, v.ToString(), true);
    // A number compared as one: as itself; a text read as a number.
    if (IsNumberType(type) && v.IsText()) return (void)sqlite3_bind_double(stmt, index, v.ToDouble());
    switch (v.Type()) {
        case VariantType::Currency:
        case VariantType::Decimal: return (void)sqlite3_bind_double(stmt, index, v.ToDouble());
        default: return BindVariant(stmt, index, v, true);
    }
}

}  // namespace ado::sqlite
