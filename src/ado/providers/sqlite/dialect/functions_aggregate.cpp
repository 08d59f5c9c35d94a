// Access aggregates that SQLite lacks: First, Last (the value of the first or last row
// of the group, Null included), StDev, StDevP, Var, VarP (sample and population; Nulls
// are skipped, and a sample of fewer than two values gives Null).
#include <cmath>

#include "ado/providers/sqlite/dialect/function_call.h"

namespace ado::sqlite::detail {
namespace {

struct KeptValue {
    sqlite3_value* value;
};

template <bool last>
void KeepStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* kept = static_cast<KeptValue*>(sqlite3_aggregate_context(ctx, sizeof(KeptValue)));
    if (kept == nullptr) return sqlite3_result_error_nomem(ctx);
    if (kept->value != nullptr && !last) return;
    sqlite3_value* copy = sqlite3_value_dup(argv[0]);
    if (copy == nullptr) return sqlite3_result_error_nomem(ctx);
    sqlite3_value_free(kept->value);
    kept->value = copy;
}

void KeepFinal(sqlite3_context* ctx) {
    auto* kept = static_cast<KeptValue*>(sqlite3_aggregate_context(ctx, 0));
    if (kept == nullptr || kept->value == nullptr) return sqlite3_result_null(ctx);
    sqlite3_result_value(ctx, kept->value);
    sqlite3_value_free(kept->value);
}

// Welford's running mean and sum of squared deviations.
struct Spread {
    int64_t count;
    double mean, squares;
};

void SpreadStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* s = static_cast<Spread*>(sqlite3_aggregate_context(ctx, sizeof(Spread)));
    if (s == nullptr) return sqlite3_result_error_nomem(ctx);
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return;
    const double x = sqlite3_value_double(argv[0]);
    ++s->count;
    const double delta = x - s->mean;
    s->mean += delta / static_cast<double>(s->count);
    s->squares += delta * (x - s->mean);
}

template <bool sample, bool root>
void SpreadFinal(sqlite3_context* ctx) {
    auto* s = static_cast<Spread*>(sqlite3_aggregate_context(ctx, 0));
    const int64_t divisor = s == nullptr ? 0 : s->count - (sample ? 1 : 0);
    if (divisor <= 0) return sqlite3_result_null(ctx);
    const double variance = s->squares / static_cast<double>(divisor);
    sqlite3_result_double(ctx, root ? std::sqrt(variance) : variance);
}

constexpr AggregateSpec kAggregates[] = {
    {"FIRST", KeepStep<false>, KeepFinal},
    {"LAST", KeepStep<true>, KeepFinal},
    {"STDEV", SpreadStep, SpreadFinal<true, true>},
    {"STDEVP", SpreadStep, SpreadFinal<false, true>},
    {"VAR", SpreadStep, SpreadFinal<true, false>},
    {"VARP", SpreadStep, SpreadFinal<false, false>},
};

}  // namespace

std::span<const AggregateSpec> AccessAggregates() { return kAggregates; }

}  // namespace ado::sqlite::detail
