// Recordset: moving the current row, positions and bookmarks.
#include <cmath>

#include "ado/Recordset.h"
#include "ado/cursor/cursor.h"
#include "ado/error_numbers.h"
#include "ado/recordset_chapters.h"

namespace ado {

void Recordset::RequireScrollable() const {
    if (!state_->scrollable) Raise(Condition::CantFetchBackwards);
}

bool Recordset::adoEOF() const {
    RequireOpen();
    return state_->AtEOF();
}

bool Recordset::BOF() const {
    RequireOpen();
    return state_->AtBOF();
}

void Recordset::MoveFirst() {
    RequireOpen();
    LeaveRow();
    state_->MoveFirst();
    ChapterView::FollowMoves(*this);
}

void Recordset::MoveLast() {
    RequireOpen();
    RequireScrollable();
    LeaveRow();
    state_->MoveLast();
    ChapterView::FollowMoves(*this);
}

void Recordset::MoveNext() {
    RequireOpen();
    if (state_->AtEOF()) Raise(Condition::NoCurrentRecord);
    // After a deleted row is left, the next row has taken its place.
    if (!LeaveRow()) state_->MoveTo(state_->Position() + 1);
    ChapterView::FollowMoves(*this);
}

void Recordset::MovePrevious() {
    RequireOpen();
    RequireScrollable();
    if (state_->AtBOF()) Raise(Condition::NoCurrentRecord);
    LeaveRow();
    state_->MoveTo(state_->Position() - 1);
    ChapterView::FollowMoves(*this);
}

void Recordset::Move(int32_t rows, const Variant& start) {
    RequireOpen();
    cursor::Cursor& s = *state_;
    if (rows < 0) RequireScrollable();
    const bool fromCurrent = start.IsEmpty() || (start.Type() != VariantType::R8 && start.IsNumeric() &&
                                                 start.ToInt32() == adBookmarkCurrent);
    if (fromCurrent) {
        if (rows < 0 && s.AtBOF()) Raise(Condition::NoCurrentRecord);
        if (rows > 0 && s.AtEOF()) Raise(Condition::NoCurrentRecord);
    }
    const bool dropped = LeaveRow();
    const auto n = static_cast<int64_t>(s.VisibleCount());
    int64_t base = s.Position();
    if (fromCurrent) {
        if (dropped && rows > 0) --base;  // the deleted row's place is taken by the next one
    } else if (start.Type() == VariantType::R8) {
        Bookmark(start);
        base = s.Position();
    } else if (start.ToInt32() == adBookmarkFirst) {
        base = 0;
    } else if (start.ToInt32() == adBookmarkLast) {
        base = n - 1;
    } else {
        Raise(Condition::BadBookmark);
    }
    s.MoveTo(base + rows);
    ChapterView::FollowMoves(*this);
}

int32_t Recordset::AbsolutePosition() const {
    RequireOpen();
    if (state_->Position() < 0) return adPosBOF;
    if (state_->AtEOF()) return adPosEOF;
    return static_cast<int32_t>(state_->Position() + 1);
}

void Recordset::AbsolutePosition(int32_t position) {
    RequireOpen();
    LeaveRow();
    if (position < 1 || position > static_cast<int64_t>(state_->VisibleCount())) Raise(Condition::InvalidArgument);
    state_->MoveTo(position - 1);
    ChapterView::FollowMoves(*this);
}

Variant Recordset::Bookmark() const {
    RequireOpen();
    if (!state_->bookmarks) Raise(Condition::NotSupported);
    return Variant(static_cast<double>(state_->RequireCurrent()) + 1.0);
}

void Recordset::Bookmark(const Variant& bookmark) {
    RequireOpen();
    if (!state_->bookmarks) Raise(Condition::NotSupported);
    if (!bookmark.IsNumeric()) Raise(Condition::BadBookmark);
    const double value = bookmark.ToDouble();
    if (value < 1 || value != std::floor(value) || value > static_cast<double>(state_->store.RowCount()))
        Raise(Condition::BadBookmark);
    const auto row = static_cast<cursor::RowId>(value - 1);
    if (state_->PositionOf(row) < 0 || (state_->store.Flags(row) & cursor::RowStore::Deleted && !state_->ShowsDeleted()))
        Raise(Condition::BadBookmark);
    LeaveRow();
    state_->MoveToRow(row);
    ChapterView::FollowMoves(*this);
}

}  // namespace ado
