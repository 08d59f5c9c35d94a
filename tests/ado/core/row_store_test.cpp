// The row store on its own: values survive growth, texts are rewritten in place when they fit.
#include <gtest/gtest.h>

#include "ado/cursor/row_store.h"

using namespace ado;
using cursor::RowStore;

namespace {

RowStore TextAndNumber() {
    std::vector<cursor::ColumnInfo> columns(2);
    columns[0].type = adVarWChar;
    columns[1].type = adInteger;
    return RowStore(std::move(columns));
}

}  // namespace

// Rows of a text (each copied from the row before, in the arena the append may move) and a
// number; the count of rows of a copy of the store that do not read back.
static int WrongRowsAfterFilling(int rows) {
    const std::string text = "primera fila de la tabla";
    RowStore store = TextAndNumber();
    store.BeginRow();
    store.PutText(text);
    store.PutInt(0);
    for (int i = 1; i < rows; ++i) {
        store.BeginRow();
        store.PutText(store.TextAt(store.CellAt(static_cast<cursor::RowId>(i - 1), 0)));
        store.PutInt(i);
    }
    RowStore copy = store;
    store.Clear();
    int wrong = 0;
    for (int i = 0; i < rows; ++i) {
        const auto row = static_cast<cursor::RowId>(i);
        wrong += copy.TextAt(copy.CellAt(row, 0)) != text || copy.Get(row, 1) != Variant(i);
    }
    return wrong;
}

TEST(RowStore, ValuesSurviveGrowthEvenWhenCopiedFromTheStoreItself) {
    // Enough rows for both the cells and the texts to outgrow the heap into mapped memory; the
    // stores after the first take the memory the ones before released, grown or trimmed.
    for (int rows : {300'000, 700'000, 120'000}) EXPECT_EQ(WrongRowsAfterFilling(rows), 0) << rows;
}

TEST(RowStore, EditedTextsReuseTheirPlaceWhenTheyFit) {
    RowStore store = TextAndNumber();
    for (int i = 0; i < 2; ++i) {
        store.BeginRow();
        store.PutText("Valladolid");
        store.PutInt(i);
    }
    const size_t before = store.MemoryBytes();
    for (int i = 0; i < 100'000; ++i) store.Set(0, 0, Variant(i % 2 ? "León" : "Ávila"));
    EXPECT_EQ(store.MemoryBytes(), before) << "rewriting a text that fits adds nothing";
    EXPECT_EQ(store.Get(0, 0), Variant("León"));
    EXPECT_EQ(store.Get(1, 0), Variant("Valladolid")) << "the next row's text is untouched";
    store.Set(0, 0, Variant("Villanueva de la Serena"));
    EXPECT_EQ(store.Get(0, 0), Variant("Villanueva de la Serena"));
    EXPECT_EQ(store.Get(1, 0), Variant("Valladolid"));
    store.Set(1, 0, Variant(""));
    EXPECT_EQ(store.Get(1, 0), Variant(""));
}

namespace {

// Values of every kind, narrow and wide, as an untyped column may hold them.
Variant KindOf(int i) {
    switch (i % 11) {
        case 0: return Variant(Variant::Null);
        case 1: return Variant();
        case 2: return Variant(i % 2 == 0);
        case 3: return Variant(int64_t{-i});  // an untyped column gives its integers as I8
        case 4: return Variant(int64_t{1} << 40 | i);
        case 5: return Variant(i * 0.5);
        case 6: return Variant(Date{45000.25 + i});
        case 7: return Variant(Currency{-12345678901234});
        case 8: return Variant(std::string(static_cast<size_t>(i % 300), 'x') + std::to_string(i));
        case 9: return Variant(Binary{1, 2, static_cast<uint8_t>(i)});
        default: return Variant(Variant(i).ConvertTo(VariantType::Decimal));
    }
}

}  // namespace

TEST(RowStore, ColumnsOfMixedKindsReadBackThroughWideningAndReshaping) {
    std::vector<cursor::ColumnInfo> columns(2);
    columns[0].type = adVariant;
    columns[1].type = adInteger;
    RowStore store(std::move(columns));
    // Narrow integers first, so that the wide values come once many rows are stored narrow.
    constexpr int kRows = 50'000;
    for (int i = 0; i < kRows; ++i) {
        store.BeginRow();
        store.PutVariant(i < kRows / 2 ? Variant(static_cast<int32_t>(i)) : KindOf(i));
        if (i == kRows - 1) break;  // the last row left short: a load that failed halfway
        store.PutInt(i == kRows - 2 ? INT64_MIN : i);
    }
    store.InsertColumn(1, cursor::ColumnInfo{}, Variant("relleno"));
    store.BeginRow();  // makes the short row whole
    store.PutNull();
    store.PutNull();
    store.PutNull();
    store.Set(0, 1, Variant("otro"));
    store.RemoveColumn(0);
    store.ShrinkToFit();

    ASSERT_EQ(store.RowCount(), size_t{kRows + 1});
    int wrong = 0;
    for (int i = 0; i < kRows; ++i) {
        const auto row = static_cast<cursor::RowId>(i);
        const Variant number = i == kRows - 1 ? Variant(Variant::Null) : Variant(static_cast<int32_t>(i));
        wrong += store.Get(row, 0) != Variant(i == 0 ? "otro" : "relleno");
        if (i != kRows - 2) wrong += store.Get(row, 1) != number;
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(store.CellAt(kRows - 2, 1).i, INT64_MIN) << "a wide value in a column of narrow ones";

    // The values of every kind, read back from a store that widened its column on the way.
    RowStore mixed(std::vector<cursor::ColumnInfo>(1, cursor::ColumnInfo{}));
    mixed.Columns()[0].type = adVariant;
    for (int i = 0; i < 5'000; ++i) {
        mixed.BeginRow();
        mixed.PutVariant(KindOf(i));
    }
    for (int i = 0; i < 5'000; ++i) wrong += KindOf(i) != mixed.Get(static_cast<cursor::RowId>(i), 0);
    EXPECT_EQ(wrong, 0);
}

TEST(RowStore, LongTextsGrowAndShrinkInTheirPlace) {
    RowStore store = TextAndNumber();
    const std::string longText(20'000, 'l');
    for (int i = 0; i < 2; ++i) {
        store.BeginRow();
        store.PutText(longText);
        store.PutInt(i);
    }
    const size_t before = store.MemoryBytes();
    store.Set(0, 0, Variant(std::string(100, 's')));
    store.Set(0, 0, Variant(std::string(19'999, 'm')));
    EXPECT_EQ(store.MemoryBytes(), before) << "the room of the longest text stays the row's";
    EXPECT_EQ(store.Get(0, 0), Variant(std::string(19'999, 'm')));
    EXPECT_EQ(store.Get(1, 0), Variant(longText));
    EXPECT_EQ(store.CellAt(1, 0).length, longText.size());
}
