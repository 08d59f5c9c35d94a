#include "ado/providers/sqlite/dialect/utf8_text.h"

namespace ado::sqlite::detail {
namespace {

// An invalid byte b is carried as the code point 0xDC00 + b, which UTF-8 cannot hold,
// and written back as the same byte.
constexpr char32_t kStrayByteBase = 0xDC00;

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

std::u32string DecodeUtf8(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        char32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool valid = extra >= 0 && i + static_cast<size_t>(extra) < s.size();
        for (int k = 1; valid && k <= extra; ++k) {
            const auto cb = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            if (!IsContinuation(cb)) valid = false;
            c = (c << 6) | (cb & 0x3F);
        }
        static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (valid && extra > 0 && (c < kMinimum[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) valid = false;
        if (!valid) {
            out += kStrayByteBase + b;
            ++i;
            continue;
        }
        out += c;
        i += static_cast<size_t>(extra) + 1;
    }
    return out;
}

std::string EncodeUtf8(std::u32string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char32_t c : s) {
        if (c >= kStrayByteBase + 0x80 && c <= kStrayByteBase + 0xFF) {
            out += static_cast<char>(c - kStrayByteBase);
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

char32_t LowerChar(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c < 0xC0) return c;
    if (c <= 0xDE) return c == 0xD7 ? c : c + 32;                            // À..Þ except ×
    if (c >= 0x100 && c <= 0x137) return c | 1;                              // Ā..ķ in pairs
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c + (c & 1);  // Ĺ..ň, Ź..ž
    if (c >= 0x14A && c <= 0x177) return c | 1;                              // Ŋ..ŷ
    if (c == 0x178) return 0xFF;                                             // Ÿ
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;               // Greek
    if (c >= 0x410 && c <= 0x42F) return c + 32;                             // Cyrillic
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    return c;
}

char32_t UpperChar(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c < 0xE0) return c;
    if (c <= 0xFE) return c == 0xF7 ? c : c - 32;                            // à..þ except ÷
    if (c == 0xFF) return 0x178;                                             // ÿ
    if (c >= 0x100 && c <= 0x137) return c & ~char32_t{1};
    if ((c >= 0x13A && c <= 0x148) || (c >= 0x17A && c <= 0x17E)) return (c & 1) ? c : c - 1;
    if (c >= 0x14A && c <= 0x177) return c & ~char32_t{1};
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return c - 32;
    if (c >= 0x430 && c <= 0x44F) return c - 32;
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    return c;
}

std::string LowerUtf8(std::string_view s) {
    std::u32string u = DecodeUtf8(s);
    for (char32_t& c : u) c = LowerChar(c);
    return EncodeUtf8(u);
}

std::string UpperUtf8(std::string_view s) {
    std::u32string u = DecodeUtf8(s);
    for (char32_t& c : u) c = UpperChar(c);
    return EncodeUtf8(u);
}

}  // namespace ado::sqlite::detail
