#include "ado/cursor/field_index.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <stdexcept>

namespace ado::cursor {

FieldIndex::FieldIndex(size_t column, const RowStore& store, const criteria::ValueOrder& order) : column_(column) {
    const size_t rows = store.RowCount();
    slots_.AssignFilled(std::bit_ceil(std::max<size_t>(16, rows * 2)), Slot{});
    mask_ = slots_.size() - 1;
    entryOf_.assign(rows, kNoEntry);
    for (RowId r = 0; r < rows; ++r) Insert(order.KeyOfCell(store, r, column_), r);
}

uint32_t FieldIndex::HashOf(std::string_view key) {
    const uint64_t h = std::hash<std::string_view>{}(key);
    return static_cast<uint32_t>(h ^ (h >> 32));
}

size_t FieldIndex::FindSlot(uint32_t hash, std::string_view key) const {
    for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
        const Slot& s = slots_[i];
        if (s.first == kEmpty) return SIZE_MAX;
        if (s.hash == hash && entries_[entryOf_[s.first & kRowMask]].key == key) return i;
    }
}

// An entry's slot is the one holding its first row.
size_t FieldIndex::SlotOfEntry(uint32_t entry) const {
    const Entry& e = entries_[entry];
    for (size_t i = e.hash & mask_;; i = (i + 1) & mask_)
        if (slots_[i].first != kEmpty && (slots_[i].first & kRowMask) == e.first) return i;
}

void FieldIndex::PlaceSlot(const Slot& slot) {
    size_t i = slot.hash & mask_;
    while (slots_[i].first != kEmpty) i = (i + 1) & mask_;
    slots_[i] = slot;
}

// Linear probing without tombstones: the slots after the freed one move back when their
// probe sequence passes through it.
void FieldIndex::EraseSlot(size_t at) {
    size_t hole = at;
    for (size_t j = (hole + 1) & mask_; slots_[j].first != kEmpty; j = (j + 1) & mask_) {
        const size_t home = slots_[j].hash & mask_;
        const bool stays = hole <= j ? (home > hole && home <= j) : (home > hole || home <= j);
        if (stays) continue;
        slots_[hole] = slots_[j];
        hole = j;
    }
    slots_[hole] = Slot{};
    --used_;
}

void FieldIndex::Grow() {
    PodBuffer<Slot> old;
    old.AssignFilled(slots_.size() * 2, Slot{});
    std::swap(old, slots_);
    mask_ = slots_.size() - 1;
    for (size_t i = 0; i < old.size(); ++i)
        if (old[i].first != kEmpty) PlaceSlot(old[i]);
}

void FieldIndex::Insert(std::string key, RowId row) {
    if (row >= kRowMask) throw std::length_error("too many rows for a field index");
    if (row >= entryOf_.size()) entryOf_.resize(row + 1, kNoEntry);
    const uint32_t hash = HashOf(key);
    if (const size_t at = FindSlot(hash, key); at != SIZE_MAX) {
        const uint32_t entry = entryOf_[slots_[at].first & kRowMask];
        entries_[entry].more.push_back(row);
        slots_[at].first |= kHasMore;
        entryOf_[row] = entry;
        return;
    }
    uint32_t entry;
    if (!freeEntries_.empty()) {
        entry = freeEntries_.back();
        freeEntries_.pop_back();
    } else {
        entry = static_cast<uint32_t>(entries_.size());
        entries_.emplace_back();
    }
    Entry& e = entries_[entry];
    e.key = std::move(key);
    e.hash = hash;
    e.first = row;
    e.more.clear();
    if ((used_ + 1) * 2 > slots_.size()) Grow();
    PlaceSlot(Slot{hash, row});
    ++used_;
    entryOf_[row] = entry;
    if (ordered_) ordered_->emplace(std::string_view(e.key), entry);
}

void FieldIndex::Remove(RowId row) {
    if (row >= entryOf_.size() || entryOf_[row] == kNoEntry) return;
    const uint32_t entry = entryOf_[row];
    entryOf_[row] = kNoEntry;
    Entry& e = entries_[entry];
    const size_t at = SlotOfEntry(entry);
    if (e.first == row) {
        if (e.more.empty()) {
            if (ordered_) ordered_->erase(std::string_view(e.key));
            EraseSlot(at);
            e.key = std::string();
            freeEntries_.push_back(entry);
            return;
        }
        e.first = e.more.back();
        e.more.pop_back();
        slots_[at].first = e.first | kHasMore;
    } else {
        e.more.erase(std::find(e.more.begin(), e.more.end(), row));
    }
    if (e.more.empty()) slots_[at].first &= ~kHasMore;
}

void FieldIndex::Rekey(const RowStore& store, const criteria::ValueOrder& order, RowId row) {
    std::string key = order.KeyOfCell(store, row, column_);
    if (row < entryOf_.size() && entryOf_[row] != kNoEntry && entries_[entryOf_[row]].key == key) return;
    Remove(row);
    Insert(std::move(key), row);
}

void FieldIndex::BuildOrdered() const {
    std::vector<std::pair<std::string_view, uint32_t>> keys;
    keys.reserve(used_);
    for (size_t i = 0; i < slots_.size(); ++i)
        if (const Slot& s = slots_[i]; s.first != kEmpty) {
            const uint32_t entry = entryOf_[s.first & kRowMask];
            keys.emplace_back(entries_[entry].key, entry);
        }
    std::sort(keys.begin(), keys.end());
    ordered_.emplace();
    for (const auto& k : keys) ordered_->emplace_hint(ordered_->end(), k);
}

void FieldIndex::Range(const std::string* low, bool lowInclusive, const std::string* high, bool highInclusive,
                       std::vector<RowId>& out) const {
    if (!ordered_) BuildOrdered();
    auto from = !low ? ordered_->begin()
                : lowInclusive ? ordered_->lower_bound(std::string_view(*low))
                               : ordered_->upper_bound(std::string_view(*low));
    for (; from != ordered_->end(); ++from) {
        if (high && (highInclusive ? from->first > std::string_view(*high) : from->first >= std::string_view(*high)))
            break;
        const Entry& e = entries_[from->second];
        out.push_back(e.first);
        out.insert(out.end(), e.more.begin(), e.more.end());
    }
}

}  // namespace ado::cursor
