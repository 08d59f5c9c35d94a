#include "ado/providers/sqlite/interim_collation.h"

#include <cctype>

namespace ado::sqlite {

void RegisterAccessCollation(sqlite3* db, std::string_view) {
    sqlite3_create_collation_v2(
        db, "ACCESS", SQLITE_UTF8, nullptr,
        [](void*, int n1, const void* a, int n2, const void* b) {
            const auto* x = static_cast<const unsigned char*>(a);
            const auto* y = static_cast<const unsigned char*>(b);
            for (int i = 0; i < n1 && i < n2; ++i) {
                const int d = std::tolower(x[i]) - std::tolower(y[i]);
                if (d) return d;
            }
            return n1 - n2;
        },
        nullptr);
}

std::string AccessCollationVersion(std::string_view) { return "interim"; }

}  // namespace ado::sqlite
