#include "ado/providers/sqlite/dialect/access_like.h"

#include <memory>

#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/function_call.h"
#include "ado/providers/sqlite/dialect/utf8_text.h"
#include "ado/providers/sqlite/text_collation.h"
#include "ado/providers/sqlite/dialect/value_text.h"

namespace ado::sqlite::detail {

AccessPattern::AccessPattern(std::string_view pattern, std::optional<char32_t> escape, std::string_view language)
    : folding_(language) {
    const std::u32string p = DecodeUtf8(pattern);
    for (size_t i = 0; i < p.size(); ++i) {
        const char32_t c = p[i];
        Element e;
        if (escape && c == *escape && i + 1 < p.size()) {
            e.kind = Element::Literal;
            e.literal = folding_.Fold(p[++i]);
        } else if (c == '*' || c == '%') {
            e.kind = Element::AnyRun;
        } else if (c == '?' || c == '_') {
            e.kind = Element::AnyOne;
        } else if (c == '#') {
            e.kind = Element::Digit;
        } else if (c == '[') {
            size_t j = i + 1;
            e.kind = Element::List;
            if (j < p.size() && p[j] == '!') {
                e.negated = true;
                ++j;
            }
            for (; j < p.size() && p[j] != ']'; ++j) {
                if (j + 2 < p.size() && p[j + 1] == '-' && p[j + 2] != ']') {
                    e.spans.push_back({p[j], p[j + 2]});
                    j += 2;
                } else {
                    e.spans.push_back({p[j], p[j]});
                }
            }
            if (j >= p.size()) ThrowRuntimeError(kInvalidPatternString);
            i = j;
            if (e.spans.empty() && !e.negated) continue;  // [] stands for nothing
        } else {
            e.kind = Element::Literal;
            e.literal = folding_.Fold(c);
        }
        elements_.push_back(std::move(e));
    }
}

bool AccessPattern::MatchesOne(const Element& e, char32_t c) const {
    switch (e.kind) {
        case Element::AnyOne:
            return true;
        case Element::Digit:
            return c >= '0' && c <= '9';
        case Element::Literal:
            return folding_.Fold(c) == e.literal;
        case Element::List: {
            // A letter is in a range when it is there as written, folded or in upper case.
            const char32_t folded = folding_.Fold(c), upper = text::SimpleUpper(c);
            bool in = false;
            for (const Span& s : e.spans) {
                in = (c >= s.low && c <= s.high) ||
                     (folded >= folding_.Fold(s.low) && folded <= folding_.Fold(s.high)) ||
                     (upper >= text::SimpleUpper(s.low) && upper <= text::SimpleUpper(s.high));
                if (in) break;
            }
            return in != e.negated;
        }
        default:
            return false;
    }
}

bool AccessPattern::Matches(std::string_view text) const {
    const std::u32string s = DecodeUtf8(text);
    // Each element but a run takes one character: on a mismatch, let the last run take
    // one more character and try again.
    size_t p = 0, i = 0;
    size_t runElement = std::u32string::npos, runText = 0;
    while (i < s.size()) {
        if (p < elements_.size() && elements_[p].kind == Element::AnyRun) {
            runElement = p++;
            runText = i;
        } else if (p < elements_.size() && MatchesOne(elements_[p], s[i])) {
            ++p;
            ++i;
        } else if (runElement != std::u32string::npos) {
            p = runElement + 1;
            i = ++runText;
        } else {
            return false;
        }
    }
    while (p < elements_.size() && elements_[p].kind == Element::AnyRun) ++p;
    return p == elements_.size();
}

namespace {

struct CompiledPattern {
    AccessPattern pattern;
    std::optional<char32_t> escape;
};

struct LikeCall {
    sqlite3_context* ctx;
    int argc;
    sqlite3_value** argv;
};

// like(pattern, text[, escape]); the compiled pattern is kept while the pattern is constant.
void Like(void* data) {
    auto& c = *static_cast<LikeCall*>(data);
    for (int i = 0; i < c.argc; ++i)
        if (sqlite3_value_type(c.argv[i]) == SQLITE_NULL) return sqlite3_result_null(c.ctx);
    std::optional<char32_t> escape;
    if (c.argc == 3) {
        const std::u32string e = DecodeUtf8(ValueText(c.argv[2]));
        if (e.size() != 1) return sqlite3_result_error(c.ctx, "ESCAPE expression must be a single character", -1);
        escape = e[0];
    }
    auto* cached = static_cast<CompiledPattern*>(sqlite3_get_auxdata(c.ctx, 0));
    std::unique_ptr<CompiledPattern> fresh;
    if (cached == nullptr || cached->escape != escape) {
        // Letter case as the file's collation has it, as Access compares by the database's sort order.
        const std::string language = ComparisonLanguage(sqlite3_context_db_handle(c.ctx));
        fresh = std::make_unique<CompiledPattern>(
            CompiledPattern{AccessPattern(ValueText(c.argv[0]), escape, language), escape});
        cached = fresh.get();
    }
    sqlite3_result_int(c.ctx, cached->pattern.Matches(ValueText(c.argv[1])) ? -1 : 0);  // Access's True
    if (fresh)
        sqlite3_set_auxdata(c.ctx, 0, fresh.release(), [](void* p) { delete static_cast<CompiledPattern*>(p); });
}

void LikeEntry(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    LikeCall call{ctx, argc, argv};
    RunGuarded(ctx, Like, &call);
}

// ALike's pattern, whose only wildcards are ANSI's % and _, as a LIKE pattern: *, ? and #
// outside a character list are made literal by a list of their own.
void AnsiPattern(void* data) {
    auto& c = *static_cast<LikeCall*>(data);
    if (sqlite3_value_type(c.argv[0]) == SQLITE_NULL) return sqlite3_result_null(c.ctx);
    const std::string_view pattern = ValueText(c.argv[0]);
    std::string out;
    out.reserve(pattern.size() + 8);
    bool inList = false;
    for (const char ch : pattern) {
        if (!inList && (ch == '*' || ch == '?' || ch == '#')) {
            out += {'[', ch, ']'};
            continue;
        }
        if (ch == '[') inList = true;
        if (ch == ']') inList = false;
        out += ch;
    }
    sqlite3_result_text(c.ctx, out.data(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

void AnsiPatternEntry(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    LikeCall call{ctx, argc, argv};
    RunGuarded(ctx, AnsiPattern, &call);
}

}  // namespace

void RegisterAccessLike(sqlite3* db) {
    for (int n = 2; n <= 3; ++n)
        sqlite3_create_function_v2(db, "like", n, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, LikeEntry, nullptr,
                                   nullptr, nullptr);
    sqlite3_create_function_v2(db, "BZ_ANSI_PATTERN", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, AnsiPatternEntry,
                               nullptr, nullptr, nullptr);
}

}  // namespace ado::sqlite::detail
