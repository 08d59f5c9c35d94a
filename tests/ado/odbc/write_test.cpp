// Writes through the client cursor on a real PostgreSQL server: update criteria against a
// second connection's changes, read-back of inserts, integrity failures and batches.
#include <gtest/gtest.h>

#include <map>

#include "pg_server.h"
#include "support/SharedScenarios.h"

using namespace ado;
using testsupport::ErrorNumberOf;
using testsupport::PgTest;

namespace {

class OdbcWrite : public PgTest {
protected:
    void SetUp() override {
        PgTest::SetUp();
        if (IsSkipped()) return;
        Run("CREATE TABLE cuentas (id serial PRIMARY KEY, titular varchar(40) NOT NULL UNIQUE, saldo numeric(12,2), "
            "nota varchar(40), alta timestamp DEFAULT '2024-01-01 09:30:00', estado varchar(10) DEFAULT 'nueva')");
        Run("INSERT INTO cuentas (titular, saldo, nota) VALUES ('Ana', 100, 'x'), ('Íñigo', 200, 'y'), "
            "('Zoe', 300, 'z')");
    }

    RecordsetPtr Editable(const ConnectionPtr& cn, LockTypeEnum lock = adLockOptimistic) const {
        return Query(cn, "SELECT id, titular, saldo, nota, alta, estado FROM cuentas ORDER BY id", lock);
    }
};

TEST_F(OdbcWrite, UpdateCriteriaDecideWhichChangesByOthersConflict) {
    testsupport::ExpectUpdateCriteriaConflicts([&] { return Connect(); });
}

// Every column in the criteria: dates, times, fractions of seconds, binaries and nulls must
// compare equal to what was read, or the row would seem changed by another user.
TEST_F(OdbcWrite, RowsOfEveryTypeAreFoundAgain) {
    Run("CREATE TABLE agenda (id serial PRIMARY KEY, dia date, hora time, cuando timestamp(3), foto bytea, "
        "importe numeric(10,4), real4 real, activo boolean, nota text)");
    Run("INSERT INTO agenda (dia, hora, cuando, foto, importe, real4, activo, nota) VALUES ('2024-05-06', "
        "'07:08:09', '2024-05-06 07:08:09.123', '\\x0102', 1.0001, 0.3, true, 'ñ'), "
        "(NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)");
    auto cn = Connect();
    auto rs = Query(cn, "SELECT * FROM agenda ORDER BY id", adLockOptimistic);
    rs->Properties().Item("Update Criteria").Value(Variant(int32_t{adCriteriaAllCols}));
    rs->Fields()["nota"].Value(Variant("cambiada"));
    rs->Update();
    rs->MoveNext();
    rs->Fields()["foto"].Value(Variant(Binary{9}));
    rs->Fields()["hora"].Value(Variant(MakeDate(1899, 12, 30, 23, 0, 0)));
    rs->Update();
    rs->MoveFirst();
    rs->Fields()["foto"].Value(Variant(Variant::Null));
    rs->Fields()["dia"].Value(Variant(Variant::Null));
    rs->Update();
    EXPECT_EQ(Scalar("SELECT string_agg(concat_ws('|', dia, hora, foto, nota), ' / ' ORDER BY id) FROM agenda"),
              Variant("07:08:09|cambiada / 23:00:00|\\x09"));
}

TEST_F(OdbcWrite, InsertsReadBackSerialsAndDefaults) {
    auto cn = Connect();
    auto rs = Editable(cn);
    rs->AddNew();
    rs->Fields()["titular"].Value(Variant("Óscar"));
    rs->Fields()["saldo"].Value(Variant(12.5));
    rs->Update();
    EXPECT_EQ(rs->Fields()["id"].Value(), Variant(int32_t{4}));
    EXPECT_EQ(rs->Fields()["estado"].Value(), Variant("nueva"));
    EXPECT_EQ(rs->Fields()["alta"].Value(), Variant(MakeDate(2024, 1, 1, 9, 30, 0)));
    // The row just added can be changed and deleted by its key.
    rs->Fields()["nota"].Value(Variant("después"));
    rs->Update();
    EXPECT_EQ(Scalar("SELECT nota FROM cuentas WHERE titular = 'Óscar'"), Variant("después"));
    rs->Delete();
    EXPECT_EQ(Scalar("SELECT count(*) FROM cuentas"), Variant(int64_t{3}));
}

TEST_F(OdbcWrite, IntegrityFailuresCarryTheirNumbers) {
    Run("CREATE TABLE movimientos (id serial PRIMARY KEY, cuenta int NOT NULL REFERENCES cuentas(id) "
        "ON UPDATE RESTRICT, importe numeric(12,2))");
    Run("INSERT INTO movimientos (cuenta, importe) VALUES (1, 10)");
    auto cn = Connect();
    struct Case {
        const char* sql;
        int32_t number;
        const char* sqlState;
    } cases[] = {
        {"INSERT INTO cuentas (id, titular) VALUES (1, 'Otra')", err::DuplicateKey, "23505"},
        {"INSERT INTO movimientos (cuenta) VALUES (99)", err::IntegrityOnChange, "23503"},
        {"UPDATE movimientos SET cuenta = 99", err::IntegrityOnChange, "23503"},
        {"DELETE FROM cuentas WHERE id = 1", err::IntegrityOnDelete, "23503"},
        {"UPDATE cuentas SET id = 50 WHERE id = 1", err::IntegrityOnDelete, "23503"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorNumberOf([&] { cn->Execute(c.sql); }), c.number) << c.sql;
        ASSERT_EQ(cn->Errors().Count(), 1) << c.sql;
        EXPECT_EQ(cn->Errors().Item(0).SQLState(), c.sqlState) << c.sql;
        EXPECT_EQ(cn->Errors().Item(0).Source(), "Microsoft OLE DB Provider for ODBC Drivers");
    }
    // The same failures through the cursor, which keeps the edit for a retry.
    auto rs = Editable(cn);
    rs->AddNew();
    rs->Fields()["titular"].Value(Variant("Íñigo"));
    EXPECT_EQ(ErrorNumberOf([&] { rs->Update(); }), err::DuplicateKey);
    EXPECT_EQ(rs->EditMode(), adEditAdd);
    rs->CancelUpdate();
    rs->MoveFirst();
    EXPECT_EQ(ErrorNumberOf([&] { rs->Delete(); }), err::IntegrityOnDelete);
}

TEST_F(OdbcWrite, BatchWritesTheRowsThatDoNotConflict) {
    auto cn = Connect();
    auto rs = Editable(cn, adLockBatchOptimistic);
    for (int i = 0; !rs->adoEOF(); ++i, rs->MoveNext())
        rs->Fields()["saldo"].Value(Variant(int32_t{1000 + i}));
    rs->AddNew();
    rs->Fields()["titular"].Value(Variant("Zoe"));  // taken
    rs->AddNew();
    rs->Fields()["titular"].Value(Variant("Nueva"));
    Connect()->Execute("UPDATE cuentas SET saldo = 5 WHERE id = 2");

    // One concurrency conflict and one duplicate key: the other rows are written all the same.
    EXPECT_EQ(ErrorNumberOf([&] { rs->UpdateBatch(); }), err::ErrorsOccurred);
    EXPECT_EQ(cn->Errors().Count(), 2);
    EXPECT_EQ(Scalar("SELECT string_agg(id || ':' || coalesce(saldo::text, ''), ' ' ORDER BY id) FROM cuentas"),
              Variant("1:1000.00 2:5.00 3:1002.00 5:"));
    rs->Filter(Variant(int32_t{adFilterConflictingRecords}));
    ASSERT_EQ(rs->RecordCount(), 2);
    rs->MoveFirst();
    EXPECT_TRUE(rs->Status() & adRecConcurrencyViolation);
    EXPECT_EQ(rs->Fields()["id"].Value(), Variant(int32_t{2}));
    rs->MoveNext();
    EXPECT_TRUE(rs->Status() & adRecIntegrityViolation);
}

// Thousands of inserts go as parameter arrays: a duplicate in the middle fails alone, and every
// written row reads its serial back.
TEST_F(OdbcWrite, LargeInsertBatchFindsTheFailingRowAndReadsBackEverySerial) {
    constexpr int kRows = 2500, kDuplicate = 1234;
    auto cn = Connect();
    auto rs = Editable(cn, adLockBatchOptimistic);
    for (int i = 0; i < kRows; ++i) {
        rs->AddNew();
        rs->Fields()["titular"].Value(Variant(i == kDuplicate ? std::string("Zoe") : "T" + std::to_string(i)));
        rs->Fields()["saldo"].Value(i % 7 ? Variant(int32_t{i}) : Variant(Variant::Null));
    }
    EXPECT_EQ(ErrorNumberOf([&] { rs->UpdateBatch(); }), err::ErrorsOccurred);
    ASSERT_EQ(cn->Errors().Count(), 1);
    EXPECT_EQ(cn->Errors().Item(0).Number(), err::DuplicateKey);
    EXPECT_EQ(Scalar("SELECT count(*) FROM cuentas"), Variant(int64_t{3 + kRows - 1}));

    // Each new row holds the serial the server gave that very row.
    auto stored = Query(Connect(), "SELECT id, titular FROM cuentas");
    std::map<std::string, Variant> idOf;
    for (; !stored->adoEOF(); stored->MoveNext())
        idOf[stored->Fields()["titular"].Value().ToString()] = stored->Fields()["id"].Value();
    rs->Filter(Variant(int32_t{adFilterNone}));
    rs->MoveFirst();
    rs->Move(3);
    for (int i = 0; i < kRows; ++i, rs->MoveNext()) {
        const std::string titular = rs->Fields()["titular"].Value().ToString();
        if (i == kDuplicate) {
            EXPECT_TRUE(rs->Status() & adRecNew);
            EXPECT_TRUE(rs->Status() & adRecIntegrityViolation);
            EXPECT_TRUE(rs->Fields()["id"].Value().IsNull() || rs->Fields()["id"].Value().IsEmpty());
        } else {
            ASSERT_EQ(rs->Fields()["id"].Value(), idOf.at(titular)) << titular;
            EXPECT_EQ(rs->Fields()["estado"].Value(), Variant("nueva")) << titular;
        }
    }
}

}  // namespace
