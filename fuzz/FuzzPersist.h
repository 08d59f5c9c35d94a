// What the recordset file readers' fuzz targets share: any bytes give a file model or a clear
// ado::Error; a model that reads is written again in its format, and what is written reads.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "ado/Error.h"
#include "ado/persist/persist.h"

namespace fuzz {

using Reader = ado::persist::RowsetFile (*)(ado::persist::ByteSource&);
using Writer = void (*)(const ado::persist::FileSource&, ado::persist::ByteSink&);

inline void ReadWriteRead(const uint8_t* data, size_t size, Reader read, Writer write) {
    ado::persist::RowsetFile file;
    try {
        ado::persist::ByteSource in({data, size}, "fuzz");
        file = read(in);
    } catch (const ado::Error&) {
        return;  // a clear failure is what bad input deserves
    }
    ado::persist::StringSink again;
    try {
        write(ado::persist::SourceOf(file), again);
    } catch (const ado::Error&) {
        return;  // a value the format cannot write (a control character in XML text, say)
    }
    try {
        ado::persist::ByteSource in({reinterpret_cast<const uint8_t*>(again.text.data()), again.text.size()}, "again");
        read(in);
    } catch (const ado::Error& e) {
        std::fprintf(stderr, "a file we wrote does not read back: %s\n", e.Description().c_str());
        std::abort();
    }
}

}  // namespace fuzz
