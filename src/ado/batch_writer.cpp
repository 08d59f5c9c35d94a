#include "ado/batch_writer.h"

#include <algorithm>
#include <memory>

#include "ado/cursor/write_planner.h"
#include "ado/error_numbers.h"

namespace ado {

namespace {

using cursor::RowId;
using cursor::RowStore;
using cursor::RowWrite;

// Enough rows per call for a provider to send them as arrays, few enough to stay small.
constexpr size_t kChunkRows = 4000;
constexpr size_t kNoWrite = static_cast<size_t>(-1);

RowWrite::Kind KindFor(uint8_t flags) {
    if (flags & RowStore::Deleted) return RowWrite::Kind::Delete;
    if (flags & RowStore::New) return RowWrite::Kind::Insert;
    return RowWrite::Kind::Update;
}

class ChunkWriter {
public:
    ChunkWriter(cursor::Cursor& state, provider::Session& session, const BatchSettings& settings)
        : s_(state), session_(session), settings_(settings) {
        writes_.resize(kChunkRows);
    }

    void Write(std::span<const RowId> rows, BatchOutcome& out) {
        Plan(rows);
        if (used_ > 0) session_.WriteRows(std::span<const RowWrite>(writes_.data(), used_), outcomes_);
        Collect(out);
    }

private:
    struct Planned {
        RowId row;
        size_t write;  // index into writes_, or kNoWrite
        std::unique_ptr<Error> error;  // rows rarely fail: held apart
    };

    void Plan(std::span<const RowId> rows) {
        planned_.clear();
        used_ = 0;
        for (RowId row : rows) {
            const cursor::PendingChange& p = s_.pending.at(row);
            const RowWrite::Kind kind = KindFor(s_.store.Flags(row));
            // The values to write are the store's row; the row as read is the pending change's.
            const cursor::WritePlanInput in{.kind = kind,
                                            .columns = &s_.store.Columns(),
                                            .original = &p.original,
                                            .current = nullptr,
                                            .changed = &p.changed,
                                            .criteria = settings_.criteria,
                                            .uniqueTable = settings_.uniqueTable,
                                            .store = &s_.store,
                                            .row = row,
                                            .cellsInStore = session_.BindsStoreCells()};
            Planned& plan = planned_.emplace_back(Planned{row, kNoWrite, nullptr});
            try {
                RowWrite& w = writes_[used_];
                w.shape = lastShape_;  // kept when this row is planned as the last one was
                cursor::PlanWrite(in, w);
                if (!w.shape) continue;  // nothing of a base table to write
                lastShape_ = w.shape;
                plan.write = used_++;
            } catch (const Error& e) {
                plan.error = std::make_unique<Error>(e);
            }
        }
    }

    void Collect(BatchOutcome& out) {
        for (Planned& plan : planned_) {
            if (plan.error) {
                out.failed.emplace_back(plan.row, std::move(*plan.error));
                continue;
            }
            if (plan.write == kNoWrite) {
                out.written.push_back(plan.row);
                continue;
            }
            provider::Session::WriteOutcome& o = outcomes_[plan.write];
            if (o.error) {
                out.failed.emplace_back(plan.row, std::move(*o.error));
                continue;
            }
            if (o.affected == 0) {
                out.failed.emplace_back(plan.row, MakeError(Condition::RowChanged));
                continue;
            }
            out.written.push_back(plan.row);
            const auto& shape = writes_[plan.write].shape;
            if (shape->readBackIdentity && !o.readBack.empty()) {
                s_.store.Set(plan.row, shape->origin.identityField, o.readBack.back());
                o.readBack.pop_back();
            }
            if (!o.readBack.empty()) out.readBacks.push_back({plan.row, shape, o.readBack});
        }
    }

    cursor::Cursor& s_;
    provider::Session& session_;
    const BatchSettings& settings_;
    std::vector<RowWrite> writes_;
    size_t used_ = 0;
    std::vector<Planned> planned_;
    std::vector<provider::Session::WriteOutcome> outcomes_;
    std::shared_ptr<const cursor::WriteShape> lastShape_;
};

}  // namespace

BatchOutcome WritePendingRows(cursor::Cursor& state, provider::Session& session,
                              std::span<const RowId> rows, const BatchSettings& settings) {
    BatchOutcome out;
    out.written.reserve(rows.size());
    ChunkWriter writer(state, session, settings);
    for (size_t i = 0; i < rows.size(); i += kChunkRows)
        writer.Write(rows.subspan(i, std::min(kChunkRows, rows.size() - i)), out);
    return out;
}

}  // namespace ado
