// Access keeps a derived table of a saved query as `[SELECT ...]. AS alias`: brackets that
// hold a whole query (its own bracketed names, literals and such derived tables included)
// with a period after them. The tokenizer reads it as `(SELECT ...) AS alias`.
#pragma once

#include <cstddef>
#include <string_view>
#include <unordered_map>

namespace ado::sqlite::detail {

class SavedDerivedTables {
public:
    // Where the derived table whose bracket opens at `open` closes (its ']'), or npos when the
    // brackets there hold a name. A nest is matched in one pass and remembered, so that a
    // statement is still read in linear time.
    size_t CloseOf(std::string_view sql, size_t open);

private:
    void Match(std::string_view sql, size_t open);
    std::unordered_map<size_t, size_t> closes_;  // by opening bracket; npos: a name
};

}  // namespace ado::sqlite::detail
