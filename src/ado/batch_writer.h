// Writes the pending rows of a batch through the session, a chunk at a time: memory stays
// bounded however many rows are pending, and each chunk's row writes reuse the buffers of
// the chunk before.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "ado/Error.h"
#include "ado/cursor/cursor.h"
#include "ado/provider.h"

namespace ado {

struct BatchOutcome {
    // Rows the session wrote; nothing of the cursor changes until the batch commits.
    std::vector<cursor::RowId> written;
    // Values an insert read back (autonumbers, defaults), for the read-back fields of its shape.
    struct ReadBack {
        cursor::RowId row;
        std::shared_ptr<const cursor::WriteShape> shape;
        std::vector<Variant> values;
    };
    std::vector<ReadBack> readBacks;
    // Rows that failed, each with its own error.
    std::vector<std::pair<cursor::RowId, Error>> failed;
};

struct BatchSettings {
    int32_t criteria;         // the recordset's "Update Criteria"
    std::string uniqueTable;  // its "Unique Table", when set
};

// Writes the rows inside the caller's transaction; a failing row does not stop the others.
// An inserted row's identity goes to its hidden cell at once: only a written row's identity
// is ever read, and a row whose batch fails stays to be inserted, reading its identity anew.
// A failure of the session itself (not of one row) is thrown.
BatchOutcome WritePendingRows(cursor::Cursor& state, provider::Session& session,
                              std::span<const cursor::RowId> rows, const BatchSettings& settings);

}  // namespace ado
