// The text functions through a real engine.
#include "engine.h"

namespace {

using dialect_test::ExpectEvaluations;

TEST(TextFunctions, CasePiecesSearchAndCodes) {
    ExpectEvaluations({
        {"UCASE('árbol ñu ÿ')", "'ÁRBOL ÑU Ÿ'"},
        {"LCASE('ÀÉÎÕÜ ŁŽ ΑΩ Ж')", "'àéîõü łž αω ж'"},
        {"UCASE(NULL)", "NULL"},
        {"hex(UCASE(x'61FF62'))", "'41FF42'"},  // a byte that is no UTF-8 stays as it is
        {"MID('Quimera', 2, 3)", "'uim'"},
        {"MID('Quimera', 5)", "'era'"},
        {"MID('ñandú', 2, 2)", "'an'"},
        {"MID('abc', 10)", "''"},
        {"MID(12345, 2, 2)", "'23'"},
        {"MID('abc', 0)", "error: Argumento o llamada a procedimiento no válida"},
        {"MID('abc', 1, -1)", "error: Argumento o llamada a procedimiento no válida"},
        {"MID('abc', NULL)", "error: Uso no válido de Null"},
        {"\"LEFT\"('camión', 5)", "'camió'"},
        {"\"RIGHT\"('camión', 3)", "'ión'"},
        {"\"RIGHT\"('ab', 5)", "'ab'"},
        {"\"LEFT\"('a', -1)", "error: Argumento o llamada a procedimiento no válida"},
        {"LEN('camión')", "6"},
        {"LEN(12345)", "5"},
        {"LEN(NULL)", "NULL"},
        {"TRIM('  a b  ') || '|' || LTRIM('  a ') || '|' || RTRIM(' a  ')", "'a b|a | a'"},
        {"STRREVERSE('añob')", "'boña'"},
        {"SPACE(3) || '|'", "'   |'"},
        {"STRING(3, '*x')", "'***'"},
        {"STRING(2, 65) || STRING(1, 321)", "'AAA'"},
        {"STRING(NULL, 'x')", "NULL"},
        {"UCASE$(NULL)", "error: Uso no válido de Null"},
        {"\"LEFT$\"('abc', 1) || MID$('abc', 2)", "'abc'"},
        {"INSTR('Quimera', 'MER')", "4"},
        {"INSTR(5, 'abcabc', 'b')", "5"},
        {"INSTR(1, 'aBc', 'b', 0)", "0"},
        {"INSTR(1, 'aBc', 'B', 0)", "2"},
        {"INSTR(1, 'ÁRBOL', 'árbol', 1)", "1"},
        {"INSTR('ΟΔΟΣ οδος', 'ος')", "3"},
        {"INSTR('abc', '')", "1"},
        {"INSTR(3, 'abc', '')", "3"},
        {"INSTR('', 'a')", "0"},
        {"INSTR(9, 'abc', 'a')", "0"},
        {"INSTR(NULL, 'a')", "NULL"},
        {"INSTR(NULL, 'abc', 'a')", "error: Uso no válido de Null"},
        {"INSTR(0, 'abc', 'a')", "error: Argumento o llamada a procedimiento no válida"},
        {"ASC('A')", "65"},
        {"ASC('€uro')", "128"},  // codes of the Windows Latin page
        {"ASC('é')", "233"},
        {"ASC('')", "error: Argumento o llamada a procedimiento no válida"},
        {"ASC(NULL)", "error: Uso no válido de Null"},
        {"CHR(65) || CHR(128) || CHR(233) || CHR(159)", "'A€éŸ'"},
        {"CHR(256)", "error: Argumento o llamada a procedimiento no válida"},
        {"ASCW('€') || ',' || CHRW(8364)", "'8364,€'"},
    });
}

// Letter case through ICU, for all of Unicode and by the regional settings' language.
// (UCASE('straße') was 'STRAßE' while case was a hand-written Latin table.)
TEST(TextFunctions, LetterCaseOfEveryScriptByLanguage) {
    struct Case {
        const char* language;
        const char* expression;
        const char* expected;
    };
    const Case cases[] = {
        {"es", "UCASE('straße')", "'STRASSE'"},
        {"es", "LCASE('ΟΔΟΣ ΣΑΣ')", "'οδος σας'"},  // final sigma
        {"es", "UCASE('οδος')", "'ΟΔΟΣ'"},
        {"es", "LCASE('ЖУК Ёж')", "'жук ёж'"},
        {"es", "UCASE('ıi')", "'II'"},
        {"tr", "UCASE('ıi')", "'Iİ'"},
        {"tr", "LCASE('Iİ')", "'ıi'"},
        {"es", "INSTR('DIŞ', 'ı')", "0"},
        {"tr", "INSTR('DIŞ', 'ı')", "2"},
        {"tr", "'İSTANBUL' LIKE 'is*'", "-1"},
        {"es", "'İSTANBUL' LIKE 'is*'", "0"},
        {"es", "'ΣΟΦΊΑ' LIKE 'σοφ[ί]α'", "-1"},
        {"es", "STRCONV('hELLO wORLD', 3)", "'Hello World'"},
        {"es", "STRCONV('ана-мария  o''neil' || char(9) || 'ßa', 3)", "'Ана-мария  O'neil	Ssa'"},
        {"es", "STRCONV('ÁrBol', 1) || STRCONV('ÁrBol', 2)", "'ÁRBOLárbol'"},
        {"es", "STRCONV(NULL, 1)", "NULL"},
        {"es", "STRCONV('a', 4)", "error: Argumento o llamada a procedimiento no válida"},
        {"es", "STRCONV('a', NULL)", "error: Uso no válido de Null"},
        {"es", "FORMAT('Ñandú', '>') || FORMAT('ΣΑΣ', '<')", "'ÑANDÚσας'"},
    };
    for (const Case& c : cases) {
        ado::RegionalSettings rs = ado::RegionalSettings::Spanish();
        rs.language = c.language;
        dialect_test::ScopedRegional scope(rs);
        dialect_test::Engine e;
        EXPECT_EQ(e.Eval(c.expression), c.expected) << c.language << ": " << c.expression;
    }
}

}  // namespace
