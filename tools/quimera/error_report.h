// A failure as the tool shows it on standard error:
//   error N: description           (or the heading given, for a statement of a script)
//     SQLSTATE s, error nativo n   (when the engine gave them)
//     instrucción: text            (when a statement failed; passwords masked)
#pragma once

#include <ostream>
#include <string>

#include "ado/Error.h"

namespace tool {

void PrintError(std::ostream& err, const ado::Error& e, const std::string& heading = {});

}  // namespace tool
