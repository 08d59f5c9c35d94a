// One row written back to its base table, as the cursor engine asks a provider to do it,
// and the parameterised SQL every provider builds from it.
//
// A write is its shape (which statement: kind, table, columns) and its values. Rows of one
// shape share the shape object, so a provider finds its compiled statement by the shape's
// key, or by the pointer itself when consecutive writes share it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ado/Enums.h"
#include "ado/Variant.h"

namespace ado::cursor {
class RowStore;
}

namespace ado::cursor {

struct WriteShape {
    enum class Kind { Insert, Update, Delete };
    Kind kind = Kind::Update;
    std::string table;
    std::vector<std::string> setColumns;    // Insert and Update
    std::vector<std::string> whereColumns;  // Update and Delete: the row as it was read
    std::vector<uint8_t> whereIsNull;       // per criterion: compared with IS NULL, no value bound
    std::vector<std::string> readBack;      // Insert: columns to read back (autonumber, defaults)
    std::vector<DataTypeEnum> readBackTypes;  // their ADO types
    // Update and Delete: the first criterion is the row's identity (kRowIdentityColumn).
    bool byIdentity = false;
    // Update and Delete: the criteria find one row at most (its identity, or a key column
    // among them); otherwise the provider guards the write against changing several rows.
    bool singleRow = false;
    // Insert: the provider reads the new row's identity back too, after the readBack columns
    // (planned where the cursor shows no key of the table).
    bool readBackIdentity = false;
    std::string key;                        // tells shapes apart; set by Seal

    // How the cursor engine planned the shape, so that rows planned alike share it.
    struct Origin {
        const void* columns = nullptr;  // the cursor's column list
        std::vector<uint8_t> changed;
        int32_t criteria = 0;
        std::string uniqueTable;
        std::vector<size_t> setFields;    // the cursor column of each set value
        std::vector<size_t> whereFields;  // and of each criterion
        std::vector<size_t> readBackFields;  // Insert: the cursor column of each read-back value
        size_t identityField = static_cast<size_t>(-1);  // the target table's identity column, if any
    } origin;

    // Computes the key once the members are filled.
    void Seal();
};

struct RowWrite {
    using Kind = WriteShape::Kind;
    std::shared_ptr<const WriteShape> shape;
    // The values point into the rows the write was planned from (the cursor's edit buffer,
    // a pending change's original row) or into `own`, which holds what had to be read out
    // of the row store. They are valid while those rows are: during the provider's call.
    std::vector<const Variant*> setValues;    // one per set column, unless `cells` is set
    // Planned for a provider that reads cells itself: the set values are the cells of row
    // `cellRow` of `cells`, at the shape's origin.setFields; setValues is then empty.
    const RowStore* cells = nullptr;
    uint32_t cellRow = 0;
    std::vector<const Variant*> whereValues;  // one per criterion (Null ones are not bound)
    std::vector<Variant> own;

    RowWrite() = default;
    RowWrite(RowWrite&&) = default;
    RowWrite& operator=(RowWrite&&) = default;
    RowWrite(const RowWrite&) = delete;  // the values may point into `own`
    RowWrite& operator=(const RowWrite&) = delete;

    const WriteShape& Shape() const { return *shape; }
    Kind kind() const { return shape->kind; }
    const std::string& table() const { return shape->table; }
    const Variant& SetValue(size_t k) const { return *setValues[k]; }
    const Variant& WhereValue(size_t k) const { return *whereValues[k]; }
};

struct WriteSql {
    std::string text;
    std::vector<Variant> parameters;
};

// "INSERT INTO t (a, b) VALUES (?, ?)", "UPDATE t SET a = ? WHERE k = ? AND c IS NULL", ...
// `quote` writes an identifier in the engine's quoting.
std::string BuildWriteText(const WriteShape& shape, std::string (*quote)(std::string_view));
// The text and the values in the order it names them: SET values, then non-Null criteria.
WriteSql BuildWriteSql(const RowWrite& w, std::string (*quote)(std::string_view));

// The values a write binds to its criteria, copied.
std::vector<Variant> WhereValuesOf(const RowWrite& w);

// A write of a new shape built by hand (row locks): the shape is sealed here.
RowWrite MakeWrite(WriteShape shape, std::vector<Variant> setValues, std::vector<Variant> whereValues);

}  // namespace ado::cursor
