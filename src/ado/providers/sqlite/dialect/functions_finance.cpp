// VBA's financial functions, which Access queries call: annuities (Pmt, IPmt, PPmt, FV, PV,
// NPer, Rate) and depreciation (SLN, SYD, DDB). Money paid out is negative, received positive;
// `type` 1 pays at the start of each period, 0 (the default) at its end. A Null argument gives
// Null; arguments outside a function's domain fail with 5.
#include <algorithm>
#include <cmath>

#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/function_call.h"

namespace ado::sqlite::detail {
namespace {

// The arguments as numbers, with the defaults of the optional ones; false when one is Null.
bool Arguments(Call& c, std::initializer_list<double> defaults, double* out) {
    const int required = c.Count();
    int i = 0;
    for (double fallback : defaults) {
        if (i < required) {
            if (c.IsNull(i)) return false;
            out[i] = c.Double(i);
        } else {
            out[i] = fallback;
        }
        ++i;
    }
    return true;
}

void Require(bool valid) {
    if (!valid) ThrowRuntimeError(kInvalidProcedureCall);
}

void ReturnFinite(Call& c, double v) {
    Require(std::isfinite(v));
    c.Return(v);
}

// The annuity's balance: pv grown for n periods plus the payments made, plus fv; zero when the
// five values agree.
double Balance(double rate, double n, double pmt, double pv, double fv, double type) {
    if (rate == 0) return pv + pmt * n + fv;
    const double growth = std::pow(1 + rate, n);
    return pv * growth + pmt * (1 + rate * type) * (growth - 1) / rate + fv;
}

double Payment(double rate, double n, double pv, double fv, double type) {
    Require(n != 0);
    if (rate == 0) return -(pv + fv) / n;
    const double growth = std::pow(1 + rate, n);
    return -(pv * growth + fv) * rate / ((1 + rate * type) * (growth - 1));
}

double FutureValue(double rate, double n, double pmt, double pv, double type) {
    return -Balance(rate, n, pmt, pv, 0, type);
}

// The interest part of payment `period` (from 1): the balance before it times the rate.
double InterestPart(double rate, double period, double n, double pv, double fv, double type) {
    Require(period >= 1 && period <= n);
    const double pmt = Payment(rate, n, pv, fv, type);
    if (period == 1) return type == 1 ? 0 : -pv * rate;
    const double before = type == 1 ? FutureValue(rate, period - 2, pmt, pv, 1) - pmt
                                    : FutureValue(rate, period - 1, pmt, pv, 0);
    return before * rate;
}

void Pmt(Call& c) {
    double a[5];  // rate, nper, pv, fv, type
    if (!Arguments(c, {0, 0, 0, 0, 0}, a)) return c.ReturnNull();
    ReturnFinite(c, Payment(a[0], a[1], a[2], a[3], a[4]));
}

void IPmt(Call& c) {
    double a[6];  // rate, per, nper, pv, fv, type
    if (!Arguments(c, {0, 0, 0, 0, 0, 0}, a)) return c.ReturnNull();
    ReturnFinite(c, InterestPart(a[0], a[1], a[2], a[3], a[4], a[5]));
}

void PPmt(Call& c) {
    double a[6];
    if (!Arguments(c, {0, 0, 0, 0, 0, 0}, a)) return c.ReturnNull();
    const double interest = InterestPart(a[0], a[1], a[2], a[3], a[4], a[5]);
    ReturnFinite(c, Payment(a[0], a[2], a[3], a[4], a[5]) - interest);
}

void FV(Call& c) {
    double a[5];  // rate, nper, pmt, pv, type
    if (!Arguments(c, {0, 0, 0, 0, 0}, a)) return c.ReturnNull();
    ReturnFinite(c, FutureValue(a[0], a[1], a[2], a[3], a[4]));
}

void PV(Call& c) {
    double a[5];  // rate, nper, pmt, fv, type
    if (!Arguments(c, {0, 0, 0, 0, 0}, a)) return c.ReturnNull();
    const double rate = a[0], n = a[1], pmt = a[2], fv = a[3], type = a[4];
    if (rate == 0) return ReturnFinite(c, -(fv + pmt * n));
    const double growth = std::pow(1 + rate, n);
    ReturnFinite(c, -(fv + pmt * (1 + rate * type) * (growth - 1) / rate) / growth);
}

void NPer(Call& c) {
    double a[5];  // rate, pmt, pv, fv, type
    if (!Arguments(c, {0, 0, 0, 0, 0}, a)) return c.ReturnNull();
    const double rate = a[0], pmt = a[1], pv = a[2], fv = a[3], type = a[4];
    if (rate == 0) {
        Require(pmt != 0);
        return ReturnFinite(c, -(pv + fv) / pmt);
    }
    const double paid = pmt * (1 + rate * type);
    const double ratio = (paid - fv * rate) / (paid + pv * rate);
    Require(ratio > 0 && rate > -1);
    ReturnFinite(c, std::log(ratio) / std::log(1 + rate));
}

// The rate at which the annuity balances, by Newton's method from `guess`: VBA gives up after
// 20 tries, and so does this, when the rate moves less than 0.00001 percent.
void Rate(Call& c) {
    double a[6];  // nper, pmt, pv, fv, type, guess
    if (!Arguments(c, {0, 0, 0, 0, 0, 0.1}, a)) return c.ReturnNull();
    const double n = a[0], pmt = a[1], pv = a[2], fv = a[3], type = a[4];
    Require(n > 0);
    double rate = a[5];
    for (int attempt = 0; attempt < 20; ++attempt) {
        const double step = 1e-6 * std::max(1.0, std::fabs(rate));
        const double f = Balance(rate, n, pmt, pv, fv, type);
        const double slope =
            (Balance(rate + step, n, pmt, pv, fv, type) - Balance(rate - step, n, pmt, pv, fv, type)) / (2 * step);
        Require(std::isfinite(f) && std::isfinite(slope) && slope != 0);
        const double next = rate - f / slope;
        if (std::fabs(next - rate) < 1e-7) return ReturnFinite(c, next);
        rate = next;
    }
    Require(false);
}

void SLN(Call& c) {
    double a[3];  // cost, salvage, life
    if (!Arguments(c, {0, 0, 0}, a)) return c.ReturnNull();
    Require(a[2] != 0);
    ReturnFinite(c, (a[0] - a[1]) / a[2]);
}

void SYD(Call& c) {
    double a[4];  // cost, salvage, life, period
    if (!Arguments(c, {0, 0, 0, 0}, a)) return c.ReturnNull();
    const double life = a[2], period = a[3];
    Require(life > 0 && period > 0 && period <= life);
    ReturnFinite(c, (a[0] - a[1]) * (life - period + 1) * 2 / (life * (life + 1)));
}

// Double-declining balance: each period takes factor/life of the value left, never going
// below the salvage value.
void DDB(Call& c) {
    double a[5];  // cost, salvage, life, period, factor
    if (!Arguments(c, {0, 0, 0, 0, 2}, a)) return c.ReturnNull();
    const double cost = a[0], salvage = a[1], life = a[2], period = a[3], factor = a[4];
    Require(cost >= 0 && salvage >= 0 && life > 0 && period > 0 && period <= life && factor > 0);
    const double share = std::min(factor / life, 1.0);
    const double left = cost * std::pow(1 - share, period - 1);
    ReturnFinite(c, std::min(left * share, std::max(left - salvage, 0.0)));
}

constexpr FunctionSpec kFinanceFunctions[] = {
    {"PMT", 3, 5, Pmt},   {"IPMT", 4, 6, IPmt}, {"PPMT", 4, 6, PPmt}, {"FV", 3, 5, FV},     {"PV", 3, 5, PV},
    {"NPER", 3, 5, NPer}, {"RATE", 3, 6, Rate}, {"SLN", 3, 3, SLN},   {"SYD", 4, 4, SYD},   {"DDB", 4, 5, DDB},
};

}  // namespace

std::span<const FunctionSpec> FinanceFunctions() { return kFinanceFunctions; }

}  // namespace ado::sqlite::detail
