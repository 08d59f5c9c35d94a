// The BZ_ functions for exact Currency (INTEGER ten-thousandths) and Decimal (key BLOB)
// values, through a real engine.
#include "engine.h"

namespace {

using dialect_test::Engine;
using dialect_test::ExpectEvaluations;
using dialect_test::ScopedRegional;

constexpr const char* kOverflow = "error: Desbordamiento";
constexpr const char* kMismatch = "error: No coinciden los tipos";
constexpr const char* kInvalidCall = "error: Argumento o llamada a procedimiento no válida";

TEST(ExactFunctions, CurrencyAsTenThousandths) {
    ScopedRegional us(ado::RegionalSettings::UnitedStates());
    ExpectEvaluations({
        {"BZ_CUR(1)", "10000"},
        {"BZ_CUR(1.23456)", "12346"},
        {"BZ_CUR('900719925474.0993')", "9007199254740993"},  // beyond a double's 2^53
        {"BZ_CUR('922337203685477.5807')", "9223372036854775807"},
        {"BZ_CUR('-922337203685477.5808')", "-9223372036854775808"},
        {"BZ_CUR('922337203685477.5808')", kOverflow},
        {"BZ_CUR(922337203685477)", "9223372036854770000"},
        {"BZ_CUR(922337203685478)", kOverflow},
        {"BZ_CUR(-1e300)", kOverflow},
        {"BZ_CUR('0.00005') || ' ' || BZ_CUR('0.00015')", "'0 2'"},  // half to even
        {"BZ_CUR('1,000.5')", "10005000"},
        {"BZ_CUR(BZ_DEC('1.23445'))", "12344"},
        {"BZ_CUR('abc')", kMismatch},
        {"BZ_CUR(x'00')", kMismatch},
        {"BZ_CUR(NULL)", "NULL"},
        {"BZ_CURMUL(15000, 25000)", "37500"},
        {"BZ_CURMUL(1, 5000) || ' ' || BZ_CURMUL(3, 5000) || ' ' || BZ_CURMUL(-3, 5000)", "'0 2 -2'"},
        {"BZ_CURMUL(9223372036854775807, 10000)", "9223372036854775807"},
        {"BZ_CURMUL(-9223372036854775808, 10000)", "-9223372036854775808"},
        {"BZ_CURMUL(9223372036854775807, 10001)", kOverflow},
        {"BZ_CURMUL(-9223372036854775808, -10000)", kOverflow},
        {"BZ_CURMUL(9007199254740993, 30000)", "27021597764222979"},
        {"BZ_CURMUL(1.5, 10000)", kMismatch},
        {"BZ_CURMUL(NULL, 10000)", "NULL"},
    });
    ScopedRegional es(ado::RegionalSettings::Spanish());
    ExpectEvaluations({{"BZ_CUR('1,5')", "15000"}, {"BZ_TEXT(15000, 6)", "'1,5'"}});
}

TEST(ExactFunctions, DecimalKeysAndTheirArithmetic) {
    ScopedRegional us(ado::RegionalSettings::UnitedStates());
    ExpectEvaluations({
        {"BZ_TEXT(BZ_DEC('1234567890.123456'), 14)", "'1234567890.123456'"},
        {"BZ_TEXT(BZ_DEC(0.1), 131) || ' ' || BZ_TEXT(BZ_DEC(-5), 14)", "'0.1 -5'"},
        {"BZ_DEC('1.5') = BZ_DEC('1.50000') AND BZ_DEC(2) > BZ_DEC('1.9999')", "1"},
        {"BZ_DEC(BZ_DEC('2.50')) = BZ_DEC(2.5)", "1"},
        {"hex(BZ_DEC(0))", "'800000000000000000000000000000000000000000000000'"},
        {"BZ_DEC('79228162514264337593543950336')", kOverflow},
        {"BZ_DEC('x')", kMismatch},
        {"BZ_DEC(x'0102')", kMismatch},
        {"BZ_DEC(NULL)", "NULL"},
        {"BZ_TEXT(BZ_DEC_FROM_CUR(9223372036854775807), 14)", "'922337203685477.5807'"},
        {"BZ_TEXT(BZ_DEC_FROM_CUR(-9223372036854775808), 14)", "'-922337203685477.5808'"},
        {"BZ_DEC_FROM_CUR(1.5)", kMismatch},
        {"BZ_CUR_FROM_DEC(BZ_DEC('922337203685477.58075'))", kOverflow},  // rounds up past the largest
        {"BZ_CUR_FROM_DEC(BZ_DEC('-922337203685477.58085'))", "-9223372036854775808"},
        {"BZ_CUR_FROM_DEC(BZ_DEC('1.00005'))", "10000"},
        {"BZ_CUR_FROM_DEC(10000)", kMismatch},
        {"BZ_DEC_TO_REAL(BZ_DEC('0.1'))", "0.1"},
        {"BZ_TEXT(BZ_DEC_ADD(BZ_DEC('0.1'), BZ_DEC('0.2')), 14)", "'0.3'"},
        {"BZ_DEC_ADD(BZ_DEC('79228162514264337593543950335'), BZ_DEC(1))", kOverflow},
        {"BZ_TEXT(BZ_DEC_SUB(BZ_DEC(1), BZ_DEC('0.0000000000000000000000000001')), 14)",
         "'0.9999999999999999999999999999'"},
        {"BZ_TEXT(BZ_DEC_MUL(BZ_DEC('1234567890.123456789'), BZ_DEC('9876543210.987654321')), 14)",
         "'12193263113702179522.374638011'"},
        {"BZ_TEXT(BZ_DEC_DIV(BZ_DEC(2), BZ_DEC(3)), 14)", "'0.6666666666666666666666666667'"},
        {"BZ_DEC_DIV(BZ_DEC(1), BZ_DEC(0))", "error: División por cero"},
        {"BZ_TEXT(BZ_DEC_NEG(BZ_DEC('-7.25')), 14) || BZ_TEXT(BZ_DEC_NEG(BZ_DEC(0)), 14)", "'7.250'"},
        {"BZ_DEC_ADD(1, BZ_DEC(1))", kMismatch},
        {"BZ_DEC_MUL(BZ_DEC(1), NULL)", "NULL"},
        {"BZ_TEXT(BZ_DEC_FIT(BZ_DEC('999.994'), 5, 2), 14)", "'999.99'"},
        {"BZ_DEC_FIT(BZ_DEC('999.995'), 5, 2)", kOverflow},
        {"BZ_TEXT(BZ_DEC_FIT(BZ_DEC('1234567890.1234565'), 28, 6), 14)", "'1234567890.123456'"},
        {"BZ_DEC_FIT(BZ_DEC(1), 29, 0)", kInvalidCall},
        {"BZ_DEC_FIT(BZ_DEC(1), 5, 6)", kInvalidCall},
        {"BZ_DEC_FIT(NULL, 5, 2)", "NULL"},
        {"BZ_DEC_FIT(BZ_DEC(1), NULL, 2)", "error: Uso no válido de Null"},
    });
}

TEST(ExactFunctions, TextOfEachRepresentation) {
    ScopedRegional us(ado::RegionalSettings::UnitedStates());
    ExpectEvaluations({
        {"BZ_TEXT(9007199254740993, 6)", "'900719925474.0993'"},
        {"BZ_TEXT(-9223372036854775808, 6)", "'-922337203685477.5808'"},
        {"BZ_TEXT(45366.5, 7)", "'3/15/2024 12:00:00 PM'"},
        {"BZ_TEXT(45366, 135)", "'3/15/2024'"},
        {"BZ_TEXT(3000000, 7)", kOverflow},
        {"BZ_TEXT(0.1, 4) || ' ' || BZ_TEXT(1.0 / 3, 5)", "'0.1 0.333333333333333'"},
        {"BZ_TEXT(123456789, 4)", "'1.234568E+08'"},
        {"BZ_TEXT(5, 3) || BZ_TEXT(9223372036854775807, 20)", "'59223372036854775807'"},
        {"BZ_TEXT(1, 11) || BZ_TEXT(-1, 11) || BZ_TEXT(0, 11)", "'-1-10'"},
        {"BZ_TEXT('abc', 202)", "'abc'"},
        {"BZ_TEXT(1.5, 6)", kMismatch},
        {"BZ_TEXT('2024-03-15', 7)", kMismatch},
        {"BZ_TEXT(5, 999)", kInvalidCall},
        {"BZ_TEXT(NULL, 6)", "NULL"},
    });
}

TEST(ExactFunctions, AggregatesAreExact) {
    ScopedRegional us(ado::RegionalSettings::UnitedStates());
    Engine e;
    e.Exec("CREATE TABLE m (g INTEGER, c CURRENCY, d DECIMAL)");
    e.Exec("INSERT INTO m VALUES (1, 9223372036854775807, BZ_DEC('79228162514264337593543950335')),"
           " (1, 9223372036854775807, BZ_DEC(1)), (1, -1, BZ_DEC(-1)), (1, NULL, NULL),"
           " (2, 1, BZ_DEC(1)), (2, 2, BZ_DEC(2)), (2, 2, BZ_DEC(2)),"
           " (3, -1, BZ_DEC('0.1')), (3, -2, BZ_DEC('0.2')),"
           " (4, NULL, NULL)");
    // Group 1 sums past the largest Currency and Decimal on the way, and not at the end.
    EXPECT_EQ(e.Query("SELECT BZ_CURAVG(c) FROM m GROUP BY g ORDER BY g"), "6148914691236517204|2|-2|NULL");
    EXPECT_EQ(e.Query("SELECT BZ_TEXT(BZ_DEC_SUM(d), 14) FROM m GROUP BY g ORDER BY g"),
              "'79228162514264337593543950335'|'5'|'0.3'|NULL");
    EXPECT_EQ(e.Query("SELECT BZ_TEXT(BZ_DEC_AVG(d), 14) FROM m GROUP BY g ORDER BY g"),
              "'26409387504754779197847983445'|'1.6666666666666666666666666667'|'0.15'|NULL");
    EXPECT_EQ(e.Query("SELECT BZ_DEC_SUM(d) FROM m WHERE g = 1 AND d > BZ_DEC(0) OR g = 2 AND c = 1"), kOverflow);
    EXPECT_EQ(e.Query("SELECT BZ_CURAVG(c) FROM m WHERE g = 99"), "NULL");
    EXPECT_EQ(e.Query("SELECT BZ_CURAVG(c * 1.0) FROM m"), kMismatch);
    EXPECT_EQ(e.Query("SELECT BZ_DEC_SUM(c) FROM m"), kMismatch);
    EXPECT_EQ(e.Query("SELECT BZ_CURAVG(v) FROM (SELECT 1 AS v UNION ALL SELECT 4)"), "2");  // 2.5 to even
    EXPECT_EQ(e.Query("SELECT BZ_CURAVG(v) FROM (SELECT 3 AS v UNION ALL SELECT 4)"), "4");
}

}  // namespace
