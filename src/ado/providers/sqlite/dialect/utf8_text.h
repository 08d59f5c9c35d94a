// UTF-8 text as characters, for the text functions and LIKE. Bytes that are not valid
// UTF-8 are kept as they are. Letter case is ICU's (ado/text/letter_case.h).
#pragma once

#include <string>
#include <string_view>

namespace ado::sqlite::detail {

std::u32string DecodeUtf8(std::string_view s);
std::string EncodeUtf8(std::u32string_view s);

}  // namespace ado::sqlite::detail
