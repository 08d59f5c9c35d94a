// Access LIKE patterns: * or % any run of characters, ? or _ one character, # one digit,
// [abc], [a-z] and [!a-z] character lists, [] nothing. Letters of every script compare
// without regard to case (ICU's case folding, with the Turkish i under a Turkish language);
// an escape character, when given, makes the next pattern character literal.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "ado/text/letter_case.h"

namespace ado::sqlite::detail {

class AccessPattern {
public:
    // A list without its closing ']' fails with ado::Error 93 (invalid pattern string).
    // `language` gives the case rules (the language of the file's collation).
    AccessPattern(std::string_view pattern, std::optional<char32_t> escape, std::string_view language);
    bool Matches(std::string_view text) const;

private:
    struct Span {
        char32_t low, high;
    };
    struct Element {
        enum Kind { AnyRun, AnyOne, Digit, Literal, List } kind;
        char32_t literal = 0;       // case folded
        bool negated = false;
        std::vector<Span> spans;
    };
    bool MatchesOne(const Element& e, char32_t c) const;

    text::CaseFolding folding_;
    std::vector<Element> elements_;
};

}  // namespace ado::sqlite::detail
