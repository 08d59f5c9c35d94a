// The client cursor engine's row store: every row of a recordset in memory.
//
// Rows are kept row-major as 16-byte tagged cells; texts and binaries live in one arena
// and values that fit no cell (Decimal, arrays, objects) in a side table. A row's id is its
// position of arrival and never changes, so bookmarks stay valid while rows are added,
// deleted (flagged, not erased) or reordered by a view.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "ado/Variant.h"
#include "ado/cursor/column_info.h"
#include "ado/cursor/pod_buffer.h"

namespace ado::cursor {

using RowId = uint32_t;

class RowStore {
public:
    enum class Tag : uint8_t { Null, Empty, Bool, Int, Real, Currency, Date, Text, Blob, Boxed };

    // Trivial, so that growing the store moves cells as plain bytes; a value-initialised
    // cell (Cell{}) is Null.
    struct Cell {
        Tag tag;
        uint16_t slack;   // Text and Blob: free bytes after the value, from a longer one it replaced
        uint32_t length;  // Text and Blob: byte count
        union {
            int64_t i;        // Bool, Int, Currency (scaled)
            double d;         // Real, Date (serial)
            uint64_t offset;  // Text and Blob: arena offset; Boxed: side-table index
        };
    };
    static_assert(sizeof(Cell) == 16 && std::is_trivial_v<Cell> && Tag{} == Tag::Null);

    explicit RowStore(std::vector<ColumnInfo> columns = {});

    const std::vector<ColumnInfo>& Columns() const { return columns_; }
    std::vector<ColumnInfo>& Columns() { return columns_; }
    size_t ColumnCount() const { return columns_.size(); }
    size_t RowCount() const { return rowFlags_.size(); }
    // Room for `rows` rows in all, and `textBytes` bytes of texts and binaries.
    void Reserve(size_t rows, size_t textBytes = 0);
    size_t TextBytes() const { return arena_.size(); }
    // Drops every row, keeping the columns and the memory.
    void Clear();

    // Loading, one row at a time: BeginRow, then one Put... per column in order.
    RowId BeginRow();
    void PutNull() { cells_.EmplaceBack(); }
    void PutInt(int64_t v) { Push(Tag::Int).i = v; }
    void PutBool(bool v) { Push(Tag::Bool).i = v ? -1 : 0; }
    void PutReal(double v) { Push(Tag::Real).d = v; }
    void PutDate(double serial) { Push(Tag::Date).d = serial; }
    void PutCurrency(int64_t scaled) { Push(Tag::Currency).i = scaled; }
    void PutText(std::string_view s) { PutBytes(Tag::Text, s.data(), s.size()); }
    void PutBlob(const void* p, size_t n) { PutBytes(Tag::Blob, p, n); }
    void PutVariant(const Variant& v);

    // Reading and writing a cell as a Variant of the column's ADO type.
    Variant Get(RowId row, size_t column) const;
    std::vector<Variant> Row(RowId row) const;  // every column's value
    void Set(RowId row, size_t column, const Variant& v);
    const Cell& CellAt(RowId row, size_t column) const { return cells_[row * columns_.size() + column]; }
    std::string_view TextAt(const Cell& c) const { return {arena_.data() + c.offset, c.length}; }

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
    Cell& Push(Tag t) {
        Cell& c = cells_.EmplaceBack();  // value-initialised: zero
        c.tag = t;
        return c;
    }
    void PutBytes(Tag t, const void* p, size_t n);
    void Place(Cell& c, std::string_view bytes);  // the bytes at the arena's end, for `c`
    Cell Encode(const Variant& v);

    std::vector<ColumnInfo> columns_;
    PodBuffer<Cell> cells_;
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
