// SHAPE commands on the embedded engine through MSDataShape: levels, relations on text, date
// and money keys, empty chapters, editing and adding child rows, saving and reopening.
#include <gtest/gtest.h>

#include "support/EmbeddedDb.h"
#include "support/HierarchyPicture.h"

using namespace ado;
using testsupport::EmbeddedDb;
using testsupport::ErrorNumberOf;
using testsupport::HierarchyPicture;

namespace {

constexpr const char* kPassword = "TERMOS58217";

class ShapeTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto cn = db.Connect();
        for (const char* sql : {
                 "CREATE TABLE Regiones (Codigo TEXT(5) PRIMARY KEY, Nombre TEXT(20))",
                 "CREATE TABLE Clientes (IdCliente LONG PRIMARY KEY, Region TEXT(5), Nombre TEXT(20))",
                 "CREATE TABLE Pedidos (IdPedido LONG PRIMARY KEY, IdCliente LONG, Fecha DATETIME, Importe CURRENCY)",
                 "CREATE TABLE Tarifas (Desde DATETIME, Precio CURRENCY, Nombre TEXT(20), PRIMARY KEY (Desde, Precio))",
                 "INSERT INTO Regiones VALUES ('NO', 'Norte')",
                 "INSERT INTO Regiones VALUES ('SU', 'Sur')",
                 "INSERT INTO Regiones VALUES ('ES', 'Este')",
                 "INSERT INTO Clientes VALUES (1, 'NO', 'Ana')",
                 "INSERT INTO Clientes VALUES (2, 'SU', 'Luis')",
                 "INSERT INTO Clientes VALUES (3, 'NO', 'Eva')",
                 "INSERT INTO Pedidos VALUES (10, 1, #2024-01-05#, 12.5)",
                 "INSERT INTO Pedidos VALUES (11, 1, #2024-02-01#, 7)",
                 "INSERT INTO Pedidos VALUES (12, 3, #2024-01-05#, 12.5)",
                 "INSERT INTO Tarifas VALUES (#2024-01-05#, 12.5, 'enero')",
                 "INSERT INTO Tarifas VALUES (#2024-01-05#, 7, 'otra')",
                 "INSERT INTO Tarifas VALUES (#2024-02-01#, 7, 'febrero')",
             })
            cn->Execute(sql);
    }

    // A shape connection; the database password reaches the data provider in Extended Properties.
    ConnectionPtr Shape(const std::string& dataProvider = "Microsoft.Jet.OLEDB.4.0") const {
        auto cn = Connection::Create();
        cn->Provider("MSDataShape");
        cn->Properties().Item("Data Provider").Value(Variant(dataProvider));
        cn->Properties().Item("Extended Properties").Value(Variant(std::string("Jet OLEDB:Database Password=") + kPassword));
        cn->CursorLocation(adUseClient);
        cn->Open("Data Source=" + db.file());
        return cn;
    }

    RecordsetPtr Open(const std::string& shape, LockTypeEnum lock = adLockReadOnly) const {
        auto rs = Recordset::Create();
        rs->Open(shape, Shape(), adOpenStatic, lock, adCmdText);
        return rs;
    }

    EmbeddedDb db{kPassword};
};

const std::string kThreeLevels =
    "SHAPE {SELECT * FROM Regiones ORDER BY Codigo} AS Regiones APPEND (( SHAPE {SELECT * FROM Clientes ORDER BY "
    "IdCliente} AS Clientes APPEND ({SELECT IdPedido, IdCliente, Importe FROM Pedidos ORDER BY IdPedido} AS Pedidos "
    "RELATE IdCliente TO IdCliente) AS Pedidos) AS Clientes RELATE Codigo TO Region) AS Clientes";

}  // namespace

TEST_F(ShapeTest, TwoAndThreeLevelsWithEmptyChapters) {
    auto two = Open(
        "SHAPE {SELECT * FROM Clientes ORDER BY IdCliente} APPEND ({SELECT IdPedido, IdCliente FROM Pedidos} RELATE "
        "IdCliente TO IdCliente) AS Pedidos");
    EXPECT_EQ(HierarchyPicture(*two), "1 NO Ana Pedidos[10 1; 11 1] | 2 SU Luis Pedidos[] | 3 NO Eva Pedidos[12 3]");
    Field& chapter = two->Fields()["Pedidos"];
    EXPECT_EQ(chapter.Type(), adChapter);
    EXPECT_EQ(chapter.Attributes() & adFldIsChapter, adFldIsChapter);
    EXPECT_EQ(two->Fields().Count(), 4);

    auto three = Open(kThreeLevels);
    EXPECT_EQ(HierarchyPicture(*three),
              "ES Este Clientes[] | NO Norte Clientes[1 NO Ana Pedidos[10 1 12.5; 11 1 7]; 3 NO Eva Pedidos[12 3 12.5]] "
              "| SU Sur Clientes[2 SU Luis Pedidos[]]");
}

TEST_F(ShapeTest, AChapterKeptFromAnEarlierReadFollowsItsParent) {
    auto regiones = Open(kThreeLevels);  // ES, NO, SU
    RecordsetPtr clientes = regiones->Fields()["Clientes"].Value().AsObject();
    EXPECT_TRUE(clientes->adoEOF());
    regiones->MoveNext();
    ASSERT_EQ(clientes->RecordCount(), 2);
    RecordsetPtr pedidos = clientes->Fields()["Pedidos"].Value().AsObject();  // Ana's
    EXPECT_EQ(HierarchyPicture(*pedidos), "10 1 12.5 | 11 1 7");
    clientes->MoveNext();  // Eva
    EXPECT_EQ(HierarchyPicture(*pedidos), "12 3 12.5");
    // The grandchild follows through its parent: Sur's first client, Luis, has no orders.
    regiones->Find("Codigo = 'SU'");
    EXPECT_EQ(HierarchyPicture(*pedidos), "");
    EXPECT_EQ(HierarchyPicture(*clientes), "2 SU Luis Pedidos[]");
}

TEST_F(ShapeTest, RelationsOnDateAndMoneyKeys) {
    auto rs = Open(
        "SHAPE {SELECT IdPedido, Fecha, Importe FROM Pedidos ORDER BY IdPedido} APPEND ({SELECT Nombre, Desde, "
        "Precio FROM Tarifas} RELATE Fecha TO Desde, Importe TO Precio) AS Tarifa");
    // The process's regional settings show the dates month first.
    EXPECT_EQ(HierarchyPicture(*rs), "10 01/05/2024 12.5 Tarifa[enero 01/05/2024 12.5] | 11 02/01/2024 7 "
                                     "Tarifa[febrero 02/01/2024 7] | 12 01/05/2024 12.5 Tarifa[enero 01/05/2024 12.5]");
}

TEST_F(ShapeTest, AFilterOnAChapterKeepsToItsParentsRows) {
    auto rs = Open(
        "SHAPE {SELECT * FROM Clientes ORDER BY IdCliente} APPEND ({SELECT IdPedido, IdCliente, Importe FROM Pedidos "
        "ORDER BY IdPedido} RELATE IdCliente TO IdCliente) AS Pedidos");
    RecordsetPtr pedidos = rs->Fields()["Pedidos"].Value().AsObject();  // Ana's
    pedidos->Filter(Variant("IdPedido = 12"));  // Eva's order: not in this chapter
    EXPECT_EQ(HierarchyPicture(*pedidos), "");
    pedidos->Filter(Variant("Importe > 10"));
    EXPECT_EQ(HierarchyPicture(*pedidos), "10 1 12.5");
    pedidos->Filter(Variant(""));
    EXPECT_EQ(HierarchyPicture(*pedidos), "10 1 12.5 | 11 1 7");
    // The filter stays with the chapter's recordset as it shows other parents' rows.
    pedidos->Filter(Variant("Importe > 10"));
    rs->MoveLast();
    EXPECT_EQ(HierarchyPicture(*rs->Fields()["Pedidos"].Value().AsObject()), "12 3 12.5");
    rs->MoveFirst();
    rs->Fields()["Pedidos"].Value();
    EXPECT_EQ(pedidos->RecordCount(), 1);
}

TEST_F(ShapeTest, ChildRowsAreEditedAndAddedThroughTheirBaseTable) {
    auto rs = Open(kThreeLevels, adLockOptimistic);
    rs->Find("Codigo = 'NO'");
    RecordsetPtr clientes = rs->Fields()["Clientes"].Value().AsObject();
    RecordsetPtr pedidos = clientes->Fields()["Pedidos"].Value().AsObject();
    pedidos->Fields()["Importe"].Value(Variant(99));
    pedidos->Update();
    pedidos->AddNew();
    pedidos->Fields()["IdPedido"].Value(Variant(20));
    pedidos->Update();
    clientes->AddNew();
    clientes->Fields()["IdCliente"].Value(Variant(4));
    clientes->Fields()["Nombre"].Value(Variant("Rut"));
    clientes->Update();
    // The chapter is one view of its level: read for another parent and back, the added row is still there.
    clientes->MoveLast();
    EXPECT_EQ(HierarchyPicture(*clientes->Fields()["Pedidos"].Value().AsObject()), "");
    clientes->MoveFirst();
    EXPECT_EQ(HierarchyPicture(*clientes->Fields()["Pedidos"].Value().AsObject()), "10 1 99 | 11 1 7 | 20 1 Null");
    EXPECT_EQ(clientes->Fields()["Pedidos"].Value().AsObject(), pedidos);
    auto check = db.Connect();
    EXPECT_EQ(HierarchyPicture(*check->Execute("SELECT IdPedido, IdCliente, Importe FROM Pedidos ORDER BY IdPedido")),
              "10 1 99 | 11 1 7 | 12 3 12.5 | 20 1 Null");
    EXPECT_EQ(HierarchyPicture(*check->Execute("SELECT * FROM Clientes WHERE IdCliente = 4")), "4 NO Rut");
}

TEST_F(ShapeTest, SavedHierarchiesReopenWithTheirChapters) {
    for (PersistFormatEnum format : {adPersistXML, adPersistADTG}) {
        auto rs = Open(kThreeLevels);
        const std::string expected = HierarchyPicture(*rs);
        const std::string file = db.dir().file(format == adPersistXML ? "jerarquia.xml" : "jerarquia.adtg");
        rs->Save(file, format);
        auto again = Recordset::Create();
        again->Open(file, "Provider=MsPersist", adOpenStatic, adLockReadOnly, adCmdFile);
        EXPECT_EQ(HierarchyPicture(*again), expected) << file;
    }
    // A chapter edited through its base table is saved as it stands now.
    auto edited = Open(kThreeLevels, adLockOptimistic);
    edited->Find("Codigo = 'SU'");
    RecordsetPtr luis = edited->Fields()["Clientes"].Value().AsObject();
    luis->Fields()["Nombre"].Value(Variant("Luis Mª"));
    luis->Update();
    edited->Save(db.dir().file("editada.adtg"), adPersistADTG);
    auto reopened = Recordset::Create();
    reopened->Open(db.dir().file("editada.adtg"), "Provider=MsPersist", adOpenStatic, adLockReadOnly, adCmdFile);
    EXPECT_EQ(HierarchyPicture(*reopened),
              "ES Este Clientes[] | NO Norte Clientes[1 NO Ana Pedidos[10 1 12.5; 11 1 7]; 3 NO Eva Pedidos[12 3 "
              "12.5]] | SU Sur Clientes[2 SU Luis Mª Pedidos[]]");
    // A change waiting in a chapter keeps the hierarchy out of XML, as ADO refuses it.
    auto batch = Open(kThreeLevels, adLockBatchOptimistic);
    batch->Find("Codigo = 'SU'");
    RecordsetPtr clientes = batch->Fields()["Clientes"].Value().AsObject();
    clientes->Fields()["Nombre"].Value(Variant("Luisa"));
    clientes->Update();
    try {
        batch->Save(db.dir().file("pendiente.xml"), adPersistXML);
        FAIL() << "saved with a pending change";
    } catch (const Error& e) {
        EXPECT_EQ(std::to_string(e.Number()) + " " + e.Description(),
                  "3251 El objeto o proveedor no es capaz de realizar la operación solicitada. (un conjunto de "
                  "registros jerárquico con cambios pendientes no se puede guardar en XML)");
    }
}

TEST_F(ShapeTest, FailuresNameTheirCause) {
    EXPECT_EQ(ErrorNumberOf([&] { Shape("Proveedor.Inexistente"); }), err::ProviderNotFound);
    try {
        Open("SHAPE {SELECT * FROM Clientes} APPEND ({SELECT * FROM Pedidos} RELATE IdCliente TO Cliente) AS P");
        FAIL() << "a RELATE field that is not there opened";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), err::ItemNotFound);
        EXPECT_EQ(e.Description(),
                  "No se encontró el elemento en la colección correspondiente al nombre o número solicitado. (SHAPE: "
                  "RELATE nombra el campo 'Cliente', que no está en sus filas)");
    }
    EXPECT_EQ(ErrorNumberOf([&] { Open("SHAPE {SELECT * FROM Clientes} APPEND ({SELECT * FROM Pedidos}"); }),
              err::SyntaxError);
    // Plain statements go to the data provider as they are.
    EXPECT_EQ(HierarchyPicture(*Shape()->Execute("SELECT Nombre FROM Regiones ORDER BY Codigo")), "Este | Norte | Sur");
}
