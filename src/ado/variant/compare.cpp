// Compare: the ordering of Find, Filter and Sort across kinds.
#include <cmath>
#include <cstring>
#include <functional>

#include "ado/Error.h"
#include "ado/variant/conversion.h"

namespace ado {
namespace conv {
namespace {

// The byte at i with case folded: ASCII letters, and the second byte of the UTF-8 Latin-1
// capitals U+00C0..U+00DE (but U+00D7, the multiplication sign) move to their small letters.
unsigned char Folded(std::string_view s, size_t i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0x80 && c <= 0x9E && c != 0x97 && i > 0 && static_cast<unsigned char>(s[i - 1]) == 0xC3)
        return static_cast<unsigned char>(c + 32);
    return c;
}

}  // namespace

int CompareText(std::string_view a, std::string_view b, bool caseSensitive) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    if (caseSensitive) {
        const int r = n ? std::memcmp(a.data(), b.data(), n) : 0;
        if (r != 0) return r < 0 ? -1 : 1;
    } else {
        for (size_t i = 0; i < n; ++i) {
            const unsigned char x = Folded(a, i), y = Folded(b, i);
            if (x != y) return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace conv

namespace {

// Kinds in the order they sort when they cannot be compared by value.
enum class Rank { Nothing, Number, Text, Bytes, Array, Object };

Rank RankOf(VariantType t) {
    switch (t) {
        case VariantType::Empty:
        case VariantType::Null: return Rank::Nothing;
        case VariantType::String: return Rank::Text;
        case VariantType::Binary: return Rank::Bytes;
        case VariantType::Array: return Rank::Array;
        case VariantType::Object: return Rank::Object;
        default: return Rank::Number;
    }
}

std::weak_ordering FromInt(int r) {
    return r < 0 ? std::weak_ordering::less : r > 0 ? std::weak_ordering::greater : std::weak_ordering::equivalent;
}

template <class T>
std::weak_ordering Order(const T& a, const T& b) {
    return a < b ? std::weak_ordering::less : b < a ? std::weak_ordering::greater : std::weak_ordering::equivalent;
}

bool IsInteger(VariantType t) {
    return t == VariantType::Bool || t == VariantType::I2 || t == VariantType::I4 || t == VariantType::I8;
}
bool IsReal(VariantType t) { return t == VariantType::R4 || t == VariantType::R8 || t == VariantType::Date; }

// Numbers by value: integers exactly, Currency exactly against integers, Decimal exactly
// against everything but reals, reals as doubles (NaN first, equal to itself).
std::weak_ordering CompareNumbers(const Variant& a, const Variant& b) {
    const VariantType ta = a.Type(), tb = b.Type();
    if (IsInteger(ta) && IsInteger(tb)) return Order(a.ToInt64(), b.ToInt64());
    if (IsReal(ta) || IsReal(tb)) {
        const double x = a.ToDouble(), y = b.ToDouble();
        if (std::isnan(x) || std::isnan(y)) return Order(!std::isnan(x), !std::isnan(y));
        return Order(x, y);
    }
    if (ta == VariantType::Decimal || tb == VariantType::Decimal)
        return FromInt(conv::CompareDecimal(a.ToDecimal(), b.ToDecimal()));
    // Currency against Currency or an integer, scaled to 128 bits so nothing overflows.
    const auto scaled = [](const Variant& v) -> __int128 {
        return v.Type() == VariantType::Currency ? v.AsCurrency().scaled : static_cast<__int128>(v.ToInt64()) * 10000;
    };
    return Order(scaled(a), scaled(b));
}

// A text read as the other side's kind, when it reads.
bool TextAsNumber(const std::string& s, VariantType other, Variant& out) {
    const RegionalSettings& rs = RegionalSettings::Current();
    if (other == VariantType::Date) {
        Date d;
        if (conv::ParseDate(s, rs, d)) {
            out = d;
            return true;
        }
    }
    conv::ParsedNumber n;
    if (!conv::ParseNumber(s, rs, n)) return false;
    try {
        out = conv::ParsedToDecimal(n);
    } catch (const Error&) {
        out = conv::ParsedToDouble(n);  // beyond Decimal: a double still orders it
    }
    return true;
}

std::weak_ordering TextAgainstNumber(const Variant& text, const Variant& number, bool caseSensitive) {
    Variant value;
    if (TextAsNumber(text.AsString(), number.Type(), value)) return CompareNumbers(value, number);
    return FromInt(conv::CompareText(text.AsString(), number.ToString(), caseSensitive));
}

std::weak_ordering CompareArrays(const SafeArray& a, const SafeArray& b, bool caseSensitive) {
    if (a.Dimensions() != b.Dimensions()) return Order(a.Dimensions(), b.Dimensions());
    if (a.Size() != b.Size()) return Order(a.Size(), b.Size());
    for (size_t i = 0; i < a.Size(); ++i) {
        const auto r = Compare(a.Elements()[i], b.Elements()[i], caseSensitive);
        if (r != 0) return r;
    }
    return std::weak_ordering::equivalent;
}

}  // namespace

std::weak_ordering Compare(const Variant& a, const Variant& b, bool caseSensitive) {
    const Rank ra = RankOf(a.Type()), rb = RankOf(b.Type());
    if (ra == Rank::Number && rb == Rank::Number) return CompareNumbers(a, b);
    if (ra == Rank::Text && rb == Rank::Text) return FromInt(conv::CompareText(a.AsString(), b.AsString(), caseSensitive));
    if (ra == Rank::Text && rb == Rank::Number) return TextAgainstNumber(a, b, caseSensitive);
    if (ra == Rank::Number && rb == Rank::Text) return 0 <=> TextAgainstNumber(b, a, caseSensitive);
    if (ra != rb) return Order(ra, rb);
    switch (ra) {
        case Rank::Bytes: {
            const Binary &x = a.AsBinary(), &y = b.AsBinary();
            const std::string_view sx(reinterpret_cast<const char*>(x.data()), x.size());
            const std::string_view sy(reinterpret_cast<const char*>(y.data()), y.size());
            return FromInt(conv::CompareText(sx, sy, true));
        }
        case Rank::Array: return CompareArrays(a.AsArray(), b.AsArray(), caseSensitive);
        case Rank::Object: {
            const Recordset* x = a.AsObject().get();
            const Recordset* y = b.AsObject().get();
            return std::less<>{}(x, y) ? std::weak_ordering::less
                   : std::less<>{}(y, x) ? std::weak_ordering::greater
                                         : std::weak_ordering::equivalent;
        }
        default: return std::weak_ordering::equivalent;  // Null and Empty
    }
}

}  // namespace ado
