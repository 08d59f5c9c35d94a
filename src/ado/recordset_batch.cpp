// Recordset: pending changes of batch mode and of disconnected cursors.
#include <algorithm>
#include <optional>

#include "ado/Recordset.h"
#include "ado/cursor/cursor_state.h"
#include "ado/cursor/write_planner.h"
#include "ado/error_numbers.h"
#include "ado/provider.h"

namespace ado {

namespace {

using cursor::RowId;
using cursor::RowStore;

constexpr uint8_t kPendingFlags = RowStore::New | RowStore::Modified | RowStore::Deleted;

bool IsPending(const RowStore& store, RowId row) { return store.Flags(row) & kPendingFlags; }

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

// A successful write, applied to the cursor only once the whole batch has committed.
struct Written {
    RowId row;
    std::vector<size_t> readBackFields;
    std::vector<Variant> readBack;
};

}  // namespace

void Recordset::UpdateBatch(AffectEnum affect) {
    RequireOpen();
    cursor::CursorState& s = *state_;
    if (lockType_ == adLockReadOnly) Raise(Condition::ReadOnlyCursor);
    if (s.editMode != adEditNone) Update();
    if (!connection_) Raise(Condition::IllegalOperation, "(el conjunto de registros está desconectado)");

    std::vector<RowId> rows;
    if (affect == adAffectCurrent) {
        if (s.HasCurrent() && IsPending(s.store, s.CurrentRow())) rows.push_back(s.CurrentRow());
    } else if (affect == adAffectGroup) {
        if (s.order.empty()) Raise(Condition::NoCurrentRecord);
        for (RowId r : s.order)
            if (IsPending(s.store, r)) rows.push_back(r);
    } else {
        for (RowId r = 0; r < s.store.RowCount(); ++r)
            if (IsPending(s.store, r)) rows.push_back(r);
    }

    const int32_t criteria = properties_.Item(0).Value().ToInt32();  // "Update Criteria"
    const Variant unique = properties_.Item(1).Value();               // "Unique Table"
    const std::string uniqueTable = unique.IsText() ? unique.AsString() : std::string();
    provider::Session& session = connection_->Session();
    // One transaction of its own, unless the client has one open.
    const bool ownTransaction = session.TransactionLevel() == 0;
    if (ownTransaction) connection_->Guard([&] { session.BeginTrans(); });

    // Every row is planned first, then the provider writes them as one batch.
    constexpr size_t kNoWrite = static_cast<size_t>(-1);
    struct Planned {
        RowId row;
        size_t write = kNoWrite;   // index into `writes`; none for a planning failure or no table
        std::optional<Error> error;
    };
    std::vector<Planned> planned;
    std::vector<cursor::RowWrite> writes;
    planned.reserve(rows.size());
    writes.reserve(rows.size());
    std::vector<Variant> current(s.store.ColumnCount());
    for (RowId row : rows) {
        const uint8_t flags = s.store.Flags(row);
        const cursor::PendingChange& p = s.pending[row];
        for (size_t c = 0; c < current.size(); ++c) current[c] = s.store.Get(row, c);
        cursor::WritePlanInput in{cursor::RowWrite::Kind::Update, &s.store.Columns(), &p.original, &current,
                                  &p.changed, criteria, uniqueTable};
        if (flags & RowStore::Deleted) in.kind = cursor::RowWrite::Kind::Delete;
        else if (flags & RowStore::New) in.kind = cursor::RowWrite::Kind::Insert;
        Planned& plan = planned.emplace_back(Planned{row, kNoWrite, std::nullopt});
        try {
            cursor::RowWrite w = cursor::PlanWrite(in);
            if (w.table.empty()) continue;  // nothing of a base table to write
            plan.write = writes.size();
            writes.push_back(std::move(w));
        } catch (const Error& e) {
            plan.error = e;
        }
    }
    std::vector<provider::Session::WriteOutcome> outcomes;
    if (!writes.empty()) {
        try {
            session.WriteRows(writes, outcomes);
        } catch (...) {
            if (ownTransaction) session.RollbackTrans();
            throw;  // the session itself failed: every row stays pending
        }
    }

    std::vector<Written> written;
    std::vector<std::pair<RowId, Error>> failed;
    for (Planned& plan : planned) {
        if (plan.error) {
            failed.emplace_back(plan.row, std::move(*plan.error));
            continue;
        }
        Written done{plan.row, {}, {}};
        if (plan.write != kNoWrite) {
            provider::Session::WriteOutcome& out = outcomes[plan.write];
            if (out.error) {
                failed.emplace_back(plan.row, std::move(*out.error));
                continue;
            }
            if (out.affected == 0) {
                failed.emplace_back(plan.row, MakeError(Condition::RowChanged));
                continue;
            }
            done.readBack = std::move(out.readBack);
            if (!done.readBack.empty())
                done.readBackFields = cursor::ReadBackFields(s.store.Columns(), writes[plan.write]);
        }
        written.push_back(std::move(done));
    }
    if (ownTransaction) {
        try {
            connection_->Guard([&] { session.CommitTrans(); });
        } catch (...) {
            session.RollbackTrans();
            throw;  // nothing was written: every row stays pending
        }
    }

    // Committed: the written rows are no longer pending.
    s.affected.clear();
    s.conflicts.clear();
    for (Written& w : written) {
        const uint8_t flags = s.store.Flags(w.row);
        for (size_t i = 0; i < w.readBackFields.size() && i < w.readBack.size(); ++i)
            s.store.Set(w.row, w.readBackFields[i], w.readBack[i]);
        s.store.SetFlags(w.row, (flags & RowStore::Deleted) ? RowStore::Deleted : 0);
        s.pending.erase(w.row);
        s.affected.push_back(w.row);
    }
    if (failed.empty()) return;

    // Conflicting rows stay pending, marked; every failure lands in Errors.
    ado::Errors& errors = connection_->Errors();
    errors.Clear();
    bool onlyConcurrency = true;
    for (auto& [row, e] : failed) {
        s.store.SetFlags(row, static_cast<uint8_t>(s.store.Flags(row) | RowStore::Conflict));
        s.conflicts[row] = StatusForFailure(e.Number());
        s.affected.push_back(row);
        errors.Append(e);
        onlyConcurrency &= e.Number() == err::ConcurrencyViolation;
    }
    throw MakeError(onlyConcurrency ? Condition::RowChanged : Condition::ErrorsOccurred,
                    "(" + std::to_string(failed.size()) + " de " + std::to_string(rows.size()) +
                        " registros no se pudieron escribir)");
}

void Recordset::CancelBatch(AffectEnum affect) {
    RequireOpen();
    cursor::CursorState& s = *state_;
    if (lockType_ != adLockBatchOptimistic && connection_ && affect != adAffectCurrent)
        Raise(Condition::IllegalOperation);
    if (s.editMode != adEditNone) CancelUpdate();
    std::vector<RowId> rows;
    if (affect == adAffectCurrent) {
        if (s.HasCurrent()) rows.push_back(s.CurrentRow());
    } else {
        for (RowId r = 0; r < s.store.RowCount(); ++r)
            if (IsPending(s.store, r) && (affect == adAffectAll || s.PositionOf(r) >= 0)) rows.push_back(r);
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
        }
        s.pending.erase(row);
        s.conflicts.erase(row);
        s.affected.push_back(row);
    }
    Filter(filter_);  // rebuild the visible rows
    const int32_t pos = hadCurrent ? s.PositionOf(current) : -1;
    s.position = pos >= 0 && !(s.store.Flags(current) & RowStore::Deleted) ? pos : 0;
}

int32_t Recordset::Status() const {
    RequireOpen();
    const cursor::CursorState& s = *state_;
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

void Recordset::Filter(const Variant& filter) {
    RequireOpen();
    cursor::CursorState& s = *state_;
    if (s.editMode != adEditNone) Update();
    int32_t group = adFilterNone;
    if (filter.IsText() && filter.AsString().empty()) group = adFilterNone;
    else if (filter.IsNumeric()) group = filter.ToInt32();
    else Raise(Condition::NotSupported, "(filtros de criterio)");

    auto keep = [&](RowId r) {
        const uint8_t flags = s.store.Flags(r);
        switch (group) {
            case adFilterNone:
            case adFilterFetchedRecords: return !(flags & RowStore::Deleted);
            case adFilterPendingRecords: return (flags & kPendingFlags) != 0 && s.pending.count(r) > 0;
            case adFilterConflictingRecords: return (flags & RowStore::Conflict) != 0;
            case adFilterAffectedRecords:
                return std::find(s.affected.begin(), s.affected.end(), r) != s.affected.end();
            default: Raise(Condition::InvalidArgument);
        }
    };
    s.order.clear();
    for (RowId r = 0; r < s.store.RowCount(); ++r)
        if (keep(r)) s.order.push_back(r);
    s.OrderChanged();
    s.showDeleted = group != adFilterNone && group != adFilterFetchedRecords;
    s.position = 0;
    filter_ = Variant(group);
}

}  // namespace ado
