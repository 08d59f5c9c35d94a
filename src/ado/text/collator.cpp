#include "ado/text/collator.h"

#include <unicode/ucol.h>
#include <unicode/uiter.h>

#include <utility>

#include "ado/Error.h"
#include "ado/ErrorNumbers.h"
#include "ado/text/locale_name.h"

namespace ado::text {

Collator::Collator(std::string_view locale) {
    const std::string name = IcuLocale(locale);
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open(name.c_str(), &status);
    // Secondary strength: base letters and accents count, case does not. Normalization makes
    // a composed "é" and "e" with a combining accent the same letter.
    ucol_setAttribute(collator_, UCOL_STRENGTH, UCOL_SECONDARY, &status);
    ucol_setAttribute(collator_, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    if (U_FAILURE(status)) {
        ucol_close(collator_);
        throw Error(err::Fail, "No se pudo abrir la intercalación de textos de '" + name + "' (" +
                                   u_errorName(status) + ").");
    }
}

Collator::~Collator() { ucol_close(collator_); }

Collator::Collator(Collator&& other) noexcept : collator_(std::exchange(other.collator_, nullptr)) {}

Collator& Collator::operator=(Collator&& other) noexcept {
    std::swap(collator_, other.collator_);
    return *this;
}

int Collator::Compare(std::string_view a, std::string_view b) const {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(collator_, a.data(), static_cast<int32_t>(a.size()), b.data(),
                                                static_cast<int32_t>(b.size()), &status);
    if (U_FAILURE(status)) {  // only out of memory: keep a consistent order, bytewise
        const int bytes = a.compare(b);
        return bytes < 0 ? -1 : bytes > 0 ? 1 : 0;
    }
    return r == UCOL_LESS ? -1 : r == UCOL_GREATER ? 1 : 0;
}

std::string Collator::SortKey(std::string_view text) const {
    UCharIterator it;
    uiter_setUTF8(&it, text.data(), static_cast<int32_t>(text.size()));
    std::string key;
    uint32_t state[2] = {0, 0};
    uint8_t part[64];
    for (;;) {
        UErrorCode status = U_ZERO_ERROR;
        const int32_t n = ucol_nextSortKeyPart(collator_, &it, state, part, sizeof part, &status);
        if (U_FAILURE(status)) return std::string(text);  // only out of memory: bytewise, as Compare
        key.append(reinterpret_cast<const char*>(part), static_cast<size_t>(n));
        if (n < static_cast<int32_t>(sizeof part)) return key;
    }
}

std::string Collator::Version() const {
    UVersionInfo version;
    ucol_getVersion(collator_, version);
    char text[U_MAX_VERSION_STRING_LENGTH];
    u_versionToString(version, text);
    return text;
}

}  // namespace ado::text
