#include "ado/providers/odbc/parameters.h"

#include <cstring>

#include "ado/providers/odbc/cell_values.h"

namespace ado::odbc {

namespace {

constexpr size_t kLongText = 4000;     // longer texts go as LONGVARCHAR
constexpr size_t kLongBinary = 8000;

struct Binding {
    int cType;
    int sqlType;
    SQLULEN columnSize;
    int decimalDigits;
    SQLPOINTER data;
    SQLLEN bufferLength;
};

size_t CharacterCount(std::string_view utf8) {
    size_t n = 0;
    for (char ch : utf8) n += (ch & 0xC0) != 0x80;
    return n;
}

}  // namespace

void ParameterSet::Bind(SQLHSTMT stmt, const std::vector<Variant>& values, bool narrowUtf8,
                        const ErrorContext& context, const std::vector<SQLSMALLINT>* columnTypes) {
    if (columnTypes && columnTypes->size() != values.size()) columnTypes = nullptr;
    slots_.clear();
    slots_.resize(values.size());  // no reallocation after this: the driver keeps the addresses
    for (size_t i = 0; i < values.size(); ++i) {
        const Variant& v = values[i];
        Slot& s = slots_[i];
        const SQLSMALLINT column = columnTypes ? (*columnTypes)[i] : SQLSMALLINT{0};
        Binding b{SQL_C_CHAR, column ? column : SQL_VARCHAR, 1, 0, nullptr, 0};
        switch (v.Type()) {
            case VariantType::Empty:
            case VariantType::Null: s.indicator = SQL_NULL_DATA; break;
            case VariantType::Bool:
                s.bit = v.AsBool() ? 1 : 0;
                b = {SQL_C_BIT, SQL_BIT, 1, 0, &s.bit, 1};
                break;
            case VariantType::I2:
                s.short16 = v.AsI2();
                b = {SQL_C_SSHORT, SQL_SMALLINT, 5, 0, &s.short16, 0};
                break;
            case VariantType::I4:
                s.long32 = v.AsI4();
                b = {SQL_C_SLONG, SQL_INTEGER, 10, 0, &s.long32, 0};
                break;
            case VariantType::I8:
                s.integer = v.AsI8();
                b = {SQL_C_SBIGINT, SQL_BIGINT, 19, 0, &s.integer, 0};
                break;
            case VariantType::R4:
                s.single = v.AsR4();
                b = {SQL_C_FLOAT, SQL_REAL, 7, 0, &s.single, 0};
                break;
            case VariantType::R8:
                s.real = v.AsR8();
                b = {SQL_C_DOUBLE, SQL_DOUBLE, 15, 0, &s.real, 0};
                break;
            case VariantType::Currency:
            case VariantType::Decimal: {
                s.bytes = DecimalText(v);
                const size_t point = s.bytes.find('.');
                const int scale = point == std::string::npos ? 0 : static_cast<int>(s.bytes.size() - point - 1);
                const bool currency = v.Type() == VariantType::Currency;
                b = {SQL_C_CHAR, currency ? SQL_DECIMAL : SQL_NUMERIC, currency ? 19u : 38u,
                     currency ? 4 : scale, s.bytes.data(), static_cast<SQLLEN>(s.bytes.size())};
                s.indicator = static_cast<SQLLEN>(s.bytes.size());
                break;
            }
            case VariantType::Date: {
                s.timestamp = SerialToTimestamp(v.AsDate().serial);
                if (column == SQL_TYPE_TIME) {
                    const SQL_TIMESTAMP_STRUCT ts = s.timestamp;
                    s.time = {ts.hour, ts.minute, ts.second};
                    b = {SQL_C_TYPE_TIME, SQL_TYPE_TIME, 8, 0, &s.time, sizeof s.time};
                } else if (column == SQL_TYPE_DATE) {
                    const SQL_TIMESTAMP_STRUCT ts = s.timestamp;
                    s.date = {ts.year, ts.month, ts.day};
                    b = {SQL_C_TYPE_DATE, SQL_TYPE_DATE, 10, 0, &s.date, sizeof s.date};
                } else {
                    // Whole seconds go without a fraction, so engines with coarser times accept them.
                    const bool fraction = s.timestamp.fraction != 0;
                    b = {SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, fraction ? 26u : 19u, fraction ? 6 : 0,
                         &s.timestamp, sizeof s.timestamp};
                }
                break;
            }
            case VariantType::String: {
                const std::string& text = v.AsString();
                const size_t chars = CharacterCount(text);
                const bool isLong = chars > kLongText;
                if (narrowUtf8) {
                    s.bytes = text;
                    b = {SQL_C_CHAR, isLong ? SQL_LONGVARCHAR : SQL_VARCHAR, std::max<SQLULEN>(chars, 1), 0,
                         s.bytes.data(), static_cast<SQLLEN>(s.bytes.size())};
                } else {
                    const WString wide = ToUtf16(text);
                    s.bytes.assign(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(SQLWCHAR));
                    b = {SQL_C_WCHAR, isLong ? SQL_WLONGVARCHAR : SQL_WVARCHAR, std::max<SQLULEN>(wide.size(), 1), 0,
                         s.bytes.data(), static_cast<SQLLEN>(s.bytes.size())};
                }
                s.indicator = static_cast<SQLLEN>(s.bytes.size());
                break;
            }
            case VariantType::Binary: {
                const Binary& bin = v.AsBinary();
                s.bytes.assign(reinterpret_cast<const char*>(bin.data()), bin.size());
                b = {SQL_C_BINARY, bin.size() > kLongBinary ? SQL_LONGVARBINARY : SQL_VARBINARY,
                     std::max<SQLULEN>(bin.size(), 1), 0, s.bytes.data(), static_cast<SQLLEN>(bin.size())};
                s.indicator = static_cast<SQLLEN>(bin.size());
                break;
            }
            default: Raise(Condition::InvalidArgument, "(un parámetro no admite matrices ni objetos)");
        }
        CheckStmt(SQLBindParameter(stmt, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT,
                                   static_cast<SQLSMALLINT>(b.cType), static_cast<SQLSMALLINT>(b.sqlType), b.columnSize,
                                   static_cast<SQLSMALLINT>(b.decimalDigits), b.data, b.bufferLength, &s.indicator),
                  stmt, context);
    }
}

}  // namespace ado::odbc
