// The bridge between the engine's function calls and the Access functions: argument
// reading with VBA's conversions, results, and registration from tables.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include <sqlcipher/sqlite3.h>

#include "ado/Variant.h"

namespace ado::sqlite::detail {

// One call of a registered function. Reading an argument may throw ado::Error (13 type
// mismatch, 94 invalid use of Null, ...); the caller turns that into an engine error
// carrying the Spanish description.
class Call {
public:
    Call(sqlite3_context* ctx, int argc, sqlite3_value** argv) : ctx_(ctx), argc_(argc), argv_(argv) {}

    int Count() const { return argc_; }
    // The connection the query runs on.
    sqlite3* Database() const { return sqlite3_context_db_handle(ctx_); }
    int Type(int i) const { return sqlite3_value_type(argv_[i]); }  // SQLITE_INTEGER, ...
    bool IsNull(int i) const { return Type(i) == SQLITE_NULL; }
    bool IsText(int i) const { return Type(i) == SQLITE_TEXT; }
    bool IsInteger(int i) const { return Type(i) == SQLITE_INTEGER; }
    int64_t Integer(int i) const { return sqlite3_value_int64(argv_[i]); }
    double Real(int i) const { return sqlite3_value_double(argv_[i]); }
    // The stored bytes of a text or blob argument (others are converted by the engine first).
    std::string_view Bytes(int i) const {
        const auto* p = static_cast<const char*>(sqlite3_value_blob(argv_[i]));
        return {p, static_cast<size_t>(sqlite3_value_bytes(argv_[i]))};
    }

    // The argument as a Variant: integers as I4 (I8 when wider), reals as R8, texts in
    // the date text form (how the translator hands a Date to Format, CStr, IsDate...) as
    // Date, other texts as String, blobs as Binary.
    Variant Value(int i) const;
    // The argument as text: texts as they are, numbers as CStr writes them.
    std::string Text(int i) const;
    // A date argument: a date serial number, a date text, or a text CDate reads.
    // Null gives nullopt.
    std::optional<Date> DateArg(int i) const;
    // CLng and CDbl of the argument; Null fails with 94.
    int32_t Long(int i) const;
    double Double(int i) const;

    void ReturnNull() { sqlite3_result_null(ctx_); }
    void Return(int64_t v) { sqlite3_result_int64(ctx_, v); }
    void Return(double v) { sqlite3_result_double(ctx_, v); }
    void ReturnText(std::string_view s);
    void ReturnDate(Date d);  // the date serial
    void ReturnBool(bool b) { sqlite3_result_int(ctx_, b ? -1 : 0); }
    void Return(const Variant& v);
    void ReturnArgument(int i) { sqlite3_result_value(ctx_, argv_[i]); }
    void ReturnBlob(std::span<const uint8_t> bytes) {
        sqlite3_result_blob64(ctx_, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
    }

    sqlite3_context* Context() const { return ctx_; }

private:
    sqlite3_context* ctx_;
    int argc_;
    sqlite3_value** argv_;
};

using FunctionBody = void (*)(Call&);

struct FunctionSpec {
    const char* name;
    int minArgs;
    int maxArgs;
    FunctionBody body;
    bool deterministic = true;
};

// Registers each function for every argument count from minArgs to maxArgs.
void RegisterFunctionTable(sqlite3* db, std::span<const FunctionSpec> specs);

// An aggregate of one argument, with the engine's own step and final callbacks.
struct AggregateSpec {
    const char* name;
    void (*step)(sqlite3_context*, int, sqlite3_value**);
    void (*final)(sqlite3_context*);
};
void RegisterAggregateTable(sqlite3* db, std::span<const AggregateSpec> specs);

// Runs `body` and reports a thrown ado::Error as the engine error of this call.
void RunGuarded(sqlite3_context* ctx, void (*body)(void*), void* data);

// The function tables, one per concern (functions_*.cpp).
std::span<const FunctionSpec> TextFunctions();
std::span<const FunctionSpec> DateFunctions();
std::span<const FunctionSpec> ConversionFunctions();
std::span<const FunctionSpec> MathFunctions();
std::span<const FunctionSpec> FinanceFunctions();
std::span<const FunctionSpec> FormatFunctions();
std::span<const FunctionSpec> OperatorFunctions();
std::span<const FunctionSpec> ExactFunctions();
std::span<const FunctionSpec> VbaFunctions();

// First, Last, StDev, StDevP, Var, VarP (functions_aggregate.cpp).
std::span<const AggregateSpec> AccessAggregates();
// The exact averages and sums of Currency and Decimal (functions_exact.cpp).
std::span<const AggregateSpec> ExactAggregates();

// The Access LIKE in place of the engine's like(X,Y) and like(X,Y,Z) (access_like.cpp).
void RegisterAccessLike(sqlite3* db);

}  // namespace ado::sqlite::detail
