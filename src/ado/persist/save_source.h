// What a writer saves: borrowed views of rowsets, taken from a recordset's cursor or from a
// file model, so that saving copies no row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ado/persist/rowset_file.h"

namespace ado::persist {

struct RowsetSource {
    const cursor::RowStore* rows = nullptr;
    const PendingChanges* pending = nullptr;
    std::vector<size_t> columns;       // the store's columns that are saved, in order
    std::vector<ColumnExtra> extras;   // one per saved column; a chapter's child indexes FileSource
    std::vector<cursor::RowId> order;  // the rows saved, in order, pending deletions included
    bool updatable = true;
    std::string reshapeName;
    int32_t commandTimeout = 0;

    const cursor::ColumnInfo& Column(size_t k) const { return rows->Columns()[columns[k]]; }
    // The pending change of a row, or null.
    const cursor::PendingChange* Pending(cursor::RowId row) const {
        auto it = pending->find(row);
        return it == pending->end() ? nullptr : &it->second;
    }
};

struct FileSource {
    std::vector<RowsetSource> rowsets;  // [0] the root; children in depth-first pre-order
    bool crlf = true;                   // XML line ends
};

// Every column and every kept row of every rowset of a file model.
FileSource SourceOf(const RowsetFile& file);

}  // namespace ado::persist
