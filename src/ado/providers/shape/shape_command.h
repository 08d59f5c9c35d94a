// The SHAPE command of hierarchical recordsets, taken apart.
//
//   SHAPE {parent sql} [[AS] alias]
//     APPEND ({child sql} [[AS] alias] RELATE parentField TO childField[, ...]) [[AS] chapter][, ...]
//
// A rowset source is provider text in braces (passed on unchanged), TABLE name, or a nested
// SHAPE in parentheses. Names are bare (a letter, then letters, digits, _, # and :) or quoted
// with "", '' or []. COMPUTE, aggregates, CALC, NEW, PARAMETER and reshape names are not
// supported: they fail with 3251 naming the construct and its position; any other text that
// is not a SHAPE command fails with a syntax error naming the position.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ado::shape {

struct Shape;

struct RowSource {
    enum class Kind { Command, Table, Shape };
    Kind kind = Kind::Command;
    std::string text;                    // Command: the provider's text; Table: the table's name
    std::shared_ptr<const Shape> shape;  // Kind::Shape
};

struct RelatePair {
    std::string parent;  // a field of the parent rows
    std::string child;   // the field of the child rows that equals it
};

struct Chapter {
    RowSource child;
    std::string childAlias;
    std::vector<RelatePair> relation;
    std::string name;  // the chapter column's name ("ChapterN" when not given)
};

struct Shape {
    RowSource parent;
    std::string alias;
    std::vector<Chapter> chapters;
};

// True when the text is a SHAPE command (its first word is SHAPE).
bool IsShapeCommand(std::string_view text);

// Parses a whole SHAPE command; fails with ado::Error as told above.
Shape ParseShape(std::string_view text);

}  // namespace ado::shape
