// The client cursor of an open recordset: its rows, the rows it shows and in what order, the
// current position among them, and the edit and batch state its Recordset and Fields share.
//
// Invariants the cursor keeps itself: the position is -1 (before the first), an index of a
// visible row, or the visible count (after the last); the position index of every visible
// row answers PositionOf; the visible rows are the rows the view keeps, in the view's order.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "ado/Enums.h"
#include "ado/Field.h"
#include "ado/criteria/matcher.h"
#include "ado/criteria/value_order.h"
#include "ado/cursor/field_index.h"
#include "ado/cursor/pending_changes.h"
#include "ado/cursor/row_store.h"
#include "ado/cursor/row_write.h"

namespace ado {
class Recordset;
}

namespace ado::cursor {

// The values assigned to the row being edited or added. Columns not assigned since the
// edit began show the store's row, so starting an edit copies nothing. A row being added
// has no values to keep apart from: what is assigned goes straight into its store row.
struct EditBuffer {
    RowId row = 0;
    std::vector<Variant> values;  // per column, meaningful where `dirty` is set and not `inStore`
    std::vector<uint8_t> dirty;   // per column: assigned since the edit began
    bool inStore = false;         // the assigned values are the store row's own (an added row)
    Variant converted;            // an assigned value converted to its column's kind
    int64_t positionBeforeAdd = 0;  // where the cursor was when AddNew began

    void Start(RowId editedRow, size_t columns, bool valuesInStore) {
        row = editedRow;
        inStore = valuesInStore;
        if (!inStore) values.resize(columns);
        dirty.assign(columns, 0);
    }
    // The assigned value of `column`, when it is kept apart from the store row.
    const Variant* Kept(RowId r, size_t column) const {
        return r == row && !inStore && dirty[column] ? &values[column] : nullptr;
    }
};

// Which rows a view shows; `showsDeleted` when deleted rows may be among them (pending
// changes, conflicts, affected rows).
struct RowFilter {
    std::function<bool(RowId)> keep;  // empty: every row not deleted
    bool showsDeleted = false;
    // The only rows that may be kept, ascending (an index's answer); used once, by ShowRows.
    std::optional<std::vector<RowId>> candidates;
};

// A column of a sort order.
struct SortColumn {
    size_t column;
    bool descending;
};

class Cursor {
public:
    // --- Rows and the state shared with the Recordset and its Fields ---
    RowStore store;
    bool open = false;
    bool scrollable = true;
    bool bookmarks = true;
    EditModeEnum editMode = adEditNone;
    EditBuffer edit;
    uint64_t lock = 0;                 // the pessimistic edit's record lock (the session's id), 0 for none
    PendingChanges pending;
    std::vector<RowId> affected;       // rows the last Delete/UpdateBatch/CancelBatch touched
    Recordset* owner = nullptr;        // the recordset, while it is open
    RowWrite scratch;                  // the last row write: its shape serves rows planned alike
    std::vector<Variant> readBack;     // what the last insert read back
    std::unordered_map<RowId, int32_t> conflicts;  // RecordStatusEnum bits of the last batch's failures
    ado::Fields fields;
    // The last Find's criteria and their compiled clause: a repeated search parses nothing.
    struct FindCache {
        std::string text;
        std::optional<criteria::CompiledClause> clause;
    } lastFind;

    // --- Position among the visible rows ---
    bool AtBOF() const { return position_ < 0 || visible_.empty(); }
    bool AtEOF() const { return position_ >= static_cast<int64_t>(visible_.size()); }
    bool HasCurrent() const { return !AtBOF() && !AtEOF(); }
    RowId CurrentRow() const { return visible_[static_cast<size_t>(position_)]; }
    // The current row, or the no-current-record failure (3021).
    RowId RequireCurrent() const {
        if (!HasCurrent() || (store.Flags(CurrentRow()) & RowStore::Deleted)) NoCurrentRecord();
        return CurrentRow();
    }
    [[noreturn]] static void NoCurrentRecord();
    int64_t Position() const { return position_; }
    // Moves to an index of the visible rows, clamped to -1 (BOF) .. VisibleCount() (EOF).
    void MoveTo(int64_t position);
    void MoveFirst() { position_ = 0; }
    void MoveLast() { position_ = visible_.empty() ? 0 : static_cast<int64_t>(visible_.size()) - 1; }
    // Moves to a visible row; false (and no move) when the row is not visible.
    bool MoveToRow(RowId row);

    // --- The visible rows ---
    const std::vector<RowId>& Visible() const { return visible_; }
    size_t VisibleCount() const { return visible_.size(); }
    // The index of a row among the visible ones, or -1 when it is not visible.
    int32_t PositionOf(RowId row) const;
    // True when deleted rows may be shown (a filter of pending changes or conflicts).
    bool ShowsDeleted() const { return filter_.showsDeleted; }
    // The rows RecordCount counts: a deleted current row stays until the cursor moves, uncounted.
    size_t CountedRows() const;

    // Shows the rows `filter` keeps, in arrival order; the cursor moves to the first.
    void ShowRows(RowFilter filter);
    // Shows the rows again under the same filter (rows came back or left); the cursor moves to the first.
    void Refresh() { ShowRows(std::move(filter_)); }
    // An added row joins the end of the view and becomes current.
    void AppendRow(RowId row);
    // The row added last leaves the view again (an addition cancelled); the cursor goes to `position`.
    void RemoveAppended(int64_t position);
    // A deleted current row leaves the view when the cursor moves; true when it did.
    bool DropDeletedCurrent();
    // Orders the visible rows (stably) by the columns, or by arrival when there are none. The
    // current row stays current; the order holds for every later view until changed.
    void SortRows(std::vector<SortColumn> columns);
    const std::vector<SortColumn>& SortOrder() const { return sort_; }

    // --- Comparison and field indexes ---
    const criteria::ValueOrder& Order() const;
    // Builds or drops the index of a column ("Optimize").
    void Optimize(size_t column, bool on);
    const FieldIndex* IndexOf(size_t column) const;
    // A row's stored values changed, or the row was added: indexes follow.
    void RowChanged(RowId row);
    // A column was removed: indexes, the sort order and the last Find follow.
    void ColumnRemoved(size_t column);

    // A change waiting for UpdateBatch. New and modified rows always wait; a deleted row waits
    // only while its change is kept (one deleted by an earlier batch, or an addition cancelled, does not).
    bool IsPending(RowId row) const {
        const uint8_t flags = store.Flags(row);
        if (flags & (RowStore::New | RowStore::Modified)) return true;
        return (flags & RowStore::Deleted) && pending.count(row);
    }

    // The value a field shows: the edit buffer's while the row is being edited.
    Variant Shown(RowId row, size_t column) const;

private:
    void PositionsChanged() { positionsValid_ = false; }
    void ApplySort();

    std::vector<RowId> visible_;              // the visible rows, in cursor order
    int64_t position_ = -1;                   // index into visible_, see MoveTo
    RowFilter filter_;
    std::vector<SortColumn> sort_;
    mutable std::unique_ptr<criteria::ValueOrder> order_;
    std::vector<std::unique_ptr<FieldIndex>> indexes_;
    mutable std::vector<int32_t> positionOf_;  // row id -> index in visible_ (-1 hidden), built on demand
    mutable bool positionsValid_ = false;
    mutable bool positionsIdentity_ = false;  // visible_ is every row in arrival order: no table needed
};

}  // namespace ado::cursor
