// Fuzz target: clsAccesoDatos::ConvertirSQL_SQLServer on any text. Every pass must end, and
// no step may fail (a failure report aborts the run).
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzQuimera.h"
#include "quimera/clsAccesoDatos.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool instalado = (fuzz::InstalarGestorQueAborta(), true);
    static quimera::clsAccesoDatos acceso;  // one object, as a client keeps it
    (void)instalado;
    const std::string strSQL(reinterpret_cast<const char*>(data), size);
    acceso.ConvertirSQL_SQLServer(strSQL);
    return 0;
}
