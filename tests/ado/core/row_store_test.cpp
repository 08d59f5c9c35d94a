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
