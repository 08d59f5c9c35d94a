// Commands and stored queries on a real file: CrearConsulta, AbrirConsulta, the two ways of
// EjecutarConsulta (values written as SQL whatever the regional settings), its dialogs,
// LeerConsultaDinamica, LeerConsultaEstatica and ModificarParametro.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>

#include "ado/Regional.h"
#include "quimera/editing/Mundo.h"
#include "support/PgServer.h"

namespace {

using namespace pruebas;
using quimera::dnSQLServer;

class Consultas : public EntornoQuimera {
protected:
    ~Consultas() override { ado::RegionalSettings::SetCurrent(ado::RegionalSettings::FromLocale("C")); }
    Mundo m;
};

constexpr const char* kPedidosDe = "CREATE PROCEDURE PedidosDe ([Cliente] Text) AS SELECT Numero FROM Pedidos WHERE "
                                   "Codigo = [Cliente] ORDER BY Numero";

// The parameter array: items 1 name, 2 value, 3 type; one column per parameter from 1.
ado::Variant Parametros(const std::string& nombre, const ado::Variant& valor, int32_t tipo = ado::adVarChar) {
    ado::SafeArray a({{1, 3}, {1, 1}});
    a.At({1, 1}) = nombre, a.At({2, 1}) = valor, a.At({3, 1}) = tipo;
    return ado::Variant(a);
}

TEST_F(Consultas, CrearAbrirModificarYLeer) {
    for (const std::string nombre : {"", "Caros"}) {
        auto orden = m.acceso.CrearConsulta("SELECT Numero FROM Pedidos WHERE Importe > 15", m.cn, nombre);
        EXPECT_EQ(std::make_tuple(orden->Name(), orden->Prepared(), orden->CommandType(), Columna(orden->Execute())),
                  std::make_tuple(nombre, !nombre.empty(), ado::adCmdText, "99"));
    }
    m.cn->Execute(kPedidosDe);
    auto orden = m.acceso.AbrirConsulta("PedidosDe", m.cn);
    EXPECT_EQ(std::make_tuple(orden->Name(), orden->CommandText(), orden->CommandType(), orden->ActiveConnection()),
              std::make_tuple("PedidosDe", "PedidosDe", ado::adCmdStoredProc, m.cn));
    m.acceso.ModificarParametro(orden, "Cliente", ado::Variant("A"));  // the command asks for its parameters
    EXPECT_EQ(Columna(orden->Execute()), "1,99");
    m.acceso.ModificarParametro(orden, "NoExiste", ado::Variant(1));

    ado::ConnectionPtr ninguna;
    registro.decisiones = {centinela::DecisionContinuar};
    EXPECT_TRUE(m.acceso.AbrirConsulta("PedidosDe", ninguna));
    EXPECT_EQ(UltimoDialogo(), "Error de conexión | Error de conexión | La conexión no es correcta | 2");
    EXPECT_EQ(Informados(),
              (std::vector<std::string>{"clsAccesoDatos.ModificarParametro 3265", "clsAccesoDatos.AbrirConsulta 91"}));

    orden = m.acceso.CrearConsulta("SELECT * FROM Clientes ORDER BY Codigo", m.cn);
    Rs dinamica = m.acceso.LeerConsultaDinamica(orden);
    EXPECT_EQ(std::make_tuple(dinamica->LockType(), dinamica->CursorLocation(), m.sucesos.lista),
              std::make_tuple(ado::adLockPessimistic, ado::adUseClient, "Bloqueo 2"));
    // Static and scrollable as prepared; server-side when the location is not automated.
    for (const bool blnAutomatizar : {true, false}) {
        m.acceso.AutomatizarLocCursor(blnAutomatizar);
        m.cn->CursorLocation(ado::adUseServer);
        Rs estatica = m.acceso.LeerConsultaEstatica(orden);
        EXPECT_EQ(std::make_tuple(estatica->CursorType(), estatica->CursorLocation(), estatica->RecordCount()),
                  std::make_tuple(ado::adOpenStatic, blnAutomatizar ? ado::adUseClient : ado::adUseServer, 3));
        estatica->MoveLast();
        estatica->MovePrevious();
        EXPECT_EQ(estatica->Fields()["Codigo"].Value().ToString(), "B");
    }
    auto mala = m.acceso.CrearConsulta(kMalEscrita, m.cn);
    EXPECT_EQ(m.acceso.LeerConsultaDinamica(mala)->State(), ado::adStateClosed) << "closed, rather than none";
}

TEST_F(Consultas, EnAccessLosValoresSeVinculanPorNombre) {
    // Declared as written, given in the array: the name matches itself or itself in brackets,
    // exactly. Tope is given by no item: it leaves the command and asks for no value.
    const std::tuple<std::string, std::string, bool> casos[] = {
        {"[Cliente]", "Cliente", true}, {"Cliente", "Cliente", true},  {"[Cliente]", "[Cliente]", true},
        {"Cliente", "[Cliente]", false}, {"Cliente", "cliente", false},
    };
    for (const auto& [declarado, dado, blnVincula] : casos) {
        ado::Variant valores = Parametros(dado, "A");
        const std::string sql = "PARAMETERS " + declarado + " Text, Tope Double; SELECT Numero FROM Pedidos WHERE "
                                "Codigo = " + declarado + " ORDER BY Numero";
        EXPECT_EQ(Columna(m.acceso.EjecutarConsulta("", m.cn, valores, sql, ado::adCmdText, 1)),
                  blnVincula ? "1,99" : "")
            << declarado << " / " << dado;
    }
    m.cn->Execute(kPedidosDe);
    ado::Variant valores = Parametros("Cliente", "A");
    EXPECT_EQ(Columna(m.acceso.EjecutarConsulta("PedidosDe", m.cn, valores, "", ado::adCmdText, 1)), "1,99");
    valores = Parametros("Otro", "A");  // so that column 2, outside the array, is looked at
    EXPECT_FALSE(m.acceso.EjecutarConsulta("PedidosDe", m.cn, valores, "", ado::adCmdText, 2));
    EXPECT_EQ(Informados(), std::vector<std::string>{"clsAccesoDatos.EjecutarConsulta 9"});
}

// The text way on the embedded engine: values become Access literals, whatever the regional
// settings; read back through expressions that do not depend on how the engine keeps dates.
TEST_F(Consultas, EnOtrosMotoresLosValoresSeEscribenComoSQL) {
    ado::RegionalSettings::SetCurrent(ado::RegionalSettings::Spanish());  // decimal comma, day first
    const ado::Variant nulo(ado::Variant::Null);
    const char* const dia = "Format([V], 'yyyy-mm-dd hh:nn:ss')";
    const std::tuple<ado::Variant, int32_t, std::string, ado::Variant> casos[] = {  // value, type, SELECT, read
        {"O'Brien", ado::adVarChar, "[V]", "O'Brien"},
        {"ACME", ado::adVarWChar, "[V]", "ACME"},
        {"a\\'b", ado::adChar, "[V]", "a\\'b"},
        {"[W]", ado::adWChar, "[V] & [W]", "[W]5"},  // a value is never read again
        {nulo, ado::adVarChar, "[V]", nulo},
        {nulo, ado::adInteger, "[V]", nulo},
        {7.5, ado::adDouble, "[V]", 7.5},
        {"7,5", ado::adDouble, "[V] * 2", 15.0},
        {7.5, ado::adVarChar, "[V]", "7.5"},
        {-5, ado::adInteger, "10 -[V]", 15},
        {ado::Currency{12345672500}, ado::adCurrency, "[V]", 1234567.25},
        {true, ado::adBoolean, "[V]", -1},
        {ado::MakeDate(2024, 2, 1), ado::adDBDate, dia, "2024-02-01 00:00:00"},
        {"1/2/2024 13:45", ado::adDBTimeStamp, dia, "2024-02-01 13:45:00"},
        {ado::MakeDate(2024, 2, 1, 8, 5, 9), ado::adDate, dia, "2024-02-01 08:05:09"},
        {ado::MakeDate(1899, 12, 30, 13, 45), ado::adDBTime, "Format([V], 'hh:nn:ss')", "13:45:00"},
        {ado::Variant(ado::Binary{0x41, 0x42}), ado::adVarBinary, "Len([V])", 2},
        {"texto", ado::adVariant, "[V]", "texto"},
    };
    for (const auto& [valor, tipo, expresion, leido] : casos) {
        ado::SafeArray a({{1, 3}, {1, 2}});
        a.At({1, 1}) = "V", a.At({2, 1}) = valor, a.At({3, 1}) = tipo;
        a.At({1, 2}) = "W", a.At({2, 2}) = 5, a.At({3, 2}) = int32_t{ado::adInteger};
        ado::Variant valores(a);
        Rs rs = m.acceso.EjecutarConsulta("", m.cn, valores, "SELECT " + expresion + " AS V", ado::adCmdText, 2,
                                          dnSQLServer);
        ASSERT_TRUE(rs) << tipo << " " << expresion;
        EXPECT_TRUE(ado::Compare(rs->Fields()[0].Value(), leido, true) == 0)
            << tipo << " " << expresion << ": " << (rs->Fields()[0].Value().IsNull() ? "Null" : rs->Fields()[0].Value().ToString());
    }
    // A PARAMETERS declaration is cut off, a placeholder twice is replaced twice, and a
    // bracketed name the array does not give stays as it was (here a column); a placeholder
    // inside a quoted text is part of the text.
    ado::Variant valores = Parametros("Cliente", "A");
    EXPECT_EQ(Columna(m.acceso.EjecutarConsulta("", m.cn, valores,
                                                "PARAMETERS [Cliente] Text; SELECT [Nombre] FROM Clientes WHERE "
                                                "Codigo = [Cliente] OR Codigo > [cliente] OR Nombre = '[Cliente]' "
                                                "ORDER BY Codigo",
                                                ado::adCmdText, 1, dnSQLServer)),
              "Ana,Luis,Eva");
    EXPECT_TRUE(registro.informes.empty());
    EXPECT_TRUE(Dialogos().empty());
}

// The classic payloads, through every type of the text way: nothing comes back, nothing
// else runs, and the table is still whole; a value that is no number (or date) fails.
void ExpectPayloadsInert(quimera::clsAccesoDatos& acceso, ado::ConnectionPtr& cn, quimera::TipoOrigenDatos motor) {
    const char* const cargas[] = {
        "x' OR 'a'='a", "x' OR 1=1 --", "x'; DELETE FROM Clientes; --", "x\\' OR 1=1 -- ", "1 OR 1=1",
        "1); DELETE FROM Clientes; --", "#1/1/2000# OR 1=1", "A' UNION SELECT Codigo FROM Clientes --",
        "[P]", "x\n' OR 1=1 /*",
    };
    const int32_t tipos[] = {ado::adBSTR,    ado::adChar,     ado::adWChar,       ado::adVarChar,
                             ado::adLongVarChar, ado::adVarWChar, ado::adLongVarWChar, ado::adDate,
                             ado::adDBDate,  ado::adDBTime,   ado::adDBTimeStamp, ado::adSmallInt,
                             ado::adInteger, ado::adSingle,   ado::adDouble,      ado::adCurrency,
                             ado::adBoolean, ado::adDecimal,  ado::adBigInt,      ado::adNumeric,
                             ado::adVarBinary, ado::adEmpty,  ado::adVariant};
    for (const char* carga : cargas)
        for (const int32_t tipo : tipos) {
            ado::Variant valores = Parametros("P", carga, tipo);
            Rs rs = acceso.EjecutarConsulta("", cn, valores, "SELECT Codigo FROM Clientes WHERE Nombre = [P]",
                                            ado::adCmdText, 1, motor);
            EXPECT_TRUE(!rs || rs->adoEOF()) << carga << " as " << tipo << ": " << Columna(rs);
        }
    ado::Variant ninguno;
    EXPECT_EQ(Columna(acceso.EjecutarConsulta("", cn, ninguno, "SELECT COUNT(*) FROM Clientes", ado::adCmdText, 0,
                                              motor)),
              "3");
}

TEST_F(Consultas, LasCargasDeInyeccionNoCambianLaConsulta) { ExpectPayloadsInert(m.acceso, m.cn, dnSQLServer); }

// The same on a PostgreSQL server, with its own literals.
TEST_F(Consultas, LasCargasDeInyeccionNoCambianLaConsultaEnUnServidor) {
    BREZAL_NEEDS_PG();
    const char* base = testsupport::PgBase();
    const std::string esquema = "q_" + std::to_string(::getpid()) + "_inyeccion";
    auto admin = ado::Connection::Create();
    admin->Open(base);
    admin->Execute("DROP SCHEMA IF EXISTS " + esquema + " CASCADE");
    admin->Execute("CREATE SCHEMA " + esquema);
    auto cn = ado::Connection::Create();
    cn->Open(std::string(base) + "ConnSettings=SET search_path TO " + esquema + ";");
    cn->Execute("CREATE TABLE Clientes (Codigo varchar(5) PRIMARY KEY, Nombre varchar(30))");
    cn->Execute("INSERT INTO Clientes VALUES ('A', 'Ana'), ('B', 'Luis'), ('C', 'Eva')");
    // Backslashes escape in plain texts here, as on older servers.
    cn->Execute("SET standard_conforming_strings = off");
    ExpectPayloadsInert(m.acceso, cn, quimera::dnODBC);
    // Values come back as they went, quotes and backslashes included.
    const std::tuple<ado::Variant, int32_t> casos[] = {
        {"O'Brien \\ 'x'", ado::adVarWChar}, {-5, ado::adInteger}, {"7,5", ado::adDouble},
        {ado::MakeDate(2024, 2, 1, 13, 45), ado::adDBTimeStamp}, {ado::MakeDate(2024, 2, 1), ado::adDBDate},
        {true, ado::adBoolean}, {ado::Variant(ado::Binary{0x41, 0x27}), ado::adVarBinary},
    };
    ado::RegionalSettings::SetCurrent(ado::RegionalSettings::Spanish());
    for (const auto& [valor, tipo] : casos) {
        ado::Variant valores = Parametros("V", valor, tipo);
        Rs rs = m.acceso.EjecutarConsulta("", cn, valores, "SELECT [V] AS v", ado::adCmdText, 1, quimera::dnODBC);
        ASSERT_TRUE(rs) << tipo;
        const ado::Variant esperado = tipo == ado::adDouble ? ado::Variant(7.5) : valor;
        EXPECT_TRUE(ado::Compare(rs->Fields()[0].Value(), esperado, true) == 0) << tipo;
    }
    admin->Execute("DROP SCHEMA IF EXISTS " + esquema + " CASCADE");
}

TEST_F(Consultas, DialogosDeEjecutarConsulta) {
    const std::tuple<std::string, std::string, quimera::TipoOrigenDatos, std::string> casos[] = {
        {"NoExiste", "", quimera::dnAccess, "Error de procedimiento almacenado | Error de procedimiento almacenado | "
                                            "No se encuentra el procedimiento almacenado solicitado | 1"},
        {"NoExiste", "", dnSQLServer, "No se encuentra el procedimiento almacenado solicitado | 1"},
        {"", kSinNombre, quimera::dnAccess,
         "Error de consulta | Error al ejecutar la consulta | Detectado en la clase: Quimera | 2"},
        {"", kMalEscrita, quimera::dnAccess, "Error de acceso a datos | "},  // not recognised: the report
    };
    ado::Variant nada;
    for (const auto& [nombre, sql, motor, dialogo] : casos) {
        m.sucesos.lista.clear();
        EXPECT_FALSE(m.acceso.EjecutarConsulta(nombre, m.cn, nada, sql, ado::adCmdText, 0, motor));
        EXPECT_EQ(m.sucesos.lista.rfind("ErroresADO", 0), 0u) << sql;
        EXPECT_NE(UltimoDialogo().find(dialogo), std::string::npos) << UltimoDialogo();
        EXPECT_EQ(m.cn->Errors().Count(), 0);
    }
    EXPECT_TRUE(registro.informes.empty());

    ado::ConnectionPtr ninguna;
    registro.decisiones = {centinela::DecisionContinuar, centinela::DecisionContinuar};
    EXPECT_FALSE(m.acceso.EjecutarConsulta("", ninguna, nada, "SELECT 1"));
    // Clearing the errors and running, both without a connection.
    EXPECT_EQ(Informados(), (std::vector<std::string>{"clsAccesoDatos.EjecutarConsulta 91",
                                                      "clsAccesoDatos.EjecutarConsulta 3709"}));
    EXPECT_EQ(UltimoDialogo(), "Error de conexión | Error de conexión | La conexión no es correcta | 2");
}

}  // namespace
