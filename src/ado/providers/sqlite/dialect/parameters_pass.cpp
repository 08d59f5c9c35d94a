// PARAMETERS name type [, name type ...]; at the head of a statement.
#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/translation_passes.h"

namespace ado::sqlite::detail {
namespace {

std::string Trimmed(std::string s) {
    const size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

}  // namespace

void TakeParameterDeclaration(Tokens& t, Translation& out) {
    const size_t head = FirstSignificant(t, 0, t.size());
    if (head == t.size() || !IsWord(t[head], "PARAMETERS")) return;

    size_t i = NextSignificant(t, head);
    while (true) {
        if (i == t.size() || (t[i].kind != TokenKind::Word && t[i].kind != TokenKind::Name))
            ThrowSyntaxError("declaración PARAMETERS no válida.");
        DeclaredParameter p;
        p.name = t[i].kind == TokenKind::Name ? t[i].original : t[i].value;
        int depth = 0;
        size_t j = i + 1;
        for (; j < t.size(); ++j) {
            if (IsPunct(t[j], "(")) ++depth;
            if (IsPunct(t[j], ")")) --depth;
            if (depth == 0 && (IsPunct(t[j], ",") || IsPunct(t[j], ";"))) break;
            p.type += t[j].original;
        }
        if (j == t.size()) ThrowSyntaxError("falta el punto y coma al final de la declaración PARAMETERS.");
        p.type = Trimmed(std::move(p.type));
        if (p.type.empty()) ThrowSyntaxError("falta el tipo de un parámetro en la declaración PARAMETERS.");
        out.parameters.push_back(std::move(p));
        if (IsPunct(t[j], ";")) {
            size_t end = j + 1;
            while (end < t.size() && t[end].kind == TokenKind::Space) ++end;
            t.erase(t.begin() + static_cast<std::ptrdiff_t>(head), t.begin() + static_cast<std::ptrdiff_t>(end));
            return;
        }
        i = NextSignificant(t, j);
    }
}

}  // namespace ado::sqlite::detail
