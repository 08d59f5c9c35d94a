#include "ado/cursor/cursor_state.h"

#include "ado/error_numbers.h"

namespace ado::cursor {

void CursorState::NoCurrentRecord() { Raise(Condition::NoCurrentRecord); }

int32_t CursorState::PositionOf(RowId row) const {
    if (!positionsValid) {
        positionOf.assign(store.RowCount(), -1);
        for (size_t i = 0; i < order.size(); ++i) positionOf[order[i]] = static_cast<int32_t>(i);
        positionsValid = true;
    }
    return row < positionOf.size() ? positionOf[row] : -1;
}

void CursorState::ResetOrder() {
    order.clear();
    order.reserve(store.RowCount());
    for (RowId r = 0; r < store.RowCount(); ++r)
        if (!(store.Flags(r) & RowStore::Deleted)) order.push_back(r);
    OrderChanged();
}

bool CursorState::DropDeletedCurrent() {
    if (!HasCurrent() || !(store.Flags(CurrentRow()) & RowStore::Deleted)) return false;
    order.erase(order.begin() + position);
    OrderChanged();
    return true;
}

Variant CursorState::Shown(RowId row, size_t column) const {
    if (editMode != adEditNone && edit.row == row && edit.dirty[column]) return edit.values[column];
    return store.Get(row, column);
}

}  // namespace ado::cursor
