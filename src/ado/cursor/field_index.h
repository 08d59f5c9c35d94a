// A field's index ("Optimize"): the rows of each value of one column, found by equality in
// a hash and by range through an ordered set of the same keys, both over the value's index
// key (ValueOrder). The cursor re-keys a row whenever its stored values change, so the index
// stays current through edits, additions and deletions (a deleted row keeps its entry;
// callers check visibility).
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ado/criteria/value_order.h"
#include "ado/cursor/row_store.h"

namespace ado::cursor {

class FieldIndex {
public:
    // The rows of one key: the first inline (most keys have one row), the others after.
    struct Rows {
        RowId first = 0;
        std::vector<RowId> more;
        template <class F>
        void ForEach(F&& f) const {
            f(first);
            for (RowId r : more) f(r);
        }
    };

    FieldIndex(size_t column, const RowStore& store, const criteria::ValueOrder& order);
    // The ordered set and the rows point into the hash's entries: an index stays where it was built.
    FieldIndex(const FieldIndex&) = delete;
    FieldIndex& operator=(const FieldIndex&) = delete;

    size_t Column() const { return column_; }
    void Retarget(size_t column) { column_ = column; }
    // The row's value changed, or the row is new.
    void Rekey(const RowStore& store, const criteria::ValueOrder& order, RowId row);

    // The rows whose key is `key`; nullptr when none.
    const Rows* Equal(std::string_view key) const;
    // The rows whose key lies between the bounds (a null bound is open), in key order.
    void Range(const std::string* low, bool lowInclusive, const std::string* high, bool highInclusive,
               std::vector<RowId>& out) const;

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    using Table = std::unordered_map<std::string, Rows, Hash, std::equal_to<>>;
    void Insert(std::string key, RowId row);
    void Remove(RowId row);

    size_t column_;
    Table hash_;
    std::set<std::string_view> ordered_;    // views of hash_'s keys (its nodes do not move)
    std::vector<const std::string*> keyOf_;  // per row: its key in hash_, nullptr before it has one
};

}  // namespace ado::cursor
