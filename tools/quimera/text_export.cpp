#include "text_export.h"

#include <cstdio>

#include "ado/Regional.h"
#include "row_output.h"

namespace tool {

namespace {

bool IsDate(ado::DataTypeEnum t) {
    return t == ado::adDate || t == ado::adDBDate || t == ado::adDBTime || t == ado::adDBTimeStamp || t == ado::adFileTime;
}

}  // namespace

std::string PlainText(const ado::Variant& v) {
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

namespace {

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
    if (v.Type() == ado::VariantType::Bool) return PlainText(v);
    if (v.IsNumeric() && !IsDate(f.Type())) return PlainText(v);
    return JsonString(PlainText(v));
}

class CsvOutput final : public RowOutput {
public:
    explicit CsvOutput(std::ostream& out) : out_(out) {}
    void Begin(ado::Fields& fields) override {
        for (int32_t i = 0; i < fields.Count(); ++i) out_ << (i ? "," : "") << CsvField(fields[i].Name());
        out_ << "\r\n";
    }
    void Row(ado::Fields& fields) override {
        for (int32_t i = 0; i < fields.Count(); ++i) {
            const ado::Variant v = fields[i].Value();
            out_ << (i ? "," : "") << (v.IsNull() || v.IsEmpty() ? std::string() : CsvField(PlainText(v)));
        }
        out_ << "\r\n";
    }
    void End(int64_t) override {}

private:
    std::ostream& out_;
};

class JsonOutput final : public RowOutput {
public:
    explicit JsonOutput(std::ostream& out) : out_(out) {}
    void Begin(ado::Fields&) override { out_ << "["; }
    void Row(ado::Fields& fields) override {
        out_ << (first_ ? "\n  {" : ",\n  {");
        first_ = false;
        for (int32_t i = 0; i < fields.Count(); ++i)
            out_ << (i ? ", " : "") << JsonString(fields[i].Name()) << ": " << JsonValue(fields[i], fields[i].Value());
        out_ << "}";
    }
    void End(int64_t) override { out_ << (first_ ? "]\n" : "\n]\n"); }

private:
    std::ostream& out_;
    bool first_ = true;
};

}  // namespace

std::unique_ptr<RowOutput> MakeCsvOutput(std::ostream& out) { return std::make_unique<CsvOutput>(out); }
std::unique_ptr<RowOutput> MakeJsonOutput(std::ostream& out) { return std::make_unique<JsonOutput>(out); }

}  // namespace tool
