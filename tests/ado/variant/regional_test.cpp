// RegionalSettings read from real locales, compiled into a temporary folder with localedef.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/TempDir.h"
#include "variant_test_util.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

using ado::Variant;

// glibc's newlocale keeps its parsed copy of LOCPATH for good; not a leak of ours.
ado::RegionalSettings FromCompiledLocale(const char* name) {
#if defined(__SANITIZE_ADDRESS__)
    __lsan::ScopedDisabler glibcKeepsLocpath;
#endif
    return ado::RegionalSettings::FromLocale(name);
}

// Compiles `name` (e.g. "es_ES") as UTF-8 under dir and points LOCPATH at it; false when
// the machine has no localedef or no locale sources.
bool CompileLocale(const testsupport::TempDir& dir, const std::string& name) {
    const std::string cmd = "localedef -i " + name + " -f UTF-8 " + dir.file(name + ".UTF-8") + " >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) return false;
    setenv("LOCPATH", dir.path().c_str(), 1);
    return true;
}

struct LocaleCase {
    const char* locale;
    const char* number;  // 1234.5
    const char* moment;  // 2024-03-05 13:05:09
    const char* yes;
    const char* language;
};

TEST(Regional, FromLocaleReadsNumbersDatesAndWords) {
    testsupport::TempDir dir;
    const LocaleCase cases[] = {
        {"es_ES", "1234,5", "05/03/2024 13:05:09", "Verdadero", "es"},
        {"en_US", "1234.5", "03/05/2024 01:05:09 PM", "True", "en"},
        {"de_DE", "1234,5", "05.03.2024 13:05:09", "True", "de"},
    };
    for (const LocaleCase& c : cases) {
        if (!CompileLocale(dir, c.locale)) GTEST_SKIP() << "localedef cannot build " << c.locale;
        const auto rs = FromCompiledLocale((std::string(c.locale) + ".UTF-8").c_str());
        EXPECT_EQ(Variant(1234.5).ToString(rs), c.number) << c.locale;
        EXPECT_EQ(Variant(ado::MakeDate(2024, 3, 5, 13, 5, 9)).ToString(rs), c.moment) << c.locale;
        EXPECT_EQ(Variant(true).ToString(rs), c.yes) << c.locale;
        EXPECT_EQ(rs.language, c.language) << c.locale;
        EXPECT_EQ(Variant(c.moment).ToDate(rs), Variant(ado::MakeDate(2024, 3, 5, 13, 5, 9))) << c.locale;
    }
    unsetenv("LOCPATH");
}

TEST(Regional, EnvironmentChoosesEachCategory) {
    testsupport::TempDir dir;
    if (!CompileLocale(dir, "es_ES")) GTEST_SKIP() << "localedef cannot build es_ES";
    // Each test runs with its settings installed, so the environment can be changed here.
    const char* const names[] = {"LC_ALL", "LANG", "LC_TIME", "LC_NUMERIC", "LC_MESSAGES"};
    const char* const values[] = {"", "C", "", "es_ES.UTF-8", "es_ES.UTF-8"};
    for (int i = 0; i < 5; ++i) setenv(names[i], values[i], 1);
    const auto rs = FromCompiledLocale(nullptr);
    EXPECT_EQ(Variant(1.5).ToString(rs), "1,5");
    EXPECT_EQ(Variant(false).ToString(rs), "Falso");
    EXPECT_EQ(rs.language, "es");  // from the messages category
    EXPECT_EQ(Variant(ado::MakeDate(2024, 3, 5)).ToString(rs), "03/05/2024");  // time from "C"
    for (const char* name : names) unsetenv(name);
    unsetenv("LOCPATH");
}

TEST(Regional, UnknownLocaleGivesTheCSettings) {
    const auto rs = ado::RegionalSettings::FromLocale("xx_NOWHERE.UTF-8");
    varianttest::ScopedRegional c(rs);
    EXPECT_EQ(varianttest::ErrorNumberOf([] { Variant("1,5").ToDouble(); }), 13);  // no grouping in "C"
    EXPECT_EQ(Variant(ado::MakeDate(2024, 3, 5, 13, 5, 9)).ToString(rs), "03/05/2024 13:05:09");
    EXPECT_EQ(Variant(true).ToString(rs), "True");
    EXPECT_EQ(rs.language, "");  // the C settings have no language
}

}  // namespace
