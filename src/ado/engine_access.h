// The engine side of the handles: what the layer's own parts call on a connection or a
// recordset and a client never should (the open session, recording a failure, rows read
// elsewhere, a field's assignment). The handles keep these members private and befriend
// this class alone, so the public headers show only ADO's surface.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ado/Connection.h"
#include "ado/Error.h"
#include "ado/Field.h"
#include "ado/Recordset.h"

namespace ado::detail {

class EngineAccess {
public:
    // The connection's open session (3709 when closed).
    static provider::Session& Session(Connection& connection) { return connection.Session(); }

    // Runs an engine call, recording a failure in the connection's Errors before passing it on.
    template <class F>
    static decltype(auto) Guard(Connection& connection, F&& f) {
        try {
            return f();
        } catch (const Error& e) {
            connection.errors_.Replace(e);
            throw;
        }
    }
    // The same for running a statement: the failure also names the statement.
    template <class F>
    static decltype(auto) Guard(Connection& connection, std::string_view statement, F&& f) {
        try {
            return f();
        } catch (Error& e) {
            e.Statement(statement);
            connection.errors_.Replace(e);
            throw;
        }
    }

    // Opens `recordset` over rows already read (Connection::Execute, Command::Execute).
    static void Adopt(Recordset& recordset, cursor::RowStore&& rows, const ConnectionPtr& connection,
                      std::string source) {
        recordset.Adopt(std::move(rows), connection, std::move(source));
    }
    // A chapter field of `parent`'s row `row` was read: `chapter` shows that row's children.
    static void FollowParent(Recordset& chapter, const cursor::Cursor& parent, cursor::RowId row) {
        chapter.FollowParent(parent, row);
    }
    // Field::Value's assignment, Fields::Append and Fields::Delete.
    static void SetFieldValue(Recordset& recordset, size_t column, const Variant& value) {
        recordset.SetFieldValue(column, value);
    }
    static void AppendField(Recordset& recordset, std::string_view name, DataTypeEnum type, int32_t definedSize,
                            int32_t attributes, const Variant& value) {
        recordset.AppendField(name, type, definedSize, attributes, value);
    }
    static void DeleteField(Recordset& recordset, size_t column) { recordset.DeleteField(column); }

    // A recordset's fields: made over the cursor's columns, told of columns added and removed.
    static std::unique_ptr<Field> MakeField(cursor::Cursor* state, size_t column) {
        return std::unique_ptr<Field>(new Field(state, column));
    }
    static size_t ColumnOf(const Field& field) { return field.Index(); }
    static void ResetFields(Fields& fields, std::shared_ptr<cursor::Cursor> owner,
                            std::vector<std::unique_ptr<Field>> items) {
        fields.Reset(std::move(owner), std::move(items));
    }
    static void FieldAdded(Fields& fields, std::unique_ptr<Field> field) { fields.Added(std::move(field)); }
    static void FieldRemoved(Fields& fields, size_t column) { fields.Removed(column); }
};

}  // namespace ado::detail
