// ado::Properties: the dynamic properties of a connection, recordset or field.
//
// Ownership: properties belong to their object, and follow its thread. Errors: a name that
// is not there fails with ado::Error 3265.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ado/Enums.h"
#include "ado/Variant.h"

namespace ado {

class Property {
public:
    // A hook runs before a write is stored; it may refuse by throwing an ado::Error.
    using WriteHook = std::function<void(const Variant& newValue)>;

    Property(std::string name, Variant value, DataTypeEnum type, int32_t attributes, WriteHook hook = {})
        : name_(std::move(name)), value_(std::move(value)), type_(type), attributes_(attributes),
          hook_(std::move(hook)) {}

    const std::string& Name() const { return name_; }
    const Variant& Value() const { return value_; }
    void Value(const Variant& v);
    // Owner side: stores a value without running the hook.
    void Store(Variant v) { value_ = std::move(v); }
    DataTypeEnum Type() const { return type_; }
    int32_t Attributes() const { return attributes_; }

private:
    std::string name_;
    Variant value_;
    DataTypeEnum type_;
    int32_t attributes_;
    WriteHook hook_;
};

class Properties {
public:
    int32_t Count() const { return static_cast<int32_t>(items_.size()); }
    // By 0-based index or by name without regard to case; a missing item fails with 3265.
    Property& Item(int32_t index);
    Property& Item(std::string_view name);
    const Property& Item(int32_t index) const;
    const Property& Item(std::string_view name) const;
    Property* Find(std::string_view name);  // nullptr when absent
    const Property* Find(std::string_view name) const;

    // Owner side: adds a property (or replaces one of the same name).
    Property& Add(Property p);

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<Property> items_;
};

}  // namespace ado
