// Declared Access types become ADO types; key columns and base names reach the fields.
#include <gtest/gtest.h>

#include "support/EmbeddedDb.h"
#include "support/SharedScenarios.h"

using namespace ado;
using testsupport::EmbeddedDb;

TEST(TypeMap, DeclaredTypesMapToAdoTypesAndValues) {
    EmbeddedDb db;
    auto cn = db.Connect();
    // One declared name for each type it becomes: the other names of a type take the same path.
    cn->Execute("CREATE TABLE Tipos (Id COUNTER PRIMARY KEY, Texto TEXT(50), Car CHAR, Memo MEMO, Entero LONG, "
                "Corto SHORT, Octeto BYTE, Doble DOUBLE, Simple SINGLE, Moneda CURRENCY, Dec DECIMAL(10,2), "
                "Fecha DATETIME, Dia DATE, Si BIT, SiNo YESNO, Guid1 GUID, Bin BINARY, Gordo BIGINT)");
    cn->Execute("INSERT INTO Tipos (Texto, Car, Memo, Entero, Corto, Octeto, Doble, Simple, Moneda, Dec, Fecha, Dia, "
                "Si, SiNo, Guid1, Bin, Gordo) VALUES ('á', 'c', 'm', 70000, 300, 200, 1.5, 0.5, 12.3456, 123.45, "
                "#2/29/2024 13:45:10#, #12/31/1899#, True, False, '{6F9619FF-8B86-D011-B42D-00C04FC964FF}', X'00FF', "
                "5000000000)");
    struct Case {
        const char* name;
        DataTypeEnum type;
        int32_t size;
        VariantType value;
    } cases[] = {
        {"Id", adInteger, 4, VariantType::I4},           {"Texto", adVarWChar, 50, VariantType::String},
        {"Car", adVarWChar, 255, VariantType::String},    {"Memo", adLongVarWChar, 536870910, VariantType::String},
        {"Entero", adInteger, 4, VariantType::I4},        {"Corto", adSmallInt, 2, VariantType::I2},
        {"Octeto", adUnsignedTinyInt, 1, VariantType::I2}, {"Doble", adDouble, 8, VariantType::R8},
        {"Simple", adSingle, 4, VariantType::R4},         {"Moneda", adCurrency, 8, VariantType::Currency},
        {"Dec", adNumeric, 19, VariantType::Decimal},     {"Fecha", adDate, 8, VariantType::Date},
        {"Dia", adDate, 8, VariantType::Date},            {"Si", adBoolean, 2, VariantType::Bool},
        {"SiNo", adBoolean, 2, VariantType::Bool},        {"Guid1", adGUID, 16, VariantType::String},
        {"Bin", adLongVarBinary, 1073741823, VariantType::Binary}, {"Gordo", adBigInt, 8, VariantType::I8},
    };
    auto rs = db.Query(cn, "SELECT * FROM Tipos");
    for (const auto& c : cases) {
        Field& f = rs->Fields()[c.name];
        EXPECT_EQ(f.Type(), c.type) << c.name;
        EXPECT_EQ(f.DefinedSize(), c.size) << c.name;
        EXPECT_EQ(f.Value().Type(), c.value) << c.name;
    }
    EXPECT_EQ(rs->Fields()["Moneda"].Value().AsCurrency().scaled, 123456);
    EXPECT_EQ(rs->Fields()["Dec"].Value().ToDouble(), 123.45);
    EXPECT_TRUE(rs->Fields()["Si"].Value().AsBool());
    EXPECT_FALSE(rs->Fields()["SiNo"].Value().AsBool());
    EXPECT_EQ(rs->Fields()["Gordo"].Value().AsI8(), 5000000000);
    const DateParts p = SplitDate(rs->Fields()["Fecha"].Value().AsDate());
    EXPECT_EQ((std::array{p.year, p.month, p.day, p.hour, p.minute, p.second}),
              (std::array{2024, 2, 29, 13, 45, 10}));
    EXPECT_EQ(rs->Fields()["Dia"].Value().AsDate().serial, 1.0);
    EXPECT_EQ(rs->Fields()["Bin"].Value().AsBinary(), (Binary{0x00, 0xFF}));
    EXPECT_EQ(rs->Fields()["Id"].Properties().Item("ISAUTOINCREMENT").Value().AsBool(), true);
    EXPECT_TRUE(rs->Fields()["Texto"].Attributes() & adFldIsNullable);
    EXPECT_TRUE(rs->Fields()["Entero"].Attributes() & adFldFixed);
    EXPECT_TRUE(rs->Fields()["Memo"].Attributes() & adFldLong);
}

TEST(TypeMap, KeyColumnsAndBaseNamesInTheClientCursorOrder) {
    EmbeddedDb db;
    auto rs = testsupport::ExpectBaseColumnsAndKeys([&] { return db.Connect(); });
    // The client cursor lists the base properties in this order; a computed column has the type of its value.
    const char* order[] = {"BASECATALOGNAME", "BASECOLUMNNAME", "BASESCHEMANAME", "BASETABLENAME", "KEYCOLUMN"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(rs->Fields()[0].Properties().Item(i).Name(), order[i]);
    EXPECT_EQ(rs->Fields()["doble"].Type(), adInteger);
}
