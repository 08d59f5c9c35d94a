#include "ado/providers/sqlite/file_format.h"

#include <charconv>

#include "ado/Regional.h"
#include "ado/error_numbers.h"
#include "ado/providers/sqlite/engine_statement.h"
#include "ado/providers/sqlite/text_collation.h"
#include "ado/providers/sqlite/row_writer.h"

namespace ado::sqlite {

namespace {

std::string Qualified(std::string_view schema, std::string_view table) {
    return QuoteIdentifier(schema) + "." + QuoteIdentifier(table);
}

bool HasFormatTable(sqlite3* db, std::string_view schema) {
    return QueryText(db, "SELECT 1 FROM " + Qualified(schema, "sqlite_master") + " WHERE type = 'table' AND name = ?1",
                     {kFormatTable})
        .has_value();
}

std::optional<std::string> Property(sqlite3* db, std::string_view schema, std::string_view name) {
    return QueryText(db, "SELECT Valor FROM " + Qualified(schema, kFormatTable) + " WHERE Propiedad = ?1", {name});
}

void SetProperty(sqlite3* db, std::string_view name, std::string_view value) {
    RunOwn(db, "INSERT OR REPLACE INTO main." + QuoteIdentifier(kFormatTable) + " (Propiedad, Valor) VALUES (?1, ?2)",
           {name, value});
}

[[noreturn]] void RefuseOutdated(const std::string& path) {
    Raise(Condition::OutdatedFile, "Archivo: '" + path + "'. Conviértalo con: quimera migrar \"" + path + "\"");
}

}  // namespace

std::optional<FileFormat> ReadFileFormat(sqlite3* db, std::string_view schema) {
    if (!HasFormatTable(db, schema)) return std::nullopt;
    FileFormat f;
    // A value that is no number (a damaged or foreign file) reads as the earliest format.
    const std::string version = Property(db, schema, "Formato").value_or("0");
    if (std::from_chars(version.data(), version.data() + version.size(), f.version).ec != std::errc{}) f.version = 0;
    f.collationLocale = Property(db, schema, "Intercalacion").value_or("es");
    f.collationVersion = Property(db, schema, "VersionIntercalacion").value_or("");
    return f;
}

void StampFileFormat(sqlite3* db, std::string_view locale) {
    RunOwn(db, "CREATE TABLE IF NOT EXISTS main." + QuoteIdentifier(kFormatTable) +
                   " (Propiedad TEXT PRIMARY KEY, Valor TEXT)");
    SetProperty(db, "Formato", std::to_string(kFileFormatVersion));
    SetProperty(db, "Intercalacion", locale);
    SetProperty(db, "VersionIntercalacion", AccessCollationVersion(locale));
}

bool HasOwnObjects(sqlite3* db, std::string_view schema) {
    return QueryText(db, "SELECT 1 FROM " + Qualified(schema, "sqlite_master") +
                             " WHERE type IN ('table', 'view') AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
                             "AND name NOT LIKE 'MSys%'")
        .has_value();
}

std::string PrepareFileFormat(sqlite3* db, const std::string& path, bool writable) {
    const std::optional<FileFormat> format = ReadFileFormat(db);
    if (!format) {
        if (HasOwnObjects(db)) RefuseOutdated(path);
        const std::string locale = DefaultCollationLocale();
        if (writable) StampFileFormat(db, locale);
        return locale;
    }
    if (format->version > kFileFormatVersion)
        Raise(Condition::OutdatedFile, "Archivo: '" + path + "'. Lo escribió una versión posterior de la biblioteca.");
    if (format->version < kFileFormatVersion) RefuseOutdated(path);
    // Indexes on texts were built by the collator the file names: rebuilt when it changed.
    const std::string version = AccessCollationVersion(format->collationLocale);
    if (writable && format->collationVersion != version) {
        RegisterAccessCollation(db, format->collationLocale);
        RunOwn(db, "REINDEX ACCESS");
        SetProperty(db, "VersionIntercalacion", version);
    }
    return format->collationLocale;
}

void RequireCurrentFormat(sqlite3* db, std::string_view schema, const std::string& path) {
    const std::optional<FileFormat> format = ReadFileFormat(db, schema);
    if (format && format->version == kFileFormatVersion) return;
    if (!format && !HasOwnObjects(db, schema)) return;
    RefuseOutdated(path);
}

std::string DefaultCollationLocale() {
    const std::string& language = RegionalSettings::Current().language;
    return language.empty() ? "es" : language;
}

}  // namespace ado::sqlite
