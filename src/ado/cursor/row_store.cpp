#include "ado/cursor/row_store.h"

#include <cstring>

namespace ado::cursor {

RowStore::RowStore(std::vector<ColumnInfo> columns) : columns_(std::move(columns)) {}

void RowStore::Reserve(size_t rows) {
    cells_.reserve(rows * columns_.size());
    rowFlags_.reserve(rows);
}

RowId RowStore::BeginRow() {
    rowFlags_.push_back(0);
    return static_cast<RowId>(rowFlags_.size() - 1);
}

void RowStore::PutBytes(Tag t, const void* p, size_t n) {
    Cell& c = Push(t);
    c.offset = arena_.size();
    c.length = static_cast<uint32_t>(n);
    arena_.append(static_cast<const char*>(p), n);
}

RowStore::Cell RowStore::Encode(const Variant& v) {
    Cell c{};
    switch (v.Type()) {
        case VariantType::Null: c.tag = Tag::Null; break;
        case VariantType::Empty: c.tag = Tag::Empty; break;
        case VariantType::Bool: c.tag = Tag::Bool; c.i = v.AsBool() ? -1 : 0; break;
        case VariantType::I2: c.tag = Tag::Int; c.i = v.AsI2(); break;
        case VariantType::I4: c.tag = Tag::Int; c.i = v.AsI4(); break;
        case VariantType::I8: c.tag = Tag::Int; c.i = v.AsI8(); break;
        case VariantType::R4: c.tag = Tag::Real; c.d = v.AsR4(); break;
        case VariantType::R8: c.tag = Tag::Real; c.d = v.AsR8(); break;
        case VariantType::Currency: c.tag = Tag::Currency; c.i = v.AsCurrency().scaled; break;
        case VariantType::Date: c.tag = Tag::Date; c.d = v.AsDate().serial; break;
        case VariantType::String: {
            const std::string& s = v.AsString();
            c.tag = Tag::Text;
            c.offset = arena_.size();
            c.length = static_cast<uint32_t>(s.size());
            arena_.append(s);
            break;
        }
        case VariantType::Binary: {
            const Binary& b = v.AsBinary();
            c.tag = Tag::Blob;
            c.offset = arena_.size();
            c.length = static_cast<uint32_t>(b.size());
            arena_.append(reinterpret_cast<const char*>(b.data()), b.size());
            break;
        }
        default:
            c.tag = Tag::Boxed;
            c.offset = boxed_.size();
            boxed_.push_back(v);
            break;
    }
    return c;
}

void RowStore::PutVariant(const Variant& v) { cells_.push_back(Encode(v)); }

void RowStore::Set(RowId row, size_t column, const Variant& v) {
    cells_[row * columns_.size() + column] = Encode(v);
}

namespace {

bool IsTextType(DataTypeEnum type) {
    switch (type) {
        case adVarWChar: case adWChar: case adVarChar: case adChar: case adLongVarWChar: case adLongVarChar:
        case adBSTR: return true;
        default: return false;
    }
}

Variant IntegerAs(DataTypeEnum type, int64_t i) {
    switch (type) {
        case adBoolean: return Variant(i != 0);
        case adTinyInt:
        case adUnsignedTinyInt:
        case adSmallInt: return Variant(static_cast<int16_t>(i));
        case adInteger:
        case adUnsignedSmallInt: return Variant(static_cast<int32_t>(i));
        case adSingle: return Variant(static_cast<float>(i));
        case adDouble: return Variant(static_cast<double>(i));
        case adCurrency: return Variant(Currency::FromUnits(i));
        case adDate:
        case adDBDate:
        case adDBTime:
        case adDBTimeStamp: return Variant(Date{static_cast<double>(i)});
        case adNumeric:
        case adDecimal:
        case adVarNumeric: return Variant(i).ConvertTo(VariantType::Decimal);
        default: return IsTextType(type) ? Variant(i).ConvertTo(VariantType::String) : Variant(i);
    }
}

Variant RealAs(DataTypeEnum type, double d) {
    switch (type) {
        case adSingle: return Variant(static_cast<float>(d));
        case adCurrency: return Variant(d).ConvertTo(VariantType::Currency);
        case adNumeric:
        case adDecimal:
        case adVarNumeric: return Variant(d).ConvertTo(VariantType::Decimal);
        case adDate:
        case adDBDate:
        case adDBTime:
        case adDBTimeStamp: return Variant(Date{d});
        default: return IsTextType(type) ? Variant(d).ConvertTo(VariantType::String) : Variant(d);
    }
}

}  // namespace

void RowStore::Clear() {
    cells_.clear();
    rowFlags_.clear();
    arena_.clear();
    boxed_.clear();
}

Variant RowStore::Get(RowId row, size_t column) const {
    const Cell& c = CellAt(row, column);
    const DataTypeEnum type = columns_[column].type;
    switch (c.tag) {
        case Tag::Null: return Variant(Variant::Null);
        case Tag::Empty: return Variant();
        case Tag::Bool: return type == adBoolean ? Variant(c.i != 0) : IntegerAs(type, c.i);
        case Tag::Int: return IntegerAs(type, c.i);
        case Tag::Real: return RealAs(type, c.d);
        case Tag::Currency: return Variant(Currency{c.i});
        case Tag::Date: return Variant(Date{c.d});
        case Tag::Text: return Variant(std::string(arena_.data() + c.offset, c.length));
        case Tag::Blob: {
            const auto* p = reinterpret_cast<const uint8_t*>(arena_.data() + c.offset);
            return Variant(Binary(p, p + c.length));
        }
        case Tag::Boxed: return boxed_[c.offset];
    }
    return Variant();
}

void RowStore::AddColumn(ColumnInfo info, const Variant& fill) {
    const size_t oldWidth = columns_.size();
    columns_.push_back(std::move(info));
    std::vector<Cell> cells;
    cells.reserve(RowCount() * columns_.size());
    for (size_t r = 0; r < RowCount(); ++r) {
        cells.insert(cells.end(), cells_.begin() + static_cast<ptrdiff_t>(r * oldWidth),
                     cells_.begin() + static_cast<ptrdiff_t>((r + 1) * oldWidth));
        cells.push_back(Encode(fill));
    }
    cells_ = std::move(cells);
}

void RowStore::RemoveColumn(size_t column) {
    const size_t oldWidth = columns_.size();
    columns_.erase(columns_.begin() + static_cast<ptrdiff_t>(column));
    std::vector<Cell> cells;
    cells.reserve(RowCount() * columns_.size());
    for (size_t i = 0; i < cells_.size(); ++i)
        if (i % oldWidth != column) cells.push_back(cells_[i]);
    cells_ = std::move(cells);
}

size_t RowStore::MemoryBytes() const {
    return cells_.capacity() * sizeof(Cell) + rowFlags_.capacity() + arena_.capacity() +
           boxed_.capacity() * sizeof(Variant);
}

VariantType VariantTypeFor(DataTypeEnum type) {
    switch (type) {
        case adBoolean: return VariantType::Bool;
        case adTinyInt:
        case adUnsignedTinyInt:
        case adSmallInt: return VariantType::I2;
        case adInteger:
        case adUnsignedSmallInt: return VariantType::I4;
        case adBigInt:
        case adUnsignedInt:
        case adUnsignedBigInt: return VariantType::I8;
        case adSingle: return VariantType::R4;
        case adDouble: return VariantType::R8;
        case adCurrency: return VariantType::Currency;
        case adNumeric:
        case adDecimal:
        case adVarNumeric: return VariantType::Decimal;
        case adDate:
        case adDBDate:
        case adDBTime:
        case adDBTimeStamp: return VariantType::Date;
        case adBinary:
        case adVarBinary:
        case adLongVarBinary: return VariantType::Binary;
        case adChapter: return VariantType::Object;
        case adVariant: return VariantType::Empty;
        default: return VariantType::String;
    }
}

}  // namespace ado::cursor
