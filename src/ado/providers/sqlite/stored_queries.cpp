#include "ado/providers/sqlite/stored_queries.h"

#include <cctype>

#include "ado/error_numbers.h"
#include "ado/providers/sqlite/engine_statement.h"
#include "ado/providers/sqlite/row_writer.h"
#include "ado/providers/sqlite/sqlite_errors.h"

namespace ado::sqlite {

namespace {

constexpr const char* kTable = "MSysConsultas";

// A small reader over the definition's leading words; the body is kept as written.
struct Reader {
    std::string_view text;
    size_t pos = 0;

    void SkipSpace() {
        while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
    }
    bool Word(std::string_view w) {
        SkipSpace();
        if (text.size() - pos < w.size()) return false;
        for (size_t i = 0; i < w.size(); ++i)
            if (std::toupper(static_cast<unsigned char>(text[pos + i])) != w[i]) return false;
        const size_t end = pos + w.size();
        if (end < text.size() && (std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '_')) return false;
        pos = end;
        return true;
    }
    // A name, bare or in [brackets]; brackets are removed.
    std::string Name() {
        SkipSpace();
        if (pos < text.size() && text[pos] == '[') {
            const size_t close = text.find(']', pos);
            if (close == std::string_view::npos) Raise(Condition::SyntaxError, "(falta ']')");
            std::string n(text.substr(pos + 1, close - pos - 1));
            pos = close + 1;
            return n;
        }
        const size_t start = pos;
        while (pos < text.size() && (std::isalnum(static_cast<unsigned char>(text[pos])) || text[pos] == '_' ||
                                     static_cast<unsigned char>(text[pos]) >= 0x80))
            ++pos;
        if (start == pos) Raise(Condition::SyntaxError, "(falta el nombre de la consulta)");
        return std::string(text.substr(start, pos - start));
    }
    // The text inside a balanced pair of parentheses starting here, if any.
    std::optional<std::string> Parenthesised() {
        SkipSpace();
        if (pos >= text.size() || text[pos] != '(') return std::nullopt;
        int depth = 0;
        const size_t start = pos;
        for (; pos < text.size(); ++pos) {
            if (text[pos] == '(') ++depth;
            if (text[pos] == ')' && --depth == 0) {
                ++pos;
                return std::string(text.substr(start + 1, pos - start - 2));
            }
        }
        Raise(Condition::SyntaxError, "(paréntesis sin cerrar)");
    }
    std::string_view Rest() {
        SkipSpace();
        std::string_view r = text.substr(pos);
        while (!r.empty() && (r.back() == ';' || std::isspace(static_cast<unsigned char>(r.back())))) r.remove_suffix(1);
        return r;
    }
};

void EnsureTable(sqlite3* db) {
    RunOwn(db, std::string("CREATE TABLE IF NOT EXISTS ") + kTable +
                   " (Nombre TEXT PRIMARY KEY COLLATE NOCASE, Tipo TEXT NOT NULL, Texto TEXT NOT NULL)");
}

bool TableExists(sqlite3* db) {
    return QueryText(db, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1", {kTable}).has_value();
}

// The leading words of a query definition: CREATE or DROP, then VIEW or PROCEDURE.
struct DefinitionHead {
    bool create = false;
    bool view = false;
};

std::optional<DefinitionHead> ReadHead(Reader& r) {
    DefinitionHead head;
    head.create = r.Word("CREATE");
    if (!head.create && !(r.pos = 0, r.Word("DROP"))) return std::nullopt;
    const size_t afterVerb = r.pos;
    head.view = r.Word("VIEW");
    if (!head.view && !(r.pos = afterVerb, r.Word("PROCEDURE")) && !(r.pos = afterVerb, r.Word("PROC")))
        return std::nullopt;
    return head;
}

}  // namespace

bool IsQueryDefinition(std::string_view text) {
    Reader r{text};
    return ReadHead(r).has_value();
}

std::optional<int64_t> DefineStoredQuery(sqlite3* db, std::string_view text,
                                         const std::function<std::string(std::string_view)>& translate) {
    Reader r{text};
    const std::optional<DefinitionHead> head = ReadHead(r);
    if (!head) return std::nullopt;
    const bool create = head->create;
    const bool view = head->view;
    const std::string name = r.Name();

    if (!create) {
        if (!FindStoredQuery(db, name)) Raise(Condition::ItemNotFound, "'" + name + "'");
        RunOwn(db, std::string("DELETE FROM ") + kTable + " WHERE Nombre = ?1", {name});
        if (view) RunOwn(db, "DROP VIEW IF EXISTS " + QuoteIdentifier(name));
        return 0;
    }
    const std::optional<std::string> declared = view ? std::nullopt : r.Parenthesised();
    if (!r.Word("AS")) Raise(Condition::SyntaxError, "(falta AS en la definición de la consulta)");
    std::string body(r.Rest());
    if (body.empty()) Raise(Condition::SyntaxError, "(la consulta está vacía)");
    // Parameters given in parentheses are kept as the query's PARAMETERS declaration.
    if (declared && !declared->empty()) body = "PARAMETERS " + *declared + "; " + body;
    if (FindStoredQuery(db, name)) Raise(Condition::IllegalOperation, "(ya existe la consulta '" + name + "')");
    EnsureTable(db);
    if (view) RunOwn(db, "CREATE VIEW " + QuoteIdentifier(name) + " AS " + translate(body));
    RunOwn(db, std::string("INSERT INTO ") + kTable + " (Nombre, Tipo, Texto) VALUES (?1, ?2, ?3)",
           {name, view ? "VIEW" : "PROCEDURE", body});
    return 0;
}

std::vector<std::pair<std::string, std::string>> StoredViews(sqlite3* db) {
    std::vector<std::pair<std::string, std::string>> views;
    if (!TableExists(db)) return views;
    EngineStatement s(db, std::string("SELECT Nombre, Texto FROM ") + kTable + " WHERE Tipo = 'VIEW' ORDER BY rowid");
    while (s.Step())
        views.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 0)),
                           reinterpret_cast<const char*>(sqlite3_column_text(s.get(), 1)));
    return views;
}

std::optional<std::string> FindStoredQuery(sqlite3* db, std::string_view name) {
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']') name = name.substr(1, name.size() - 2);
    if (!TableExists(db)) return std::nullopt;
    return QueryText(db, std::string("SELECT Texto FROM ") + kTable + " WHERE Nombre = ?1", {name});
}

}  // namespace ado::sqlite
