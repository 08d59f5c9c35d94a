// Scenarios every provider must pass the same way, on a database `connect` opens new connections
// to: each creates the table it works on.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>

#include "support/EmbeddedDb.h"

namespace testsupport {

// Which changes by another connection make an edit through the client cursor conflict, under
// each update criterion.
inline void ExpectUpdateCriteriaConflicts(const std::function<ado::ConnectionPtr()>& connect) {
    using namespace ado;
    auto cn = connect();
    cn->Execute("CREATE TABLE Criterios (Id INTEGER PRIMARY KEY, Nombre VARCHAR(20), Ciudad VARCHAR(20))");
    enum Other { SameColumn, OtherColumn, Deleted };
    const char* const others[] = {"UPDATE Criterios SET Ciudad = 'Vigo'", "UPDATE Criterios SET Nombre = 'Eva'",
                                  "DELETE FROM Criterios"};
    const struct {
        int32_t criteria;
        Other other;
        bool conflict;
    } cases[] = {
        {adCriteriaKey, SameColumn, false},     {adCriteriaKey, OtherColumn, false},
        {adCriteriaKey, Deleted, true},         {adCriteriaAllCols, SameColumn, true},
        {adCriteriaAllCols, OtherColumn, true}, {adCriteriaAllCols, Deleted, true},
        {adCriteriaUpdCols, SameColumn, true},  {adCriteriaUpdCols, OtherColumn, false},
        {adCriteriaUpdCols, Deleted, true},
        {adCriteriaTimeStamp, OtherColumn, true},  // without a row-version column: every column
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE("criteria " + std::to_string(c.criteria) + ", other change: " + others[c.other]);
        cn->Execute("DELETE FROM Criterios");
        cn->Execute("INSERT INTO Criterios (Id, Nombre, Ciudad) VALUES (1, 'Ana', 'León')");
        // The criterion may be given before Open or after it.
        auto rs = Recordset::Create();
        rs->CursorLocation(adUseClient);
        if (i % 2 == 0) rs->Properties().Item("Update Criteria").Value(Variant(c.criteria));
        rs->Open("SELECT * FROM Criterios", cn, adOpenStatic, adLockOptimistic, adCmdText);
        if (i % 2 == 1) rs->Properties().Item("Update Criteria").Value(Variant(c.criteria));
        connect()->Execute(others[c.other]);
        rs->Fields()["Ciudad"].Value("Soria");
        EXPECT_EQ(ErrorNumberOf([&] { rs->Update(); }), c.conflict ? err::ConcurrencyViolation : 0);
        EXPECT_EQ(Scalar(connect(), "SELECT COUNT(*) FROM Criterios WHERE Ciudad = 'Soria'").ToInt32(),
                  c.conflict ? 0 : 1);
        if (c.conflict) {
            EXPECT_EQ(rs->EditMode(), adEditInProgress) << "the change stays pending";
            EXPECT_EQ(rs->Fields()["Ciudad"].OriginalValue().ToString(), "León");
            EXPECT_EQ(cn->Errors().Item(0).Number(), err::ConcurrencyViolation);
            rs->CancelUpdate();
        }
    }
}

// Nested levels are savepoints: a failure inside a level is undone with it, the outer levels go
// on, and nothing is seen by other connections before the outer commit.
inline void ExpectNestedTransactionsAreSavepoints(const std::function<ado::ConnectionPtr()>& connect) {
    using namespace ado;
    auto cn = connect();
    auto other = connect();
    cn->Execute("CREATE TABLE Niveles (Id INTEGER PRIMARY KEY)");
    cn->Execute("INSERT INTO Niveles VALUES (1)");
    auto sum = [](const ConnectionPtr& c) { return Scalar(c, "SELECT SUM(Id) FROM Niveles").ToInt32(); };
    EXPECT_EQ(ErrorNumberOf([&] { cn->CommitTrans(); }), err::InvalidTransaction);
    EXPECT_EQ(cn->BeginTrans(), 1);
    cn->Execute("INSERT INTO Niveles VALUES (2)");
    EXPECT_EQ(cn->BeginTrans(), 2);
    cn->Execute("INSERT INTO Niveles VALUES (4)");
    EXPECT_EQ(cn->BeginTrans(), 3);
    EXPECT_EQ(ErrorNumberOf([&] { cn->Execute("INSERT INTO Niveles VALUES (1)"); }), err::DuplicateKey);
    cn->Execute("INSERT INTO Niveles VALUES (8)");
    cn->RollbackTrans();  // undoes 8 only
    cn->CommitTrans();    // keeps 4 inside level 1
    EXPECT_EQ(sum(cn), 7);
    EXPECT_EQ(sum(other), 1);
    EXPECT_EQ(cn->BeginTrans(), 2);
    cn->Execute("DELETE FROM Niveles WHERE Id = 2");
    cn->RollbackTrans();
    EXPECT_EQ(ErrorNumberOf([&] { cn->Close(); }), err::InTransaction);
    cn->CommitTrans();
    EXPECT_EQ(sum(other), 7);
    cn->BeginTrans();
    cn->Execute("DELETE FROM Niveles");
    cn->RollbackTrans();
    EXPECT_EQ(sum(other), 7);
}

// Fields of a join know their base table and column, whether they are part of the key, are
// declared nullable or can be written; a computed column has no base. The join is returned for
// what each provider adds.
inline ado::RecordsetPtr ExpectBaseColumnsAndKeys(const std::function<ado::ConnectionPtr()>& connect) {
    using namespace ado;
    auto cn = connect();
    cn->Execute("CREATE TABLE lineas (pedido INTEGER NOT NULL, linea INTEGER NOT NULL, producto VARCHAR(20) NOT NULL, "
                "PRIMARY KEY (pedido, linea))");
    cn->Execute("CREATE TABLE suelta (a INTEGER, b VARCHAR(5))");
    cn->Execute("INSERT INTO lineas VALUES (1, 1, 'x')");
    cn->Execute("INSERT INTO suelta VALUES (1, 'y')");
    auto rs = OpenRecordset(cn, "SELECT l.producto AS articulo, l.linea, l.pedido, s.b, l.linea * 2 AS doble "
                                "FROM lineas l, suelta s", adOpenStatic, adLockReadOnly);
    const struct {
        const char* field;
        const char* baseTable;
        const char* baseColumn;
        bool key, nullable, updatable;
    } cases[] = {
        {"articulo", "lineas", "producto", false, false, true}, {"linea", "lineas", "linea", true, false, true},
        {"pedido", "lineas", "pedido", true, false, true},       {"b", "suelta", "b", false, true, true},
        {"doble", nullptr, nullptr, false, false, false},
    };
    auto name = [](const char* text) { return text ? Variant(text) : Variant(Variant::Null); };
    for (const auto& c : cases) {
        Field& f = rs->Fields()[c.field];
        EXPECT_EQ(f.Properties().Item("BASETABLENAME").Value(), name(c.baseTable)) << c.field;
        EXPECT_EQ(f.Properties().Item("BASECOLUMNNAME").Value(), name(c.baseColumn)) << c.field;
        EXPECT_EQ(f.Properties().Item("KEYCOLUMN").Value(), Variant(c.key)) << c.field;
        EXPECT_EQ((f.Attributes() & adFldKeyColumn) != 0, c.key) << c.field;
        if (c.baseTable) {  // whether a computed value is nullable is the driver's guess
            EXPECT_EQ((f.Attributes() & adFldIsNullable) != 0, c.nullable) << c.field;
        }
        EXPECT_EQ((f.Attributes() & adFldUpdatable) != 0, c.updatable) << c.field;
    }
    EXPECT_EQ(rs->Fields()["doble"].Value().ToInt32(), 2);
    return rs;
}

}  // namespace testsupport
