// Reading recordsets: navigation, bookmarks, positions, fields and cursor kinds.
#include <gtest/gtest.h>

#include <random>
#include <type_traits>

#include "support/EmbeddedDb.h"

using namespace ado;
using testsupport::EmbeddedDb;
using testsupport::ErrorNumberOf;

namespace {

class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override {
        cn = db.Connect();
        cn->Execute("CREATE TABLE Clientes (Id COUNTER PRIMARY KEY, Nombre TEXT(40))");
        cn->BeginTrans();
        for (int i = 1; i <= 10; ++i)
            cn->Execute("INSERT INTO Clientes (Nombre) VALUES ('Cliente " + std::to_string(i) + "')");
        cn->CommitTrans();
    }
    int32_t CurrentId(Recordset& rs) { return rs.Fields()["id"].Value().ToInt32(); }

    EmbeddedDb db;
    ConnectionPtr cn;
};

// The handles are made only by Create (enable_shared_from_this needs the shared owner), and
// the engine's side of them is out of a client's reach.
template <class R>
concept AdoptsRows = requires(R& r, cursor::RowStore&& rows) { r.Adopt(std::move(rows), nullptr, ""); };
template <class R>
concept AssignsByColumn = requires(R& r) { r.SetFieldValue(size_t{0}, Variant()); };
template <class C>
concept HandsOutSession = requires(C& c) { c.Session(); };
static_assert(!std::is_default_constructible_v<Recordset> && !std::is_default_constructible_v<Connection> &&
              !std::is_default_constructible_v<Command>);
static_assert(!AdoptsRows<Recordset> && !AssignsByColumn<Recordset> && !HandsOutSession<Connection>);
static_assert(!std::is_constructible_v<Field, cursor::Cursor*, size_t>);

}  // namespace

TEST_F(RecordsetTest, MovesFollowAdoRulesAtBothEnds) {
    auto rs = db.Query(cn, "SELECT * FROM Clientes ORDER BY Id");
    EXPECT_FALSE(rs->BOF());
    EXPECT_EQ(rs->RecordCount(), 10);
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    rs->MovePrevious();
    EXPECT_TRUE(rs->BOF());
    EXPECT_EQ(rs->AbsolutePosition(), adPosBOF);
    EXPECT_EQ(ErrorNumberOf([&] { rs->MovePrevious(); }), err::NoCurrentRecord);
    EXPECT_EQ(ErrorNumberOf([&] { rs->Fields()[0].Value(); }), err::NoCurrentRecord);
    rs->MoveNext();
    EXPECT_EQ(CurrentId(*rs), 1);
    rs->Move(4);
    EXPECT_EQ(CurrentId(*rs), 5);
    rs->Move(-2);
    EXPECT_EQ(CurrentId(*rs), 3);
    rs->Move(100);
    EXPECT_TRUE(rs->adoEOF());
    EXPECT_EQ(ErrorNumberOf([&] { rs->MoveNext(); }), err::NoCurrentRecord);
    EXPECT_EQ(ErrorNumberOf([&] { rs->Move(1); }), err::NoCurrentRecord);
    rs->MoveLast();
    EXPECT_EQ(CurrentId(*rs), 10);
    rs->Move(-3, Variant(int32_t{adBookmarkLast}));
    EXPECT_EQ(CurrentId(*rs), 7);
    rs->AbsolutePosition(2);
    EXPECT_EQ(CurrentId(*rs), 2);
    EXPECT_EQ(ErrorNumberOf([&] { rs->AbsolutePosition(11); }), err::InvalidArgument);

    // An empty result is at both ends at once.
    auto empty = db.Query(cn, "SELECT * FROM Clientes WHERE Id > 100");
    EXPECT_TRUE(empty->BOF());
    EXPECT_TRUE(empty->adoEOF());
    EXPECT_EQ(empty->RecordCount(), 0);
    EXPECT_EQ(ErrorNumberOf([&] { empty->Bookmark(); }), err::NoCurrentRecord);
    EXPECT_EQ(ErrorNumberOf([&] { empty->MoveNext(); }), err::NoCurrentRecord);
}

TEST_F(RecordsetTest, BookmarksSurviveMovesAndRejectForeignValues) {
    auto rs = db.Query(cn, "SELECT * FROM Clientes ORDER BY Id DESC");
    std::vector<std::pair<Variant, int32_t>> marks;
    for (; !rs->adoEOF(); rs->MoveNext()) marks.emplace_back(rs->Bookmark(), CurrentId(*rs));
    std::mt19937 rng(7);
    for (int i = 0; i < 50; ++i) {
        const auto& [mark, id] = marks[rng() % marks.size()];
        rs->Bookmark(mark);
        EXPECT_EQ(CurrentId(*rs), id);
    }
    rs->Move(2, marks[3].first);
    EXPECT_EQ(CurrentId(*rs), marks[5].second);
    for (const Variant& bad : {Variant(0.0), Variant(11.0), Variant(2.5), Variant("x"), Variant(Variant::Null)})
        EXPECT_EQ(ErrorNumberOf([&] { rs->Bookmark(bad); }), err::BadBookmark) << bad.ToString();
    EXPECT_EQ(CurrentId(*rs), marks[5].second) << "a rejected bookmark leaves the position alone";
}

TEST_F(RecordsetTest, CursorKindsAnswerSupportsHonestly) {
    struct Case {
        CursorLocationEnum location;
        CursorTypeEnum type;
        CursorTypeEnum reported;
        bool previous, bookmark;
        int32_t count;
    } cases[] = {
        {adUseClient, adOpenForwardOnly, adOpenStatic, true, true, 10},
        {adUseClient, adOpenDynamic, adOpenStatic, true, true, 10},
        {adUseServer, adOpenForwardOnly, adOpenForwardOnly, false, false, -1},
        {adUseServer, adOpenKeyset, adOpenKeyset, true, true, 10},
        {adUseServer, adOpenDynamic, adOpenDynamic, true, false, -1},
        {adUseServer, adOpenStatic, adOpenStatic, true, true, 10},
    };
    for (const auto& c : cases) {
        auto rs = Recordset::Create();
        rs->CursorLocation(c.location);
        rs->Open("Clientes", cn, c.type, adLockReadOnly, adCmdTable);
        const std::string what = std::to_string(c.location) + "/" + std::to_string(c.type);
        EXPECT_EQ(rs->CursorType(), c.reported) << what;
        EXPECT_EQ(rs->CursorLocation(), c.location) << what;
        EXPECT_EQ(rs->Supports(adMovePrevious), c.previous) << what;
        EXPECT_EQ(rs->Supports(adBookmark), c.bookmark) << what;
        EXPECT_EQ(rs->RecordCount(), c.count) << what;
        // Read-only, whatever the kind: every write is refused.
        for (CursorOptionEnum o : {adUpdate, adAddNew, adDelete, adUpdateBatch}) EXPECT_FALSE(rs->Supports(o)) << what;
        EXPECT_EQ(ErrorNumberOf([&] { rs->Fields()[1].Value("x"); }), err::FeatureNotAvailable) << what;
        EXPECT_EQ(ErrorNumberOf([&] { rs->AddNew(); }), err::FeatureNotAvailable) << what;
        EXPECT_EQ(ErrorNumberOf([&] { rs->Delete(); }), err::FeatureNotAvailable) << what;
        if (!c.previous) {
            rs->MoveNext();
            EXPECT_NE(ErrorNumberOf([&] { rs->MovePrevious(); }), 0) << what;
            EXPECT_NE(ErrorNumberOf([&] { rs->MoveLast(); }), 0) << what;
        }
        if (!c.bookmark) {
            EXPECT_EQ(ErrorNumberOf([&] { rs->Bookmark(); }), err::FeatureNotAvailable) << what;
        }
    }
}

TEST_F(RecordsetTest, ClosedRecordsetsAndUnknownFieldsFailCleanly) {
    auto rs = Recordset::Create();
    EXPECT_EQ(ErrorNumberOf([&] { rs->MoveNext(); }), err::ObjectClosed);
    EXPECT_EQ(ErrorNumberOf([&] { rs->RecordCount(); }), err::ObjectClosed);
    EXPECT_EQ(ErrorNumberOf([&] { rs->Open("SELECT 1", nullptr); }), err::ObjectClosed);
    EXPECT_EQ(ErrorNumberOf([&] { rs->Open("SELECT * FROM NoHay", cn); }), err::TableNotFound);
    EXPECT_EQ(rs->State(), adStateClosed) << "a failed open leaves the recordset closed and usable";
    rs->Source("SELECT Nombre FROM Clientes");
    rs->ActiveConnection(cn);
    rs->Open();
    EXPECT_EQ(rs->Fields().Count(), 1);
    EXPECT_EQ(ErrorNumberOf([&] { rs->Fields()["Apellido"]; }), err::ItemNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { rs->Fields()[1]; }), err::ItemNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { rs->Source("x"); }), err::ObjectOpen);
    FieldPtr kept = rs->Fields().Item("NOMBRE");
    rs->Close();
    EXPECT_EQ(ErrorNumberOf([&] { kept->Value(); }), err::ObjectClosed) << "a field outliving its recordset";
    EXPECT_EQ(ErrorNumberOf([&] { rs->Close(); }), err::ObjectClosed);
}
