#include "text_export.h"

#include <cstdio>

#include "ado/Regional.h"

namespace tool {

namespace {

bool IsDate(ado::DataTypeEnum t) {
    return t == ado::adDate || t == ado::adDBDate || t == ado::adDBTime || t == ado::adDBTimeStamp || t == ado::adFileTime;
}

// The value's text for a machine to read: numbers with '.', ISO dates, hexadecimal bytes.
std::string Plain(const ado::Variant& v) {
    switch (v.Type()) {
        case ado::VariantType::Date: {
            const ado::DateParts p = ado::SplitDate(v.AsDate());
            char buf[32];
            std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute,
                          p.second);
            return buf;
        }
        case ado::VariantType::Binary: {
            static constexpr char kDigits[] = "0123456789abcdef";
            std::string hex;
            for (uint8_t b : v.AsBinary()) hex += {kDigits[b >> 4], kDigits[b & 15]};
            return hex;
        }
        case ado::VariantType::Bool: return v.AsBool() ? "true" : "false";
        default: return v.ToString(ado::RegionalSettings::UnitedStates());
    }
}

std::string CsvField(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string quoted = "\"";
    for (char c : s) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out.push_back(static_cast<char>(c));
                }
        }
    }
    return out + "\"";
}

std::string JsonValue(const ado::Field& f, const ado::Variant& v) {
    if (v.IsNull() || v.IsEmpty()) return "null";
    if (v.Type() == ado::VariantType::Bool) return Plain(v);
    if (v.IsNumeric() && !IsDate(f.Type())) return Plain(v);
    return JsonString(Plain(v));
}

}  // namespace

void WriteCsv(ado::Recordset& rs, std::ostream& out) {
    ado::Fields& fields = rs.Fields();
    for (int32_t i = 0; i < fields.Count(); ++i) out << (i ? "," : "") << CsvField(fields[i].Name());
    out << "\r\n";
    for (rs.MoveFirst(); !rs.adoEOF(); rs.MoveNext()) {
        for (int32_t i = 0; i < fields.Count(); ++i) {
            const ado::Variant v = fields[i].Value();
            out << (i ? "," : "") << (v.IsNull() || v.IsEmpty() ? std::string() : CsvField(Plain(v)));
        }
        out << "\r\n";
    }
}

void WriteJson(ado::Recordset& rs, std::ostream& out) {
    ado::Fields& fields = rs.Fields();
    out << "[";
    bool first = true;
    for (rs.MoveFirst(); !rs.adoEOF(); rs.MoveNext()) {
        out << (first ? "\n  {" : ",\n  {");
        first = false;
        for (int32_t i = 0; i < fields.Count(); ++i)
            out << (i ? ", " : "") << JsonString(fields[i].Name()) << ": " << JsonValue(fields[i], fields[i].Value());
        out << "}";
    }
    out << (first ? "]\n" : "\n]\n");
}

}  // namespace tool
