#include "ado/cursor/row_store.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace ado::cursor {

namespace {

// Payload width a column starts with: 8 where its values need it (reals, dates, money).
uint8_t WidthFor(DataTypeEnum type) {
    switch (type) {
        case adSingle: case adDouble: case adCurrency: case adBigInt: case adUnsignedInt: case adDate:
        case adDBDate: case adDBTime: case adDBTimeStamp: case adFileTime: return 8;
        default: return 4;
    }
}

// Texts and binaries sit in the arena behind a header: the room they may grow into, then
// their length, both little-endian base 128 and of the same width, so that a new length
// within the room rewrites the header in place.
size_t LebWidth(uint64_t v) {
    size_t w = 1;
    while (v >>= 7) ++w;
    return w;
}

void PutLeb(char* p, uint64_t v, size_t width) {
    for (size_t k = 0; k < width; ++k, v >>= 7)
        p[k] = static_cast<char>((v & 0x7F) | (k + 1 < width ? 0x80 : 0));
}

uint64_t GetLeb(const char*& p) {
    uint64_t v = 0;
    for (unsigned shift = 0;; shift += 7) {
        const auto byte = static_cast<uint8_t>(*p++);
        v |= uint64_t{byte & 0x7Fu} << shift;
        if (!(byte & 0x80)) return v;
    }
}

struct Placed {
    const char* bytes;
    uint64_t length, room;
    size_t width;  // of each number of the header
};

Placed ReadHeader(const char* p) {
    const auto first = static_cast<uint8_t>(p[0]);
    if (first < 0x80) return {p + 2, static_cast<uint8_t>(p[1]), first, 1};  // the common short text
    const char* q = p;
    const uint64_t room = GetLeb(q);
    const size_t width = static_cast<size_t>(q - p);
    const uint64_t length = GetLeb(q);
    return {q, length, room, width};
}

// The bytes of a text or binary value.
std::string_view BytesOf(const Variant& v) {
    if (v.Type() == VariantType::String) return v.AsString();
    const Binary& b = v.AsBinary();
    return {reinterpret_cast<const char*>(b.data()), b.size()};
}

}  // namespace

void RowStore::Lane::Widen() {
    const size_t rows = payload.size() / 4;
    PodBuffer<uint8_t> wide;
    wide.Reserve(std::max(payload.capacity() * 2, size_t{64}));
    for (size_t r = 0; r < rows; ++r) {
        int32_t v;
        std::memcpy(&v, payload.data() + r * 4, 4);
        const int64_t w = v;
        wide.Append(reinterpret_cast<const uint8_t*>(&w), 8);
    }
    payload = std::move(wide);
    width = 8;
}

RowStore::RowStore(std::vector<ColumnInfo> columns) : columns_(std::move(columns)) { SyncLanes(); }

RowStore::Lane RowStore::NewLane(const ColumnInfo& info, const Variant& fill) {
    Lane lane;
    lane.width = WidthFor(info.type);
    lane.tags.Reserve(RowCount());
    for (size_t r = 0; r < RowCount(); ++r) {
        const auto [tag, bits] = Encode(fill);  // each row its own bytes, as edits rewrite them in place
        lane.Append(tag, bits);
    }
    return lane;
}

// Columns set through Columns() before the first row get their lanes here.
void RowStore::SyncLanes() {
    while (lanes_.size() < columns_.size()) lanes_.push_back(NewLane(columns_[lanes_.size()], Variant(Variant::Null)));
    lanes_.resize(columns_.size());
}

void RowStore::Reserve(size_t rows, size_t textBytes) {
    SyncLanes();
    for (Lane& lane : lanes_) {
        lane.tags.Reserve(rows);
        lane.payload.Reserve(rows * lane.width);
    }
    rowFlags_.reserve(rows);
    arena_.Reserve(textBytes);
}

void RowStore::ShrinkToFit() {
    for (Lane& lane : lanes_) {
        lane.tags.ShrinkToFit();
        lane.payload.ShrinkToFit();
    }
    rowFlags_.shrink_to_fit();
    arena_.ShrinkToFit();
}

void RowStore::SettleLastRow() {
    if (lanes_.size() != columns_.size()) SyncLanes();
    while (putColumn_ != 0 && putColumn_ < lanes_.size()) PutNull();
    putColumn_ = 0;
}

RowId RowStore::AddNullRow() {
    const RowId row = BeginRow();
    for (Lane& lane : lanes_) lane.Append(Tag::Null, 0);
    return row;
}

uint64_t RowStore::Place(std::string_view bytes) {
    const size_t n = bytes.size();
    const size_t width = LebWidth(n);
    const uint64_t offset = arena_.size();
    // The bytes may be the arena's own (a value copied from another row), which growing it moves.
    const char* from = bytes.data();
    const bool own = from >= arena_.data() && from < arena_.data() + arena_.size();
    const size_t ownAt = own ? static_cast<size_t>(from - arena_.data()) : 0;
    char* to = arena_.Extend(2 * width + n + 1);
    if (own) from = arena_.data() + ownAt;
    PutLeb(to, n, width);  // the room: the bytes' own length
    PutLeb(to + width, n, width);
    if (n) std::memcpy(to + 2 * width, from, n);
    to[2 * width + n] = '\0';
    return offset;
}

std::pair<RowStore::Tag, uint64_t> RowStore::EncodeOther(const Variant& v) {
    switch (v.Type()) {
        case VariantType::String: return {Tag::Text, Place(BytesOf(v))};
        case VariantType::Binary: return {Tag::Blob, Place(BytesOf(v))};
        default:
            boxed_.push_back(v);
            return {Tag::Boxed, boxed_.size() - 1};
    }
}

void RowStore::PutVariant(const Variant& v) {
    const auto [tag, bits] = Encode(v);
    PutFixed(tag, bits);
}

void RowStore::ReadLongPlaced(const char* p, Cell& c) {
    const Placed placed = ReadHeader(p);
    c.bytes = placed.bytes;
    c.length = placed.length;
}

void RowStore::Set(RowId row, size_t column, const Variant& v) {
    Lane& lane = lanes_[column];
    Tag tag;
    uint64_t bits;
    if (!EncodeFixed(v, tag, bits)) {
        if (RewriteInPlace(lane, row, v)) return;
        std::tie(tag, bits) = EncodeOther(v);
    }
    lane.tags[row] = tag;
    lane.Store(row, bits);
}

// A text or binary that fits where the old one was goes there: a row edited again and again
// does not grow the arena. No two cells share bytes, so nothing else sees it.
bool RowStore::RewriteInPlace(Lane& lane, RowId row, const Variant& v) {
    const Tag old = lane.tags[row];
    if (!(v.Type() == VariantType::String && old == Tag::Text) && !(v.Type() == VariantType::Binary && old == Tag::Blob))
        return false;
    const std::string_view bytes = BytesOf(v);
    const uint64_t offset = lane.Payload(row);
    const Placed placed = ReadHeader(arena_.data() + offset);
    if (bytes.size() > placed.room) return false;
    char* at = arena_.data() + offset;
    PutLeb(at + placed.width, bytes.size(), placed.width);
    if (!bytes.empty()) std::memcpy(at + 2 * placed.width, bytes.data(), bytes.size());
    at[2 * placed.width + bytes.size()] = '\0';
    return true;
}

namespace {

bool IsTextType(DataTypeEnum type) {
    switch (type) {
        case adVarWChar: case adWChar: case adVarChar: case adChar: case adLongVarWChar: case adLongVarChar:
        case adBSTR: return true;
        default: return false;
    }
}

// A whole number of an integer column. One beyond the column type's range (a computation
// that overflowed it) goes in the next type that holds it, as Access's Variant arithmetic
// does (Integer to Long, Long to Double): never cut to its low bits.
Variant WholeNumber(DataTypeEnum type, int64_t i) {
    const bool small = type == adTinyInt || type == adUnsignedTinyInt || type == adSmallInt;
    if (small && i >= INT16_MIN && i <= INT16_MAX) return Variant(static_cast<int16_t>(i));
    if (i >= INT32_MIN && i <= INT32_MAX) return Variant(static_cast<int32_t>(i));
    return Variant(static_cast<double>(i));
}

Variant IntegerAs(DataTypeEnum type, int64_t i) {
    switch (type) {
        case adBoolean: return Variant(i != 0);
        case adTinyInt:
        case adUnsignedTinyInt:
        case adSmallInt:
        case adInteger:
        case adUnsignedSmallInt: return WholeNumber(type, i);
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
    for (Lane& lane : lanes_) {
        lane.tags.Clear();
        lane.payload.Clear();
    }
    putColumn_ = 0;
    rowFlags_.clear();
    arena_.Clear();
    boxed_.clear();
}

Variant RowStore::Get(RowId row, size_t column) const {
    const Cell c = CellAt(row, column);
    const DataTypeEnum type = columns_[column].type;
    switch (c.tag) {
        case Tag::Null: return Variant(Variant::Null);
        case Tag::Empty: return Variant();
        case Tag::Bool: return type == adBoolean || type == adVariant ? Variant(c.i != 0) : IntegerAs(type, c.i);
        case Tag::Int: return IntegerAs(type, c.i);
        case Tag::Real: return RealAs(type, c.d);
        case Tag::Currency: return Variant(Currency{c.i});
        case Tag::Date: return Variant(Date{c.d});
        case Tag::Text: return Variant(std::string(c.bytes, c.length));
        case Tag::Blob: {
            const auto* p = reinterpret_cast<const uint8_t*>(c.bytes);
            return Variant(Binary(p, p + c.length));
        }
        case Tag::Boxed: return boxed_[c.boxed];
    }
    return Variant();
}

std::vector<Variant> RowStore::Row(RowId row) const {
    std::vector<Variant> values(columns_.size());
    for (size_t c = 0; c < columns_.size(); ++c) values[c] = Get(row, c);
    return values;
}

void RowStore::InsertColumn(size_t at, ColumnInfo info, const Variant& fill) {
    SyncLanes();
    Lane lane = NewLane(info, fill);
    columns_.insert(columns_.begin() + static_cast<ptrdiff_t>(at), std::move(info));
    lanes_.insert(lanes_.begin() + static_cast<ptrdiff_t>(at), std::move(lane));
}

void RowStore::RemoveColumn(size_t column) {
    SyncLanes();
    columns_.erase(columns_.begin() + static_cast<ptrdiff_t>(column));
    lanes_.erase(lanes_.begin() + static_cast<ptrdiff_t>(column));
}

size_t RowStore::MemoryBytes() const {
    size_t bytes = rowFlags_.capacity() + arena_.capacity() + boxed_.capacity() * sizeof(Variant);
    for (const Lane& lane : lanes_) bytes += lane.tags.capacity() + lane.payload.capacity();
    return bytes;
}

}  // namespace ado::cursor
