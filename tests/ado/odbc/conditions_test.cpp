// What drivers report, mapped to the library's numbers; values between C forms and cells.
#include <gtest/gtest.h>

#include "ado/providers/odbc/cell_values.h"
#include "ado/providers/odbc/diagnostics.h"

using namespace ado;
using namespace ado::odbc;

namespace {

// PostgreSQL's own states (23505, 23503, 55P03, 57014) are met on the real server by the write and
// transaction tests; here, what no server of the suite reports.
TEST(OdbcConditions, DriverStatesBecomeTheLibrarysNumbers) {
    struct Case {
        const char* state;
        int32_t native;
        const char* message;
        Operation op;
        int32_t number;
    } cases[] = {
        {"23000", 2627, "Violation of PRIMARY KEY constraint", Operation::Insert, err::DuplicateKey},
        {"23000", 2601, "Cannot insert duplicate key row", Operation::Update, err::DuplicateKey},
        {"23000", 515, "Cannot insert the value NULL", Operation::Insert, err::Fail},
        {"23000", 547, "The DELETE statement conflicted with the REFERENCE constraint", Operation::Delete,
         err::IntegrityOnDelete},
        {"23000", 547, "The UPDATE statement conflicted with the REFERENCE constraint", Operation::Update,
         err::IntegrityOnDelete},
        {"23000", 547, "The INSERT statement conflicted with the FOREIGN KEY constraint", Operation::Insert,
         err::IntegrityOnChange},
        {"40P01", 1, "deadlock detected", Operation::Update, err::LockedByUser},
        {"40001", 1205, "was deadlocked on lock resources", Operation::Other, err::LockedByUser},
        {"HY000", 1222, "Lock request time out period exceeded", Operation::Update, err::LockedByUser},
        {"HYT00", 0, "Timeout expired", Operation::Other, err::TimeLimit},
        {"42P01", 1, "relation \"x\" does not exist", Operation::Other, err::TableNotFound},
        {"42S02", 208, "Invalid object name 'x'", Operation::Other, err::TableNotFound},
        {"42601", 1, "syntax error at or near", Operation::Other, err::SyntaxError},
        {"28P01", 1, "password authentication failed", Operation::Other, err::InvalidPassword},
        {"08001", 0, "could not connect to server", Operation::Other, err::Fail},
        {"22012", 1, "division by zero", Operation::Other, err::Fail},
    };
    for (const auto& c : cases) {
        const DiagRecord r{c.state, c.native, c.message};
        EXPECT_EQ(Lookup(Classify(r, c.op, false)).number, c.number) << c.state << " " << c.message;
    }
    // A driver the driver manager cannot load: a missing provider for the SQL Server names.
    const DiagRecord missing{"IM002", 0, "Data source name not found"};
    EXPECT_EQ(Lookup(Classify(missing, Operation::Other, true)).number, err::ProviderNotFound);
    EXPECT_EQ(Lookup(Classify(missing, Operation::Other, false)).number, err::Fail);
    EXPECT_EQ(OperationOf("  (delete from t)"), Operation::Delete);
    EXPECT_EQ(OperationOf("WITH x AS (DELETE FROM t) SELECT 1"), Operation::Other);
}

TEST(OdbcCellValues, DecimalText) {
    struct Case {
        const char* text;
        std::optional<Decimal> decimal;
        std::optional<int64_t> currency;
    } cases[] = {
        {"-1234.5600", Decimal{12345600, 4, true}, -12345600},
        {"0.00", Decimal{0, 2, false}, 0},
        {"-0.5", Decimal{5, 1, true}, -5000},
        {"$1,234.56", Decimal{123456, 2, false}, 12345600},
        {"1.23456", Decimal{123456, 5, false}, 12346},
        {"79228162514264337593543950335", Decimal{(static_cast<unsigned __int128>(1) << 96) - 1, 0, false}, {}},
        {"79228162514264337593543950336", {}, {}},
        // 28 decimals at most, the rest rounded: 0.1234567890123456789012345679
        {"0.12345678901234567890123456789",
         Decimal{static_cast<unsigned __int128>(1234567890123456789ULL) * 1000000000ULL + 12345679, 28, false}, 1235},
        {"NaN", {}, {}},
        {"", {}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDecimalText(c.text), c.decimal) << c.text;
        EXPECT_EQ(ParseCurrencyText(c.text), c.currency) << c.text;
    }
    EXPECT_EQ(DecimalText(Variant(Decimal{12345, 3, true})), "-12.345");
    EXPECT_EQ(DecimalText(Variant(Currency{-12345})), "-1.2345");
}

TEST(OdbcCellValues, TimestampsKeepMicroseconds) {
    const SQL_TIMESTAMP_STRUCT cases[] = {
        {2024, 2, 29, 13, 45, 10, 250'000'000}, {1899, 12, 30, 0, 0, 0, 0},  {1899, 12, 29, 6, 0, 0, 1'000},
        {100, 1, 1, 23, 59, 59, 0},             {9999, 12, 31, 12, 0, 0, 0}, {1970, 1, 1, 0, 0, 0, 123'456'000},
        {9999, 12, 31, 23, 59, 59, 999'900'000},
    };
    for (const auto& ts : cases) {
        const auto serial = TimestampToSerial(ts);
        ASSERT_TRUE(serial) << ts.year;
        const SQL_TIMESTAMP_STRUCT back = SerialToTimestamp(*serial);
        EXPECT_EQ(std::tie(back.year, back.month, back.day, back.hour, back.minute, back.second, back.fraction),
                  std::tie(ts.year, ts.month, ts.day, ts.hour, ts.minute, ts.second, ts.fraction))
            << ts.year << "-" << ts.month << "-" << ts.day;
    }
    EXPECT_EQ(*TimestampToSerial({1899, 12, 29, 6, 0, 0, 0}), -1.25);
    EXPECT_FALSE(TimestampToSerial({10000, 1, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(TimestampToSerial({99, 12, 31, 0, 0, 0, 0}));
}

}  // namespace
