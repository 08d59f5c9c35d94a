#include "ado/providers/odbc/parameter_column.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "ado/providers/odbc/cell_values.h"
#include "ado/text/character_count.h"

namespace ado::odbc {

namespace {

constexpr size_t kLongText = 4000;  // longer texts go as LONGVARCHAR
constexpr size_t kLongBinary = 8000;

template <class T>
void PutFixed(std::vector<char>& data, size_t row, const T& value) {
    std::memcpy(data.data() + row * sizeof(T), &value, sizeof(T));
}

void Describe(ParameterColumn& c, SQLSMALLINT cType, SQLSMALLINT sqlType, SQLULEN size, SQLSMALLINT digits,
              size_t width) {
    c.cType = cType;
    c.sqlType = sqlType;
    c.columnSize = size;
    c.digits = digits;
    c.width = width;
}

}  // namespace

bool FillParameterColumn(ParameterColumn& col, VariantType kind, size_t n, const ParameterValue& valueAt,
                         SQLSMALLINT target, bool narrowUtf8) {
    col.indicators.assign(n, 0);
    Describe(col, SQL_C_CHAR, target ? target : SQLSMALLINT{SQL_VARCHAR}, 1, 0, 1);
    auto value = [&](size_t r) -> const Variant* {
        const Variant* v = valueAt(r);
        if (!v) col.indicators[r] = SQL_NULL_DATA;
        return v;
    };
    // Fixed-size values: the element's binding, then each row's bytes.
    auto fixed = [&](SQLSMALLINT cType, SQLSMALLINT sqlType, SQLULEN size, size_t width, auto put) {
        Describe(col, cType, sqlType, size, 0, width);
        col.data.assign(n * width, 0);
        for (size_t r = 0; r < n; ++r)
            if (const Variant* v = value(r)) put(r, *v);
    };
    // A number: the values as the accessor gives them, in the C type it returns.
    auto number = [&]<class T>(SQLSMALLINT cType, SQLSMALLINT sqlType, SQLULEN digits, T (Variant::*get)() const) {
        fixed(cType, sqlType, digits, sizeof(T), [&](size_t r, const Variant& v) { PutFixed(col.data, r, (v.*get)()); });
    };
    switch (kind) {
        case VariantType::Null:
        case VariantType::Empty:
            for (size_t r = 0; r < n; ++r) col.indicators[r] = SQL_NULL_DATA;
            col.data.assign(n, 0);
            return true;
        case VariantType::Bool:
            fixed(SQL_C_BIT, SQL_BIT, 1, 1, [&](size_t r, const Variant& v) {
                PutFixed(col.data, r, static_cast<unsigned char>(v.AsBool() ? 1 : 0));
            });
            return true;
        case VariantType::I2: number(SQL_C_SSHORT, SQL_SMALLINT, 5, &Variant::AsI2); return true;
        case VariantType::I4: number(SQL_C_SLONG, SQL_INTEGER, 10, &Variant::AsI4); return true;
        case VariantType::I8: number(SQL_C_SBIGINT, SQL_BIGINT, 19, &Variant::AsI8); return true;
        case VariantType::R4: number(SQL_C_FLOAT, SQL_REAL, 7, &Variant::AsR4); return true;
        case VariantType::R8: number(SQL_C_DOUBLE, SQL_DOUBLE, 15, &Variant::AsR8); return true;
        case VariantType::Date: {
            auto put = [&](size_t r, const Variant& v) {
                const SQL_TIMESTAMP_STRUCT ts = SerialToTimestamp(v.AsDate().serial);
                if (target == SQL_TYPE_TIME) PutFixed(col.data, r, SQL_TIME_STRUCT{ts.hour, ts.minute, ts.second});
                else if (target == SQL_TYPE_DATE) PutFixed(col.data, r, SQL_DATE_STRUCT{ts.year, ts.month, ts.day});
                else PutFixed(col.data, r, ts);
            };
            if (target == SQL_TYPE_TIME) {
                fixed(SQL_C_TYPE_TIME, SQL_TYPE_TIME, 8, sizeof(SQL_TIME_STRUCT), put);
            } else if (target == SQL_TYPE_DATE) {
                fixed(SQL_C_TYPE_DATE, SQL_TYPE_DATE, 10, sizeof(SQL_DATE_STRUCT), put);
            } else {
                // Whole seconds go without a fraction, so engines with coarser times accept them.
                bool fraction = false;
                for (size_t r = 0; r < n; ++r)
                    if (const Variant* v = valueAt(r)) fraction |= SerialToTimestamp(v->AsDate().serial).fraction != 0;
                fixed(SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, fraction ? 26u : 19u, sizeof(SQL_TIMESTAMP_STRUCT),
                      put);
                col.digits = fraction ? 6 : 0;
            }
            return true;
        }
        case VariantType::Currency:
        case VariantType::Decimal:
        case VariantType::String:
        case VariantType::Binary: {
            // Variable lengths: each element as wide as the longest.
            std::vector<std::string> bytes(n);
            size_t chars = 1;
            int scale = 0;
            for (size_t r = 0; r < n; ++r) {
                const Variant* v = value(r);
                if (!v) continue;
                if (kind == VariantType::String) {
                    chars = std::max(chars, text::CharacterCount(v->AsString()));
                    if (narrowUtf8) {
                        bytes[r] = v->AsString();
                    } else {
                        const WString wide = ToUtf16(v->AsString());
                        bytes[r].assign(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(SQLWCHAR));
                    }
                } else if (kind == VariantType::Binary) {
                    const Binary& bin = v->AsBinary();
                    bytes[r].assign(reinterpret_cast<const char*>(bin.data()), bin.size());
                    chars = std::max(chars, bin.size());
                } else {
                    bytes[r] = DecimalText(*v);
                    const size_t point = bytes[r].find('.');
                    if (point != std::string::npos)
                        scale = std::max(scale, static_cast<int>(bytes[r].size() - point - 1));
                }
                col.indicators[r] = static_cast<SQLLEN>(bytes[r].size());
            }
            size_t width = 1;
            for (const std::string& b : bytes) width = std::max(width, b.size());
            if (kind == VariantType::String && narrowUtf8)
                Describe(col, SQL_C_CHAR, chars > kLongText ? SQL_LONGVARCHAR : SQL_VARCHAR, chars, 0, width);
            else if (kind == VariantType::String)
                Describe(col, SQL_C_WCHAR, chars > kLongText ? SQL_WLONGVARCHAR : SQL_WVARCHAR,
                         std::max<SQLULEN>(width / sizeof(SQLWCHAR), 1), 0, width);
            else if (kind == VariantType::Binary)
                Describe(col, SQL_C_BINARY, chars > kLongBinary ? SQL_LONGVARBINARY : SQL_VARBINARY, chars, 0, width);
            else if (kind == VariantType::Currency)
                Describe(col, SQL_C_CHAR, SQL_DECIMAL, 19, 4, width);
            else
                Describe(col, SQL_C_CHAR, SQL_NUMERIC, 38, static_cast<SQLSMALLINT>(scale), width);
            col.data.assign(n * width, 0);
            for (size_t r = 0; r < n; ++r) std::memcpy(col.data.data() + r * width, bytes[r].data(), bytes[r].size());
            return true;
        }
        default: return false;
    }
}

void BindParameterColumn(SQLHSTMT stmt, SQLUSMALLINT number, ParameterColumn& c, const ErrorContext& context) {
    CheckStmt(SQLBindParameter(stmt, number, SQL_PARAM_INPUT, c.cType, c.sqlType, c.columnSize, c.digits, c.data.data(),
                               static_cast<SQLLEN>(c.width), c.indicators.data()),
              stmt, context);
}

}  // namespace ado::odbc
