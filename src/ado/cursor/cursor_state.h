// The state of an open recordset shared by the Recordset and its Field objects.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "ado/Enums.h"
#include "ado/Field.h"
#include "ado/cursor/row_store.h"
#include "ado/cursor/row_write.h"

namespace ado {
class Recordset;
}

namespace ado::cursor {

// The values assigned to the row being edited or added. Columns not assigned since the
// edit began show the store's row, so starting an edit copies nothing.
struct EditBuffer {
    RowId row = 0;
    std::vector<Variant> values;  // per column, meaningful where `dirty` is set
    std::vector<uint8_t> dirty;   // per column: assigned since the edit began
    Variant converted;            // an assigned value converted to its column's kind
    int64_t positionBeforeAdd = 0;  // where the cursor was when AddNew began

    void Start(RowId editedRow, size_t columns) {
        row = editedRow;
        values.resize(columns);
        dirty.assign(columns, 0);
    }
};

// What a row looked like before its pending change (batch mode, disconnected cursors).
struct PendingChange {
    std::vector<Variant> original;
    std::vector<uint8_t> changed;  // per column, over every Update since the last batch
};

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
    EditBuffer edit;
    uint64_t lock = 0;                 // the pessimistic edit's record lock (the session's id), 0 for none
    std::unordered_map<RowId, PendingChange> pending;
    std::vector<RowId> affected;       // rows the last Delete/UpdateBatch/CancelBatch touched
    Recordset* owner = nullptr;        // the recordset, while it is open
    RowWrite scratch;                  // the last row write: its shape serves rows planned alike
    std::vector<Variant> readBack;     // what the last insert read back
    bool showDeleted = false;          // a filter that shows deleted rows (pending, conflicts)
    std::unordered_map<RowId, int32_t> conflicts;  // RecordStatusEnum bits of the last batch's failures
    ado::Fields fields;

    bool AtBOF() const { return position < 0 || order.empty(); }
    bool AtEOF() const { return position >= static_cast<int64_t>(order.size()); }
    bool HasCurrent() const { return !AtBOF() && !AtEOF(); }
    RowId CurrentRow() const { return order[static_cast<size_t>(position)]; }
    // The current row, or the no-current-record failure (3021).
    RowId RequireCurrent() const {
        if (!HasCurrent() || (store.Flags(CurrentRow()) & RowStore::Deleted)) NoCurrentRecord();
        return CurrentRow();
    }
    [[noreturn]] static void NoCurrentRecord();
    // The index in `order` of a row id, or -1 when it is not visible.
    int32_t PositionOf(RowId row) const;
    void OrderChanged() { positionsValid = false; }
    // Every row not deleted, in arrival order.
    void ResetOrder();
    // A deleted current row leaves the order when the cursor moves; true when it did.
    bool DropDeletedCurrent();
    // The value a field shows: the edit buffer's while the row is being edited.
    Variant Shown(RowId row, size_t column) const;
};

}  // namespace ado::cursor
