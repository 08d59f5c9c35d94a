#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "ado/providers/sqlite/dialect/function_call.h"

namespace ado::sqlite {

void RegisterAccessFunctions(sqlite3* db) {
    using namespace detail;
    for (auto table : {TextFunctions(), DateFunctions(), ConversionFunctions(), MathFunctions(), FinanceFunctions(), FormatFunctions(),
                       OperatorFunctions(), ExactFunctions(), VbaFunctions()})
        RegisterFunctionTable(db, table);
    for (auto table : {AccessAggregates(), ExactAggregates()}) RegisterAggregateTable(db, table);
    RegisterAccessLike(db);
}

void RegisterCurrentUser(sqlite3* db, const std::string& user) {
    auto* name = new std::string(user.empty() ? "Admin" : user);  // freed by the engine with the function
    sqlite3_create_function_v2(
        db, "CURRENTUSER", 0, SQLITE_UTF8, name,
        [](sqlite3_context* ctx, int, sqlite3_value**) {
            const auto* text = static_cast<const std::string*>(sqlite3_user_data(ctx));
            sqlite3_result_text(ctx, text->data(), static_cast<int>(text->size()), SQLITE_STATIC);
        },
        nullptr, nullptr, [](void* p) { delete static_cast<std::string*>(p); });
}

}  // namespace ado::sqlite
