// Compaction on the embedded engine: files shrink after deletions, keep their rows, take the
// destination's password and record its engine type; every refusal leaves the folder as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include <sqlcipher/sqlite3.h>

#include "ado/ado.h"
#include "support/EmbeddedDb.h"

namespace {

using namespace ado;
using testsupport::ErrorNumberOf;
using testsupport::FileBytes;
using testsupport::JetConnectionString;
namespace fs = std::filesystem;

// 200 rows of 4 KB, all but ten deleted. The child table comes first in the file (it gets
// its relationship after its parent is made), so its rows are copied before the rows they
// refer to.
void FillAndDelete(const ConnectionPtr& cn) {
    cn->Execute("CREATE TABLE Hijas (Id INTEGER PRIMARY KEY)");
    cn->Execute("CREATE TABLE Padres (Id INTEGER PRIMARY KEY)");
    cn->Execute("ALTER TABLE Hijas ADD COLUMN IdPadre INTEGER REFERENCES Padres (Id)");
    cn->Execute("ALTER TABLE Hijas ADD COLUMN Texto TEXT");
    cn->Execute("INSERT INTO Padres VALUES (1)");
    cn->BeginTrans();
    for (int i = 1; i <= 200; ++i)
        cn->Execute("INSERT INTO Hijas VALUES (" + std::to_string(i) + ", 1, 'texto visible " + std::string(4000, 'x') +
                    "')");
    cn->CommitTrans();
    cn->Execute("DELETE FROM Hijas WHERE Id > 10");
}

int32_t Scalar(const std::string& file, const std::string& password, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_stmt* st = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (!password.empty()) sqlite3_key(db, password.data(), static_cast<int>(password.size()));
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    const int32_t value = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : -1;
    sqlite3_finalize(st);
    sqlite3_close(db);
    return value;
}

std::map<fs::path, std::string> Snapshot(const fs::path& folder) {
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() != ".ldb") files[entry.path()] = FileBytes(entry.path());  // not the use locks
    return files;
}

TEST(Compaction, ShrinksAfterDeletionsWithTheDestinationsPassword) {
    struct Case {
        std::string source, destination;  // passwords
        bool inPlace;
        std::string engineType;  // as the destination gives it
        int32_t recorded;
    };
    const Case cases[] = {
        {"", "", true, "", 5},         {"clave", "clave", true, "5", 5}, {"clave", "nueva", true, "", 5},
        {"clave", "nueva", false, "4", 4}, {"", "nueva", false, "", 5},  {"clave", "", false, "", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source + " -> " + c.destination + (c.inPlace ? ", in place" : ""));
        testsupport::EmbeddedDb db(c.source);
        FillAndDelete(db.Connect());
        const std::string before = FileBytes(db.file());
        const std::string to = c.inPlace ? db.file() : db.dir().file("compactada.db");
        CompactDatabase(JetConnectionString(db.file(), c.source),
                        JetConnectionString(to, c.destination) +
                            (c.engineType.empty() ? "" : "Jet OLEDB:Engine Type=" + c.engineType));

        EXPECT_LT(fs::file_size(to) * 4, before.size());
        EXPECT_EQ(Scalar(to, c.destination, "SELECT COUNT(*) FROM Hijas JOIN Padres ON IdPadre = Padres.Id"), 10);
        EXPECT_EQ(Scalar(to, c.destination, "PRAGMA application_id"), c.recorded);
        // Encrypted means no readable text and no way in without the password.
        const bool encrypted = !c.destination.empty();
        EXPECT_EQ(FileBytes(to).find("texto visible") == std::string::npos, encrypted);
        EXPECT_EQ(ErrorNumberOf([&] { Connection::Create()->Open(JetConnectionString(to, encrypted ? "otra" : "")); }),
                  encrypted ? err::InvalidPassword : 0);
        EXPECT_EQ(Snapshot(db.dir().path()).size(), c.inPlace ? 1u : 2u);  // no copy left behind
        if (!c.inPlace) {
            EXPECT_EQ(FileBytes(db.file()), before);
        }
    }
}

TEST(Compaction, RefusalsLeaveEveryFileAsItWas) {
    testsupport::EmbeddedDb db("clave");
    FillAndDelete(db.Connect());
    const std::string source = JetConnectionString(db.file(), "clave");
    const std::string existing = db.dir().file("existente.db"), fresh = JetConnectionString(db.dir().file("n.db"));
    CreateDatabase(JetConnectionString(existing));
    const std::tuple<std::string, std::string, int32_t> refusals[] = {
        {source, JetConnectionString(existing, "clave"), err::Fail},               // existing destination
        {source, JetConnectionString(db.dir().file("no/n.db")), err::Fail},        // missing folder
        {JetConnectionString(db.file(), "otra"), fresh, err::InvalidPassword},     // wrong password
        {JetConnectionString(db.dir().file("nada.db")), fresh, err::Fail},         // missing source
        {source, fresh + "Jet OLEDB:Engine Type=7", err::InvalidArgument},         // unknown engine type
        {source, fresh + "Jet OLEDB:Engine Type=5a", err::InvalidArgument},
        {source, "Provider=MSDASQL;Data Source=n", err::FeatureNotAvailable},        // another provider
    };
    const auto before = Snapshot(db.dir().path());
    for (const auto& [from, to, number] : refusals) {
        // Structured bindings are captured by name (Clang 14 cannot capture them directly).
        EXPECT_EQ(ErrorNumberOf([&from = from, &to = to] { CompactDatabase(from, to); }), number)
            << from << " -> " << to;
        EXPECT_EQ(Snapshot(db.dir().path()), before) << from << " -> " << to;
    }
    // A file another connection holds exclusively is refused at once, in place or not.
    auto holder = db.Open("clave", adModeShareExclusive);
    EXPECT_EQ(ErrorNumberOf([&] { CompactDatabase(source, source); }), err::LockedByUser);
    EXPECT_EQ(ErrorNumberOf([&] { CompactDatabase(source, fresh); }), err::LockedByUser);
    holder->Close();
    EXPECT_EQ(Snapshot(db.dir().path()), before);
}

}  // namespace
