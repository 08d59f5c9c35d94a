// Creating databases, as ADOX's Catalog.Create does: a connection never creates one itself.
#pragma once

#include <string_view>

namespace ado {

// Creates an empty database from a connection string ("Provider=Microsoft.Jet.OLEDB.4.0;
// Data Source=file;Jet OLEDB:Database Password=..." for an encrypted file). The provider
// defaults to the embedded engine. An existing file is never overwritten.
void CreateDatabase(std::string_view connectionString);

}  // namespace ado
