#include "ado/persist/text_encoding.h"

#include <iconv.h>

#include <cerrno>

#include "ado/error_numbers.h"

namespace ado::persist {

namespace {

void PutUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void PutUnit(std::string& out, uint32_t unit) {
    out.push_back(static_cast<char>(unit & 0xFF));
    out.push_back(static_cast<char>(unit >> 8));
}

// The next code point of UTF-8 text at `i`, or -1 when the bytes are not UTF-8.
int32_t NextCodePoint(std::string_view s, size_t& i) {
    const auto b0 = static_cast<uint8_t>(s[i++]);
    if (b0 < 0x80) return b0;
    int extra = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : -1;
    if (extra < 0 || b0 > 0xF4 || i + static_cast<size_t>(extra) > s.size()) return -1;
    uint32_t cp = b0 & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        const auto b = static_cast<uint8_t>(s[i++]);
        if ((b & 0xC0) != 0x80) return -1;
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) return -1;
    return static_cast<int32_t>(cp);
}

}  // namespace

void AppendUtf8FromUtf16(std::string& out, const uint8_t* bytes, size_t count) {
    const size_t units = count / 2;
    out.reserve(out.size() + units);
    for (size_t i = 0; i < units; ++i) {
        uint32_t u = bytes[2 * i] | (bytes[2 * i + 1] << 8);
        if (u >= 0xD800 && u < 0xDC00 && i + 1 < units) {
            const uint32_t low = bytes[2 * i + 2] | (bytes[2 * i + 3] << 8);
            if (low >= 0xDC00 && low < 0xE000) {
                PutUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        if (u >= 0xD800 && u < 0xE000) u = 0xFFFD;
        PutUtf8(out, u);
    }
}

bool AppendUtf16FromUtf8(std::string& out, std::string_view text) {
    out.reserve(out.size() + 2 * text.size());
    for (size_t i = 0; i < text.size();) {
        const int32_t cp = NextCodePoint(text, i);
        if (cp < 0) return false;
        if (cp < 0x10000) {
            PutUnit(out, static_cast<uint32_t>(cp));
        } else {
            const uint32_t v = static_cast<uint32_t>(cp) - 0x10000;
            PutUnit(out, 0xD800 + (v >> 10));
            PutUnit(out, 0xDC00 + (v & 0x3FF));
        }
    }
    return true;
}

size_t Utf16Length(std::string_view text) {
    size_t units = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) ++units;  // a lead byte
        if (c >= 0xF0) ++units;           // four-byte forms take a surrogate pair
    }
    return units;
}

CodePage::CodePage(int number) : number_(number) {}

CodePage::~CodePage() {
    if (toUtf8_) iconv_close(static_cast<iconv_t>(toUtf8_));
    if (fromUtf8_) iconv_close(static_cast<iconv_t>(fromUtf8_));
}

void* CodePage::Converter(bool toUtf8) {
    void*& slot = toUtf8 ? toUtf8_ : fromUtf8_;
    if (!slot) {
        const std::string name = "CP" + std::to_string(number_);
        iconv_t cd = toUtf8 ? iconv_open("UTF-8", name.c_str()) : iconv_open(name.c_str(), "UTF-8");
        if (cd == reinterpret_cast<iconv_t>(-1))
            Raise(Condition::DataConversion,
                  "(la página de códigos " + std::to_string(number_) + " no está disponible)");
        slot = cd;
    }
    iconv(static_cast<iconv_t>(slot), nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    return slot;
}

namespace {

// Runs iconv over the whole input; false at a character the target cannot hold.
bool Convert(iconv_t cd, std::string& out, const char* in, size_t count) {
    char* src = const_cast<char*>(in);
    size_t left = count;
    while (left > 0) {
        char buffer[1024];
        char* dst = buffer;
        size_t room = sizeof buffer;
        const size_t r = iconv(cd, &src, &left, &dst, &room);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) return false;
    }
    char buffer[64];
    char* dst = buffer;
    size_t room = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &room);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    return true;
}

bool IsAscii(const uint8_t* p, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (p[i] >= 0x80) return false;
    return true;
}

}  // namespace

void CodePage::AppendUtf8(std::string& out, const uint8_t* bytes, size_t count) {
    if (IsAscii(bytes, count)) {
        out.append(reinterpret_cast<const char*>(bytes), count);
        return;
    }
    if (!Convert(static_cast<iconv_t>(Converter(true)), out, reinterpret_cast<const char*>(bytes), count))
        Raise(Condition::InvalidFile,
              "(un texto no es válido en la página de códigos " + std::to_string(number_) + ")");
}

void CodePage::AppendEncoded(std::string& out, std::string_view utf8) {
    if (IsAscii(reinterpret_cast<const uint8_t*>(utf8.data()), utf8.size())) {
        out.append(utf8);
        return;
    }
    if (!Convert(static_cast<iconv_t>(Converter(false)), out, utf8.data(), utf8.size()))
        Raise(Condition::DataConversion,
              "(el texto '" + std::string(utf8) + "' no se puede escribir en la página de códigos " +
                  std::to_string(number_) + ")");
}

}  // namespace ado::persist
