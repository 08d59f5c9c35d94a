#include "ado/cursor/field_index.h"

#include <algorithm>

namespace ado::cursor {

FieldIndex::FieldIndex(size_t column, const RowStore& store, const criteria::ValueOrder& order) : column_(column) {
    keyOf_.assign(store.RowCount(), nullptr);
    hash_.reserve(store.RowCount());
    for (RowId r = 0; r < store.RowCount(); ++r) Insert(order.KeyOfCell(store, r, column_), r);
}

void FieldIndex::Insert(std::string key, RowId row) {
    auto [it, added] = hash_.try_emplace(std::move(key));
    if (added) {
        it->second.first = row;
        ordered_.insert(std::string_view(it->first));
    } else {
        it->second.more.push_back(row);
    }
    if (row >= keyOf_.size()) keyOf_.resize(row + 1, nullptr);
    keyOf_[row] = &it->first;
}

void FieldIndex::Remove(RowId row) {
    if (row >= keyOf_.size() || !keyOf_[row]) return;
    const auto it = hash_.find(std::string_view(*keyOf_[row]));
    keyOf_[row] = nullptr;
    Rows& rows = it->second;
    if (rows.first == row) {
        if (rows.more.empty()) {
            ordered_.erase(std::string_view(it->first));
            hash_.erase(it);
            return;
        }
        rows.first = rows.more.back();
        rows.more.pop_back();
        return;
    }
    rows.more.erase(std::find(rows.more.begin(), rows.more.end(), row));
}

void FieldIndex::Rekey(const RowStore& store, const criteria::ValueOrder& order, RowId row) {
    std::string key = order.KeyOfCell(store, row, column_);
    if (row < keyOf_.size() && keyOf_[row] && *keyOf_[row] == key) return;
    Remove(row);
    Insert(std::move(key), row);
}

const FieldIndex::Rows* FieldIndex::Equal(std::string_view key) const {
    const auto it = hash_.find(key);
    return it == hash_.end() ? nullptr : &it->second;
}

void FieldIndex::Range(const std::string* low, bool lowInclusive, const std::string* high, bool highInclusive,
                       std::vector<RowId>& out) const {
    auto from = !low ? ordered_.begin()
                : lowInclusive ? ordered_.lower_bound(std::string_view(*low))
                               : ordered_.upper_bound(std::string_view(*low));
    for (; from != ordered_.end(); ++from) {
        if (high && (highInclusive ? *from > std::string_view(*high) : *from >= std::string_view(*high))) break;
        hash_.find(*from)->second.ForEach([&](RowId r) { out.push_back(r); });
    }
}

}  // namespace ado::cursor
