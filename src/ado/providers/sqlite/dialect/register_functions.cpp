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

}  // namespace ado::sqlite
