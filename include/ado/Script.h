// Scripts of Access SQL: the statements of a text that holds several, for tools that run them
// one at a time (a connection runs one statement per call).
//
// Functions of text only: any thread, no state. They do not fail on bad SQL (the engine
// does, statement by statement).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ado {

struct ScriptStatement {
    std::string text;  // the statement, without its ';'
    size_t line;       // where it starts: line and column, from 1
    size_t column;
};

// Splits at the ';' that end statements: quotes, brackets, comments and a trigger's body are
// respected, and a PARAMETERS declaration stays with the statement it declares for. Empty
// statements are left out. An unterminated quote or comment fails with a syntax error.
std::vector<ScriptStatement> SplitScript(std::string_view script);

}  // namespace ado
