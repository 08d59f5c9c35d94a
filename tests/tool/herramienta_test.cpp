// The tool as a user meets it: its language (Spanish by default, English under an English
// locale, CLI11's messages included), its answers to slips, `sql` with its formats, limits,
// passwords and errors, and the memory a million streamed rows take.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>

#include "support/EmbeddedDb.h"
#include "tool/Herramienta.h"

namespace {

using testsupport::kEspanol;
using testsupport::kIngles;
using testsupport::Quimera;
using testsupport::Quoted;

struct Caso {
    const char* arguments;
    const char* espanol;
    const char* ingles;
};

TEST(Herramienta, HablaElIdiomaDelUsuarioTambienEnLosErroresDeCLI11) {
    const Caso casos[] = {
        {"--version", "quimera 0.1.0\n[0]", "quimera 0.1.0\n[0]"},
        {"", "quimera: falta la orden (ejecute «quimera --help» para ver la lista)\n[2]",
         "quimera: a command is missing (run \"quimera --help\" to see the list)\n[2]"},
        {"slq a.db 'SELECT 1'", "quimera: orden desconocida «slq»; ¿quería decir «sql»?\n[2]",
         "quimera: unknown command \"slq\"; did you mean \"sql\"?\n[2]"},
        {"compcatar a.db", "quimera: orden desconocida «compcatar»; ¿quería decir «compactar»?\n[2]",
         "quimera: unknown command \"compcatar\"; did you mean \"compactar\"?\n[2]"},
        {"zzz",
         "quimera: orden desconocida «zzz»; las órdenes son: sql, demo, compactar, clave, convertir, migrar, ver, "
         "exportar, importar, copiar\n[2]",
         "quimera: unknown command \"zzz\"; the commands are: sql, demo, compactar, clave, convertir, migrar, ver, "
         "exportar, importar, copiar\n[2]"},
        {"sql", "quimera: falta ARCHIVO\n[2]", "quimera: FILE is missing\n[2]"},
        {"sql a.db 'SELECT 1' sobra", "quimera: argumentos de más: sobra\n[2]", "quimera: unexpected arguments: sobra\n[2]"},
        {"sql a.db 'SELECT 1' --formato xml", "quimera: --formato: «xml» no es ninguno de: tabla, csv, json\n[2]",
         "quimera: --formato: \"xml\" is none of: tabla, csv, json\n[2]"},
        {"sql a.db 'SELECT 1' --limite tres", "quimera: --limite: «tres» no es un número entero de 0 o más\n[2]",
         "quimera: --limite: \"tres\" is not a whole number of 0 or more\n[2]"},
        {"sql a.db 'SELECT 1' --password x --password-env CLAVE", "quimera: --password no admite --password-env\n[2]",
         "quimera: --password cannot go with --password-env\n[2]"},
        {"clave a.db", "quimera: hace falta exactamente una de estas opciones: --nueva,--quitar\n[2]",
         "quimera: exactly one of these options is needed: --nueva,--quitar\n[2]"},
        {"sql a.db 'SELECT 1' --password-env NO_DEFINIDA_EN_LA_PRUEBA",
         "quimera: la variable de entorno NO_DEFINIDA_EN_LA_PRUEBA no está definida\n[1]",
         "quimera: the environment variable NO_DEFINIDA_EN_LA_PRUEBA is not set\n[1]"},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(Quimera(c.arguments, "", "2>&1", kEspanol), c.espanol) << c.arguments;
        EXPECT_EQ(Quimera(c.arguments, "", "2>&1", kIngles), c.ingles) << c.arguments;
    }
    // The help, whole: CLI11's own words, argument names and value types too.
    const std::string tool = std::string(BREZAL_BINARY_DIR) + "/tools/quimera/quimera";
    EXPECT_EQ(Quimera("compactar --help"),
              "Compacta una base de datos incrustada, en su sitio o en otro archivo\n"
              "Uso: " + tool + " compactar [OPCIONES] ARCHIVO [DESTINO]\n\n"
              "Argumentos:\n"
              "  ARCHIVO TEXTO OBLIGATORIO   Archivo de base de datos\n"
              "  DESTINO TEXTO               Archivo compactado, que no debe existir (por omisión, el mismo ARCHIVO)\n\n"
              "Opciones:\n"
              "  -h,--help                   Muestra esta ayuda y termina\n"
              "  --password TEXTO Excluye: --password-env\n"
              "                              Contraseña de la base de datos, que la copia conserva (sin valor, se "
              "pregunta sin mostrarla)\n"
              "  --password-env TEXTO Excluye: --password\n"
              "                              Variable de entorno que guarda la contraseña\n\n[0]");
    const std::string help = Quimera("sql --help", "", "2>&1", kIngles);
    EXPECT_EQ(help.substr(0, help.find("  --buscar")),
              "Runs Access SQL statements on an embedded database\n"
              "Usage: " + tool + " sql [OPTIONS] FILE STATEMENTS\n\n"
              "Arguments:\n"
              "  FILE TEXT REQUIRED          Database file\n"
              "  STATEMENTS TEXT REQUIRED    Access SQL statements, separated by ';'\n\n"
              "Options:\n"
              "  -h,--help                   Shows this help and exits\n"
              "  --crear                     Creates the database when the file does not exist\n"
              "  --formato TEXT:{tabla,csv,json}\n"
              "                              tabla (a table), csv or json (by default, tabla)\n"
              "  --limite INTEGER:N          Shows at most N rows of each result\n");
    const std::string ayuda = Quimera("sql --help");
    EXPECT_NE(ayuda.find("  --formato TEXTO:{tabla,csv,json}\n"), std::string::npos) << ayuda;
    EXPECT_NE(ayuda.find("  --limite ENTERO:N "), std::string::npos) << ayuda;
}

TEST(Herramienta, SqlNoCreaUnArchivoSinCrear) {
    testsupport::TempDir dir;
    const std::string archivo = dir.file("nueva.db");
    EXPECT_EQ(Quimera("sql " + Quoted(archivo) + " 'CREATE TABLE T (Id LONG)'"),
              "quimera: no existe la base de datos " + archivo + " (con --crear se crea)\n[1]");
    EXPECT_FALSE(std::filesystem::exists(archivo));
    EXPECT_EQ(Quimera("sql " + Quoted(archivo) + " 'CREATE TABLE T (Id LONG)'", "", "2>&1", kIngles),
              "quimera: the database " + archivo + " does not exist (--crear creates it)\n[1]");
    EXPECT_EQ(Quimera("sql " + Quoted(archivo) + " 'CREATE TABLE T (Id LONG)' --crear --password-env CLAVE",
                      "CLAVE=secreto"),
              "quimera: se creó la base de datos " + archivo + " (protegida con contraseña)\n0 registros afectados\n[0]");
    auto cn = ado::Connection::Create();
    cn->Open(testsupport::JetConnectionString(archivo, "secreto"));
    EXPECT_EQ(testsupport::Scalar(cn, "SELECT COUNT(*) FROM T"), ado::Variant(0)) << "the file has the password";
}

class HerramientaSql : public ::testing::Test {
protected:
    HerramientaSql() : db_("secreto") {
        auto cn = db_.Connect();
        cn->Execute("CREATE TABLE Art (Id LONG PRIMARY KEY, Nombre TEXT(20), Precio CURRENCY)");
        cn->Execute("INSERT INTO Art VALUES (1, '漢字漢字', 12.5)");
        cn->Execute("INSERT INTO Art VALUES (2, 'Ana', NULL)");
        cn->Execute("INSERT INTO Art VALUES (3, 'Ñu, \"el\"', 3)");
    }
    std::string Sql(const std::string& statements, const std::string& options = "",
                    const std::string& lang = kEspanol) {
        return Quimera("sql " + Quoted(db_.file()) + " " + Quoted(statements) + " " + options, "CLAVE=secreto",
                       "--password-env CLAVE 2>&1", lang);
    }
    testsupport::EmbeddedDb db_;
};

TEST_F(HerramientaSql, FormatosYLimite) {
    const std::string consulta = "SELECT * FROM Art ORDER BY Id";
    // Aligned by display width: each CJK character takes two columns.
    EXPECT_EQ(Sql(consulta),
              "Id | Nombre   | Precio\n"
              "---+----------+-------\n"
              " 1 | 漢字漢字 |   12.5\n"
              " 2 | Ana      |   Null\n"
              " 3 | Ñu, \"el\" |      3\n"
              "(3 filas)\n[0]");
    EXPECT_EQ(Sql(consulta, "--limite 2", kIngles),
              "Id | Nombre   | Precio\n"
              "---+----------+-------\n"
              " 1 | 漢字漢字 |   12.5\n"
              " 2 | Ana      |   Null\n"
              "... (there are more rows)\n"
              "(2 rows)\n[0]");
    EXPECT_EQ(Sql(consulta, "--formato csv"),
              "Id,Nombre,Precio\r\n1,漢字漢字,12.5\r\n2,Ana,\r\n3,\"Ñu, \"\"el\"\"\",3\r\n[0]");
    EXPECT_EQ(Sql(consulta, "--formato json --limite 1"),
              "[\n  {\"Id\": 1, \"Nombre\": \"漢字漢字\", \"Precio\": 12.5}\n]\n[0]");
    EXPECT_EQ(Sql("SELECT * FROM Art WHERE Id < 0", "--formato json"), "[]\n[0]");
    EXPECT_EQ(Sql("UPDATE Art SET Precio = 1 WHERE Id > 1", "--formato csv"), "2 registros afectados\n[0]");
}

TEST_F(HerramientaSql, BuscarFiltrarYOrdenarConLosCriteriosDeADO) {
    const std::string consulta = "SELECT Id, Nombre FROM Art";
    EXPECT_EQ(Sql(consulta, "--formato csv --orden 'Nombre DESC'"), "Id,Nombre\r\n1,漢字漢字\r\n3,\"Ñu, \"\"el\"\"\"\r\n2,Ana\r\n[0]");
    EXPECT_EQ(Sql(consulta, "--formato csv --filtro \"Nombre LIKE 'a*' OR Id = 3\" --orden Id"),
              "Id,Nombre\r\n2,Ana\r\n3,\"Ñu, \"\"el\"\"\"\r\n[0]");
    EXPECT_EQ(Sql(consulta, "--formato csv --buscar 'Id > 1'"), "Id,Nombre\r\n2,Ana\r\n3,\"Ñu, \"\"el\"\"\"\r\n[0]");
    // An action statement in the script runs once and gives its count.
    EXPECT_EQ(Sql("UPDATE Art SET Precio = 2 WHERE Id > 1; SELECT Id, Precio FROM Art WHERE Id > 1",
                  "--formato csv --orden 'Id DESC'"),
              "2 registros afectados\nId,Precio\r\n3,2\r\n2,2\r\n[0]");
    EXPECT_EQ(Sql(consulta, "--formato csv --buscar \"Id > 1 AND Nombre = 'Ana'\""),
              "error 3001 en la instrucción 1 (línea 1, columna 1): Los argumentos son de tipo incorrecto, están fuera "
              "del intervalo aceptable o están en conflicto con otros. (criterio no válido: texto después del valor en "
              "\"Id > 1 AND Nombre = 'Ana'\")\n[1]");
}

TEST_F(HerramientaSql, ContrasenaPreguntadaOLeidaDeLaEntrada) {
    const std::string args = "sql " + Quoted(db_.file()) + " 'SELECT COUNT(*) AS N FROM Art' --formato csv --password";
    EXPECT_EQ(Quimera(args, "printf 'secreto\\n' |"), "N\r\n3\r\n[0]");
    EXPECT_EQ(Quimera("sql " + Quoted(db_.file()) + " 'SELECT COUNT(*) AS N FROM Art' --formato csv --password secreto"),
              "N\r\n3\r\n[0]");
}

TEST_F(HerramientaSql, UnErrorNombraLaInstruccionEnCadaIdioma) {
    const std::string guion = "UPDATE Art SET Precio = 1 WHERE Id = 1;\nSELECT Nada FROM Art";
    EXPECT_EQ(Sql(guion),
              "-- UPDATE Art SET Precio = 1 WHERE Id = 1\n1 registro afectado\n\n-- SELECT Nada FROM Art\n"
              "error -2147217904 en la instrucción 2 (línea 2, columna 1): No se han especificado valores para algunos de los parámetros requeridos. (Nada)\n"
              "  instrucción: SELECT Nada FROM Art\n[1]");
    EXPECT_EQ(Sql(guion, "", kIngles),
              "-- UPDATE Art SET Precio = 1 WHERE Id = 1\n1 record affected\n\n-- SELECT Nada FROM Art\n"
              "error -2147217904 in statement 2 (line 2, column 1): No value given for one or more required parameters. (Nada)\n"
              "  statement: SELECT Nada FROM Art\n[1]");
}

// A million rows go through in flat memory: the largest child's peak is the tool's.
TEST_F(HerramientaSql, UnMillonDeFilasEnMemoriaPlana) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer keeps freed memory in quarantine";
#endif
    auto cn = db_.Connect();
    cn->Execute("CREATE TABLE Mil (Id LONG PRIMARY KEY)");
    cn->BeginTrans();
    for (int i = 1; i <= 1000; ++i) cn->Execute("INSERT INTO Mil VALUES (" + std::to_string(i) + ")");
    cn->CommitTrans();
    EXPECT_EQ(Quimera("sql " + Quoted(db_.file()) +
                          " 'SELECT a.Id, b.Id AS Otro, \"un texto de relleno\" AS Texto FROM Mil AS a, Mil AS b'",
                      "CLAVE=secreto", "--password-env CLAVE --formato csv | wc -l"),
              "1000001\n[0]");
    rusage uso{};
    getrusage(RUSAGE_CHILDREN, &uso);
    const long megabytes = uso.ru_maxrss / 1024;
    EXPECT_LT(megabytes, 50) << "peak resident memory of the tool, MB";
    std::cout << "quimera sql, 1,000,000 rows as CSV: peak " << megabytes << " MB\n";
}

}  // namespace

TEST_F(HerramientaSql, JerarquiasConLosHijosSangradosBajoCadaPadre) {
    auto cn = db_.Connect();
    cn->Execute("CREATE TABLE Ventas (IdVenta LONG PRIMARY KEY, IdArt LONG, Unidades LONG)");
    cn->Execute("CREATE TABLE Entregas (IdVenta LONG, Dia TEXT(10))");
    cn->Execute("INSERT INTO Ventas VALUES (10, 1, 4)");
    cn->Execute("INSERT INTO Ventas VALUES (11, 1, NULL)");
    cn->Execute("INSERT INTO Ventas VALUES (12, 3, 1)");
    cn->Execute("INSERT INTO Entregas VALUES (10, 'lunes')");
    EXPECT_EQ(Sql("SHAPE {SELECT Id, Nombre FROM Art ORDER BY Id} APPEND ((SHAPE {SELECT * FROM Ventas ORDER BY "
                  "IdVenta} APPEND ({SELECT * FROM Entregas} RELATE IdVenta TO IdVenta) AS Entregas) AS Ventas "
                  "RELATE Id TO IdArt) AS Ventas"),
              "Id | Nombre\n"
              "1 | 漢字漢字\n"
              "  Ventas: IdVenta | IdArt | Unidades\n"
              "  10 | 1 | 4\n"
              "    Entregas: IdVenta | Dia\n"
              "    10 | lunes\n"
              "  11 | 1 | Null\n"
              "2 | Ana\n"
              "3 | Ñu, \"el\"\n"
              "  Ventas: IdVenta | IdArt | Unidades\n"
              "  12 | 3 | 1\n"
              "(3 filas)\n[0]");
    EXPECT_EQ(Sql("SHAPE {SELECT * FROM Art} APPEND ({SELECT * FROM Ventas} RELATE Id IdArt)"),
              "error -2147217900 en la instrucción 1 (línea 1, columna 1): Error de sintaxis en la instrucción SQL. "
              "(SHAPE: se esperaba «TO» en la posición 68)\n"
              "  instrucción: SHAPE {SELECT * FROM Art} APPEND ({SELECT * FROM Ventas} RELATE Id IdArt)\n[1]");
}
