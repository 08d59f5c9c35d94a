// Text encodings of recordset files: UTF-16LE names and values, and 8-bit values in a
// Windows code page (ADTG's STR), to and from the UTF-8 the library uses.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ado::persist {

// UTF-16LE bytes (an even count) as UTF-8; an unpaired surrogate becomes U+FFFD.
void AppendUtf8FromUtf16(std::string& out, const uint8_t* bytes, size_t count);
// UTF-8 as UTF-16LE bytes; false when the text is not valid UTF-8.
bool AppendUtf16FromUtf8(std::string& out, std::string_view text);
// The number of UTF-16 code units of a UTF-8 text.
size_t Utf16Length(std::string_view text);

// Converts between UTF-8 and a Windows code page (1252, 949, ...). Fails with a clear
// ado::Error when the code page is unknown or a character has no form in it.
class CodePage {
public:
    explicit CodePage(int number);
    ~CodePage();
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

    int Number() const { return number_; }
    void AppendUtf8(std::string& out, const uint8_t* bytes, size_t count);
    void AppendEncoded(std::string& out, std::string_view utf8);

private:
    void* Converter(bool toUtf8);
    int number_;
    void* toUtf8_ = nullptr;
    void* fromUtf8_ = nullptr;
};

}  // namespace ado::persist
