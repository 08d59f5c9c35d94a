// Recordset: the edit buffer, AddNew, Update, CancelUpdate and Delete.
#include "ado/Recordset.h"
#include "ado/cursor/cursor_state.h"
#include "ado/cursor/write_planner.h"
#include "ado/error_numbers.h"
#include "ado/provider.h"

namespace ado {

namespace {

using cursor::RowStore;

// Stores the value as the column keeps it: converted to the column's kind, Null as it is.
void Coerce(const cursor::ColumnInfo& c, const Variant& v, Variant& out) {
    if (v.IsNull() || v.IsEmpty()) {
        out = Variant(Variant::Null);
        return;
    }
    const VariantType kind = cursor::VariantTypeFor(c.type);
    if (v.Type() == kind || kind == VariantType::Empty || kind == VariantType::Object) {
        out = v;  // already the column's kind: one copy, no conversion
    } else {
        try {
            out = v.ConvertTo(kind);
        } catch (const Error&) {
            Raise(Condition::DataConversion, "(campo '" + c.name + "')");
        }
    }
    if (kind == VariantType::String && c.definedSize > 0 && (c.type == adVarWChar || c.type == adWChar) &&
        out.AsString().size() > static_cast<size_t>(c.definedSize)) {
        // The defined size counts characters, not bytes.
        size_t chars = 0;
        for (char ch : out.AsString()) chars += (ch & 0xC0) != 0x80;
        if (chars > static_cast<size_t>(c.definedSize))
            Raise(Condition::ErrorsOccurred, "(el texto no cabe en el campo '" + c.name + "')");
    }
}

// The row's values into `out`, over its old elements so that their memory is reused.
void CopyRow(const RowStore& store, cursor::RowId row, std::vector<Variant>& out) {
    out.resize(store.ColumnCount());
    for (size_t c = 0; c < store.ColumnCount(); ++c) out[c] = store.Get(row, c);
}

std::vector<Variant> RowValues(const RowStore& store, cursor::RowId row) {
    std::vector<Variant> v;
    CopyRow(store, row, v);
    return v;
}

// The two recordset properties are the first two, added when the recordset was made.
int32_t UpdateCriteria(ado::Properties& p) { return p.Item(0).Value().ToInt32(); }

std::string UniqueTable(ado::Properties& p) {
    const Variant& v = p.Item(1).Value();
    return v.IsText() ? v.AsString() : std::string();
}

}  // namespace

void Recordset::RequireUpdatable() const {
    RequireOpen();
    if (lockType_ == adLockReadOnly) Raise(Condition::ReadOnlyCursor);
}

bool Recordset::Immediate() const { return lockType_ != adLockBatchOptimistic && connection_ != nullptr; }

void Recordset::BeginEdit(cursor::RowId row) {
    cursor::CursorState& s = *state_;
    s.edit.row = row;
    CopyRow(s.store, row, s.edit.values);
    s.edit.dirty.assign(s.store.ColumnCount(), 0);
    if (lockType_ == adLockPessimistic && Immediate()) {
        // The first assignment locks the row for this connection until Update/CancelUpdate.
        std::vector<uint8_t> none(s.store.ColumnCount(), 0);
        cursor::WritePlanInput in{cursor::RowWrite::Kind::Delete, &s.store.Columns(), &s.edit.values, nullptr,
                                  &none, adCriteriaKey, UniqueTable(properties_)};
        const cursor::RowWrite probe = cursor::PlanWrite(in);
        provider::Session& session = connection_->Session();
        connection_->Guard([&] { session.Lock(probe); });
    }
    s.editMode = adEditInProgress;
}

void Recordset::SetFieldValue(size_t column, const Variant& value) {
    RequireUpdatable();
    cursor::CursorState& s = *state_;
    const cursor::RowId row = s.RequireCurrent();
    const cursor::ColumnInfo& info = s.store.Columns()[column];
    // Checked before the edit begins, so a refused value starts nothing.
    Variant& slot = s.editMode == adEditNone ? s.edit.probe : s.edit.values[column];
    Coerce(info, value, slot);
    if (info.autoIncrement && !(s.store.Flags(row) & RowStore::New && connection_ == nullptr)) {
        // An autonumber keeps its value: writing that same value back starts an edit and
        // changes nothing; any other value is refused.
        if (!(slot == s.Shown(row, column))) {
            slot = s.Shown(row, column);
            Raise(Condition::ErrorsOccurred, "(el campo '" + info.name + "' es de autonumeración)");
        }
        if (s.editMode == adEditNone) BeginEdit(row);
        return;
    }
    if (s.editMode == adEditNone) {
        Variant accepted = std::move(slot);
        BeginEdit(row);
        s.edit.values[column] = std::move(accepted);
    }
    s.edit.dirty[column] = 1;
}

void Recordset::AddNew() {
    RequireUpdatable();
    cursor::CursorState& s = *state_;
    if (s.editMode != adEditNone) Update();
    LeaveRow();
    s.edit.positionBeforeAdd = s.position;
    const cursor::RowId row = s.store.BeginRow();
    for (size_t c = 0; c < s.store.ColumnCount(); ++c) s.store.PutNull();
    s.store.SetFlags(row, RowStore::New);
    s.order.push_back(row);
    s.OrderChanged();
    s.edit.row = row;
    s.edit.values.assign(s.store.ColumnCount(), Variant(Variant::Null));
    s.edit.dirty.assign(s.store.ColumnCount(), 0);
    s.position = static_cast<int64_t>(s.order.size()) - 1;
    s.editMode = adEditAdd;
}

void Recordset::Update() {
    RequireOpen();
    cursor::CursorState& s = *state_;
    if (s.editMode == adEditNone) return;
    if (Immediate())
        WriteEdit();
    else
        KeepEditPending();
    s.editMode = adEditNone;
}

// Immediate mode: the row goes to its base table now; on failure nothing changes.
void Recordset::WriteEdit() {
    cursor::CursorState& s = *state_;
    const bool adding = s.editMode == adEditAdd;
    const cursor::RowId row = s.edit.row;
    // The row as read is still the store's: the edit went to the buffer.
    cursor::WritePlanInput in{adding ? cursor::RowWrite::Kind::Insert : cursor::RowWrite::Kind::Update,
                              &s.store.Columns(), nullptr, &s.edit.values, &s.edit.dirty,
                              UpdateCriteria(properties_), UniqueTable(properties_), &s.store, row};
    provider::Session& session = connection_->Session();
    cursor::RowWrite& w = s.scratch;
    cursor::PlanWrite(in, w);
    std::vector<Variant> readBack;
    if (w.shape) {
        const int64_t affected = connection_->Guard([&] {
            const int64_t n = session.Write(w, &readBack);
            if (n == 0) Raise(Condition::RowChanged);
            return n;
        });
        (void)affected;
    }
    connection_->Guard([&] { session.Unlock(true); });
    for (size_t c = 0; c < s.store.ColumnCount(); ++c)
        if (s.edit.dirty[c] || adding) s.store.Set(row, c, s.edit.values[c]);
    if (adding) {
        const auto fields = cursor::ReadBackFields(s.store.Columns(), w.Shape());  // an insert always has a shape
        for (size_t i = 0; i < fields.size() && i < readBack.size(); ++i) s.store.Set(row, fields[i], readBack[i]);
        s.store.SetFlags(row, 0);
    }
}

// Batch mode and disconnected cursors: the change waits, with the row's original values.
void Recordset::KeepEditPending() {
    cursor::CursorState& s = *state_;
    const cursor::RowId row = s.edit.row;
    auto& p = s.pending[row];
    const uint8_t flags = s.store.Flags(row);
    if (p.changed.empty()) {
        p.changed.assign(s.store.ColumnCount(), 0);
        if (!(flags & RowStore::New)) p.original = RowValues(s.store, row);
    }
    for (size_t c = 0; c < s.store.ColumnCount(); ++c) {
        if (!s.edit.dirty[c]) continue;
        s.store.Set(row, c, s.edit.values[c]);
        p.changed[c] = 1;
    }
    if (!(flags & RowStore::New)) s.store.SetFlags(row, static_cast<uint8_t>(flags | RowStore::Modified));
}

void Recordset::CancelUpdate() {
    RequireOpen();
    cursor::CursorState& s = *state_;
    if (s.editMode == adEditNone) return;
    if (Immediate() && s.editMode != adEditAdd) connection_->Guard([&] { connection_->Session().Unlock(false); });
    if (s.editMode == adEditAdd) {
        // The added row disappears; the row that was current before AddNew comes back.
        s.store.SetFlags(s.edit.row, RowStore::Deleted);
        s.pending.erase(s.edit.row);
        s.order.pop_back();
        s.OrderChanged();
        s.position = s.edit.positionBeforeAdd;
    }
    s.editMode = adEditNone;
}

void Recordset::DeleteRow(cursor::RowId row) {
    cursor::CursorState& s = *state_;
    const uint8_t flags = s.store.Flags(row);
    if (Immediate()) {
        std::vector<Variant> original = RowValues(s.store, row);
        std::vector<uint8_t> none(s.store.ColumnCount(), 0);
        cursor::WritePlanInput in{cursor::RowWrite::Kind::Delete, &s.store.Columns(), &original, nullptr, &none,
                                  UpdateCriteria(properties_), UniqueTable(properties_)};
        const cursor::RowWrite w = cursor::PlanWrite(in);
        provider::Session& session = connection_->Session();
        s.editMode = adEditDelete;
        try {
            connection_->Guard([&] {
                if (session.Write(w, nullptr) == 0) Raise(Condition::RowChanged);
            });
        } catch (...) {
            // The row stays, in edit mode, until CancelUpdate.
            s.edit.row = row;
            s.edit.values = std::move(original);
            s.edit.dirty = std::move(none);
            s.editMode = adEditInProgress;
            throw;
        }
        s.editMode = adEditNone;
        s.store.SetFlags(row, RowStore::Deleted);
        return;
    }
    if (flags & RowStore::New) {
        s.pending.erase(row);  // never written: it simply goes
        s.store.SetFlags(row, RowStore::Deleted);
        return;
    }
    auto& p = s.pending[row];
    if (p.changed.empty()) {
        p.changed.assign(s.store.ColumnCount(), 0);
        p.original = RowValues(s.store, row);
    }
    s.store.SetFlags(row, static_cast<uint8_t>((flags & ~RowStore::Conflict) | RowStore::Deleted));
}

void Recordset::Delete(AffectEnum affect) {
    RequireUpdatable();
    cursor::CursorState& s = *state_;
    if (affect != adAffectCurrent && affect != adAffectGroup) Raise(Condition::InvalidArgument);
    if (s.editMode == adEditAdd) return CancelUpdate();
    if (s.editMode == adEditInProgress) CancelUpdate();
    s.affected.clear();
    if (affect == adAffectCurrent) {
        const cursor::RowId row = s.RequireCurrent();
        DeleteRow(row);
        s.affected.push_back(row);
        return;
    }
    for (cursor::RowId row : std::vector<cursor::RowId>(s.order)) {
        if (s.store.Flags(row) & RowStore::Deleted) continue;
        DeleteRow(row);
        s.affected.push_back(row);
    }
}

bool Recordset::LeaveRow() {
    cursor::CursorState& s = *state_;
    if (s.editMode == adEditInProgress || s.editMode == adEditAdd) Update();
    return !s.showDeleted && s.DropDeletedCurrent();
}

}  // namespace ado
