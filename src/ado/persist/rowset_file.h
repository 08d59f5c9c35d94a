// The in-memory model of a recordset file, ADTG or XML: one rowset per recordset of a
// hierarchy, each with its columns as ADO describes them, its rows as they stand and its
// pending changes with their original values.
//
// A rowset's rows use the cursor engine's own structures, so that a file loads straight into
// a recordset: the RowStore holds the values as they stand (row flags New, Modified,
// Deleted) and `pending` holds, per changed row, the original values (modified and deleted
// rows) and the columns the change gave (modified and inserted rows).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ado/Enums.h"
#include "ado/cursor/cursor.h"
#include "ado/cursor/row_store.h"

namespace ado::persist {

// One pair of a chapter's relation: the parent's column equals the child's (1-based ordinals).
struct RelationPair {
    uint32_t parent = 0;
    uint32_t child = 0;
    uint32_t kind = 0;  // 0 for RELATE; COMPUTE ... BY writes 1
    friend bool operator==(const RelationPair&, const RelationPair&) = default;
};

// What a file says of a column beyond the cursor's ColumnInfo.
struct ColumnExtra {
    std::string calculation;             // the calculation of a computed column, as stored
    int32_t child = -1;                  // chapter columns: the child rowset's index in the file
    std::vector<RelationPair> relation;  // chapter columns
    friend bool operator==(const ColumnExtra&, const ColumnExtra&) = default;
};

using cursor::PendingChanges;

struct Rowset {
    cursor::RowStore rows;
    std::vector<ColumnExtra> extras;  // one per column of `rows`
    PendingChanges pending;
    bool updatable = true;
    std::string reshapeName;
    int32_t commandTimeout = 0;  // seconds; 0 when the file gives none
};

struct RowsetFile {
    std::vector<Rowset> rowsets;  // [0] the root; children in depth-first pre-order
    PersistFormatEnum format = adPersistADTG;  // the format it was read from
    bool crlf = true;             // XML: lines end in CR LF (ADO's Save to a file), else LF
};

// The ADO rule for a row that a file keeps: rows not deleted, and deleted rows whose deletion
// is still pending.
inline bool KeptInFile(const cursor::RowStore& rows, const PendingChanges& pending, cursor::RowId row) {
    return !(rows.Flags(row) & cursor::RowStore::Deleted) || pending.count(row) != 0;
}

}  // namespace ado::persist
