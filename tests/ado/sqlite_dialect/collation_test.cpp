// The ACCESS collation: ICU's comparison of texts, and tables declared with it in a real file.
#include <gtest/gtest.h>

#include "ado/providers/sqlite/text_collation.h"
#include "ado/text/collator.h"
#include "engine.h"
#include "support/TempDir.h"

namespace {

using dialect_test::Engine;

TEST(AccessCollation, ComparesWithoutCaseButWithAccents) {
    struct Case {
        const char* locale;
        const char* a;
        const char* b;
        int expected;
    };
    const Case cases[] = {
        {"es", "BEGO", "bego", 0},
        {"es", "Jose", "José", -1},
        {"es", "Álvaro", "bego", -1},
        {"es", "alvaro", "Álvaro", -1},
        {"es", "nz", "ña", -1},        // Spanish: ñ is a letter after n
        {"en", "nz", "ña", 1},         // elsewhere an n with a tilde
        {"es_ES.UTF-8", "nz", "ña", -1},
        {"C", "nz", "ña", 1},
        {"es", "ΣΟΦΊΑ", "σοφία", 0},
        {"es", "ЖУК", "жук", 0},
        {"es", "Cafe\xCC\x81", "Café", 0},  // a combining accent is the same letter
        {"es", "", "a", -1},
    };
    for (const Case& c : cases) {
        const ado::text::Collator collator(c.locale);
        EXPECT_EQ(collator.Compare(c.a, c.b), c.expected) << c.locale << ": " << c.a << " / " << c.b;
        EXPECT_EQ(collator.Compare(c.b, c.a), -c.expected) << c.locale << ": " << c.b << " / " << c.a;
    }
}

TEST(AccessCollation, VersionNamesTheRulesOfTheLanguage) {
    const std::string spanish = ado::sqlite::AccessCollationVersion("es");
    EXPECT_EQ(ado::sqlite::AccessCollationVersion("es_ES.UTF-8"), spanish);
    EXPECT_EQ(ado::text::Collator("es").Version(), spanish);
    EXPECT_NE(ado::sqlite::AccessCollationVersion("C"), spanish);  // the root rules have no tailoring
}

// What a table declared COLLATE ACCESS does with its texts, read back from the file by a
// second connection.
TEST(AccessCollation, TextColumnsCompareSortAndKeyWithoutCase) {
    testsupport::TempDir dir;
    const std::string file = dir.file("collation.db");
    {
        Engine writer(file.c_str());
        ado::sqlite::RegisterAccessCollation(writer.db(), "es");
        EXPECT_EQ(writer.Exec("CREATE TABLE t (n TEXT COLLATE ACCESS PRIMARY KEY);"
                              "INSERT INTO t VALUES ('bego'), ('Álvaro'), ('ñu'), ('nube'), ('Zoe'), ('alba'),"
                              " ('José'), ('Jose'), ('Ñandú')"),
                  "");
        EXPECT_EQ(writer.Exec("INSERT INTO t VALUES ('BEGO')"), "error: UNIQUE constraint failed: t.n");
        EXPECT_EQ(writer.Exec("INSERT INTO t VALUES ('JOSÉ')"), "error: UNIQUE constraint failed: t.n");
    }
    Engine reader(file.c_str());
    EXPECT_EQ(reader.Query("SELECT n FROM t ORDER BY n"), "error: no such collation sequence: ACCESS");
    ado::sqlite::RegisterAccessCollation(reader.db(), "es");
    EXPECT_EQ(reader.Query("SELECT n FROM t ORDER BY n"),
              "'alba'|'Álvaro'|'bego'|'Jose'|'José'|'nube'|'Ñandú'|'ñu'|'Zoe'");
    EXPECT_EQ(reader.Query("SELECT n FROM t WHERE n = 'BEGO'"), "'bego'");
    EXPECT_EQ(reader.Query("SELECT n FROM t WHERE n > 'ÑANDÚ' ORDER BY n DESC"), "'Zoe'|'ñu'");
    EXPECT_EQ(reader.Query("SELECT count(DISTINCT v) FROM (SELECT n AS v FROM t UNION ALL SELECT upper(n) FROM t)"),
              "9");
    EXPECT_EQ(reader.Query("SELECT count(*) FROM t GROUP BY n COLLATE ACCESS HAVING n = 'jose'"), "1");
    // A new registration replaces the rules (the engine frees the earlier collator); the key
    // keeps the order it was built in until it is rebuilt.
    ado::sqlite::RegisterAccessCollation(reader.db(), "en");
    const std::string words = "SELECT n FROM t WHERE n LIKE 'n*' OR n LIKE 'ñ*' ORDER BY n";
    EXPECT_EQ(reader.Query(words), "'nube'|'Ñandú'|'ñu'");
    EXPECT_EQ(reader.Exec("REINDEX ACCESS"), "");
    EXPECT_EQ(reader.Query(words), "'Ñandú'|'ñu'|'nube'");  // ñ is an n with a tilde in English
}

}  // namespace
