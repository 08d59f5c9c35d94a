// Creating databases, as ADOX's Catalog.Create does: a connection never creates one itself.
#pragma once

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

}  // namespace ado
