// The Access LIKE registered on a real engine: wildcards, lists, case, NOT LIKE, ESCAPE;
// ALike, whose wildcards are ANSI's only, through the dialect.
#include "access_db.h"
#include "engine.h"

namespace {

using dialect_test::Engine;

struct LikeCase {
    const char* text;
    const char* pattern;
    bool matches;
};

constexpr LikeCase kLikeCases[] = {
    {"abc", "a*", true},        {"abc", "*c", true},         {"abc", "*b", false},
    {"abc", "a?c", true},       {"ac", "a?c", false},        {"a1c", "a#c", true},
    {"abc", "a#c", false},      {"Bx", "[a-c]x", true},      {"bx", "[!a-c]x", false},
    {"dx", "[!a-c]x", true},    {"abc", "%b_", true},        {"abc", "a%", true},
    {"árboles", "ÁRBOL*", true}, {"AÑO", "*ñ*", true},       {"Ÿ", "ÿ", true},
    {"a*b", "a[*]b", true},     {"axb", "a[*]b", false},     {"a?b", "a[?]b", true},
    {"ab", "a[]b", true},       {"", "", true},              {"", "*", true},
    {"", "?", false},           {"M", "M*", true},           {"xyz", "*x*y*z*", true},
    {"aaab", "*a*ab", true},    {"a-b", "a[-]b", true},      {"a]b", "a]b", true},
    {"é", "[a-z]", false},      {"é", "[à-ÿ]", true},        {"12", "##", true},
};

TEST(AccessLike, PatternsOnTheEngine) {
    Engine e;
    for (const LikeCase& c : kLikeCases) {
        const std::string expr = std::string("'") + c.text + "' LIKE '" + c.pattern + "'";
        EXPECT_EQ(e.Eval(expr), c.matches ? "-1" : "0") << expr;
        EXPECT_EQ(e.Eval("NOT (" + expr + ")"), c.matches ? "0" : "1") << expr;
    }
}

TEST(AccessLike, NullsEscapeAndBadPatterns) {
    dialect_test::ExpectEvaluations({
        {"NULL LIKE 'a'", "NULL"},
        {"'a' LIKE NULL", "NULL"},
        {"123 LIKE '1#3'", "-1"},
        {"'a*b' LIKE 'a\\*b' ESCAPE '\\'", "-1"},
        {"'axb' LIKE 'a\\*b' ESCAPE '\\'", "0"},
        {"'x' LIKE '[ab'", "error: Cadena de modelo no válida"},
        {"'x' LIKE 'x' ESCAPE 'ab'", "error: ESCAPE expression must be a single character"},
    });
}

TEST(AccessLike, FiltersRowsWithOneCompiledPattern) {
    Engine e;
    e.Exec("CREATE TABLE t (n TEXT); INSERT INTO t VALUES ('Ana'), ('ana'), ('Luis'), (NULL), ('Álvaro')");
    EXPECT_EQ(e.Query("SELECT n FROM t WHERE n LIKE 'a*' ORDER BY rowid"), "'Ana'|'ana'");
    EXPECT_EQ(e.Query("SELECT n FROM t WHERE n NOT LIKE '[a]*' ORDER BY rowid"), "'Luis'|'Álvaro'");
}

TEST(AccessLike, AlikeTakesOnlyAnsiWildcards) {
    dialect_test::AccessDb db;
    db.Setup({"CREATE TABLE W (Id COUNTER PRIMARY KEY, S TEXT(10))", "INSERT INTO W (S) VALUES ('a*b')",
              "INSERT INTO W (S) VALUES ('A1B')", "INSERT INTO W (S) VALUES ('a?b')", "INSERT INTO W (S) VALUES ('a#b')",
              "INSERT INTO W (S) VALUES ('ab')"});
    dialect_test::ExpectRows(db, {
        {"SELECT S FROM W WHERE S ALIKE 'a_b' ORDER BY Id", "Text('a*b')|Text('A1B')|Text('a?b')|Text('a#b')"},
        {"SELECT S FROM W WHERE S ALIKE 'a%' ORDER BY Id",
         "Text('a*b')|Text('A1B')|Text('a?b')|Text('a#b')|Text('ab')"},
        {"SELECT S FROM W WHERE S ALIKE 'a*b' OR S ALIKE 'a?b' OR S ALIKE 'a#b' ORDER BY Id",
         "Text('a*b')|Text('a?b')|Text('a#b')"},
        {"SELECT S FROM W WHERE S ALIKE 'a[0-9#]b' ORDER BY Id", "Text('A1B')|Text('a#b')"},
        {"SELECT S FROM W WHERE S NOT ALIKE '%b' ORDER BY Id", ""},
        {"SELECT Count(*) FROM W WHERE S ALIKE Null", "Long(0)"},
    });
}

}  // namespace
