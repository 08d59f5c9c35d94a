// Access LIKE patterns: * or % any run of characters, ? or _ one character, # one digit,
// [abc], [a-z] and [!a-z] character lists, [] nothing. Letters compare without regard to
// case (Latin letters with accents included); an escape character, when given, makes the
// next pattern character literal.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace ado::sqlite::detail {

class AccessPattern {
public:
    // A list without its closing ']' fails with ado::Error 93 (invalid pattern string).
    AccessPattern(std::string_view pattern, std::optional<char32_t> escape = std::nullopt);
    bool Matches(std::string_view text) const;

private:
    struct Span {
        char32_t low, high;
    };
    struct Element {
        enum Kind { AnyRun, AnyOne, Digit, Literal, List } kind;
        char32_t literal = 0;       // lower case
        bool negated = false;
        std::vector<Span> spans;
    };
    bool MatchesOne(const Element& e, char32_t c) const;

    std::vector<Element> elements_;
};

}  // namespace ado::sqlite::detail
