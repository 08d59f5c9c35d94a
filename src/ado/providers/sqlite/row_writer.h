#pragma once

#include <string>
#include <string_view>

namespace ado::sqlite {

// An identifier in the engine's double quotes.
std::string QuoteIdentifier(std::string_view name);

}  // namespace ado::sqlite
