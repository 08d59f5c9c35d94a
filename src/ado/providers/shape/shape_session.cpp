#include "ado/providers/shape/shape_session.h"

#include "ado/error_numbers.h"
#include "ado/providers/shape/hierarchy_builder.h"
#include "ado/providers/shape/shape_command.h"

namespace ado::shape {

provider::Session& ShapeSession::Data() {
    if (!data_) Raise(Condition::NotSupported, "(la conexión jerárquica no tiene proveedor de datos: Data Provider=none)");
    return *data_;
}

bool ShapeSession::ExecuteHierarchy(const provider::Statement& statement, persist::RowsetFile& hierarchy) {
    if (!IsShapeCommand(statement.text)) return false;
    const Shape shape = ParseShape(statement.text);
    BuildHierarchy(shape, Data(), statement, hierarchy);
    return true;
}

int64_t ShapeSession::Execute(const provider::Statement& statement, cursor::RowStore& rows) {
    // A hierarchy has no place in a plain row store: only a recordset opens it.
    if (IsShapeCommand(statement.text)) {
        ParseShape(statement.text);
        Raise(Condition::NotSupported, "(SHAPE: una orden jerárquica se abre con Recordset.Open)");
    }
    return Data().Execute(statement, rows);
}

std::unique_ptr<provider::PreparedStatement> ShapeSession::Prepare(const provider::Statement& statement) {
    if (IsShapeCommand(statement.text)) return nullptr;
    return Data().Prepare(statement);
}

std::vector<provider::ParameterInfo> ShapeSession::DescribeParameters(const provider::Statement& statement) {
    if (IsShapeCommand(statement.text)) return {};
    return Data().DescribeParameters(statement);
}

}  // namespace ado::shape
