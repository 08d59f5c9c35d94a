#include "ado/providers/sqlite/sqlite_errors.h"

#include <cctype>
#include <string>

#include "ado/error_numbers.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "ado/providers/sqlite/dialect/dialect_errors.h"

namespace ado::sqlite {

namespace {

// An engine message that names a more precise condition by its beginning.
struct MessageRow {
    std::string_view prefix;
    Condition condition;
    std::string_view names = "campo";  // what the text after the prefix names
};

template <size_t N>
const MessageRow* RowOf(const MessageRow (&rows)[N], std::string_view message) {
    for (const auto& row : rows)
        if (message.starts_with(row.prefix)) return &row;
    return nullptr;
}

// Messages of SQLITE_ERROR.
constexpr MessageRow kMessages[] = {
    {"no such table", Condition::TableNotFound},
    {"no such view", Condition::TableNotFound},
    {"no such column", Condition::MissingParameters},  // Access reads an unknown name as a parameter
    {"near ", Condition::SyntaxError},
    {"incomplete input", Condition::SyntaxError},
    {"unrecognized token", Condition::SyntaxError},
    {"integer overflow", Condition::Overflow},  // SUM beyond Currency's range
};

// A column's own checks name the column after their prefix: its values in their form
// (a number in its range, a date in Access's calendar), a text within its size, a key
// column never Null. A required column's refusal names it too (table.column); a table's
// validation rule (CHECK) its name.
constexpr MessageRow kStorageChecks[] = {
    {"CHECK constraint failed: brezal:", Condition::Overflow},
    {"CHECK constraint failed: brezal-size:", Condition::FieldTooSmall},
    {"CHECK constraint failed: brezal-key:", Condition::NullInKey},
    {"NOT NULL constraint failed: ", Condition::NullInRequiredField},
    {"brezal-key:", Condition::NullInKey},  // an index's rule against Null
    {"CHECK constraint failed: ", Condition::ValidationRule, "regla"},  // the table's own rules, by name
};

// The refusals of a column's or table's own rules: their text says which rule.
bool IsStorageCheck(int code) {
    return code == SQLITE_CONSTRAINT_CHECK || code == SQLITE_CONSTRAINT_NOTNULL || code == SQLITE_CONSTRAINT_TRIGGER;
}

Condition Classify(int code, std::string_view message, StatementKind kind) {
    if (IsStorageCheck(code)) {
        const MessageRow* check = RowOf(kStorageChecks, message);
        return check ? check->condition : Condition::General;
    }
    switch (code) {
        case SQLITE_CONSTRAINT_PRIMARYKEY:
        case SQLITE_CONSTRAINT_UNIQUE:
        case SQLITE_CONSTRAINT_ROWID: return Condition::DuplicateKey;
        case SQLITE_CONSTRAINT_FOREIGNKEY:
            return kind == StatementKind::Delete ? Condition::IntegrityOnDelete : Condition::IntegrityOnChange;
        case SQLITE_INTERRUPT: return Condition::TimeLimit;
        case SQLITE_NOTADB: return Condition::WrongPassword;
        // A write of an open file that cannot open its journal: a folder this user may not write.
        case SQLITE_CANTOPEN: return kind == StatementKind::Other ? Condition::FileNotFound : Condition::PermissionDenied;
        default: break;
    }
    switch (code & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED: return Condition::LockConflict;
        case SQLITE_ERROR:
            if (const MessageRow* row = RowOf(kMessages, message)) return row->condition;
            return Condition::General;
        default: return Condition::General;
    }
}

// A table being made again is named by its own name in what the user reads.
std::string WithoutRemadeSuffix(std::string_view message) {
    std::string out(message);
    for (size_t at; (at = out.find(kRemadeTableSuffix)) != std::string::npos;) out.erase(at, kRemadeTableSuffix.size());
    return out;
}

}  // namespace

StatementKind KindOf(std::string_view sql) {
    size_t i = 0;
    while (i < sql.size() && (std::isspace(static_cast<unsigned char>(sql[i])) || sql[i] == '(')) ++i;
    std::string word;
    while (i < sql.size() && std::isalpha(static_cast<unsigned char>(sql[i])))
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(sql[i++])));
    if (word == "INSERT" || word == "REPLACE") return StatementKind::Insert;
    if (word == "UPDATE") return StatementKind::Update;
    if (word == "DELETE") return StatementKind::Delete;
    return StatementKind::Other;
}

Error EngineError(int extendedCode, std::string_view engineText, StatementKind kind) {
    const std::string cleaned = WithoutRemadeSuffix(engineText);
    const std::string_view engineMessage = cleaned;
    // A function the engine does not have: a VBA function of the application, as Access says.
    constexpr std::string_view kNoFunction = "no such function: ";
    if (engineMessage.rfind(kNoFunction, 0) == 0)
        return Error(err::UndefinedFunction,
                     "Función '" + std::string(engineMessage.substr(kNoFunction.size())) + "' no definida en la expresión.",
                     kEngineSource, {}, extendedCode);
    // A function of the dialect failed: its own error, as the Access engine raises it.
    if ((extendedCode & 0xFF) == SQLITE_ERROR)
        if (const int32_t number = RuntimeErrorNumber(engineMessage))
            return Error(number, std::string(engineMessage), kEngineSource, {}, extendedCode);
    const Condition c = Classify(extendedCode, engineMessage, kind);
    // A column's own check says which column, and nothing of the engine; so does overflow.
    const MessageRow* check = IsStorageCheck(extendedCode) ? RowOf(kStorageChecks, engineMessage) : nullptr;
    if (check || c == Condition::Overflow)
        return MakeError(c,
                         check ? "(" + std::string(check->names) + " " +
                                     std::string(engineMessage.substr(check->prefix.size())) + ")"
                               : "",
                         kEngineSource, {}, extendedCode);
    const std::string detail = "(motor: " + std::string(engineMessage) + ")";
    return MakeError(c, detail, kEngineSource, {}, extendedCode);
}

void ThrowEngineError(sqlite3* db, StatementKind kind) {
    const int code = sqlite3_extended_errcode(db);
    // A file this process may only read: say which.
    if ((code & 0xFF) == SQLITE_READONLY) {
        const char* file = db ? sqlite3_db_filename(db, "main") : nullptr;
        throw MakeError(Condition::ReadOnlyFile, file && *file ? "'" + std::string(file) + "'" : "", kEngineSource, {},
                        code);
    }
    throw EngineError(code, sqlite3_errmsg(db), kind);
}

}  // namespace ado::sqlite
