// Recordset: the recordset of a chapter column. One recordset per chapter column holds the
// whole child level (one row store per level); reading the chapter field of a parent row
// shows the child rows whose relation key is that row's, found in an index built once.
#include <algorithm>

#include "ado/Recordset.h"
#include "ado/cursor/cursor.h"
#include "ado/persist/relation_key.h"
#include "ado/persist/rowset_file.h"
#include "ado/recordset_chapters.h"

namespace ado {

namespace {

// AddToKey of a stored cell, without making a Variant of the common integer and text keys.
bool AddCellToKey(std::string& key, const cursor::RowStore& store, cursor::RowId row, size_t column) {
    using Tag = cursor::RowStore::Tag;
    const cursor::RowStore::Cell& cell = store.CellAt(row, column);
    const DataTypeEnum type = store.Columns()[column].type;
    const bool exactInteger = cell.tag == Tag::Int && (type == adBigInt || (type == adInteger && cell.i == static_cast<int32_t>(cell.i)));
    if (exactInteger) {
        persist::AppendKeyInteger(key, cell.i);
    } else if (cell.tag == Tag::Text) {
        key += store.TextAt(cell);
    } else {
        return persist::AddToKey(key, store.Get(row, column));
    }
    key.push_back(persist::kKeySeparator);
    return true;
}

// Whether two rows hold the same integers or texts in the relation's child columns, and so the
// same key, found without building it. Any other kind of cell answers false: its key is built.
bool SameRelationCells(const cursor::RowStore& store, cursor::RowId a, cursor::RowId b,
                       const std::vector<persist::RelationPair>& relation) {
    using Tag = cursor::RowStore::Tag;
    for (const persist::RelationPair& r : relation) {
        const cursor::RowStore::Cell& x = store.CellAt(a, r.child - 1);
        const cursor::RowStore::Cell& y = store.CellAt(b, r.child - 1);
        if (x.tag != y.tag) return false;
        if (x.tag == Tag::Int) {
            if (x.i != y.i) return false;
        } else if (x.tag != Tag::Text || store.TextAt(x) != store.TextAt(y)) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::shared_ptr<Recordset::ChapterView> MakeChapterView(const persist::Rowset& child,
                                                        const std::vector<persist::RelationPair>& relation) {
    auto view = std::make_shared<Recordset::ChapterView>();
    view->relation = relation;
    // Child rows usually come grouped by their key: a run of one key is looked up once and
    // joins its key's list in one piece.
    std::string key, runKey;
    std::vector<cursor::RowId> run;
    auto endRun = [&] {
        if (run.empty()) return;
        std::vector<cursor::RowId>& rows = view->rows[runKey];
        rows.insert(rows.end(), run.begin(), run.end());
        run.clear();
    };
    for (cursor::RowId row = 0; row < child.rows.RowCount(); ++row) {
        if (!persist::KeptInFile(child.rows, child.pending, row)) continue;
        if (!run.empty() && SameRelationCells(child.rows, run.back(), row, relation)) {
            run.push_back(row);
            continue;
        }
        key.clear();
        bool related = true;
        for (const persist::RelationPair& r : relation)
            related = related && AddCellToKey(key, child.rows, row, r.child - 1);
        if (!related) continue;
        if (key != runKey) {
            endRun();
            runKey = key;
        }
        run.push_back(row);
    }
    endRun();
    return view;
}

void Recordset::FollowParent(const cursor::Cursor& parent, cursor::RowId row) {
    if (!chapter_ || !state_->open) return;
    ChapterView& view = *chapter_;
    std::string key;
    bool keyed = true;
    for (const persist::RelationPair& r : view.relation)
        keyed = keyed && AddCellToKey(key, parent.store, row, r.parent - 1);
    if (view.shown && keyed == view.keyed && key == view.key) return;
    // A row being edited or added is finished before the chapter shows another parent's rows.
    if (state_->editMode != adEditNone) Update();
    view.shown = true;
    view.keyed = keyed;
    view.key = std::move(key);
    view.shownRows = keyed ? &view.rows[view.key] : &view.none;
    relatedValues_.clear();
    for (const persist::RelationPair& r : view.relation)
        relatedValues_.emplace_back(r.child - 1, parent.store.Get(row, r.parent - 1));
    // The chapter's filter, restricted to this parent's rows (see ChapterView::Restrict).
    Filter(filter_);
}

void Recordset::ChapterView::Restrict(const Recordset& rs, cursor::RowFilter& filter) {
    if (!rs.chapter_ || !rs.chapter_->shown) return;
    // The view looks only at its candidates: narrowing them to the chapter's rows is enough.
    const std::vector<cursor::RowId>& rows = *rs.chapter_->shownRows;
    if (filter.candidates) {
        std::erase_if(*filter.candidates,
                      [&](cursor::RowId r) { return !std::binary_search(rows.begin(), rows.end(), r); });
    } else {
        filter.candidates = rows;
    }
}

void Recordset::ChapterView::FollowMoves(Recordset& parent) {
    if (parent.chapterColumns_.empty() || !parent.state_->HasCurrent()) return;
    const cursor::RowId row = parent.state_->CurrentRow();
    for (const auto& [column, chapter] : parent.chapterColumns_)
        if (chapter->chapter_ && chapter->chapter_->shown) chapter->FollowParent(*parent.state_, row);
}

void Recordset::AddedToChapter(cursor::RowId row) {
    // Rows added to the chapter join its key's list, so they stay shown when the rows are shown again.
    if (chapter_ && chapter_->shown && chapter_->keyed) chapter_->shownRows->push_back(row);
}

}  // namespace ado
