// The ACCESS collation: ICU's comparison of texts by language, and the version that names its rules.
#include <gtest/gtest.h>

#include "ado/providers/sqlite/text_collation.h"
#include "ado/text/collator.h"

namespace {

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

}  // namespace
