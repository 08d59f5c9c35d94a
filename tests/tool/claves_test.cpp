// compactar and clave as a user runs them: a file keeps its own key, passwords and paths with
// quotes, separators and spaces work, and a file reached through a link keeps its place,
// mode and owner.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "support/EmbeddedDb.h"
#include "tool/Herramienta.h"

namespace {

using testsupport::Quimera;
using testsupport::Quoted;
namespace fs = std::filesystem;

// The error number of opening file with password (0 when it opens).
int32_t OpenWith(const std::string& file, const std::string& password) {
    return testsupport::ErrorNumberOf(
        [&] { ado::Connection::Create()->Open(testsupport::JetConnectionString(file, password)); });
}

bool Plain(const std::string& file) { return testsupport::FileBytes(file).starts_with("SQLite format 3"); }

// The tool's output with the sizes it reports left out.
std::string WithoutSizes(std::string out) {
    const size_t colon = out.rfind(": ");
    const size_t bytes = out.rfind(" bytes");
    return colon != std::string::npos && bytes != std::string::npos ? out.erase(colon, bytes - colon) : out;
}

TEST(HerramientaClaves, CompactarConservaLaClaveDelArchivo) {
    for (const std::string clave : {"", "secreta"}) {
        testsupport::EmbeddedDb db(clave);
        db.Connect()->Execute("CREATE TABLE t (x TEXT)");
        EXPECT_EQ(WithoutSizes(Quimera("compactar " + Quoted(db.file()) + " --password otra" + clave)),
                  clave.empty() ? "Compactada " + db.file() + " bytes\n[0]"
                                : "error -2147217843: La contraseña no es válida. '" + db.file() + "'\n[1]");
        if (!clave.empty()) {
            EXPECT_EQ(Quimera("compactar " + Quoted(db.file()) + " --password otra", "", "2>&1", testsupport::kIngles),
                      "error -2147217843: The password is not valid. '" + db.file() + "'\n[1]");
        }
        EXPECT_EQ(WithoutSizes(Quimera("compactar " + Quoted(db.file()) + " --password " + Quoted(clave))),
                  "Compactada " + db.file() + " bytes\n[0]");
        EXPECT_EQ(Plain(db.file()), clave.empty()) << clave;
        EXPECT_EQ(OpenWith(db.file(), clave), 0) << clave;
        EXPECT_EQ(OpenWith(db.file(), "otra"), clave.empty() ? 0 : ado::err::InvalidPassword) << clave;
    }
}

TEST(HerramientaClaves, ClavesYRutasConComillasYSeparadores) {
    testsupport::TempDir dir;
    const std::string file = dir.file("pun;to=co\"ma 'y' espacio.mdb");
    ado::CreateDatabase(testsupport::JetConnectionString(file));
    const std::string clave = "a\"b;c'd=e ";
    EXPECT_EQ(Quimera("clave " + Quoted(file) + " --nueva " + Quoted(clave)),
              "Cambiada la contraseña de " + file + "\n[0]");
    EXPECT_EQ(OpenWith(file, clave), 0);
    EXPECT_EQ(OpenWith(file, "a"), ado::err::InvalidPassword);
    EXPECT_EQ(WithoutSizes(Quimera("compactar " + Quoted(file) + " --password " + Quoted(clave))),
              "Compactada " + file + " bytes\n[0]");
    EXPECT_EQ(OpenWith(file, clave), 0);
    EXPECT_EQ(Quimera("clave " + Quoted(file) + " --password " + Quoted(clave) + " --quitar"),
              "Quitada la contraseña de " + file + "\n[0]");
    EXPECT_TRUE(Plain(file));
    // Nothing but the database and its lock file is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST(HerramientaClaves, UnEnlaceSigueSiendoEnlaceYElArchivoConservaSusPermisos) {
    testsupport::EmbeddedDb db("vieja");
    db.Connect()->Execute("CREATE TABLE t (x TEXT)");
    fs::permissions(db.file(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                   fs::perms::group_write);
    const bool root = ::getuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(db.file().c_str(), 65534, 65534), 0);
    }
    struct stat before {};
    ::stat(db.file().c_str(), &before);
    const std::string link = db.dir().file("enlace.mdb");
    fs::create_symlink(db.file(), link);

    EXPECT_EQ(Quimera("clave " + Quoted(link) + " --password vieja --nueva nueva"),
              "Cambiada la contraseña de " + link + "\n[0]");
    EXPECT_EQ(WithoutSizes(Quimera("compactar " + Quoted(link) + " --password nueva")),
              "Compactada " + link + " bytes\n[0]");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(OpenWith(db.file(), "nueva"), 0);
    struct stat after {};
    ::stat(db.file().c_str(), &after);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(std::make_pair(after.st_uid, after.st_gid), std::make_pair(before.st_uid, before.st_gid));
}

}  // namespace
