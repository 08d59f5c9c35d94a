// Values of the ADTG format: how each column's values are laid out, and each DBTYPE's
// encoding, to and from the cursor's values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ado/Variant.h"
#include "ado/persist/byte_source.h"
#include "ado/persist/value_sink.h"
#include "ado/persist/text_encoding.h"

namespace ado::persist::adtg {

struct ColumnLayout {
    uint16_t dbType = 0;
    uint32_t flags = 0;       // DBCOLUMNFLAGS (the FieldAttributeEnum bits)
    uint32_t maxLength = 0;   // as stored: characters for WSTR, bytes for the others
    uint64_t fixedBytes = 0;  // bytes of every value, when lengthBytes is 0
    int lengthBytes = 0;      // 0 (fixed size), or the size of the length before each value
    bool presenceBit = false; // unchanged rows give this column a presence bit
    uint8_t precision = 0;    // of NUMERIC values
    uint8_t scale = 0;

    bool Chapter() const;
};
// Fixed-size types and fixed-length texts are stored as they are; long ones after a 4-byte
// length; other texts after a length of 1 byte up to 255 bytes of maximum, 2 up to 65535,
// else 4.
ColumnLayout LayoutOf(uint16_t dbType, uint32_t flags, uint32_t maxLength);

// Reads one value of the column; fails with InvalidFile at the source's offset.
void DecodeValue(ByteSource& in, const ColumnLayout& column, CodePage& codePage, std::string& scratch,
                 ValueSink& sink);

// Appends the stored form of a value (neither Null nor Empty, except in variant columns);
// fails with 3421 when it is not one of the column's values.
void EncodeValue(std::string& out, const ColumnLayout& column, const Variant& v, CodePage& codePage);

// Little-endian integers.
template <class T>
void Put(std::string& out, T v) {
    for (size_t i = 0; i < sizeof(T); ++i) out.push_back(static_cast<char>((static_cast<uint64_t>(v) >> (8 * i)) & 0xFF));
}
template <class T>
T Get(const uint8_t* p) {
    uint64_t v = 0;
    for (size_t i = 0; i < sizeof(T); ++i) v |= static_cast<uint64_t>(p[i]) << (8 * i);
    return static_cast<T>(v);
}

}  // namespace ado::persist::adtg
