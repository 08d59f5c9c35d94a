// The ACCESS collation of the embedded engine: text columns are declared `COLLATE ACCESS`,
// so that equality, ordering, GROUP BY, DISTINCT and unique keys follow the language's
// rules without regard to case (see ado/text/collator.h). A file whose tables use it can
// be read only by a connection that registered it ("no such collation sequence" otherwise).
#pragma once

#include <string>
#include <string_view>

struct sqlite3;

namespace ado::text {
class Collator;
}

namespace ado::sqlite {

inline constexpr const char* kAccessCollation = "ACCESS";

// Registers ACCESS on the connection for `locale` (a language such as "es", or a locale
// name), replacing an earlier registration. The connection owns the collator and frees it
// when it closes or the collation is replaced. Fails with ado::Error (E_FAIL).
void RegisterAccessCollation(sqlite3* db, std::string_view locale);

// The language the text comparisons inside a query on `db` (LIKE, StrComp, InStr) follow: the
// locale ACCESS is registered with there, so that they agree with ORDER BY, as Access compares
// by the database's sort order; the regional settings' language where ACCESS is not registered.
std::string ComparisonLanguage(sqlite3* db);
// The collator of ACCESS on `db`, or null; valid while the connection keeps the registration.
const text::Collator* FileCollator(sqlite3* db);

// The version of ACCESS's rules for `locale`, for the file to record: when it differs
// from the one an index was built under, the index must be rebuilt (REINDEX ACCESS).
std::string AccessCollationVersion(std::string_view locale);

}  // namespace ado::sqlite
