// CDate of text in the regional order, ISO forms, times, two-digit years, and round trips.
#include <gtest/gtest.h>

#include <ctime>

#include "ado/ErrorNumbers.h"
#include "variant_test_util.h"

namespace {

using ado::Variant;
using namespace varianttest;

struct DateCase {
    const char* text;
    double spanish;  // the serial read under Spanish settings, or kFails
    double american;
};
constexpr double kFails = 1e9;

double At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return ado::MakeDate(y, mo, d, h, mi, s).serial; }
double Time(int h, int mi, int s = 0) { return (h * 3600 + mi * 60 + s) / 86400.0; }

double Read(const char* text, const ado::RegionalSettings& rs) {
    double serial = kFails;
    const int error = ErrorNumberOf([&] { serial = Variant(text).ToDate(rs).serial; });
    if (error && error != ado::err::TypeMismatch) ADD_FAILURE() << text << ": error " << error;
    return serial;
}

TEST(DateText, ReadsTheRegionalOrderAndTheFixedForms) {
    const std::time_t now = std::time(nullptr);
    std::tm today{};
    localtime_r(&now, &today);
    const int thisYear = today.tm_year + 1900;
    const DateCase cases[] = {
        {"05/03/2024", At(2024, 3, 5), At(2024, 5, 3)},
        {"  5-3-24  ", At(2024, 3, 5), At(2024, 5, 3)},
        {"1/2/00", At(2000, 2, 1), At(2000, 1, 2)},
        {"1/2/29", At(2029, 2, 1), At(2029, 1, 2)},
        {"1/2/30", At(1930, 2, 1), At(1930, 1, 2)},
        {"25/12/2024", At(2024, 12, 25), At(2024, 12, 25)},  // only one reading is a date
        {"12/25/2024", At(2024, 12, 25), At(2024, 12, 25)},
        {"2024-03-05", At(2024, 3, 5), At(2024, 3, 5)},
        {"2024-03-05T10:20:30", At(2024, 3, 5, 10, 20, 30), At(2024, 3, 5, 10, 20, 30)},
        {"05/03/2024 13:05:09", At(2024, 3, 5, 13, 5, 9), At(2024, 5, 3, 13, 5, 9)},
        {"05/03/2024 1:05:09 PM", At(2024, 3, 5, 13, 5, 9), At(2024, 5, 3, 13, 5, 9)},
        {"29/12/1899 6:00", -1.25, -1.25},
        {"01/01/0100", At(100, 1, 1), At(100, 1, 1)},
        {"13:05", Time(13, 5), Time(13, 5)},
        {"1:05:09 pm", Time(13, 5, 9), Time(13, 5, 9)},
        {"12:00 AM", 0, 0},
        {"29/02/2024", At(2024, 2, 29), At(2024, 2, 29)},
        {"29/02/2023", kFails, kFails},
        {"31/04/2024", kFails, kFails},
        {"13/13/2024", kFails, kFails},
        {"1/1/0099", kFails, kFails},
        {"1/1/12345", kFails, kFails},
        {"05/03/2024 24:00", kFails, kFails},
        {"13:00 PM", kFails, kFails},
        {"2024-03-05T", kFails, kFails},
        {"05/03", kFails, kFails},
        {"05/03/2024 y algo", kFails, kFails},
        {"45000", kFails, kFails},
        {"", kFails, kFails},
        // A month named in English or Spanish, whole or cut, reads the same in both orders.
        {"30 de diciembre de 1991", At(1991, 12, 30), At(1991, 12, 30)},
        {"Dec 30, 1991", At(1991, 12, 30), At(1991, 12, 30)},
        {"December 30, 1991 10:30 PM", At(1991, 12, 30, 22, 30), At(1991, 12, 30, 22, 30)},
        {"30-DIC-91", At(1991, 12, 30), At(1991, 12, 30)},
        {"1991 sept 3", At(1991, 9, 3), At(1991, 9, 3)},
        {"3 de mayo del 2024", At(2024, 5, 3), At(2024, 5, 3)},
        {"Feb 2024", At(2024, 2, 1), At(2024, 2, 1)},
        {"5 de mayo", At(thisYear, 5, 5), At(thisYear, 5, 5)},
        {"Feb 30, 2024", kFails, kFails},
        {"mayo", kFails, kFails},
        {"3 mayo junio 2024", kFails, kFails},
        {"3 2 mayo 2024", kFails, kFails},
        {"lunes, 6 de mayo de 2024", kFails, kFails},
        {"ma 3 2024", kFails, kFails},
    };
    for (const DateCase& c : cases) {
        EXPECT_EQ(Read(c.text, ado::RegionalSettings::Spanish()), c.spanish) << c.text;
        EXPECT_EQ(Read(c.text, ado::RegionalSettings::UnitedStates()), c.american) << c.text;
    }
}

TEST(DateText, TextFormReadsBackToTheSameDate) {
    const double moments[] = {
        At(2024, 3, 5, 13, 5, 9), At(2024, 3, 5), At(1899, 12, 30, 0, 0, 1), At(1899, 12, 29, 6, 0, 0),
        At(1850, 7, 14, 23, 59, 59), At(100, 1, 1, 12, 0, 0), At(9999, 12, 31, 23, 59, 59), Time(0, 0, 1),
        At(1930, 1, 1), At(2029, 12, 31, 0, 30),
    };
    for (const auto& rs : {ado::RegionalSettings::Spanish(), ado::RegionalSettings::UnitedStates()}) {
        for (double serial : moments) {
            const std::string text = Variant(ado::Date{serial}).ToString(rs);
            EXPECT_EQ(Variant(text).ToDate(rs).serial, serial) << text;
        }
    }
}

TEST(DateText, WithoutSettingsTheCurrentOnesApply) {
    ScopedRegional us(ado::RegionalSettings::UnitedStates());
    EXPECT_EQ(Variant("3/5/2024").ToDate().serial, At(2024, 3, 5));
    EXPECT_EQ(Variant("3/5/2024").ConvertTo(ado::VariantType::Date), Variant(ado::Date{At(2024, 3, 5)}));
}

TEST(DateText, SerialsBeforeTheEpochCountTheTimeForwards) {
    EXPECT_EQ(ado::MakeDate(1899, 12, 29, 18).serial, -1.75);
    EXPECT_EQ(ado::MakeDate(1800, 1, 1).serial, -36522);
    EXPECT_EQ(ErrorNumberOf([] { ado::MakeDate(100, 1, 0); }), ado::err::Overflow);     // rolls back into year 99
    EXPECT_EQ(ErrorNumberOf([] { ado::MakeDate(9999, 12, 32); }), ado::err::Overflow);  // rolls into year 10000
}

}  // namespace
