// Recordset: Find, Filter and Sort over the client cursor.
#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

#include "ado/Recordset.h"
#include "ado/criteria/criteria.h"
#include "ado/criteria/matcher.h"
#include "ado/cursor/cursor.h"
#include "ado/engine_access.h"
#include "ado/error_numbers.h"
#include "ado/recordset_chapters.h"

namespace ado {

namespace {

using cursor::RowId;
using cursor::RowStore;

bool IsNumberColumn(VariantType t) {
    return t != VariantType::String && t != VariantType::Binary && t != VariantType::Object &&
           t != VariantType::Empty && t != VariantType::Array;
}

// Calls visit for each row the column's index offers for a clause (a superset of those that
// meet it); false when the column has no index or the clause cannot use one.
template <class Visit>
bool ForEachIndexCandidate(const cursor::Cursor& s, const criteria::CompiledClause& c, Visit&& visit) {
    using criteria::Op;
    using Kind = criteria::Operand::Kind;
    const cursor::FieldIndex* index = s.IndexOf(c.column);
    if (!index || c.op == Op::Like || c.op == Op::NotEqual) return false;
    const VariantType columnKind = cursor::VariantTypeFor(s.store.Columns()[c.column].type);
    if (c.operand.kind == Kind::Null || c.op == Op::Equal) {
        if (c.operand.kind != Kind::Null && c.operand.kind != Kind::Number && c.operand.kind != Kind::Text)
            return false;
        index->ForEachEqual(s.Order().KeyOf(c.operand.value), visit);
        return true;
    }
    // Ranges stay within the operand's family of keys: numbers, or texts.
    std::string familyLow, familyHigh;
    if (c.operand.kind == Kind::Number && IsNumberColumn(columnKind)) {
        familyLow = std::string(1, '\x01');
        familyHigh = std::string(1, '\x02');
    } else if (c.operand.kind == Kind::Text && columnKind == VariantType::String) {
        familyLow = std::string(1, '\x02');
        familyHigh = std::string(1, '\x03');
    } else {
        return false;
    }
    const std::string key = s.Order().KeyOf(c.operand.value);
    std::vector<RowId> rows;
    switch (c.op) {
        case Op::Less: index->Range(&familyLow, true, &key, false, rows); break;
        case Op::LessEqual: index->Range(&familyLow, true, &key, true, rows); break;
        case Op::Greater: index->Range(&key, false, &familyHigh, false, rows); break;
        case Op::GreaterEqual: index->Range(&key, true, &familyHigh, false, rows); break;
        default: return false;
    }
    for (RowId r : rows) visit(r);
    return true;
}

// The visible index of the row nearest `from` in `direction` that meets the clause, or -1.
int64_t Search(const cursor::Cursor& s, const criteria::CompiledClause& c, int64_t from, int direction) {
    const auto n = static_cast<int64_t>(s.VisibleCount());
    auto meets = [&](RowId r) {
        return !(s.store.Flags(r) & RowStore::Deleted) && criteria::Holds(c, s.store, r, s.Order());
    };
    int64_t best = -1;
    const bool indexed = ForEachIndexCandidate(s, c, [&](RowId r) {
        const int32_t at = s.PositionOf(r);
        if (at < 0 || (direction > 0 ? at < from : at > from)) return;
        if (best >= 0 && (direction > 0 ? at >= best : at <= best)) return;
        if (meets(r)) best = at;
    });
    if (indexed) return best;
    const std::vector<RowId>& rows = s.Visible();
    if (direction > 0) {
        for (int64_t i = std::max<int64_t>(from, 0); i < n; ++i)
            if (meets(rows[static_cast<size_t>(i)])) return i;
    } else {
        for (int64_t i = std::min(from, n - 1); i >= 0; --i)
            if (meets(rows[static_cast<size_t>(i)])) return i;
    }
    return -1;
}

bool IsBookmarkEnum(const Variant& start, int32_t which) {
    return start.Type() != VariantType::R8 && start.IsNumeric() && start.ToInt32() == which;
}

}  // namespace

size_t Recordset::ColumnOfField(const std::string& name) const {
    const int32_t i = state_->fields.IndexOf(name);
    if (i < 0) Raise(Condition::ItemNotFound, "(campo '" + name + "')");
    return detail::EngineAccess::ColumnOf(state_->fields[i]);
}

void Recordset::Find(std::string_view criteria, int32_t skipRecords, SearchDirectionEnum searchDirection,
                     const Variant& start) {
    RequireOpen();
    cursor::Cursor& s = *state_;
    // The criteria first: a refusal leaves the cursor where it was.
    if (!s.lastFind.clause || s.lastFind.text != criteria) {
        s.lastFind.clause.reset();
        const criteria::Clause clause = criteria::ParseFind(criteria);
        s.lastFind.clause = criteria::Compile(
            clause, [this](const std::string& f) { return ColumnOfField(f); }, s.store, s.Order());
        s.lastFind.text = criteria;
    }
    if (searchDirection != adSearchForward && searchDirection != adSearchBackward) Raise(Condition::InvalidArgument);
    if (searchDirection == adSearchBackward || skipRecords < 0) RequireScrollable();
    const bool fromCurrent = start.IsEmpty() || IsBookmarkEnum(start, adBookmarkCurrent);
    if (fromCurrent && !s.HasCurrent()) Raise(Condition::NoCurrentRecord);
    const int direction = searchDirection == adSearchForward ? 1 : -1;
    std::optional<RowId> startRow;
    if (!fromCurrent && !IsBookmarkEnum(start, adBookmarkFirst) && !IsBookmarkEnum(start, adBookmarkLast)) {
        const int64_t before = s.Position();
        Bookmark(start);  // validates it (-2147217906) and saves an edit
        startRow = s.CurrentRow();
        s.MoveTo(before);
    }
    const bool dropped = LeaveRow();
    int64_t from = 0;
    const auto n = static_cast<int64_t>(s.VisibleCount());
    if (fromCurrent && dropped) {
        // The deleted row left; the next one took its place.
        const int64_t at = s.Position();
        from = direction > 0 ? at + std::max(skipRecords, 1) - 1 : at - std::max(skipRecords, 1);
    } else {
        const int64_t base = fromCurrent ? s.Position()
                             : startRow ? s.PositionOf(*startRow)
                             : IsBookmarkEnum(start, adBookmarkFirst) ? 0
                                                                       : n - 1;
        from = base + static_cast<int64_t>(skipRecords) * direction;
    }
    const int64_t found = Search(s, *s.lastFind.clause, from, direction);
    s.MoveTo(found >= 0 ? found : direction > 0 ? n : -1);
    ChapterView::FollowMoves(*this);
}

void Recordset::Filter(const Variant& filter) {
    RequireOpen();
    cursor::Cursor& s = *state_;
    if (s.editMode != adEditNone) Update();
    cursor::RowFilter view;
    Variant kept = filter;
    if (filter.IsEmpty() || (filter.IsText() && filter.AsString().empty())) {
        kept = Variant(int32_t{adFilterNone});
    } else if (filter.IsText()) {
        if (cursorLocation_ == adUseServer) Raise(Condition::NotSupported, "(filtros de criterio en un cursor de servidor)");
        const criteria::Criteria parsed = criteria::ParseFilter(filter.AsString());
        auto matcher = std::make_shared<criteria::Matcher>(
            parsed, [this](const std::string& f) { return ColumnOfField(f); }, s.store, s.Order());
        // An index answers when every alternative has a clause one can serve.
        std::vector<RowId> candidates;
        bool indexed = true;
        for (const auto& group : matcher->Alternatives()) {
            bool served = false;
            for (const auto& clause : group)
                if ((served = ForEachIndexCandidate(s, clause, [&](RowId r) { candidates.push_back(r); }))) break;
            if (!served) {
                indexed = false;
                break;
            }
        }
        if (indexed) {
            std::sort(candidates.begin(), candidates.end());
            candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());
            view.candidates = std::move(candidates);
        }
        const cursor::Cursor* c = &s;
        view.keep = [c, matcher](RowId r) {
            return !(c->store.Flags(r) & RowStore::Deleted) && matcher->Matches(c->store, r);
        };
    } else if (filter.Type() == VariantType::Array) {
        // Bookmarks of this recordset, each checked before the filter changes.
        if (!s.bookmarks) Raise(Condition::NotSupported);
        std::vector<RowId> rows;
        for (const Variant& b : filter.AsArray().Elements()) {
            const double value = b.IsNumeric() ? b.ToDouble() : 0;
            if (value < 1 || value != std::floor(value) || value > static_cast<double>(s.store.RowCount()) ||
                (s.store.Flags(static_cast<RowId>(value - 1)) & RowStore::Deleted))
                Raise(Condition::BadBookmark);
            rows.push_back(static_cast<RowId>(value - 1));
        }
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        const cursor::Cursor* c = &s;
        view.keep = [c](RowId r) { return !(c->store.Flags(r) & RowStore::Deleted); };
        view.candidates = std::move(rows);
    } else if (filter.IsNumeric()) {
        const int32_t group = filter.ToInt32();
        if (group < adFilterNone || group > adFilterConflictingRecords || group == 4) Raise(Condition::InvalidArgument);
        const cursor::Cursor* c = &s;
        view.showsDeleted = group != adFilterNone && group != adFilterFetchedRecords;
        if (view.showsDeleted)
            view.keep = [c, group](RowId r) {
                const uint8_t flags = c->store.Flags(r);
                switch (group) {
                    case adFilterPendingRecords: return c->IsPending(r);
                    case adFilterConflictingRecords: return (flags & RowStore::Conflict) != 0;
                    case adFilterAffectedRecords:
                        return std::find(c->affected.begin(), c->affected.end(), r) != c->affected.end();
                    default: return false;
                }
            };
        kept = Variant(group);
    } else {
        Raise(Condition::InvalidArgument);
    }
    ChapterView::Restrict(*this, view);
    s.ShowRows(std::move(view));
    filter_ = kept;
    ChapterView::FollowMoves(*this);
}

void Recordset::ApplySort(std::string_view sort) {
    cursor::Cursor& s = *state_;
    std::vector<cursor::SortColumn> columns;
    for (const criteria::SortKey& k : criteria::ParseSort(sort))
        columns.push_back({ColumnOfField(k.field), k.descending});
    if (s.editMode != adEditNone) Update();
    s.SortRows(std::move(columns));
    ChapterView::FollowMoves(*this);
}

void Recordset::Sort(std::string_view sort) {
    const bool clearing = criteria::ParseSort(sort).empty();
    if (!state_->open) {
        sort_ = sort;
        return;
    }
    if (cursorLocation_ == adUseServer && !clearing) Raise(Condition::NotSupported, "(Sort en un cursor de servidor)");
    ApplySort(sort);
    sort_ = clearing ? std::string() : std::string(sort);
}

}  // namespace ado
