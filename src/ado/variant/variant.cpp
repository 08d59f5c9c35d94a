// Variant storage: construction, kind tests, exact accessors, structural equality.
#include <array>
#include <type_traits>

#include "ado/Error.h"
#include "ado/ErrorNumbers.h"
#include "ado/Variant.h"
#include "ado/variant/conversion.h"

namespace ado {

namespace conv {

void FailOverflow() { throw Error(err::Overflow, "Desbordamiento"); }
void FailTypeMismatch() { throw Error(err::TypeMismatch, "No coinciden los tipos"); }
void FailNull() { throw Error(err::InvalidUseOfNull, "Uso no válido de Null"); }
void FailDivisionByZero() { throw Error(err::DivisionByZero, "División por cero"); }
void FailSubscript() { throw Error(err::SubscriptOutOfRange, "El subíndice está fuera del intervalo"); }

}  // namespace conv

namespace {

// Indexed by VariantType.
constexpr std::array<uint16_t, 15> kVarTypeNumbers = {
    0,       // Empty     VT_EMPTY
    1,       // Null      VT_NULL
    11,      // Bool      VT_BOOL
    2,       // I2        VT_I2
    3,       // I4        VT_I4
    20,      // I8        VT_I8
    4,       // R4        VT_R4
    5,       // R8        VT_R8
    6,       // Currency  VT_CY
    14,      // Decimal   VT_DECIMAL
    7,       // Date      VT_DATE
    8,       // String    VT_BSTR
    0x2011,  // Binary    VT_ARRAY | VT_UI1
    0x200C,  // Array     VT_ARRAY | VT_VARIANT
    9,       // Object    VT_DISPATCH
};

template <class T, class Storage>
const T& Exact(const Storage& v) {
    const T* p = std::get_if<T>(&v);
    if (!p) conv::FailTypeMismatch();
    return *p;
}

}  // namespace

uint16_t VarTypeNumber(VariantType t) { return kVarTypeNumbers.at(static_cast<size_t>(t)); }

Variant::Variant(SafeArray a) : v_(std::make_shared<SafeArray>(std::move(a))) {}

bool Variant::IsNumeric() const {
    switch (Type()) {
        case VariantType::Bool:
        case VariantType::I2:
        case VariantType::I4:
        case VariantType::I8:
        case VariantType::R4:
        case VariantType::R8:
        case VariantType::Currency:
        case VariantType::Decimal:
            return true;
        default:
            return false;
    }
}

void Variant::FailKind() { conv::FailTypeMismatch(); }

const SafeArray& Variant::AsArray() const { return *Exact<std::shared_ptr<SafeArray>>(v_); }
const RecordsetPtr& Variant::AsObject() const { return Exact<RecordsetPtr>(v_); }

SafeArray& Variant::AsArray() {
    auto* p = std::get_if<std::shared_ptr<SafeArray>>(&v_);
    if (!p) conv::FailTypeMismatch();
    // Copies of a Variant share the array until one of them asks to change it.
    if (p->use_count() > 1) *p = std::make_shared<SafeArray>(**p);
    return **p;
}

bool operator==(const Variant& a, const Variant& b) {
    if (a.v_.index() != b.v_.index()) return false;
    return std::visit(
        [&b](const auto& x) {
            using T = std::decay_t<decltype(x)>;
            const T& y = *std::get_if<T>(&b.v_);
            if constexpr (std::is_same_v<T, std::monostate> || std::is_same_v<T, Variant::NullTag>)
                return true;
            else if constexpr (std::is_same_v<T, std::shared_ptr<SafeArray>>)
                return *x == *y;
            else
                return x == y;  // an Object compares by identity
        },
        a.v_);
}

}  // namespace ado
