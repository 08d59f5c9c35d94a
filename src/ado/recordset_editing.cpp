// Recordset: the edit buffer, AddNew, Update, CancelUpdate and Delete.
#include <utility>

#include "ado/Recordset.h"
#include "ado/cursor/cursor.h"
#include "ado/cursor/write_planner.h"
#include "ado/engine_access.h"
#include "ado/error_numbers.h"
#include "ado/recordset_chapters.h"
#include "ado/text/character_count.h"
#include "ado/text/guid_text.h"
#include "ado/provider.h"

namespace ado {

namespace {

using cursor::RowStore;

// The value as the column keeps it: `v` itself when it is already of the column's kind,
// else converted into `converted`; Null as it is. Refuses what the column cannot hold.
const Variant& Coerced(const cursor::ColumnInfo& c, const Variant& v, Variant& converted) {
    static const Variant null(Variant::Null);
    if (v.IsNull() || v.IsEmpty()) return null;
    const VariantType kind = cursor::VariantTypeFor(c.type);
    const Variant* out = &v;
    if (v.Type() != kind && kind != VariantType::Empty && kind != VariantType::Object) {
        try {
            converted = v.ConvertTo(kind);
        } catch (const Error&) {
            Raise(Condition::DataConversion, "(campo '" + c.name + "')");
        }
        out = &converted;
    }
    // A GUID is kept in its stored form, whatever the case and braces it was given in.
    if (c.type == adGUID) {
        const auto guid = text::CanonicalGuid(out->AsString());
        if (!guid) Raise(Condition::DataConversion, "(campo '" + c.name + "')");
        converted = Variant(*guid);
        return converted;
    }
    // A byte holds 0..255, though its value travels as a 16-bit integer.
    if (c.type == adUnsignedTinyInt && (out->ToInt32() < 0 || out->ToInt32() > 255))
        Raise(Condition::DataConversion, "(campo '" + c.name + "')");
    if (kind == VariantType::String && c.definedSize > 0 && (c.type == adVarWChar || c.type == adWChar) &&
        out->AsString().size() > static_cast<size_t>(c.definedSize)) {
        // The defined size counts characters, not bytes.
        if (text::CharacterCount(out->AsString()) > static_cast<size_t>(c.definedSize))
            Raise(Condition::ErrorsOccurred, "(el texto no cabe en el campo '" + c.name + "')");
    }
    return *out;
}

// The two recordset properties are the first two, added when the recordset was made.
int32_t UpdateCriteria(ado::Properties& p) { return p.Item(0).Value().ToInt32(); }

std::string_view UniqueTable(ado::Properties& p) {
    const Variant& v = p.Item(1).Value();
    return v.IsText() ? std::string_view(v.AsString()) : std::string_view();
}

// The write of the row the edit buffer is on: the row as read is the store's, the values to
// write are the buffer's assigned ones (an added row's are in the store, where a provider
// that binds cells itself reads them).
cursor::WritePlanInput EditedRowInput(const cursor::Cursor& s, cursor::RowWrite::Kind kind, int32_t criteria,
                                      std::string_view uniqueTable, bool bindsStoreCells = false) {
    const bool apart = kind != cursor::RowWrite::Kind::Delete && !s.edit.inStore;
    return {.kind = kind,
            .columns = &s.store.Columns(),
            .original = nullptr,
            .current = apart ? &s.edit.values : nullptr,
            .changed = &s.edit.dirty,
            .criteria = criteria,
            .uniqueTable = uniqueTable,
            .store = &s.store,
            .row = s.edit.row,
            .cellsInStore = bindsStoreCells && s.edit.inStore};
}

}  // namespace

void Recordset::RequireUpdatable() const {
    RequireOpen();
    if (lockType_ == adLockReadOnly) Raise(Condition::ReadOnlyCursor);
}

bool Recordset::Immediate() const { return lockType_ != adLockBatchOptimistic && connection_ != nullptr; }

void Recordset::BeginEdit(cursor::RowId row) {
    cursor::Cursor& s = *state_;
    s.edit.Start(row, s.store.ColumnCount(), false);
    if (lockType_ == adLockPessimistic && Immediate()) {
        // The first assignment locks the record for this connection until Update/CancelUpdate.
        const cursor::RowWrite probe =
            cursor::PlanWrite(EditedRowInput(s, cursor::RowWrite::Kind::Delete, adCriteriaKey, UniqueTable(properties_)));
        provider::Session& session = detail::EngineAccess::Session(*connection_);
        s.lock = detail::EngineAccess::Guard(*connection_, [&] { return session.Lock(probe); });
    }
    s.editMode = adEditInProgress;
}

void Recordset::SetFieldValue(size_t column, const Variant& value) {
    RequireUpdatable();
    cursor::Cursor& s = *state_;
    const cursor::RowId row = s.RequireCurrent();
    const cursor::ColumnInfo& info = s.store.Columns()[column];
    // Checked before it is kept, so a refused value changes nothing and starts no edit.
    const Variant& accepted = Coerced(info, value, s.edit.converted);
    if (info.autoIncrement && !(s.store.Flags(row) & RowStore::New && connection_ == nullptr)) {
        // An autonumber keeps its value: writing that same value back starts an edit and
        // changes nothing; any other value is refused.
        if (!(accepted == s.Shown(row, column)))
            Raise(Condition::ErrorsOccurred, "(el campo '" + info.name + "' es de autonumeración)");
        if (s.editMode == adEditNone) BeginEdit(row);
        return;
    }
    if (s.editMode == adEditNone) BeginEdit(row);
    if (s.edit.inStore)
        s.store.Set(row, column, accepted);
    else
        s.edit.values[column] = accepted;
    s.edit.dirty[column] = 1;
}

void Recordset::AddNew() {
    RequireUpdatable();
    cursor::Cursor& s = *state_;
    if (s.editMode != adEditNone) Update();
    LeaveRow();
    s.edit.positionBeforeAdd = s.Position();
    const cursor::RowId row = s.store.AddNullRow();
    for (const auto& [column, chapter] : chapterColumns_) s.store.Set(row, column, Variant(chapter));
    s.store.SetFlags(row, RowStore::New);
    s.RowChanged(row);
    s.AppendRow(row);
    s.edit.Start(row, s.store.ColumnCount(), true);
    s.editMode = adEditAdd;
    AddedToChapter(row);
    for (const auto& [column, value] : relatedValues_) SetFieldValue(column, value);
    ChapterView::FollowMoves(*this);
}

void Recordset::Update() {
    RequireOpen();
    cursor::Cursor& s = *state_;
    if (s.editMode == adEditNone) return;
    if (Immediate())
        WriteEdit();
    else
        KeepEditPending();
    s.editMode = adEditNone;
}

// Immediate mode: the row goes to its base table now; on failure nothing changes.
void Recordset::WriteEdit() {
    cursor::Cursor& s = *state_;
    const bool adding = s.editMode == adEditAdd;
    const cursor::RowId row = s.edit.row;
    provider::Session& session = detail::EngineAccess::Session(*connection_);
    cursor::RowWrite& w = s.scratch;
    cursor::PlanWrite(EditedRowInput(s, adding ? cursor::RowWrite::Kind::Insert : cursor::RowWrite::Kind::Update,
                                     UpdateCriteria(properties_), UniqueTable(properties_), session.BindsStoreCells()),
                      w);
    s.readBack.clear();
    if (w.shape)
        detail::EngineAccess::Guard(*connection_, [&] {
            const int64_t written = s.lock ? session.WriteLocked(s.lock, w, &s.readBack) : session.Write(w, &s.readBack);
            if (written == 0) Raise(Condition::RowChanged);
        });
    ReleaseLock();
    KeepAssignedValues();
    if (adding) {
        cursor::StoreReadBack(s.store, row, w.Shape(), s.readBack);  // an insert always has a shape
        s.store.SetFlags(row, 0);
    }
    s.RowChanged(row);
}

// Batch mode and disconnected cursors: the change waits, with the row's original values.
void Recordset::KeepEditPending() {
    cursor::Cursor& s = *state_;
    const cursor::RowId row = s.edit.row;
    auto& p = s.pending[row];
    const uint8_t flags = s.store.Flags(row);
    if (p.changed.empty()) {
        p.changed.assign(s.store.ColumnCount(), 0);
        if (!(flags & RowStore::New)) p.original = s.store.Row(row);
    }
    KeepAssignedValues();
    for (size_t c = 0; c < s.store.ColumnCount(); ++c)
        if (s.edit.dirty[c]) p.changed[c] = 1;
    s.RowChanged(row);
    if (!(flags & RowStore::New)) s.store.SetFlags(row, static_cast<uint8_t>(flags | RowStore::Modified));
}

// The assigned values become the store row's (an added row's already are).
void Recordset::KeepAssignedValues() {
    cursor::Cursor& s = *state_;
    if (s.edit.inStore) return;
    for (size_t c = 0; c < s.store.ColumnCount(); ++c)
        if (s.edit.dirty[c]) s.store.Set(s.edit.row, c, s.edit.values[c]);
}

void Recordset::CancelUpdate() {
    RequireOpen();
    cursor::Cursor& s = *state_;
    if (s.editMode == adEditNone) return;
    ReleaseLock();
    if (s.editMode == adEditAdd) {
        // The added row disappears; the row that was current before AddNew comes back.
        s.store.SetFlags(s.edit.row, RowStore::Deleted);
        s.pending.erase(s.edit.row);
        s.RemoveAppended(s.edit.positionBeforeAdd);
    }
    s.editMode = adEditNone;
}

void Recordset::DeleteRow(cursor::RowId row) {
    cursor::Cursor& s = *state_;
    const uint8_t flags = s.store.Flags(row);
    if (Immediate()) {
        s.edit.Start(row, s.store.ColumnCount(), false);
        const cursor::RowWrite w = cursor::PlanWrite(
            EditedRowInput(s, cursor::RowWrite::Kind::Delete, UpdateCriteria(properties_), UniqueTable(properties_)));
        provider::Session& session = detail::EngineAccess::Session(*connection_);
        s.editMode = adEditDelete;
        try {
            detail::EngineAccess::Guard(*connection_, [&] {
                if (session.Write(w, nullptr) == 0) Raise(Condition::RowChanged);
            });
        } catch (...) {
            // The row stays, in edit mode, until CancelUpdate.
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
        p.original = s.store.Row(row);
    }
    s.store.SetFlags(row, static_cast<uint8_t>((flags & ~RowStore::Conflict) | RowStore::Deleted));
}

void Recordset::Delete(AffectEnum affect) {
    RequireUpdatable();
    cursor::Cursor& s = *state_;
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
    for (cursor::RowId row : std::vector<cursor::RowId>(s.Visible())) {
        if (s.store.Flags(row) & RowStore::Deleted) continue;
        DeleteRow(row);
        s.affected.push_back(row);
    }
}

void Recordset::ReleaseLock() {
    cursor::Cursor& s = *state_;
    if (!s.lock) return;
    const uint64_t lock = std::exchange(s.lock, 0);
    if (!connection_ || connection_->State() != adStateOpen) return;
    provider::Session& session = detail::EngineAccess::Session(*connection_);
    detail::EngineAccess::Guard(*connection_, [&] { session.Unlock(lock); });
}

bool Recordset::LeaveRow() {
    cursor::Cursor& s = *state_;
    if (s.editMode == adEditInProgress || s.editMode == adEditAdd) Update();
    return s.DropDeletedCurrent();
}

}  // namespace ado
