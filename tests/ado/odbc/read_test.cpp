// The read path on a real PostgreSQL server: types, nulls, long values, column metadata,
// bookmarks, and the same values through UTF-16 text.
#include <gtest/gtest.h>

#include <map>

#include "ado/provider.h"
#include "ado/providers/odbc/odbc_session.h"
#include "pg_server.h"
#include "support/SharedScenarios.h"

using namespace ado;
using testsupport::PgTest;

namespace {

class OdbcRead : public PgTest {
protected:
    void SetUp() override {
        PgTest::SetUp();
        if (IsSkipped()) return;
        Run("CREATE TABLE tipos (id serial PRIMARY KEY, nombre varchar(40) NOT NULL, importe numeric(12,2), "
            "grande numeric(30,10), cuando timestamp, dia date, hora time, activo boolean, entero bigint, "
            "corto smallint, simple real, doble double precision, nota text, datos bytea, libre varchar)");
        Run("INSERT INTO tipos (nombre, importe, grande, cuando, dia, hora, activo, entero, corto, simple, doble, "
            "nota, datos, libre) VALUES ('Peñarroya, José Ángel', -1234.56, 1234567890123456789.0123456789, "
            "'2024-02-29 13:45:10.25', '1899-12-29', '23:59:58', true, 9007199254740993, -32768, 1.5, "
            "0.1, repeat('ñ', 9000), '\\x00ff10', repeat('x', 2000) || 'ü')");
        Run("INSERT INTO tipos (nombre, activo) VALUES ('', false)");
    }
};

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

TEST_F(OdbcRead, TypesValuesAndNulls) {
    auto cn = Connect();
    auto rs = Query(cn, "SELECT * FROM tipos ORDER BY id");
    const Binary bytes{0x00, 0xff, 0x10};
    const Decimal importe{123456, 2, true};
    const Decimal grande{static_cast<unsigned __int128>(1234567890123456789ULL) * 10'000'000'000ULL + 123456789, 10,
                         false};
    struct Case {
        const char* field;
        DataTypeEnum type;
        Variant first;
    } cases[] = {
        {"id", adInteger, Variant(int32_t{1})},
        {"nombre", adVarWChar, Variant("Peñarroya, José Ángel")},
        {"importe", adNumeric, Variant(importe)},
        {"grande", adNumeric, Variant(grande)},
        {"cuando", adDBTimeStamp, Variant(Date{MakeDate(2024, 2, 29, 13, 45, 10).serial + 0.25 / 86400})},
        {"dia", adDBDate, Variant(MakeDate(1899, 12, 29))},
        {"hora", adDBTime, Variant(MakeDate(1899, 12, 30, 23, 59, 58))},
        {"activo", adBoolean, Variant(true)},
        {"entero", adBigInt, Variant(int64_t{9007199254740993})},
        {"corto", adSmallInt, Variant(int16_t{-32768})},
        {"simple", adSingle, Variant(1.5f)},
        {"doble", adDouble, Variant(0.1)},
        {"nota", adLongVarWChar, Variant(Repeat("ñ", 9000))},
        {"datos", adLongVarBinary, Variant(bytes)},
        {"libre", adVarWChar, Variant(std::string(2000, 'x') + "ü")},
    };
    ASSERT_EQ(rs->RecordCount(), 2);
    for (const auto& c : cases) {
        Field& f = rs->Fields()[c.field];
        EXPECT_EQ(f.Type(), c.type) << c.field;
        EXPECT_EQ(f.Value(), c.first) << c.field << ": " << (f.Value().IsNull() ? "Null" : f.Value().ToString());
    }
    // The second row is Null but where a value was given.
    rs->MoveNext();
    const std::map<std::string, Variant> given = {{"id", Variant(int32_t{2})}, {"nombre", Variant("")},
                                                  {"activo", Variant(false)}};
    for (const auto& c : cases) {
        const auto it = given.find(c.field);
        EXPECT_EQ(rs->Fields()[c.field].Value(), it == given.end() ? Variant(Variant::Null) : it->second) << c.field;
    }
}

TEST_F(OdbcRead, ColumnsKnowTheirBaseKeyAndNullability) {
    // The driver also tells which columns may never be Null.
    auto join = testsupport::ExpectBaseColumnsAndKeys([&] { return Connect(); });
    const std::pair<const char*, bool> mayBeNull[] = {
        {"articulo", false}, {"linea", false}, {"pedido", false}, {"b", true}, {"doble", true}};
    for (const auto& [field, may] : mayBeNull)
        EXPECT_EQ((join->Fields()[field].Attributes() & adFldMayBeNull) != 0, may) << field;
    auto cn = Connect();
    auto table = Recordset::Create();
    table->Open("tipos", cn, adOpenStatic, adLockReadOnly, adCmdTable);
    Field& id = table->Fields()["id"];
    EXPECT_EQ(id.Properties().Item("ISAUTOINCREMENT").Value(), Variant(true));
    EXPECT_EQ(id.Properties().Item("BASECOLUMNNAME").Value(), Variant("id"));
    EXPECT_EQ(table->Fields()["nombre"].DefinedSize(), 40);
    EXPECT_EQ(table->Fields()["importe"].Precision(), 12);
    EXPECT_EQ(table->Fields()["importe"].NumericScale(), 2);
    EXPECT_TRUE(table->Fields()["nota"].Attributes() & adFldLong);
}

// Many blocks of rows, with values longer than their buffers inside the blocks.
TEST_F(OdbcRead, BlocksWithLongValuesAndBookmarks) {
    auto cn = Connect();
    auto rs = Query(cn, "SELECT i, CASE WHEN i % 7 = 0 THEN repeat('é', 300 + i) END AS largo, "
                        "i::varchar || 'º' AS texto FROM generate_series(1, 5000) i ORDER BY i");
    ASSERT_EQ(rs->RecordCount(), 5000);
    std::vector<Variant> marks;
    for (int i = 1; !rs->adoEOF(); ++i, rs->MoveNext()) {
        const Variant largo = rs->Fields()["largo"].Value();
        if (i % 7 == 0) ASSERT_EQ(largo, Variant(Repeat("é", 300 + i))) << i;
        else ASSERT_TRUE(largo.IsNull()) << i;
        ASSERT_EQ(rs->Fields()["texto"].Value(), Variant(std::to_string(i) + "º"));
        if (i % 1000 == 0) marks.push_back(rs->Bookmark());
    }
    for (size_t k = marks.size(); k-- > 0;) {
        rs->Bookmark(marks[k]);
        EXPECT_EQ(rs->Fields()["i"].Value(), Variant(int32_t(1000 * (k + 1))));
    }
}

// Drivers that do not give UTF-8 exchange text as UTF-16: the same values come back.
TEST_F(OdbcRead, Utf16TextGivesTheSameValues) {
    provider::OpenRequest request;
    request.providerName = "MSDASQL";
    request.settings = ConnectionString::Parse(ConnectionString());
    auto session = provider::FindProvider("MSDASQL")->Open(request);
    auto& odbc = dynamic_cast<odbc::OdbcSession&>(*session);
    EXPECT_TRUE(odbc.NarrowText()) << "the PostgreSQL Unicode driver gives UTF-8";
    odbc.NarrowText(false);
    provider::Statement st;
    st.text = "SELECT nombre, nota, libre FROM tipos WHERE nombre <> ? ORDER BY id";
    st.parameters = {Variant("Ñandú 😀")};
    cursor::RowStore rows;
    ASSERT_EQ(session->Execute(st, rows), -1);
    ASSERT_EQ(rows.RowCount(), 2u);
    EXPECT_EQ(rows.Get(0, 0), Variant("Peñarroya, José Ángel"));
    EXPECT_EQ(rows.Get(0, 1), Variant(Repeat("ñ", 9000)));
    EXPECT_EQ(rows.Get(0, 2), Variant(std::string(2000, 'x') + "ü"));

    st.text = "SELECT ?::text || '·' AS eco";
    st.parameters = {Variant("Ñandú 😀")};
    cursor::RowStore echo;
    session->Execute(st, echo);
    EXPECT_EQ(echo.Get(0, 0), Variant("Ñandú 😀·"));
}

}  // namespace
