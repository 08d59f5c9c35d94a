#include "ado/providers/sqlite/text_collation.h"
#include "ado/providers/sqlite/sqlite_errors.h"

#include <sqlcipher/sqlite3.h>

#include <memory>

#include "ado/Error.h"
#include "ado/ErrorNumbers.h"
#include "ado/text/collator.h"

namespace ado::sqlite {
namespace {

int CompareTexts(void* collator, int lengthA, const void* a, int lengthB, const void* b) {
    return static_cast<const text::Collator*>(collator)->Compare(
        {static_cast<const char*>(a), static_cast<size_t>(lengthA)},
        {static_cast<const char*>(b), static_cast<size_t>(lengthB)});
}

void FreeCollator(void* collator) { delete static_cast<text::Collator*>(collator); }

}  // namespace

void RegisterAccessCollation(sqlite3* db, std::string_view locale) {
    auto collator = std::make_unique<text::Collator>(locale);
    const int rc = sqlite3_create_collation_v2(db, kAccessCollation, SQLITE_UTF8, collator.get(), CompareTexts,
                                               FreeCollator);
    // On failure the engine does not call FreeCollator: the collator is still ours.
    if (rc != SQLITE_OK)
        throw Error(err::Fail,
                    std::string("No se pudo registrar la intercalación ACCESS (motor: ") + sqlite3_errmsg(db) + ").",
                    kEngineSource);
    collator.release();
}

std::string AccessCollationVersion(std::string_view locale) { return text::Collator(locale).Version(); }

}  // namespace ado::sqlite
