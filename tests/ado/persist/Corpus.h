// The recordset files that ADO wrote on Windows (shared/testdata/ado-files, or the folder
// BREZAL_ADO_FILES names), and a whole comparison of two file models.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ado/Regional.h"
#include "ado/persist/persist.h"
#include "support/Checks.h"

namespace persisttest {

inline std::filesystem::path CorpusFolder() {
    const char* env = std::getenv("BREZAL_ADO_FILES");
    return env && *env ? std::filesystem::path(env) : std::filesystem::path("/work/shared/testdata/ado-files");
}

// The files of a subfolder with that extension, sorted; a missing corpus fails the test.
inline std::vector<std::filesystem::path> CorpusFiles(const std::string& folder, const std::string& extension) {
    std::vector<std::filesystem::path> files;
    const auto dir = CorpusFolder() / folder;
    if (!std::filesystem::is_directory(dir)) {
        ADD_FAILURE() << "no corpus at " << dir << " (set BREZAL_ADO_FILES)";
        return files;
    }
    for (const auto& e : std::filesystem::directory_iterator(dir))
        if (e.path().extension() == extension) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

// The corpus was written under the Korean ANSI code page.
inline ado::RegionalSettings CorpusRegional() {
    ado::RegionalSettings rs = ado::RegionalSettings::UnitedStates();
    rs.ansiCodePage = 949;
    return rs;
}

inline void ExpectSameColumns(const ado::cursor::ColumnInfo& a, const ado::cursor::ColumnInfo& b, const std::string& where) {
    EXPECT_EQ(a.name, b.name) << where;
    EXPECT_EQ(a.type, b.type) << where << a.name;
    EXPECT_EQ(a.definedSize, b.definedSize) << where << a.name;
    EXPECT_EQ(a.precision, b.precision) << where << a.name;
    EXPECT_EQ(a.numericScale, b.numericScale) << where << a.name;
    EXPECT_EQ(a.attributes, b.attributes) << where << a.name;
    EXPECT_EQ(a.baseCatalog, b.baseCatalog) << where << a.name;
    EXPECT_EQ(a.baseSchema, b.baseSchema) << where << a.name;
    EXPECT_EQ(a.baseTable, b.baseTable) << where << a.name;
    EXPECT_EQ(a.baseColumn, b.baseColumn) << where << a.name;
    EXPECT_EQ(a.key, b.key) << where << a.name;
    EXPECT_EQ(a.autoIncrement, b.autoIncrement) << where << a.name;
    EXPECT_EQ(a.hidden, b.hidden) << where << a.name;
}

// Every rowset the same: columns, properties, rows with their flags and values, pending
// changes with their originals and changed columns.
inline void ExpectSameFile(const ado::persist::RowsetFile& a, const ado::persist::RowsetFile& b, const std::string& where) {
    ASSERT_EQ(a.rowsets.size(), b.rowsets.size()) << where;
    for (size_t i = 0; i < a.rowsets.size(); ++i) {
        const auto& x = a.rowsets[i];
        const auto& y = b.rowsets[i];
        const std::string at = where + " rowset " + std::to_string(i) + ": ";
        ASSERT_EQ(x.rows.ColumnCount(), y.rows.ColumnCount()) << at;
        for (size_t c = 0; c < x.rows.ColumnCount(); ++c) ExpectSameColumns(x.rows.Columns()[c], y.rows.Columns()[c], at);
        EXPECT_TRUE(x.extras == y.extras) << at;
        EXPECT_EQ(x.updatable, y.updatable) << at;
        EXPECT_EQ(x.reshapeName, y.reshapeName) << at;
        EXPECT_EQ(x.commandTimeout, y.commandTimeout) << at;
        // Rows in the order each format keeps them may differ (ADTG writes deletions first):
        // compare the rows of each kind in order.
        for (uint8_t kind : {uint8_t{0}, uint8_t{ado::cursor::RowStore::Deleted}, uint8_t{ado::cursor::RowStore::New}}) {
            auto rowsOf = [&](const ado::persist::Rowset& r) {
                std::vector<ado::cursor::RowId> rows;
                for (ado::cursor::RowId row = 0; row < r.rows.RowCount(); ++row) {
                    const uint8_t f = r.rows.Flags(row);
                    const uint8_t k = (f & ado::cursor::RowStore::Deleted) ? ado::cursor::RowStore::Deleted
                                      : (f & ado::cursor::RowStore::New) ? ado::cursor::RowStore::New : 0;
                    if (k == kind) rows.push_back(row);
                }
                return rows;
            };
            const auto xr = rowsOf(x), yr = rowsOf(y);
            ASSERT_EQ(xr.size(), yr.size()) << at << "rows of kind " << int(kind);
            for (size_t n = 0; n < xr.size(); ++n) {
                EXPECT_EQ(x.rows.Flags(xr[n]), y.rows.Flags(yr[n])) << at << "row " << n;
                EXPECT_TRUE(x.rows.Row(xr[n]) == y.rows.Row(yr[n])) << at << "values of row " << n << " of kind " << int(kind);
                const auto px = x.pending.find(xr[n]);
                const auto py = y.pending.find(yr[n]);
                ASSERT_EQ(px == x.pending.end(), py == y.pending.end()) << at << "pending of row " << n;
                if (px == x.pending.end()) continue;
                EXPECT_TRUE(px->second.original == py->second.original) << at << "originals of row " << n;
                EXPECT_EQ(px->second.changed, py->second.changed) << at << "changed columns of row " << n;
            }
        }
    }
}

}  // namespace persisttest
