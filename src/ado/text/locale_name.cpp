#include "ado/text/locale_name.h"

namespace ado::text {

std::string IcuLocale(std::string_view name) {
    name = name.substr(0, name.find_first_of(".@"));  // POSIX codeset and modifier
    if (name.empty() || name == "C" || name == "POSIX") return "root";
    return std::string(name);
}

}  // namespace ado::text
