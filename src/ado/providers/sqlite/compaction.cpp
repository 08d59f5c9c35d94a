// Compaction on the embedded engine, in the place of JRO's JetEngine.CompactDatabase: the
// source, held exclusively, is exported into a fresh file with the destination's password.
#include <algorithm>
#include <charconv>
#include <filesystem>

#include "ado/connection_string.h"
#include "ado/error_numbers.h"
#include "ado/providers/sqlite/database_copy.h"
#include "ado/providers/sqlite/sqlite_provider.h"
#include "ado/providers/sqlite/sqlite_session.h"

namespace ado::sqlite {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPasswordKey = "Jet OLEDB:Database Password";
constexpr std::string_view kEngineTypeKey = "Jet OLEDB:Engine Type";

// The Access file formats a destination may ask for (the Jet OLE DB engine types). The engine
// writes its one format; the value asked for is recorded in the copy.
constexpr int32_t kJetEngineTypes[] = {1, 2, 3, 4, 5};  // Jet 1.0, 1.1, 2.0, 3.x, 4.x
constexpr int32_t kCurrentEngineType = 5;

int32_t EngineTypeOf(const ConnectionString& settings) {
    const auto text = settings.Get(kEngineTypeKey);
    if (!text) return kCurrentEngineType;
    int32_t value = 0;
    const char* end = text->data() + text->size();
    const auto [stop, ec] = std::from_chars(text->data(), end, value);
    if (ec != std::errc() || stop != end || std::ranges::find(kJetEngineTypes, value) == std::end(kJetEngineTypes))
        Raise(Condition::InvalidArgument, "(tipo de motor Jet desconocido: '" + *text + "')");
    return value;
}

fs::path DataSource(const provider::OpenRequest& request) {
    const std::string path = request.settings.GetOr("Data Source", "");
    if (path.empty()) Raise(Condition::FileNotFound, "(no se indicó Data Source)");
    return path;
}

bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

}  // namespace

void SqliteProvider::Compact(const provider::OpenRequest& source, const provider::OpenRequest& destination) {
    // Everything is checked before anything is written.
    const int32_t engineType = EngineTypeOf(destination.settings);
    const fs::path from = DataSource(source);
    const fs::path to = DataSource(destination);
    const fs::path folder = to.has_parent_path() ? to.parent_path() : fs::path(".");
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) Raise(Condition::General, "(no existe la carpeta '" + folder.string() + "')");
    const bool inPlace = SameFile(from, to);
    if (!inPlace && fs::exists(fs::symlink_status(to, ec)))
        Raise(Condition::General, "(ya existe el archivo de destino '" + to.string() + "')");

    // As the Access engine requires, nobody else has the source open meanwhile; a file held
    // by another connection is refused at once rather than waited for.
    provider::OpenRequest reading = source;
    reading.mode = adModeShareExclusive;
    reading.connectionTimeout = 1;
    SqliteSession session(reading);
    DatabaseCopy copy(inPlace ? from : to);
    copy.Fill(session.Handle(), destination.settings.GetOr(kPasswordKey, ""), engineType);
    if (inPlace) {
        copy.Replace();  // while the session still holds the old file
    } else {
        copy.PlaceNew();
    }
}

}  // namespace ado::sqlite
