// The changes that wait for UpdateBatch (batch mode, disconnected cursors), by row: a dense
// list of the changes with each row's place in it. Finding a row's change is two indexings,
// and forgetting a whole batch once it is written frees no node per row.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

#include "ado/Variant.h"
#include "ado/cursor/row_store.h"

namespace ado::cursor {

// What a row looked like before its pending change.
struct PendingChange {
    std::vector<Variant> original;
    std::vector<uint8_t> changed;  // per column, over every Update since the last batch
};

class PendingChanges {
public:
    using Entry = std::pair<RowId, PendingChange>;
    using iterator = std::vector<Entry>::iterator;
    using const_iterator = std::vector<Entry>::const_iterator;

    bool empty() const { return entries_.empty(); }
    size_t size() const { return entries_.size(); }
    size_t count(RowId row) const { return row < place_.size() && place_[row] != kNone; }

    iterator begin() { return entries_.begin(); }
    iterator end() { return entries_.end(); }
    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }
    iterator find(RowId row) { return count(row) ? begin() + place_[row] : end(); }
    const_iterator find(RowId row) const { return count(row) ? begin() + place_[row] : end(); }

    // The row's change, made empty when it has none. References are valid until the next
    // change is added or removed.
    PendingChange& operator[](RowId row) { return emplace(row, PendingChange{}).first->second; }
    PendingChange& at(RowId row) { return const_cast<PendingChange&>(std::as_const(*this).at(row)); }
    const PendingChange& at(RowId row) const {
        if (!count(row)) throw std::out_of_range("no pending change for the row");
        return entries_[place_[row]].second;
    }
    // Adds the row's change unless it has one; the bool says whether it was added.
    std::pair<iterator, bool> emplace(RowId row, PendingChange change) {
        if (count(row)) return {find(row), false};
        if (row >= place_.size()) place_.resize(row + 1, kNone);
        place_[row] = static_cast<uint32_t>(entries_.size());
        entries_.emplace_back(row, std::move(change));
        return {end() - 1, true};
    }
    // The last change takes the place of the one removed.
    void erase(RowId row) {
        if (!count(row)) return;
        const uint32_t at = place_[row];
        place_[row] = kNone;
        if (at + 1 != entries_.size()) {
            entries_[at] = std::move(entries_.back());
            place_[entries_[at].first] = at;
        }
        entries_.pop_back();
    }
    void clear() {
        for (const Entry& e : entries_) place_[e.first] = kNone;
        entries_.clear();
    }

private:
    static constexpr uint32_t kNone = UINT32_MAX;
    std::vector<Entry> entries_;
    std::vector<uint32_t> place_;  // per row: its entry, or kNone
};

}  // namespace ado::cursor
