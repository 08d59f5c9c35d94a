// Which changes by another connection make an edit through the client cursor conflict, under
// each update criterion: the same cases for every provider.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>

#include "support/EmbeddedDb.h"

namespace testsupport {

// `connect` opens a new connection to the database under test, where the table is created.
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

}  // namespace testsupport
