#include "ado/persist/xml_layout.h"

#include "ado/error_numbers.h"

namespace ado::persist {

namespace {
constexpr long kAttributeBreak = 108;
constexpr long kHexBreak = 107;
constexpr long kHexContinuation = -2;  // further hexadecimal lines hold 55 bytes
}  // namespace

void XmlLayout::Line(int depth, std::string_view text) {
    if (!out_.empty()) Break(depth);
    Raw(text);
}

void XmlLayout::Raw(std::string_view text) {
    out_.append(text);
    column_ += static_cast<long>(text.size());
}

void XmlLayout::Break(int depth) {
    out_.append(lineEnd_);
    out_.append(static_cast<size_t>(depth), '\t');
    column_ = depth;
}

void XmlLayout::Attribute(std::string_view name, std::string_view value, int continuation) {
    if (column_ >= kAttributeBreak) {
        Break(continuation);
        column_ = 0;
    }
    const size_t start = out_.size();
    out_.push_back(' ');
    out_.append(name);
    out_.append("='");
    AppendEscaped(out_, value);
    out_.push_back('\'');
    column_ += static_cast<long>(out_.size() - start);
}

void XmlLayout::HexAttribute(std::string_view name, std::string_view hex, int continuation) {
    if (column_ >= kAttributeBreak) {
        Break(continuation);
        column_ = 0;
    }
    Raw(" ");
    Raw(name);
    Raw("='");
    for (size_t i = 0; i < hex.size(); i += 2) {
        if (column_ >= kHexBreak) {
            Break(continuation);
            column_ = kHexContinuation;
        }
        Raw(hex.substr(i, 2));
    }
    Raw("'");
}

void AppendEscaped(std::string& out, std::string_view text) {
    size_t plain = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const char* reference = nullptr;
        switch (c) {
            case '&': reference = "&#x26;"; break;
            case '<': reference = "&#x3c;"; break;
            case '>': reference = "&#x3e;"; break;
            case '\'': reference = "&#x27;"; break;
            case '"': reference = "&#x22;"; break;
            case '\t': reference = "&#x9;"; break;
            case '\n': reference = "&#xa;"; break;
            case '\r': reference = "&#xd;"; break;
            default:
                if (c < 0x20)
                    Raise(Condition::DataConversion, "(un texto tiene un carácter de control que XML no admite)");
                continue;
        }
        out.append(text.substr(plain, i - plain));
        out.append(reference);
        plain = i + 1;
    }
    out.append(text.substr(plain));
}

}  // namespace ado::persist
