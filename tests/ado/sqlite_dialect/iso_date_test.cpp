// Dates as the engine stores them.
#include <gtest/gtest.h>

#include "ado/providers/sqlite/dialect/iso_date.h"

namespace {

using ado::sqlite::FormatIsoDate;
using ado::sqlite::ParseIsoDate;

TEST(IsoDate, ReadsTheStoredForms) {
    const std::pair<const char*, const char*> accepted[] = {
        {"2024-03-15", "2024-03-15 00:00:00"},
        {"2024-03-15 13:45", "2024-03-15 13:45:00"},
        {"2024-03-15T13:45:10", "2024-03-15 13:45:10"},
        {"2024-03-15 13:45:10.987", "2024-03-15 13:45:10"},
        {"2024-02-29 23:59:59", "2024-02-29 23:59:59"},
        {"1899-12-29 06:00:00", "1899-12-29 06:00:00"},
        {"0100-01-01 00:00:00", "0100-01-01 00:00:00"},
    };
    for (const auto& [text, written] : accepted) {
        const auto d = ParseIsoDate(text);
        ASSERT_TRUE(d) << text;
        EXPECT_EQ(FormatIsoDate(*d), written);
    }
    EXPECT_EQ(ParseIsoDate("1899-12-29 06:00:00")->serial, -1.25);  // the time counts forwards before the epoch
    const char* refused[] = {"",  "2024-3-15", "2023-02-29", "2024-13-01", "2024-03-15 24:00:00",
                             "2024-03-15x", "2024-03-15 13", "2024-03-15 13:45.", "0099-12-31", "15/03/2024"};
    for (const char* text : refused) EXPECT_FALSE(ParseIsoDate(text)) << text;
}

}  // namespace
