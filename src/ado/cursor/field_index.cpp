#include "ado/cursor/field_index.h"

#include <algorithm>

namespace ado::cursor {

FieldIndex::FieldIndex(size_t column, const RowStore& store, const criteria::ValueOrder& order) : column_(column) {
    where_.assign(store.RowCount(), ordered_.end());
    hash_.reserve(store.RowCount());
    for (RowId r = 0; r < store.RowCount(); ++r) Insert(order.KeyOfCell(store, r, column_), r);
}

void FieldIndex::Insert(std::string key, RowId row) {
    auto [it, added] = ordered_.try_emplace(std::move(key));
    if (added) hash_.emplace(std::string_view(it->first), it);
    it->second.push_back(row);
    if (row >= where_.size()) where_.resize(row + 1, ordered_.end());
    where_[row] = it;
}

void FieldIndex::Remove(RowId row) {
    if (row >= where_.size() || where_[row] == ordered_.end()) return;
    const Ordered::iterator it = where_[row];
    auto& rows = it->second;
    rows.erase(std::find(rows.begin(), rows.end(), row));
    if (rows.empty()) {
        hash_.erase(std::string_view(it->first));
        ordered_.erase(it);
    }
    where_[row] = ordered_.end();
}

void FieldIndex::Rekey(const RowStore& store, const criteria::ValueOrder& order, RowId row) {
    std::string key = order.KeyOfCell(store, row, column_);
    if (row < where_.size() && where_[row] != ordered_.end() && where_[row]->first == key) return;
    Remove(row);
    Insert(std::move(key), row);
}

const std::vector<RowId>* FieldIndex::Equal(const std::string& key) const {
    const auto it = hash_.find(std::string_view(key));
    return it == hash_.end() ? nullptr : &it->second->second;
}

void FieldIndex::Range(const std::string* low, bool lowInclusive, const std::string* high, bool highInclusive,
                       std::vector<RowId>& out) const {
    auto from = low ? (lowInclusive ? ordered_.lower_bound(*low) : ordered_.upper_bound(*low)) : ordered_.begin();
    const auto to = high ? (highInclusive ? ordered_.upper_bound(*high) : ordered_.lower_bound(*high)) : ordered_.end();
    for (; from != to && from != ordered_.end(); ++from) {
        if (high && from->first > *high) break;
        out.insert(out.end(), from->second.begin(), from->second.end());
    }
}

}  // namespace ado::cursor
