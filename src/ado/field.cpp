#include "ado/Field.h"

#include "ado/Recordset.h"

#include "ado/connection_string.h"
#include "ado/cursor/cursor.h"
#include "ado/engine_access.h"
#include "ado/error_numbers.h"

namespace ado {

namespace {
const cursor::ColumnInfo& Info(const cursor::Cursor* s, size_t column) {
    if (column >= s->store.ColumnCount()) Raise(Condition::ItemNotFound, "(el campo se eliminó)");
    return s->store.Columns()[column];
}
}  // namespace

const std::string& Field::Name() const { return Info(state_, column_).name; }
DataTypeEnum Field::Type() const { return Info(state_, column_).type; }
int32_t Field::DefinedSize() const { return Info(state_, column_).definedSize; }
int32_t Field::Attributes() const { return Info(state_, column_).attributes; }
uint8_t Field::Precision() const { return Info(state_, column_).precision; }
uint8_t Field::NumericScale() const { return Info(state_, column_).numericScale; }

namespace {
cursor::ColumnInfo& Editable(cursor::Cursor* s, size_t column) {
    if (s->owner && s->open && s->owner->ActiveConnection()) Raise(Condition::ObjectOpen);
    Info(s, column);
    return s->store.Columns()[column];
}
}  // namespace

void Field::DefinedSize(int32_t size) { Editable(state_, column_).definedSize = size; }
void Field::Attributes(int32_t attributes) { Editable(state_, column_).attributes = attributes; }

Variant Field::Value() const {
    if (!state_->open) Raise(Condition::ObjectClosed);
    const cursor::RowId row = state_->RequireCurrent();
    Variant value = state_->Shown(row, column_);
    // A chapter's recordset shows the child rows of the row it was read from.
    if (value.Type() == VariantType::Object && value.AsObject() && state_->store.Columns()[column_].type == adChapter)
        detail::EngineAccess::FollowParent(*value.AsObject(), *state_, row);
    return value;
}

void Field::Value(const Variant& v) {
    if (!state_->open || !state_->owner) Raise(Condition::ObjectClosed);
    detail::EngineAccess::SetFieldValue(*state_->owner, column_, v);
}

Variant Field::OriginalValue() const {
    if (!state_->open) Raise(Condition::ObjectClosed);
    // A deleted row (shown by a pending-records filter) still has the values it was read with.
    const cursor::RowId row = state_->HasCurrent() && state_->pending.count(state_->CurrentRow())
                                  ? state_->CurrentRow()
                                  : state_->RequireCurrent();
    if (auto it = state_->pending.find(row); it != state_->pending.end() && !it->second.original.empty())
        return it->second.original[column_];
    if (state_->store.Flags(row) & cursor::RowStore::New) return Variant(Variant::Null);
    return state_->store.Get(row, column_);
}

ado::Properties& Field::Properties() {
    if (!properties_) {
        // The client cursor's order: the base names at 0..3 and KEYCOLUMN at 4.
        const cursor::ColumnInfo& c = Info(state_, column_);
        auto text = [](const std::string& s) { return s.empty() ? Variant(Variant::Null) : Variant(s); };
        properties_ = std::make_unique<ado::Properties>();
        auto& p = *properties_;
        p.Add({"BASECATALOGNAME", text(c.baseCatalog), adVarWChar, adPropRead});
        p.Add({"BASECOLUMNNAME", text(c.baseColumn), adVarWChar, adPropRead});
        p.Add({"BASESCHEMANAME", text(c.baseSchema), adVarWChar, adPropRead});
        p.Add({"BASETABLENAME", text(c.baseTable), adVarWChar, adPropRead});
        p.Add({"KEYCOLUMN", Variant(c.key), adBoolean, adPropRead});
        // True builds an index of the column that Find and Filter use; false drops it.
        p.Add({"Optimize", Variant(false), adBoolean, adPropRead | adPropWrite, [this](const Variant& v) {
                   Info(state_, column_);
                   if (state_->owner && state_->owner->CursorLocation() == adUseServer)
                       Raise(Condition::NotSupported, "(índices de campo en un cursor de servidor)");
                   state_->Optimize(column_, v.ToBool());
               }});
        p.Add({"ISAUTOINCREMENT", Variant(c.autoIncrement), adBoolean, adPropRead});
        p.Add({"ISNULLABLE", Variant((c.attributes & adFldIsNullable) != 0), adBoolean, adPropRead});
    }
    return *properties_;
}

// --- Fields -------------------------------------------------------------------------------

int32_t Fields::IndexOf(std::string_view name) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (EqualsNoCase(items_[i]->Name(), name)) return static_cast<int32_t>(i);
    return -1;
}

size_t Fields::Require(std::string_view name) const {
    const int32_t i = IndexOf(name);
    if (i < 0) Raise(Condition::ItemNotFound, std::string(name));
    return static_cast<size_t>(i);
}

FieldPtr Fields::Item(int32_t index) const { return FieldPtr(owner_.lock(), &(*this)[index]); }
FieldPtr Fields::Item(std::string_view name) const { return FieldPtr(owner_.lock(), items_[Require(name)].get()); }

Field& Fields::operator[](int32_t index) const {
    if (index < 0 || index >= Count()) Raise(Condition::ItemNotFound);
    return *items_[static_cast<size_t>(index)];
}

Field& Fields::operator[](std::string_view name) const { return *items_[Require(name)]; }

void Fields::Reset(std::shared_ptr<cursor::Cursor> owner, std::vector<std::unique_ptr<Field>> items) {
    owner_ = std::move(owner);
    items_ = std::move(items);
}

void Fields::Removed(size_t column) {
    for (auto it = items_.begin(); it != items_.end();) {
        Field& f = **it;
        if (f.Index() == column) {
            f.Retarget(Field::kRemoved);
            removed_.push_back(std::move(*it));
            it = items_.erase(it);
            continue;
        }
        if (f.Index() > column) f.Retarget(f.Index() - 1);
        ++it;
    }
}

namespace {
Recordset& OwnerOf(const std::weak_ptr<cursor::Cursor>& owner) {
    auto state = owner.lock();
    if (!state || !state->owner) Raise(Condition::ObjectClosed);
    return *state->owner;
}
}  // namespace

void Fields::Append(std::string_view name, DataTypeEnum type, int32_t definedSize, int32_t attributes,
                    const Variant& value) {
    detail::EngineAccess::AppendField(OwnerOf(owner_), name, type, definedSize, attributes, value);
}

void Fields::Delete(std::string_view name) {
    detail::EngineAccess::DeleteField(OwnerOf(owner_), items_[Require(name)]->Index());
}

void Fields::Delete(int32_t index) {
    detail::EngineAccess::DeleteField(OwnerOf(owner_), (*this)[index].Index());
}

}  // namespace ado
