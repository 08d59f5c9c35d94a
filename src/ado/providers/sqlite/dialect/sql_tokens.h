// Tokens of an Access SQL statement. The tokenizer already knows the context-free forms:
// strings in apostrophes or double quotes, [names] and `names`, #dates# with their serial.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ado::sqlite::detail {

enum class TokenKind {
    Space,
    Comment,
    Word,         // identifier or keyword, as written
    Name,         // a quoted identifier ([x], `x`)
    String,       // a text literal
    Date,         // a #date# literal; `serial` holds its value
    Number,
    Blob,         // X'00FF'
    Placeholder,  // ?, ?NNN, :name, @name, $name
    Punct,        // operators and ( ) , ; .
    Raw,          // text produced by a pass
};

struct Token {
    TokenKind kind;
    std::string text;      // what is written to the output
    std::string value;     // decoded content: a literal's text, a name without quotes
    std::string original;  // the text as written in the statement
    size_t offset = 0;     // where it starts in the statement
    double serial = 0;     // a Date token's value (days since 1899-12-30)
};

using Tokens = std::vector<Token>;

// Splits the statement; unterminated literals, names, dates or comments throw
// err::SyntaxError, a #date# that is no date as well.
// With `engineText`, the text is the engine's own (a schema's CREATE statement): "x" is a name.
Tokens Tokenize(std::string_view sql, bool engineText = false);

bool EqualsNoCase(std::string_view a, std::string_view b);
std::string ToUpperAscii(std::string_view s);
std::string QuoteName(std::string_view name);     // `na``me`
std::string QuoteString(std::string_view value);  // 'it''s'

inline bool IsSignificant(const Token& t) { return t.kind != TokenKind::Space && t.kind != TokenKind::Comment; }
inline bool IsPunct(const Token& t, std::string_view p) { return t.kind == TokenKind::Punct && t.text == p; }
inline bool IsWord(const Token& t, std::string_view upperWord) {
    return t.kind == TokenKind::Word && EqualsNoCase(t.text, upperWord);
}
// A keyword of SQLite or Access: such a Word is never a column or table name.
bool IsReservedWord(std::string_view word);

}  // namespace ado::sqlite::detail
