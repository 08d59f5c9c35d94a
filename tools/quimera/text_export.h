// The text forms of values for machines to read, as the CSV and JSON outputs write them.
#pragma once

#include <string>

#include "ado/Field.h"

namespace tool {

// Numbers with '.', dates as "yyyy-mm-ddThh:mm:ss", binaries as hexadecimal.
std::string PlainText(const ado::Variant& v);

}  // namespace tool
