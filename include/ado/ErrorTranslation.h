// An error's description in the user's language. The description starts with the fixed text
// of its condition, in Spanish, which the catalogues translate (their message ids are the
// Spanish texts); what a provider added after it (the engine's words, a name) stays as it came.
// A plain function: it owns nothing, throws only what `translate` throws, and may be called from
// any thread from which `translate` may.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace ado {

// `translate` looks a Spanish text up in the catalogue and gives it back when it has none.
std::string TranslateDescription(std::string_view description,
                                 const std::function<std::string(const std::string&)>& translate);

}  // namespace ado
