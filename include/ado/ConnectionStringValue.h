// Values written into OLE DB connection strings.
#pragma once

#include <string>
#include <string_view>

namespace ado {

// A value as a connection string holds it, by OLE DB's rules: as it is when nothing in it
// needs quoting; otherwise (a ';', a leading or trailing space, a leading quote) between
// double quotes with each '"' doubled, or between apostrophes when it holds a '"' and no
// apostrophe. "Data Source=" + ConnectionStringValue(path) + ";" reads back as the path,
// whatever the path holds.
std::string ConnectionStringValue(std::string_view value);

}  // namespace ado
