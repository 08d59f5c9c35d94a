// A field's index ("Optimize"): the rows of each value of one column, found by equality in an
// open-addressing hash and by range through an ordered map of the same keys, both over the
// value's index key (ValueOrder). The cursor re-keys a row whenever its stored values change,
// so the index stays current through edits, additions and deletions (a deleted row keeps its
// entry; callers check visibility).
//
// An equality lookup touches one slot of 8 bytes, which holds the key's hash and its first
// row: callers test each row against the criterion anyway, so the key itself is not compared
// there. The ordered map is built at the first range lookup and kept from then on.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ado/criteria/value_order.h"
#include "ado/cursor/pod_buffer.h"
#include "ado/cursor/row_store.h"

namespace ado::cursor {

class FieldIndex {
public:
    FieldIndex(size_t column, const RowStore& store, const criteria::ValueOrder& order);
    FieldIndex(const FieldIndex&) = delete;
    FieldIndex& operator=(const FieldIndex&) = delete;

    size_t Column() const { return column_; }
    void Retarget(size_t column) { column_ = column; }
    // The row's value changed, or the row is new.
    void Rekey(const RowStore& store, const criteria::ValueOrder& order, RowId row);

    // Calls f for each row whose key is `key`, and for the rows of any other key with the same
    // 64-bit hash (a superset: the caller tests each row).
    template <class F>
    void ForEachEqual(std::string_view key, F&& f) const {
        const uint32_t hash = HashOf(key);
        for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
            const Slot& s = slots_[i];
            if (s.first == kEmpty) return;
            if (s.hash != hash) continue;
            const RowId first = s.first & kRowMask;
            f(first);
            if (s.first & kHasMore)
                for (RowId r : entries_[entryOf_[first]].more) f(r);
        }
    }
    // The rows whose key lies between the bounds (a null bound is open), in key order.
    void Range(const std::string* low, bool lowInclusive, const std::string* high, bool highInclusive,
               std::vector<RowId>& out) const;

private:
    // A slot holds its key's first row, with kHasMore when the key has more rows (its entry,
    // found through entryOf_, lists them); kEmpty marks a free slot. Rows are below kRowMask.
    static constexpr uint32_t kEmpty = UINT32_MAX;
    static constexpr uint32_t kHasMore = 0x8000'0000;
    static constexpr uint32_t kRowMask = 0x7FFF'FFFF;
    static constexpr uint32_t kNoEntry = UINT32_MAX;
    struct Slot {
        uint32_t hash = 0;
        uint32_t first = kEmpty;
    };
    // One key and its rows; entries do not move (the ordered map views their keys).
    struct Entry {
        std::string key;
        uint32_t hash = 0;
        RowId first = 0;
        std::vector<RowId> more;
    };

    static uint32_t HashOf(std::string_view key);
    size_t SlotOfEntry(uint32_t entry) const;
    size_t FindSlot(uint32_t hash, std::string_view key) const;
    void PlaceSlot(const Slot& slot);
    void EraseSlot(size_t at);
    void Grow();
    void Insert(std::string key, RowId row);
    void Remove(RowId row);
    void BuildOrdered() const;

    size_t column_;
    // A power of two of them, at most half used. A large table is mapped in huge pages: every
    // lookup lands on a random slot, which would otherwise cost a page walk of its own.
    PodBuffer<Slot> slots_;
    size_t mask_ = 0;
    size_t used_ = 0;
    std::deque<Entry> entries_;
    std::vector<uint32_t> freeEntries_;
    std::vector<uint32_t> entryOf_;  // per row: its entry, kNoEntry before it has one
    mutable std::optional<std::map<std::string_view, uint32_t>> ordered_;  // key -> entry
};

}  // namespace ado::cursor
