#include "ado/criteria/matcher.h"

#include "ado/Regional.h"
#include "ado/error_numbers.h"
#include "ado/providers/sqlite/dialect/date_literal.h"
#include "ado/text/letter_case.h"
#include "ado/variant/conversion.h"

namespace ado::criteria {
namespace {

// The next code point of UTF-8 text; ill-formed bytes read as U+FFFD one at a time.
char32_t NextCodePoint(std::string_view s, size_t& i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
        ++i;
        return b;
    }
    const size_t extra = (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : 0;
    if (extra == 0 || i + extra >= s.size()) {
        ++i;
        return U'\uFFFD';
    }
    char32_t cp = b & (0x3F >> extra);
    for (size_t k = 1; k <= extra; ++k) {
        const auto cont = static_cast<unsigned char>(s[i + k]);
        if ((cont & 0xC0) != 0x80) {
            ++i;
            return U'\uFFFD';
        }
        cp = (cp << 6) | (cont & 0x3F);
    }
    i += extra + 1;
    return cp;
}

std::u32string Folded(std::string_view s, const text::CaseFolding& folding) {
    std::u32string out;
    for (size_t i = 0; i < s.size();) out += folding.Fold(NextCodePoint(s, i));
    return out;
}

bool Like(std::string_view text, const CompiledClause& c) {
    const std::u32string t = Folded(text, c.folding);
    const std::u32string& p = c.likeFolded;
    switch (c.like) {
        case LikeForm::Whole: return t == p;
        case LikeForm::Prefix: return t.compare(0, p.size(), p) == 0 && t.size() >= p.size();
        case LikeForm::Contains: return t.find(p) != std::u32string::npos;
    }
    return false;
}

// A text value read as the column's kind, when it reads as one.
Variant AsColumnKind(const Variant& v, VariantType kind) {
    if (!v.IsText()) return v;
    const RegionalSettings& rs = RegionalSettings::Current();
    if (kind == VariantType::Date) {
        try {
            return Variant(sqlite::detail::ParseDateLiteral(v.AsString()));
        } catch (const Error&) {
        }
        Date d;
        if (conv::ParseDate(v.AsString(), rs, d)) return Variant(d);
        return v;
    }
    const bool number = kind != VariantType::String && kind != VariantType::Binary && kind != VariantType::Empty &&
                        kind != VariantType::Object;
    conv::ParsedNumber n;
    if (number && conv::ParseNumber(v.AsString(), rs, n)) return Variant(conv::ParsedToDouble(n));
    return v;
}

}  // namespace

CompiledClause Compile(const Clause& clause, const ColumnOf& columnOf, const cursor::RowStore& store,
                       const ValueOrder& order) {
    CompiledClause c;
    const size_t column = columnOf(clause.field);
    c.column = column;
    c.op = clause.op;
    c.like = clause.like;
    if (clause.op == Op::Like) {
        c.operand = Operand(clause.value);
        c.folding = text::CaseFolding(order.Language());
        c.likeFolded = Folded(clause.likeText, c.folding);
    } else {
        c.operand = Operand(AsColumnKind(clause.value, cursor::VariantTypeFor(store.Columns()[column].type)));
    }
    return c;
}

bool Holds(const CompiledClause& c, const cursor::RowStore& store, cursor::RowId row, const ValueOrder& order) {
    if (c.op == Op::Like) {
        const cursor::RowStore::Cell& cell = store.CellAt(row, c.column);
        if (cell.tag == cursor::RowStore::Tag::Null || cell.tag == cursor::RowStore::Tag::Empty) return false;
        if (cell.tag == cursor::RowStore::Tag::Text) return Like(store.TextAt(cell), c);
        return Like(store.Get(row, c.column).ToString(), c);
    }
    if (c.operand.kind == Operand::Kind::Null) {
        const auto tag = store.CellAt(row, c.column).tag;
        const bool isNull = tag == cursor::RowStore::Tag::Null || tag == cursor::RowStore::Tag::Empty;
        return c.op == Op::Equal ? isNull : !isNull;
    }
    const int r = order.CompareCell(store, row, c.column, c.operand);
    if (r == ValueOrder::kNull) return false;  // Null meets no comparison
    switch (c.op) {
        case Op::Equal: return r == 0;
        case Op::NotEqual: return r != 0;
        case Op::Less: return r < 0;
        case Op::LessEqual: return r <= 0;
        case Op::Greater: return r > 0;
        case Op::GreaterEqual: return r >= 0;
        case Op::Like: break;
    }
    return false;
}

Matcher::Matcher(const Criteria& criteria, const ColumnOf& columnOf, const cursor::RowStore& store,
                 const ValueOrder& order)
    : order_(&order) {
    for (const auto& group : criteria.anyOf) {
        auto& compiled = anyOf_.emplace_back();
        for (const Clause& clause : group) compiled.push_back(Compile(clause, columnOf, store, order));
    }
}

bool Matcher::Matches(const cursor::RowStore& store, cursor::RowId row) const {
    for (const auto& group : anyOf_) {
        bool all = true;
        for (const CompiledClause& c : group)
            if (!Holds(c, store, row, *order_)) {
                all = false;
                break;
            }
        if (all) return true;
    }
    return false;
}

}  // namespace ado::criteria
