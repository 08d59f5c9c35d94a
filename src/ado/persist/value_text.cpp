#include "ado/persist/value_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "ado/Regional.h"
#include "ado/cursor/row_store.h"
#include "ado/error_numbers.h"

namespace ado::persist {

namespace {

using U128 = unsigned __int128;
constexpr U128 kDecimalLimit = U128{1} << 96;

U128 Pow10(int n) {
    U128 p = 1;
    while (n-- > 0) p *= 10;
    return p;
}

}  // namespace

Decimal RescaledDecimal(Decimal d, uint8_t scale) {
    while (d.scale < scale) {
        if (d.mantissa * 10 >= kDecimalLimit) Raise(Condition::DataConversion, "(el número no cabe en su escala)");
        d.mantissa *= 10;
        ++d.scale;
    }
    while (d.scale > scale) {
        const U128 q = d.mantissa / 10, r = d.mantissa % 10;
        d.mantissa = q + ((r > 5 || (r == 5 && (q & 1))) ? 1 : 0);
        --d.scale;
    }
    return d;
}

namespace {

template <class Int>
void AppendInteger(std::string& out, Int v) {
    char buf[48];
    out.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

// The shortest digits that read back to `x`, laid out as the platform writes reals.
template <class Real>
void AppendReal(std::string& out, Real x) {
    if (x == 0) return out.push_back('0');
    if (!std::isfinite(x)) Raise(Condition::DataConversion, "(un número real no es finito)");
    char buf[64];
    const char* end = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific).ptr;
    const char* p = buf;
    if (*p == '-') out.push_back(*p++);
    std::string digits;
    for (; *p != 'e'; ++p)
        if (*p != '.') digits.push_back(*p);
    int exp10 = 0;
    std::from_chars(p + 1 + (p[1] == '+'), end, exp10);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int significant = std::is_same_v<Real, float> ? 7 : 15;
    if (exp10 < -4 || exp10 >= significant) {  // "1.5E-07", "1E+20"
        out.push_back(digits[0]);
        if (digits.size() > 1) out.append(".").append(digits, 1);
        out += exp10 < 0 ? "E-" : "E+";
        const int e = exp10 < 0 ? -exp10 : exp10;
        if (e < 10) out.push_back('0');
        AppendInteger(out, e);
    } else if (exp10 < 0) {  // "0.000123"
        out.append("0.").append(static_cast<size_t>(-exp10 - 1), '0').append(digits);
    } else {
        const size_t whole = static_cast<size_t>(exp10) + 1;
        if (digits.size() <= whole) {
            out.append(digits).append(whole - digits.size(), '0');
        } else {
            out.append(digits, 0, whole).append(".").append(digits, whole);
        }
    }
}

void AppendTwo(std::string& out, int v) {
    out.push_back(static_cast<char>('0' + v / 10 % 10));
    out.push_back(static_cast<char>('0' + v % 10));
}

void AppendDatePart(std::string& out, int64_t days) {
    const DateParts d = SplitDate(Date{static_cast<double>(days)});
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-", d.year);
    out += buf;
    AppendTwo(out, d.month);
    out.push_back('-');
    AppendTwo(out, d.day);
}

void AppendTimePart(std::string& out, double seconds) {
    const auto whole = static_cast<int64_t>(seconds);
    AppendTwo(out, static_cast<int>(whole / 3600));
    out.push_back(':');
    AppendTwo(out, static_cast<int>(whole / 60 % 60));
    out.push_back(':');
    AppendTwo(out, static_cast<int>(whole % 60));
    int millis = static_cast<int>(std::lround((seconds - static_cast<double>(whole)) * 1000));
    if (millis <= 0 || millis > 999) return;
    out.push_back('.');
    for (int unit = 100; unit > 0 && millis > 0; unit /= 10) {
        out.push_back(static_cast<char>('0' + millis / unit));
        millis %= unit;
    }
}

void AppendHex(std::string& out, const Binary& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out.reserve(out.size() + 2 * bytes.size());
    for (uint8_t b : bytes) {
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 15]);
    }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "n" digits at `i` as a number; false when they are not all digits.
bool Digits(std::string_view s, size_t i, size_t n, int& out) {
    if (i + n > s.size()) return false;
    out = 0;
    for (size_t k = i; k < i + n; ++k) {
        if (!IsDigit(s[k])) return false;
        out = out * 10 + (s[k] - '0');
    }
    return true;
}

// "yyyy-mm-dd"; false when the text does not start with one.
bool ParseDate(std::string_view s, int& y, int& m, int& d) {
    return s.size() >= 10 && Digits(s, 0, 4, y) && s[4] == '-' && Digits(s, 5, 2, m) && s[7] == '-' &&
           Digits(s, 8, 2, d) && m >= 1 && m <= 12 && d >= 1 && d <= 31;
}

// "hh:mm:ss[.fraction]" as seconds of the day; false when the text is not one.
bool ParseTime(std::string_view s, double& seconds) {
    int h = 0, m = 0, sec = 0;
    if (s.size() < 8 || !Digits(s, 0, 2, h) || s[2] != ':' || !Digits(s, 3, 2, m) || s[5] != ':' ||
        !Digits(s, 6, 2, sec) || h > 23 || m > 59 || sec > 59)
        return false;
    seconds = h * 3600.0 + m * 60.0 + sec;
    if (s.size() == 8) return true;
    if (s[8] != '.' || s.size() == 9) return false;
    double scale = 0.1;
    for (size_t i = 9; i < s.size(); ++i, scale /= 10) {
        if (!IsDigit(s[i])) return false;
        seconds += (s[i] - '0') * scale;
    }
    return true;
}

[[noreturn]] void BadValue(std::string_view text, std::string_view column) {
    std::string shown(text.substr(0, 40));
    if (text.size() > 40) shown += "...";
    Raise(Condition::InvalidFile, "(el valor '" + shown + "' no es válido para el campo '" + std::string(column) + "')");
}

template <class Int>
bool ParseInteger(std::string_view s, Int& v) {
    if (!s.empty() && s[0] == '+') s.remove_prefix(1);
    const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

void IntegerValue(DataTypeEnum type, std::string_view s, std::string_view column, ValueSink& sink) {
    struct Range {
        DataTypeEnum type;
        int64_t lo, hi;
    };
    static constexpr Range kRanges[] = {
        {adTinyInt, INT8_MIN, INT8_MAX},          {adUnsignedTinyInt, 0, UINT8_MAX},
        {adSmallInt, INT16_MIN, INT16_MAX},       {adUnsignedSmallInt, 0, UINT16_MAX},
        {adInteger, INT32_MIN, INT32_MAX},        {adUnsignedInt, 0, UINT32_MAX},
    };
    int64_t v = 0;
    if (!ParseInteger(s, v)) BadValue(s, column);
    for (const Range& r : kRanges)
        if (r.type == type && (v < r.lo || v > r.hi)) BadValue(s, column);
    sink.Int(v);
}

void DateValue(DataTypeEnum type, std::string_view s, std::string_view column, ValueSink& sink) {
    int y = 1899, m = 12, d = 30;
    double seconds = 0;
    bool ok = false;
    if (type == adDBTime) {
        ok = ParseTime(s, seconds);
    } else if (ParseDate(s, y, m, d)) {
        ok = s.size() == 10 || (s[10] == 'T' && ParseTime(s.substr(11), seconds));
    }
    if (!ok) BadValue(s, column);
    double serial = 0;
    try {
        serial = SerialFrom(y, m, d, seconds);
    } catch (const Error&) {
        BadValue(s, column);
    }
    sink.DateSerial(serial);
}

Binary HexValue(std::string_view s, std::string_view column) {
    Binary out;
    out.reserve(s.size() / 2);
    int high = -1;
    for (char c : s) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        const int v = IsDigit(c) ? c - '0' : (c | 0x20) >= 'a' && (c | 0x20) <= 'f' ? (c | 0x20) - 'a' + 10 : -1;
        if (v < 0) BadValue(s, column);
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<uint8_t>(high << 4 | v));
            high = -1;
        }
    }
    if (high >= 0) BadValue(s, column);
    return out;
}

}  // namespace

bool ParseExactDecimal(std::string_view s, Decimal& out) {
    Decimal d;
    size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) d.negative = s[i++] == '-';
    bool anyDigit = false, point = false;
    int scale = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (!IsDigit(c)) break;
        anyDigit = true;
        if (d.mantissa == 0 && c == '0') {  // leading zeros carry nothing but the scale
            scale += point;
            continue;
        }
        d.mantissa = d.mantissa * 10 + static_cast<unsigned>(c - '0');
        if (d.mantissa >= kDecimalLimit) return false;
        scale += point;
    }
    if (!anyDigit) return false;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        int exponent = 0;
        std::string_view e = s.substr(i + 1);
        if (!e.empty() && e[0] == '+') e.remove_prefix(1);
        const auto r = std::from_chars(e.data(), e.data() + e.size(), exponent);
        if (r.ec != std::errc() || r.ptr != e.data() + e.size() || exponent > 60 || exponent < -60) return false;
        scale -= exponent;
        i = s.size();
    }
    if (i != s.size()) return false;
    for (; scale < 0; ++scale) {
        d.mantissa *= 10;
        if (d.mantissa >= kDecimalLimit) return false;
    }
    for (; scale > 28; --scale) {
        if (d.mantissa % 10 != 0) return false;
        d.mantissa /= 10;
    }
    d.scale = static_cast<uint8_t>(scale);
    out = d;
    return true;
}

void AppendDecimalText(std::string& out, const Decimal& d, bool trimZeros, bool leadingZero) {
    char buf[48];
    const auto high = static_cast<uint64_t>(d.mantissa / Pow10(19));
    const auto low = static_cast<uint64_t>(d.mantissa % Pow10(19));
    std::string digits;
    if (high) {
        digits.append(buf, std::to_chars(buf, buf + sizeof buf, high).ptr);
        const std::string rest(buf, std::to_chars(buf, buf + sizeof buf, low).ptr);
        digits.append(19 - rest.size(), '0').append(rest);
    } else {
        digits.append(buf, std::to_chars(buf, buf + sizeof buf, low).ptr);
    }
    if (digits.size() < size_t{d.scale} + 1) digits.insert(0, size_t{d.scale} + 1 - digits.size(), '0');
    std::string whole = digits.substr(0, digits.size() - d.scale);
    std::string fraction = digits.substr(digits.size() - d.scale);
    if (trimZeros)
        while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (d.mantissa == 0 && trimZeros) return out.push_back('0');
    if (d.negative && d.mantissa != 0) out.push_back('-');
    if (!(whole == "0" && !leadingZero && !fraction.empty())) out += whole;
    if (!fraction.empty()) out.append(".").append(fraction);
}

double SerialFrom(int year, int month, int day, double secondsOfDay) {
    const double days = MakeDate(year, month, day).serial;
    const double fraction = secondsOfDay / 86400.0;
    return days >= 0 ? days + fraction : days - fraction;
}

void SplitSerial(double serial, int64_t& days, double& secondsOfDay) {
    double whole = std::trunc(serial);
    double seconds = std::round(std::fabs(serial - whole) * 86400.0 * 1000.0) / 1000.0;
    if (seconds >= 86400.0) {  // rounding reached midnight: carry into the day
        seconds -= 86400.0;
        whole += serial >= 0 ? 1 : -1;
    }
    days = static_cast<int64_t>(whole);
    secondsOfDay = seconds;
}

bool AppendXmlText(std::string& out, DataTypeEnum type, uint8_t scale, const Variant& value) {
    if (value.IsNull() || value.IsEmpty()) return false;
    try {
        switch (type) {
            case adVariant: out += value.ToString(RegionalSettings::UnitedStates()); return true;
            case adBoolean: out += value.ToBool() ? "True" : "False"; return true;
            case adTinyInt: case adSmallInt: case adInteger: case adBigInt: case adUnsignedTinyInt:
            case adUnsignedSmallInt: case adUnsignedInt:
                AppendInteger(out, value.ToInt64());
                return true;
            case adUnsignedBigInt: AppendDecimalText(out, RescaledDecimal(value.ToDecimal(), 0), true, true); return true;
            case adSingle: AppendReal(out, value.ToSingle()); return true;
            case adDouble: AppendReal(out, value.ToDouble()); return true;
            case adCurrency: {
                const __int128 scaled = value.ToCurrency().scaled;
                const Decimal d{static_cast<U128>(scaled < 0 ? -scaled : scaled), 4, scaled < 0};
                AppendDecimalText(out, d, true, true);
                return true;
            }
            case adDecimal: AppendDecimalText(out, value.ToDecimal(), true, true); return true;
            case adNumeric: case adVarNumeric:
                AppendDecimalText(out, RescaledDecimal(value.ToDecimal(), scale), false, false);
                return true;
            case adDate: case adDBTimeStamp: case adFileTime: case adDBDate: case adDBTime: {
                int64_t days = 0;
                double seconds = 0;
                SplitSerial(value.ToDate().serial, days, seconds);
                if (type != adDBTime) AppendDatePart(out, days);
                if (type == adDBDate) return true;
                if (type != adDBTime) out.push_back('T');
                AppendTimePart(out, seconds);
                return true;
            }
            case adBinary: case adVarBinary: case adLongVarBinary:
                if (value.Type() != VariantType::Binary) Raise(Condition::DataConversion);
                AppendHex(out, value.AsBinary());
                return true;
            default: out += value.ToString(RegionalSettings::UnitedStates()); return true;
        }
    } catch (const Error& e) {
        if (e.Number() == err::DataConversion) throw;
        Raise(Condition::DataConversion, "(" + e.Description() + ")");
    }
}

void ParseXmlValue(DataTypeEnum type, std::string_view s, std::string_view column, ValueSink& sink) {
    switch (type) {
        case adTinyInt: case adSmallInt: case adInteger: case adBigInt: case adUnsignedTinyInt:
        case adUnsignedSmallInt: case adUnsignedInt:
            return IntegerValue(type, s, column, sink);
        case adUnsignedBigInt: {
            uint64_t v = 0;
            if (!ParseInteger(s, v)) BadValue(s, column);
            return sink.Other(Variant(Decimal{v, 0, false}));
        }
        case adBoolean: {
            if (s == "True" || s == "true" || s == "1" || s == "-1") return sink.Bool(true);
            if (s == "False" || s == "false" || s == "0") return sink.Bool(false);
            BadValue(s, column);
        }
        case adSingle: case adDouble: {
            std::string_view t = s;
            if (!t.empty() && t[0] == '+') t.remove_prefix(1);
            double d = 0;
            const auto r = std::from_chars(t.data(), t.data() + t.size(), d);
            if (r.ec != std::errc() || r.ptr != t.data() + t.size() || !std::isfinite(d)) BadValue(s, column);
            return sink.Real(type == adSingle ? static_cast<double>(static_cast<float>(d)) : d);
        }
        case adCurrency: case adDecimal: case adNumeric: case adVarNumeric: {
            Decimal d;
            if (!ParseExactDecimal(s, d)) BadValue(s, column);
            if (type != adCurrency) return sink.Other(Variant(d));
            try {
                return sink.Money(Variant(d).ToCurrency().scaled);
            } catch (const Error&) {
                BadValue(s, column);
            }
        }
        case adDate: case adDBDate: case adDBTime: case adDBTimeStamp: case adFileTime:
            return DateValue(type, s, column, sink);
        case adBinary: case adVarBinary: case adLongVarBinary: {
            const Binary bytes = HexValue(s, column);
            return sink.Blob(bytes.data(), bytes.size());
        }
        default: return sink.Text(s);
    }
}

Variant XmlValue(DataTypeEnum type, std::string_view s, std::string_view column) {
    VariantSink sink;
    ParseXmlValue(type, s, column, sink);
    return std::move(sink.value);
}

}  // namespace ado::persist
