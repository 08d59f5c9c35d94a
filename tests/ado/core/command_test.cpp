// Commands with parameters and the stored queries of the embedded engine.
#include <gtest/gtest.h>

#include "support/EmbeddedDb.h"

using namespace ado;
using testsupport::EmbeddedDb;
using testsupport::ErrorNumberOf;

namespace {

class CommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        cn = db.Connect();
        cn->Execute("CREATE TABLE Art (Id LONG PRIMARY KEY, Nombre TEXT(20), Precio CURRENCY, Alta DATETIME)");
        cn->Execute("INSERT INTO Art VALUES (1, 'pan', 1.2, #1/10/2024#)");
        cn->Execute("INSERT INTO Art VALUES (2, 'vino', 7.5, #2/10/2024#)");
        cn->Execute("INSERT INTO Art VALUES (3, 'queso', 12, #3/10/2024#)");
    }
    CommandPtr MakeCommand(const std::string& text, CommandTypeEnum type = adCmdText) {
        auto cmd = Command::Create();
        cmd->ActiveConnection(cn);
        cmd->CommandText(text);
        cmd->CommandType(type);
        return cmd;
    }
    std::vector<int32_t> Ids(const RecordsetPtr& rs) {
        std::vector<int32_t> ids;
        for (; !rs->adoEOF(); rs->MoveNext()) ids.push_back(rs->Fields()["Id"].Value().ToInt32());
        return ids;
    }

    EmbeddedDb db;
    ConnectionPtr cn;
};

}  // namespace

TEST_F(CommandTest, RefreshReportsDeclaredParametersAsWritten) {
    struct Case {
        const char* text;
        std::vector<std::pair<std::string, DataTypeEnum>> expected;
    } cases[] = {
        {"PARAMETERS [Precio mínimo] Currency, Desde DateTime, [Nombre] Text(10); SELECT * FROM Art "
         "WHERE Precio >= [Precio mínimo] AND Alta >= Desde AND Nombre <> [Nombre]",
         {{"[Precio mínimo]", adCurrency}, {"Desde", adDate}, {"[Nombre]", adVarWChar}}},
        {"SELECT * FROM Art WHERE Id > [Desde Id] AND Nombre LIKE [Patron]",
         {{"Desde Id", adVariant}, {"Patron", adVariant}}},
        {"SELECT * FROM Art WHERE Id > ? AND Precio < ?", {{"Param1", adVariant}, {"Param2", adVariant}}},
    };
    for (const auto& c : cases) {
        auto cmd = MakeCommand(c.text);
        cmd->Parameters().Refresh();
        ASSERT_EQ(cmd->Parameters().Count(), static_cast<int32_t>(c.expected.size())) << c.text;
        for (size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(cmd->Parameters().Item(static_cast<int32_t>(i))->Name(), c.expected[i].first) << c.text;
            EXPECT_EQ(cmd->Parameters().Item(static_cast<int32_t>(i))->Type(), c.expected[i].second) << c.text;
        }
    }
}

TEST_F(CommandTest, ValuesBindByNameWhateverTheirOrder) {
    auto cmd = MakeCommand("PARAMETERS Desde DateTime, Tope Currency; SELECT Id FROM Art WHERE Precio < Tope AND "
                           "Alta >= Desde ORDER BY Id");
    cmd->Parameters().Append(cmd->CreateParameter("Tope", adCurrency, adParamInput, 0, Variant(10.0)));
    cmd->Parameters().Append(cmd->CreateParameter("Desde", adDate, adParamInput, 0, Variant(MakeDate(2024, 2, 1))));
    EXPECT_EQ(Ids(cmd->Execute()), (std::vector<int32_t>{2}));
    cmd->Parameters().Item("tope")->Value(Variant(100));
    EXPECT_EQ(Ids(cmd->Execute()), (std::vector<int32_t>{2, 3}));

    auto positional = MakeCommand("SELECT Id FROM Art WHERE Id >= ? AND Nombre <> ? ORDER BY Id");
    SafeArray values({{0, 2}});
    values.At({0}) = Variant(2);
    values.At({1}) = Variant("queso");
    EXPECT_EQ(Ids(positional->Execute(nullptr, Variant(values))), (std::vector<int32_t>{2}));
    EXPECT_EQ(ErrorNumberOf([&] { positional->Execute(); }), err::NoValueForParameters);
}

TEST_F(CommandTest, PreparedCommandsRunAgainWithNewValues) {
    auto cmd = MakeCommand("UPDATE Art SET Precio = Precio + [Suma] WHERE Id = [Codigo]");
    cmd->Prepared(true);
    cmd->Parameters().Refresh();
    int32_t affected = 0;
    for (int id = 1; id <= 3; ++id) {
        cmd->Parameters().Item("Suma")->Value(Variant(10));
        cmd->Parameters().Item("Codigo")->Value(Variant(id));
        cmd->Execute(&affected);
        EXPECT_EQ(affected, 1);
    }
    EXPECT_EQ(cn->Execute("SELECT SUM(Precio) FROM Art")->Fields()[0].Value().ToDouble(), 50.7);
}

TEST_F(CommandTest, StoredQueriesAreCreatedListedRunAndDropped) {
    cn->Execute("CREATE PROCEDURE ArtCaros ([Precio minimo] Currency) AS SELECT Id FROM Art WHERE Precio >= "
                "[Precio minimo] ORDER BY Id");
    cn->Execute("CREATE VIEW ArtBaratos AS SELECT Id, Nombre FROM Art WHERE Precio < 10");
    auto list = cn->Execute("SELECT Nombre, Tipo FROM MSysConsultas ORDER BY Nombre");
    EXPECT_EQ(list->Fields()[0].Value().ToString(), "ArtBaratos");
    list->MoveNext();
    EXPECT_EQ(list->Fields()[1].Value().ToString(), "PROCEDURE");

    auto proc = MakeCommand("ArtCaros", adCmdStoredProc);
    proc->Parameters().Refresh();
    ASSERT_EQ(proc->Parameters().Count(), 1);
    EXPECT_EQ(proc->Parameters().Item(0)->Name(), "[Precio minimo]");
    proc->Parameters().Item(0)->Value(Variant(7));
    EXPECT_EQ(Ids(proc->Execute()), (std::vector<int32_t>{2, 3}));

    // A recordset opened over the command is a real client cursor.
    auto rs = Recordset::Create();
    rs->CursorLocation(adUseClient);
    rs->Open(proc, adOpenStatic, adLockReadOnly);
    rs->MoveLast();
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Fields()["Id"].Value().ToInt32(), 3);

    EXPECT_EQ(Ids(cn->Execute("SELECT * FROM ArtBaratos ORDER BY Id")), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(Ids(MakeCommand("ArtBaratos", adCmdStoredProc)->Execute()), (std::vector<int32_t>{1, 2}));

    cn->Execute("DROP PROCEDURE ArtCaros");
    cn->Execute("DROP VIEW ArtBaratos");
    EXPECT_EQ(ErrorNumberOf([&] { proc->Execute(); }), err::ItemNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { cn->Execute("DROP PROCEDURE ArtCaros"); }), err::ItemNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { cn->Execute("SELECT * FROM ArtBaratos"); }), err::TableNotFound);
}
