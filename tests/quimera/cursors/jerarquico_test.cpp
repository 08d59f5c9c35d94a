// Hierarchical recordsets: the connection through the shape provider for each engine, the
// SHAPE text written from the client's pieces, and the hierarchy opened by each cursor member.
#include <gtest/gtest.h>

#include "quimera/apoyo/EntornoQuimera.h"
#include "support/HierarchyPicture.h"

namespace {

using namespace quimera;

class Jerarquico : public pruebas::EntornoQuimera, public clsAccesoDatosEventos {
protected:
    Jerarquico() {
        acceso.ConectarEventos(*this);
        auto cn = db.Connect();
        for (const char* sql : {
                 "CREATE TABLE Clientes (IdCliente LONG PRIMARY KEY, Sucursal TEXT(5), Nombre TEXT(20))",
                 "CREATE TABLE Pedidos (IdPedido LONG PRIMARY KEY, IdCliente LONG, Sucursal TEXT(5))",
                 "CREATE TABLE Lineas (IdPedido LONG, Linea LONG, Articulo TEXT(20), PRIMARY KEY (IdPedido, Linea))",
                 "INSERT INTO Clientes VALUES (1, 'A', 'Ana')",
                 "INSERT INTO Clientes VALUES (2, 'A', 'Luis')",
                 "INSERT INTO Pedidos VALUES (10, 1, 'A')",
                 "INSERT INTO Pedidos VALUES (11, 1, 'B')",
                 "INSERT INTO Lineas VALUES (10, 1, 'tornillo')",
                 "INSERT INTO Lineas VALUES (10, 2, 'tuerca')",
             })
            cn->Execute(sql);
    }
    void Bloqueo(bool&, ado::LockTypeEnum numTipoBloqueo) override { bloqueos.push_back(numTipoBloqueo); }

    // Three levels (Clientes, Pedidos, Lineas) opened by the cursor member numTipoCursor names.
    ado::RecordsetPtr TresNiveles(ado::ConnectionPtr& cn, TipoCursor numTipoCursor, std::string& strSentencia) {
        return acceso.CrearCursorJerarquico("SELECT * FROM Clientes ORDER BY IdCliente", "Clientes", "IdCliente",
                                            "SELECT * FROM Pedidos ORDER BY IdPedido", "Pedidos", "IdCliente", cn,
                                            numTipoCursor, "SELECT * FROM Lineas ORDER BY Linea", "Terciario",
                                            "IdPedido", "IdPedido", strSentencia);
    }

    testsupport::EmbeddedDb db{ClaveBaseDatos, "datos.mdb"};
    clsAccesoDatos acceso;
    std::vector<ado::LockTypeEnum> bloqueos;
};

TEST_F(Jerarquico, SentenciasEscritasConLasPiezasDelCliente) {
    ado::ConnectionPtr ninguna;
    const TipoCursor sinAbrir = static_cast<TipoCursor>(4);
    struct Caso {
        std::string strTerciario, strEnlace1, strEnlace2, strEnlaceSecundario1, strSentencia;
    } casos[] = {
        {"", "IdCliente", "IdCliente", "IdPedido",  // the third-level links are ignored without a third level
         "SHAPE {SELECT * FROM Clientes} AS Clientes APPEND ({SELECT * FROM Pedidos} AS Pedidos RELATE IdCliente TO "
         "IdCliente) AS Pedidos"},
        {"SELECT * FROM Lineas", "IdCliente", "IdCliente", "IdPedido",
         "SHAPE {SELECT * FROM Clientes} AS Clientes APPEND (( SHAPE {SELECT * FROM Pedidos} AS Pedidos APPEND "
         "({SELECT * FROM Lineas} AS Terciario RELATE IdPedido TO IdPedido) AS Terciario) AS Pedidos RELATE IdCliente "
         "TO IdCliente) AS Pedidos"},
        {"", "Sucursal, Cliente", "Sucursal, IdCliente", "",
         "SHAPE {SELECT * FROM Clientes} AS Clientes APPEND ({SELECT * FROM Pedidos} AS Pedidos RELATE Sucursal TO "
         "Sucursal, Cliente TO IdCliente) AS Pedidos"},
        {"", "Sucursal,Cliente", "Sucursal, IdCliente", "",  // not split without the space
         "SHAPE {SELECT * FROM Clientes} AS Clientes APPEND ({SELECT * FROM Pedidos} AS Pedidos RELATE "
         "Sucursal,Cliente TO Sucursal, IdCliente) AS Pedidos"},
        {"SELECT * FROM Lineas", "IdCliente", "IdCliente", "",  // no second link: RELATE stays empty
         "SHAPE {SELECT * FROM Clientes} AS Clientes APPEND (( SHAPE {SELECT * FROM Pedidos} AS Pedidos APPEND "
         "({SELECT * FROM Lineas} AS Terciario RELATE ) AS Terciario) AS Pedidos RELATE IdCliente TO IdCliente) AS "
         "Pedidos"},
    };
    for (const Caso& c : casos) {
        std::string strSentencia = "previa";
        EXPECT_FALSE(acceso.CrearCursorJerarquico("SELECT * FROM Clientes", "Clientes", c.strEnlace1,
                                                  "SELECT * FROM Pedidos", "Pedidos", c.strEnlace2, ninguna, sinAbrir,
                                                  c.strTerciario, "Terciario", c.strEnlaceSecundario1, "IdPedido",
                                                  strSentencia));
        EXPECT_EQ(strSentencia, c.strSentencia);
    }
    EXPECT_TRUE(Dialogos().empty() && registro.informes.empty());
}

TEST_F(Jerarquico, AbiertoPorCadaMiembroDeCursores) {
    ado::ConnectionPtr cn = acceso.AbrirBaseDatosJerarquica(db.file(), "Administrador", "otra clave");
    ASSERT_TRUE(cn);
    EXPECT_EQ(cn->Provider(), "MSDataShape");
    EXPECT_EQ(cn->Properties().Item("Data Provider").Value().ToString(), "Microsoft.Jet.OLEDB.4.0");
    EXPECT_EQ(cn->Properties().Item("Extended Properties").Value().ToString(),
              "Jet OLEDB:Database Password=TERMOS58217");
    EXPECT_EQ(std::make_pair(cn->Mode(), cn->CursorLocation()), std::make_pair(ado::adModeRead, ado::adUseClient));
    const std::string esperado =
        "1 A Ana Pedidos[10 1 A Terciario[10 1 tornillo; 10 2 tuerca]; 11 1 B Terciario[]] | 2 A Luis Pedidos[]";
    for (TipoCursor numTipo : {dnEstatico, dnClaves, dnDinamico, dnInspeccion}) {
        std::string strSentencia;
        ado::RecordsetPtr rs = TresNiveles(cn, numTipo, strSentencia);
        ASSERT_TRUE(rs) << numTipo;
        EXPECT_EQ(testsupport::HierarchyPicture(*rs), esperado) << numTipo;
    }
    EXPECT_EQ(bloqueos, (std::vector<ado::LockTypeEnum>{ado::adLockPessimistic, ado::adLockPessimistic}));
    EXPECT_TRUE(Dialogos().empty() && registro.informes.empty());
}

TEST_F(Jerarquico, LineasEditadasYAgregadasEnSuTabla) {
    acceso.OrigenDatos(dnAccess);
    ado::ConnectionPtr cn = acceso.AbrirBaseDatosJerarquica(db.file(), "Administrador", ClaveBaseDatos,
                                                            ado::adModeReadWrite);
    std::string strSentencia;
    ado::RecordsetPtr rs = TresNiveles(cn, dnClaves, strSentencia);
    ado::RecordsetPtr lineas =
        rs->Fields()["Pedidos"].Value().AsObject()->Fields()["Terciario"].Value().AsObject();
    lineas->Fields()["Articulo"].Value(ado::Variant("arandela"));
    lineas->Update();
    lineas->AddNew();
    lineas->Fields()["Linea"].Value(ado::Variant(3));
    lineas->Fields()["Articulo"].Value(ado::Variant("clavo"));
    lineas->Update();
    EXPECT_EQ(testsupport::HierarchyPicture(*db.Connect()->Execute("SELECT * FROM Lineas ORDER BY Linea")),
              "10 1 arandela | 10 2 tuerca | 10 3 clavo");
}

TEST_F(Jerarquico, MotoresSinProveedorDeDatos) {
    const size_t antes = Dialogos().size();
    acceso.OrigenDatos(dnOracle);
    EXPECT_FALSE(acceso.AbrirBaseDatosJerarquica("Data Source=orcl"));
    EXPECT_EQ(UltimoDialogo(antes).rfind("Error | No se encuentra el proveedor OLEDB | Detectado en la clase: Quimera", 0),
              0u)
        << UltimoDialogo(antes);
    // The SQL Server 2005 kind finds its provider (SQLNCLI) and fails at the server instead.
    acceso.OrigenDatos(dnSQLServer2005);
    EXPECT_FALSE(acceso.AbrirBaseDatosJerarquica("Server=127.0.0.1,1;Database=x;Trusted_Connection=no"));
    EXPECT_EQ(UltimoDialogo(antes).rfind("Error de conexión | Error al establecer la conexión | Detectado en la clase: "
                                         "Quimera",
                                         0),
              0u)
        << UltimoDialogo(antes);
}

}  // namespace
