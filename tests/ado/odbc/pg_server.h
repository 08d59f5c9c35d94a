// The PostgreSQL server the test script starts (BREZAL_TEST_PG, an ODBC connection string).
// Each test gets a schema of its own, so that tests may run side by side on one database.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <ostream>
#include <string>

#include "ado/ado.h"
#include "support/EmbeddedDb.h"
#include "support/PgServer.h"

namespace ado {
// Failure messages show a Variant's kind and text rather than its bytes.
inline void PrintTo(const Variant& v, std::ostream* os) {
    *os << "kind " << static_cast<int>(v.Type()) << ": ";
    if (v.IsNull() || v.IsEmpty() || v.Type() == VariantType::Array || v.Type() == VariantType::Object) return;
    *os << (v.Type() == VariantType::Binary ? std::to_string(v.AsBinary().size()) + " bytes" : v.ToString());
}
}  // namespace ado

namespace testsupport {

class PgTest : public ::testing::Test {
protected:
    void SetUp() override {
        BREZAL_NEEDS_PG();
        base_ = PgBase();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        schema_ = "t_" + std::to_string(::getpid()) + "_";
        for (char c : std::string(info->test_suite_name()) + "_" + info->name())
            schema_ += std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(c)) : '_';
        admin_ = Open(base_);
        admin_->Execute("DROP SCHEMA IF EXISTS " + schema_ + " CASCADE");
        admin_->Execute("CREATE SCHEMA " + schema_);
    }

    void TearDown() override {
        if (admin_) admin_->Execute("DROP SCHEMA IF EXISTS " + schema_ + " CASCADE");
    }

    // The connection string of this test's schema, as MSDASQL takes it.
    std::string ConnectionString() const { return base_ + "ConnSettings=SET search_path TO " + schema_ + ";"; }

    ado::ConnectionPtr Connect(ado::CursorLocationEnum location = ado::adUseClient, int32_t timeout = 15) const {
        auto cn = ado::Connection::Create();
        cn->CursorLocation(location);
        cn->ConnectionTimeout(timeout);
        cn->Open(ConnectionString());
        return cn;
    }

    // Statements of the test's own set-up, on the test's schema.
    void Run(const std::string& sql) const { Connect()->Execute(sql); }

    ado::RecordsetPtr Query(const ado::ConnectionPtr& cn, const std::string& sql,
                            ado::LockTypeEnum lock = ado::adLockReadOnly) const {
        auto rs = ado::Recordset::Create();
        rs->Open(sql, cn, ado::adOpenStatic, lock, ado::adCmdText);
        return rs;
    }

    ado::Variant Scalar(const std::string& sql) const { return testsupport::Scalar(Connect(), sql); }

    static ado::ConnectionPtr Open(const std::string& cs) {
        auto cn = ado::Connection::Create();
        cn->Open(cs);
        return cn;
    }

    std::string base_;
    std::string schema_;
    ado::ConnectionPtr admin_;
};

}  // namespace testsupport
