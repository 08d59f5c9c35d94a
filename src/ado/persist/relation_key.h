// How a chapter's rows are found: the parent's relation columns and the child's compared as
// one key each.
#pragma once

#include <string>

#include "ado/Variant.h"
#include "ado/persist/value_text.h"

namespace ado::persist {

// Adds a relation column's value to the key; false when it is Null, which relates to nothing.
inline bool AddToKey(std::string& key, const Variant& value) {
    if (value.IsNull() || value.IsEmpty()) return false;
    AppendXmlText(key, adVariant, 0, value);  // one text form for every numeric kind
    key.push_back('\x1F');
    return true;
}

}  // namespace ado::persist
