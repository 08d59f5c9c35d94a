// Classifies what the embedded engine reports into the library's conditions.
#pragma once

#include <string_view>

#include <sqlcipher/sqlite3.h>

#include "ado/Error.h"

namespace ado::sqlite {

// The Source of every error the embedded engine reports, as the Access engine names itself.
inline constexpr const char* kEngineSource = "Microsoft JET Database Engine";

enum class StatementKind { Other, Insert, Update, Delete };

StatementKind KindOf(std::string_view sql);

// The ado::Error for an engine result code, with the engine's own message as detail.
Error EngineError(int extendedCode, std::string_view engineMessage, StatementKind kind = StatementKind::Other);
[[noreturn]] void ThrowEngineError(sqlite3* db, StatementKind kind = StatementKind::Other);

}  // namespace ado::sqlite
