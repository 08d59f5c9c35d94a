// The parser's shared state: a cursor over the significant tokens and the tree being built.
// Split over parse_statement.cpp (queries and changes), parse_definition.cpp (CREATE, ALTER,
// DROP) and parse_expression.cpp (expressions).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ado/providers/sqlite/dialect/parser.h"

namespace ado::sqlite::detail {

class ParserState {
public:
    explicit ParserState(const Tokens& tokens);

    // --- the cursor ---
    bool AtEnd() const { return pos_ >= significant_.size(); }
    const Token& Peek(size_t ahead = 0) const;
    size_t TokenIndex() const { return AtEnd() ? tokens_->size() : significant_[pos_]; }
    size_t Offset() const;
    void Advance() { ++pos_; }
    bool AtWord(std::string_view upper, size_t ahead = 0) const;
    bool AtPunct(std::string_view p, size_t ahead = 0) const;
    bool AcceptWord(std::string_view upper);
    bool AcceptPunct(std::string_view p);
    void ExpectWord(std::string_view upper);
    void ExpectPunct(std::string_view p);
    // A name: [bracketed], `quoted`, or a word that is not a keyword. Its text, unquoted.
    bool AtName(size_t ahead = 0) const;
    std::string ExpectName(const char* what);
    // A name after AS, which may also be a keyword or a text in quotes ('alias').
    std::string ExpectAlias();
    [[noreturn]] void Fail(std::string_view what) const;

    // --- the tree ---
    Tree& tree() { return tree_; }
    ExprId AddExpr(Expr e, const std::vector<ExprId>& children = {});
    ExprId AddStar(SelectId scope);  // a * of the select, at the current token
    SelectId AddSelect(SelectId outer);
    SourceId AddSource(Source s);

    // --- statements (parse_statement.cpp) ---
    void ParseTop();
    // A query given as text inside the statement (a domain aggregate's), read into the same
    // tree as a subquery of `outer`.
    SelectId ParseEmbeddedQuery(const std::string& text, SelectId outer);
    // [WITH ...] select [compound] [ORDER BY] [LIMIT]; `with` when the caller read it already.
    SelectId ParseQuery(SelectId outer, std::vector<CommonTable> with = {});
    void ParsePassthrough(size_t firstToken);

    // --- definitions (parse_definition.cpp) ---
    bool ParseDefinition();  // false when the statement is none it reads
    ColumnDefinition ParseColumnDefinition(SelectId scope);
    bool ParseTableConstraint(TableConstraint& tc, SelectId scope);  // false, reading nothing, when none starts here
    bool ParseAlterTable();  // after ALTER TABLE; false for a form it does not read

    // --- expressions (parse_expression.cpp) ---
    // `stopAtIn`: an IN after the expression is not its operator (PIVOT x IN (...)).
    ExprId ParseExpression(SelectId scope, bool stopAtIn = false);
    // The text of a type name with its arguments: "TEXT(50)", "DECIMAL (10, 2)".
    std::string ParseTypeName();

    size_t passthroughBegin = 0, passthroughEnd = 0;

private:
    void ParseParametersDeclaration();
    std::vector<CommonTable> ParseWith(SelectId outer);
    SelectId ParseSelectCore(SelectId outer, bool member);
    void ParseTop(Select& s);
    SourceId ParseFrom(SelectId scope);
    SourceId ParseJoinedSources(SelectId scope);
    SourceId ParseSourcePrimary(SelectId scope);
    void ParseTableTail(Source& s);
    TableName ParseTableName(bool allowAlias);
    // IN 'file' after a table name (or after an INSERT's column list, as Access also writes it).
    void ParseExternalFile(TableName& t);
    void ParseInsert();
    void ParseUpdate();
    void ParseDelete();
    void ParseTransform();
    void ParseOrderBy(SelectId id);
    // INSERT, UPDATE or DELETE at the cursor; false when it is none of them.
    bool ParseChange();
    void ParseSelectStatement();
    SelectId AddScope(SelectId outer, SourceId from);

    const Tokens* tokens_;
    std::vector<std::unique_ptr<Tokens>> embedded_;  // texts parsed inside the statement (domain aggregates)
    std::vector<size_t> significant_;
    size_t pos_ = 0;
    Tree tree_;
    int selectDepth_ = 0;
    friend class ExpressionReader;
};

// Names of the declared parameters, as the parser matches them (no brackets).
std::string BareParameterName(const DeclaredParameter& p);

}  // namespace ado::sqlite::detail
