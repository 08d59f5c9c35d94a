// How a chapter's rows are found: the parent's relation columns and the child's compared as
// one key each.
#pragma once

#include <charconv>
#include <string>

#include "ado/Variant.h"
#include "ado/persist/value_text.h"

namespace ado::persist {

constexpr char kKeySeparator = '\x1F';  // ends each column's part of a key

// The text of an integer in a key, the same as the text form below gives it.
inline void AppendKeyInteger(std::string& key, int64_t value) {
    char digits[24];
    key.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

// Adds a relation column's value to the key; false when it is Null, which relates to nothing.
inline bool AddToKey(std::string& key, const Variant& value) {
    switch (value.Type()) {
        case VariantType::Null: case VariantType::Empty: return false;
        // The common keys take the short road to the same text as below.
        case VariantType::I2: case VariantType::I4: case VariantType::I8: AppendKeyInteger(key, value.ToInt64()); break;
        case VariantType::String: key += value.AsString(); break;
        default: AppendXmlText(key, adVariant, 0, value);  // one text form for every numeric kind
    }
    key.push_back(kKeySeparator);
    return true;
}

}  // namespace ado::persist
