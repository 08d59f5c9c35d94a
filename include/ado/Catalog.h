// Creating databases, as ADOX's Catalog.Create does: a connection never creates one itself.
//
// Free functions holding no state: failures are thrown as ado::Error. Different files may be
// created from different threads at once.
#pragma once

#include <cstdint>
#include <string_view>

namespace ado {

// Creates an empty database from a connection string ("Provider=Microsoft.Jet.OLEDB.4.0;
// Data Source=file;Jet OLEDB:Database Password=..." for an encrypted file). The provider
// defaults to the embedded engine. An existing file is never overwritten.
void CreateDatabase(std::string_view connectionString);

// Writes a compacted copy of a database, as JRO's JetEngine.CompactDatabase does. Each
// connection string names its file (Data Source) and password (Jet OLEDB:Database
// Password, none when absent); the destination may give "Jet OLEDB:Engine Type" (the
// file format, 5 by default). The provider comes from the source's string and defaults
// to the embedded engine. An existing destination fails, unless it is the source itself:
// that file is then replaced whole by its compacted copy, or left as it was on a failure.
void CompactDatabase(std::string_view sourceConnectionString, std::string_view destinationConnectionString);

// What UpgradeDatabase did.
struct UpgradeReport {
    bool alreadyCurrent = false;  // the file was of the current format: nothing changed
    int tables = 0;               // tables converted
    int64_t rows = 0;             // rows converted
};

// Converts a database of an earlier format (made by an earlier version of this library or by
// another program) to the format this version reads: dates as date serials, exact Currency
// and Decimal, texts compared without regard to case. The file is held exclusively and
// converted whole in one transaction, or left as it was when a value does not convert.
UpgradeReport UpgradeDatabase(std::string_view connectionString);

}  // namespace ado
