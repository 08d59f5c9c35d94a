// The Decimal key: bytewise order is numeric order, one encoding per value, exact round trips.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "ado/ErrorNumbers.h"
#include "ado/providers/sqlite/dialect/decimal_key.h"
#include "ado/variant/conversion.h"
#include "ado/variant/decimal_math.h"
#include "engine.h"

namespace {

using ado::Decimal;
using ado::sqlite::DecimalKey;
using testsupport::ErrorNumberOf;
using u128 = unsigned __int128;

constexpr u128 kMax96 = (u128{1} << 96) - 1;

// Mantissas of every size, small and near 2^96, at every scale, both signs.
std::vector<Decimal> RandomDecimals(size_t n) {
    std::mt19937_64 random(20240315);
    std::vector<Decimal> values;
    for (size_t i = 0; i < n; ++i) {
        const int bits = static_cast<int>(random() % 97);
        u128 m = ((u128{random()} << 64) | random()) & kMax96;
        m = bits == 96 ? kMax96 - (random() % 3) : m >> (96 - bits);
        values.push_back(Decimal{m, static_cast<uint8_t>(random() % 29), (random() & 1) != 0});
    }
    return values;
}

int Memcmp(const DecimalKey& a, const DecimalKey& b) {
    const int r = std::memcmp(a.data(), b.data(), a.size());
    return r < 0 ? -1 : r > 0;
}

TEST(DecimalKey, BytewiseOrderIsNumericOrderAndDecodingRoundTrips) {
    const std::vector<Decimal> values = RandomDecimals(4000);
    std::vector<DecimalKey> keys;
    for (const Decimal& d : values) {
        keys.push_back(ado::sqlite::EncodeDecimalKey(d));
        const Decimal back = ado::sqlite::DecodeDecimalKey(keys.back());
        ASSERT_EQ(back, ado::decimal::Normalize(d));  // the smallest scale that holds it
        ASSERT_EQ(ado::conv::CompareDecimal(back, d), 0);
    }
    for (size_t i = 0; i + 1 < values.size(); ++i)
        for (size_t j : {i + 1, values.size() - 1 - i})
            ASSERT_EQ(Memcmp(keys[i], keys[j]), ado::conv::CompareDecimal(values[i], values[j])) << i << " " << j;
}

TEST(DecimalKey, EncodingsAtTheEdges) {
    struct Case {
        Decimal value;
        const char* hex;
    };
    const Case cases[] = {
        {{0, 0, false}, "800000000000000000000000000000000000000000000000"},
        {{0, 5, true}, "800000000000000000000000000000000000000000000000"},  // -0 is 0
        {{1, 28, false}, "800000000000000000000000000000000000000000000001"},
        {{1, 28, true}, "7FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"},
        {{1, 0, false}, "800000000000000000000000204FCE5E3E25026110000000"},  // 10^28
        {{10, 1, false}, "800000000000000000000000204FCE5E3E25026110000000"},
        {{kMax96, 0, false}, "A04FCE5E3E2502610FFFFFFFDFB031A1C1DAFD9EF0000000"},
        {{kMax96, 0, true}, "5FB031A1C1DAFD9EF0000000204FCE5E3E25026110000000"},
    };
    for (const Case& c : cases) {
        const DecimalKey key = ado::sqlite::EncodeDecimalKey(c.value);
        char hex[2 * ado::sqlite::kDecimalKeySize + 1];
        for (size_t i = 0; i < key.size(); ++i) std::snprintf(hex + 2 * i, 3, "%02X", key[i]);
        EXPECT_STREQ(hex, c.hex);
    }
    EXPECT_EQ(ErrorNumberOf([] { ado::sqlite::EncodeDecimalKey(Decimal{kMax96 + 1, 0, false}); }),
              ado::err::Overflow);
    EXPECT_EQ(ErrorNumberOf([] { ado::sqlite::EncodeDecimalKey(Decimal{1, 29, false}); }), ado::err::Overflow);
}

TEST(DecimalKey, BytesThatAreNoDecimalAreATypeMismatch) {
    DecimalKey twoTo96{};  // 7.9228162514264337593543950336: 2^96 at scale 28, exact at no scale
    twoTo96[0] = 0x80;
    twoTo96[11] = 0x01;
    DecimalKey top;
    top.fill(0xFF);  // 2^191 - 1, beyond 2^96 × 10^28
    DecimalKey bottom{};  // -2^191
    const std::vector<std::vector<uint8_t>> bad = {
        {}, std::vector<uint8_t>(23, 0x80), std::vector<uint8_t>(25, 0x80),
        {twoTo96.begin(), twoTo96.end()}, {top.begin(), top.end()}, {bottom.begin(), bottom.end()},
    };
    for (const auto& bytes : bad)
        EXPECT_EQ(ErrorNumberOf([&] { ado::sqlite::DecodeDecimalKey(bytes); }), ado::err::TypeMismatch)
            << bytes.size();
    DecimalKey largest = twoTo96;  // 2^96 - 1 at scale 28: the largest mantissa there
    largest[11] = 0;
    std::fill(largest.begin() + 12, largest.end(), 0xFF);
    EXPECT_EQ(ado::sqlite::DecodeDecimalKey(largest), (Decimal{kMax96, 28, false}));
}

// The engine compares, sorts, groups and keys the stored bytes: numeric order, one value once.
TEST(DecimalKey, TheEngineOrdersAndKeysStoredKeys) {
    dialect_test::Engine e;
    dialect_test::ScopedRegional us(ado::RegionalSettings::UnitedStates());
    EXPECT_EQ(e.Exec("CREATE TABLE t (d DECIMAL UNIQUE);"
                     "INSERT INTO t SELECT BZ_DEC(v) FROM (SELECT '-1.5' AS v UNION ALL SELECT '10' UNION ALL "
                     "SELECT '-0.0000000000000000000000000001' UNION ALL SELECT '0' UNION ALL SELECT '9.99' UNION ALL "
                     "SELECT '-79228162514264337593543950335' UNION ALL SELECT '79228162514264337593543950335')"),
              "");
    EXPECT_EQ(e.Exec("INSERT INTO t VALUES (BZ_DEC('9.990'))"), "error: UNIQUE constraint failed: t.d");
    EXPECT_EQ(e.Query("SELECT BZ_TEXT(d, 14) FROM t ORDER BY d"),
              "'-79228162514264337593543950335'|'-1.5'|'-0.0000000000000000000000000001'|'0'|'9.99'|'10'|"
              "'79228162514264337593543950335'");
    EXPECT_EQ(e.Query("SELECT BZ_TEXT(MIN(d), 14) || ' ' || BZ_TEXT(MAX(d), 14) FROM t WHERE d > BZ_DEC(-2)"),
              "'-1.5 79228162514264337593543950335'");
    EXPECT_EQ(e.Query("SELECT typeof(d) FROM t WHERE d = BZ_DEC(10.0)"), "'blob'");
}

}  // namespace
