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

std::shared_ptr<Recordset::ChapterView> MakeChapterView(const persist::Rowset& child,
                                                        const std::vector<persist::RelationPair>& relation) {
    auto view = std::make_shared<Recordset::ChapterView>();
    view->relation = relation;
    for (cursor::RowId row = 0; row < child.rows.RowCount(); ++row) {
        if (!persist::KeptInFile(child.rows, child.pending, row)) continue;
        std::string key;
        bool related = true;
        for (const persist::RelationPair& r : relation)
            related = related && persist::AddToKey(key, child.rows.Get(row, r.child - 1));
        if (related) view->rows[key].push_back(row);
    }
    return view;
}

void Recordset::FollowParent(const cursor::Cursor& parent, cursor::RowId row) {
    if (!chapter_ || !state_->open) return;
    ChapterView& view = *chapter_;
    std::string key;
    bool keyed = true;
    for (const persist::RelationPair& r : view.relation)
        keyed = keyed && persist::AddToKey(key, parent.store.Get(row, r.parent - 1));
    if (view.shown && keyed == view.keyed && key == view.key) return;
    // A row being edited or added is finished before the chapter shows another parent's rows.
    if (state_->editMode != adEditNone) Update();
    view.shown = true;
    view.keyed = keyed;
    view.key = std::move(key);
    relatedValues_.clear();
    for (const persist::RelationPair& r : view.relation)
        relatedValues_.emplace_back(r.child - 1, parent.store.Get(row, r.parent - 1));
    // The chapter's filter, restricted to this parent's rows (see ChapterView::Restrict).
    Filter(filter_);
}

void Recordset::ChapterView::Restrict(const Recordset& rs, cursor::RowFilter& filter) {
    if (!rs.chapter_ || !rs.chapter_->shown) return;
    ChapterView& view = *rs.chapter_;
    // Rows added to the chapter join its key's list, so they stay shown when the rows are shown again.
    const std::vector<cursor::RowId>* rows = view.keyed ? &view.rows[view.key] : &view.none;
    const cursor::RowStore* store = &rs.state_->store;
    auto inChapter = [rows](cursor::RowId r) { return std::binary_search(rows->begin(), rows->end(), r); };
    if (filter.candidates) {
        std::erase_if(*filter.candidates, [&](cursor::RowId r) { return !inChapter(r); });
    } else {
        filter.candidates = *rows;
    }
    filter.keep = [inChapter, store, keep = std::move(filter.keep)](cursor::RowId r) {
        return inChapter(r) && (keep ? keep(r) : !(store->Flags(r) & cursor::RowStore::Deleted));
    };
}

void Recordset::AddedToChapter(cursor::RowId row) {
    if (chapter_ && chapter_->shown && chapter_->keyed) chapter_->rows[chapter_->key].push_back(row);
}

}  // namespace ado
