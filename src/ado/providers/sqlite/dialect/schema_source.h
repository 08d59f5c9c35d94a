// What the translator asks of the database: the columns of a table or stored query, with
// their types. The session answers from the file's schema; without one every name is of
// unknown type and values are taken as the engine holds them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ado/providers/sqlite/dialect/value_types.h"

namespace ado::sqlite::detail {

struct SchemaColumn {
    std::string name;
    ValueType type;
};

class SchemaSource {
public:
    virtual ~SchemaSource() = default;
    // The columns of `table` in `database` ("" for the file's own; an attached alias) or in
    // the database file `externalFile` (t IN 'file'), in order; nullptr when there is no
    // table or stored query of that name. The pointer stays valid during the translation.
    virtual const std::vector<SchemaColumn>* Columns(std::string_view database, std::string_view externalFile,
                                                     std::string_view table) = 0;
};

// Knows no table: every column is of unknown type.
class NoSchema final : public SchemaSource {
public:
    const std::vector<SchemaColumn>* Columns(std::string_view, std::string_view, std::string_view) override {
        return nullptr;
    }
};

}  // namespace ado::sqlite::detail
