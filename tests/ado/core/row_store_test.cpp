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

TEST(RowStore, ValuesSurviveGrowthEvenWhenCopiedFromTheStoreItself) {
    RowStore store = TextAndNumber();
    store.BeginRow();
    store.PutText("primera fila");
    store.PutInt(0);
    for (int i = 1; i < 50'000; ++i) {
        store.BeginRow();
        // The previous row's text, read from the arena the append may move.
        store.PutText(store.TextAt(store.CellAt(static_cast<cursor::RowId>(i - 1), 0)));
        store.PutInt(i);
    }
    EXPECT_EQ(store.Get(49'999, 0), Variant("primera fila"));
    EXPECT_EQ(store.Get(49'999, 1), Variant(49'999));
    RowStore copy = store;
    store.Clear();
    EXPECT_EQ(copy.Get(12'345, 0), Variant("primera fila"));
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
