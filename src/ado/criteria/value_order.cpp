#include "ado/criteria/value_order.h"

#include <cmath>
#include <cstring>

#include "ado/Regional.h"

namespace ado::criteria {
namespace {

using Tag = cursor::RowStore::Tag;

std::string RegionalLanguage() {
    const std::string& language = RegionalSettings::Current().language;
    return language.empty() ? "es" : language;
}

template <class T>
int Three(T a, T b) {
    return a < b ? -1 : b < a ? 1 : 0;
}

int FromOrdering(std::weak_ordering o) { return o < 0 ? -1 : o > 0 ? 1 : 0; }

bool IsNumberKind(VariantType t) {
    switch (t) {
        case VariantType::Bool: case VariantType::I2: case VariantType::I4: case VariantType::I8:
        case VariantType::R4: case VariantType::R8: case VariantType::Currency: case VariantType::Decimal:
        case VariantType::Date: return true;
        default: return false;
    }
}

double NumberOf(const Variant& v) {
    return v.Type() == VariantType::Date ? v.AsDate().serial : v.ToDouble();
}

// Eight bytes whose bytewise order is the doubles' order (-0 as 0, NaN first).
std::string NumberKey(double d) {
    std::string key(9, '\x01');
    if (std::isnan(d)) {
        key[1] = 0;
        return key;
    }
    if (d == 0) d = 0;
    uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    bits = (bits & (1ull << 63)) ? ~bits : bits | (1ull << 63);
    for (int i = 0; i < 8; ++i) key[static_cast<size_t>(1 + i)] = static_cast<char>(bits >> (56 - 8 * i));
    return key;
}

constexpr double kExactInteger = 9007199254740992.0;  // 2^53

}  // namespace

Operand::Operand(Variant v) : value(std::move(v)) {
    if (value.IsNull() || value.IsEmpty()) {
        kind = Kind::Null;
    } else if (value.IsText()) {
        kind = Kind::Text;
    } else if (value.Type() == VariantType::I8 || value.Type() == VariantType::I4 || value.Type() == VariantType::R8 ||
               value.Type() == VariantType::Date) {
        number = NumberOf(value);
        kind = std::isnan(number) || std::fabs(number) >= kExactInteger ? Kind::Other : Kind::Number;
    }
}

ValueOrder::ValueOrder() : language_(RegionalLanguage()), collator_(language_) {}

std::weak_ordering ValueOrder::Compare(const Variant& a, const Variant& b) const {
    if (a.IsText() && b.IsText()) {
        const int r = collator_.Compare(a.AsString(), b.AsString());
        return r < 0 ? std::weak_ordering::less : r > 0 ? std::weak_ordering::greater : std::weak_ordering::equivalent;
    }
    return ado::Compare(a, b);
}

int ValueOrder::CompareCell(const cursor::RowStore& store, cursor::RowId row, size_t column, const Operand& v) const {
    const cursor::RowStore::Cell& c = store.CellAt(row, column);
    switch (c.tag) {
        case Tag::Null:
        case Tag::Empty: return kNull;
        case Tag::Int:
            if (v.kind == Operand::Kind::Number && std::fabs(static_cast<double>(c.i)) < kExactInteger)
                return Three(static_cast<double>(c.i), v.number);
            break;
        case Tag::Real:
        case Tag::Date:
            if (v.kind == Operand::Kind::Number && !std::isnan(c.d)) return Three(c.d, v.number);
            break;
        case Tag::Text:
            if (v.kind == Operand::Kind::Text) return collator_.Compare(store.TextAt(c), v.value.AsString());
            break;
        default: break;
    }
    return FromOrdering(Compare(store.Get(row, column), v.value));
}

int ValueOrder::CompareCells(const cursor::RowStore& store, cursor::RowId a, cursor::RowId b, size_t column) const {
    const cursor::RowStore::Cell& x = store.CellAt(a, column);
    const cursor::RowStore::Cell& y = store.CellAt(b, column);
    const bool nullX = x.tag == Tag::Null || x.tag == Tag::Empty, nullY = y.tag == Tag::Null || y.tag == Tag::Empty;
    if (nullX || nullY) return Three(!nullX, !nullY);
    if (x.tag == y.tag) {
        switch (x.tag) {
            case Tag::Text: return collator_.Compare(store.TextAt(x), store.TextAt(y));
            case Tag::Int:
            case Tag::Bool:
            case Tag::Currency: return Three(x.i, y.i);
            case Tag::Real:
            case Tag::Date:
                if (!std::isnan(x.d) && !std::isnan(y.d)) return Three(x.d, y.d);
                break;
            default: break;
        }
    }
    return FromOrdering(Compare(store.Get(a, column), store.Get(b, column)));
}

std::string ValueOrder::KeyOfCell(const cursor::RowStore& store, cursor::RowId row, size_t column) const {
    const cursor::RowStore::Cell& c = store.CellAt(row, column);
    switch (c.tag) {
        case Tag::Null:
        case Tag::Empty: return std::string(1, '\0');
        case Tag::Int:
        case Tag::Bool: return NumberKey(static_cast<double>(c.i));
        case Tag::Real:
        case Tag::Date: return NumberKey(c.d);
        case Tag::Text: return '\x02' + collator_.SortKey(store.TextAt(c));
        default: return KeyOf(store.Get(row, column));
    }
}

std::string ValueOrder::KeyOf(const Variant& v) const {
    if (v.IsNull() || v.IsEmpty()) return std::string(1, '\0');
    if (IsNumberKind(v.Type())) return NumberKey(NumberOf(v));
    if (v.IsText()) return '\x02' + collator_.SortKey(v.AsString());
    return '\x03' + v.ToString();
}

}  // namespace ado::criteria
