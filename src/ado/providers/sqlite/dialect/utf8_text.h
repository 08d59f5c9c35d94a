// UTF-8 text as characters, and the letter case of Latin, Greek and Cyrillic letters,
// for the text functions and LIKE. Bytes that are not valid UTF-8 are kept as they are.
#pragma once

#include <string>
#include <string_view>

namespace ado::sqlite::detail {

std::u32string DecodeUtf8(std::string_view s);
std::string EncodeUtf8(std::u32string_view s);

char32_t LowerChar(char32_t c);
char32_t UpperChar(char32_t c);
std::string LowerUtf8(std::string_view s);
std::string UpperUtf8(std::string_view s);

}  // namespace ado::sqlite::detail
