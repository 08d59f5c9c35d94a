// Letter case of UTF-8 text through ICU, for all of Unicode: Greek (with its final sigma),
// Cyrillic, German "ß" as "SS" in upper case, and the dotted and dotless i of Turkish and
// Azeri only under those languages. Bytes that are not UTF-8 are kept as they are.
//
// `language` is a language or locale name as Collator takes it (the regional settings'
// language); the mappings differ only for a few languages (tr, az, lt, el, nl).
#pragma once

#include <string>
#include <string_view>

namespace ado::text {

std::string Upper(std::string_view text, std::string_view language);
std::string Lower(std::string_view text, std::string_view language);
// The first character of each word in title case and the rest in lower case, as VBA's
// proper case: words are separated by spaces, tabs, line and form feeds, carriage returns
// and NUL.
std::string ProperCase(std::string_view text, std::string_view language);

// Case-insensitive matching one character at a time (so that positions keep): the simple
// case folding of a code point, with the Turkish i rules when `turkic`.
class CaseFolding {
public:
    explicit CaseFolding(std::string_view language);
    char32_t Fold(char32_t c) const;

private:
    bool turkic_;
};

// The simple (one character) upper and lower case of a code point.
char32_t SimpleUpper(char32_t c);
char32_t SimpleLower(char32_t c);

}  // namespace ado::text
