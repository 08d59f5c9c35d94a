// The text of an engine value, as the library reads cells and function arguments.
#pragma once

#include <new>
#include <string_view>

#include <sqlcipher/sqlite3.h>

namespace ado::sqlite {

// The text bytes of a value that is not Null. The engine answers with no text only when it
// ran out of memory converting the value: a failure, never an empty text.
inline std::string_view ValueText(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    if (!p) throw std::bad_alloc();
    return {p, static_cast<size_t>(sqlite3_value_bytes(v))};
}

}  // namespace ado::sqlite
