#include "ado/cursor/cursor.h"

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
        positionOf_.assign(store.RowCount(), -1);
        for (size_t i = 0; i < visible_.size(); ++i) positionOf_[visible_[i]] = static_cast<int32_t>(i);
        positionsValid_ = true;
    }
    return row < positionOf_.size() ? positionOf_[row] : -1;
}

size_t Cursor::CountedRows() const {
    const bool deletedCurrent = HasCurrent() && !filter_.showsDeleted && (store.Flags(CurrentRow()) & RowStore::Deleted);
    return visible_.size() - (deletedCurrent ? 1 : 0);
}

void Cursor::ShowRows(RowFilter filter) {
    filter_ = std::move(filter);
    visible_.clear();
    visible_.reserve(store.RowCount());
    for (RowId r = 0; r < store.RowCount(); ++r) {
        const bool kept = filter_.keep ? filter_.keep(r) : !(store.Flags(r) & RowStore::Deleted);
        if (kept) visible_.push_back(r);
    }
    PositionsChanged();
    position_ = 0;
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
    if (editMode != adEditNone && edit.row == row && edit.dirty[column]) return edit.values[column];
    return store.Get(row, column);
}

}  // namespace ado::cursor
