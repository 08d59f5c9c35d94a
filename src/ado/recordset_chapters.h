// The state of a chapter's recordset (Recordset::ChapterView), shared by the files that open
// hierarchies and show chapters.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "ado/Recordset.h"
#include "ado/cursor/cursor.h"
#include "ado/persist/rowset_file.h"

namespace ado {

struct Recordset::ChapterView {
    std::unordered_map<std::string, std::vector<cursor::RowId>> rows;  // ascending, by relation key
    std::vector<persist::RelationPair> relation;
    std::vector<cursor::RowId> none;  // what a parent with a Null key relates to (always empty)
    std::string key;                         // the key of the parent row shown now
    std::vector<cursor::RowId>* shownRows = nullptr;  // its rows (`none` when unkeyed)
    bool keyed = false;
    bool shown = false;

    // A filter of a chapter's recordset keeps to the rows of the parent shown now: a criteria
    // Filter narrows the chapter, it never shows other parents' rows.
    static void Restrict(const Recordset& rs, cursor::RowFilter& filter);
    // The chapters already read follow the parent as its current row changes (ADO's StayInSync,
    // true by default): a chapter's recordset kept from an earlier read shows the new row's
    // children, and its own chapters follow in turn.
    static void FollowMoves(Recordset& parent);
};

// The index of a child level's rows by the relation's child columns.
std::shared_ptr<Recordset::ChapterView> MakeChapterView(const persist::Rowset& child,
                                                        const std::vector<persist::RelationPair>& relation);

}  // namespace ado
