// Functions for exact values, which the translator writes where Access keeps money and
// decimals exact. Currency is stored as INTEGER ten-thousandths, Decimal as its 24-byte key
// (decimal_key.h), a date as its serial; a "plain" value is any engine value (INTEGER, REAL,
// TEXT or a Decimal key). Null gives Null; failures are VBA's: 6 overflow, 11 division by
// zero, 13 type mismatch (a Currency that is no INTEGER, a Decimal that is no key), 94
// invalid use of Null.
//   BZ_CUR(plain)                 CCur, as ten-thousandths (half to even)
//   BZ_CURMUL(c, c)               Currency × Currency, exact, half to even
//   BZ_CURAVG(c)                  aggregate: the exact average, half to even
//   BZ_DEC(plain)                 CDec, as a key
//   BZ_DEC_LIT(text)              a number literal of the statement, exactly, as a key
//   BZ_DEC_FROM_CUR(c), BZ_CUR_FROM_DEC(d), BZ_DEC_TO_REAL(d)
//   BZ_DEC_ADD, _SUB, _MUL, _DIV (d, d), BZ_DEC_NEG(d)   DECIMAL arithmetic (decimal_math.h)
//   BZ_DEC_SUM(d), BZ_DEC_AVG(d)  aggregates, exact until the one final rounding
//   BZ_DEC_FIT(d, p, s)           d stored into DECIMAL(p, s): rounded to s decimals, 6 when
//                                 it needs more than p digits (5 for a p or s out of range)
//   BZ_TEXT(x, adoType)           CStr of x held as the ADO type says (regional settings)
#include <cmath>

#include "ado/Enums.h"
#include "ado/ErrorNumbers.h"
#include "ado/Regional.h"
#include "ado/providers/sqlite/dialect/decimal_key.h"
#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/function_call.h"
#include "ado/variant/conversion.h"
#include "ado/variant/decimal_math.h"

namespace ado::sqlite::detail {
namespace {

using i128 = __int128;
using u128 = unsigned __int128;

// n ÷ d rounded half to even (d > 0).
i128 DivideHalfEven(i128 n, i128 d) {
    i128 q = n / d;
    const i128 r = n % d;  // the sign of n
    const i128 twice = (r < 0 ? -r : r) * 2;
    if (twice > d || (twice == d && (q & 1))) q += n < 0 ? -1 : 1;
    return q;
}

int64_t CheckedInt64(i128 v) {
    if (v < INT64_MIN || v > INT64_MAX) conv::FailOverflow();
    return static_cast<int64_t>(v);
}

std::span<const uint8_t> KeyBytes(sqlite3_value* v) {
    if (sqlite3_value_type(v) != SQLITE_BLOB) conv::FailTypeMismatch();
    return {static_cast<const uint8_t*>(sqlite3_value_blob(v)), static_cast<size_t>(sqlite3_value_bytes(v))};
}

// Argument readers.
int64_t TenThousandths(Call& c, int i) {
    if (!c.IsInteger(i)) conv::FailTypeMismatch();
    return c.Integer(i);
}
Decimal DecimalArg(Call& c, int i) {
    if (c.Type(i) != SQLITE_BLOB) conv::FailTypeMismatch();
    const std::string_view b = c.Bytes(i);
    return DecodeDecimalKey({reinterpret_cast<const uint8_t*>(b.data()), b.size()});
}
double Number(Call& c, int i) {
    if (c.Type(i) != SQLITE_INTEGER && c.Type(i) != SQLITE_FLOAT) conv::FailTypeMismatch();
    return c.Real(i);
}
Variant TextValue(Call& c, int i) { return Variant(c.Bytes(i)); }

void ReturnDecimal(Call& c, const Decimal& d) { c.ReturnBlob(EncodeDecimalKey(d)); }

Currency PlainToCurrency(Call& c, int i) {
    switch (c.Type(i)) {
        case SQLITE_INTEGER: return conv::CurrencyFromInteger(c.Integer(i));
        case SQLITE_FLOAT: return conv::CurrencyFromDouble(c.Real(i));
        case SQLITE_TEXT: return TextValue(c, i).ToCurrency();
        default: return conv::DecimalToCurrency(DecimalArg(c, i));
    }
}

Decimal PlainToDecimal(Call& c, int i) {
    switch (c.Type(i)) {
        case SQLITE_INTEGER: return conv::DecimalFromInteger(c.Integer(i));
        case SQLITE_FLOAT: return conv::DecimalFromDouble(c.Real(i));
        case SQLITE_TEXT: return TextValue(c, i).ToDecimal();
        default: return DecimalArg(c, i);
    }
}

// Any Null argument gives Null.
template <FunctionBody body>
void NullIn(Call& c) {
    for (int i = 0; i < c.Count(); ++i)
        if (c.IsNull(i)) return c.ReturnNull();
    body(c);
}

void Cur(Call& c) { c.Return(PlainToCurrency(c, 0).scaled); }

// A number literal of the statement ("1.5", "2E3"), read exactly whatever the regional settings.
void DecLiteral(Call& c) {
    static const RegionalSettings invariant = RegionalSettings::UnitedStates();
    conv::ParsedNumber n;
    if (c.Type(0) != SQLITE_TEXT || !conv::ParseNumber(c.Bytes(0), invariant, n)) conv::FailTypeMismatch();
    ReturnDecimal(c, conv::ParsedToDecimal(n));
}

void CurMul(Call& c) {
    const i128 product = i128{TenThousandths(c, 0)} * TenThousandths(c, 1);
    c.Return(CheckedInt64(DivideHalfEven(product, 10000)));
}

void Dec(Call& c) { ReturnDecimal(c, PlainToDecimal(c, 0)); }
void DecFromCur(Call& c) { ReturnDecimal(c, conv::DecimalFromCurrency(Currency{TenThousandths(c, 0)})); }
void CurFromDec(Call& c) { c.Return(conv::DecimalToCurrency(DecimalArg(c, 0)).scaled); }
void DecToReal(Call& c) { c.Return(conv::DecimalToDouble(DecimalArg(c, 0))); }
void DecNeg(Call& c) { ReturnDecimal(c, decimal::Negate(DecimalArg(c, 0))); }

template <Decimal (*op)(const Decimal&, const Decimal&)>
void DecBinary(Call& c) {
    ReturnDecimal(c, op(DecimalArg(c, 0), DecimalArg(c, 1)));
}

void DecFit(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    const int32_t precision = c.Long(1), scale = c.Long(2);
    if (precision < 1 || precision > decimal::kMaxScale || scale < 0 || scale > precision)
        ThrowRuntimeError(kInvalidProcedureCall);
    const Decimal rounded = decimal::RoundToScale(DecimalArg(c, 0), scale);
    if (!decimal::FitsPrecision(rounded, precision, scale)) conv::FailOverflow();
    ReturnDecimal(c, rounded);
}

// BZ_TEXT: how each ADO type is held in the engine, and its text form.
enum class Held { TenThousandths, DecimalKey, DateSerial, Single, Double, Integer, Boolean, Text, AsStored };

struct HeldAs {
    int32_t adoType;
    Held held;
};

constexpr HeldAs kHeldAs[] = {
    {adCurrency, Held::TenThousandths}, {adDecimal, Held::DecimalKey},   {adNumeric, Held::DecimalKey},
    {adDate, Held::DateSerial},         {adDBDate, Held::DateSerial},    {adDBTime, Held::DateSerial},
    {adDBTimeStamp, Held::DateSerial},  {adSingle, Held::Single},        {adDouble, Held::Double},
    {adTinyInt, Held::Integer},         {adSmallInt, Held::Integer},     {adInteger, Held::Integer},
    {adBigInt, Held::Integer},          {adUnsignedTinyInt, Held::Integer}, {adUnsignedSmallInt, Held::Integer},
    {adUnsignedInt, Held::Integer},     {adUnsignedBigInt, Held::Integer},  {adBoolean, Held::Boolean},
    {adBSTR, Held::Text},               {adChar, Held::Text},            {adWChar, Held::Text},
    {adVarChar, Held::Text},            {adVarWChar, Held::Text},        {adLongVarChar, Held::Text},
    {adLongVarWChar, Held::Text},       {adVariant, Held::AsStored},
};

Variant HeldValue(Call& c, Held held) {
    switch (held) {
        case Held::TenThousandths: return Currency{TenThousandths(c, 0)};
        case Held::DecimalKey: return DecimalArg(c, 0);
        case Held::DateSerial: return Date{conv::CheckedDateSerial(Number(c, 0))};
        case Held::Single: return static_cast<float>(Number(c, 0));
        case Held::Double: return Number(c, 0);
        case Held::Integer: return c.IsInteger(0) ? Variant(c.Integer(0)) : Variant(Number(c, 0));
        case Held::Boolean: return Number(c, 0) != 0 ? int64_t{-1} : int64_t{0};  // as a number
        case Held::Text: return TextValue(c, 0);
        case Held::AsStored: return c.Value(0);  // a value of no known type: its own kind
    }
    return Variant();
}

void TextForm(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    const int32_t adoType = c.Long(1);
    for (const HeldAs& h : kHeldAs)
        if (h.adoType == adoType) return c.ReturnText(HeldValue(c, h.held).ToString());
    ThrowRuntimeError(kInvalidProcedureCall);
}

constexpr FunctionSpec kExactFunctions[] = {
    {"BZ_CUR", 1, 1, NullIn<Cur>},
    {"BZ_CURMUL", 2, 2, NullIn<CurMul>},
    {"BZ_DEC", 1, 1, NullIn<Dec>},
    {"BZ_DEC_LIT", 1, 1, NullIn<DecLiteral>},
    {"BZ_DEC_FROM_CUR", 1, 1, NullIn<DecFromCur>},
    {"BZ_CUR_FROM_DEC", 1, 1, NullIn<CurFromDec>},
    {"BZ_DEC_TO_REAL", 1, 1, NullIn<DecToReal>},
    {"BZ_DEC_ADD", 2, 2, NullIn<DecBinary<decimal::Add>>},
    {"BZ_DEC_SUB", 2, 2, NullIn<DecBinary<decimal::Subtract>>},
    {"BZ_DEC_MUL", 2, 2, NullIn<DecBinary<decimal::Multiply>>},
    {"BZ_DEC_DIV", 2, 2, NullIn<DecBinary<decimal::Divide>>},
    {"BZ_DEC_NEG", 1, 1, NullIn<DecNeg>},
    {"BZ_DEC_FIT", 3, 3, DecFit},
    {"BZ_TEXT", 2, 2, TextForm},
};

// Aggregates: a signed 256-bit total (two's complement) and the count of non-Null rows.
struct Total {
    UInt256 sum;
    int64_t count;
};

UInt256 Widened(int64_t v) {
    UInt256 w(static_cast<u128>(static_cast<i128>(v)));
    if (v < 0) {
        w.SetLimb(2, ~uint64_t{0});
        w.SetLimb(3, ~uint64_t{0});
    }
    return w;
}

void AddCurrency(Total& t, sqlite3_value* v) {
    if (sqlite3_value_type(v) != SQLITE_INTEGER) conv::FailTypeMismatch();
    t.sum = t.sum + Widened(sqlite3_value_int64(v));
}

void AddDecimal(Total& t, sqlite3_value* v) { t.sum = t.sum + DecimalKeyScaledValue(KeyBytes(v)); }

// The total's magnitude and sign.
std::pair<UInt256, bool> Magnitude(const Total& t) {
    const bool negative = t.sum.TopBit();
    return {negative ? -t.sum : t.sum, negative};
}

// The average of int64 values fits int64; their total (below count × 2^63) fits 128 bits.
void FinishCurrencyAverage(Total& t, sqlite3_context* ctx) {
    const auto [magnitude, negative] = Magnitude(t);
    const i128 total = static_cast<i128>(magnitude.Low128());
    sqlite3_result_int64(ctx, static_cast<int64_t>(DivideHalfEven(negative ? -total : total, t.count)));
}

void ResultDecimal(sqlite3_context* ctx, const Decimal& d) {
    const DecimalKey key = EncodeDecimalKey(d);
    sqlite3_result_blob(ctx, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
}

void FinishDecimalSum(Total& t, sqlite3_context* ctx) {
    const auto [magnitude, negative] = Magnitude(t);
    ResultDecimal(ctx, decimal::FromWide(magnitude, decimal::kMaxScale, negative));
}

// total × 10 ÷ count at scale 29: one digit beyond the last a Decimal keeps, and the rest sticky.
void FinishDecimalAverage(Total& t, sqlite3_context* ctx) {
    auto [magnitude, negative] = Magnitude(t);
    if (!magnitude.MultiplyBy(10)) conv::FailOverflow();
    const bool inexact = magnitude.DivideBy(static_cast<uint64_t>(t.count)) != 0;
    ResultDecimal(ctx, decimal::FromWide(magnitude, decimal::kMaxScale + 1, negative, inexact));
}

template <void (*add)(Total&, sqlite3_value*)>
void Step(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* t = static_cast<Total*>(sqlite3_aggregate_context(ctx, sizeof(Total)));
    if (t == nullptr) return sqlite3_result_error_nomem(ctx);
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return;
    struct Job {
        Total* total;
        sqlite3_value* value;
    } job{t, argv[0]};
    RunGuarded(
        ctx,
        [](void* p) {
            auto* j = static_cast<Job*>(p);
            add(*j->total, j->value);
            ++j->total->count;
        },
        &job);
}

// No row, or only Nulls: Null.
template <void (*finish)(Total&, sqlite3_context*)>
void Final(sqlite3_context* ctx) {
    auto* t = static_cast<Total*>(sqlite3_aggregate_context(ctx, 0));
    if (t == nullptr || t->count == 0) return sqlite3_result_null(ctx);
    struct Job {
        Total* total;
        sqlite3_context* ctx;
    } job{t, ctx};
    RunGuarded(
        ctx,
        [](void* p) {
            auto* j = static_cast<Job*>(p);
            finish(*j->total, j->ctx);
        },
        &job);
}

constexpr AggregateSpec kExactAggregates[] = {
    {"BZ_CURAVG", Step<AddCurrency>, Final<FinishCurrencyAverage>},
    {"BZ_DEC_SUM", Step<AddDecimal>, Final<FinishDecimalSum>},
    {"BZ_DEC_AVG", Step<AddDecimal>, Final<FinishDecimalAverage>},
};

}  // namespace

std::span<const FunctionSpec> ExactFunctions() { return kExactFunctions; }
std::span<const AggregateSpec> ExactAggregates() { return kExactAggregates; }

}  // namespace ado::sqlite::detail
