// Numbers as text and text as numbers, with the regional separators. No locale lookups
// and no allocations: the settings are passed in, the work is done in stack buffers.
#include <charconv>
#include <cmath>
#include <limits>
#include <type_traits>

#include "ado/variant/conversion.h"

namespace ado::conv {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool StartsWith(std::string_view s, size_t i, std::string_view what) {
    return !what.empty() && s.substr(i, what.size()) == what;
}

inline void AppendDigit(ParsedNumber& n, char c, bool fraction) {
    if (n.count == 0 && c == '0') {  // leading zeros carry no digits
        if (fraction) --n.exponent;
        return;
    }
    if (n.count < ParsedNumber::kMaxDigits) {
        n.digits[n.count++] = c;
        if (fraction) --n.exponent;
    } else {
        if (!fraction) ++n.exponent;
        n.inexact |= c != '0';
    }
}

void SetInteger(ParsedNumber& n, uint64_t magnitude) {
    char buf[24];
    const auto end = std::to_chars(buf, buf + sizeof buf, magnitude).ptr;
    n.count = 0;
    n.exponent = 0;
    for (const char* p = buf; p != end; ++p) AppendDigit(n, *p, false);
}

// "&H1F" or "&O17" after the sign: the platform's literals. Values up to FFFF are 16-bit
// and up to FFFFFFFF 32-bit two's complement, as the literal would be typed.
bool ParseRadixLiteral(std::string_view s, size_t i, ParsedNumber& n) {
    if (i + 2 > s.size()) return false;
    const char kind = static_cast<char>(s[i + 1] | 0x20);
    const unsigned base = kind == 'h' ? 16 : kind == 'o' ? 8 : 0;
    if (base == 0) return false;
    i += 2;
    uint64_t v = 0;
    int digits = 0;
    for (; i < s.size() && !IsSpace(s[i]); ++i, ++digits) {
        const char c = static_cast<char>(s[i] | 0x20);
        unsigned d;
        if (IsDigit(c)) d = static_cast<unsigned>(c - '0');
        else if (c >= 'a' && c <= 'f') d = static_cast<unsigned>(c - 'a' + 10);
        else return false;
        if (d >= base || v > (std::numeric_limits<uint64_t>::max() >> (base == 16 ? 4 : 3))) return false;
        v = v * base + d;
    }
    while (i < s.size() && IsSpace(s[i])) ++i;
    if (digits == 0 || i != s.size()) return false;
    int64_t value;
    if (v <= 0xFFFF) value = static_cast<int16_t>(static_cast<uint16_t>(v));
    else if (v <= 0xFFFFFFFF) value = static_cast<int32_t>(static_cast<uint32_t>(v));
    else value = static_cast<int64_t>(v);
    const bool negative = (value < 0) != n.negative;
    SetInteger(n, value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value));
    n.negative = negative;
    return true;
}

// The decimal exponent of the number's first digit, to tell overflow from underflow.
int64_t Magnitude(const ParsedNumber& n) { return n.count + n.exponent; }

// Writes "digits e exponent" for from_chars; a dropped nonzero tail becomes a final 1.
const char* ScientificText(const ParsedNumber& n, char* buf, size_t size) {
    char* p = buf;
    for (int i = 0; i < n.count; ++i) *p++ = n.digits[i];
    int64_t exp = n.exponent;
    if (n.inexact) {
        *p++ = '1';
        --exp;
    }
    *p++ = 'e';
    return std::to_chars(p, buf + size, exp).ptr;
}

template <class Real>
Real ParsedToReal(const ParsedNumber& n) {
    if (n.count == 0) return 0;
    if constexpr (std::is_same_v<Real, double>) {
        // Up to 15 digits and a power of ten a double holds exactly: one rounding, done here.
        static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                            1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        if (n.count <= 15 && !n.inexact && n.exponent >= -22 && n.exponent <= 22) {
            int64_t m = 0;
            for (int i = 0; i < n.count; ++i) m = m * 10 + (n.digits[i] - '0');
            const double x = n.exponent < 0 ? static_cast<double>(m) / kPow10[-n.exponent]
                                             : static_cast<double>(m) * kPow10[n.exponent];
            return n.negative ? -x : x;
        }
    }
    char buf[ParsedNumber::kMaxDigits + 32];
    const char* end = ScientificText(n, buf, sizeof buf);
    Real x = 0;
    const auto r = std::from_chars(buf, end, x);
    if (r.ec == std::errc::result_out_of_range) {
        if (Magnitude(n) > 0) FailOverflow();
        x = 0;  // too small: the nearest value is zero
    }
    return n.negative ? -x : x;
}

}  // namespace

bool ParseNumber(std::string_view s, const RegionalSettings& rs, ParsedNumber& n) {
    n = ParsedNumber{};
    size_t i = 0;
    while (i < s.size() && IsSpace(s[i])) ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        n.negative = s[i] == '-';
        ++i;
        while (i < s.size() && IsSpace(s[i])) ++i;
    }
    if (i < s.size() && s[i] == '&') return ParseRadixLiteral(s, i, n);

    bool anyDigit = false;
    // Whole part: thousands separators may stand between digits, wherever they fall.
    while (i < s.size()) {
        if (IsDigit(s[i])) {
            AppendDigit(n, s[i++], false);
            anyDigit = true;
        } else if (anyDigit && StartsWith(s, i, rs.thousandsSeparator) &&
                   i + rs.thousandsSeparator.size() < s.size() && IsDigit(s[i + rs.thousandsSeparator.size()])) {
            i += rs.thousandsSeparator.size();
        } else {
            break;
        }
    }
    if (StartsWith(s, i, rs.decimalSeparator)) {
        i += rs.decimalSeparator.size();
        while (i < s.size() && IsDigit(s[i])) {
            AppendDigit(n, s[i++], true);
            anyDigit = true;
        }
    }
    if (!anyDigit) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        ++i;
        bool negExp = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) negExp = s[i++] == '-';
        if (i == s.size() || !IsDigit(s[i])) return false;
        int64_t e = 0;
        for (; i < s.size() && IsDigit(s[i]); ++i)
            if (e < 100000) e = e * 10 + (s[i] - '0');  // far beyond any range; stop growing
        n.exponent += negExp ? -e : e;
    }
    while (i < s.size() && IsSpace(s[i])) ++i;
    return i == s.size();
}

double ParsedToDouble(const ParsedNumber& n) { return ParsedToReal<double>(n); }
float ParsedToSingle(const ParsedNumber& n) { return ParsedToReal<float>(n); }

Decimal ParsedToDecimal(const ParsedNumber& n) {
    return DecimalFromDigits(n.digits, n.count, n.exponent, n.negative, n.inexact);
}

void AppendInteger(std::string& out, int64_t v) {
    char buf[24];
    out.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

int RoundedDigits(double x, int precision, char* digits, int& exp10) {
    // The shortest form that reads back as x is also x rounded to `precision` digits when it
    // has no more than that (the grid of `precision` digits is coarser than a double's ulp).
    char buf[64];
    const char* end = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific).ptr;
    auto countDigits = [&] {
        int n = 0;
        for (const char* p = buf; *p != 'e'; ++p) n += *p != '.' && *p != '-';
        return n;
    };
    if (countDigits() > precision)
        end = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, precision - 1).ptr;
    int count = 0;
    const char* p = buf;
    for (; *p != 'e'; ++p)
        if (IsDigit(*p)) digits[count++] = *p;
    std::from_chars(p + 1 + (p[1] == '+'), end, exp10);
    while (count > 1 && digits[count - 1] == '0') --count;
    return count;
}

void AppendReal(std::string& out, double x, int significantDigits, std::string_view decimalSeparator) {
    if (x == 0) {  // also -0
        out += '0';
        return;
    }
    if (!std::isfinite(x)) {
        out += std::isnan(x) ? "NaN" : (x < 0 ? "-Infinity" : "Infinity");
        return;
    }
    char digits[24];
    int exp10 = 0;
    const int count = RoundedDigits(x, significantDigits, digits, exp10);
    if (x < 0) out += '-';
    if (exp10 < -4 || exp10 >= significantDigits) {  // "1,5E-07", "1E+20"
        out += digits[0];
        if (count > 1) {
            out += decimalSeparator;
            out.append(digits + 1, static_cast<size_t>(count - 1));
        }
        out += 'E';
        out += exp10 < 0 ? '-' : '+';
        const int e = exp10 < 0 ? -exp10 : exp10;
        if (e < 10) out += '0';
        AppendInteger(out, e);
    } else if (exp10 < 0) {  // "0,000123"
        out += '0';
        out += decimalSeparator;
        out.append(static_cast<size_t>(-exp10 - 1), '0');
        out.append(digits, static_cast<size_t>(count));
    } else {  // "1234,5"
        const int whole = exp10 + 1;
        out.append(digits, static_cast<size_t>(count < whole ? count : whole));
        if (count < whole) out.append(static_cast<size_t>(whole - count), '0');
        if (count > whole) {
            out += decimalSeparator;
            out.append(digits + whole, static_cast<size_t>(count - whole));
        }
    }
}

void AppendCurrency(std::string& out, Currency c, std::string_view decimalSeparator) {
    const uint64_t mag = c.scaled < 0 ? 0 - static_cast<uint64_t>(c.scaled) : static_cast<uint64_t>(c.scaled);
    if (c.scaled < 0) out += '-';
    char buf[24];
    out.append(buf, std::to_chars(buf, buf + sizeof buf, mag / 10000).ptr);
    unsigned frac = static_cast<unsigned>(mag % 10000);
    if (frac == 0) return;
    int digits = 4;
    while (frac % 10 == 0) {
        frac /= 10;
        --digits;
    }
    out += decimalSeparator;
    char f[4];
    for (int i = digits - 1; i >= 0; --i, frac /= 10) f[i] = static_cast<char>('0' + frac % 10);
    out.append(f, static_cast<size_t>(digits));
}

}  // namespace ado::conv
