// Row identity: a plain SELECT over base tables carries each source row's rowid in hidden
// columns at the end of its select list (the contract is RowIdentityColumn's, in
// access_dialect.h), and the translations that carry them are cached per schema answer.
#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "ado/providers/sqlite/dialect/translation_passes.h"

namespace ado::sqlite {
namespace detail {
namespace {

// Aggregates of SQLite and of Access: a select list that calls one yields summary rows.
constexpr std::string_view kAggregates[] = {"AVG",   "COUNT",   "FIRST",        "GROUP_CONCAT", "LAST",
                                            "MAX",   "MIN",     "STDEV",        "STDEVP",       "SUM",
                                            "TOTAL", "VAR",     "VARP"};

// Words that make a SELECT something other than rows of its sources, wherever they stand at
// the statement's own level.
constexpr std::string_view kSummaryWords[] = {"UNION", "INTERSECT", "EXCEPT", "GROUP", "HAVING", "INTO"};

// Words that end the FROM clause at its level.
constexpr std::string_view kAfterFrom[] = {"WHERE", "GROUP", "HAVING", "ORDER", "LIMIT", "UNION",
                                           "INTERSECT", "EXCEPT", "WINDOW"};

// Words that join two sources.
constexpr std::string_view kJoinWords[] = {"JOIN", "INNER", "LEFT", "RIGHT", "FULL", "OUTER", "CROSS", "NATURAL"};

template <size_t N>
bool IsAnyWord(const Token& tok, const std::string_view (&words)[N]) {
    for (std::string_view w : words)
        if (IsWord(tok, w)) return true;
    return false;
}

bool IsNameToken(const Token& tok) {
    return tok.kind == TokenKind::Name || (tok.kind == TokenKind::Word && !IsReservedWord(tok.text));
}

std::string NameOf(const Token& tok) { return tok.kind == TokenKind::Name ? tok.value : tok.text; }

struct Source {
    std::string table;
    std::string alias;
};

// Reads the sources of a FROM clause between `begin` and `end` (one parenthesis level).
// Sources that cannot carry an identity (subqueries, other files, qualified names) are left
// out; the joins' conditions are skipped.
class FromClause {
public:
    explicit FromClause(const Tokens& t) : t_(t) {}

    std::vector<Source> Read(size_t begin, size_t end) {
        std::vector<Source> sources;
        ReadLevel(begin, end, sources);
        return sources;
    }

private:
    void ReadLevel(size_t i, size_t end, std::vector<Source>& out) {
        i = FirstSignificant(t_, i, end);
        while (i < end) {
            i = ReadItem(i, end, out);
            // The join's condition, up to the next source.
            while (i < end && !IsPunct(t_[i], ",") && !IsJoinWord(i)) {
                if (IsPunct(t_[i], "(")) i = std::min(MatchingClose(t_, i), end);
                i = NextSignificant(t_, i);
            }
            while (i < end && (IsPunct(t_[i], ",") || IsJoinWord(i))) i = NextSignificant(t_, i);
        }
    }

    // LEFT( and RIGHT( are Access's text functions, not joins.
    bool IsJoinWord(size_t i) const {
        if (!IsAnyWord(t_[i], kJoinWords)) return false;
        const size_t next = NextSignificant(t_, i);
        return !(next < t_.size() && IsPunct(t_[next], "(") && (IsWord(t_[i], "LEFT") || IsWord(t_[i], "RIGHT")));
    }

    // One source at i; returns the first token after it (and after its alias).
    size_t ReadItem(size_t i, size_t end, std::vector<Source>& out) {
        if (IsPunct(t_[i], "(")) {
            const size_t close = std::min(MatchingClose(t_, i), end);
            const size_t inner = NextSignificant(t_, i);
            // A subquery has no base rows; a parenthesised join holds sources of its own.
            if (inner < close && !IsWord(t_[inner], "SELECT")) ReadLevel(inner, close, out);
            return SkipAlias(NextSignificant(t_, close), end, nullptr);
        }
        if (!IsNameToken(t_[i])) return NextSignificant(t_, i);
        Source s{NameOf(t_[i]), NameOf(t_[i])};
        size_t next = NextSignificant(t_, i);
        bool plain = true;
        if (next < end && IsPunct(t_[next], ".")) {  // another database's table
            plain = false;
            while (next < end && (IsPunct(t_[next], ".") || IsNameToken(t_[next]))) next = NextSignificant(t_, next);
        }
        if (next < end && IsWord(t_[next], "IN")) {  // t IN 'file'
            const size_t file = NextSignificant(t_, next);
            if (file < end && t_[file].kind == TokenKind::String) {
                plain = false;
                next = NextSignificant(t_, file);
            }
        }
        next = SkipAlias(next, end, &s.alias);
        if (plain) out.push_back(std::move(s));
        return next;
    }

    // [AS] alias at i, when there is one; its name goes to `alias`.
    size_t SkipAlias(size_t i, size_t end, std::string* alias) {
        if (i < end && IsWord(t_[i], "AS")) i = NextSignificant(t_, i);
        if (i < end && IsNameToken(t_[i])) {
            if (alias) *alias = NameOf(t_[i]);
            i = NextSignificant(t_, i);
        }
        return i;
    }

    const Tokens& t_;
};

// Where the FROM of a plain SELECT is, or npos when the statement may carry no identity.
size_t EligibleFrom(const Tokens& t, Range r, size_t head) {
    const size_t first = NextSignificant(t, head);
    if (first >= r.end || IsWord(t[first], "DISTINCT") || IsWord(t[first], "DISTINCTROW") || IsWord(t[first], "TOP"))
        return npos;
    size_t from = npos;
    int depth = 0;
    for (size_t i = head; i < r.end; ++i) {
        if (IsPunct(t[i], "(")) ++depth;
        if (IsPunct(t[i], ")")) --depth;
        if (from == npos && t[i].kind == TokenKind::Word && IsAnyWord(t[i], kAggregates)) {
            const size_t call = NextSignificant(t, i);
            if (call < r.end && IsPunct(t[call], "(")) return npos;
        }
        if (depth != 0) continue;
        if (IsAnyWord(t[i], kSummaryWords)) return npos;
        if (from == npos && IsWord(t[i], "FROM")) from = i;
    }
    return from;
}

// Where the FROM clause that starts at `from` ends.
size_t FromEnd(const Tokens& t, Range r, size_t from) {
    int depth = 0;
    for (size_t i = from + 1; i < r.end; ++i) {
        if (IsPunct(t[i], "(")) ++depth;
        if (IsPunct(t[i], ")")) --depth;
        if (depth == 0 && IsAnyWord(t[i], kAfterFrom)) return i;
    }
    return r.end;
}

}  // namespace

void AddRowIdentity(Tokens& t, Translation& out, RowIdentitySchema& schema) {
    const std::vector<Range> statements = SplitStatements(t);
    const Range r = statements.front();
    const size_t head = FirstSignificant(t, r.begin, r.end);
    if (head == r.end || !IsWord(t[head], "SELECT")) return;
    const size_t from = EligibleFrom(t, r, head);
    if (from == npos) return;
    std::string columns;
    for (Source& s : FromClause(t).Read(from + 1, FromEnd(t, r, from))) {
        if (!schema.IsBaseTable(s.table)) continue;
        out.rowIdentity.push_back({std::move(s.table), std::move(s.alias)});
        columns += ", " + QuoteName(out.rowIdentity.back().alias) + "._rowid_ AS " +
                   QuoteName("brezal_rowid_" + std::to_string(out.rowIdentity.size()));
    }
    if (columns.empty()) return;
    // After the last significant token of the select list, so that comments stay in place.
    const size_t at = PrevSignificant(t, from) + 1;
    t.insert(t.begin() + static_cast<std::ptrdiff_t>(at), Token{TokenKind::Raw, std::move(columns), {}, {}});
}

}  // namespace detail

namespace {

// A translation with identity columns and the answers it was made with.
struct Answered {
    Translation translation;
    std::vector<std::pair<std::string, bool>> answers;
};

// Asks the schema and notes each answer.
class NotingSchema final : public RowIdentitySchema {
public:
    explicit NotingSchema(RowIdentitySchema& inner) : inner_(inner) {}
    bool IsBaseTable(std::string_view table) override {
        const bool base = inner_.IsBaseTable(table);
        answers.emplace_back(std::string(table), base);
        return base;
    }
    std::vector<std::pair<std::string, bool>> answers;

private:
    RowIdentitySchema& inner_;
};

// Least recently used translations with identity columns, keyed by statement text.
class AnsweredCache {
public:
    static constexpr size_t kCapacity = 256;

    std::shared_ptr<const Answered> Find(std::string_view sql) {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = index_.find(std::string(sql));
        if (found == index_.end()) return nullptr;
        order_.splice(order_.begin(), order_, found->second);
        return found->second->second;
    }

    void Keep(std::string_view sql, std::shared_ptr<const Answered> answered) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (const auto found = index_.find(std::string(sql)); found != index_.end()) {
            order_.erase(found->second);
            index_.erase(found);
        }
        order_.emplace_front(std::string(sql), std::move(answered));
        index_.emplace(order_.front().first, order_.begin());
        if (order_.size() > kCapacity) {
            index_.erase(order_.back().first);
            order_.pop_back();
        }
    }

private:
    using Entry = std::pair<std::string, std::shared_ptr<const Answered>>;
    std::mutex mutex_;
    std::list<Entry> order_;
    std::unordered_map<std::string, std::list<Entry>::iterator> index_;
};

}  // namespace

const Translation& TranslateAccessSqlCached(std::string_view accessSql, RowIdentitySchema& schema) {
    static AnsweredCache cache;
    thread_local std::shared_ptr<const Answered> lastAnswer;
    // The schema is asked outside the cache's lock: its answers come from a database.
    std::shared_ptr<const Answered> known = cache.Find(accessSql);
    bool same = known != nullptr;
    for (size_t i = 0; same && i < known->answers.size(); ++i)
        same = schema.IsBaseTable(known->answers[i].first) == known->answers[i].second;
    if (!same) {
        NotingSchema noting(schema);
        auto made = std::make_shared<Answered>();
        made->translation = TranslateAccessSql(accessSql, &noting);
        made->answers = std::move(noting.answers);
        cache.Keep(accessSql, made);
        known = std::move(made);
    }
    lastAnswer = std::move(known);
    return lastAnswer->translation;
}

}  // namespace ado::sqlite
