// Database files that cannot be opened as asked, each with its own error naming the file; the
// lock file every user who may write the database may use; leftovers of killed copies.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "support/EmbeddedDb.h"
#include "support/OrdinaryUser.h"

namespace {

using namespace ado;
namespace fs = std::filesystem;
using testsupport::EmbeddedDb;
using testsupport::AsOrdinaryUser;
using testsupport::JetConnectionString;

// "number description" of what opening cs in mode raises ("0" when it opens).
std::string OpenFailure(const std::string& cs, ConnectModeEnum mode = adModeUnknown) {
    try {
        auto cn = Connection::Create();
        cn->Mode(mode);
        cn->Open(cs);
        return "0";
    } catch (const Error& e) {
        return std::to_string(e.Number()) + " " + e.Description();
    }
}

TEST(FileAccess, EachRefusalHasItsOwnNumberAndNamesTheFile) {
    EmbeddedDb plain;
    EmbeddedDb locked("secreto");
    const std::string text = plain.dir().file("texto.db"), cut = plain.dir().file("cortado.db");
    std::ofstream(text) << "esto no es una base de datos, solo texto plano de prueba...";
    std::ofstream(cut) << std::string("SQLite format 3\0", 16) << std::string(2032, 'x');
    const std::string q = "'";
    const std::pair<std::string, std::string> cases[] = {
        {JetConnectionString(locked.file(), "otra"), "-2147217843 La contraseña no es válida. '" + locked.file() + q},
        {JetConnectionString(locked.file()),
         "3031 El archivo está protegido con una contraseña y no se indicó ninguna. '" + locked.file() + q},
        {JetConnectionString(text), "3343 Formato de base de datos no reconocido. '" + text + q},
        {JetConnectionString(cut, "clave"), "3343 Formato de base de datos no reconocido. '" + cut + q},
        {JetConnectionString(plain.dir().file("nada.db")),
         "-2147467259 No se encuentra el archivo de base de datos. '" + plain.dir().file("nada.db") + q},
    };
    for (const auto& [cs, failure] : cases) EXPECT_EQ(OpenFailure(cs), failure);
}

TEST(FileAccess, ReadOnlyAndForbiddenFilesAsAnOrdinaryUser) {
    EmbeddedDb db;
    db.Connect()->Execute("CREATE TABLE t (x LONG)");
    fs::permissions(db.dir().path(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(db.file(), fs::perms::owner_all | fs::perms::others_read);
    fs::permissions(db.file() + ".ldb", fs::perms::owner_all | fs::perms::others_all);
    const std::string cs = JetConnectionString(db.file()), named = " '" + db.file() + "' (Permission denied)";
    const std::string outcome = AsOrdinaryUser([&] {
        // An unspecified mode opens it read-only, as Access does, and a write says why it fails.
        std::string seen = OpenFailure(cs, adModeReadWrite) + " | " + OpenFailure(cs, adModeRead) + " | ";
        try {
            auto cn = Connection::Create();
            cn->Open(cs);
            cn->Execute("INSERT INTO t VALUES (1)");
            seen += "written";
        } catch (const Error& e) {
            seen += std::to_string(e.Number()) + " " + e.Description();
        }
        return seen;
    });
    EXPECT_EQ(outcome, "3027 No se puede actualizar. La base de datos o el objeto es de sólo lectura." + named +
                           " | 0 | 3027 No se puede actualizar. La base de datos o el objeto es de sólo lectura. '" +
                           db.file() + "'");
    // A file anyone may write, in a folder they may not: it opens and reads, and a write that
    // cannot make its journal there is refused for want of permission (it said "not found").
    fs::permissions(db.file(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_write);
    EXPECT_EQ(AsOrdinaryUser([&] {
                  auto cn = Connection::Create();
                  cn->Open(cs);
                  cn->Execute("SELECT * FROM t");
                  try {
                      cn->Execute("INSERT INTO t VALUES (1)");
                      return std::string("written");
                  } catch (const Error& e) {
                      return std::to_string(e.Number()) + " " + e.Description();
                  }
              }),
              "3051 No tiene permiso para usar el archivo. (motor: unable to open database file)");
    fs::permissions(db.file(), fs::perms::owner_all);
    EXPECT_EQ(AsOrdinaryUser([&] { return OpenFailure(cs, adModeRead); }),
              "3051 No tiene permiso para usar el archivo." + named);
}

TEST(FileAccess, TheLockFileIsWritableByWhoeverMayWriteTheDatabase) {
    EmbeddedDb db;
    const mode_t saved = ::umask(022);
    fs::remove(db.file() + ".ldb");
    fs::permissions(db.file(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                   fs::perms::group_write | fs::perms::others_read);
    db.Connect();
    ::umask(saved);
    EXPECT_EQ(fs::status(db.file() + ".ldb").permissions(), fs::status(db.file()).permissions());

    // A lock file this user cannot write: the connection says so instead of going unguarded.
    fs::permissions(db.dir().path(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(db.file(), fs::perms::all);
    fs::permissions(db.file() + ".ldb", fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    const std::string cs = JetConnectionString(db.file());
    EXPECT_EQ(AsOrdinaryUser([&] { return OpenFailure(cs, adModeReadWrite); }),
              "3051 No tiene permiso para usar el archivo. (no se puede usar el archivo de bloqueo '" + db.file() +
                  ".ldb': Permission denied)");
}

TEST(FileAccess, CopiesOfKilledProcessesGoAtTheNextOpen) {
    EmbeddedDb db;
    const std::string dead = db.dir().file(".prueba.db.brezal-AbC123"), alive = db.dir().file(".prueba.db.brezal-Vivo12");
    for (const std::string& f : {dead, dead + "-journal", alive, alive + "-journal"}) std::ofstream(f) << "x";
    const int held = ::open(alive.c_str(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    db.Connect();
    EXPECT_FALSE(fs::exists(dead) || fs::exists(dead + "-journal"));
    EXPECT_TRUE(fs::exists(alive) && fs::exists(alive + "-journal"));
    ::close(held);
}

}  // namespace
