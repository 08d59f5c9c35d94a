// The text form of a GUID as Access shows and this library stores it: braces around
// 8-4-4-4-12 hexadecimal digits, in upper case.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ado::text {

// `text` as a GUID in the stored form: with or without its braces, digits in either case;
// nullopt when it is no GUID.
std::optional<std::string> CanonicalGuid(std::string_view text);

}  // namespace ado::text
