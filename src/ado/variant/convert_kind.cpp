// ConvertTo: a value turned into the kind a field or parameter asks for.
#include "ado/variant/conversion.h"

namespace ado {

Variant Variant::ConvertTo(VariantType t) const {
    if (Type() == t) return *this;
    if (IsNull() || t == VariantType::Null) return Variant(Null);
    switch (t) {
        case VariantType::Empty: return Variant();
        case VariantType::Bool: return Variant(ToBool());
        case VariantType::I2: return Variant(ToInt16());
        case VariantType::I4: return Variant(ToInt32());
        case VariantType::I8: return Variant(ToInt64());
        case VariantType::R4: return Variant(ToSingle());
        case VariantType::R8: return Variant(ToDouble());
        case VariantType::Currency: return Variant(ToCurrency());
        case VariantType::Decimal: return Variant(ToDecimal());
        case VariantType::Date: return Variant(ToDate());
        case VariantType::String: return Variant(ToString());
        case VariantType::Binary:
            if (IsText()) return Variant(Binary(AsString().begin(), AsString().end()));
            if (IsEmpty()) return Variant(Binary{});
            break;
        case VariantType::Array:
            if (IsEmpty()) return Variant(SafeArray{});
            break;
        case VariantType::Object:
            if (IsEmpty()) return Variant(RecordsetPtr{});
            break;
        default: break;
    }
    conv::FailTypeMismatch();
}

}  // namespace ado
