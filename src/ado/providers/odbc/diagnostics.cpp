#include "ado/providers/odbc/diagnostics.h"

#include <cctype>

namespace ado::odbc {

std::vector<DiagRecord> ReadDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle) {
    std::vector<DiagRecord> records;
    for (SQLSMALLINT i = 1;; ++i) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        WString message(512, 0);
        SQLRETURN rc = SQLGetDiagRecW(handleType, handle, i, state, &native, message.data(),
                                      static_cast<SQLSMALLINT>(message.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
            message.assign(static_cast<size_t>(length) + 1, 0);
            rc = SQLGetDiagRecW(handleType, handle, i, state, &native, message.data(),
                                static_cast<SQLSMALLINT>(message.size()), &length);
        }
        if (!Succeeded(rc)) break;
        DiagRecord r;
        r.sqlState = ToUtf8(state, 5);
        r.nativeError = native;
        r.message = ToUtf8(message.data(), std::min<size_t>(static_cast<size_t>(length), message.size()));
        while (!r.message.empty() && (r.message.back() == '\n' || r.message.back() == ';' || r.message.back() == ' '))
            r.message.pop_back();
        records.push_back(std::move(r));
    }
    return records;
}

Operation OperationOf(std::string_view sql) {
    size_t i = 0;
    while (i < sql.size() && (std::isspace(static_cast<unsigned char>(sql[i])) || sql[i] == '(')) ++i;
    std::string word;
    while (i < sql.size() && std::isalpha(static_cast<unsigned char>(sql[i])))
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(sql[i++])));
    if (word == "INSERT") return Operation::Insert;
    if (word == "UPDATE") return Operation::Update;
    if (word == "DELETE") return Operation::Delete;
    return Operation::Other;
}

namespace {

// SQLSTATEs by prefix, most precise first. A native number narrows the generic states that
// SQL Server reports for several conditions (23000, 40001, HY000).
struct StateRow {
    std::string_view state;  // a prefix: "42" is the whole class
    int32_t native;          // 0 = any
    Condition condition;
};
constexpr Condition kForeignKey = Condition::IntegrityOnChange;  // refined by the operation
constexpr StateRow kStates[] = {
    {"23505", 0, Condition::DuplicateKey},        // PostgreSQL unique_violation
    {"23503", 0, kForeignKey},                    // PostgreSQL foreign_key_violation
    {"23000", 2627, Condition::DuplicateKey},     // SQL Server: primary key or unique constraint
    {"23000", 2601, Condition::DuplicateKey},     // SQL Server: unique index
    {"23000", 547, kForeignKey},                  // SQL Server: reference constraint
    {"40001", 0, Condition::LockConflict},        // deadlock victim, serialization failure
    {"40P01", 0, Condition::LockConflict},        // PostgreSQL deadlock_detected
    {"55P03", 0, Condition::LockConflict},        // PostgreSQL lock_not_available
    {"HY000", 1222, Condition::LockConflict},     // SQL Server lock request time out
    {"57014", 0, Condition::TimeLimit},           // PostgreSQL query_canceled (statement timeout)
    {"HYT00", 0, Condition::TimeLimit},           // timeout expired
    {"HY008", 0, Condition::TimeLimit},           // operation cancelled
    {"42P01", 0, Condition::TableNotFound},       // PostgreSQL undefined_table
    {"42S02", 0, Condition::TableNotFound},       // base table or view not found
    {"07002", 0, Condition::MissingParameters},   // COUNT field incorrect
    {"42", 0, Condition::SyntaxError},            // syntax error or access rule violation
    {"28", 0, Condition::WrongPassword},          // invalid authorization
    {"08", 0, Condition::General},                // connection failures, with the driver's text
};

// Texts of a foreign-key failure raised on the referenced side (another table has related rows).
constexpr std::string_view kReferencedSide[] = {
    "update or delete on table",                   // PostgreSQL
    "conflicted with the REFERENCE constraint",    // SQL Server
};

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

Condition ForeignKey(const DiagRecord& r, Operation op) {
    if (op == Operation::Delete) return Condition::IntegrityOnDelete;
    if (op == Operation::Insert) return Condition::IntegrityOnChange;
    for (auto marker : kReferencedSide)
        if (r.message.find(marker) != std::string::npos) return Condition::IntegrityOnDelete;
    return Condition::IntegrityOnChange;
}

// How the driver manager says the driver named cannot be loaded.
struct MissingDriverRow {
    std::string_view state;
    std::string_view text;  // "" = any
};
constexpr MissingDriverRow kMissingDriver[] = {
    {"IM002", ""},                 // data source name not found, no default driver
    {"IM003", ""},                 // specified driver could not be loaded
    {"01000", "Can't open lib"},   // unixODBC: a driver name it has not registered
};

bool IsMissingDriver(const DiagRecord& r) {
    for (const auto& row : kMissingDriver)
        if (r.sqlState == row.state && r.message.find(row.text) != std::string::npos) return true;
    return false;
}

}  // namespace

Condition Classify(const DiagRecord& r, Operation op, bool missingDriverIsProviderNotFound) {
    if (IsMissingDriver(r)) return missingDriverIsProviderNotFound ? Condition::ProviderNotFound : Condition::General;
    for (const auto& row : kStates) {
        if (!StartsWith(r.sqlState, row.state) || (row.native != 0 && row.native != r.nativeError)) continue;
        return row.condition == kForeignKey ? ForeignKey(r, op) : row.condition;
    }
    return Condition::General;
}

Error DiagnosticError(SQLSMALLINT handleType, SQLHANDLE handle, const ErrorContext& context, Operation op,
                      bool waitingForLock) {
    const std::vector<DiagRecord> records = ReadDiagnostics(handleType, handle);
    if (records.empty()) return MakeError(Condition::General, "(el controlador ODBC no dio detalles)", context.source);
    std::string detail;
    for (const auto& r : records) {
        if (!detail.empty()) detail += '\n';
        detail += r.message;
    }
    // Warnings (class 01) that precede the failure do not decide its number.
    const DiagRecord* first = &records.front();
    for (const auto& r : records)
        if (!StartsWith(r.sqlState, "01")) {
            first = &r;
            break;
        }
    Condition c = Classify(*first, op, context.missingDriverIsProviderNotFound);
    if (waitingForLock && c == Condition::TimeLimit) c = Condition::LockConflict;
    return MakeError(c, detail, context.source, first->sqlState, first->nativeError);
}

void ThrowDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle, const ErrorContext& context, Operation op,
                      bool waitingForLock) {
    throw DiagnosticError(handleType, handle, context, op, waitingForLock);
}

}  // namespace ado::odbc
