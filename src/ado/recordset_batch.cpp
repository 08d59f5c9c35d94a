// Recordset: pending changes of batch mode and of disconnected cursors.
#include <algorithm>
#include <optional>

#include "ado/Recordset.h"
#include "ado/batch_writer.h"
#include "ado/cursor/cursor.h"
#include "ado/cursor/write_planner.h"
#include "ado/engine_access.h"
#include "ado/error_numbers.h"
#include "ado/provider.h"

namespace ado {

namespace {

using cursor::RowId;
using cursor::RowStore;

constexpr uint8_t kPendingFlags = RowStore::New | RowStore::Modified | RowStore::Deleted;

int32_t StatusForFailure(int32_t number) {
    switch (number) {
        case err::ConcurrencyViolation: return adRecConcurrencyViolation;
        case err::DuplicateKey:
        case err::IntegrityOnChange:
        case err::IntegrityOnDelete: return adRecIntegrityViolation;
        case err::LockedByUser: return adRecCantRelease;
        default: return adRecSchemaViolation;
    }
}

}  // namespace

void Recordset::PendingAsNew() {
    RequireOpen();
    cursor::Cursor& s = *state_;
    if (s.editMode != adEditNone) Update();
    for (RowId r = 0; r < s.store.RowCount(); ++r) {
        if (s.store.Flags(r) & kPendingFlags) continue;  // pending already, or gone
        cursor::PendingChange& p = s.pending[r];
        p.original.clear();
        p.changed.assign(s.store.ColumnCount(), 1);
        s.store.SetFlags(r, RowStore::New);
    }
}

void Recordset::UpdateBatch(AffectEnum affect) {
    RequireOpen();
    cursor::Cursor& s = *state_;
    if (lockType_ == adLockReadOnly) Raise(Condition::ReadOnlyCursor);
    if (s.editMode != adEditNone) Update();
    if (!connection_) Raise(Condition::IllegalOperation, "(el conjunto de registros está desconectado)");

    std::vector<RowId> rows;
    if (affect == adAffectCurrent) {
        if (s.HasCurrent() && s.IsPending(s.CurrentRow())) rows.push_back(s.CurrentRow());
    } else if (affect == adAffectGroup) {
        if (s.VisibleCount() == 0) Raise(Condition::NoCurrentRecord);
        for (RowId r : s.Visible())
            if (s.IsPending(r)) rows.push_back(r);
    } else {
        rows.reserve(s.pending.size());
        for (RowId r = 0; r < s.store.RowCount() && rows.size() < s.pending.size(); ++r)
            if (s.IsPending(r)) rows.push_back(r);
    }

    const Variant unique = properties_.Item(1).Value();  // "Unique Table"
    const BatchSettings settings{properties_.Item(0).Value().ToInt32(),  // "Update Criteria"
                                 unique.IsText() ? unique.AsString() : std::string()};
    provider::Session& session = detail::EngineAccess::Session(*connection_);
    // One transaction of its own, unless the client has one open.
    const bool ownTransaction = session.TransactionLevel() == 0;
    if (ownTransaction) detail::EngineAccess::Guard(*connection_, [&] { session.BeginTrans(); });
    BatchOutcome outcome;
    try {
        outcome = WritePendingRows(s, session, rows, settings);
        if (ownTransaction) detail::EngineAccess::Guard(*connection_, [&] { session.CommitTrans(); });
    } catch (...) {
        // The session itself failed, or the commit did: nothing was written, every row stays pending.
        if (ownTransaction && session.TransactionLevel() > 0) session.RollbackTrans();
        throw;
    }

    // Committed: the written rows are no longer pending.
    s.affected.clear();
    s.conflicts.clear();
    for (const BatchOutcome::ReadBack& r : outcome.readBacks) {
        cursor::StoreReadBack(s.store, r.row, *r.shape, r.values);
        s.RowChanged(r.row);
    }
    const bool allWritten = outcome.written.size() == s.pending.size();
    for (RowId row : outcome.written) {
        s.store.SetFlags(row, (s.store.Flags(row) & RowStore::Deleted) ? RowStore::Deleted : 0);
        if (!allWritten) s.pending.erase(row);
    }
    if (allWritten) s.pending.clear();
    s.affected = std::move(outcome.written);
    if (outcome.failed.empty()) return;

    // Conflicting rows stay pending, marked; every failure lands in Errors.
    ado::Errors& errors = connection_->Errors();
    errors.Clear();
    bool onlyConcurrency = true;
    for (auto& [row, e] : outcome.failed) {
        s.store.SetFlags(row, static_cast<uint8_t>(s.store.Flags(row) | RowStore::Conflict));
        s.conflicts[row] = StatusForFailure(e.Number());
        s.affected.push_back(row);
        errors.Append(e);
        onlyConcurrency &= e.Number() == err::ConcurrencyViolation;
    }
    throw MakeError(onlyConcurrency ? Condition::RowChanged : Condition::ErrorsOccurred,
                    "(" + std::to_string(outcome.failed.size()) + " de " + std::to_string(rows.size()) +
                        " registros no se pudieron escribir)");
}

void Recordset::CancelBatch(AffectEnum affect) {
    RequireOpen();
    cursor::Cursor& s = *state_;
    if (lockType_ != adLockBatchOptimistic && connection_ && affect != adAffectCurrent)
        Raise(Condition::IllegalOperation);
    if (s.editMode != adEditNone) CancelUpdate();
    std::vector<RowId> rows;
    if (affect == adAffectCurrent) {
        if (s.HasCurrent()) rows.push_back(s.CurrentRow());
    } else {
        for (RowId r = 0; r < s.store.RowCount(); ++r)
            if (s.IsPending(r) && (affect == adAffectAll || s.PositionOf(r) >= 0)) rows.push_back(r);
    }
    const RowId current = s.HasCurrent() ? s.CurrentRow() : 0;
    const bool hadCurrent = s.HasCurrent();
    s.affected.clear();
    for (RowId row : rows) {
        const uint8_t flags = s.store.Flags(row);
        if (!(flags & kPendingFlags)) continue;
        if (flags & RowStore::New) {
            s.store.SetFlags(row, RowStore::Deleted);
        } else {
            const auto& p = s.pending[row];
            for (size_t c = 0; c < p.original.size(); ++c) s.store.Set(row, c, p.original[c]);
            s.store.SetFlags(row, 0);
            s.RowChanged(row);
        }
        s.pending.erase(row);
        s.conflicts.erase(row);
        s.affected.push_back(row);
    }
    s.Refresh();  // rows came back, added ones left
    if (!hadCurrent || (s.store.Flags(current) & RowStore::Deleted) || !s.MoveToRow(current)) s.MoveFirst();
}

int32_t Recordset::Status() const {
    RequireOpen();
    const cursor::Cursor& s = *state_;
    if (!s.HasCurrent()) Raise(Condition::NoCurrentRecord);
    const RowId row = s.CurrentRow();
    const uint8_t flags = s.store.Flags(row);
    int32_t status = adRecUnmodified;
    if (flags & RowStore::New) status = adRecNew;
    else if (flags & RowStore::Deleted) status = s.pending.count(row) ? adRecDeleted : adRecDBDeleted;
    else if (flags & RowStore::Modified) status = adRecModified;
    if (auto it = s.conflicts.find(row); it != s.conflicts.end()) status |= it->second;
    return status;
}

}  // namespace ado
