#include "ado/providers/sqlite/dialect/external_source.h"

#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/sql_tokens.h"

namespace ado::sqlite::detail {

namespace {

constexpr std::string_view kNotADatabase = "IN con un origen de datos externo que no es un archivo de base de datos.";

std::string_view Trimmed(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The source type before the first ';': empty, or "MS Access", for an Access database.
bool IsAccessType(std::string_view type) {
    type = Trimmed(type);
    return type.empty() || EqualsNoCase(type, "MS Access");
}

}  // namespace

bool IsConnectString(std::string_view text) { return text.find(';') != std::string_view::npos; }

std::string ConnectStringDatabase(std::string_view connect) {
    const size_t semicolon = connect.find(';');
    if (semicolon == std::string_view::npos || !IsAccessType(connect.substr(0, semicolon)))
        ThrowNotSupported(kNotADatabase);
    // key=value pairs after the type; the database is the value of DATABASE.
    for (size_t at = semicolon + 1; at < connect.size();) {
        const size_t end = std::min(connect.find(';', at), connect.size());
        const std::string_view pair = connect.substr(at, end - at);
        const size_t equals = pair.find('=');
        if (equals != std::string_view::npos && EqualsNoCase(Trimmed(pair.substr(0, equals)), "DATABASE")) {
            const std::string_view path = Trimmed(pair.substr(equals + 1));
            if (!path.empty()) return std::string(path);
        }
        at = end + 1;
    }
    ThrowNotSupported(kNotADatabase);
}

std::string InClauseDatabase(std::string_view path, std::optional<std::string_view> connectOrType) {
    if (!connectOrType) {
        if (path.empty()) ThrowNotSupported(kNotADatabase);
        return std::string(path);
    }
    if (path.empty()) return ConnectStringDatabase(*connectOrType);
    // IN 'file' 'type;': the type of an Access database only.
    const std::string_view type = *connectOrType;
    const size_t semicolon = type.find(';');
    if (!IsAccessType(type.substr(0, semicolon))) ThrowNotSupported(kNotADatabase);
    return std::string(path);
}

}  // namespace ado::sqlite::detail
