#include "ado/providers/sqlite/bind.h"

#include "ado/error_numbers.h"
#include "ado/providers/sqlite/dialect/iso_date.h"

namespace ado::sqlite {

void BindVariant(sqlite3_stmt* stmt, int index, const Variant& v, bool copy) {
    const auto keep = copy ? SQLITE_TRANSIENT : SQLITE_STATIC;
    switch (v.Type()) {
        case VariantType::Empty:
        case VariantType::Null: sqlite3_bind_null(stmt, index); break;
        case VariantType::Bool: sqlite3_bind_int(stmt, index, v.AsBool() ? -1 : 0); break;
        case VariantType::I2: sqlite3_bind_int(stmt, index, v.AsI2()); break;
        case VariantType::I4: sqlite3_bind_int(stmt, index, v.AsI4()); break;
        case VariantType::I8: sqlite3_bind_int64(stmt, index, v.AsI8()); break;
        case VariantType::R8: sqlite3_bind_double(stmt, index, v.AsR8()); break;
        case VariantType::R4:
        case VariantType::Decimal: sqlite3_bind_double(stmt, index, v.ToDouble()); break;
        case VariantType::Currency: {
            const int64_t scaled = v.AsCurrency().scaled;
            if (scaled % 10000 == 0) sqlite3_bind_int64(stmt, index, scaled / 10000);
            else sqlite3_bind_double(stmt, index, static_cast<double>(scaled) / 10000.0);
            break;
        }
        case VariantType::Date: {
            const std::string text = FormatIsoDate(v.AsDate());
            sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
            break;
        }
        case VariantType::String: {
            const std::string& s = v.AsString();
            sqlite3_bind_text(stmt, index, s.data(), static_cast<int>(s.size()), keep);
            break;
        }
        case VariantType::Binary: {
            const Binary& b = v.AsBinary();
            sqlite3_bind_blob(stmt, index, b.data(), static_cast<int>(b.size()), keep);
            break;
        }
        default: Raise(Condition::InvalidArgument, "(un parámetro no admite matrices ni objetos)");
    }
}

void BindParameters(sqlite3_stmt* stmt, const std::vector<Variant>& values) {
    const int expected = sqlite3_bind_parameter_count(stmt);
    if (static_cast<int>(values.size()) < expected) Raise(Condition::MissingParameters);
    for (int i = 0; i < expected; ++i) BindVariant(stmt, i + 1, values[static_cast<size_t>(i)]);
}

}  // namespace ado::sqlite
