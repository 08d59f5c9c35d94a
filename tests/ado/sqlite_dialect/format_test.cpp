// Format through a real engine: named formats, number, date and text patterns.
#include "engine.h"

#include "ado/ErrorNumbers.h"
#include "ado/providers/sqlite/dialect/format_value.h"
#include "support/Checks.h"

namespace {

using dialect_test::ExpectEvaluations;
using dialect_test::ScopedRegional;

TEST(Format, UnitedStatesSettings) {
    ScopedRegional us(ado::RegionalSettings::UnitedStates());
    ExpectEvaluations({
        {"FORMAT(1234.5, '#,##0.00')", "'1,234.50'"},
        {"FORMAT(0.125, '0.00') || ' ' || FORMAT(2.5, '0')", "'0.13 3'"},
        {"FORMAT(1.005, '0.00')", "'1.01'"},
        {"FORMAT(0.5, '0%')", "'50%'"},
        {"FORMAT(-5, '0;(0)') || FORMAT(-5, '0.0')", "'(5)-5.0'"},
        {"FORMAT(0, '0;(0);\"cero\"')", "'cero'"},
        {"FORMAT(NULL, '0;0;0;\"nada\"')", "'nada'"},
        {"FORMAT(NULL, '0')", "NULL"},
        {"FORMAT(1234567, '#,##0,')", "'1,235'"},
        {"FORMAT(5, '000') || ' ' || FORMAT(123456789, '000-00-0000')", "'005 123-45-6789'"},
        {"FORMAT(1.5, '#.##') || ' ' || FORMAT(1, '#.##') || ' ' || FORMAT(0.5, '#.00')", "'1.5 1. .50'"},
        {"FORMAT(1234.5, '0.00E+00') || ' ' || FORMAT(0.000123, '0.0E-0')", "'1.23E+03 1.2E-4'"},
        {"FORMAT(99.99, '0.0E+0')", "'1.0E+2'"},
        {"FORMAT(7, '\"Nº \"0 \\k\\g')", "'Nº 7 kg'"},
        {"FORMAT('12.5', '0.00') || ' ' || FORMAT('abc', '0.00')", "'12.50 abc'"},
        {"FORMAT(1e308 * 10, '0')", "error: Desbordamiento"},
        {"FORMAT(-1234.5, 'Currency') || ' ' || FORMAT(1234.5, 'currency')", "'($1,234.50) $1,234.50'"},
        {"FORMAT(3, 'Fixed') || ' ' || FORMAT(1234.5, 'Standard') || ' ' || FORMAT(0.256, 'Percent')",
         "'3.00 1,234.50 25.60%'"},
        {"FORMAT(0, 'Yes/No') || FORMAT(-1, 'Yes/No') || FORMAT(1, 'True/False') || FORMAT(0, 'On/Off')",
         "'NoYesTrueOff'"},
        {"FORMAT(12345.678, 'Scientific') || ' ' || FORMAT(2.5, 'General Number')", "'1.23E+04 2.5'"},
        {"FORMAT('2024-03-05 14:07:09', 'Short Date')", "'3/5/2024'"},
        {"FORMAT('2024-03-05 14:07:09', 'Short Time') || ' ' || FORMAT('2024-03-05 14:07:09', 'Medium Time')",
         "'14:07 02:07 PM'"},
        {"FORMAT('2024-03-05 14:07:09', 'Long Date')", "'Tuesday, March 5, 2024'"},
        {"FORMAT('2024-03-05 14:07:09', 'yyyy-mm-dd')", "'2024-03-05'"},
        {"FORMAT('2024-03-05 14:07:09', 'dd/mm/yyyy hh:nn:ss')", "'05/03/2024 14:07:09'"},
        {"FORMAT('2024-03-05 14:07:09', 'h:mm AM/PM') || ' ' || FORMAT('2024-03-05 00:07:09', 'h:m a/p')",
         "'2:07 PM 12:7 a'"},
        {"FORMAT('2024-03-05 14:07:09', 'd-mmm-yy') || ' ' || FORMAT('2024-03-05', 'dddd, mmmm d')",
         "'5-Mar-24 Tuesday, March 5'"},
        {"FORMAT('2024-08-05', 'q') || FORMAT('2024-02-01', 'y') || FORMAT('2024-03-05', 'w')", "'3323'"},
        {"FORMAT(45356, 'yyyy') || ' ' || FORMAT(45356.5, 'hh\"h\"')", "'2024 12h'"},
        {"FORMAT('2024-03-05', 'mmmm') || ' ' || FORMAT('not a date', 'yyyy')", "'March not a date'"},
        {"FORMAT('abc', '>') || FORMAT('ÁBC', '<')", "'ABCábc'"},
        {"FORMAT('abc', '@@@@@') || '|' || FORMAT('abc', '!@@@@@') || '|'", "'  abc|abc  |'"},
        {"FORMAT('12345', '@@-@@@') || ' ' || FORMAT('1', '&&&')", "'12-345 1'"},
    });
}

TEST(Format, SpanishSettings) {
    ScopedRegional es(ado::RegionalSettings::Spanish());
    ExpectEvaluations({
        {"FORMAT(1234.5, 'Currency') || ' ' || FORMAT(1234.5, '#,##0.00')", "'1.234,50 € 1.234,50'"},
        {"FORMAT(-1, 'Yes/No') || ' ' || FORMAT(1, 'True/False')", "'Sí Verdadero'"},
        {"FORMAT('2024-03-05 14:07:09', 'Long Date')", "'martes, 5 de marzo de 2024'"},
        {"FORMAT('2024-03-05 14:07:09', 'dddd d \"de\" mmmm, ddd')", "'martes 5 de marzo, mar'"},
    });
}

// FormatNumber, FormatCurrency, FormatPercent and FormatDateTime: digits (-1 the regional two),
// then leading zero, parentheses and grouping (-1 yes, 0 no, -2 the regional choice).
TEST(Format, TheVbaFormatFunctions) {
    {
        ScopedRegional us(ado::RegionalSettings::UnitedStates());
        ExpectEvaluations({
            {"FORMATNUMBER(1234.567) || ' ' || FORMATNUMBER(1234.567, 1) || ' ' || FORMATNUMBER(-1234.5, 0)",
             "'1,234.57 1,234.6 -1,235'"},
            {"FORMATNUMBER(-0.5, 2, 0, -1, 0) || ' ' || FORMATNUMBER(1234.5, -1, -2, -2, 0)", "'(.50) 1234.50'"},
            {"FORMATCURRENCY(1234.5) || ' ' || FORMATCURRENCY(-3, 0) || ' ' || FORMATCURRENCY(-3, 2, -1, 0)",
             "'$1,234.50 ($3) -$3.00'"},
            {"FORMATPERCENT(0.256) || ' ' || FORMATPERCENT(0.256, 0)", "'25.60% 26%'"},
            {"FORMATDATETIME('2024-03-05 14:07:09') || ' | ' || FORMATDATETIME('2024-03-05', 1) || ' | ' || "
             "FORMATDATETIME('2024-03-05 14:07:09', 2) || ' | ' || FORMATDATETIME('2024-03-05 14:07:09', 4)",
             "'3/5/2024 2:07:09 PM | Tuesday, March 5, 2024 | 3/5/2024 | 14:07'"},
            {"FORMATNUMBER(NULL) IS NULL AND FORMATDATETIME(NULL) IS NULL", "1"},
            {"FORMATNUMBER('abc')", "error: No coinciden los tipos"},
            {"FORMATDATETIME('2024-03-05', 5)", "error: Argumento o llamada a procedimiento no válida"},
        });
    }
    ScopedRegional es(ado::RegionalSettings::Spanish());
    ExpectEvaluations({{"FORMATCURRENCY(-1234.5) || ' ' || FORMATNUMBER(1234.5)", "'-1.234,50 € 1.234,50'"}});
}

// A percentage beyond a double's range overflows (6), in SQL and called directly.
TEST(Format, APercentBeyondTheRangeOverflows) {
    ExpectEvaluations({{"FORMAT(1e308, '0%')", "error: Desbordamiento"}});
    EXPECT_EQ(testsupport::ErrorNumberOf([] { ado::sqlite::detail::FormatValue(ado::Variant(1e308), "0%"); }),
              ado::err::Overflow);
}

}  // namespace
