// ado::Field and ado::Fields: the columns of a recordset and their values in the current row.
//
// Ownership: fields belong to their recordset. A Field& (Fields()[i], range-for) is valid
// while the recordset keeps the same rows (until it is closed or opened again); a FieldPtr
// (Item) keeps those rows alive. Threads: as their recordset. Errors: ado::Error, 3021 for a
// value read with no current row, 3265 for a name that is not there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ado/Enums.h"
#include "ado/Properties.h"
#include "ado/Variant.h"

namespace ado {

namespace cursor {
class Cursor;
}
namespace detail {
class EngineAccess;
}

class Field {
public:
    const std::string& Name() const;
    DataTypeEnum Type() const;
    int32_t DefinedSize() const;
    int32_t Attributes() const;
    uint8_t Precision() const;
    uint8_t NumericScale() const;
    // A recordset without a connection (built in memory, or read from a file) may give its fields
    // another size and other attributes; a connected one refuses with 3705.
    void DefinedSize(int32_t size);
    void Attributes(int32_t attributes);

    // The value in the current row; fails with 3021 at BOF/EOF or on a deleted row.
    Variant Value() const;
    // Writing starts an edit of the current row (updatable cursors only).
    void Value(const Variant& v);
    // The value as read from the source, before any pending change; a deleted row whose
    // deletion is pending has it too.
    Variant OriginalValue() const;

    // Dynamic properties, in the client cursor's order: BASECATALOGNAME, BASECOLUMNNAME,
    // BASESCHEMANAME, BASETABLENAME, KEYCOLUMN, Optimize, ISAUTOINCREMENT, ...
    ado::Properties& Properties();

private:
    // The engine side below is reached through detail::EngineAccess (src/ado/engine_access.h).
    friend class Fields;
    friend class detail::EngineAccess;
    // The field's position among the recordset's columns, which moves when an earlier column
    // is removed (kRemoved once its own column is gone).
    Field(cursor::Cursor* state, size_t column) : state_(state), column_(column) {}
    size_t Index() const { return column_; }
    void Retarget(size_t column) { column_ = column; }
    static constexpr size_t kRemoved = SIZE_MAX;

    cursor::Cursor* state_;
    size_t column_;
    std::unique_ptr<ado::Properties> properties_;
};

using FieldPtr = std::shared_ptr<Field>;

class Fields {
public:
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    // By 0-based index, or by name without regard to case; a missing field fails with 3265.
    FieldPtr Item(int32_t index) const;
    FieldPtr Item(std::string_view name) const;
    Field& operator[](int32_t index) const;
    Field& operator[](std::string_view name) const;
    // The 0-based index of the named field, or -1.
    int32_t IndexOf(std::string_view name) const;

    // In-memory recordsets: define a field on a closed or disconnected recordset.
    void Append(std::string_view name, DataTypeEnum type, int32_t definedSize = 0,
                int32_t attributes = adFldUnspecified, const Variant& value = Variant());
    void Delete(std::string_view name);
    void Delete(int32_t index);

    // Range-for walks the fields in order and yields Field&, as operator[] does.
    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Field;
        using difference_type = std::ptrdiff_t;
        using pointer = Field*;
        using reference = Field&;
        iterator() = default;
        explicit iterator(std::vector<std::unique_ptr<Field>>::const_iterator at) : at_(at) {}
        Field& operator*() const { return **at_; }
        Field* operator->() const { return at_->get(); }
        iterator& operator++() {
            ++at_;
            return *this;
        }
        iterator operator++(int) { return iterator(at_++); }
        friend bool operator==(const iterator&, const iterator&) = default;

    private:
        std::vector<std::unique_ptr<Field>>::const_iterator at_;
    };
    iterator begin() const { return iterator(items_.begin()); }
    iterator end() const { return iterator(items_.end()); }

private:
    // The engine side below is reached through detail::EngineAccess (src/ado/engine_access.h).
    // Handles given out stay valid while the recordset's state lives: a field added keeps the
    // others where they are, a field removed fails on use from then on.
    friend class detail::EngineAccess;
    void Reset(std::shared_ptr<cursor::Cursor> owner, std::vector<std::unique_ptr<Field>> items);
    void Added(std::unique_ptr<Field> field) { items_.push_back(std::move(field)); }
    void Removed(size_t column);

    size_t Require(std::string_view name) const;
    std::weak_ptr<cursor::Cursor> owner_;  // every FieldPtr handed out keeps it alive
    std::vector<std::unique_ptr<Field>> items_;
    std::vector<std::unique_ptr<Field>> removed_;  // kept for the handles that still point at them
};

}  // namespace ado
