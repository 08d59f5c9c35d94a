#include "ado/persist/adtg_values.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "ado/error_numbers.h"
#include "ado/persist/adtg_format.h"
#include "ado/persist/value_text.h"

namespace ado::persist::adtg {

namespace {

using U128 = unsigned __int128;
constexpr int64_t kFileTimeDay = 864000000000;  // 100-ns ticks
constexpr int64_t kFileTimeEpochDays = 109205;  // 1601-01-01 to 1899-12-30
constexpr double kMinSerial = -657435.0, kMaxSerial = 2958466.0;

enum VarType : uint16_t {
    VtEmpty = 0, VtNull = 1, VtI2 = 2, VtI4 = 3, VtR4 = 4, VtR8 = 5, VtCy = 6, VtDate = 7, VtBool = 11,
    VtDecimal = 14, VtI1 = 16, VtUI1 = 17, VtUI2 = 18, VtUI4 = 19, VtI8 = 20, VtUI8 = 21
};

double SerialOrFail(ByteSource& in, double serial) {
    if (!(serial > kMinSerial && serial < kMaxSerial)) in.Fail("una fecha está fuera del intervalo admitido");
    return serial;
}

double SerialFromDays(int64_t days, double seconds) {
    const double d = static_cast<double>(days), fraction = seconds / 86400.0;
    return d >= 0 ? d + fraction : d - fraction;
}

// The stored year, month and day at `p` (SHORT, USHORT, USHORT) and a time of day.
double CalendarSerial(ByteSource& in, const uint8_t* p, double seconds) {
    const int m = Get<uint16_t>(p + 2), d = Get<uint16_t>(p + 4);
    if (m < 1 || m > 12 || d < 1 || d > 31 || seconds < 0 || seconds >= 86400) in.Fail("una fecha no es válida");
    try {
        return SerialFrom(Get<int16_t>(p), m, d, seconds);
    } catch (const Error&) {
        in.Fail("una fecha está fuera del intervalo admitido");
    }
}

Decimal DecimalAt(ByteSource& in, const uint8_t* p) {
    const uint8_t scale = p[2];
    if (scale > 28) in.Fail("un número decimal tiene una escala no válida");
    const U128 mantissa = (U128{Get<uint32_t>(p + 4)} << 64) | Get<uint64_t>(p + 8);
    return Decimal{mantissa, scale, (p[3] & 0x80) != 0};
}

void AppendGuid(std::string& out, const uint8_t* p) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", Get<uint32_t>(p),
                  Get<uint16_t>(p + 4), Get<uint16_t>(p + 6), p[8], p[9], p[10], p[11], p[12], p[13], p[14], p[15]);
    out += buf;
}

void DecodeVariant(ByteSource& in, const uint8_t* p, ValueSink& sink) {
    const uint8_t* v = p + 8;
    switch (Get<uint16_t>(p)) {
        case VtEmpty: return sink.Other(Variant());
        case VtNull: return sink.Null();
        case VtI1: return sink.Other(Variant(static_cast<int16_t>(static_cast<int8_t>(v[0]))));
        case VtUI1: return sink.Other(Variant(static_cast<int16_t>(v[0])));
        case VtI2: return sink.Other(Variant(Get<int16_t>(v)));
        case VtUI2: return sink.Other(Variant(static_cast<int32_t>(Get<uint16_t>(v))));
        case VtI4: return sink.Other(Variant(Get<int32_t>(v)));
        case VtUI4: return sink.Other(Variant(static_cast<int64_t>(Get<uint32_t>(v))));
        case VtI8: return sink.Other(Variant(Get<int64_t>(v)));
        case VtUI8: return sink.Other(Variant(Decimal{Get<uint64_t>(v), 0, false}));
        case VtR4: {
            float f;
            std::memcpy(&f, v, 4);
            return sink.Other(Variant(f));
        }
        case VtR8: {
            double d;
            std::memcpy(&d, v, 8);
            return sink.Other(Variant(d));
        }
        case VtCy: return sink.Other(Variant(Currency{Get<int64_t>(v)}));
        case VtDate: {
            double d;
            std::memcpy(&d, v, 8);
            return sink.Other(Variant(Date{SerialOrFail(in, d)}));
        }
        case VtBool: return sink.Other(Variant(Get<uint16_t>(v) != 0));
        case VtDecimal: return sink.Other(Variant(DecimalAt(in, p)));
        default: in.Fail("un valor Variant es de un tipo que el formato no guarda");
    }
}

// The length of the next variable-length value.
uint64_t NextLength(ByteSource& in, const ColumnLayout& c) {
    if (c.lengthBytes == 0) return c.fixedBytes;
    const uint8_t* p = in.Need(static_cast<size_t>(c.lengthBytes));
    return c.lengthBytes == 1 ? p[0] : c.lengthBytes == 2 ? Get<uint16_t>(p) : Get<uint32_t>(p);
}

}  // namespace

bool ColumnLayout::Chapter() const { return dbType == kDbTypeChapter; }

ColumnLayout LayoutOf(uint16_t dbType, uint32_t flags, uint32_t maxLength) {
    ColumnLayout c;
    c.dbType = dbType;
    c.flags = flags;
    c.maxLength = maxLength;
    c.fixedBytes = FixedSize(dbType);
    c.presenceBit = (flags & (adFldIsNullable | adFldMayBeNull)) || dbType == kDbTypeChapter;
    if (dbType == kDbTypeBytes || dbType == kDbTypeStr || dbType == kDbTypeWStr) {
        const uint64_t maxBytes = uint64_t{maxLength} * (dbType == kDbTypeWStr ? 2 : 1);
        if (flags & adFldLong) c.lengthBytes = 4;
        else if (flags & adFldFixed) c.fixedBytes = maxBytes;
        else c.lengthBytes = maxBytes <= 0xFF ? 1 : maxBytes <= 0xFFFF ? 2 : 4;
    }
    return c;
}

void DecodeValue(ByteSource& in, const ColumnLayout& c, CodePage& codePage, std::string& scratch, ValueSink& sink) {
    if (c.dbType == kDbTypeBytes || c.dbType == kDbTypeStr || c.dbType == kDbTypeWStr) {
        const uint64_t n = NextLength(in, c);
        if (n > in.Remaining()) in.Fail("un valor es más largo que el resto del archivo");
        if (c.dbType == kDbTypeWStr && n % 2) in.Fail("un texto Unicode tiene un número impar de bytes");
        const uint8_t* p = in.Need(static_cast<size_t>(n));
        if (c.dbType == kDbTypeBytes) return sink.Blob(p, static_cast<size_t>(n));
        scratch.clear();
        if (c.dbType == kDbTypeWStr) AppendUtf8FromUtf16(scratch, p, static_cast<size_t>(n));
        else codePage.AppendUtf8(scratch, p, static_cast<size_t>(n));
        return sink.Text(scratch);
    }
    const uint8_t* p = in.Need(static_cast<size_t>(c.fixedBytes));
    switch (c.dbType) {
        case adTinyInt: return sink.Int(static_cast<int8_t>(p[0]));
        case adUnsignedTinyInt: return sink.Int(p[0]);
        case adSmallInt: return sink.Int(Get<int16_t>(p));
        case adUnsignedSmallInt: return sink.Int(Get<uint16_t>(p));
        case adInteger: return sink.Int(Get<int32_t>(p));
        case adUnsignedInt: return sink.Int(Get<uint32_t>(p));
        case adBigInt: return sink.Int(Get<int64_t>(p));
        case adUnsignedBigInt: return sink.Other(Variant(Decimal{Get<uint64_t>(p), 0, false}));
        case adSingle: {
            float f;
            std::memcpy(&f, p, 4);
            return sink.Real(f);
        }
        case adDouble: {
            double d;
            std::memcpy(&d, p, 8);
            return sink.Real(d);
        }
        case adCurrency: return sink.Money(Get<int64_t>(p));
        case adDate: {
            double d;
            std::memcpy(&d, p, 8);
            return sink.DateSerial(SerialOrFail(in, d));
        }
        case adBoolean: return sink.Bool(Get<uint16_t>(p) != 0);
        case adFileTime: {
            const uint64_t ticks = Get<uint64_t>(p);
            const auto days = static_cast<int64_t>(ticks / kFileTimeDay) - kFileTimeEpochDays;
            const double seconds = static_cast<double>(ticks % kFileTimeDay) / 1e7;
            return sink.DateSerial(SerialOrFail(in, SerialFromDays(days, seconds)));
        }
        case adGUID:
            scratch.clear();
            AppendGuid(scratch, p);
            return sink.Text(scratch);
        case adDecimal: return sink.Other(Variant(DecimalAt(in, p)));
        case adNumeric: {
            if (p[1] > 28) in.Fail("un número tiene una escala no válida");
            for (int i = 15; i < 19; ++i)
                if (p[i]) in.Fail("un número no cabe en 96 bits");
            const U128 mantissa = (U128{Get<uint32_t>(p + 11)} << 64) | Get<uint64_t>(p + 3);
            return sink.Other(Variant(Decimal{mantissa, p[1], p[2] == 0 && mantissa != 0}));
        }
        case adDBDate: return sink.DateSerial(CalendarSerial(in, p, 0));
        case adDBTime: {
            const double seconds = Get<uint16_t>(p) * 3600.0 + Get<uint16_t>(p + 2) * 60.0 + Get<uint16_t>(p + 4);
            if (seconds >= 86400) in.Fail("una hora no es válida");
            return sink.DateSerial(seconds / 86400.0);
        }
        case adDBTimeStamp: {
            const double seconds = Get<uint16_t>(p + 6) * 3600.0 + Get<uint16_t>(p + 8) * 60.0 + Get<uint16_t>(p + 10) +
                                   Get<uint32_t>(p + 12) / 1e9;
            return sink.DateSerial(CalendarSerial(in, p, seconds));
        }
        case kDbTypeVariant: return DecodeVariant(in, p, sink);
        default: in.Fail("un campo es de un tipo desconocido");
    }
}

namespace {

[[noreturn]] void NotOfColumn(std::string_view why) { Raise(Condition::DataConversion, "(" + std::string(why) + ")"); }

void PutDecimal(std::string& out, const Decimal& d, uint16_t reserved) {
    Put<uint16_t>(out, reserved);
    out.push_back(static_cast<char>(d.scale));
    out.push_back(static_cast<char>(d.negative && d.mantissa != 0 ? 0x80 : 0));
    Put<uint32_t>(out, static_cast<uint32_t>(d.mantissa >> 64));
    Put<uint64_t>(out, static_cast<uint64_t>(d.mantissa));
}

void PutDouble(std::string& out, double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    Put(out, bits);
}

void PutGuid(std::string& out, std::string_view text) {
    if (text.size() == 38 && text.front() == '{' && text.back() == '}') text = text.substr(1, 36);
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-')
        NotOfColumn("'" + std::string(text) + "' no es un GUID");
    uint8_t b[16];
    int k = 0;
    for (size_t i = 0; i < text.size(); i += (text[i] == '-') ? 1 : 2) {
        if (text[i] == '-') continue;
        unsigned v = 0;
        if (std::sscanf(std::string(text.substr(i, 2)).c_str(), "%2x", &v) != 1) NotOfColumn("un GUID no es válido");
        b[k++] = static_cast<uint8_t>(v);
    }
    // Data1, Data2 and Data3 are stored little-endian.
    const uint8_t order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    for (uint8_t i : order) out.push_back(static_cast<char>(b[i]));
}

void PutCalendar(std::string& out, double serial, bool date, bool time, bool fraction) {
    int64_t days = 0;
    double seconds = 0;
    SplitSerial(serial, days, seconds);
    if (date) {
        const DateParts p = SplitDate(Date{static_cast<double>(days)});
        Put<int16_t>(out, static_cast<int16_t>(p.year));
        Put<uint16_t>(out, static_cast<uint16_t>(p.month));
        Put<uint16_t>(out, static_cast<uint16_t>(p.day));
    }
    if (!time) return;
    const auto whole = static_cast<int64_t>(seconds);
    Put<uint16_t>(out, static_cast<uint16_t>(whole / 3600));
    Put<uint16_t>(out, static_cast<uint16_t>(whole / 60 % 60));
    Put<uint16_t>(out, static_cast<uint16_t>(whole % 60));
    if (fraction) Put<uint32_t>(out, static_cast<uint32_t>(std::lround((seconds - static_cast<double>(whole)) * 1e9)));
}

void PutVariantValue(std::string& out, const Variant& v) {
    const size_t start = out.size();
    auto head = [&](uint16_t vt) {
        Put<uint16_t>(out, vt);
        out.append(6, '\0');
    };
    switch (v.Type()) {
        case VariantType::Empty: head(VtEmpty); break;
        case VariantType::Null: head(VtNull); break;
        case VariantType::Bool: head(VtBool); Put<uint16_t>(out, v.AsBool() ? 0xFFFF : 0); break;
        case VariantType::I2: head(VtI2); Put<int16_t>(out, v.AsI2()); break;
        case VariantType::I4: head(VtI4); Put<int32_t>(out, v.AsI4()); break;
        case VariantType::I8: head(VtI8); Put<int64_t>(out, v.AsI8()); break;
        case VariantType::R4: {
            head(VtR4);
            const float f = v.AsR4();
            uint32_t bits;
            std::memcpy(&bits, &f, 4);
            Put(out, bits);
            break;
        }
        case VariantType::R8: head(VtR8); PutDouble(out, v.AsR8()); break;
        case VariantType::Currency: head(VtCy); Put<int64_t>(out, v.AsCurrency().scaled); break;
        case VariantType::Date: head(VtDate); PutDouble(out, v.AsDate().serial); break;
        case VariantType::Decimal: PutDecimal(out, v.AsDecimal(), VtDecimal); break;
        default: NotOfColumn("un valor Variant de texto, binario, matriz u objeto no cabe en el formato ADTG");
    }
    out.append(start + 16 - out.size(), '\0');
}

void PutText(std::string& out, const ColumnLayout& c, std::string_view bytes, char pad) {
    if (c.lengthBytes == 0) {
        if (bytes.size() > c.fixedBytes) NotOfColumn("un texto es más largo que su campo");
        out.append(bytes);
        for (size_t i = bytes.size(); i < c.fixedBytes; i += (c.dbType == kDbTypeWStr ? 2 : 1)) {
            out.push_back(pad);
            if (c.dbType == kDbTypeWStr) out.push_back('\0');
        }
        return;
    }
    const uint64_t limit = c.lengthBytes == 1 ? 0xFF : c.lengthBytes == 2 ? 0xFFFF : 0xFFFFFFFF;
    if (bytes.size() > limit) NotOfColumn("un valor es más largo que su campo");
    if (c.lengthBytes == 1) out.push_back(static_cast<char>(bytes.size()));
    else if (c.lengthBytes == 2) Put<uint16_t>(out, static_cast<uint16_t>(bytes.size()));
    else Put<uint32_t>(out, static_cast<uint32_t>(bytes.size()));
    out.append(bytes);
}

// A whole number in the stored integer type, when it fits.
template <class Int>
void PutInteger(std::string& out, const Variant& v) {
    const int64_t i = v.ToInt64();
    if (i < static_cast<int64_t>(std::numeric_limits<Int>::min()) ||
        (i > 0 && static_cast<uint64_t>(i) > static_cast<uint64_t>(std::numeric_limits<Int>::max())))
        NotOfColumn("un número no cabe en su campo");
    Put<Int>(out, static_cast<Int>(i));
}

}  // namespace

void EncodeValue(std::string& out, const ColumnLayout& c, const Variant& v, CodePage& codePage) {
    try {
        switch (c.dbType) {
            case adTinyInt: return PutInteger<int8_t>(out, v);
            case adUnsignedTinyInt: return PutInteger<uint8_t>(out, v);
            case adSmallInt: return PutInteger<int16_t>(out, v);
            case adUnsignedSmallInt: return PutInteger<uint16_t>(out, v);
            case adInteger: return PutInteger<int32_t>(out, v);
            case adUnsignedInt: return PutInteger<uint32_t>(out, v);
            case adBigInt: return Put<int64_t>(out, v.ToInt64());
            case adUnsignedBigInt: {
                const Decimal d = v.ToDecimal();
                U128 m = d.mantissa;
                for (int s = d.scale; s > 0; --s) {
                    if (m % 10) NotOfColumn("un número no es entero");
                    m /= 10;
                }
                if ((d.negative && m) || m > UINT64_MAX) NotOfColumn("un número no cabe en su campo");
                return Put<uint64_t>(out, static_cast<uint64_t>(m));
            }
            case adSingle: {
                const float f = v.ToSingle();
                uint32_t bits;
                std::memcpy(&bits, &f, 4);
                return Put(out, bits);
            }
            case adDouble: return PutDouble(out, v.ToDouble());
            case adCurrency: return Put<int64_t>(out, v.ToCurrency().scaled);
            case adDate: return PutDouble(out, v.ToDate().serial);
            case adBoolean: return Put<uint16_t>(out, v.ToBool() ? 0xFFFF : 0);
            case adFileTime: {
                int64_t days = 0;
                double seconds = 0;
                SplitSerial(v.ToDate().serial, days, seconds);
                if (days + kFileTimeEpochDays < 0) NotOfColumn("una fecha es anterior a 1601");
                return Put<uint64_t>(out, static_cast<uint64_t>((days + kFileTimeEpochDays) * kFileTimeDay +
                                                                 std::llround(seconds * 1e7)));
            }
            case adGUID: return PutGuid(out, v.ToString());
            case adDecimal: return PutDecimal(out, v.ToDecimal(), 0);
            case adNumeric: {
                const Decimal d = RescaledDecimal(v.ToDecimal(), c.scale);
                out.push_back(static_cast<char>(c.precision));
                out.push_back(static_cast<char>(c.scale));
                out.push_back(static_cast<char>(d.negative && d.mantissa != 0 ? 0 : 1));
                Put<uint64_t>(out, static_cast<uint64_t>(d.mantissa));
                return Put<uint64_t>(out, static_cast<uint64_t>(d.mantissa >> 64));
            }
            case adDBDate: return PutCalendar(out, v.ToDate().serial, true, false, false);
            case adDBTime: return PutCalendar(out, v.ToDate().serial, false, true, false);
            case adDBTimeStamp: return PutCalendar(out, v.ToDate().serial, true, true, true);
            case kDbTypeVariant: return PutVariantValue(out, v);
            case kDbTypeBytes: {
                if (v.Type() != VariantType::Binary) NotOfColumn("un valor no es binario");
                const Binary& b = v.AsBinary();
                return PutText(out, c, {reinterpret_cast<const char*>(b.data()), b.size()}, '\0');
            }
            case kDbTypeStr: {
                std::string bytes;
                codePage.AppendEncoded(bytes, v.ToString());
                return PutText(out, c, bytes, ' ');
            }
            case kDbTypeWStr: {
                std::string bytes;
                if (!AppendUtf16FromUtf8(bytes, v.ToString())) NotOfColumn("un texto no es UTF-8 válido");
                return PutText(out, c, bytes, ' ');
            }
            default: NotOfColumn("el tipo del campo no se puede guardar");
        }
    } catch (const Error& e) {
        if (e.Number() == err::DataConversion) throw;
        NotOfColumn(e.Description());
    }
}

}  // namespace ado::persist::adtg
