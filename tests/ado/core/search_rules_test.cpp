// Find, Filter, Sort and Optimize: ADO's documented rules, refusals with their numbers, edits
// inside filtered and sorted views, and field indexes kept right through edits, additions and
// deletions.
#include <gtest/gtest.h>

#include "support/EmbeddedDb.h"

using namespace ado;
using testsupport::EmbeddedDb;
using testsupport::ErrorNumberOf;

namespace {

class SearchRules : public ::testing::Test {
protected:
    void SetUp() override {
        cn = db.Connect();
        cn->Execute("CREATE TABLE Clientes (Id LONG PRIMARY KEY, Nombre TEXT(40), Ciudad TEXT(40), Alta DATETIME, "
                    "Importe CURRENCY)");
        const char* rows[] = {
            "1, 'Ana', 'Sevilla', #1/5/2024#, 120",     "2, 'José', 'Ávila', #2/5/2024#, 80",
            "3, 'O''Hara', 'Madrid', #3/5/2024 10:30#, 150", "4, 'jose', 'avila', #4/5/2024#, 50",
            "5, NULL, 'Madrid', NULL, 300",              "6, 'Zoe', 'Sevilla', #6/5/2024#, 100",
        };
        for (const char* r : rows) cn->Execute(std::string("INSERT INTO Clientes VALUES (") + r + ")");
    }
    RecordsetPtr Open(LockTypeEnum lock = adLockOptimistic, CursorLocationEnum where = adUseClient) {
        return testsupport::OpenRecordset(cn, "SELECT * FROM Clientes ORDER BY Id", adOpenStatic, lock, where);
    }
    static int Id(const RecordsetPtr& rs) { return rs->Fields()["Id"].Value().ToInt32(); }
    static std::vector<int> Ids(const RecordsetPtr& rs) {
        std::vector<int> ids;
        if (rs->RecordCount() == 0) return ids;
        rs->MoveFirst();
        for (; !rs->adoEOF(); rs->MoveNext()) ids.push_back(Id(rs));
        return ids;
    }
    static void Optimize(const RecordsetPtr& rs, const char* field, bool on) {
        rs->Fields()[field].Properties().Item("Optimize").Value(Variant(on));
    }

    EmbeddedDb db;
    ConnectionPtr cn;
};

TEST_F(SearchRules, FindReadsEveryValueForm) {
    auto rs = Open();
    struct Case {
        const char* criteria;
        int id;
    } cases[] = {
        {"Nombre = 'O''Hara'", 3},     {"nombre = 'JOSÉ'", 2},        {"Ciudad = 'AVILA'", 4},
        {"Alta = #3/5/2024 10:30#", 3}, {"Alta > #2024-03-31#", 4},    {"Alta = '2024-02-05'", 2},
        {"Importe = $150.00", 3},      {"Importe >= 1.5E2", 3},       {"Importe < 60", 4},
        {"Nombre = Null", 5},          {"Nombre LIKE 'jo*'", 2},      {"Nombre like '*oe%'", 6},
        {"[Ciudad] <> 'Sevilla'", 2},  {"Nombre = #Zoe#", 6},         {"Nombre LIKE 'Ana'", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.criteria);
        rs->MoveFirst();
        rs->Find(c.criteria);
        ASSERT_FALSE(rs->adoEOF());
        EXPECT_EQ(Id(rs), c.id);
    }
}

TEST_F(SearchRules, FindStartsSkipsAndLeavesTheCursorAtTheEndItWalkedTo) {
    auto rs = Open();
    rs->Find("Ciudad = 'Sevilla'");  // the current row itself meets it
    EXPECT_EQ(Id(rs), 1);
    rs->Find("Ciudad = 'Sevilla'", 1);
    EXPECT_EQ(Id(rs), 6);
    rs->Find("Ciudad = 'Sevilla'", 1);
    EXPECT_TRUE(rs->adoEOF());
    EXPECT_EQ(ErrorNumberOf([&] { rs->Find("Ciudad = 'Sevilla'"); }), err::NoCurrentRecord);
    rs->Find("Ciudad = 'Madrid'", 0, adSearchBackward, Variant(int32_t{adBookmarkLast}));
    EXPECT_EQ(Id(rs), 5);
    rs->Find("Ciudad = 'Madrid'", 1, adSearchBackward);
    EXPECT_EQ(Id(rs), 3);
    rs->Find("Ciudad = 'Madrid'", 1, adSearchBackward);
    EXPECT_TRUE(rs->BOF());
    rs->Find("Ciudad = 'Madrid'", 0, adSearchForward, Variant(int32_t{adBookmarkFirst}));
    EXPECT_EQ(Id(rs), 3);
    const Variant third = rs->Bookmark();
    rs->MoveFirst();
    rs->Find("Ciudad = 'Madrid'", 1, adSearchForward, third);
    EXPECT_EQ(Id(rs), 5);
    EXPECT_EQ(ErrorNumberOf([&] { rs->Find("Id = 1", 0, adSearchForward, Variant(99.0)); }), err::BadBookmark);
}

TEST_F(SearchRules, BadCriteriaAreRefusedWithTheCursorWhereItWas) {
    auto rs = Open();
    rs->Move(2);
    const char* bad[] = {
        "Nombre = 'Ana' AND Id = 1",  // one clause only
        "Nombre = 'Ana' x",           // text after the value
        "Nombre = Ana",               // a text without apostrophes
        "Nombre LIKE '*na'",          // wildcard only at the start
        "Nombre LIKE 'A*a'",          // wildcard inside
        "Importe > Null",             // Null takes = and <> only
        "Alta = #13/45/2024#",        // no such date
        "Alta = #1/5/2024 10:30:00.250#",  // milliseconds
        "Nombre == 'Ana'",            // no operator ==
        "Nombre = 'Ana",              // unclosed text
        "",                           // nothing
        "Importe = 1e",               // exponent without digits
        "[Nombre = 'Ana'",            // unclosed bracket
    };
    for (const char* c : bad) {
        SCOPED_TRACE(c);
        EXPECT_EQ(ErrorNumberOf([&] { rs->Find(c); }), err::InvalidArgument);
        EXPECT_EQ(Id(rs), 3);
    }
    EXPECT_EQ(ErrorNumberOf([&] { rs->Find("Apellido = 'Ana'"); }), err::ItemNotFound);
    EXPECT_EQ(Id(rs), 3);
}

TEST_F(SearchRules, FilterCriteriaBookmarksAndGroups) {
    auto rs = Open();
    rs->Filter(Variant("Ciudad = 'sevilla' OR (Importe > 100 AND Alta <> Null)"));
    EXPECT_EQ(Ids(rs), (std::vector<int>{1, 3, 6}));
    EXPECT_EQ(rs->RecordCount(), 3);
    rs->MoveLast();
    EXPECT_EQ(rs->AbsolutePosition(), 3);
    EXPECT_EQ(ErrorNumberOf([&] { rs->Filter(Variant("(Ciudad = 'Madrid' OR Importe > 100) AND Id > 1")); }),
              err::InvalidArgument);
    EXPECT_EQ(Ids(rs), (std::vector<int>{1, 3, 6}));  // unchanged
    rs->Filter(Variant("(Ciudad = 'Madrid' AND Id > 1) OR (Importe > 100 AND Id > 1)"));
    EXPECT_EQ(Ids(rs), (std::vector<int>{3, 5}));
    EXPECT_EQ(ErrorNumberOf([&] { rs->Filter(Variant("Pais = 'ES'")); }), err::ItemNotFound);

    rs->Filter(Variant(""));
    EXPECT_EQ(rs->RecordCount(), 6);
    rs->MoveFirst();
    rs->Move(1);
    const Variant second = rs->Bookmark();
    rs->Move(3);
    const Variant fifth = rs->Bookmark();
    SafeArray marks({{0, 2}});
    marks.At({0}) = fifth;
    marks.At({1}) = second;
    rs->Filter(Variant(marks));
    EXPECT_EQ(Ids(rs), (std::vector<int>{2, 5}));
    SafeArray foreign({{0, 2}});
    foreign.At({0}) = second;
    foreign.At({1}) = Variant(77.0);
    EXPECT_EQ(ErrorNumberOf([&] { rs->Filter(Variant(foreign)); }), err::BadBookmark);
    EXPECT_EQ(Ids(rs), (std::vector<int>{2, 5}));  // the filter as it was
    rs->Filter(Variant(int32_t{adFilterNone}));
    EXPECT_EQ(rs->RecordCount(), 6);
    EXPECT_EQ(Id(rs), 1);
}

TEST_F(SearchRules, SortOrdersStablyComposesWithFilterAndFindWalksIt) {
    auto rs = Open();
    rs->Sort("Ciudad");  // "avila" before "Ávila" (the accent counts after the letters); ties in arrival order
    EXPECT_EQ(Ids(rs), (std::vector<int>{4, 2, 3, 5, 1, 6}));
    rs->Sort("Ciudad ASC, [Importe] DESC");
    EXPECT_EQ(Ids(rs), (std::vector<int>{4, 2, 5, 3, 1, 6}));
    rs->Sort("Ciudad,Nombre DESCENDING");
    EXPECT_EQ(Ids(rs), (std::vector<int>{4, 2, 3, 5, 6, 1}));
    rs->Filter(Variant("Importe >= 100"));
    EXPECT_EQ(Ids(rs), (std::vector<int>{3, 5, 6, 1}));
    rs->MoveFirst();
    rs->Find("Ciudad = 'Sevilla'");
    EXPECT_EQ(Id(rs), 6);
    rs->Sort("");
    EXPECT_EQ(Ids(rs), (std::vector<int>{1, 3, 5, 6}));
    EXPECT_EQ(ErrorNumberOf([&] { rs->Sort("Pais"); }), err::ItemNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { rs->Sort("Nombre ASC DESC"); }), err::InvalidArgument);
}

TEST_F(SearchRules, ServerCursorsRefuseCriteriaFiltersSortAndIndexes) {
    auto rs = Open(adLockOptimistic, adUseServer);
    EXPECT_EQ(ErrorNumberOf([&] { rs->Filter(Variant("Id = 1")); }), err::FeatureNotAvailable);
    EXPECT_EQ(ErrorNumberOf([&] { rs->Sort("Id"); }), err::FeatureNotAvailable);
    EXPECT_EQ(ErrorNumberOf([&] { Optimize(rs, "Id", true); }), err::FeatureNotAvailable);
    rs->Find("Id = 4");
    EXPECT_EQ(Id(rs), 4);
    EXPECT_EQ(rs->RecordCount(), 6);
}

TEST_F(SearchRules, EditsInsideAFilteredSortedViewStayUntilTheFilterIsSetAgain) {
    auto rs = Open();
    rs->Filter(Variant("Importe > 90"));
    rs->Sort("Importe DESC");
    EXPECT_EQ(Ids(rs), (std::vector<int>{5, 3, 1, 6}));
    rs->MoveFirst();
    rs->MoveNext();  // Id 3
    rs->Fields()["Importe"].Value(Variant(10));
    rs->Update();
    EXPECT_EQ(Ids(rs), (std::vector<int>{5, 3, 1, 6}));
    EXPECT_EQ(rs->RecordCount(), 4);
    EXPECT_EQ(testsupport::Scalar(cn, "SELECT Importe FROM Clientes WHERE Id = 3").ToInt32(), 10);

    rs->AddNew();  // an added row joins the view's end
    rs->Fields()["Id"].Value(Variant(7));
    rs->Fields()["Importe"].Value(Variant(5));
    rs->Update();
    EXPECT_EQ(Ids(rs), (std::vector<int>{5, 3, 1, 6, 7}));

    rs->MoveFirst();
    rs->Delete();
    rs->MoveNext();
    EXPECT_EQ(Id(rs), 3);
    EXPECT_EQ(rs->RecordCount(), 4);
    EXPECT_EQ(rs->AbsolutePosition(), 1);

    rs->Filter(Variant("Importe > 90"));  // set again: the edited and added rows leave
    EXPECT_EQ(Ids(rs), (std::vector<int>{1, 6}));
}

TEST_F(SearchRules, AnIndexFollowsEditsAdditionsDeletionsAndCancelledBatches) {
    auto rs = Open(adLockBatchOptimistic);
    Optimize(rs, "Nombre", true);
    Optimize(rs, "Importe", true);
    auto findFirst = [&](const char* criteria) {
        rs->Find(criteria, 0, adSearchForward, Variant(int32_t{adBookmarkFirst}));
        return rs->adoEOF() ? 0 : Id(rs);
    };
    EXPECT_EQ(findFirst("Nombre = 'JOSE'"), 4);  // "José" is not "jose": accents count
    EXPECT_EQ(findFirst("Importe > 200"), 5);

    rs->Find("Id = 4", 0, adSearchForward, Variant(int32_t{adBookmarkFirst}));
    rs->Fields()["Nombre"].Value(Variant("Pilar"));
    rs->Fields()["Importe"].Value(Variant(999));
    rs->Update();
    EXPECT_EQ(findFirst("Nombre = 'jose'"), 0);
    EXPECT_EQ(findFirst("Nombre = 'PILAR'"), 4);
    EXPECT_EQ(findFirst("Importe >= 999"), 4);

    rs->AddNew();
    rs->Fields()["Id"].Value(Variant(8));
    rs->Fields()["Nombre"].Value(Variant("Íñigo"));
    rs->Update();
    EXPECT_EQ(findFirst("Nombre = 'ÍÑIGO'"), 8);
    rs->Filter(Variant("Nombre = 'íñigo' OR Importe < 60"));
    EXPECT_EQ(Ids(rs), (std::vector<int>{8}));
    rs->Filter(Variant(""));

    rs->Find("Id = 1", 0, adSearchForward, Variant(int32_t{adBookmarkFirst}));
    rs->Delete();
    EXPECT_EQ(findFirst("Nombre = 'Ana'"), 0);

    rs->CancelBatch();  // the originals come back, the addition goes
    EXPECT_EQ(findFirst("Nombre = 'Ana'"), 1);
    EXPECT_EQ(findFirst("Nombre = 'jose'"), 4);
    EXPECT_EQ(findFirst("Nombre = 'Íñigo'"), 0);
    EXPECT_EQ(findFirst("Importe >= 999"), 0);

    Optimize(rs, "Nombre", false);
    EXPECT_EQ(findFirst("Nombre = 'jose'"), 4);
}

// 100,000 keys fill an index table large enough to be mapped; 40,000 more make it grow.
TEST(SearchRulesLargeIndex, EveryKeyIsFoundBeforeAndAfterTheTableGrows) {
    auto rs = Recordset::Create();
    rs->Fields().Append("Id", adInteger);
    rs->Open();
    auto add = [&](int from, int to) {
        for (int i = from; i <= to; ++i) {
            rs->AddNew();
            rs->Fields()[0].Value(Variant(i * 7));
            rs->Update();
        }
    };
    auto found = [&](int key) {
        rs->Find("Id = " + std::to_string(key), 0, adSearchForward, Variant(int32_t{adBookmarkFirst}));
        return rs->adoEOF() ? -1 : rs->Fields()[0].Value().ToInt32();
    };
    add(1, 100'000);
    rs->Fields()[0].Properties().Item("Optimize").Value(Variant(true));
    add(100'001, 140'000);
    for (int i : {1, 2, 50'000, 99'999, 100'000, 100'001, 131'072, 139'999, 140'000}) EXPECT_EQ(found(i * 7), i * 7);
    for (int missing : {0, 8, 140'001 * 7}) EXPECT_EQ(found(missing), -1);
}

}  // namespace
