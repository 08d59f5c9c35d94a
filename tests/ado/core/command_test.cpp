// Commands with parameters and the stored queries of the embedded engine.
#include <gtest/gtest.h>

#include <algorithm>

#include "ado/engine_access.h"
#include "ado/provider.h"
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
        return testsupport::NewCommand(cn, text, type);
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

// Reading the collection of a fresh command asks the provider, as ADO does; a collection the
// client appended to, or a command without connection or text, is left as it is.
TEST_F(CommandTest, ParametersAreDescribedAtTheFirstRead) {
    cn->Execute("CREATE PROCEDURE ArtDesde (Desde DateTime, Tope Currency) AS SELECT Id FROM Art WHERE Alta >= "
                "Desde AND Precio < Tope ORDER BY Id");
    auto proc = MakeCommand("ArtDesde", adCmdStoredProc);
    proc->Parameters().Item("Tope")->Value(Variant(100));
    EXPECT_EQ(proc->Parameters().Count(), 2);
    proc->Parameters().Item(0)->Value(Variant(MakeDate(2024, 2, 1)));
    EXPECT_EQ(Ids(proc->Execute()), (std::vector<int32_t>{2, 3}));

    auto appended = MakeCommand("ArtDesde", adCmdStoredProc);
    appended->Parameters().Append(appended->CreateParameter("Desde", adDate, adParamInput, 0, Variant(MakeDate(2024, 2, 1))));
    EXPECT_EQ(appended->Parameters().Count(), 1);

    auto loose = Command::Create();
    EXPECT_EQ(loose->Parameters().Count(), 0);
    loose->CommandText("SELECT Id FROM Art WHERE Id > [Desde Id]");
    EXPECT_EQ(loose->Parameters().Count(), 0) << "no connection yet";
    loose->ActiveConnection(cn);
    ASSERT_EQ(loose->Parameters().Count(), 1);
    EXPECT_EQ(loose->Parameters().Item(0)->Name(), "Desde Id");
}

TEST_F(CommandTest, ValuesBindByNameWhateverTheirOrder) {
    auto cmd = MakeCommand("PARAMETERS Desde DateTime, Tope Currency; SELECT Id FROM Art WHERE Precio < Tope AND "
                           "Alta >= Desde ORDER BY Id");
    cmd->Parameters().Append(cmd->CreateParameter("Tope", adCurrency, adParamInput, 0, Variant(10.0)));
    cmd->Parameters().Append(cmd->CreateParameter("Desde", adDate, adParamInput, 0, Variant(MakeDate(2024, 2, 1))));
    EXPECT_EQ(Ids(cmd->Execute()), (std::vector<int32_t>{2}));
    cmd->Parameters().Item("tope")->Value(Variant(100));
    EXPECT_EQ(Ids(cmd->Execute()), (std::vector<int32_t>{2, 3}));

    // Values given to one run are not kept for the next, prepared or not.
    for (bool prepared : {false, true}) {
        auto positional = MakeCommand("SELECT Id FROM Art WHERE Id >= ? AND Nombre <> ? ORDER BY Id");
        positional->Prepared(prepared);
        SafeArray values({{0, 2}});
        values.At({0}) = Variant(2);
        values.At({1}) = Variant("queso");
        EXPECT_EQ(Ids(positional->Execute(nullptr, Variant(values))), (std::vector<int32_t>{2})) << prepared;
        EXPECT_EQ(ErrorNumberOf([&] { positional->Execute(); }), err::NoValueForParameters) << prepared;
    }
}

// Values given by position go to the parameters in the order Refresh lists them: a declaration's
// order, whatever order its names appear in the statement; names found as unknown columns, in
// the order they appear.
TEST_F(CommandTest, ValuesByPositionFollowTheDeclaration) {
    cn->Execute("CREATE PROCEDURE ArtSube (pId Long, pCuanto Currency) AS UPDATE Art SET Precio = Precio + pCuanto "
                "WHERE Id = pId");
    auto sube = MakeCommand("ArtSube", adCmdStoredProc);
    SafeArray values({{0, 2}});
    values.At({0}) = Variant(2);
    values.At({1}) = Variant(100);
    sube->Execute(nullptr, Variant(values));
    // Appended under names of the client's own, the values still go by position.
    auto appended = MakeCommand("ArtSube", adCmdStoredProc);
    appended->Parameters().Append(appended->CreateParameter("a", adInteger, adParamInput, 0, Variant(3)));
    appended->Parameters().Append(appended->CreateParameter("b", adCurrency, adParamInput, 0, Variant(1000)));
    appended->Execute();
    auto precios = cn->Execute("SELECT Precio FROM Art ORDER BY Id");
    std::vector<double> seen;
    for (; !precios->adoEOF(); precios->MoveNext()) seen.push_back(precios->Fields()[0].Value().ToDouble());
    EXPECT_EQ(seen, (std::vector<double>{1.2, 107.5, 1012}));
    // A value named for one parameter never stands in for another the command left out.
    auto partial = MakeCommand("ArtSube", adCmdStoredProc);
    partial->Parameters().Append(partial->CreateParameter("pCuanto", adCurrency, adParamInput, 0, Variant(5)));
    EXPECT_EQ(ErrorNumberOf([&] { partial->Execute(); }), err::NoValueForParameters);

    // The engine meets the derived table's unknown name first; the values follow the text.
    auto implicit = MakeCommand("SELECT Marca, Id FROM (SELECT Id FROM Art WHERE Id > Desde) ORDER BY Id");
    implicit->Parameters().Refresh();
    ASSERT_EQ(implicit->Parameters().Count(), 2);
    EXPECT_EQ(implicit->Parameters().Item(0)->Name(), "Marca");
    values.At({0}) = Variant("x");
    values.At({1}) = Variant(1);
    auto rs = implicit->Execute(nullptr, Variant(values));
    EXPECT_EQ(rs->Fields()[0].Value().ToString() + ":" + rs->Fields()[1].Value().ToString(), "x:2");
}

// EXECUTE runs a stored query with literal values for its declared parameters, in order.
TEST_F(CommandTest, ExecuteRunsAStoredQueryWithValues) {
    cn->Execute("CREATE PROCEDURE ArtSube (pId Long, pCuanto Currency) AS UPDATE Art SET Precio = Precio + pCuanto "
                "WHERE Id = pId");
    cn->Execute("CREATE PROCEDURE [Art Desde] (pNombre Text(20), pDesde DateTime, pVivo YesNo) AS SELECT Id FROM Art "
                "WHERE (Alta >= pDesde AND pVivo) OR Nombre = pNombre ORDER BY Id");
    int32_t affected = -1;
    cn->Execute("EXECUTE ArtSube 2, -0.5;", &affected);
    EXPECT_EQ(affected, 1);
    EXPECT_EQ(cn->Execute("SELECT Precio FROM Art WHERE Id = 2")->Fields()[0].Value().ToDouble(), 7.0);
    EXPECT_EQ(Ids(cn->Execute("execute [Art Desde] 'pan', #2/10/2024#, True")), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(Ids(cn->Execute("EXECUTE [Art Desde] Null, #2/10/2024#, No")), (std::vector<int32_t>{}));
    auto message = [&](const char* sql) {
        try {
            cn->Execute(sql);
        } catch (const Error& e) {
            return std::to_string(e.Number()) + " " + e.Description();
        }
        return std::string("no error");
    };
    EXPECT_EQ(message("EXECUTE ArtSube 2, Precio"),
              "-2147217900 Error de sintaxis en la instrucción SQL: los parámetros de EXECUTE son valores: 'Precio' no "
              "lo es.");
    EXPECT_EQ(message("EXECUTE ArtSube 2 3"),
              "-2147217900 Error de sintaxis en la instrucción SQL: los parámetros de EXECUTE se separan con comas.");
    EXPECT_EQ(message("EXECUTE"),
              "-2147217900 Error de sintaxis en la instrucción SQL: falta el nombre de la consulta después de EXECUTE.");
    EXPECT_EQ(message("EXECUTE NoEsta 1"),
              "3265 No se encontró el elemento en la colección correspondiente al nombre o número solicitado. (no "
              "existe la consulta 'NoEsta')");
    EXPECT_EQ(cn->Execute("SELECT Sum(Precio) FROM Art")->Fields()[0].Value().ToDouble(), 20.2) << "nothing else ran";
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

// --- Prepared commands: compiled once, run again ---------------------------------------------

TEST_F(CommandTest, TheEmbeddedEngineCompilesStatementTextOnly) {
    const struct {
        const char* text;
        CommandTypeEnum type;
        bool compiled;
    } cases[] = {
        {"UPDATE Art SET Precio = ? WHERE Id = ?", adCmdText, true},
        {"SELECT * FROM Art WHERE Id = [Codigo]", adCmdUnknown, true},
        {"Art", adCmdUnknown, false},  // a table or a stored query: looked up on each run
        {"Art", adCmdTable, false},
        {"CREATE PROCEDURE Caros AS SELECT * FROM Art", adCmdText, false},
        {"DROP VIEW Baratos", adCmdUnknown, false},
        {"SELECT * FROM Art IN 'otra.db'", adCmdText, false},  // attaches another file
        {"-- nada", adCmdText, false},
    };
    for (const auto& c : cases) {
        provider::Statement st;
        st.text = c.text;
        st.type = c.type;
        EXPECT_EQ(detail::EngineAccess::Session(*cn).Prepare(st) != nullptr, c.compiled) << c.text;
    }
}

TEST_F(CommandTest, PreparedStatementsRunWithTheValuesAndRowsOfEachRun) {
    auto insert = MakeCommand("INSERT INTO Art (Id, Nombre, Precio) VALUES (?, ?, ?)");
    auto select = MakeCommand("SELECT Id, Nombre FROM Art WHERE Precio >= [Desde] ORDER BY Id", adCmdUnknown);
    for (const auto& cmd : {insert, select}) {
        cmd->Prepared(true);
        cmd->Parameters().Refresh();
    }
    for (int32_t id = 10; id < 60; ++id) {
        insert->Parameters().Item(0)->Value(Variant(id));
        insert->Parameters().Item(1)->Value(Variant("art " + std::to_string(id)));
        insert->Parameters().Item(2)->Value(Variant(100.0 + id));
        int32_t affected = 0;
        EXPECT_EQ(insert->Execute(&affected, Variant(), adExecuteNoRecords), nullptr);
        EXPECT_EQ(affected, 1);
        // The rows written so far priced from two below this one: this run's and the two before.
        select->Parameters().Item("Desde")->Value(Variant(98.0 + id));
        std::vector<std::string> expected, found;
        for (int32_t k = std::max(10, id - 2); k <= id; ++k) expected.push_back("art " + std::to_string(k));
        // Every other run opens a recordset on the command instead of executing it.
        RecordsetPtr rs = id % 2 ? Recordset::Create() : select->Execute();
        if (id % 2) rs->Open(select, adOpenStatic, adLockOptimistic);
        for (; !rs->adoEOF(); rs->MoveNext()) found.push_back(rs->Fields()["Nombre"].Value().ToString());
        EXPECT_EQ(found, expected) << id;
    }
}

TEST_F(CommandTest, ChangingTextTypeOrConnectionRunsTheNewStatement) {
    EmbeddedDb other;
    auto otherCn = other.Connect();
    otherCn->Execute("CREATE TABLE Art (Id LONG PRIMARY KEY, Nombre TEXT(20))");
    otherCn->Execute("INSERT INTO Art VALUES (2, 'otro vino')");

    auto cmd = MakeCommand("SELECT Nombre FROM Art WHERE Id = ?");
    cmd->Prepared(true);
    cmd->Parameters().Append(cmd->CreateParameter("Id", adInteger, adParamInput, 0, Variant(1)));
    auto first = [&] { return cmd->Execute()->Fields()[0].Value().ToString(); };
    EXPECT_EQ(first(), "pan");
    cmd->CommandText("SELECT Nombre FROM Art WHERE Id = ? + 1");
    EXPECT_EQ(first(), "vino");
    cmd->ActiveConnection(otherCn);
    EXPECT_EQ(first(), "otro vino");
    cmd->ActiveConnection(cn);
    cmd->CommandText("SELECT Nombre FROM Art WHERE Id = ? + 2");
    EXPECT_EQ(first(), "queso");
    cmd->CommandText("Art");
    cmd->CommandType(adCmdTable);
    EXPECT_EQ(first(), "1");
    cmd->Prepared(false);
    cmd->CommandText("SELECT Nombre FROM Art WHERE Id = ?");
    cmd->CommandType(adCmdText);
    EXPECT_EQ(first(), "pan");
}

TEST_F(CommandTest, APreparedRunThatFailsReportsAsAnUnpreparedOneAndTheNextRunWorks) {
    for (bool prepared : {false, true}) {
        auto cmd = MakeCommand("INSERT INTO Art (Id, Nombre) VALUES ([Codigo], 'nuevo')");
        cmd->Prepared(prepared);
        cmd->Parameters().Append(cmd->CreateParameter("Codigo", adInteger, adParamInput, 0, Variant(2)));
        cn->Errors().Clear();
        EXPECT_EQ(ErrorNumberOf([&] { cmd->Execute(); }), err::DuplicateKey) << prepared;
        ASSERT_EQ(cn->Errors().Count(), 1);
        EXPECT_EQ(cn->Errors().Item(0).Number(), err::DuplicateKey);
        cmd->Parameters().Item(0)->Value(Variant(prepared ? 11 : 10));
        int32_t affected = 0;
        cmd->Execute(&affected);
        EXPECT_EQ(affected, 1) << prepared;
    }
    EXPECT_EQ(Ids(cn->Execute("SELECT Id FROM Art WHERE Nombre = 'nuevo' ORDER BY Id")),
              (std::vector<int32_t>{10, 11}));
}

// The connection's limit stops a statement run once; a command's own limit stops its compiled
// statement, which runs again afterwards.
TEST_F(CommandTest, TheTimeLimitInterruptsLongStatementsPreparedOrNot) {
    auto counting = [](const std::string& limit) {
        return "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < " + limit +
               ") SELECT COUNT(*) FROM c";
    };
    cn->CommandTimeout(1);
    EXPECT_EQ(ErrorNumberOf([&] { cn->Execute(counting("1000000000")); }), err::TimeLimit);
    EXPECT_EQ(cn->Errors().Item(0).Number(), err::TimeLimit);

    auto cmd = MakeCommand(counting("?"));
    cmd->Prepared(true);
    cmd->CommandTimeout(1);
    cmd->Parameters().Append(cmd->CreateParameter("Tope", adBigInt));
    auto run = [&](int64_t limit) {
        cmd->Parameters().Item(0)->Value(Variant(limit));
        return cmd->Execute()->Fields()[0].Value().ToInt64();
    };
    EXPECT_EQ(run(10), 10);
    EXPECT_EQ(ErrorNumberOf([&] { run(int64_t{1} << 50); }), err::TimeLimit);
    EXPECT_EQ(run(5), 5);
}

TEST(PreparedCommand, RunsAgainAfterItsConnectionReopensTheFile) {
    EmbeddedDb db("clave");
    db.Connect()->Execute("CREATE TABLE Cuenta (Id LONG PRIMARY KEY, N LONG)");
    db.Connect()->Execute("INSERT INTO Cuenta VALUES (1, 0)");
    auto cn = Connection::Create();
    cn->Mode(adModeShareExclusive);
    cn->ConnectionTimeout(1);
    auto open = [&](const std::string& password) { cn->Open(testsupport::JetConnectionString(db.file(), password)); };
    open("clave");
    auto cmd = testsupport::NewCommand(cn, "UPDATE Cuenta SET N = N + [Suma] WHERE Id = 1");
    cmd->Prepared(true);
    cmd->Parameters().Append(cmd->CreateParameter("Suma", adInteger, adParamInput, 0, Variant(1)));
    auto n = [&] { return testsupport::Scalar(cn, "SELECT N FROM Cuenta").ToInt32(); };

    cmd->Execute();
    // Reopened alone: the compiled statement must not keep the old session's hold on the file.
    cn->Close();
    open("clave");
    cmd->Execute();
    EXPECT_EQ(n(), 2);
    // A new password re-encrypts the file and the session reopens it.
    cn->Properties().Item("Jet OLEDB:Database Password").Value(Variant("nueva"));
    cmd->Execute();
    EXPECT_EQ(n(), 3);
    cn->Close();
    EXPECT_EQ(ErrorNumberOf([&] { cmd->Execute(); }), err::InvalidConnection);
    open("nueva");
    cmd->Execute();
    EXPECT_EQ(n(), 4);
}
