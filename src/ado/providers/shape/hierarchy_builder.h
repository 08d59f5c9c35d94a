// Runs a parsed SHAPE command on a data session: each level's rows are read once, by its own
// statement, and kept as one rowset; each chapter column names its child rowset and the
// relation that picks a parent's child rows.
#pragma once

#include "ado/persist/rowset_file.h"
#include "ado/provider.h"
#include "ado/providers/shape/shape_command.h"

namespace ado::shape {

// `base` gives each level's statement its time limit and row identities. Fails with 3265
// when a RELATE field is not a column of its level.
void BuildHierarchy(const Shape& shape, provider::Session& data, const provider::Statement& base,
                    persist::RowsetFile& hierarchy);

}  // namespace ado::shape
