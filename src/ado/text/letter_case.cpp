#include "ado/text/letter_case.h"

#include <unicode/bytestream.h>
#include <unicode/casemap.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <new>

#include "ado/Error.h"
#include "ado/ErrorNumbers.h"
#include "ado/text/locale_name.h"

namespace ado::text {
namespace {

enum class Mapping { Upper, Lower, Title };

// The whole run in title case: its first character titled, the rest lowered.
constexpr uint32_t kWholeRunTitle = U_TITLECASE_WHOLE_STRING | U_TITLECASE_NO_BREAK_ADJUSTMENT;

void MapRun(Mapping m, const char* locale, std::string_view run, std::string& out) {
    if (run.empty()) return;
    icu::StringByteSink<std::string> sink(&out, static_cast<int32_t>(run.size()));
    const icu::StringPiece piece(run.data(), static_cast<int32_t>(run.size()));
    UErrorCode status = U_ZERO_ERROR;
    switch (m) {
        case Mapping::Upper: icu::CaseMap::utf8ToUpper(locale, 0, piece, sink, nullptr, status); break;
        case Mapping::Lower: icu::CaseMap::utf8ToLower(locale, 0, piece, sink, nullptr, status); break;
        case Mapping::Title:
            icu::CaseMap::utf8ToTitle(locale, kWholeRunTitle, nullptr, piece, sink, nullptr, status);
            break;
    }
    if (status == U_MEMORY_ALLOCATION_ERROR) throw std::bad_alloc();
    if (U_FAILURE(status))
        throw Error(err::Fail, std::string("No se pudo cambiar el uso de mayúsculas (") + u_errorName(status) + ").");
}

// Maps each well-formed run of the text and copies each ill-formed byte as it is (ICU
// would write U+FFFD for it). A title mapping titles only the text's first character.
void MapWellFormed(Mapping m, const char* locale, std::string_view text, std::string& out) {
    const auto* s = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    int32_t runStart = 0, i = 0;
    while (i < length) {
        const int32_t at = i;
        UChar32 c;
        U8_NEXT(s, i, length, c);
        if (c >= 0) continue;
        MapRun(m, locale, text.substr(static_cast<size_t>(runStart), static_cast<size_t>(at - runStart)), out);
        out.append(text.substr(static_cast<size_t>(at), static_cast<size_t>(i - at)));
        if (m == Mapping::Title) m = Mapping::Lower;
        runStart = i;
    }
    MapRun(m, locale, text.substr(static_cast<size_t>(runStart)), out);
}

std::string Mapped(Mapping m, std::string_view text, std::string_view language) {
    const std::string locale = IcuLocale(language);
    std::string out;
    out.reserve(text.size());
    MapWellFormed(m, locale.c_str(), text, out);
    return out;
}

bool IsWordSeparator(char c) { return c == ' ' || c == '\0' || (c >= '\t' && c <= '\r'); }

}  // namespace

std::string Upper(std::string_view text, std::string_view language) { return Mapped(Mapping::Upper, text, language); }
std::string Lower(std::string_view text, std::string_view language) { return Mapped(Mapping::Lower, text, language); }

std::string ProperCase(std::string_view text, std::string_view language) {
    const std::string locale = IcuLocale(language);
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (IsWordSeparator(text[i])) {
            out += text[i++];
            continue;
        }
        size_t end = i;
        while (end < text.size() && !IsWordSeparator(text[end])) ++end;
        MapWellFormed(Mapping::Title, locale.c_str(), text.substr(i, end - i), out);
        i = end;
    }
    return out;
}

CaseFolding::CaseFolding(std::string_view language) {
    const std::string_view code = language.substr(0, language.find_first_of("_-.@"));
    turkic_ = code == "tr" || code == "az";
}

char32_t CaseFolding::Fold(char32_t c) const {
    return static_cast<char32_t>(
        u_foldCase(static_cast<UChar32>(c), turkic_ ? U_FOLD_CASE_EXCLUDE_SPECIAL_I : U_FOLD_CASE_DEFAULT));
}

char32_t SimpleUpper(char32_t c) { return static_cast<char32_t>(u_toupper(static_cast<UChar32>(c))); }
char32_t SimpleLower(char32_t c) { return static_cast<char32_t>(u_tolower(static_cast<UChar32>(c))); }

}  // namespace ado::text
