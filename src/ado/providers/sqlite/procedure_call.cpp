#include "ado/providers/sqlite/procedure_call.h"

#include <charconv>
#include <limits>

#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/sql_tokens.h"

namespace ado::sqlite {

namespace {

using detail::Token;
using detail::TokenKind;

// A number as written, with its sign: a Long when it is a whole number that fits, else a Double.
Variant NumberValue(const std::string& text, bool negative) {
    const std::string signedText = negative ? "-" + text : text;
    if (text.find_first_of(".eExX") == std::string::npos) {
        int64_t whole = 0;
        const auto [end, ec] = std::from_chars(signedText.data(), signedText.data() + signedText.size(), whole);
        if (ec == std::errc() && end == signedText.data() + signedText.size() &&
            whole >= std::numeric_limits<int32_t>::min() && whole <= std::numeric_limits<int32_t>::max())
            return Variant(static_cast<int32_t>(whole));
    }
    double real = 0;
    const auto [end, ec] = std::from_chars(signedText.data(), signedText.data() + signedText.size(), real);
    if (ec != std::errc() || end != signedText.data() + signedText.size())
        ThrowSyntaxError("valor no válido para un parámetro de EXECUTE: " + signedText + ".");
    return Variant(real);
}

// One literal at tokens[i] (i moves past it).
Variant ReadValue(const std::vector<const Token*>& tokens, size_t& i) {
    bool negative = false;
    if (detail::IsPunct(*tokens[i], "-") || detail::IsPunct(*tokens[i], "+")) {
        negative = tokens[i]->text == "-";
        if (++i == tokens.size() || tokens[i]->kind != TokenKind::Number)
            ThrowSyntaxError("falta un número en los parámetros de EXECUTE.");
    }
    const Token& t = *tokens[i++];
    switch (t.kind) {
        case TokenKind::Number: return NumberValue(t.text, negative);
        case TokenKind::String: return Variant(t.value);
        case TokenKind::Date: return Variant(Date{t.serial});
        case TokenKind::Word:
            if (detail::IsWord(t, "NULL")) return Variant(Variant::Null);
            if (detail::IsWord(t, "TRUE") || detail::IsWord(t, "YES")) return Variant(true);
            if (detail::IsWord(t, "FALSE") || detail::IsWord(t, "NO")) return Variant(false);
            break;
        default: break;
    }
    ThrowSyntaxError("los parámetros de EXECUTE son valores: '" + t.original + "' no lo es.");
}

}  // namespace

std::optional<ProcedureCall> ReadProcedureCall(std::string_view text) {
    // Cheap refusal first: most statements are no call.
    size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos || text.size() - start < 7 ||
        !detail::EqualsNoCase(text.substr(start, 7), "EXECUTE"))
        return std::nullopt;
    const detail::Tokens all = detail::Tokenize(text);
    std::vector<const Token*> tokens;
    for (const Token& t : all)
        if (detail::IsSignificant(t)) tokens.push_back(&t);
    if (tokens.empty() || !detail::IsWord(*tokens.front(), "EXECUTE")) return std::nullopt;
    if (!tokens.empty() && detail::IsPunct(*tokens.back(), ";")) tokens.pop_back();
    if (tokens.size() < 2 || (tokens[1]->kind != TokenKind::Word && tokens[1]->kind != TokenKind::Name))
        ThrowSyntaxError("falta el nombre de la consulta después de EXECUTE.");
    ProcedureCall call{tokens[1]->value, {}};
    for (size_t i = 2; i < tokens.size();) {
        call.values.push_back(ReadValue(tokens, i));
        if (i < tokens.size() && !detail::IsPunct(*tokens[i++], ","))
            ThrowSyntaxError("los parámetros de EXECUTE se separan con comas.");
        if (i == tokens.size() && detail::IsPunct(*tokens[i - 1], ","))
            ThrowSyntaxError("falta un valor después de la última coma de EXECUTE.");
    }
    return call;
}

}  // namespace ado::sqlite
