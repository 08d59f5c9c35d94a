#include "ado/providers/sqlite/text_collation.h"
#include "ado/providers/sqlite/sqlite_errors.h"

#include <sqlcipher/sqlite3.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "ado/Error.h"
#include "ado/ErrorNumbers.h"
#include "ado/Regional.h"
#include "ado/text/collator.h"

namespace ado::sqlite {
namespace {

// ACCESS as registered on one connection; the connection owns it.
struct Registration {
    sqlite3* db;
    std::string locale;
    text::Collator collator;
};

// Each connection's registration, for the query functions that compare as ACCESS does
// (they are registered once for every connection and find theirs through their context).
std::mutex registryMutex;
std::map<sqlite3*, const Registration*>& Registry() {
    static auto* registry = new std::map<sqlite3*, const Registration*>;  // outlives any connection
    return *registry;
}

const Registration* Registered(sqlite3* db) {
    std::lock_guard lock(registryMutex);
    const auto it = Registry().find(db);
    return it == Registry().end() ? nullptr : it->second;
}

int CompareTexts(void* registration, int lengthA, const void* a, int lengthB, const void* b) {
    return static_cast<const Registration*>(registration)->collator.Compare(
        {static_cast<const char*>(a), static_cast<size_t>(lengthA)},
        {static_cast<const char*>(b), static_cast<size_t>(lengthB)});
}

// Called by the engine when the connection closes or ACCESS is registered again.
void FreeRegistration(void* p) {
    auto* registration = static_cast<Registration*>(p);
    {
        std::lock_guard lock(registryMutex);
        const auto it = Registry().find(registration->db);
        if (it != Registry().end() && it->second == registration) Registry().erase(it);
    }
    delete registration;
}

}  // namespace

void RegisterAccessCollation(sqlite3* db, std::string_view locale) {
    auto registration = std::make_unique<Registration>(Registration{db, std::string(locale), text::Collator(locale)});
    // The entry goes in first: registering again frees the earlier registration, which then
    // leaves this entry alone.
    const Registration* earlier = nullptr;
    {
        std::lock_guard lock(registryMutex);
        earlier = std::exchange(Registry()[db], registration.get());
    }
    const int rc = sqlite3_create_collation_v2(db, kAccessCollation, SQLITE_UTF8, registration.get(), CompareTexts,
                                               FreeRegistration);
    if (rc != SQLITE_OK) {
        // The engine did not take it (nor free it): the registration is still ours, and the
        // earlier one, if any, still in force.
        std::lock_guard lock(registryMutex);
        if (earlier)
            Registry()[db] = earlier;
        else
            Registry().erase(db);
        throw Error(err::Fail,
                    std::string("No se pudo registrar la intercalación ACCESS (motor: ") + sqlite3_errmsg(db) + ").",
                    kEngineSource);
    }
    registration.release();
}

std::string ComparisonLanguage(sqlite3* db) {
    const Registration* r = Registered(db);
    return r ? r->locale : RegionalSettings::Current().language;
}

const text::Collator* FileCollator(sqlite3* db) {
    const Registration* r = Registered(db);
    return r ? &r->collator : nullptr;
}

std::string AccessCollationVersion(std::string_view locale) { return text::Collator(locale).Version(); }

}  // namespace ado::sqlite
