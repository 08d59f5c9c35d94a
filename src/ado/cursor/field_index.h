// A field's index ("Optimize"): the rows of each value of one column, found by equality in
// a hash and by range in an ordered map, both over the value's index key (ValueOrder). The
// cursor re-keys a row whenever its stored values change, so the index stays current through
// edits, additions and deletions (a deleted row keeps its entry; callers check visibility).
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ado/criteria/value_order.h"
#include "ado/cursor/row_store.h"

namespace ado::cursor {

class FieldIndex {
public:
    FieldIndex(size_t column, const RowStore& store, const criteria::ValueOrder& order);
    // Entries point into the map: an index stays where it was built.
    FieldIndex(const FieldIndex&) = delete;
    FieldIndex& operator=(const FieldIndex&) = delete;

    size_t Column() const { return column_; }
    void Retarget(size_t column) { column_ = column; }
    // The row's value changed, or the row is new.
    void Rekey(const RowStore& store, const criteria::ValueOrder& order, RowId row);

    // The rows whose key is `key`; nullptr when none.
    const std::vector<RowId>* Equal(const std::string& key) const;
    // The rows whose key lies between the bounds (a null bound is open), in key order.
    void Range(const std::string* low, bool lowInclusive, const std::string* high, bool highInclusive,
               std::vector<RowId>& out) const;

private:
    using Ordered = std::map<std::string, std::vector<RowId>>;
    void Insert(std::string key, RowId row);
    void Remove(RowId row);

    size_t column_;
    Ordered ordered_;
    std::unordered_map<std::string_view, Ordered::iterator> hash_;  // views of ordered_'s keys
    std::vector<Ordered::iterator> where_;  // per row: its key's entry (end() before it has one)
};

}  // namespace ado::cursor
