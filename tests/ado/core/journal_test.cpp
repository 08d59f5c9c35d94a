// The write-ahead log on real files: readers and a writer never wait for each other, a killed
// writer loses no committed save, and at rest a database is one file in the rollback journal.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "support/EmbeddedDb.h"
#include "support/OrdinaryUser.h"

namespace {

using namespace ado;
namespace fs = std::filesystem;
using testsupport::EmbeddedDb;
using testsupport::OpenRecordset;
using testsupport::Scalar;

class Journal : public ::testing::Test {
protected:
    void SetUp() override { testsupport::CreateArticles(db.Connect()); }
    bool Beside(const char* suffix) const { return fs::exists(db.file() + suffix); }
    // The write and read versions of the file's header: 1 for the rollback journal, 2 for the log.
    std::string HeaderVersions() const {
        const std::string bytes = testsupport::FileBytes(db.file()).substr(18, 2);
        return std::to_string(bytes[0]) + "," + std::to_string(bytes[1]);
    }
    int32_t Count(const ConnectionPtr& cn, const std::string& where) const {
        return Scalar(cn, "SELECT COUNT(*) FROM Art WHERE " + where).ToInt32();
    }

    EmbeddedDb db;
};

TEST_F(Journal, ReadersAndAWriterNeverWaitForEachOther) {
    // A reader inside a transaction holds its read until the transaction ends.
    auto reader = db.Open("");
    reader->BeginTrans();
    EXPECT_EQ(Scalar(reader, "SELECT Precio FROM Art WHERE Id = 4").ToDouble(), 4.0);
    // The writer waits a second at most: under the rollback journal its commit would wait for
    // the reader and then fail.
    auto writer = db.Open("");
    writer->Execute("UPDATE Art SET Precio = 40 WHERE Id = 4");
    // The reader goes on with the rows as they were when it began; after it, it sees the change.
    EXPECT_EQ(Scalar(reader, "SELECT Precio FROM Art WHERE Id = 4").ToDouble(), 4.0);
    reader->CommitTrans();
    EXPECT_EQ(Scalar(reader, "SELECT Precio FROM Art WHERE Id = 4").ToDouble(), 40.0);

    // A user who may only read the file reads what the writer committed, while the writer
    // still has the file open in the log.
    fs::permissions(db.dir().path(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    for (const char* own : {"", "-wal", "-shm"}) fs::permissions(db.file() + own, fs::perms::owner_all | fs::perms::others_read);
    const std::string seen = testsupport::AsOrdinaryUser([&] {
        try {
            return Scalar(db.Open("", adModeRead), "SELECT Precio FROM Art WHERE Id = 4").ToString();
        } catch (const Error& e) {
            return std::to_string(e.Number()) + " " + e.Description();
        }
    });
    EXPECT_EQ(seen, "40");
}

TEST_F(Journal, AtRestADatabaseIsOneFileInTheRollbackJournal) {
    EXPECT_EQ(HeaderVersions(), "1,1");
    {
        auto first = db.Connect();
        auto second = db.Connect();
        first->Execute("UPDATE Art SET Nombre = 'nuevo' WHERE Id = 1");
        EXPECT_EQ(HeaderVersions(), "2,2");
        first->Close();
        EXPECT_TRUE(Beside("-wal")) << "the log stays while another connection has the file open";
        EXPECT_EQ(Scalar(second, "SELECT Nombre FROM Art WHERE Id = 1").ToString(), "nuevo");
    }
    EXPECT_FALSE(Beside("-wal"));
    EXPECT_FALSE(Beside("-shm"));
    EXPECT_EQ(HeaderVersions(), "1,1");
    // The file alone, carried elsewhere, holds every change.
    EmbeddedDb elsewhere;
    fs::copy_file(db.file(), elsewhere.file(), fs::copy_options::overwrite_existing);
    EXPECT_EQ(Scalar(elsewhere.Connect(), "SELECT Nombre FROM Art WHERE Id = 1").ToString(), "nuevo");
}

TEST_F(Journal, AKilledWriterLosesNoCommittedSave) {
    int saved[2];
    ASSERT_EQ(::pipe(saved), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(saved[0]);
        auto cn = db.Connect();
        auto rs = OpenRecordset(cn, "SELECT * FROM Art", adOpenKeyset, adLockOptimistic);
        for (int32_t id = 100;; ++id) {  // each save its own transaction, told once committed
            rs->AddNew();
            rs->Fields()["Id"].Value(id);
            rs->Fields()["Nombre"].Value("fila");
            rs->Update();
            if (::write(saved[1], &id, sizeof id) != sizeof id) ::_exit(1);
        }
    }
    ::close(saved[1]);
    int32_t last = 0;
    while (last < 299 && ::read(saved[0], &last, sizeof last) == sizeof last) {
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ::close(saved[0]);
    ASSERT_EQ(last, 299);
    ASSERT_TRUE(Beside("-wal"));
    // The next session finds every save in the log left behind. One that holds the file
    // exclusively may replace it whole (compaction, a new password): it takes the log in and
    // keeps none beside the file.
    auto sole = db.Open("", adModeShareExclusive);
    EXPECT_FALSE(Beside("-wal"));
    EXPECT_EQ(HeaderVersions(), "1,1");
    EXPECT_EQ(Count(sole, "Id BETWEEN 100 AND 299"), 200);
}

}  // namespace
