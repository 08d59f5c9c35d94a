// Numeric functions that SQLite lacks or computes otherwise: Int, Fix, Sgn, Sqr, Round
// (half to even, as VBA), Exp, Log, Atn, Sin, Cos, Tan, Rnd. An integer argument of Int, Fix
// and Round stays an integer, as VBA keeps the argument's type.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "ado/ErrorNumbers.h"
#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/function_call.h"

namespace ado::sqlite::detail {
namespace {

template <double (*op)(double)>
void Whole(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    if (c.IsInteger(0)) return c.Return(c.Integer(0));
    c.Return(op(c.Double(0)));
}

void Sgn(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    const double v = c.Double(0);
    c.Return(int64_t{v > 0 ? 1 : v < 0 ? -1 : 0});
}

// Round half to even. A scaled value within a hair of .5 counts as a tie, so that
// decimal fractions without an exact binary form round as written (2.675 -> 2.68).
double RoundHalfEven(double v, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double scaled = v * scale;
    const double floor = std::floor(scaled);
    const double diff = scaled - floor;
    double r;
    if (std::fabs(diff - 0.5) <= 1e-9 * std::max(1.0, std::fabs(scaled)))
        r = std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
    else
        r = std::round(scaled);
    return r / scale;
}

void Round(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    const int32_t decimals = c.Count() > 1 ? c.Long(1) : 0;
    if (decimals < 0) ThrowRuntimeError(kInvalidProcedureCall);
    if (c.IsInteger(0)) return c.Return(c.Integer(0));
    c.Return(RoundHalfEven(c.Double(0), decimals));
}

// f(x) with a domain check: outside it the call fails with `error`.
template <double (*f)(double), bool (*valid)(double), int32_t error = kInvalidProcedureCall>
void Real(Call& c) {
    if (c.IsNull(0)) return c.ReturnNull();
    const double v = c.Double(0);
    if (!valid(v)) ThrowRuntimeError(error);
    c.Return(f(v));
}

bool Any(double) { return true; }
bool NotNegative(double v) { return v >= 0; }
// Rnd, with VBA's generator: a 24-bit linear congruence from the seed 327680, per thread as
// VBA's is per program. Rnd(x) with x < 0 starts again from a seed made of x, so the same x
// gives the same number; Rnd(0) repeats the last number; Rnd() and Rnd(x > 0) give the next.
void Rnd(Call& c) {
    thread_local uint32_t seed = 327680;
    constexpr uint32_t kMask = 0xFFFFFF;
    if (c.Count() == 1 && c.IsNull(0)) return c.ReturnNull();
    const double x = c.Count() == 1 ? c.Double(0) : 1;
    if (x < 0) {
        const float single = static_cast<float>(x);
        uint32_t bits = 0;
        std::memcpy(&bits, &single, sizeof bits);
        seed = ((bits & kMask) + (bits >> 24)) & kMask;
    }
    if (x != 0) seed = (seed * 1140671485u + 12820163u) & kMask;
    c.Return(static_cast<double>(seed) / 16777216.0);
}

bool Positive(double v) { return v > 0; }
bool ExpInRange(double v) { return v <= 709.782712893384; }

double Floor(double v) { return std::floor(v); }
double Trunc(double v) { return std::trunc(v); }
double Sqrt(double v) { return std::sqrt(v); }
double Exp(double v) { return std::exp(v); }
double Log(double v) { return std::log(v); }
double Atan(double v) { return std::atan(v); }
double Sin(double v) { return std::sin(v); }
double Cos(double v) { return std::cos(v); }
double Tan(double v) { return std::tan(v); }

constexpr FunctionSpec kMathFunctions[] = {
    {"INT", 1, 1, Whole<Floor>},
    {"FIX", 1, 1, Whole<Trunc>},
    {"SGN", 1, 1, Sgn},
    {"SQR", 1, 1, Real<Sqrt, NotNegative>},
    {"ROUND", 1, 2, Round},
    {"EXP", 1, 1, Real<Exp, ExpInRange, err::Overflow>},
    {"LOG", 1, 1, Real<Log, Positive>},
    {"ATN", 1, 1, Real<Atan, Any>},
    {"SIN", 1, 1, Real<Sin, Any>},
    {"COS", 1, 1, Real<Cos, Any>},
    {"TAN", 1, 1, Real<Tan, Any>},
    {"RND", 0, 1, Rnd, false},
};

}  // namespace

std::span<const FunctionSpec> MathFunctions() { return kMathFunctions; }

}  // namespace ado::sqlite::detail
