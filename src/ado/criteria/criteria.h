// Criteria of Find and Filter, and the order of Sort, as ADO writes them.
//
// A clause is `Field op Value`: the field a name or a [bracketed name]; op one of = < > <= >=
// <> LIKE (any letter case); the value a text in apostrophes (an apostrophe doubled inside), a
// date or text in #...# marks, a number (a decimal point, an optional $ and sign, scientific
// notation), or Null after = or <>. LIKE takes a text with * or % as its last character, or
// as its first and last ones, or none at all.
//
// Find takes one clause and nothing after it. Filter takes clauses joined by AND and OR;
// AND binds first, and parentheses may group clauses joined by AND, or enclose a whole
// OR list that nothing joins by AND: "(A OR B) AND C" is refused, write "(A AND C) OR (B AND C)".
//
// Sort is "A [ASC|DESC], [B C] [ASCENDING|DESCENDING], ..."; ascending when no word follows.
//
// Every refusal is ado::Error 3001 (InvalidArgument) naming what is wrong.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ado/Variant.h"

namespace ado::criteria {

enum class Op { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual, Like };

// What a LIKE pattern asks of a text: the whole text, its start, or any part of it.
enum class LikeForm { Whole, Prefix, Contains };

struct Clause {
    std::string field;
    Op op = Op::Equal;
    Variant value;             // Null for "= Null" / "<> Null"
    LikeForm like = LikeForm::Whole;
    std::string likeText;      // the pattern without its wildcards
};

// Alternatives (joined by OR), each a list of clauses that must all hold (joined by AND).
struct Criteria {
    std::vector<std::vector<Clause>> anyOf;
};

struct SortKey {
    std::string field;
    bool descending = false;
};

Clause ParseFind(std::string_view text);
Criteria ParseFilter(std::string_view text);
// "" gives no keys.
std::vector<SortKey> ParseSort(std::string_view text);

}  // namespace ado::criteria
