// Batch mode, disconnected and in-memory recordsets, and atomic batches on real files.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <thread>

#include <fmt/format.h>
#include <sqlcipher/sqlite3.h>

#include <sys/wait.h>
#include <unistd.h>

#include "support/EmbeddedDb.h"

using namespace ado;
using testsupport::EmbeddedDb;
using testsupport::ErrorNumberOf;
using testsupport::OpenRecordset;

namespace {

class BatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        cn = db.Connect();
        testsupport::CreateArticles(cn);
    }
    RecordsetPtr OpenBatch(const std::string& sql = "SELECT * FROM Art ORDER BY Id", ConnectionPtr c = nullptr) {
        return OpenRecordset(c ? c : cn, sql, adOpenStatic, adLockBatchOptimistic);
    }
    int32_t Count(const std::string& where = "") { return db.Scalar("SELECT COUNT(*) FROM Art " + where).ToInt32(); }

    EmbeddedDb db;
    ConnectionPtr cn;
};

}  // namespace

TEST_F(BatchTest, ChangesWaitForUpdateBatchWithTheirStatus) {
    auto rs = OpenBatch();
    rs->Fields()["Nombre"].Value("uno");
    rs->Update();
    EXPECT_EQ(rs->EditMode(), adEditNone);
    EXPECT_EQ(rs->Status(), adRecModified);
    EXPECT_EQ(rs->Fields()["Nombre"].OriginalValue().ToString(), "a1");
    rs->MoveNext();
    rs->Delete();
    rs->AddNew();
    rs->Fields()["Id"].Value(9);
    rs->Fields()["Nombre"].Value("nuevo");
    rs->Update();
    EXPECT_EQ(rs->Status(), adRecNew);
    EXPECT_EQ(Count(), 4) << "nothing reaches the file before UpdateBatch";
    EXPECT_EQ(Count("WHERE Nombre = 'uno'"), 0);

    rs->Filter(Variant(int32_t{adFilterPendingRecords}));
    EXPECT_EQ(rs->RecordCount(), 3);
    rs->Filter(Variant(int32_t{adFilterNone}));
    EXPECT_EQ(rs->RecordCount(), 4);

    rs->UpdateBatch();
    EXPECT_EQ(Count(), 4);
    EXPECT_EQ(Count("WHERE Nombre = 'uno'"), 1);
    EXPECT_EQ(Count("WHERE Id = 2"), 0);
    EXPECT_EQ(Count("WHERE Id = 9"), 1);
    rs->Filter(Variant(int32_t{adFilterPendingRecords}));
    EXPECT_EQ(rs->RecordCount(), 0);

    // A row the batch deleted and an addition cancelled before its Update wait for nothing.
    rs->Filter(Variant(int32_t{adFilterNone}));
    rs->AddNew();
    rs->Fields()["Id"].Value(10);
    rs->CancelUpdate();
    rs->MoveFirst();
    rs->Fields()["Nombre"].Value("otra vez");
    rs->Update();
    rs->UpdateBatch();
    EXPECT_EQ(Count(), 4);
    EXPECT_EQ(Count("WHERE Nombre = 'otra vez'"), 1);

    // A deletion CancelBatch undoes is not written either.
    rs->Delete();
    rs->MoveNext();
    EXPECT_EQ(rs->RecordCount(), 3);
    rs->CancelBatch();
    EXPECT_EQ(rs->RecordCount(), 4);
    rs->UpdateBatch();
    EXPECT_EQ(Count(), 4);

    // An addition CancelBatch undoes leaves nothing pending and nothing to write.
    rs->AddNew();
    rs->Fields()["Id"].Value(20);
    rs->Fields()["Nombre"].Value("añadida");
    rs->Update();
    rs->CancelBatch();
    EXPECT_EQ(rs->RecordCount(), 4);
    rs->Filter(Variant(int32_t{adFilterPendingRecords}));
    EXPECT_EQ(rs->RecordCount(), 0);
    rs->Filter(Variant(int32_t{adFilterNone}));
    rs->UpdateBatch();
    EXPECT_EQ(Count(), 4);
    EXPECT_EQ(Count("WHERE Id = 20"), 0);
}

TEST_F(BatchTest, ConflictsAreMarkedPerRowAndTheRestIsWritten) {
    auto rs = OpenBatch();
    for (int i = 0; i < 4; ++i, rs->MoveNext()) {
        rs->Fields()["Precio"].Value(100 + i);
        rs->Update();
    }
    db.Connect()->Execute("UPDATE Art SET Precio = 50 WHERE Id = 2");
    db.Connect()->Execute("DELETE FROM Art WHERE Id = 4");
    EXPECT_EQ(ErrorNumberOf([&] { rs->UpdateBatch(); }), err::ConcurrencyViolation);
    EXPECT_EQ(cn->Errors().Count(), 2);
    EXPECT_EQ(Count("WHERE Precio >= 100"), 2) << "rows 1 and 3 are written";
    rs->Filter(Variant(int32_t{adFilterConflictingRecords}));
    ASSERT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Fields()["Id"].Value().ToInt32(), 2);
    EXPECT_EQ(rs->Status(), adRecModified | adRecConcurrencyViolation);
    rs->Filter(Variant(int32_t{adFilterPendingRecords}));
    EXPECT_EQ(rs->RecordCount(), 2) << "conflicting rows stay pending";
    rs->CancelBatch();
    rs->Filter(Variant(int32_t{adFilterNone}));
    rs->MoveFirst();
    rs->Move(1);
    EXPECT_EQ(rs->Fields()["Precio"].Value().ToDouble(), 2.0) << "CancelBatch restores the original values";
}

// A batch writes each value as an immediate Update writes it: the same bytes in the file,
// for every kind of column, in added rows and in changed ones.
TEST_F(BatchTest, EveryKindOfValueLandsInTheFileAsAnImmediateUpdateWritesIt) {
    cn->Execute("CREATE TABLE Tipos (Id LONG PRIMARY KEY, B BYTE, S SHORT, L LONG, F SINGLE, D DOUBLE, M CURRENCY, "
                "T DATETIME, Y YESNO, X TEXT(20), N MEMO, C DECIMAL(18, 4), O LONGBINARY, V TEXT(20), W TEXT(20))");
    const std::vector<Variant> values = {
        Variant(uint8_t{200}),   Variant(int16_t{-32000}),       Variant(int32_t{2000000000}),
        Variant(1.1f),           Variant(1.0 / 3),               Variant(Currency::FromUnits(-1234567)),
        Variant(Date{45366.4375}), Variant(true),                Variant(std::string("San\0Roque", 9)),
        Variant(std::string(200, 'n')), Variant(Variant(Currency::FromUnits(-123456789)).ToDecimal()),
        Variant(Binary{0, 1, 255}), Variant(Variant::Null),      Variant("Soria")};
    auto fill = [&](Recordset& rs, int32_t id, const char* w) {
        rs.AddNew();
        rs.Fields()["Id"].Value(id);
        for (size_t k = 0; k < values.size(); ++k) rs.Fields()[k + 1].Value(values[k]);
        rs.Fields()["W"].Value(w);
        rs.Update();
    };
    fill(*OpenRecordset(cn, "SELECT * FROM Tipos", adOpenStatic, adLockOptimistic), 1, "Soria");
    fill(*OpenRecordset(cn, "SELECT * FROM Tipos", adOpenStatic, adLockOptimistic), 3, "Villanueva del Rey");
    auto batch = OpenBatch("SELECT * FROM Tipos ORDER BY Id");
    fill(*batch, 2, "Soria");
    batch->MoveFirst();
    batch->Move(1);  // row 3: a shorter text where a longer one was, and values changed and back
    batch->Fields()["W"].Value("Soria");
    batch->Fields()["X"].Value("otro");
    batch->Fields()["L"].Value(7);
    batch->Update();
    batch->Fields()["X"].Value(values[8]);
    batch->Fields()["L"].Value(values[2]);
    batch->Update();
    batch->UpdateBatch();

    // Each row's columns as the engine holds them, read apart from the library.
    auto stored = [&](int id) {
        sqlite3* raw = nullptr;
        sqlite3_open_v2(db.file().c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw, ("SELECT * FROM Tipos WHERE Id = " + std::to_string(id)).c_str(), -1, &st, nullptr);
        std::string out;
        if (sqlite3_step(st) == SQLITE_ROW)
            for (int c = 1; c < sqlite3_column_count(st); ++c) {
                switch (sqlite3_column_type(st, c)) {
                    case SQLITE_INTEGER: out += fmt::format("i{} ", sqlite3_column_int64(st, c)); break;
                    case SQLITE_FLOAT: out += fmt::format("r{:a} ", sqlite3_column_double(st, c)); break;
                    case SQLITE_NULL: out += "null "; break;
                    default: {
                        // Texts and binaries: their length and their first bytes.
                        const auto* p = static_cast<const unsigned char*>(sqlite3_column_blob(st, c));
                        const int n = sqlite3_column_bytes(st, c);
                        out += fmt::format("{}{}:", sqlite3_column_type(st, c) == SQLITE_TEXT ? 't' : 'b', n);
                        for (int i = 0; i < std::min(n, 12); ++i) out += fmt::format("{:02x}", p[i]);
                        out += ' ';
                    }
                }
            }
        sqlite3_finalize(st);
        sqlite3_close(raw);
        return out;
    };
    const std::string immediate = stored(1);
    EXPECT_EQ(immediate,
              "i200 i-32000 i2000000000 r0x1.19999ap+0 r0x1.5555555555555p-2 i-12345670000 r0x1.626cep+15 i-1 "
              "t9:53616e00526f717565 t200:6e6e6e6e6e6e6e6e6e6e6e6e b24:7fffffffffffffffff123b1a b3:0001ff null "
              "t5:536f726961 ");
    EXPECT_EQ(stored(2), immediate);
    EXPECT_EQ(stored(3), immediate);
}

// Consecutive rows that change other columns, or whose criteria are Null in one row and not
// in the next, need statements of their own; inserts read their autonumbers back.
TEST_F(BatchTest, RowsOfDifferentShapesInOneBatch) {
    cn->Execute("CREATE TABLE Mix (Id COUNTER PRIMARY KEY, Nombre TEXT(20), Nota TEXT(20), Cant LONG)");
    cn->Execute("INSERT INTO Mix (Nombre, Nota, Cant) VALUES ('a', NULL, 1)");
    cn->Execute("INSERT INTO Mix (Nombre, Nota, Cant) VALUES ('b', 'x', 2)");
    cn->Execute("INSERT INTO Mix (Nombre, Nota, Cant) VALUES ('c', NULL, 3)");
    cn->Execute("INSERT INTO Mix (Nombre, Nota, Cant) VALUES ('d', 'y', 4)");
    auto rs = OpenBatch("SELECT * FROM Mix ORDER BY Id");
    rs->Properties().Item("Update Criteria").Value(Variant(int32_t{adCriteriaAllCols}));
    rs->Fields()["Cant"].Value(10);
    rs->MoveNext();
    rs->Fields()["Cant"].Value(20);
    rs->MoveNext();
    rs->Fields()["Nombre"].Value("cc");
    rs->MoveNext();
    rs->Delete();
    for (const char* name : {"e", "f"}) {
        rs->AddNew();
        rs->Fields()["Nombre"].Value(name);
        rs->Update();
    }
    rs->UpdateBatch();
    EXPECT_EQ(db.Scalar("SELECT SUM(Cant) FROM Mix WHERE Id <= 3").ToInt32(), 33);
    EXPECT_EQ(db.Scalar("SELECT Nombre FROM Mix WHERE Id = 3").ToString(), "cc");
    EXPECT_EQ(db.Scalar("SELECT COUNT(*) FROM Mix WHERE Id = 4").ToInt32(), 0);
    EXPECT_EQ(rs->Fields()["Id"].Value().ToInt32(), 6) << "the last addition read its autonumber back";
    rs->MovePrevious();
    EXPECT_EQ(rs->Fields()["Id"].Value().ToInt32(), 5);
}

TEST_F(BatchTest, DisconnectEditReconnectUpdateBatch) {
    auto rs = OpenBatch();
    rs->ActiveConnection(nullptr);
    cn->Close();
    rs->MoveLast();
    rs->Fields()["Nombre"].Value("lejos");
    rs->Update();
    rs->AddNew();
    rs->Fields()["Id"].Value(7);
    rs->Update();
    EXPECT_EQ(ErrorNumberOf([&] { rs->UpdateBatch(); }), err::IllegalOperation);
    auto back = db.Connect();
    rs->ActiveConnection(back);
    rs->UpdateBatch();
    EXPECT_EQ(Count("WHERE Nombre = 'lejos' AND Id = 4"), 1);
    EXPECT_EQ(Count("WHERE Id = 7"), 1);
}

TEST_F(BatchTest, RollbackUndoesABatchWrittenInsideTheClientsTransaction) {
    auto rs = OpenBatch();
    rs->Fields()["Nombre"].Value("temporal");
    rs->Update();
    cn->BeginTrans();
    rs->UpdateBatch();
    EXPECT_EQ(testsupport::Scalar(cn, "SELECT COUNT(*) FROM Art WHERE Nombre = 'temporal'").ToInt32(), 1);
    cn->RollbackTrans();
    EXPECT_EQ(Count("WHERE Nombre = 'temporal'"), 0);
}

TEST(InMemoryRecordset, AppendOpenEditWithoutAnyDatabase) {
    auto rs = Recordset::Create();
    rs->Fields().Append("Codigo", adInteger);
    rs->Fields().Append("Texto", adVarWChar, 10);
    EXPECT_EQ(rs->Fields().Count(), 2);
    rs->Open();
    EXPECT_TRUE(rs->Supports(adAddNew));
    for (int i = 1; i <= 3; ++i) {
        rs->AddNew();
        rs->Fields()["Codigo"].Value(i);
        rs->Fields()["Texto"].Value("t" + std::to_string(i));
        rs->Update();
    }
    rs->MoveFirst();
    rs->Fields()["Texto"].Value("cambio");
    rs->Update();
    rs->MoveNext();
    rs->Delete();
    rs->MoveFirst();
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Fields()["Texto"].Value().ToString(), "cambio");
    rs->MoveNext();
    EXPECT_EQ(rs->Fields()["Codigo"].Value().ToInt32(), 3);
    rs->Fields().Append("Extra", adDouble, 0, adFldUnspecified, Variant(1.5));
    EXPECT_EQ(rs->Fields()["Extra"].Value().ToDouble(), 1.5);
    rs->Fields().Delete("Texto");
    EXPECT_EQ(rs->Fields().Count(), 2);
    EXPECT_EQ(ErrorNumberOf([&] { rs->Fields().Append("Codigo", adInteger); }), err::IllegalOperation);
}

TEST_F(BatchTest, AKilledBatchLeavesTheFileBeforeOrAfterNeverHalf) {
    cn->Execute("DELETE FROM Art");
    // The batch's pages spill into the write-ahead log before its commit.
    const std::string log = db.file() + "-wal";
    auto logBytes = [&] {
        std::error_code ec;
        const auto bytes = std::filesystem::file_size(log, ec);
        return ec ? 0 : bytes;
    };
    const auto logBefore = logBytes();
    constexpr int kRows = 200000;
    const pid_t child = fork();
    if (child == 0) {
        auto c = db.Connect();  // a connection of the child's own
        auto rs = OpenBatch("SELECT * FROM Art", c);
        for (int i = 0; i < kRows; ++i) {
            rs->AddNew();
            rs->Fields()[0].Value(i);
            rs->Fields()[1].Value("fila");
            rs->Update();
        }
        rs->UpdateBatch();
        _exit(0);
    }
    bool writing = false;
    for (int i = 0; i < 3000 && !writing; ++i) {
        writing = logBytes() > logBefore + 256 * 1024;
        if (!writing) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(writing) << "the batch was caught while writing";
    const int32_t rows = Count();
    EXPECT_TRUE(rows == 0 || rows == kRows) << rows << " rows: a batch is all or nothing";
}
