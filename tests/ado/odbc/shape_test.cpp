// SHAPE commands through MSDataShape over PostgreSQL (Data Provider MSDASQL): three levels on
// text and date keys, empty chapters, child rows edited and added through their base table.
#include <gtest/gtest.h>

#include "ado/connection_string.h"
#include "pg_server.h"
#include "support/HierarchyPicture.h"

using namespace ado;
using testsupport::HierarchyPicture;
using testsupport::PgTest;

namespace {

class OdbcShape : public PgTest {
protected:
    void SetUp() override {
        PgTest::SetUp();
        if (IsSkipped()) return;
        Run("CREATE TABLE regiones (codigo varchar(5) PRIMARY KEY, nombre varchar(20))");
        Run("CREATE TABLE clientes (id integer PRIMARY KEY, region varchar(5), nombre varchar(20))");
        Run("CREATE TABLE pedidos (id integer PRIMARY KEY, cliente integer, fecha date, importe numeric(10,2))");
        Run("CREATE TABLE entregas (fecha date, importe numeric(10,2), nota varchar(20))");
        Run("INSERT INTO regiones VALUES ('NO', 'Norte'), ('SU', 'Sur'), ('ES', 'Este')");
        Run("INSERT INTO clientes VALUES (1, 'NO', 'Ana'), (2, 'SU', 'Luis'), (3, 'NO', 'Eva')");
        Run("INSERT INTO pedidos VALUES (10, 1, '2024-01-05', 12.5), (11, 1, '2024-02-01', 7), "
            "(12, 3, '2024-01-05', 12.5)");
        Run("INSERT INTO entregas VALUES ('2024-01-05', 12.5, 'enero'), ('2024-02-01', 12.5, 'otra')");
    }

    // The test's connection string with MSDataShape in front of its provider.
    ConnectionPtr Shape() const {
        ado::ConnectionString cs = ado::ConnectionString::Parse(ConnectionString());
        cs.Set("Data Provider", cs.GetOr("Provider", "MSDASQL"));
        cs.Set("Provider", "MSDataShape");
        auto cn = Connection::Create();
        cn->CursorLocation(adUseClient);
        cn->Open(cs.ToString());
        return cn;
    }

    RecordsetPtr OpenShape(const std::string& shape, LockTypeEnum lock = adLockReadOnly) const {
        auto rs = Recordset::Create();
        rs->Open(shape, Shape(), adOpenStatic, lock, adCmdText);
        return rs;
    }
};

const std::string kThreeLevels =
    "SHAPE {SELECT * FROM regiones ORDER BY codigo} AS regiones APPEND (( SHAPE {SELECT * FROM clientes ORDER BY id} "
    "AS clientes APPEND ({SELECT id, cliente, importe FROM pedidos ORDER BY id} AS pedidos RELATE id TO cliente) AS "
    "pedidos) AS clientes RELATE codigo TO region) AS clientes";

}  // namespace

TEST_F(OdbcShape, ThreeLevelsAndDateAndMoneyKeys) {
    EXPECT_EQ(HierarchyPicture(*OpenShape(kThreeLevels)),
              "ES Este clientes[] | NO Norte clientes[1 NO Ana pedidos[10 1 12.5; 11 1 7]; 3 NO Eva pedidos[12 3 "
              "12.5]] | SU Sur clientes[2 SU Luis pedidos[]]");
    EXPECT_EQ(HierarchyPicture(*OpenShape("SHAPE {SELECT id, fecha, importe FROM pedidos ORDER BY id} APPEND "
                                          "({SELECT nota, fecha, importe FROM entregas} RELATE fecha TO fecha, importe "
                                          "TO importe) AS entregas")),
              "10 01/05/2024 12.5 entregas[enero 01/05/2024 12.5] | 11 02/01/2024 7 entregas[] | 12 01/05/2024 12.5 "
              "entregas[enero 01/05/2024 12.5]");
}

TEST_F(OdbcShape, ChildRowsAreEditedAndAddedThroughTheirBaseTable) {
    auto rs = OpenShape(kThreeLevels, adLockOptimistic);
    rs->Find("codigo = 'NO'");
    RecordsetPtr clientes = rs->Fields()["clientes"].Value().AsObject();
    RecordsetPtr pedidos = clientes->Fields()["pedidos"].Value().AsObject();
    pedidos->Fields()["importe"].Value(Variant(99));
    pedidos->Update();
    pedidos->AddNew();
    pedidos->Fields()["id"].Value(Variant(20));
    pedidos->Update();
    clientes->AddNew();
    clientes->Fields()["id"].Value(Variant(4));
    clientes->Fields()["nombre"].Value(Variant("Rut"));
    clientes->Update();
    EXPECT_EQ(Scalar("SELECT string_agg(concat_ws(' ', id, cliente, importe), ' | ' ORDER BY id) FROM pedidos"),
              Variant("10 1 99.00 | 11 1 7.00 | 12 3 12.50 | 20 1"));
    EXPECT_EQ(Scalar("SELECT concat_ws(' ', id, region, nombre) FROM clientes WHERE id = 4"), Variant("4 NO Rut"));
}
