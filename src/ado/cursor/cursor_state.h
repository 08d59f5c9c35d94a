// The state of an open recordset shared by the Recordset and its Field objects.
#pragma once

#include <cstdint>
#include <vector>

#include "ado/Enums.h"
#include "ado/Field.h"
#include "ado/cursor/row_store.h"

namespace ado::cursor {

struct CursorState {
    RowStore store;
    std::vector<RowId> order;          // the visible rows, in cursor order
    mutable std::vector<int32_t> positionOf;  // row id -> index in order (-1 hidden), built on demand
    mutable bool positionsValid = false;
    int64_t position = -1;             // index into order; -1 before the first, order.size() after the last
    bool open = false;
    bool scrollable = true;
    bool bookmarks = true;
    EditModeEnum editMode = adEditNone;
    ado::Fields fields;

    bool AtBOF() const { return position < 0; }
    bool AtEOF() const { return position >= static_cast<int64_t>(order.size()); }
    bool HasCurrent() const { return !AtBOF() && !AtEOF(); }
    RowId CurrentRow() const { return order[static_cast<size_t>(position)]; }
    // The current row, or the no-current-record failure (3021).
    RowId RequireCurrent() const;
    // The index in `order` of a row id, or -1 when it is not visible.
    int32_t PositionOf(RowId row) const;
    void OrderChanged() { positionsValid = false; }
    // Every row not deleted, in arrival order.
    void ResetOrder();
};

}  // namespace ado::cursor
