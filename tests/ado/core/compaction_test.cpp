// Compaction on the embedded engine: files shrink after deletions, keep their rows, take the
// destination's password and record its engine type; every refusal leaves the folder as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <sqlcipher/sqlite3.h>

#include "ado/ado.h"
#include "support/EmbeddedDb.h"

namespace {

using namespace ado;
using testsupport::EmbeddedDb;
using testsupport::ErrorNumberOf;
using testsupport::JetConnectionString;
namespace fs = std::filesystem;

std::string WithEngineType(std::string cs, const std::string& engineType) {
    return engineType.empty() ? cs : cs + "Jet OLEDB:Engine Type=" + engineType + ";";
}

// 200 rows of 4 KB, then all but ten deleted. The child table comes first in the file, so
// its rows are copied before the rows they refer to.
void FillAndDelete(const ConnectionPtr& cn) {
    cn->Execute("CREATE TABLE Hijas (Id INTEGER PRIMARY KEY, IdPadre INTEGER REFERENCES Padres (Id), Texto TEXT)");
    cn->Execute("CREATE TABLE Padres (Id INTEGER PRIMARY KEY)");
    cn->Execute("INSERT INTO Padres VALUES (1)");
    const std::string text(4000, 'x');
    cn->BeginTrans();
    for (int i = 1; i <= 200; ++i)
        cn->Execute("INSERT INTO Hijas VALUES (" + std::to_string(i) + ", 1, 'texto visible " + text + "')");
    cn->CommitTrans();
    cn->Execute("DELETE FROM Hijas WHERE Id > 10");
}

ConnectionPtr Open(const std::string& file, const std::string& password) {
    auto cn = Connection::Create();
    cn->Open(JetConnectionString(file, password));
    return cn;
}

int32_t Rows(const std::string& file, const std::string& password) {
    auto rs = Recordset::Create();
    rs->Open("SELECT COUNT(*) FROM Hijas INNER JOIN Padres ON Hijas.IdPadre = Padres.Id", Open(file, password),
             adOpenStatic, adLockReadOnly, adCmdText);
    return rs->Fields()[0].Value().ToInt32();
}

std::string Bytes(const fs::path& file) {
    std::ostringstream out;
    out << std::ifstream(file, std::ios::binary).rdbuf();
    return out.str();
}

int32_t RecordedEngineType(const std::string& file, const std::string& password) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (!password.empty()) sqlite3_key(db, password.data(), static_cast<int>(password.size()));
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA application_id", -1, &st, nullptr);
    sqlite3_step(st);
    const int32_t value = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(db);
    return value;
}

// Every file of the folder with its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) files[entry.path().filename()] = Bytes(entry.path());
    return files;
}

TEST(Compaction, ShrinksAfterDeletionsWithTheDestinationsPassword) {
    struct Case {
        const char* name;
        std::string sourcePassword, destinationPassword;
        bool inPlace;
        std::string engineType;
        int32_t recorded;
    };
    const Case cases[] = {
        {"plain, in place", "", "", true, "", 5},
        {"encrypted, in place", "clave", "clave", true, "5", 5},
        {"in place with another password", "clave", "nueva", true, "", 5},
        {"encrypted, to another file with another password", "clave", "nueva", false, "4", 4},
        {"plain, to an encrypted file", "", "nueva", false, "", 5},
        {"encrypted, to a plain file", "clave", "", false, "", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EmbeddedDb db(c.sourcePassword);
        FillAndDelete(db.Connect());
        const std::string before = Bytes(db.file());
        const std::string destination = c.inPlace ? db.file() : db.dir().file("compactada.db");
        CompactDatabase(JetConnectionString(db.file(), c.sourcePassword),
                        WithEngineType(JetConnectionString(destination, c.destinationPassword), c.engineType));

        EXPECT_LT(fs::file_size(destination) * 4, before.size());
        EXPECT_EQ(Rows(destination, c.destinationPassword), 10);
        EXPECT_EQ(RecordedEngineType(destination, c.destinationPassword), c.recorded);
        // Encrypted means no readable text in the file and no way in without the password.
        const bool encrypted = !c.destinationPassword.empty();
        EXPECT_EQ(Bytes(destination).find("texto visible") == std::string::npos, encrypted);
        EXPECT_EQ(ErrorNumberOf([&] { Open(destination, encrypted ? "otra" : ""); }),
                  encrypted ? err::InvalidPassword : 0);
        if (!c.inPlace) {
            EXPECT_EQ(Bytes(db.file()), before);
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(db.dir().path()), fs::directory_iterator()),
                  c.inPlace ? 1 : 2);  // no copy left behind
    }
}

TEST(Compaction, RefusalsLeaveEveryFileAsItWas) {
    EmbeddedDb db("clave");
    FillAndDelete(db.Connect());
    const std::string source = JetConnectionString(db.file(), "clave");
    const std::string existing = db.dir().file("existente.db");
    CreateDatabase(JetConnectionString(existing));
    const std::string fresh = JetConnectionString(db.dir().file("nueva.db"));
    struct Refusal {
        const char* name;
        std::string source, destination;
        int32_t number;
    };
    const Refusal refusals[] = {
        {"existing destination", source, JetConnectionString(existing, "clave"), err::Fail},
        {"missing destination folder", source, JetConnectionString(db.dir().file("no/nueva.db")), err::Fail},
        {"wrong source password", JetConnectionString(db.file(), "otra"), fresh, err::InvalidPassword},
        {"missing source", JetConnectionString(db.dir().file("nada.db")), fresh, err::Fail},
        {"unknown engine type", source, WithEngineType(fresh, "7"), err::InvalidArgument},
        {"engine type that is no number", source, WithEngineType(fresh, "5a"), err::InvalidArgument},
        {"destination of another provider", source, "Provider=MSDASQL;Data Source=nueva", err::FeatureNotAvailable},
    };
    const auto before = Snapshot(db.dir().path());
    for (const Refusal& r : refusals) {
        EXPECT_EQ(ErrorNumberOf([&] { CompactDatabase(r.source, r.destination); }), r.number) << r.name;
        EXPECT_EQ(Snapshot(db.dir().path()), before) << r.name;
    }

    // A file another connection holds exclusively is refused at once, in place or not.
    auto holder = Connection::Create();
    holder->Mode(adModeShareExclusive);
    holder->Open(source);
    EXPECT_EQ(ErrorNumberOf([&] { CompactDatabase(source, source); }), err::LockedByUser);
    EXPECT_EQ(ErrorNumberOf([&] { CompactDatabase(source, fresh); }), err::LockedByUser);
    holder->Close();
    EXPECT_EQ(Snapshot(db.dir().path()), before);
}

}  // namespace
