#include "ado/providers/odbc/parameter_arrays.h"

#include <optional>

namespace ado::odbc {

bool ParameterArrays::Bind(SQLHSTMT stmt, std::span<const cursor::RowWrite> rows, bool narrowUtf8,
                           const ErrorContext& context, const std::vector<SQLSMALLINT>& columnTypes) {
    const size_t n = rows.size();
    const size_t params = rows.front().setValues.size();
    // Every column's values share one kind, or the rows cannot go as one array.
    std::vector<std::optional<VariantType>> kinds(params);
    for (const auto& w : rows) {
        if (w.setValues.size() != params) return false;
        for (size_t p = 0; p < params; ++p) {
            const VariantType kind = BindingKind(w.SetValue(p));
            if (kind == VariantType::Null) continue;
            if (kinds[p] && *kinds[p] != kind) return false;
            kinds[p] = kind;
        }
    }
    columns_.resize(params);  // no reallocation after this: the driver keeps the addresses
    for (size_t p = 0; p < params; ++p) {
        const SQLSMALLINT target = p < columnTypes.size() ? columnTypes[p] : SQLSMALLINT{0};
        const ParameterValue value = [&](size_t r) -> const Variant* {
            const Variant& v = rows[r].SetValue(p);
            return BindingKind(v) == VariantType::Null ? nullptr : &v;
        };
        // Arrays and objects are refused by the single-row binding, which the rows then take.
        if (!FillParameterColumn(columns_[p], kinds[p].value_or(VariantType::Null), n, value, target, narrowUtf8))
            return false;
        BindParameterColumn(stmt, static_cast<SQLUSMALLINT>(p + 1), columns_[p], context);
    }
    CheckStmt(SQLSetStmtAttr(stmt, SQL_ATTR_PARAM_BIND_TYPE, reinterpret_cast<SQLPOINTER>(SQL_PARAM_BIND_BY_COLUMN), 0),
              stmt, context);
    CheckStmt(SQLSetStmtAttr(stmt, SQL_ATTR_PARAMSET_SIZE, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(n)), 0),
              stmt, context);
    return true;
}

}  // namespace ado::odbc
