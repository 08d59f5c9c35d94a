// A field index against a plain model of the column: after thousands of random key changes
// (rows moving between keys, keys appearing and vanishing, the table growing), every key
// finds exactly its rows and every range gives its rows in key order.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "ado/criteria/value_order.h"
#include "ado/cursor/field_index.h"
#include "ado/cursor/row_store.h"

namespace {

using ado::cursor::FieldIndex;
using ado::cursor::RowId;
using ado::cursor::RowStore;

TEST(FieldIndex, FollowsEveryKeyChangeAndFindsExactlyTheRowsOfAKey) {
    std::vector<ado::cursor::ColumnInfo> columns(1);
    columns[0].name = "N";
    columns[0].type = ado::adInteger;
    RowStore store(columns);
    std::mt19937 rng(5);
    constexpr int kValues = 2500;
    int rows = 3000;
    std::vector<int> value(rows);
    for (int r = 0; r < rows; ++r) {
        value[r] = static_cast<int>(rng() % kValues);
        store.BeginRow();
        store.PutInt(value[r]);
    }
    const ado::criteria::ValueOrder order;
    FieldIndex index(0, store, order);

    auto expectMatchesModel = [&] {
        std::map<int, std::set<RowId>> model;
        for (int r = 0; r < rows; ++r) model[value[r]].insert(static_cast<RowId>(r));
        for (int v = -1; v <= kValues + 7001; ++v) {
            std::set<RowId> found;
            index.ForEachEqual(order.KeyOf(ado::Variant(v)), [&](RowId r) { EXPECT_TRUE(found.insert(r).second); });
            const auto it = model.find(v);
            ASSERT_EQ(found, it == model.end() ? std::set<RowId>{} : it->second) << "key " << v;
        }
        const std::string low = order.KeyOf(ado::Variant(600)), high = order.KeyOf(ado::Variant(900));
        std::vector<RowId> range;
        index.Range(&low, false, &high, true, range);
        std::vector<int> values;
        for (RowId r : range) values.push_back(value[r]);
        EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
        const auto inside = std::count_if(value.begin(), value.end(), [](int v) { return v > 600 && v <= 900; });
        EXPECT_EQ(static_cast<long>(range.size()), inside);
    };
    expectMatchesModel();
    // Values drift into a narrow band (keys vanish, rows pile up on few keys), then spread
    // out to new keys, and new rows bring more keys than the table was made for: every probe
    // chain is broken and mended many times, and the table grows.
    for (int round = 0; round < 3; ++round) {
        for (int k = 0; round == 2 && k < 6000; ++k, ++rows) {
            value.push_back(kValues + 1000 + k);
            store.BeginRow();
            store.PutInt(value.back());
            index.Rekey(store, order, static_cast<RowId>(rows));
        }
        const int spread = round == 1 ? 40 : kValues * 4;
        for (int k = 0; k < 4000; ++k) {
            const auto r = static_cast<RowId>(rng() % rows);
            value[r] = static_cast<int>(rng() % spread);
            store.Set(r, 0, ado::Variant(value[r]));
            index.Rekey(store, order, r);
        }
        expectMatchesModel();
    }
}

}  // namespace
