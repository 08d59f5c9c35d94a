// Data transfer of clsDatosAvanzado between two real files: the statement road with IN
// 'file', the row-by-row roads and the recordset-file road, compared value by value.
#include <gtest/gtest.h>

#include "quimera/dataservices/Almacen.h"

namespace {

using namespace pruebas;
using ado::Variant;

constexpr const char* kClientes =
    "CREATE TABLE Clientes (Id LONG PRIMARY KEY, Nombre TEXT(30), Alta DATETIME, Saldo CURRENCY, Ciudad TEXT(20))";

// Every row of a query as text, fields separated by '|', Nulls as "<nulo>".
std::string Filas(const ado::ConnectionPtr& cn, const std::string& sql) {
    auto rs = cn->Execute(sql);
    std::string texto;
    for (; !rs->adoEOF(); rs->MoveNext()) {
        for (ado::Field& f : rs->Fields()) {
            const Variant v = f.Value();
            texto += (v.IsNull() ? std::string("<nulo>") : v.ToString()) + "|";
        }
        texto += "\n";
    }
    return texto;
}

class Traspaso : public EntornoQuimera {
protected:
    Traspaso() {
        otro->Open(testsupport::JetConnectionString(destino.file()));
        otro->Execute(kClientes);
        otro->Execute("CREATE TABLE Copia (Id LONG PRIMARY KEY, Nombre TEXT(30), Alta DATETIME, Saldo CURRENCY, "
                      "Ciudad TEXT(20))");
        // A row with an empty text, beside the Almacen's Nulls, dates, money and accents.
        a.cn->Execute("INSERT INTO Clientes VALUES (9, '', #1999-12-31 23:59:59#, -0.0001, 'Cáceres')");
    }
    std::string Origen(const std::string& sql = "SELECT * FROM Clientes ORDER BY Id") { return Filas(a.cn, sql); }

    Almacen a;
    testsupport::EmbeddedDb destino{"", "destino.db"};
    ado::ConnectionPtr otro = ado::Connection::Create();
};

TEST_F(Traspaso, VolcarDatosInsertaConUnaSentenciaEnOtroArchivo) {
    std::string ruta = destino.file();
    EXPECT_TRUE(a.datos.VolcarDatos("Clientes", a.cn, ruta, "Clientes", "*", "Id < 9"));
    EXPECT_EQ(ruta, destino.file()) << "not changed";
    EXPECT_EQ(Filas(otro, "SELECT * FROM Clientes ORDER BY Id"), Origen("SELECT * FROM Clientes WHERE Id < 9 ORDER BY Id"));
    EXPECT_TRUE(a.datos.VolcarDatos("Clientes", a.cn, ruta, "Clientes", "*", "Id = 100")) << "no record matched";
    // The destination's column list, before the file as Access also writes it.
    EXPECT_TRUE(a.datos.VolcarDatos("Copia (Id, Ciudad)", a.cn, ruta, "Clientes", "Id, Ciudad"));
    EXPECT_EQ(Filas(otro, "SELECT Id, Ciudad, Nombre FROM Copia ORDER BY Id"),
              "1|León|<nulo>|\n2|Ávila|<nulo>|\n5|<nulo>|<nulo>|\n9|Cáceres|<nulo>|\n");
    EXPECT_TRUE(Informados().empty());
    // A duplicate key: the data-error report only when MostrarMensajes asks for it.
    EXPECT_FALSE(a.datos.VolcarDatos("Clientes", a.cn, ruta, "Clientes", "*"));
    EXPECT_TRUE(Dialogos().empty());
    a.datos.MostrarMensajes(true);
    EXPECT_FALSE(a.datos.VolcarDatos("Clientes", a.cn, ruta, "Clientes", "*"));
    EXPECT_EQ(Dialogos().size(), 1u);
    EXPECT_EQ(a.contadores.errores.size(), 2u) << "ErroresADO in any case";
    EXPECT_EQ(a.cn->Errors().Count(), 0);
}

TEST_F(Traspaso, VolcarDatos97CopiaFilaAFilaALaTablaNombrada) {
    otro->Execute("INSERT INTO Copia VALUES (100, 'ya estaba', NULL, 1, NULL)");
    EXPECT_TRUE(a.datos.VolcarDatos97("Copia", a.cn, otro, "Clientes", "*"));
    // Empty Unicode texts arrive as Null; the rest value by value.
    std::string esperado = Origen();
    const std::string vacio = "9||";
    esperado.replace(esperado.find(vacio), vacio.size(), "9|<nulo>|");
    EXPECT_EQ(Filas(otro, "SELECT * FROM Copia WHERE Id < 100 ORDER BY Id"), esperado);
    EXPECT_EQ(Filas(otro, "SELECT Nombre FROM Copia WHERE Id = 100"), "ya estaba|\n");
    EXPECT_EQ(Filas(otro, "SELECT COUNT(*) FROM Clientes"), "0|\n") << "the named table, not the source's";
    // Without a destination name the source's table is used, with the fields listed only.
    EXPECT_TRUE(a.datos.VolcarDatos97("", a.cn, otro, "Clientes", "Id, Ciudad", "Id <= 2"));
    EXPECT_EQ(Filas(otro, "SELECT Id, Nombre, Ciudad FROM Clientes ORDER BY Id"), "1|<nulo>|León|\n2|<nulo>|Ávila|\n");
    EXPECT_TRUE(Informados().empty());
}

TEST_F(Traspaso, VolcarDatos97SinRegistrosNoAbreElDestino) {
    EXPECT_TRUE(a.datos.VolcarDatos97("NoHay", a.cn, otro, "Clientes", "*", "Id = 100"));
    EXPECT_TRUE(Dialogos().empty()) << "the destination cursor was never opened";
    ado::ConnectionPtr ninguna;
    EXPECT_FALSE(a.datos.VolcarDatos97("Copia", a.cn, ninguna, "Clientes", "*"));
    EXPECT_FALSE(a.datos.VolcarDatos97("NoHay", a.cn, otro, "Clientes", "*")) << "no destination cursor";
    EXPECT_EQ(Filas(otro, "SELECT COUNT(*) FROM Copia"), "0|\n");
}

TEST_F(Traspaso, TraspasoDatosCopiaDesdeElRegistroActual) {
    Rs origen = a.datos.ObtenerRegistro("Clientes", a.cn, "", true);
    Rs destino = a.datos.ObtenerRegistro("Copia", otro, "", false);
    origen->Move(2);  // the third record
    EXPECT_TRUE(a.datos.TraspasoDatos(origen, destino));
    EXPECT_TRUE(origen->adoEOF());
    EXPECT_EQ(Filas(otro, "SELECT Id, Nombre FROM Copia ORDER BY Id"), "5|Eva|\n9||\n") << "texts as they are";
    EXPECT_TRUE(a.datos.TraspasoDatos(origen, destino)) << "a source at its end copies nothing";
    EXPECT_FALSE(a.datos.TraspasoDatos_SQLServer(origen, destino, "a", "b", "c", "Copia"));
    // A destination without one of the source's fields fails on the first record.
    otro->Execute("CREATE TABLE Estrecha (Id LONG PRIMARY KEY)");
    Rs estrecha = a.datos.ObtenerRegistro("Estrecha", otro, "", false);
    origen->MoveFirst();
    EXPECT_FALSE(a.datos.TraspasoDatos(origen, estrecha));
    EXPECT_EQ(Informados(), std::vector<std::string>{"clsDatosAvanzado.TraspasoDatos 3265"});
    Rs ninguno;
    EXPECT_FALSE(a.datos.TraspasoDatos(ninguno, destino));
}

TEST_F(Traspaso, MigraDatosTablaEnviaLasFilasSinCambiosComoAltas) {
    Rs rs = a.datos.ObtenerRegistro("Clientes", a.cn, "Id < 9", true);
    const std::string ruta = a.db.dir().file("migra.xml");
    EXPECT_TRUE(a.datos.MigraDatosTabla(rs, otro, ruta));
    EXPECT_EQ(rs->ActiveConnection(), nullptr) << "left disconnected";
    EXPECT_EQ(Filas(otro, "SELECT * FROM Clientes ORDER BY Id"), Origen("SELECT * FROM Clientes WHERE Id < 9 ORDER BY Id"));
    EXPECT_TRUE(Informados().empty());
}

TEST_F(Traspaso, MigraDatosTablaEnviaSoloLosCambiosPendientes) {
    otro->Execute("INSERT INTO Clientes VALUES (1, 'Ana', #2003-05-17#, 10.5, 'León')");
    otro->Execute("INSERT INTO Clientes VALUES (2, 'Luis en destino', NULL, NULL, NULL)");
    auto rs = ado::Recordset::Create();
    rs->CursorLocation(ado::adUseClient);
    rs->Open("SELECT * FROM Clientes WHERE Id < 9 ORDER BY Id", a.cn, ado::adOpenStatic, ado::adLockBatchOptimistic,
             ado::adCmdText);
    rs->Fields()["Ciudad"].Value("Lugo");  // customer 1
    rs->Update();
    EXPECT_TRUE(a.datos.MigraDatosTabla(rs, otro, a.db.dir().file("migra.xml")));
    EXPECT_EQ(Filas(otro, "SELECT Id, Nombre, Ciudad FROM Clientes ORDER BY Id"),
              "1|Ana|Lugo|\n2|Luis en destino|<nulo>|\n");
    EXPECT_EQ(Filas(a.cn, "SELECT Ciudad FROM Clientes WHERE Id = 1"), "León|\n") << "the source is not written";
}

}  // namespace
