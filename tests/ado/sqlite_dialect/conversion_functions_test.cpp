// Conversion, test and numeric functions through a real engine.
#include "engine.h"

namespace {

using dialect_test::ExpectEvaluations;
using dialect_test::ScopedRegional;

TEST(ConversionFunctions, FollowTheVariantRules) {
    ScopedRegional us(ado::RegionalSettings::UnitedStates());
    ExpectEvaluations({
        {"CSTR(1.5) || '|' || CSTR(12)", "'1.5|12'"},
        {"CSTR(NULL)", "error: Uso no válido de Null"},
        {"CLNG(2.5) || CLNG(3.5) || CLNG('12')", "'2412'"},
        {"CLNG('abc')", "error: No coinciden los tipos"},
        {"CINT(40000)", "error: Desbordamiento"},
        {"CDBL('1.25')", "1.25"},
        {"CCUR(1.23456)", "1.2346"},
        {"BZ_ISO(CDATE('2024-03-15'))", "'2024-03-15 00:00:00'"},
        {"BZ_ISO(CDATE(45366.5))", "'2024-03-15 12:00:00'"},
        {"BZ_ISO(CDATE('3/15/2024 2:30 PM'))", "'2024-03-15 14:30:00'"},
        {"CDBL('2024-03-15 12:00:00')", "45366.5"},
        {"CBOOL(5) || CBOOL(0)", "'-10'"},
    });
}

TEST(ConversionFunctions, TextFormsFollowTheRegionalSettings) {
    ScopedRegional es(ado::RegionalSettings::Spanish());
    ExpectEvaluations({
        {"CSTR(1.5)", "'1,5'"},
        {"CDBL('1,25')", "1.25"},
        {"BZ_ISO(DATEVALUE('15/03/2024'))", "'2024-03-15 00:00:00'"},
        {"VAL('1,5')", "1.0"},  // Val reads '.' only, whatever the settings
    });
}

TEST(ConversionFunctions, ValNullTestsAndVbaRounding) {
    ExpectEvaluations({
        {"VAL('  1 2 3abc')", "123.0"},
        {"VAL('-1.5e2x')", "-150.0"},
        {"VAL('2D3')", "2000.0"},
        {"VAL('.5.6')", "0.5"},
        {"VAL('&HFF') || ' ' || VAL('&HFFFF') || ' ' || VAL('&O17')", "'255.0 -1.0 15.0'"},
        {"VAL('') || VAL('abc')", "'0.00.0'"},
        {"VAL(NULL)", "error: Uso no válido de Null"},
        {"NZ(NULL)", "''"},
        {"NZ(NULL, 0)", "0"},
        {"NZ(5, 0)", "5"},
        {"IIF(1 > 2, 'a', 'b')", "'b'"},
        {"IIF(NULL, 'a', 'b')", "'b'"},
        {"IIF(-1, 1.5, 2)", "1.5"},
        {"IIF('yes', 1, 2)", "error: No coinciden los tipos"},
        {"\"ISNULL\"(NULL) || \"ISNULL\"(0)", "'-10'"},
        {"ISNUMERIC('12.5') || ISNUMERIC('abc') || ISNUMERIC(NULL)", "'-100'"},
        {"ISDATE('2024-03-15') || ISDATE('2024-02-30') || ISDATE(7)", "'-100'"},
        {"INT(-2.5) || ' ' || FIX(-2.5) || ' ' || INT(7)", "'-3.0 -2.0 7'"},
        {"SGN(-3) || SGN(0) || SGN(0.1)", "'-101'"},
        {"SQR(16)", "4.0"},
        {"SQR(-1)", "error: Argumento o llamada a procedimiento no válida"},
        {"ROUND(2.5) || ' ' || ROUND(3.5) || ' ' || ROUND(-2.5) || ' ' || ROUND(7)", "'2.0 4.0 -2.0 7'"},
        {"ROUND(2.675, 2) || ' ' || ROUND(2.665, 2) || ' ' || ROUND(1.23456, 3)", "'2.68 2.66 1.235'"},
        {"ROUND(1.5, -1)", "error: Argumento o llamada a procedimiento no válida"},
        {"EXP(0) || ' ' || LOG(1) || ' ' || ATN(0)", "'1.0 0.0 0.0'"},
        {"EXP(1000)", "error: Desbordamiento"},
        {"LOG(0)", "error: Argumento o llamada a procedimiento no válida"},
        {"INT(NULL)", "NULL"},
        // VBA's generator: a negative argument seeds it (Rnd(-1) is VBA's 0.224007), 0 repeats
        // the last number, no argument or a positive one gives the next.
        {"RND(-1) || ' ' || RND(0) || ' ' || RND() || ' ' || RND(-1) || ' ' || RND(5)",
         "'0.2240070104599 0.2240070104599 0.0358458161354065 0.2240070104599 0.0358458161354065'"},
        {"RND(NULL)", "NULL"},
    });
}

}  // namespace
