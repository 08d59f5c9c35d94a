// The format of a database file as this library writes it, recorded in the file: dates as
// date serials, Currency as exact ten-thousandths, Decimal as exact keys, and texts under
// the ACCESS collation, whose locale and collator version the file keeps too. A file without
// that record (made by an earlier version of the library or by another program) holds values
// in other forms: it is refused, naming the command that converts it, rather than misread.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <sqlcipher/sqlite3.h>

namespace ado::sqlite {

inline constexpr int kFileFormatVersion = 2;
inline constexpr std::string_view kFormatTable = "MSysPropiedades";

struct FileFormat {
    int version = 0;
    std::string collationLocale;
    std::string collationVersion;
};

// The file's record; nullopt when it has none.
std::optional<FileFormat> ReadFileFormat(sqlite3* db, std::string_view schema = "main");

// Records the current format, with the collation of `locale` (a new or converted file).
void StampFileFormat(sqlite3* db, std::string_view locale);

// Whether the database holds tables or views of its own (system tables aside).
bool HasOwnObjects(sqlite3* db, std::string_view schema = "main");

// On opening a file: an empty file is stamped (when writable); a file of the current format
// has its text indexes rebuilt when the collator has changed since they were built; any other
// file is refused. Returns the collation locale the connection must use.
std::string PrepareFileFormat(sqlite3* db, const std::string& path, bool writable);

// An attached file (t IN 'file') must be of the current format too.
void RequireCurrentFormat(sqlite3* db, std::string_view schema, const std::string& path);

// The collation locale given to new files: the regional settings' language, Spanish when the
// settings have none (the "C" locale).
std::string DefaultCollationLocale();

}  // namespace ado::sqlite
