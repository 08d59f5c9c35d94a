// Key fields and deletion through joins, on a real file and on the PostgreSQL server: the
// right row deleted and the others intact, keys of each type and with apostrophes.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>

#include "quimera/dataservices/Almacen.h"
#include "support/PgServer.h"

namespace {

using namespace pruebas;
using ado::Variant;

// Orders, their lines keyed by (Pedido, Linea), and the articles of the lines.
constexpr const char* kEsquema[] = {
    "CREATE TABLE Pedidos (Pedido INTEGER PRIMARY KEY, Cliente INTEGER)",
    "CREATE TABLE Articulos (Codigo VARCHAR(10) PRIMARY KEY, Nombre VARCHAR(30))",
    "CREATE TABLE Renglones (Pedido INTEGER, Linea INTEGER, Articulo VARCHAR(10), PRIMARY KEY (Pedido, Linea))",
    "INSERT INTO Pedidos VALUES (7, 1)",
    "INSERT INTO Pedidos VALUES (8, 2)",
    "INSERT INTO Articulos VALUES ('O''Neil', 'tornillo')",
    "INSERT INTO Articulos VALUES ('B', 'tuerca')",
    "INSERT INTO Renglones VALUES (7, 1, 'O''Neil')",
    "INSERT INTO Renglones VALUES (7, 2, 'B')",
    "INSERT INTO Renglones VALUES (7, 3, 'B')",
    "INSERT INTO Renglones VALUES (8, 2, 'B')",
};

constexpr const char* kUnion =
    "SELECT r.Pedido, r.Linea, r.Articulo, p.Cliente, a.Codigo, a.Nombre FROM (Renglones r INNER JOIN Pedidos p ON "
    "r.Pedido = p.Pedido) INNER JOIN Articulos a ON r.Articulo = a.Codigo ORDER BY r.Pedido, r.Linea";

std::string Renglones(const ado::ConnectionPtr& cn) {
    auto rs = cn->Execute("SELECT Pedido, Linea FROM Renglones ORDER BY Pedido, Linea");
    std::string texto;
    for (; !rs->adoEOF(); rs->MoveNext())
        texto += rs->Fields()[0].Value().ToString() + "/" + rs->Fields()[1].Value().ToString() + " ";
    return texto;
}

Rs AbrirUnion(const ado::ConnectionPtr& cn, const std::string& sql = kUnion) {
    auto rs = ado::Recordset::Create();
    rs->CursorLocation(ado::adUseClient);
    rs->Open(sql, cn, ado::adOpenStatic, ado::adLockOptimistic, ado::adCmdText);
    return rs;
}

// Moves to the row whose first two fields are (pedido, linea).
void IrA(const Rs& rs, int32_t pedido, int32_t linea) {
    for (rs->MoveFirst(); !rs->adoEOF(); rs->MoveNext())
        if (rs->Fields()[0].Value().ToInt32() == pedido && rs->Fields()[1].Value().ToInt32() == linea) return;
    FAIL() << "no row " << pedido << "/" << linea;
}

// The three-table join on any connection: the line (7, 2) and nothing else goes, though
// order 7 has other lines and another order has a line 2.
void BorraElRenglonCorrecto(quimera::clsDatosAvanzado& datos, const ado::ConnectionPtr& cn,
                            const ado::ConnectionPtr& otro) {
    Rs rs = AbrirUnion(cn);
    IrA(rs, 7, 2);
    std::string clave = datos.ObtenerCampoClave(rs);
    for (char& c : clave) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(clave, "pedido") << "the server folds unquoted names";
    EXPECT_TRUE(datos.BorradoSelectivo(rs, "Renglones", kUnion, false));
    EXPECT_EQ(Renglones(otro), "7/1 7/3 8/2 ");
    EXPECT_EQ(testsupport::Scalar(otro, "SELECT COUNT(*) FROM Pedidos").ToInt32(), 2);
    EXPECT_EQ(testsupport::Scalar(otro, "SELECT COUNT(*) FROM Articulos").ToInt32(), 2);
    EXPECT_EQ(rs->Fields()[1].Value().ToInt32(), 2) << "the client's recordset is not touched";
    // The same line again: no row matches now, nothing is deleted.
    EXPECT_FALSE(datos.BorrarComplejo(rs, "Renglones", false));
    EXPECT_EQ(Renglones(otro), "7/1 7/3 8/2 ");
    // A text key with an apostrophe, through the articles of the join.
    IrA(rs, 7, 1);
    EXPECT_TRUE(datos.BorrarComplejo(rs, "Articulos", false));
    EXPECT_EQ(testsupport::Scalar(otro, "SELECT Codigo FROM Articulos"), Variant("B"));
}

class Claves : public EntornoQuimera {
protected:
    Claves() {
        for (const char* sql : kEsquema) a.cn->Execute(sql);
    }
    Almacen a;
};

TEST_F(Claves, ElCampoClaveEsElPrimeroMarcadoEnElOrdenDeLosCampos) {
    Rs clientes = a.datos.ObtenerRegistro("Clientes", a.cn, "");
    EXPECT_EQ(a.datos.ObtenerCampoClave(clientes), "Id");
    Rs invertido = AbrirUnion(a.cn, "SELECT Linea, Articulo, Pedido FROM Renglones");
    EXPECT_EQ(a.datos.ObtenerCampoClave(invertido), "Linea") << "the first in field order";
    Rs sinClave = AbrirUnion(a.cn, "SELECT COUNT(*) AS n, MAX(Nombre) AS m FROM Clientes");
    EXPECT_EQ(a.datos.ObtenerCampoClave(sinClave), "");
    Rs ninguno;
    EXPECT_EQ(a.datos.ObtenerCampoClave(ninguno), "");
    EXPECT_EQ(a.datos.ObtenerCampoClaveTabla("Renglones", a.cn), "Pedido");
    EXPECT_EQ(a.datos.ObtenerCampoClaveTabla("Articulos", a.cn), "Codigo");
    a.cn->Execute("DELETE FROM Articulos");
    EXPECT_EQ(a.datos.ObtenerCampoClaveTabla("Articulos", a.cn), "Codigo") << "an empty table has its key too";
    EXPECT_TRUE(Informados().empty());
    EXPECT_EQ(a.datos.ObtenerCampoClaveTabla("NoHay", a.cn), "");
}

TEST_F(Claves, BorradoSelectivoSinUnionBorraElRegistroDelCursor) {
    Rs rs = a.datos.ObtenerRegistro("Renglones", a.cn, "Pedido = 7", false);
    rs->MoveNext();  // line 2
    EXPECT_TRUE(a.datos.BorradoSelectivo(rs, "Tabla que no se mira", "SELECT * FROM Renglones", false));
    EXPECT_EQ(Renglones(a.Otro()), "7/1 7/3 8/2 ");
}

TEST_F(Claves, BorrarComplejoBorraSoloElRenglonDeLaUnion) { BorraElRenglonCorrecto(a.datos, a.cn, a.Otro()); }

TEST_F(Claves, BorrarComplejoEscribeCadaClaveComoLiteralDeSuTipo) {
    for (const char* sql : {"CREATE TABLE Tarifas (Desde DATETIME, Tipo DOUBLE, Precio CURRENCY, PRIMARY KEY (Desde, Tipo))",
                            "CREATE TABLE Usos (Desde DATETIME, Cantidad LONG)",
                            "INSERT INTO Tarifas VALUES (#2024-03-01 10:30:00#, 2.5, 1)",
                            "INSERT INTO Tarifas VALUES (#2024-03-01#, 2.5, 2)",
                            "INSERT INTO Usos VALUES (#2024-03-01 10:30:00#, 4)"})
        a.cn->Execute(sql);
    const ado::RegionalSettings previas = ado::RegionalSettings::Current();
    ado::RegionalSettings::SetCurrent(ado::RegionalSettings::Spanish());  // a decimal comma must not leak
    Rs rs = AbrirUnion(a.cn, "SELECT t.Desde, t.Tipo, u.Cantidad FROM Tarifas t INNER JOIN Usos u ON t.Desde = u.Desde");
    ASSERT_FALSE(rs->adoEOF());
    EXPECT_TRUE(a.datos.BorrarComplejo(rs, "Tarifas", false));
    EXPECT_EQ(a.Valor("SELECT Precio FROM Tarifas"), Variant(ado::Currency{20000})) << "the other date stays";
    ado::RegionalSettings::SetCurrent(previas);
}

TEST_F(Claves, SinClaveOConClaveNulaNoSeBorraNada) {
    a.cn->Execute("INSERT INTO Renglones VALUES (9, 1, 'X')");  // an article that does not exist
    const char* izquierda =
        "SELECT r.Pedido, r.Linea, a.Codigo, a.Nombre FROM Renglones r LEFT JOIN Articulos a ON r.Articulo = a.Codigo "
        "WHERE r.Pedido = 9";
    Rs rs = AbrirUnion(a.cn, izquierda);
    EXPECT_FALSE(a.datos.BorradoSelectivo(rs, "Articulos", izquierda, false)) << "a Null key";
    Rs sinClave = AbrirUnion(a.cn, "SELECT r.Pedido + 0 AS P, r.Linea + 0 AS L FROM Renglones r INNER JOIN Pedidos p ON "
                                   "r.Pedido = p.Pedido");
    EXPECT_FALSE(a.datos.BorrarComplejo(sinClave, "Renglones", false));
    Rs otraTabla = AbrirUnion(a.cn);
    EXPECT_FALSE(a.datos.BorrarComplejo(otraTabla, "Clientes", false)) << "no key column of that table";
    EXPECT_EQ(Renglones(a.cn), "7/1 7/2 7/3 8/2 9/1 ");
    EXPECT_EQ(a.Valor("SELECT COUNT(*) FROM Articulos"), Variant(2));
    EXPECT_TRUE(Informados().empty());
}

TEST_F(Claves, BorrarComplejoEnUnServidor) {
    BREZAL_NEEDS_PG();
    const char* base = testsupport::PgBase();
    const std::string esquema = "q_" + std::to_string(::getpid()) + "_claves";
    auto admin = ado::Connection::Create();
    admin->Open(base);
    admin->Execute("DROP SCHEMA IF EXISTS " + esquema + " CASCADE");
    admin->Execute("CREATE SCHEMA " + esquema);
    const std::string cadena = std::string(base) + "ConnSettings=SET search_path TO " + esquema + ";";
    auto cn = ado::Connection::Create();
    cn->Open(cadena);
    for (const char* sql : kEsquema) cn->Execute(sql);
    auto otro = ado::Connection::Create();
    otro->Open(cadena);
    quimera::clsDatosAvanzado datos;
    datos.InicializarPropiedades(a.db.dir().path().string(), quimera::dnODBC);
    BorraElRenglonCorrecto(datos, cn, otro);
    admin->Execute("DROP SCHEMA IF EXISTS " + esquema + " CASCADE");
}

}  // namespace
