// SafeArray: elements in one vector, the first index varying fastest.
#include "ado/Variant.h"
#include "ado/variant/conversion.h"

namespace ado {

SafeArray::SafeArray(std::vector<Bound> bounds) : bounds_(std::move(bounds)) {
    size_t total = bounds_.empty() ? 0 : 1;
    for (const Bound& b : bounds_) {
        if (b.count < 0) conv::FailSubscript();
        // UBound must stay representable.
        if (static_cast<int64_t>(b.lower) + b.count - 1 > INT32_MAX) conv::FailOverflow();
        total *= static_cast<size_t>(b.count);
    }
    elements_.resize(total);
}

int32_t SafeArray::LBound(int32_t dimension) const {
    if (dimension < 1 || dimension > Dimensions()) conv::FailSubscript();
    return bounds_[static_cast<size_t>(dimension - 1)].lower;
}

int32_t SafeArray::UBound(int32_t dimension) const {
    if (dimension < 1 || dimension > Dimensions()) conv::FailSubscript();
    const Bound& b = bounds_[static_cast<size_t>(dimension - 1)];
    return b.lower + b.count - 1;
}

size_t SafeArray::Offset(std::initializer_list<int32_t> indexes) const {
    if (indexes.size() != bounds_.size()) conv::FailSubscript();
    size_t offset = 0;
    size_t stride = 1;
    const Bound* b = bounds_.data();
    for (int32_t index : indexes) {
        const int64_t rel = static_cast<int64_t>(index) - b->lower;
        if (rel < 0 || rel >= b->count) conv::FailSubscript();
        offset += static_cast<size_t>(rel) * stride;
        stride *= static_cast<size_t>(b->count);
        ++b;
    }
    return offset;
}

const Variant& SafeArray::At(std::initializer_list<int32_t> indexes) const { return elements_[Offset(indexes)]; }

Variant& SafeArray::At(std::initializer_list<int32_t> indexes) { return elements_[Offset(indexes)]; }

}  // namespace ado
