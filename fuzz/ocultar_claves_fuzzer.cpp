// Fuzz target: the masking of passwords in the error manager's log. Any text is masked
// without failing; a password written by OLE DB's rules (any quoting) or by ODBC's (braces)
// never shows, whatever it holds, and what follows it is kept.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ado/ConnectionStringValue.h"
#include "quimera/components/centinela.h"

namespace {

[[noreturn]] void Fail(const char* what, std::string_view text) {
    std::fprintf(stderr, "masking: %s: [%.*s]\n", what, static_cast<int>(text.size()), text.data());
    std::abort();
}

std::string Braced(std::string_view value) {
    std::string out = "{";
    for (char c : value) out += c == '}' ? "}}" : std::string(1, c);
    return out + "}";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string masked = centinela::OcultarClaves(text);
    if (masked.size() > text.size() + 3 * (text.size() / 4 + 1)) Fail("the text grew beyond its masks", text);

    // A plain value that opens with '{' reads as braced to the masking: it may hide more.
    const std::string oledb = "Password=" + ado::ConnectionStringValue(text) + ";User ID=u";
    const std::string shown = centinela::OcultarClaves(oledb);
    if (shown != "Password=***;User ID=u" && !(text.starts_with('{') && shown == "Password=***"))
        Fail("an OLE DB password shows", oledb);
    const std::string odbc = "DSN=x;Pwd=" + Braced(text) + ";UID=u";
    if (centinela::OcultarClaves(odbc) != "DSN=x;Pwd=***;UID=u") Fail("an ODBC password shows", odbc);
    return 0;
}
