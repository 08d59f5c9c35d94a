#include "ado/cursor/cursor.h"

#include <algorithm>

#include "ado/error_numbers.h"

namespace ado::cursor {

void Cursor::NoCurrentRecord() { Raise(Condition::NoCurrentRecord); }

void Cursor::MoveTo(int64_t position) {
    const auto n = static_cast<int64_t>(visible_.size());
    position_ = position < 0 ? -1 : position > n ? n : position;
}

bool Cursor::MoveToRow(RowId row) {
    const int32_t at = PositionOf(row);
    if (at < 0) return false;
    position_ = at;
    return true;
}

int32_t Cursor::PositionOf(RowId row) const {
    if (!positionsValid_) {
        // Every row in arrival order (no filter, no sort) needs no table: a row is its position.
        const size_t n = visible_.size();
        positionsIdentity_ = n == store.RowCount() && (n == 0 || visible_.back() == n - 1) &&
                             std::adjacent_find(visible_.begin(), visible_.end(),
                                                [](RowId a, RowId b) { return b != a + 1; }) == visible_.end();
        positionOf_.clear();
        if (!positionsIdentity_) {
            positionOf_.assign(store.RowCount(), -1);
            for (size_t i = 0; i < n; ++i) positionOf_[visible_[i]] = static_cast<int32_t>(i);
        }
        positionsValid_ = true;
    }
    if (positionsIdentity_) return row < visible_.size() ? static_cast<int32_t>(row) : -1;
    return row < positionOf_.size() ? positionOf_[row] : -1;
}

size_t Cursor::CountedRows() const {
    const bool deletedCurrent = HasCurrent() && !filter_.showsDeleted && (store.Flags(CurrentRow()) & RowStore::Deleted);
    return visible_.size() - (deletedCurrent ? 1 : 0);
}

void Cursor::ShowRows(RowFilter filter) {
    filter_ = std::move(filter);
    auto kept = [&](RowId r) { return filter_.keep ? filter_.keep(r) : !(store.Flags(r) & RowStore::Deleted); };
    visible_.clear();
    if (filter_.candidates) {
        for (RowId r : *filter_.candidates)
            if (kept(r)) visible_.push_back(r);
        filter_.candidates.reset();
    } else {
        visible_.reserve(store.RowCount());
        for (RowId r = 0; r < store.RowCount(); ++r)
            if (kept(r)) visible_.push_back(r);
    }
    ApplySort();
    PositionsChanged();
    position_ = 0;
}

void Cursor::SortRows(std::vector<SortColumn> columns) {
    const bool had = HasCurrent();
    const RowId current = had ? CurrentRow() : 0;
    sort_ = std::move(columns);
    if (sort_.empty())
        std::sort(visible_.begin(), visible_.end());
    else
        ApplySort();
    PositionsChanged();
    if (!had || !MoveToRow(current)) position_ = 0;
}

void Cursor::ApplySort() {
    if (sort_.empty()) return;
    const criteria::ValueOrder& order = Order();
    std::stable_sort(visible_.begin(), visible_.end(), [&](RowId a, RowId b) {
        for (const SortColumn& k : sort_) {
            const int r = order.CompareCells(store, a, b, k.column);
            if (r != 0) return k.descending ? r > 0 : r < 0;
        }
        return false;
    });
}

const criteria::ValueOrder& Cursor::Order() const {
    if (!order_) order_ = std::make_unique<criteria::ValueOrder>();
    return *order_;
}

void Cursor::Optimize(size_t column, bool on) {
    if (indexes_.size() <= column) indexes_.resize(column + 1);
    if (!on) {
        indexes_[column].reset();
        return;
    }
    if (!indexes_[column]) indexes_[column] = std::make_unique<FieldIndex>(column, store, Order());
}

const FieldIndex* Cursor::IndexOf(size_t column) const {
    return column < indexes_.size() ? indexes_[column].get() : nullptr;
}

void Cursor::RowChanged(RowId row) {
    for (auto& index : indexes_)
        if (index) index->Rekey(store, Order(), row);
}

void Cursor::ColumnRemoved(size_t column) {
    if (column < indexes_.size()) indexes_.erase(indexes_.begin() + static_cast<std::ptrdiff_t>(column));
    for (size_t c = column; c < indexes_.size(); ++c)
        if (indexes_[c]) indexes_[c]->Retarget(c);
    lastFind.clause.reset();
    std::erase_if(sort_, [&](const SortColumn& k) { return k.column == column; });
    for (SortColumn& k : sort_)
        if (k.column > column) --k.column;
}

void Cursor::AppendRow(RowId row) {
    visible_.push_back(row);
    PositionsChanged();
    position_ = static_cast<int64_t>(visible_.size()) - 1;
}

void Cursor::RemoveAppended(int64_t position) {
    visible_.pop_back();
    PositionsChanged();
    MoveTo(position);
}

bool Cursor::DropDeletedCurrent() {
    if (filter_.showsDeleted || !HasCurrent() || !(store.Flags(CurrentRow()) & RowStore::Deleted)) return false;
    visible_.erase(visible_.begin() + position_);
    PositionsChanged();
    return true;
}

Variant Cursor::Shown(RowId row, size_t column) const {
    if (editMode != adEditNone)
        if (const Variant* kept = edit.Kept(row, column)) return *kept;
    return store.Get(row, column);
}

}  // namespace ado::cursor
