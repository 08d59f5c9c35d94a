#include "ado/providers/sqlite/dialect/function_call.h"
#include "ado/providers/sqlite/sqlite_errors.h"

#include <limits>
#include <new>

#include "ado/Error.h"
#include "ado/ErrorNumbers.h"
#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/iso_date.h"
#include "ado/providers/sqlite/dialect/value_text.h"

namespace ado::sqlite::detail {

Variant Call::Value(int i) const {
    sqlite3_value* v = argv_[i];
    switch (sqlite3_value_type(v)) {
        case SQLITE_NULL:
            return Variant::Null;
        case SQLITE_INTEGER: {
            const int64_t n = sqlite3_value_int64(v);
            if (n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max())
                return Variant(static_cast<int32_t>(n));
            return Variant(n);
        }
        case SQLITE_FLOAT:
            return Variant(sqlite3_value_double(v));
        case SQLITE_BLOB: {
            const auto* p = static_cast<const uint8_t*>(sqlite3_value_blob(v));
            return Variant(Binary(p, p + sqlite3_value_bytes(v)));
        }
        default: {
            const std::string_view text = ValueText(v);
            if (const auto d = ParseIsoDate(text)) return Variant(*d);
            return Variant(text);
        }
    }
}

std::string Call::Text(int i) const {
    switch (sqlite3_value_type(argv_[i])) {
        case SQLITE_NULL:
            ThrowRuntimeError(err::InvalidUseOfNull);
        case SQLITE_FLOAT:
            return Variant(sqlite3_value_double(argv_[i])).ToString();
        default:
            return std::string(ValueText(argv_[i]));
    }
}

std::optional<Date> Call::DateArg(int i) const {
    switch (sqlite3_value_type(argv_[i])) {
        case SQLITE_NULL:
            return std::nullopt;
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return Date{sqlite3_value_double(argv_[i])};
        default:
            return Value(i).ToDate();
    }
}

int32_t Call::Long(int i) const {
    if (IsNull(i)) ThrowRuntimeError(err::InvalidUseOfNull);
    return Value(i).ToInt32();
}

double Call::Double(int i) const {
    if (IsNull(i)) ThrowRuntimeError(err::InvalidUseOfNull);
    return Value(i).ToDouble();
}

void Call::ReturnText(std::string_view s) {
    sqlite3_result_text64(ctx_, s.data(), s.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void Call::ReturnDate(Date d) {
    // Out of the calendar's range is an invalid call, as in DateAdd and DateSerial.
    if (!(d.serial >= -657434.0 && d.serial < 2958466.0)) ThrowRuntimeError(kInvalidProcedureCall);
    sqlite3_result_double(ctx_, d.serial);
}

void Call::Return(const Variant& v) {
    switch (v.Type()) {
        case VariantType::Empty:
        case VariantType::Null:
            return ReturnNull();
        case VariantType::Bool:
            return ReturnBool(v.AsBool());
        case VariantType::I2:
        case VariantType::I4:
        case VariantType::I8:
            return Return(v.ToInt64());
        case VariantType::Currency:
            return Return(static_cast<double>(v.AsCurrency().scaled) / 10000.0);
        case VariantType::Date:
            return ReturnDate(v.AsDate());
        case VariantType::String:
            return ReturnText(v.AsString());
        case VariantType::Binary:
            return sqlite3_result_blob64(ctx_, v.AsBinary().data(), v.AsBinary().size(), SQLITE_TRANSIENT);
        default:
            return Return(v.ToDouble());
    }
}

void RunGuarded(sqlite3_context* ctx, void (*body)(void*), void* data) {
    try {
        body(data);
    } catch (const Error& e) {
        sqlite3_result_error(ctx, e.Description().c_str(), -1);
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(ctx);
    } catch (const std::exception& e) {
        sqlite3_result_error(ctx, e.what(), -1);
    }
}

namespace {

void Trampoline(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    struct Job {
        const FunctionSpec* entry;
        Call call;
    } job{static_cast<const FunctionSpec*>(sqlite3_user_data(ctx)), Call(ctx, argc, argv)};
    RunGuarded(
        ctx, [](void* p) {
            auto* j = static_cast<Job*>(p);
            j->entry->body(j->call);
        },
        &job);
}

}  // namespace

void RegisterFunctionTable(sqlite3* db, std::span<const FunctionSpec> specs) {
    for (const FunctionSpec& entry : specs) {
        const int flags = SQLITE_UTF8 | (entry.deterministic ? SQLITE_DETERMINISTIC : 0);
        for (int n = entry.minArgs; n <= entry.maxArgs; ++n) {
            const int rc = sqlite3_create_function_v2(db, entry.name, n, flags, const_cast<FunctionSpec*>(&entry),
                                                      Trampoline, nullptr, nullptr, nullptr);
            if (rc != SQLITE_OK)
                throw Error(err::Fail, std::string("No se pudo registrar la función ") + entry.name + ".",
                            kEngineSource);
        }
    }
}

void RegisterAggregateTable(sqlite3* db, std::span<const AggregateSpec> specs) {
    for (const AggregateSpec& a : specs)
        if (sqlite3_create_function_v2(db, a.name, 1, SQLITE_UTF8, nullptr, nullptr, a.step, a.final, nullptr) !=
            SQLITE_OK)
            throw Error(err::Fail, std::string("No se pudo registrar la función ") + a.name + ".",
                        kEngineSource);
}

}  // namespace ado::sqlite::detail
