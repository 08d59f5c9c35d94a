// A real database file reached through the embedded provider, and the values of a query's
// first column written with their kind, so that a test asserts type and value together:
// Long(5), Double(1.5), Currency(12.3456), Date(2024-03-15 10:30:00), Text('a'), Null.
#pragma once

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "ado/ado.h"
#include "support/EmbeddedDb.h"

namespace dialect_test {

inline std::string Shown(const ado::Variant& v) {
    using ado::VariantType;
    char buffer[64];
    switch (v.Type()) {
        case VariantType::Empty: return "Empty";
        case VariantType::Null: return "Null";
        case VariantType::Bool: return v.AsBool() ? "Boolean(True)" : "Boolean(False)";
        case VariantType::I2: return "Integer(" + std::to_string(v.AsI2()) + ")";
        case VariantType::I4: return "Long(" + std::to_string(v.AsI4()) + ")";
        case VariantType::I8: return "BigInt(" + std::to_string(v.AsI8()) + ")";
        case VariantType::R4:
            std::snprintf(buffer, sizeof buffer, "Single(%.9g)", v.AsR4());
            return buffer;
        case VariantType::R8:
            std::snprintf(buffer, sizeof buffer, "Double(%.17g)", v.AsR8());
            return buffer;
        case VariantType::Currency: {
            const int64_t s = v.AsCurrency().scaled;
            const uint64_t m = s < 0 ? 0 - static_cast<uint64_t>(s) : static_cast<uint64_t>(s);
            std::snprintf(buffer, sizeof buffer, "Currency(%s%llu.%04llu)", s < 0 ? "-" : "",
                          static_cast<unsigned long long>(m / 10000), static_cast<unsigned long long>(m % 10000));
            return buffer;
        }
        case VariantType::Decimal: {
            ado::RegionalSettings invariant = ado::RegionalSettings::UnitedStates();
            return "Decimal(" + v.ToString(invariant) + ")";
        }
        case VariantType::Date: {
            const ado::DateParts p = ado::SplitDate(v.AsDate());
            std::snprintf(buffer, sizeof buffer, "Date(%04d-%02d-%02d %02d:%02d:%02d)", p.year, p.month, p.day, p.hour,
                          p.minute, p.second);
            return buffer;
        }
        case VariantType::String: return "Text('" + v.AsString() + "')";
        case VariantType::Binary: return "Binary(" + std::to_string(v.AsBinary().size()) + ")";
        default: return "?";
    }
}

// An array of parameter values, as Command.Execute takes them.
inline ado::Variant Values(std::initializer_list<ado::Variant> values) {
    ado::SafeArray a({{0, static_cast<int32_t>(values.size())}});
    int32_t i = 0;
    for (const auto& v : values) a.At({i++}) = v;
    return ado::Variant(std::move(a));
}

class AccessDb {
public:
    AccessDb() : cn_(db_.Connect()) {}

    // The first column of every row, joined with '|'; a failure as "error N: description".
    std::string Rows(const std::string& sql) {
        try {
            auto rs = ado::Recordset::Create();
            rs->Open(sql, cn_, ado::adOpenStatic, ado::adLockReadOnly, ado::adCmdText);
            std::string out;
            for (; !rs->adoEOF(); rs->MoveNext()) out += (out.empty() ? "" : "|") + Shown(rs->Fields()[0].Value());
            return out;
        } catch (const ado::Error& e) {
            return "error " + std::to_string(e.Number()) + ": " + e.Description();
        }
    }

    // Runs a statement; the records it affected, or "error N: description".
    std::string Run(const std::string& sql) {
        try {
            int32_t affected = 0;
            cn_->Execute(sql, &affected);
            return std::to_string(affected);
        } catch (const ado::Error& e) {
            return "error " + std::to_string(e.Number()) + ": " + e.Description();
        }
    }

    void Setup(std::initializer_list<const char*> statements) {
        for (const char* sql : statements) {
            const std::string result = Run(sql);
            ASSERT_EQ(result.rfind("error", 0), std::string::npos) << sql << ": " << result;
        }
    }

    const ado::ConnectionPtr& cn() const { return cn_; }
    testsupport::EmbeddedDb& db() { return db_; }

private:
    testsupport::EmbeddedDb db_;
    ado::ConnectionPtr cn_;
};

struct QueryCase {
    const char* sql;
    const char* rows;
};

inline void ExpectRows(AccessDb& db, std::initializer_list<QueryCase> cases) {
    for (const QueryCase& c : cases) EXPECT_EQ(db.Rows(c.sql), c.rows) << c.sql;
}

}  // namespace dialect_test
