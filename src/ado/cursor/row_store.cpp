#include "ado/cursor/row_store.h"

#include <algorithm>
#include <cstring>

namespace ado::cursor {

RowStore::RowStore(std::vector<ColumnInfo> columns) : columns_(std::move(columns)) {}

void RowStore::Reserve(size_t rows, size_t textBytes) {
    cells_.Reserve(rows * columns_.size());
    rowFlags_.reserve(rows);
    arena_.Reserve(textBytes);
}

RowId RowStore::BeginRow() {
    rowFlags_.push_back(0);
    return static_cast<RowId>(rowFlags_.size() - 1);
}

namespace {

// The bytes of a text or binary value.
std::string_view BytesOf(const Variant& v) {
    if (v.Type() == VariantType::String) return v.AsString();
    const Binary& b = v.AsBinary();
    return {reinterpret_cast<const char*>(b.data()), b.size()};
}

}  // namespace

void RowStore::Place(Cell& c, std::string_view bytes) {
    c.offset = arena_.size();
    c.length = static_cast<uint32_t>(bytes.size());
    arena_.Append(bytes.data(), bytes.size());
}

void RowStore::PutBytes(Tag t, const void* p, size_t n) { Place(Push(t), {static_cast<const char*>(p), n}); }

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
        case VariantType::String: c.tag = Tag::Text; Place(c, BytesOf(v)); break;
        case VariantType::Binary: c.tag = Tag::Blob; Place(c, BytesOf(v)); break;
        default:
            c.tag = Tag::Boxed;
            c.offset = boxed_.size();
            boxed_.push_back(v);
            break;
    }
    return c;
}

void RowStore::PutVariant(const Variant& v) { cells_.PushBack(Encode(v)); }

void RowStore::Set(RowId row, size_t column, const Variant& v) {
    Cell& cell = cells_[row * columns_.size() + column];
    // A text or binary that fits where the old one was goes there: a row edited again and
    // again does not grow the arena. No two cells share bytes, so nothing else sees it.
    if ((v.Type() == VariantType::String && cell.tag == Tag::Text) ||
        (v.Type() == VariantType::Binary && cell.tag == Tag::Blob)) {
        const std::string_view bytes = BytesOf(v);
        const size_t room = size_t{cell.length} + cell.slack;
        if (bytes.size() <= room) {
            if (!bytes.empty()) std::memcpy(arena_.data() + cell.offset, bytes.data(), bytes.size());
            cell.length = static_cast<uint32_t>(bytes.size());
            cell.slack = static_cast<uint16_t>(std::min<size_t>(room - bytes.size(), UINT16_MAX));
            return;
        }
    }
    cell = Encode(v);
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
        case adDBTimeStamp:
        case adFileTime: return Variant(Date{static_cast<double>(i)});
        case adNumeric:
        case adDecimal:
        case adVarNumeric:
        case adUnsignedBigInt: return Variant(i).ConvertTo(VariantType::Decimal);
        default: return IsTextType(type) ? Variant(i).ConvertTo(VariantType::String) : Variant(i);
    }
}

Variant RealAs(DataTypeEnum type, double d) {
    switch (type) {
        case adSingle: return Variant(static_cast<float>(d));
        case adCurrency: return Variant(d).ConvertTo(VariantType::Currency);
        case adNumeric:
        case adDecimal:
        case adVarNumeric:
        case adUnsignedBigInt: return Variant(d).ConvertTo(VariantType::Decimal);
        case adDate:
        case adDBDate:
        case adDBTime:
        case adDBTimeStamp:
        case adFileTime: return Variant(Date{d});
        default: return IsTextType(type) ? Variant(d).ConvertTo(VariantType::String) : Variant(d);
    }
}

}  // namespace

void RowStore::Clear() {
    cells_.Clear();
    rowFlags_.clear();
    arena_.Clear();
    boxed_.clear();
}

Variant RowStore::Get(RowId row, size_t column) const {
    const Cell& c = CellAt(row, column);
    const DataTypeEnum type = columns_[column].type;
    switch (c.tag) {
        case Tag::Null: return Variant(Variant::Null);
        case Tag::Empty: return Variant();
        case Tag::Bool: return type == adBoolean || type == adVariant ? Variant(c.i != 0) : IntegerAs(type, c.i);
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

std::vector<Variant> RowStore::Row(RowId row) const {
    std::vector<Variant> values(columns_.size());
    for (size_t c = 0; c < columns_.size(); ++c) values[c] = Get(row, c);
    return values;
}

void RowStore::InsertColumn(size_t at, ColumnInfo info, const Variant& fill) {
    const size_t oldWidth = columns_.size();
    columns_.insert(columns_.begin() + static_cast<ptrdiff_t>(at), std::move(info));
    PodBuffer<Cell> cells;
    cells.Reserve(RowCount() * columns_.size());
    for (size_t r = 0; r < RowCount(); ++r) {
        cells.Append(cells_.data() + r * oldWidth, at);
        cells.PushBack(Encode(fill));
        cells.Append(cells_.data() + r * oldWidth + at, oldWidth - at);
    }
    cells_ = std::move(cells);
}

void RowStore::RemoveColumn(size_t column) {
    const size_t oldWidth = columns_.size();
    columns_.erase(columns_.begin() + static_cast<ptrdiff_t>(column));
    PodBuffer<Cell> cells;
    cells.Reserve(RowCount() * columns_.size());
    for (size_t i = 0; i < cells_.size(); ++i)
        if (i % oldWidth != column) cells.PushBack(cells_[i]);
    cells_ = std::move(cells);
}

size_t RowStore::MemoryBytes() const {
    return cells_.capacity() * sizeof(Cell) + rowFlags_.capacity() + arena_.capacity() +
           boxed_.capacity() * sizeof(Variant);
}

}  // namespace ado::cursor
