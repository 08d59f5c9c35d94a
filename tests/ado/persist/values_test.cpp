// The text forms of the XML format for each kind of value, and rowsets whose shape the corpus
// does not show: wide rows with pending changes, columns out of document order, a schema
// without types, Variant columns holding text in ADTG.
#include "Corpus.h"
#include "support/DecimalDigits.h"

#include "ado/persist/value_text.h"

namespace {

using namespace ado;
using namespace ado::persist;

using testsupport::Dec;

TEST(XmlValues, EachKindIsWrittenAsAdoWritesItAndReadsBack) {
    const struct {
        DataTypeEnum type;
        uint8_t scale;
        Variant value;
        const char* text;
    } cases[] = {
        {adDouble, 0, Variant(0.1 + 0.2), "0.30000000000000004"},
        {adDouble, 0, Variant(1e20), "1E+20"},
        {adDouble, 0, Variant(-1.5e-7), "-1.5E-07"},
        {adDouble, 0, Variant(0.0001), "0.0001"},
        {adDouble, 0, Variant(123456789012345.0), "123456789012345"},
        {adSingle, 0, Variant(0.1f), "0.1"},
        {adSingle, 0, Variant(16777216.0f), "1.6777216E+07"},  // the digits that read back, not 7
        {adCurrency, 0, Variant(Currency{-5}), "-0.0005"},
        {adCurrency, 0, Variant(Currency{12500}), "1.25"},
        {adDecimal, 0, Dec("150", 2), "1.5"},
        {adDecimal, 0, Dec("0", 4), "0"},
        {adNumeric, 4, Dec("5", 1, true), "-.5000"},
        {adNumeric, 2, Dec("123", 0), "123.00"},
        {adDate, 0, Variant(MakeDate(1899, 12, 29, 6, 0, 0)), "1899-12-29T06:00:00"},
        {adDBTimeStamp, 3, Variant(Date{MakeDate(2024, 2, 29).serial + 0.5 / 86400.0}), "2024-02-29T00:00:00.5"},
        {adDBDate, 0, Variant(MakeDate(2024, 2, 29)), "2024-02-29"},
        {adDBTime, 0, Variant(MakeDate(1899, 12, 30, 7, 8, 9)), "07:08:09"},
        {adBoolean, 0, Variant(true), "True"},
        {adUnsignedBigInt, 0, Dec("18446744073709551615", 0), "18446744073709551615"},
        {adVarBinary, 0, Variant(Binary{0x00, 0xAB, 0x10}), "00ab10"},
        {adVariant, 0, Variant(MakeDate(2026, 6, 12, 14, 30, 15)), "6/12/2026 2:30:15 PM"},
        {adVariant, 0, Variant(Dec("12345678", 4, true)), "-1234.5678"},
    };
    for (const auto& c : cases) {
        std::string text;
        EXPECT_TRUE(AppendXmlText(text, c.type, c.scale, c.value));
        EXPECT_EQ(text, c.text) << c.type;
        const Variant back = XmlValue(c.type, text, "campo");
        if (c.type == adVariant) EXPECT_EQ(back, Variant(c.text));
        else EXPECT_EQ(Compare(back, c.value), std::weak_ordering::equivalent) << c.text;
    }
    std::string none;
    EXPECT_FALSE(AppendXmlText(none, adInteger, 0, Variant(Variant::Null)));
    EXPECT_FALSE(AppendXmlText(none, adVariant, 0, Variant()));
    EXPECT_EQ(none, "");
}

RowsetFile FromText(const std::string& text) {
    ByteSource in({reinterpret_cast<const uint8_t*>(text.data()), text.size()}, "memoria");
    return ReadAny(in);
}

std::string Write(const RowsetFile& file, PersistFormatEnum format) {
    StringSink sink;
    if (format == adPersistXML) WriteXml(SourceOf(file), sink);
    else WriteAdtg(SourceOf(file), sink);
    return sink.text;
}

// Twelve columns: the changed and Null maps of a change or an insertion take two bytes each.
TEST(Rowsets, WideRowsWithPendingChangesRoundTripThroughBothFormats) {
    std::vector<cursor::ColumnInfo> columns;
    for (int c = 0; c < 12; ++c) {
        cursor::ColumnInfo info;
        info.name = "C" + std::to_string(c);
        info.type = c % 2 ? adVarWChar : adInteger;
        info.definedSize = c % 2 ? 10 : 4;
        info.attributes = adFldUpdatable | adFldIsNullable | adFldMayBeNull | (c % 2 ? 0 : adFldFixed);
        columns.push_back(info);
    }
    RowsetFile file;
    Rowset& r = file.rowsets.emplace_back();
    r.rows = cursor::RowStore(columns);
    r.extras.resize(12);
    for (int row = 0; row < 3; ++row) {
        r.rows.BeginRow();
        for (int c = 0; c < 12; ++c) r.rows.PutVariant(c % 2 ? Variant("f" + std::to_string(row)) : Variant(row * 100 + c));
    }
    // Row 0 changed in columns 9 and 10 (10 to Null), row 1 deleted, row 3 added with 11 only.
    cursor::PendingChange& change = r.pending[0];
    change.original = r.rows.Row(0);
    change.changed.assign(12, 0);
    change.changed[9] = change.changed[10] = 1;
    r.rows.Set(0, 9, Variant("nuevo"));
    r.rows.Set(0, 10, Variant(Variant::Null));
    r.rows.SetFlags(0, cursor::RowStore::Modified);
    r.pending[1] = {r.rows.Row(1), std::vector<uint8_t>(12, 0)};
    r.rows.SetFlags(1, cursor::RowStore::Deleted);
    const cursor::RowId added = r.rows.BeginRow();
    for (int c = 0; c < 12; ++c) r.rows.PutVariant(c == 11 ? Variant("solo") : Variant(Variant::Null));
    r.rows.SetFlags(added, cursor::RowStore::New);
    r.pending[added] = {{}, std::vector<uint8_t>(12, 0)};
    r.pending[added].changed[11] = 1;
    for (PersistFormatEnum format : {adPersistADTG, adPersistXML})
        persisttest::ExpectSameFile(file, FromText(Write(file, format)), format == adPersistXML ? "XML" : "ADTG");
}

TEST(Rowsets, ColumnsFollowTheirNumbersAndASchemaWithoutTypesGivesVariants) {
    const std::string ns =
        "<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882' xmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882' "
        "xmlns:rs='urn:schemas-microsoft-com:rowset' xmlns:z='#RowsetSchema'>";
    const RowsetFile file = FromText(
        ns + "<s:Schema id='RowsetSchema'><s:ElementType name='row' content='eltOnly'>"
             "<s:AttributeType name='B' rs:number='3' dt:type='i2'/>"
             "<s:AttributeType name='A' rs:number='1'/>"
             "<s:ElementType name='Hijos' content='eltOnly' rs:relation='010000000100000000000000'>"
             "<s:AttributeType name='A' rs:number='1'/></s:ElementType>"
             "</s:ElementType></s:Schema>"
             "<rs:data><z:row B='7' A='x'><Hijos A='x'/><Hijos A='x'/></z:row></rs:data></xml>");
    ASSERT_EQ(file.rowsets.size(), 2u);
    const auto& cols = file.rowsets[0].rows.Columns();
    ASSERT_EQ(cols.size(), 3u);
    EXPECT_EQ(std::make_tuple(cols[0].name, cols[0].type, cols[1].name, cols[1].type, cols[2].name, cols[2].type),
              std::make_tuple(std::string("A"), adVariant, std::string("Hijos"), adChapter, std::string("B"), adSmallInt));
    EXPECT_EQ(file.rowsets[0].extras[1].child, 1);
    EXPECT_TRUE(file.rowsets[0].rows.Row(0) == (std::vector<Variant>{Variant("x"), Variant(Variant::Null), Variant(int16_t{7})}));
    EXPECT_EQ(file.rowsets[1].rows.RowCount(), 2u);
}

TEST(Rowsets, AVariantColumnHoldingTextIsSavedInAdtgAsLongText) {
    cursor::ColumnInfo info;
    info.name = "V";
    info.type = adVariant;
    info.attributes = adFldIsNullable | adFldMayBeNull;
    RowsetFile file;
    Rowset& r = file.rowsets.emplace_back();
    r.rows = cursor::RowStore({info});
    r.extras.resize(1);
    for (const Variant& v : {Variant("texto"), Variant(int32_t{42}), Variant(true)}) {
        r.rows.BeginRow();
        r.rows.PutVariant(v);
    }
    const RowsetFile back = FromText(Write(file, adPersistADTG));
    EXPECT_EQ(back.rowsets[0].rows.Columns()[0].type, adLongVarWChar);
    EXPECT_TRUE(back.rowsets[0].rows.Row(1) == std::vector<Variant>{Variant("42")});
    EXPECT_TRUE(back.rowsets[0].rows.Row(2) == std::vector<Variant>{Variant("True")});
}

}  // namespace
