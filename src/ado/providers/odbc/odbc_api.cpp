#include "ado/providers/odbc/odbc_api.h"

#include "ado/error_numbers.h"

namespace ado::odbc {

SQLHENV Environment() {
    static const Handle env = [] {
        SQLHANDLE h = SQL_NULL_HANDLE;
        if (!Succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h)))
            Raise(Condition::ProviderNotFound, "(no se pudo iniciar el administrador de controladores ODBC)");
        SQLSetEnvAttr(h, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        return Handle(SQL_HANDLE_ENV, h);
    }();
    return env.get();
}

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// One code point from UTF-8 at text[i], advancing i; malformed sequences give U+FFFD.
char32_t NextCodePoint(std::string_view text, size_t& i) {
    const auto b0 = static_cast<unsigned char>(text[i++]);
    if (b0 < 0x80) return b0;
    int extra = 0;
    char32_t cp = 0;
    if ((b0 & 0xE0) == 0xC0) extra = 1, cp = b0 & 0x1F;
    else if ((b0 & 0xF0) == 0xE0) extra = 2, cp = b0 & 0x0F;
    else if ((b0 & 0xF8) == 0xF0) extra = 3, cp = b0 & 0x07;
    else return kReplacement;
    for (int k = 0; k < extra; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return kReplacement;
        cp = (cp << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    constexpr char32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
    return cp;
}

}  // namespace

WString ToUtf16(std::string_view utf8) {
    WString out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const char32_t cp = NextCodePoint(utf8, i);
        if (cp < 0x10000) {
            out += static_cast<SQLWCHAR>(cp);
        } else {
            out += static_cast<SQLWCHAR>(0xD800 + ((cp - 0x10000) >> 10));
            out += static_cast<SQLWCHAR>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        }
    }
    return out;
}

void AppendUtf8(const SQLWCHAR* text, size_t units, std::string& out) {
    out.reserve(out.size() + units);
    for (size_t i = 0; i < units; ++i) {
        char32_t cp = text[i];
        if (cp < 0x80) {
            out += static_cast<char>(cp);
            continue;
        }
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        }
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace ado::odbc
