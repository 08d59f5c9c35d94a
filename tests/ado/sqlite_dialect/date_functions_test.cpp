// The date functions through a real engine: dates come as serial numbers or date texts and go
// back as serials (written here through BZ_ISO, the date text the translator hands over).
#include "engine.h"

namespace {

using dialect_test::Engine;
using dialect_test::ExpectEvaluations;

// DatePart counts weeks from the day and rule given; DateDiff counts the boundaries crossed.
TEST(DateFunctions, PartsAdditionsAndDifferences) {
    ExpectEvaluations({
        {"YEAR('2024-03-15 13:45:10') || MONTH('2024-03-15 13:45:10') || DAY('2024-03-15 13:45:10')", "'2024315'"},
        {"HOUR('2024-03-15 13:45:10') || MINUTE('2024-03-15 13:45:10') || SECOND('2024-03-15 13:45:10')", "'134510'"},
        {"YEAR(45366.75) || '-' || HOUR(45366.75)", "'2024-18'"},
        {"DAY(-1.25) || '-' || HOUR(-1.25)", "'29-6'"},  // 1899-12-29 06:00
        {"YEAR(NULL)", "NULL"},
        {"YEAR('not a date')", "error: No coinciden los tipos"},
        {"WEEKDAY('2024-03-15')", "6"},
        {"WEEKDAY('2024-03-15', 2)", "5"},
        {"DATEPART('q', '2024-08-01')", "3"},
        {"DATEPART('y', '2024-03-01')", "61"},
        {"DATEPART('w', '2024-03-17')", "1"},
        {"DATEPART('ww', '2024-01-06')", "1"},
        {"DATEPART('ww', '2024-01-07')", "2"},
        {"DATEPART('ww', '2021-01-01', 2, 2)", "53"},   // first four-day week: still 2020's last
        {"DATEPART('ww', '2021-01-04', 2, 2)", "1"},
        {"DATEPART('ww', '2023-01-01', 1, 3)", "1"},    // a Sunday: the first full week starts there
        {"DATEPART('h', '2024-03-15 07:08:09')", "7"},
        {"DATEPART('x', '2024-03-15')", "error: Argumento o llamada a procedimiento no válida"},
        {"BZ_ISO(DATEADD('m', 1, '2024-01-31'))", "'2024-02-29 00:00:00'"},
        {"BZ_ISO(DATEADD('yyyy', 1, '2024-02-29 10:00:00'))", "'2025-02-28 10:00:00'"},
        {"BZ_ISO(DATEADD('q', -1, '2024-05-31 08:00:00'))", "'2024-02-29 08:00:00'"},
        {"BZ_ISO(DATEADD('d', 10, '2024-12-25'))", "'2025-01-04 00:00:00'"},
        {"BZ_ISO(DATEADD('y', 1, '2024-02-28')) || BZ_ISO(DATEADD('w', 1, '2024-02-28'))", "'2024-02-29 00:00:002024-02-29 00:00:00'"},
        {"BZ_ISO(DATEADD('ww', 2, '2024-03-15'))", "'2024-03-29 00:00:00'"},
        {"BZ_ISO(DATEADD('h', 25, '2024-03-15 23:00:00'))", "'2024-03-17 00:00:00'"},
        {"BZ_ISO(DATEADD('n', -90, '2024-03-15 00:30:00'))", "'2024-03-14 23:00:00'"},
        {"BZ_ISO(DATEADD('s', 61, '2024-12-31 23:59:00'))", "'2025-01-01 00:00:01'"},
        {"BZ_ISO(DATEADD('d', -1, '1899-12-30 06:00:00'))", "'1899-12-29 06:00:00'"},
        {"BZ_ISO(DATEADD('d', 1, 45366))", "'2024-03-16 00:00:00'"},
        {"DATEADD('d', 1, NULL)", "NULL"},
        {"DATEADD('x', 1, '2024-01-01')", "error: Argumento o llamada a procedimiento no válida"},
        {"DATEADD('yyyy', 8000, '2024-01-01')", "error: Argumento o llamada a procedimiento no válida"},
        {"DATEDIFF('yyyy', '2023-12-31', '2024-01-01')", "1"},
        {"DATEDIFF('q', '2024-03-31', '2024-04-01')", "1"},
        {"DATEDIFF('m', '2024-01-31', '2024-02-01')", "1"},
        {"DATEDIFF('m', '2024-03-15', '2023-03-15')", "-12"},
        {"DATEDIFF('d', '2024-03-15 23:00:00', '2024-03-16 01:00:00')", "1"},
        {"DATEDIFF('y', '2024-03-16', '2024-03-15')", "-1"},
        {"DATEDIFF('h', '2024-03-15 10:59:00', '2024-03-15 11:01:00')", "1"},
        {"DATEDIFF('n', '2024-03-15 10:59:59', '2024-03-15 11:00:00')", "1"},
        {"DATEDIFF('s', '2024-03-15 00:00:00', '2024-03-16 00:00:01')", "86401"},
        {"DATEDIFF('w', '2024-03-11', '2024-03-24')", "1"},   // 13 days
        {"DATEDIFF('w', '2024-03-24', '2024-03-10')", "-2"},
        {"DATEDIFF('ww', '2024-03-16', '2024-03-17')", "1"},  // Saturday to Sunday
        {"DATEDIFF('ww', '2024-03-17', '2024-03-23')", "0"},  // Sunday to Saturday
        {"DATEDIFF('ww', '2024-03-17', '2024-03-18', 2)", "1"},
        {"DATEDIFF('d', -1.25, 0.25)", "1"},
        {"DATEDIFF('m', NULL, '2024-01-01')", "NULL"},
    });
}

TEST(DateFunctions, SerialsAndValues) {
    dialect_test::ScopedRegional us(ado::RegionalSettings::UnitedStates());
    ExpectEvaluations({
        {"BZ_ISO(DATESERIAL(2024, 14, 1))", "'2025-02-01 00:00:00'"},
        {"BZ_ISO(DATESERIAL(2024, 3, 0))", "'2024-02-29 00:00:00'"},
        {"BZ_ISO(DATESERIAL(2024, 1, -1))", "'2023-12-30 00:00:00'"},
        {"BZ_ISO(DATESERIAL(24, 1, 1)) || BZ_ISO(DATESERIAL(99, 1, 1))", "'2024-01-01 00:00:001999-01-01 00:00:00'"},
        {"DATESERIAL(10000, 1, 1)", "error: Argumento o llamada a procedimiento no válida"},
        {"BZ_ISO(TIMESERIAL(25, -30, 0))", "'1899-12-31 00:30:00'"},
        {"BZ_ISO(DATEVALUE('2024-03-15 13:45:00'))", "'2024-03-15 00:00:00'"},
        {"BZ_ISO(TIMEVALUE('2024-03-15 13:45:00'))", "'1899-12-30 13:45:00'"},
        {"BZ_ISO(DATEVALUE('3/15/2024'))", "'2024-03-15 00:00:00'"},
        {"DATEVALUE(NULL)", "NULL"},
    });
}

TEST(DateFunctions, ClockAndEngineDatesLiveTogether) {
    Engine e;
    EXPECT_EQ(e.Eval("LENGTH(BZ_ISO(NOW())) || (BZ_ISO(NOW()) GLOB '[12][0-9][0-9][0-9]-[01][0-9]-[0-3][0-9] [0-2][0-9]:*')"),
              "'191'");
    EXPECT_EQ(e.Eval("DATE() = CAST(NOW() AS INTEGER) AND typeof(NOW()) = 'real'"), "1");
    EXPECT_EQ(e.Eval("TIME() >= 0 AND TIME() < 1"), "1");
    EXPECT_EQ(e.Eval("date('2024-03-15 10:00:00') || time('2024-03-15 10:00:00')"), "'2024-03-1510:00:00'");
}

}  // namespace
