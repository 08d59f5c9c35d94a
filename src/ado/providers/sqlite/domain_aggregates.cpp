#include "ado/providers/sqlite/domain_aggregates.h"

#include <new>
#include <string>

#include "ado/Error.h"
#include "ado/ErrorNumbers.h"
#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/value_text.h"
#include "ado/providers/sqlite/dialect/value_types.h"
#include "ado/providers/sqlite/engine_statement.h"
#include "ado/providers/sqlite/result_reader.h"
#include "ado/providers/sqlite/sqlite_session.h"

namespace ado::sqlite {

namespace {

struct Binding {
    SqliteSession* session;
    std::string name;
};

// A Null argument is an empty text.
std::string TextArgument(sqlite3_value* v) {
    return sqlite3_value_type(v) == SQLITE_NULL ? std::string() : std::string(ValueText(v));
}

// The query's first value, plain: Currency and Decimal as numbers, anything else as it is.
void ReturnFirst(sqlite3_context* ctx, sqlite3_stmt* stmt, DataTypeEnum type) {
    if (sqlite3_column_type(stmt, 0) != SQLITE_NULL && (type == adCurrency || detail::IsDecimalType(type)))
        return sqlite3_result_double(ctx, ReadValue(stmt, 0, type).ToDouble());
    sqlite3_result_value(ctx, sqlite3_column_value(stmt, 0));
}

void Run(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const auto* binding = static_cast<const Binding*>(sqlite3_user_data(ctx));
    try {
        for (int i = 0; i < argc; ++i)
            if (sqlite3_value_type(argv[i]) == SQLITE_NULL) ThrowRuntimeError(err::InvalidUseOfNull);
        const auto query = DomainAggregateQuery(binding->name, TextArgument(argv[0]), TextArgument(argv[1]),
                                                argc > 2 ? TextArgument(argv[2]) : std::string());
        const std::shared_ptr<const Translation> tr = binding->session->Translate(*query);
        EngineStatement stmt(sqlite3_context_db_handle(ctx), tr->sql);
        const DataTypeEnum type = tr->columns.empty() ? adVariant : tr->columns.front().type;
        if (stmt.Step()) return ReturnFirst(ctx, stmt.get(), type);
        sqlite3_result_null(ctx);
    } catch (const Error& e) {
        sqlite3_result_error(ctx, e.Description().c_str(), -1);
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(ctx);
    }
}

}  // namespace

void RegisterDomainAggregates(sqlite3* db, SqliteSession& session) {
    for (const std::string_view name : DomainAggregateNames())
        for (int args = 2; args <= 3; ++args)
            sqlite3_create_function_v2(db, std::string(name).c_str(), args, SQLITE_UTF8,
                                       new Binding{&session, std::string(name)}, Run, nullptr, nullptr,
                                       [](void* p) { delete static_cast<Binding*>(p); });
}

}  // namespace ado::sqlite
