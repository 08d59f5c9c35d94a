// A 256-bit unsigned integer (four 64-bit limbs, least significant first, arithmetic modulo
// 2^256): the exact intermediate values of Decimal arithmetic and of the Decimal keys.
#pragma once

#include <array>
#include <cstdint>

namespace ado {

class UInt256 {
public:
    using u128 = unsigned __int128;

    constexpr UInt256() = default;
    constexpr UInt256(u128 v) : limb_{static_cast<uint64_t>(v), static_cast<uint64_t>(v >> 64), 0, 0} {}

    constexpr uint64_t Limb(int i) const { return limb_[static_cast<size_t>(i)]; }
    constexpr void SetLimb(int i, uint64_t v) { limb_[static_cast<size_t>(i)] = v; }

    constexpr bool IsZero() const { return (limb_[0] | limb_[1] | limb_[2] | limb_[3]) == 0; }
    constexpr bool Fits128() const { return (limb_[2] | limb_[3]) == 0; }
    constexpr u128 Low128() const { return (u128{limb_[1]} << 64) | limb_[0]; }
    constexpr bool Odd() const { return limb_[0] & 1; }
    // Bit 255, the sign when the value is read as two's complement.
    constexpr bool TopBit() const { return limb_[3] >> 63; }

    int BitLength() const {
        for (int i = 3; i >= 0; --i)
            if (limb_[static_cast<size_t>(i)]) return 64 * i + 64 - __builtin_clzll(limb_[static_cast<size_t>(i)]);
        return 0;
    }

    friend constexpr bool operator==(const UInt256&, const UInt256&) = default;
    friend constexpr int Compare(const UInt256& a, const UInt256& b) {
        for (int i = 3; i >= 0; --i)
            if (a.limb_[static_cast<size_t>(i)] != b.limb_[static_cast<size_t>(i)])
                return a.limb_[static_cast<size_t>(i)] < b.limb_[static_cast<size_t>(i)] ? -1 : 1;
        return 0;
    }
    friend constexpr bool operator<(const UInt256& a, const UInt256& b) { return Compare(a, b) < 0; }

    friend constexpr UInt256 operator+(UInt256 a, const UInt256& b) {
        u128 carry = 0;
        for (size_t i = 0; i < 4; ++i) {
            carry += u128{a.limb_[i]} + b.limb_[i];
            a.limb_[i] = static_cast<uint64_t>(carry);
            carry >>= 64;
        }
        return a;
    }
    friend constexpr UInt256 operator~(UInt256 a) {
        for (uint64_t& l : a.limb_) l = ~l;
        return a;
    }
    friend constexpr UInt256 operator-(const UInt256& a) { return ~a + UInt256(1); }
    friend constexpr UInt256 operator-(const UInt256& a, const UInt256& b) { return a + -b; }

    // *this × m; false (and the value modulo 2^256) when the product does not fit.
    constexpr bool MultiplyBy(uint64_t m) {
        u128 carry = 0;
        for (uint64_t& l : limb_) {
            carry += u128{l} * m;
            l = static_cast<uint64_t>(carry);
            carry >>= 64;
        }
        return carry == 0;
    }
    // *this ÷ d (d > 0), returning the remainder.
    uint64_t DivideBy(uint64_t d) {
        uint64_t rest = 0;
        int i = 3;
        while (i > 0 && limb_[static_cast<size_t>(i)] == 0) --i;  // zero limbs stay zero
        for (; i >= 0; --i) limb_[static_cast<size_t>(i)] = Divide(rest, limb_[static_cast<size_t>(i)], d, rest);
        return rest;
    }

    // (high × 2^64 + low) ÷ d for high < d: the quotient fits 64 bits, so one machine division
    // does (the compiler would call its general 128-bit routine).
    static uint64_t Divide(uint64_t high, uint64_t low, uint64_t d, uint64_t& remainder) {
#if defined(__x86_64__)
        uint64_t quotient;
        __asm__("divq %[d]" : "=a"(quotient), "=d"(remainder) : [d] "r"(d), "a"(low), "d"(high));
        return quotient;
#else
        const u128 n = (u128{high} << 64) | low;
        remainder = static_cast<uint64_t>(n % d);
        return static_cast<uint64_t>(n / d);
#endif
    }

    // The exact product of two values below 2^128.
    static constexpr UInt256 Product(u128 a, u128 b) {
        const uint64_t a0 = static_cast<uint64_t>(a), a1 = static_cast<uint64_t>(a >> 64);
        const uint64_t b0 = static_cast<uint64_t>(b), b1 = static_cast<uint64_t>(b >> 64);
        const u128 low = u128{a0} * b0, mid1 = u128{a0} * b1, mid2 = u128{a1} * b0, high = u128{a1} * b1;
        return UInt256(low) + Placed(mid1, 1) + Placed(mid2, 1) + Placed(high, 2);
    }

private:
    // v × 2^(64 × limb), for limb 0..2.
    static constexpr UInt256 Placed(u128 v, size_t limb) {
        UInt256 r;
        r.limb_[limb] = static_cast<uint64_t>(v);
        r.limb_[limb + 1] = static_cast<uint64_t>(v >> 64);
        return r;
    }

    std::array<uint64_t, 4> limb_{};
};

}  // namespace ado
