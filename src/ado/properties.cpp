#include "ado/Properties.h"

#include "ado/connection_string.h"
#include "ado/error_numbers.h"

namespace ado {

void Property::Value(const Variant& v) {
    if (hook_) hook_(v);
    value_ = v;
}

Property& Properties::Item(int32_t index) {
    if (index < 0 || index >= Count()) Raise(Condition::ItemNotFound);
    return items_[static_cast<size_t>(index)];
}

const Property& Properties::Item(int32_t index) const { return const_cast<Properties*>(this)->Item(index); }

Property* Properties::Find(std::string_view name) {
    for (auto& p : items_)
        if (EqualsNoCase(p.Name(), name)) return &p;
    return nullptr;
}

const Property* Properties::Find(std::string_view name) const { return const_cast<Properties*>(this)->Find(name); }

Property& Properties::Item(std::string_view name) {
    Property* p = Find(name);
    if (!p) Raise(Condition::ItemNotFound, std::string(name));
    return *p;
}

const Property& Properties::Item(std::string_view name) const { return const_cast<Properties*>(this)->Item(name); }

Property& Properties::Add(Property p) {
    if (Property* existing = Find(p.Name())) {
        *existing = std::move(p);
        return *existing;
    }
    return items_.emplace_back(std::move(p));
}

}  // namespace ado
