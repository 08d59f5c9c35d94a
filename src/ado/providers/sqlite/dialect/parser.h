// Reads one Access SQL statement into a syntax tree. Statements are read by recursive
// descent (nested SELECTs at most kMaxSelectDepth deep); expressions by an operator-precedence
// machine with explicit stacks, so a megabyte of nested calls or & chains reads in linear time
// without deep recursion. What follows the statement may only be ';', spaces and comments.
#pragma once

#include <string_view>

#include "ado/providers/sqlite/dialect/sql_tokens.h"
#include "ado/providers/sqlite/dialect/syntax_tree.h"

namespace ado::sqlite::detail {

inline constexpr int kMaxSelectDepth = 64;

// Statements the parser passes through without reading them (PRAGMA, CREATE TRIGGER, ...)
// keep their tokens: [begin, end) of the token list.
struct ParsedStatement {
    Tree tree;
    size_t passthroughBegin = 0, passthroughEnd = 0;
};

// Throws err::SyntaxError for malformed text and 3142 for text after the statement's end.
ParsedStatement ParseStatement(const Tokens& tokens);

// The statements of a script, each as its own text (quotes, brackets and comments respected;
// a CREATE TRIGGER's body stays whole). Empty statements are left out.
struct ScriptStatement {
    std::string text;
    size_t offset;  // where it starts in the script
};
std::vector<ScriptStatement> SplitScript(std::string_view script);

namespace parsing {

// The operator-precedence levels of Access (VBA) expressions, lowest first.
enum Precedence : uint8_t {
    kImp = 1, kEqv, kXor, kOr, kAnd, kNot, kCompare, kBits, kConcat, kAdditive, kMod, kIntDiv, kMultiplicative,
    kPrefix, kPower, kPipe,
};

}  // namespace parsing

}  // namespace ado::sqlite::detail
