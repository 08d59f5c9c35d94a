// CInt, CLng, CSng, CDbl, CCur, CDec, CDate and CBool: one switch per target over the
// stored kind. Numeric paths do not look at the regional settings; only text does.
#include <cfloat>
#include <cmath>

#include "ado/variant/conversion.h"

namespace ado {
namespace conv {

int64_t RoundToInteger(double x, int64_t lo, int64_t hi) {
    const double r = std::nearbyint(x);  // the default rounding mode: half to even
    // hi + 1 is exact in double for every target (2^15, 2^31, 2^63).
    if (!(r >= static_cast<double>(lo) && r < static_cast<double>(hi) + 1.0)) FailOverflow();
    return static_cast<int64_t>(r);
}

int64_t CurrencyToInteger(Currency c) {
    int64_t q = c.scaled / 10000;
    const int64_t r = c.scaled % 10000;  // same sign as scaled
    const int64_t ar = r < 0 ? -r : r;
    if (ar > 5000 || (ar == 5000 && (q & 1))) q += r < 0 ? -1 : 1;
    return q;
}

Currency CurrencyFromDouble(double x) {
    const double scaled = x * 10000.0;
    if (std::fabs(scaled) < 9007199254740992.0) return Currency{static_cast<int64_t>(std::nearbyint(scaled))};
    // Beyond 2^53 the product is inexact: scale the whole part as an integer and round only
    // the fraction (whole × 10000 is even, so the fraction alone decides half to even).
    const double whole = std::trunc(x);
    if (!(std::fabs(whole) <= 922337203685477.0)) FailOverflow();  // NaN too
    const auto fraction = static_cast<int64_t>(std::nearbyint((x - whole) * 10000.0));
    int64_t result;
    if (__builtin_add_overflow(static_cast<int64_t>(whole) * 10000, fraction, &result)) FailOverflow();
    return Currency{result};
}

Currency CurrencyFromInteger(int64_t v) {
    constexpr int64_t kMax = INT64_MAX / 10000;
    if (v > kMax || v < -kMax) FailOverflow();
    return Currency{v * 10000};
}

double CheckedDateSerial(double serial) {
    if (!(serial > kMinDateSerial && serial < kMaxDateSerial)) FailOverflow();
    return serial;
}

}  // namespace conv

namespace {

using conv::FailNull;
using conv::FailTypeMismatch;

conv::ParsedNumber ParseOrFail(const std::string& s) {
    conv::ParsedNumber n;
    if (!conv::ParseNumber(s, RegionalSettings::Current(), n)) FailTypeMismatch();
    return n;
}

// The integer conversions share one path: the value as int64, then the target's range.
int64_t IntegerIn(const Variant& v, int64_t lo, int64_t hi) {
    int64_t r;
    switch (v.Type()) {
        case VariantType::Empty: return 0;
        case VariantType::Null: FailNull();
        case VariantType::Bool: return v.AsBool() ? -1 : 0;
        case VariantType::I2: return v.AsI2();
        case VariantType::I4: r = v.AsI4(); break;
        case VariantType::I8: r = v.AsI8(); break;
        case VariantType::R4: return conv::RoundToInteger(v.AsR4(), lo, hi);
        case VariantType::R8: return conv::RoundToInteger(v.AsR8(), lo, hi);
        case VariantType::Date: return conv::RoundToInteger(v.AsDate().serial, lo, hi);
        case VariantType::Currency: r = conv::CurrencyToInteger(v.AsCurrency()); break;
        case VariantType::Decimal: r = conv::DecimalToInteger(v.AsDecimal()); break;
        case VariantType::String: r = conv::DecimalToInteger(conv::ParsedToDecimal(ParseOrFail(v.AsString()))); break;
        default: FailTypeMismatch();
    }
    if (r < lo || r > hi) conv::FailOverflow();
    return r;
}

}  // namespace

int16_t Variant::ToInt16() const { return static_cast<int16_t>(IntegerIn(*this, INT16_MIN, INT16_MAX)); }
int32_t Variant::ToInt32() const { return static_cast<int32_t>(IntegerIn(*this, INT32_MIN, INT32_MAX)); }
int64_t Variant::ToInt64() const { return IntegerIn(*this, INT64_MIN, INT64_MAX); }

double Variant::ToDouble() const {
    switch (Type()) {
        case VariantType::Empty: return 0;
        case VariantType::Null: FailNull();
        case VariantType::Bool: return std::get<bool>(v_) ? -1 : 0;
        case VariantType::I2: return std::get<int16_t>(v_);
        case VariantType::I4: return std::get<int32_t>(v_);
        case VariantType::I8: return static_cast<double>(std::get<int64_t>(v_));
        case VariantType::R4: return std::get<float>(v_);
        case VariantType::R8: return std::get<double>(v_);
        case VariantType::Currency: return conv::CurrencyToDouble(std::get<Currency>(v_));
        case VariantType::Decimal: return conv::DecimalToDouble(std::get<Decimal>(v_));
        case VariantType::Date: return std::get<Date>(v_).serial;
        case VariantType::String: return conv::ParsedToDouble(ParseOrFail(std::get<std::string>(v_)));
        default: FailTypeMismatch();
    }
}

float Variant::ToSingle() const {
    if (Type() == VariantType::String) return conv::ParsedToSingle(ParseOrFail(std::get<std::string>(v_)));
    const double d = ToDouble();
    if (std::fabs(d) > FLT_MAX) conv::FailOverflow();
    return static_cast<float>(d);
}

Currency Variant::ToCurrency() const {
    switch (Type()) {
        case VariantType::Currency: return std::get<Currency>(v_);
        case VariantType::Bool:
        case VariantType::I2:
        case VariantType::I4:
        case VariantType::I8: return conv::CurrencyFromInteger(ToInt64());
        case VariantType::Decimal: return conv::DecimalToCurrency(std::get<Decimal>(v_));
        case VariantType::String:
            return conv::DecimalToCurrency(conv::ParsedToDecimal(ParseOrFail(std::get<std::string>(v_))));
        default: return conv::CurrencyFromDouble(ToDouble());  // reals, Date, Empty; Null and others fail there
    }
}

Decimal Variant::ToDecimal() const {
    switch (Type()) {
        case VariantType::Decimal: return std::get<Decimal>(v_);
        case VariantType::Empty:
        case VariantType::Bool:
        case VariantType::I2:
        case VariantType::I4:
        case VariantType::I8: return conv::DecimalFromInteger(ToInt64());
        case VariantType::R4: return conv::DecimalFromDouble(std::get<float>(v_), 7);
        case VariantType::Currency: return conv::DecimalFromCurrency(std::get<Currency>(v_));
        case VariantType::String: return conv::ParsedToDecimal(ParseOrFail(std::get<std::string>(v_)));
        default: return conv::DecimalFromDouble(ToDouble());  // R8, Date; Null and others fail there
    }
}

Date Variant::ToDate() const { return ToDate(RegionalSettings::Current()); }

Date Variant::ToDate(const RegionalSettings& rs) const {
    switch (Type()) {
        case VariantType::Date: return std::get<Date>(v_);
        case VariantType::String: {
            Date d;
            if (!conv::ParseDate(std::get<std::string>(v_), rs, d)) FailTypeMismatch();
            return d;
        }
        default: return Date{conv::CheckedDateSerial(ToDouble())};
    }
}

bool Variant::ToBool() const {
    switch (Type()) {
        case VariantType::Bool: return std::get<bool>(v_);
        case VariantType::Currency: return std::get<Currency>(v_).scaled != 0;
        case VariantType::Decimal: return std::get<Decimal>(v_).mantissa != 0;
        case VariantType::I8: return std::get<int64_t>(v_) != 0;
        case VariantType::String: {
            const std::string& s = std::get<std::string>(v_);
            const RegionalSettings& rs = RegionalSettings::Current();
            const size_t first = s.find_first_not_of(' ');
            const std::string_view trimmed =
                first == std::string::npos ? std::string_view{} : std::string_view(s).substr(first, s.find_last_not_of(' ') + 1 - first);
            for (const auto& [word, value] : {std::pair<std::string_view, bool>{rs.trueText, true},
                                              {rs.falseText, false}, {"True", true}, {"False", false}})
                if (conv::CompareText(trimmed, word, false) == 0) return value;
            conv::ParsedNumber n;
            if (!conv::ParseNumber(s, rs, n)) FailTypeMismatch();
            return n.count != 0;
        }
        default: return ToDouble() != 0;  // NaN is true, as any nonzero value
    }
}

}  // namespace ado
