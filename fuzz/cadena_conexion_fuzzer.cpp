// Fuzz target: OLE DB connection strings. Any text parses without failing, and what it
// parsed to is written back by ToString and parses to the same items. Any two values split
// from the input and written with ConnectionStringValue read back exactly as they were.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ado/ConnectionStringValue.h"
#include "ado/connection_string.h"

namespace {

[[noreturn]] void Fail(const char* what, std::string_view text) {
    std::fprintf(stderr, "connection string: %s: [%.*s]\n", what, static_cast<int>(text.size()), text.data());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const ado::ConnectionString parsed = ado::ConnectionString::Parse(text);
    const std::string written = parsed.ToString();
    // A first key holding a '/' would read as a bare path: only the items' values are kept then.
    const bool slashKey = !parsed.Items().empty() && parsed.Items().front().first.find('/') != std::string::npos;
    if (!slashKey && ado::ConnectionString::Parse(written).Items() != parsed.Items())
        Fail("ToString does not read back", text);

    const size_t cut = text.find('\x01');
    const std::string_view first = text.substr(0, cut);
    const std::string_view second = cut == std::string_view::npos ? std::string_view() : text.substr(cut + 1);
    const std::string cs = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + ado::ConnectionStringValue(first) +
                           ";Jet OLEDB:Database Password=" + ado::ConnectionStringValue(second) + ";Mode=12";
    const ado::ConnectionString back = ado::ConnectionString::Parse(cs);
    if (back.Get("Data Source") != std::string(first)) Fail("a value does not read back", cs);
    if (back.Get("Jet OLEDB:Database Password") != std::string(second)) Fail("a password does not read back", cs);
    if (back.Get("Mode") != "12") Fail("a value ran into the next key", cs);
    return 0;
}
