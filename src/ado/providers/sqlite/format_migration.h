// Converts a database file of an earlier format of this library, or one made by another
// program, to the current format: dates to date serials, Currency to exact ten-thousandths,
// Decimal to exact keys, texts to the ACCESS collation, each typed column with its check.
// Everything happens in one transaction with the file held exclusively: the file ends up
// converted whole or as it was. A value that does not convert (a text that is no date,
// two keys that differ only in case) stops it with an error naming what failed.
#pragma once

#include <cstdint>
#include <string>

namespace ado::sqlite {

struct MigrationReport {
    bool alreadyCurrent = false;
    int tables = 0;
    int64_t rows = 0;
};

MigrationReport MigrateDatabase(const std::string& path, const std::string& key);

}  // namespace ado::sqlite
