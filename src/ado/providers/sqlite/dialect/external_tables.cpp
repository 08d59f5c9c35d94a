// FROM t IN 'other.mdb' / INSERT INTO t IN 'other.mdb': a table of another database file,
// reached through an attached database whose alias is derived from the path.
#include <algorithm>
#include <cstdint>

#include <fmt/format.h>

#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/translation_passes.h"

namespace ado::sqlite::detail {
namespace {

// FNV-1a: a stable alias for a path, so that every statement names one file alike.
std::string AliasFor(std::string_view path) {
    uint32_t h = 2166136261u;
    for (char c : path) {
        h ^= static_cast<unsigned char>(c);
        h *= 16777619u;
    }
    return fmt::format("ext_{:08x}", h);
}

bool IsTableName(const Token& tok) {
    return tok.kind == TokenKind::Name || (tok.kind == TokenKind::Word && !IsReservedWord(tok.text));
}

// The words after which a table name stands.
bool IsTablePosition(const Token& tok) {
    for (std::string_view w : {"FROM", "JOIN", "INTO", "UPDATE"})
        if (IsWord(tok, w)) return true;
    return IsPunct(tok, ",") || IsPunct(tok, "(");
}

}  // namespace

void QualifyExternalTables(Tokens& t, Translation& out) {
    for (size_t i = 0; i < t.size(); ++i) {
        if (!IsWord(t[i], "IN")) continue;
        const size_t file = NextSignificant(t, i);
        const size_t table = PrevSignificant(t, i);
        if (file == t.size() || t[file].kind != TokenKind::String || table == npos || !IsTableName(t[table]))
            continue;
        const size_t before = PrevSignificant(t, table);
        if (before != npos && IsPunct(t[before], "."))
            ThrowSyntaxError("una tabla con IN 'archivo' no puede llevar otro prefijo.");
        if (before == npos || !IsTablePosition(t[before])) continue;
        const size_t after = NextSignificant(t, file);
        if (t[file].value.empty() || (after < t.size() && (t[after].kind == TokenKind::String || t[after].kind == TokenKind::Name)))
            ThrowNotSupported("IN con un origen de datos externo que no es un archivo de base de datos.");

        const AttachedFile attached{AliasFor(t[file].value), t[file].value};
        if (std::find(out.attachments.begin(), out.attachments.end(), attached) == out.attachments.end())
            out.attachments.push_back(attached);
        const std::string tableText = t[table].kind == TokenKind::Name ? t[table].text : QuoteName(t[table].value);
        t[table].kind = TokenKind::Name;
        t[table].text = QuoteName(attached.alias) + "." + tableText;
        t.erase(t.begin() + static_cast<std::ptrdiff_t>(table + 1), t.begin() + static_cast<std::ptrdiff_t>(file + 1));
        i = table;
    }
}

}  // namespace ado::sqlite::detail
