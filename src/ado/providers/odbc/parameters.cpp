#include "ado/providers/odbc/parameters.h"

namespace ado::odbc {

void ParameterSet::Bind(SQLHSTMT stmt, const std::vector<Variant>& values, bool narrowUtf8,
                        const ErrorContext& context, const std::vector<SQLSMALLINT>* columnTypes) {
    if (columnTypes && columnTypes->size() != values.size()) columnTypes = nullptr;
    columns_.resize(values.size());  // no reallocation after this: the driver keeps the addresses
    for (size_t i = 0; i < values.size(); ++i) {
        const Variant& v = values[i];
        const SQLSMALLINT target = columnTypes ? (*columnTypes)[i] : SQLSMALLINT{0};
        const VariantType kind = BindingKind(v);
        const ParameterValue value = [&](size_t) { return kind == VariantType::Null ? nullptr : &v; };
        if (!FillParameterColumn(columns_[i], kind, 1, value, target, narrowUtf8))
            Raise(Condition::InvalidArgument, "(un parámetro no admite matrices ni objetos)");
        BindParameterColumn(stmt, static_cast<SQLUSMALLINT>(i + 1), columns_[i], context);
    }
}

}  // namespace ado::odbc
