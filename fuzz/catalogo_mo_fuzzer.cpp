// Fuzz target: the reader of compiled gettext catalogues (.mo) on any bytes: it accepts a
// catalogue or refuses the bytes, and a catalogue it accepts keeps no more messages than its bytes can describe.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "components/babelia/catalogo_mo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    babelia::detalle::CatalogoMo catalogo;
    const bool leido = catalogo.Analizar(std::string_view(reinterpret_cast<const char*>(data), size));
    // Each message kept takes two 8-byte descriptors of the file.
    if (leido && catalogo.Tamano() > size / 16) {
        std::fprintf(stderr, "mo: %zu messages kept from %zu bytes (read: %d)\n", catalogo.Tamano(), size, leido);
        std::abort();
    }
    (void)catalogo.Buscar(std::string(reinterpret_cast<const char*>(data), size < 8 ? size : 8));
    return 0;
}
