#include "error_report.h"

#include "ado/ErrorTranslation.h"
#include "idioma.h"

namespace tool {

void PrintError(std::ostream& err, const ado::Error& e, const std::string& heading) {
    err << (heading.empty() ? F("error {0}", e.Number()) : heading) << ": "
        << ado::TranslateDescription(e.Description(), [](const std::string& text) { return T(text); }) << '\n';
    if (!e.SQLState().empty()) err << "  " << F("SQLSTATE {0}, error nativo {1}", e.SQLState(), e.NativeError()) << '\n';
    if (!e.Statement().empty()) err << "  " << F("instrucción: {0}", e.Statement()) << '\n';
}

}  // namespace tool
