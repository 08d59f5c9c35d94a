#include "ado/providers/odbc/parameter_arrays.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "ado/providers/odbc/cell_values.h"

namespace ado::odbc {

namespace {

constexpr size_t kLongText = 4000;  // as single parameters: longer texts go as LONGVARCHAR
constexpr size_t kLongBinary = 8000;

struct Binding {
    SQLSMALLINT cType = SQL_C_CHAR;
    SQLSMALLINT sqlType = SQL_VARCHAR;
    SQLULEN columnSize = 1;
    SQLSMALLINT digits = 0;
    size_t width = 1;  // bytes per element
};

size_t CharacterCount(std::string_view utf8) {
    size_t n = 0;
    for (char ch : utf8) n += (ch & 0xC0) != 0x80;
    return n;
}

// Fixed-size values: the element's binding and its bytes.
template <class T>
void PutFixed(std::vector<char>& data, size_t row, const T& value) {
    std::memcpy(data.data() + row * sizeof(T), &value, sizeof(T));
}

}  // namespace

bool ParameterArrays::Bind(SQLHSTMT stmt, std::span<const cursor::RowWrite> rows, bool narrowUtf8,
                           const ErrorContext& context, const std::vector<SQLSMALLINT>& columnTypes) {
    const size_t n = rows.size();
    const size_t params = rows.front().setValues.size();
    // Every column's values share one kind, or the rows cannot go as one array.
    std::vector<std::optional<VariantType>> kinds(params);
    for (const auto& w : rows) {
        if (w.setValues.size() != params) return false;
        for (size_t p = 0; p < params; ++p) {
            const Variant& v = w.SetValue(p);
            if (v.IsNull() || v.IsEmpty()) continue;
            if (kinds[p] && *kinds[p] != v.Type()) return false;
            kinds[p] = v.Type();
        }
    }
    columns_.assign(params, Column{});
    std::vector<std::string> texts(n);
    for (size_t p = 0; p < params; ++p) {
        Column& col = columns_[p];
        col.indicators.assign(n, 0);
        const SQLSMALLINT target = p < columnTypes.size() ? columnTypes[p] : SQLSMALLINT{0};
        Binding b{SQL_C_CHAR, target ? target : SQLSMALLINT{SQL_VARCHAR}, 1, 0, 1};
        auto value = [&](size_t r) -> const Variant* {
            const Variant& v = rows[r].SetValue(p);
            if (v.IsNull() || v.IsEmpty()) {
                col.indicators[r] = SQL_NULL_DATA;
                return nullptr;
            }
            return &v;
        };
        auto fixed = [&](SQLSMALLINT cType, SQLSMALLINT sqlType, SQLULEN size, size_t width, auto put) {
            b = {cType, sqlType, size, 0, width};
            col.data.assign(n * width, 0);
            for (size_t r = 0; r < n; ++r)
                if (const Variant* v = value(r)) put(r, *v);
        };
        // A number column: the values as the accessor gives them, in the C type it returns.
        auto number = [&]<class T>(SQLSMALLINT cType, SQLSMALLINT sqlType, SQLULEN digits, T (Variant::*get)() const) {
            fixed(cType, sqlType, digits, sizeof(T),
                  [&](size_t r, const Variant& v) { PutFixed(col.data, r, (v.*get)()); });
        };
        const VariantType kind = kinds[p].value_or(VariantType::Null);
        switch (kind) {
            case VariantType::Null:
                for (size_t r = 0; r < n; ++r) col.indicators[r] = SQL_NULL_DATA;
                col.data.assign(n, 0);
                break;
            case VariantType::Bool:
                fixed(SQL_C_BIT, SQL_BIT, 1, 1, [&](size_t r, const Variant& v) {
                    PutFixed(col.data, r, static_cast<unsigned char>(v.AsBool() ? 1 : 0));
                });
                break;
            case VariantType::I2: number(SQL_C_SSHORT, SQL_SMALLINT, 5, &Variant::AsI2); break;
            case VariantType::I4: number(SQL_C_SLONG, SQL_INTEGER, 10, &Variant::AsI4); break;
            case VariantType::I8: number(SQL_C_SBIGINT, SQL_BIGINT, 19, &Variant::AsI8); break;
            case VariantType::R4: number(SQL_C_FLOAT, SQL_REAL, 7, &Variant::AsR4); break;
            case VariantType::R8: number(SQL_C_DOUBLE, SQL_DOUBLE, 15, &Variant::AsR8); break;
            case VariantType::Date: {
                bool fraction = false;
                for (size_t r = 0; r < n; ++r)
                    if (const Variant* v = value(r)) fraction |= SerialToTimestamp(v->AsDate().serial).fraction != 0;
                auto put = [&](size_t r, const Variant& v) {
                    const SQL_TIMESTAMP_STRUCT ts = SerialToTimestamp(v.AsDate().serial);
                    if (target == SQL_TYPE_TIME) PutFixed(col.data, r, SQL_TIME_STRUCT{ts.hour, ts.minute, ts.second});
                    else if (target == SQL_TYPE_DATE) PutFixed(col.data, r, SQL_DATE_STRUCT{ts.year, ts.month, ts.day});
                    else PutFixed(col.data, r, ts);
                };
                if (target == SQL_TYPE_TIME) fixed(SQL_C_TYPE_TIME, SQL_TYPE_TIME, 8, sizeof(SQL_TIME_STRUCT), put);
                else if (target == SQL_TYPE_DATE)
                    fixed(SQL_C_TYPE_DATE, SQL_TYPE_DATE, 10, sizeof(SQL_DATE_STRUCT), put);
                else
                    fixed(SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, fraction ? 26u : 19u, sizeof(SQL_TIMESTAMP_STRUCT),
                          put);
                if (fraction && target != SQL_TYPE_TIME && target != SQL_TYPE_DATE) b.digits = 6;
                break;
            }
            case VariantType::Currency:
            case VariantType::Decimal:
            case VariantType::String:
            case VariantType::Binary: {
                // Variable lengths: each element as wide as the longest.
                size_t chars = 1;
                int scale = 0;
                for (size_t r = 0; r < n; ++r) {
                    texts[r].clear();
                    const Variant* v = value(r);
                    if (!v) continue;
                    if (kind == VariantType::String) {
                        chars = std::max(chars, CharacterCount(v->AsString()));
                        if (narrowUtf8) {
                            texts[r] = v->AsString();
                        } else {
                            const WString wide = ToUtf16(v->AsString());
                            texts[r].assign(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(SQLWCHAR));
                        }
                    } else if (kind == VariantType::Binary) {
                        const Binary& bin = v->AsBinary();
                        texts[r].assign(reinterpret_cast<const char*>(bin.data()), bin.size());
                        chars = std::max(chars, bin.size());
                    } else {
                        texts[r] = DecimalText(*v);
                        const size_t point = texts[r].find('.');
                        if (point != std::string::npos)
                            scale = std::max(scale, static_cast<int>(texts[r].size() - point - 1));
                    }
                    col.indicators[r] = static_cast<SQLLEN>(texts[r].size());
                }
                size_t width = 1;
                for (size_t r = 0; r < n; ++r) width = std::max(width, texts[r].size());
                if (kind == VariantType::String && narrowUtf8)
                    b = {SQL_C_CHAR, chars > kLongText ? SQLSMALLINT{SQL_LONGVARCHAR} : SQLSMALLINT{SQL_VARCHAR}, chars,
                         0, width};
                else if (kind == VariantType::String)
                    b = {SQL_C_WCHAR, chars > kLongText ? SQLSMALLINT{SQL_WLONGVARCHAR} : SQLSMALLINT{SQL_WVARCHAR},
                         std::max<SQLULEN>(width / sizeof(SQLWCHAR), 1), 0, width};
                else if (kind == VariantType::Binary)
                    b = {SQL_C_BINARY, chars > kLongBinary ? SQLSMALLINT{SQL_LONGVARBINARY} : SQLSMALLINT{SQL_VARBINARY},
                         chars, 0, width};
                else if (kind == VariantType::Currency)
                    b = {SQL_C_CHAR, SQL_DECIMAL, 19, 4, width};
                else
                    b = {SQL_C_CHAR, SQL_NUMERIC, 38, static_cast<SQLSMALLINT>(scale), width};
                col.data.assign(n * width, 0);
                for (size_t r = 0; r < n; ++r) std::memcpy(col.data.data() + r * width, texts[r].data(), texts[r].size());
                break;
            }
            default: return false;  // arrays and objects are refused by the single-row binding
        }
        CheckStmt(SQLBindParameter(stmt, static_cast<SQLUSMALLINT>(p + 1), SQL_PARAM_INPUT, b.cType, b.sqlType,
                                   b.columnSize, b.digits, col.data.data(), static_cast<SQLLEN>(b.width),
                                   col.indicators.data()),
                  stmt, context);
    }
    CheckStmt(SQLSetStmtAttr(stmt, SQL_ATTR_PARAM_BIND_TYPE, reinterpret_cast<SQLPOINTER>(SQL_PARAM_BIND_BY_COLUMN), 0),
              stmt, context);
    CheckStmt(SQLSetStmtAttr(stmt, SQL_ATTR_PARAMSET_SIZE, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(n)), 0),
              stmt, context);
    return true;
}

}  // namespace ado::odbc
