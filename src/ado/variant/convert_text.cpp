// CStr: the text form of every kind, following the regional settings.
#include "ado/variant/conversion.h"

namespace ado {

std::string Variant::ToString() const { return ToString(RegionalSettings::Current()); }

std::string Variant::ToString(const RegionalSettings& rs) const {
    std::string out;
    switch (Type()) {
        case VariantType::Empty: break;
        case VariantType::Null: conv::FailNull();
        case VariantType::Bool: out = std::get<bool>(v_) ? rs.trueText : rs.falseText; break;
        case VariantType::I2: conv::AppendInteger(out, std::get<int16_t>(v_)); break;
        case VariantType::I4: conv::AppendInteger(out, std::get<int32_t>(v_)); break;
        case VariantType::I8: conv::AppendInteger(out, std::get<int64_t>(v_)); break;
        case VariantType::R4: conv::AppendReal(out, std::get<float>(v_), 7, rs.decimalSeparator); break;
        case VariantType::R8: conv::AppendReal(out, std::get<double>(v_), 15, rs.decimalSeparator); break;
        case VariantType::Currency: conv::AppendCurrency(out, std::get<Currency>(v_), rs.decimalSeparator); break;
        case VariantType::Decimal: conv::AppendDecimal(out, std::get<Decimal>(v_), rs.decimalSeparator); break;
        case VariantType::Date:
            out.reserve(32);  // date and time pass the short-string capacity: grow once
            conv::AppendDate(out, std::get<Date>(v_), rs);
            break;
        case VariantType::String: out = std::get<std::string>(v_); break;
        case VariantType::Binary: {
            const Binary& b = std::get<Binary>(v_);
            out.assign(b.begin(), b.end());  // the bytes are taken as UTF-8 text
            break;
        }
        default: conv::FailTypeMismatch();
    }
    return out;
}

}  // namespace ado
