// Recordset: defining fields of an in-memory or disconnected recordset.
#include "ado/Recordset.h"
#include "ado/cursor/cursor.h"
#include "ado/engine_access.h"
#include "ado/error_numbers.h"

namespace ado {

namespace {

// The size a field of the type has when Append is given none.
int32_t DefaultSize(DataTypeEnum type, int32_t given) {
    if (given > 0) return given;
    switch (type) {
        case adBoolean: case adSmallInt: return 2;
        case adTinyInt: case adUnsignedTinyInt: return 1;
        case adInteger: case adSingle: return 4;
        case adDouble: case adCurrency: case adDate: case adBigInt: return 8;
        case adGUID: return 16;
        case adNumeric: case adDecimal: return 19;
        case adLongVarWChar: case adLongVarChar: return 536870910;
        case adLongVarBinary: return 1073741823;
        default: return 255;
    }
}

}  // namespace

void Recordset::RebuildFields() {
    cursor::Cursor& s = *state_;
    std::vector<std::unique_ptr<Field>> fields;
    // Row identity columns are the engine's, never fields; hidden columns of a file neither.
    const size_t visible = cursor::VisibleColumnCount(s.store.Columns());
    for (size_t i = 0; i < visible; ++i)
        if (!s.store.Columns()[i].hidden) fields.push_back(detail::EngineAccess::MakeField(&s, i));
    detail::EngineAccess::ResetFields(s.fields, state_, std::move(fields));
}

void Recordset::AppendField(std::string_view name, DataTypeEnum type, int32_t definedSize, int32_t attributes,
                            const Variant& value) {
    cursor::Cursor& s = *state_;
    if (s.open && connection_) Raise(Condition::ObjectOpen, "(desconecte el conjunto de registros antes)");
    if (s.editMode != adEditNone) Raise(Condition::EditInProgress);
    if (name.empty()) Raise(Condition::InvalidArgument);
    if (s.fields.IndexOf(name) >= 0) Raise(Condition::IllegalOperation, "(ya existe un campo '" + std::string(name) + "')");
    cursor::ColumnInfo c;
    c.name = name;
    c.type = type;
    c.definedSize = DefaultSize(type, definedSize);
    c.attributes = attributes == adFldUnspecified ? (adFldUpdatable | adFldIsNullable | adFldMayBeNull) : attributes;
    if (type == adNumeric || type == adDecimal) c.precision = 18;
    s.store.AddColumn(std::move(c), value.IsEmpty() ? Variant(Variant::Null) : value);
    detail::EngineAccess::FieldAdded(s.fields, detail::EngineAccess::MakeField(&s, s.store.ColumnCount() - 1));
}

void Recordset::DeleteField(size_t column) {
    cursor::Cursor& s = *state_;
    if (s.open && connection_) Raise(Condition::ObjectOpen, "(desconecte el conjunto de registros antes)");
    if (s.editMode != adEditNone) Raise(Condition::EditInProgress);
    if (column >= s.store.ColumnCount()) Raise(Condition::ItemNotFound);
    s.store.RemoveColumn(column);
    for (auto& [row, p] : s.pending) {
        if (column < p.original.size()) p.original.erase(p.original.begin() + static_cast<ptrdiff_t>(column));
        if (column < p.changed.size()) p.changed.erase(p.changed.begin() + static_cast<ptrdiff_t>(column));
    }
    detail::EngineAccess::FieldRemoved(s.fields, column);
    s.ColumnRemoved(column);
}

}  // namespace ado
