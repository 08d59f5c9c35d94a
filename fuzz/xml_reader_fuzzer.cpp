// Fuzz target: the XML reader on any bytes, then the writer and the reader again.
#include "FuzzPersist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::ReadWriteRead(data, size, &ado::persist::ReadXml, &ado::persist::WriteXml);
    return 0;
}
