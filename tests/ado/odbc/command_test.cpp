// Commands with parameters and stored procedures through ODBC on a real PostgreSQL server.
#include <gtest/gtest.h>

#include "ado/Command.h"
#include "pg_server.h"

using namespace ado;
using testsupport::ErrorNumberOf;
using testsupport::NewCommand;
using testsupport::PgTest;

namespace {

class OdbcCommand : public PgTest {
protected:
    void SetUp() override {
        PgTest::SetUp();
        if (IsSkipped()) return;
        Run("CREATE TABLE precios (id int PRIMARY KEY, articulo varchar(30), precio numeric(10,2), desde timestamp)");
        Run("INSERT INTO precios VALUES (1, 'café', 1.20, '2024-01-01'), (2, 'té', 0.90, '2024-03-01'), "
            "(3, 'cacao', 2.50, '2024-06-01')");
        Run("CREATE FUNCTION con_iva(importe numeric, tipo int) RETURNS numeric "
            "AS 'SELECT round(importe * (100 + tipo) / 100, 2)' LANGUAGE sql");
    }
};

TEST_F(OdbcCommand, ParametersBindInOrderWithTheirTypes) {
    auto cn = Connect();
    auto cmd = NewCommand(cn, "SELECT articulo FROM precios WHERE precio > ? AND desde >= ? AND articulo LIKE ? "
                              "ORDER BY id");
    cmd->Parameters().Refresh();
    ASSERT_EQ(cmd->Parameters().Count(), 3);
    EXPECT_EQ(cmd->Parameters().Item(0)->Name(), "Param1");
    EXPECT_EQ(cmd->Parameters().Item(0)->Type(), adNumeric);
    EXPECT_EQ(cmd->Parameters().Item(1)->Type(), adDBTimeStamp);
    cmd->Parameters().Item(0)->Value(Variant(Decimal{100, 2, false}));
    cmd->Parameters().Item(1)->Value(Variant(MakeDate(2024, 1, 1)));
    cmd->Parameters().Item(2)->Value(Variant("ca%"));
    auto rs = cmd->Execute();
    std::string found;
    for (; !rs->adoEOF(); rs->MoveNext()) found += rs->Fields()[0].Value().AsString() + ";";
    EXPECT_EQ(found, "café;cacao;");

    // Values of every kind go in and come back as they were.
    cmd->CommandText("SELECT ?::int, ?::bigint, ?::float8, ?::numeric, ?::timestamp, ?::text, ?::bytea, ?::boolean, "
                     "?::int IS NULL");
    const Variant values[] = {Variant(int32_t{-7}),          Variant(int64_t{1} << 40),
                              Variant(2.5),                  Variant(Decimal{1234567, 3, true}),
                              Variant(Date{MakeDate(2024, 2, 29, 23, 59, 59).serial + 0.5 / 86400}),
                              Variant("Ñu «comillas» '"),    Variant(Binary{0, 1, 254}),
                              Variant(true),                 Variant(Variant::Null)};
    cmd->Parameters().Refresh();
    for (int i = 0; i < 9; ++i) cmd->Parameters().Item(i)->Value(values[i]);
    auto echo = cmd->Execute();
    for (int i = 0; i < 8; ++i) EXPECT_EQ(echo->Fields()[i].Value(), values[i]) << "parameter " << i + 1;
    EXPECT_EQ(echo->Fields()[8].Value(), Variant(true));

    EXPECT_EQ(ErrorNumberOf([&] { NewCommand(cn, "SELECT * FROM precios WHERE id = ?")->Execute(); }),
              err::NoValueForParameters);
}

TEST_F(OdbcCommand, StoredProceduresAndPreparedStatements) {
    auto cn = Connect();
    auto proc = NewCommand(cn, "con_iva", adCmdStoredProc);
    // A namesake in another schema is not the procedure the name runs.
    const std::string other = schema_ + "_otro";
    admin_->Execute("CREATE SCHEMA " + other);
    admin_->Execute("CREATE FUNCTION " + other + ".con_iva(a int, b int, c int) RETURNS int AS 'SELECT 1' LANGUAGE sql");
    proc->Parameters().Refresh();
    admin_->Execute("DROP SCHEMA " + other + " CASCADE");
    ASSERT_EQ(proc->Parameters().Count(), 2);
    EXPECT_EQ(proc->Parameters().Item(0)->Name(), "importe");
    EXPECT_EQ(proc->Parameters().Item(1)->Type(), adInteger);
    proc->Parameters().Item("importe")->Value(Variant(Decimal{1000, 2, false}));
    proc->Parameters().Item("tipo")->Value(Variant(int32_t{21}));
    EXPECT_EQ(proc->Execute()->Fields()[0].Value().ToString(), "12.1");

    auto update = NewCommand(cn, "UPDATE precios SET precio = precio + ? WHERE id <= ?");
    update->Prepared(true);
    for (int32_t limit : {1, 2, 3}) {
        int32_t affected = 0;
        SafeArray values({{0, 2}});
        values.At({0}) = Variant(Decimal{10, 2, false});
        values.At({1}) = Variant(limit);
        update->Execute(&affected, Variant(values));
        EXPECT_EQ(affected, limit);
    }
    EXPECT_EQ(Scalar("SELECT string_agg(precio::text, ' ' ORDER BY id) FROM precios"), Variant("1.50 1.10 2.60"));
}

}  // namespace
