// The client cursor engine's row store: every row of a recordset in memory.
//
// Rows are kept column by column: each column has a tag byte per row and a payload of 4 or
// 8 bytes per row (4 until a value needs 8: a wide integer, a real, a date, an offset past
// 4 GiB). Texts and binaries live in one arena, each behind a header of its length and the
// room it may grow into; values that fit no payload (Decimal, arrays, objects) go to a side
// table. A row's id is its position of arrival and never changes, so bookmarks stay valid
// while rows are added, deleted (flagged, not erased) or reordered by a view.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "ado/Variant.h"
#include "ado/cursor/column_info.h"
#include "ado/cursor/pod_buffer.h"

namespace ado::cursor {

using RowId = uint32_t;

class RowStore {
public:
    enum class Tag : uint8_t { Null, Empty, Bool, Int, Real, Currency, Date, Text, Blob, Boxed };

    // One cell as read: valid until the store next changes. A text's or binary's bytes are
    // followed by a NUL (not counted), so a text can go to C interfaces as it is.
    struct Cell {
        Tag tag = Tag::Null;
        size_t length = 0;  // Text and Blob: byte count
        union {
            int64_t i = 0;      // Bool, Int, Currency (scaled)
            double d;           // Real, Date (serial)
            const char* bytes;  // Text and Blob
            size_t boxed;       // Boxed: side-table index
        };
    };

    explicit RowStore(std::vector<ColumnInfo> columns = {});

    const std::vector<ColumnInfo>& Columns() const { return columns_; }
    // Columns may be set or changed freely before the first row is loaded.
    std::vector<ColumnInfo>& Columns() { return columns_; }
    size_t ColumnCount() const { return columns_.size(); }
    size_t RowCount() const { return rowFlags_.size(); }
    // Room for `rows` rows in all, and `textBytes` bytes of texts and binaries.
    void Reserve(size_t rows, size_t textBytes = 0);
    // Gives back the room reserved or grown beyond the rows loaded.
    void ShrinkToFit();
    size_t TextBytes() const { return arena_.size(); }
    // Drops every row, keeping the columns and the memory.
    void Clear();

    // Loading, one row at a time: BeginRow, then one Put... per column in order.
    RowId BeginRow() {
        if (putColumn_ != 0 || lanes_.size() != columns_.size()) [[unlikely]]
            SettleLastRow();
        rowFlags_.push_back(0);
        return static_cast<RowId>(rowFlags_.size() - 1);
    }
    // A whole row of Nulls (a row being added).
    RowId AddNullRow();
    void PutNull() { PutFixed(Tag::Null, 0); }
    void PutInt(int64_t v) { PutFixed(Tag::Int, static_cast<uint64_t>(v)); }
    void PutBool(bool v) { PutFixed(Tag::Bool, v ? ~uint64_t{0} : 0); }
    void PutReal(double v) { PutFixed(Tag::Real, BitsOf(v)); }
    void PutDate(double serial) { PutFixed(Tag::Date, BitsOf(serial)); }
    void PutCurrency(int64_t scaled) { PutFixed(Tag::Currency, static_cast<uint64_t>(scaled)); }
    void PutText(std::string_view s) { PutFixed(Tag::Text, Place(s)); }
    void PutBlob(const void* p, size_t n) { PutFixed(Tag::Blob, Place({static_cast<const char*>(p), n})); }
    void PutVariant(const Variant& v);

    // Reading and writing a cell as a Variant of the column's ADO type.
    Variant Get(RowId row, size_t column) const;
    std::vector<Variant> Row(RowId row) const;  // every column's value
    void Set(RowId row, size_t column, const Variant& v);
    Cell CellAt(RowId row, size_t column) const {
        const Lane& lane = lanes_[column];
        Cell c;
        c.tag = lane.tags[row];
        if (c.tag == Tag::Text || c.tag == Tag::Blob)
            ReadPlaced(lane.Payload(row), c);
        else if (c.tag != Tag::Null && c.tag != Tag::Empty)
            c.i = static_cast<int64_t>(lane.Payload(row));  // the bits of a double alike
        return c;
    }
    Tag TagAt(RowId row, size_t column) const { return lanes_[column].tags[row]; }
    static std::string_view TextAt(const Cell& c) { return {c.bytes, c.length}; }

    // Reshaping (in-memory recordsets): every row gets `fill` in the new column.
    void AddColumn(ColumnInfo info, const Variant& fill) { InsertColumn(columns_.size(), std::move(info), fill); }
    // A new column at index `at`, `fill` in every row.
    void InsertColumn(size_t at, ColumnInfo info, const Variant& fill);
    void RemoveColumn(size_t column);

    // Per-row flags used by editing and batches.
    enum RowFlag : uint8_t { Deleted = 1, New = 2, Modified = 4, Conflict = 8 };
    uint8_t Flags(RowId row) const { return rowFlags_[row]; }
    void SetFlags(RowId row, uint8_t flags) { rowFlags_[row] = flags; }

    size_t MemoryBytes() const;

private:
    // One column's cells: a tag and a payload of `width` bytes per row.
    struct Lane {
        PodBuffer<Tag> tags;
        PodBuffer<uint8_t> payload;
        uint8_t width = 4;

        // Whether `bits`, read back as 4 bytes widened with their sign, give `bits` again.
        static bool FitsFourBytes(uint64_t bits) {
            const auto v = static_cast<int64_t>(bits);
            return v == static_cast<int32_t>(v);
        }
        uint64_t Payload(RowId row) const {
            if (width == 4) {
                int32_t v;
                std::memcpy(&v, payload.data() + size_t{row} * 4, 4);
                return static_cast<uint64_t>(int64_t{v});
            }
            uint64_t v;
            std::memcpy(&v, payload.data() + size_t{row} * 8, 8);
            return v;
        }
        void Append(Tag tag, uint64_t bits) {
            if (width == 4 && !FitsFourBytes(bits)) Widen();
            tags.PushBack(tag);
            Write(payload.Extend(width), bits);
        }
        void Store(RowId row, uint64_t bits) {
            if (width == 4 && !FitsFourBytes(bits)) Widen();
            Write(payload.data() + size_t{row} * width, bits);
        }
        // The payload's bytes at `at`, 4 of them (which the caller checked `bits` fits) or 8.
        void Write(uint8_t* at, uint64_t bits) const {
            if (width == 4) {
                const auto v = static_cast<int32_t>(static_cast<int64_t>(bits));
                std::memcpy(at, &v, 4);
            } else {
                std::memcpy(at, &bits, 8);
            }
        }
        void Widen();  // to 8 bytes per row
    };

    static uint64_t BitsOf(double d) {
        uint64_t bits;
        std::memcpy(&bits, &d, 8);
        return bits;
    }
    void PutFixed(Tag tag, uint64_t bits) {
        lanes_[putColumn_].Append(tag, bits);
        if (++putColumn_ == lanes_.size()) putColumn_ = 0;
    }
    // A text's or binary's bytes and length from its header in the arena; a short one's
    // header is two bytes, its room and its length.
    void ReadPlaced(uint64_t offset, Cell& c) const {
        const char* p = arena_.data() + offset;
        if (static_cast<uint8_t>(p[0]) < 0x80) {
            c.length = static_cast<uint8_t>(p[1]);
            c.bytes = p + 2;
        } else {
            ReadLongPlaced(p, c);
        }
    }
    static void ReadLongPlaced(const char* p, Cell& c);
    // The bytes at the arena's end behind their header; returns the header's offset.
    uint64_t Place(std::string_view bytes);
    // Tag and payload of a value, placing its bytes or boxing it as needed.
    std::pair<Tag, uint64_t> Encode(const Variant& v) {
        std::pair<Tag, uint64_t> out;
        if (!EncodeFixed(v, out.first, out.second)) out = EncodeOther(v);
        return out;
    }
    // The values whose payload is the value itself; false for the others.
    static bool EncodeFixed(const Variant& v, Tag& tag, uint64_t& bits) {
        switch (v.Type()) {
            case VariantType::Null: tag = Tag::Null, bits = 0; return true;
            case VariantType::Empty: tag = Tag::Empty, bits = 0; return true;
            case VariantType::Bool: tag = Tag::Bool, bits = v.AsBool() ? ~uint64_t{0} : 0; return true;
            case VariantType::I2: tag = Tag::Int, bits = static_cast<uint64_t>(int64_t{v.AsI2()}); return true;
            case VariantType::I4: tag = Tag::Int, bits = static_cast<uint64_t>(int64_t{v.AsI4()}); return true;
            case VariantType::I8: tag = Tag::Int, bits = static_cast<uint64_t>(v.AsI8()); return true;
            case VariantType::R4: tag = Tag::Real, bits = BitsOf(v.AsR4()); return true;
            case VariantType::R8: tag = Tag::Real, bits = BitsOf(v.AsR8()); return true;
            case VariantType::Currency: tag = Tag::Currency, bits = static_cast<uint64_t>(v.AsCurrency().scaled); return true;
            case VariantType::Date: tag = Tag::Date, bits = BitsOf(v.AsDate().serial); return true;
            default: return false;
        }
    }
    // Texts and binaries (placed in the arena) and the values kept boxed.
    std::pair<Tag, uint64_t> EncodeOther(const Variant& v);
    // Rewrites a cell's text or binary where it is when the new one fits its room.
    bool RewriteInPlace(Lane& lane, RowId row, const Variant& v);
    void SyncLanes();
    // Lanes for columns set since, and Nulls for a row left short (a load that failed halfway).
    void SettleLastRow();
    Lane NewLane(const ColumnInfo& info, const Variant& fill);

    std::vector<ColumnInfo> columns_;
    std::vector<Lane> lanes_;
    size_t putColumn_ = 0;  // the column the next Put... fills
    std::vector<uint8_t> rowFlags_;
    PodBuffer<char> arena_;
    std::vector<Variant> boxed_;
};

// The Variant kind that a column of this ADO type yields.
inline VariantType VariantTypeFor(DataTypeEnum type) {
    switch (type) {
        case adBoolean: return VariantType::Bool;
        case adTinyInt:
        case adUnsignedTinyInt:
        case adSmallInt: return VariantType::I2;
        case adInteger:
        case adUnsignedSmallInt: return VariantType::I4;
        case adBigInt:
        case adUnsignedInt: return VariantType::I8;
        case adUnsignedBigInt: return VariantType::Decimal;  // up to 2^64 - 1
        case adSingle: return VariantType::R4;
        case adDouble: return VariantType::R8;
        case adCurrency: return VariantType::Currency;
        case adNumeric:
        case adDecimal:
        case adVarNumeric: return VariantType::Decimal;
        case adDate:
        case adDBDate:
        case adDBTime:
        case adDBTimeStamp:
        case adFileTime: return VariantType::Date;
        case adBinary:
        case adVarBinary:
        case adLongVarBinary: return VariantType::Binary;
        case adChapter: return VariantType::Object;
        case adVariant: return VariantType::Empty;
        default: return VariantType::String;
    }
}


}  // namespace ado::cursor
