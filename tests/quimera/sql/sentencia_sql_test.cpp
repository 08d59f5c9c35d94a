// clsSQL: statements taken apart into their clauses and put together again, the
// CambiaSentencia event, keywords at the statement's own level only, and lead texts that
// belong to the statement that has them.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "quimera/apoyo/EntornoQuimera.h"
#include "quimera/sql/UtilidadQueFalla.h"
#include "support/SmallStack.h"

namespace {

using namespace quimera;

// Ejecutar, Parametros, Seleccion, Desde, Condiciones, Agrupar, Ordenar joined by "|".
std::string Partes(const clsSQL& s) {
    return s.Ejecutar() + "|" + s.Parametros() + "|" + s.Seleccion() + "|" + s.Desde() + "|" + s.Condiciones() + "|" +
           s.Agrupar() + "|" + s.Ordenar();
}

// Notes each CambiaSentencia and answers as told.
struct Oyente : clsSQLEventos {
    void CambiaSentencia(const std::string& strAnterior, std::string& strNueva, bool& blnCancelar) override {
        vistos.push_back(strAnterior + " -> " + strNueva);
        if (reescribir) strNueva = reescribir(strNueva);
        blnCancelar = cancelar;
    }
    std::vector<std::string> vistos;
    std::function<std::string(const std::string&)> reescribir;
    bool cancelar = false;
};

class SentenciaSQL : public pruebas::EntornoQuimera {
protected:
    SentenciaSQL() { sql.ConectarEventos(oyente); }
    clsSQL sql;
    Oyente oyente;
};

TEST_F(SentenciaSQL, SeDescomponeDesdeElFinal) {
    const std::pair<const char*, const char*> casos[] = {
        {"SELECT Nombre, Ciudad FROM Clientes WHERE Activo = 1 ORDER BY Nombre", "||Nombre, Ciudad|Clientes|Activo = 1||Nombre"},
        {"PARAMETERS Desde DateTime; SELECT * FROM Pedidos WHERE Fecha >= Desde", "|Desde DateTime;|*|Pedidos|Fecha >= Desde||"},
        {"UPDATE Clientes SET Activo = 0 WHERE Baja = 1", "UPDATE Clientes SET Activo = 0 ||||Baja = 1||"},
        {"SELECT Ciudad FROM Clientes GROUP BY Ciudad HAVING COUNT(*) > 1", "||Ciudad|Clientes||Ciudad HAVING COUNT(*) > 1|"},
        {"INSERT INTO Destino (Campo) SELECT Campo FROM Origen", "INSERT INTO Destino (Campo) ||Campo|Origen|||"},
        {"select a from t where b order by c", "||a|t|b||c"},
        {"DROP TABLE Temporal", "DROP TABLE Temporal||||||"},
        // Keywords count only as whole words outside literals, brackets and parentheses.
        {"SELECT FROMAGE, WHEREAS FROM Quesos", "||FROMAGE, WHEREAS|Quesos|||"},
        {"SELECT * FROM P WHERE C IN (SELECT Id FROM Q WHERE A = 1) ORDER BY F", "||*|P|C IN (SELECT Id FROM Q WHERE A = 1)||F"},
        {"SELECT 'a FROM', [Order By] FROM T WHERE x = \"WHERE\"", "||'a FROM', [Order By]|T|x = \"WHERE\"||"},
        {"SELECT (a FROM b", "||(a FROM b||||"},
    };
    for (const auto& [sentencia, partes] : casos) {
        sql.Sentencia(sentencia);
        EXPECT_EQ(sql.Sentencia(), sentencia);
        EXPECT_EQ(Partes(sql), partes) << sentencia;
    }
}

TEST_F(SentenciaSQL, LasPalabrasSeJuzganEnterasEnTextosLargos) {
    // The keyword falls at every offset of the pieces the search reads.
    for (size_t relleno = 0; relleno < 200; ++relleno) {
        sql.Sentencia("SELECT " + std::string(relleno, 'x') + ", FROMAGE FROM t");
        EXPECT_EQ(sql.Desde(), "t") << relleno;
    }
}

// A megabyte of nested subqueries on a worker thread's small stack: taken apart and put
// together again in one reading of the text each.
TEST_F(SentenciaSQL, UnMegabyteAnidadoEnUnaPilaPequena) {
    std::string anidada;
    for (int i = 0; i < 50'000; ++i) anidada += "(SELECT a FROM b WHERE ";
    anidada += "1";
    for (int i = 0; i < 50'000; ++i) anidada += ")";
    const std::string sentencia = "SELECT x FROM t WHERE y IN " + anidada + " ORDER BY z";
    testsupport::OnSmallStack([&] {
        sql.Sentencia(sentencia);
        sql.Ordenar("w");
    });
    EXPECT_EQ(sql.Condiciones(), "y IN " + anidada);
    EXPECT_EQ(sql.Sentencia(), "SELECT x FROM t WHERE y IN " + anidada + " ORDER BY w");
}

TEST_F(SentenciaSQL, UnaClausulaNuevaRecomponeLaSentencia) {
    struct Caso {
        const char* sentencia;
        std::function<void(clsSQL&)> cambio;
        const char* resultado;
    };
    const Caso casos[] = {
        {"SELECT Nombre, Ciudad FROM Clientes WHERE Activo = 1 ORDER BY Nombre",
         [](clsSQL& s) { s.Condiciones("Activo = 1 AND Ciudad = 'Madrid'"); },
         "SELECT Nombre, Ciudad FROM Clientes WHERE Activo = 1 AND Ciudad = 'Madrid' ORDER BY Nombre"},
        {"PARAMETERS Desde DateTime; SELECT * FROM Pedidos WHERE Fecha >= Desde", [](clsSQL& s) { s.Ordenar(""); },
         "PARAMETERS Desde DateTime; SELECT * FROM Pedidos WHERE Fecha >= Desde"},
        {"UPDATE Clientes SET Activo = 0 WHERE Baja = 1", [](clsSQL& s) { s.Agrupar(""); },
         "UPDATE Clientes SET Activo = 0 WHERE Baja = 1"},
        {"SELECT a FROM t", [](clsSQL& s) { s.Parametros("x Long"); }, "PARAMETERS x Long; SELECT a FROM t"},
        {"SELECT a FROM t", [](clsSQL& s) { s.Parametros("x Long; "); }, "PARAMETERS x Long; SELECT a FROM t"},
        {"SELECT a FROM t ORDER BY a", [](clsSQL& s) { s.Desde(""); s.Agrupar("a"); }, "SELECT a GROUP BY a ORDER BY a"},
        {"SELECT a FROM t", [](clsSQL& s) { s.Ejecutar("INSERT INTO d (a) "); }, "INSERT INTO d (a) SELECT a FROM t"},
        {"SELECT a FROM t", [](clsSQL& s) { s.Seleccion(""); s.Desde(""); }, ""},
        // A statement without a lead text does not inherit the one of the statement before.
        {"INSERT INTO Destino (a) SELECT a FROM Origen",
         [](clsSQL& s) { s.Sentencia("SELECT b FROM u"); s.Condiciones("x = 1"); }, "SELECT b FROM u WHERE x = 1"},
        {"PARAMETERS p Long; SELECT a FROM t",
         [](clsSQL& s) { s.Sentencia("SELECT b FROM u"); s.Condiciones("x = 1"); }, "SELECT b FROM u WHERE x = 1"},
        {"INSERT INTO d PARAMETERS p Long; SELECT a FROM t",
         [](clsSQL& s) { s.Sentencia("PARAMETERS q Text; SELECT b FROM u"); s.Condiciones("x = 1"); },
         "PARAMETERS q Text; SELECT b FROM u WHERE x = 1"},
    };
    for (const Caso& caso : casos) {
        sql.Sentencia(caso.sentencia);
        caso.cambio(sql);
        EXPECT_EQ(sql.Sentencia(), caso.resultado) << caso.sentencia;
    }
}

TEST_F(SentenciaSQL, ElEventoPuedeReescribirOCancelar) {
    sql.Tipo(TipoANSI);  // stored, and no part of either direction
    oyente.reescribir = [](const std::string& s) { return s + " WHERE b = 2"; };
    sql.Sentencia("SELECT c FROM u");
    EXPECT_EQ(sql.Sentencia(), "SELECT c FROM u WHERE b = 2");
    EXPECT_EQ(sql.Condiciones(), "b = 2");

    oyente.reescribir = nullptr;
    oyente.cancelar = true;
    sql.Sentencia("SELECT z FROM zz");
    sql.Sentencia("");
    sql.Condiciones("b = 3");  // the clause keeps its value, the statement does not change
    EXPECT_EQ(sql.Sentencia(), "SELECT c FROM u WHERE b = 2");
    EXPECT_EQ(Partes(sql), "||c|u|b = 3||");

    oyente.cancelar = false;
    oyente.vistos.clear();
    sql.Condiciones("b = 3");  // the same text is offered again
    sql.Sentencia("");
    EXPECT_EQ(oyente.vistos, (std::vector<std::string>{"SELECT c FROM u WHERE b = 2 -> SELECT c FROM u WHERE b = 3",
                                                        "SELECT c FROM u WHERE b = 3 -> "}));
    EXPECT_EQ(sql.Sentencia() + Partes(sql), "||||||");
    EXPECT_EQ(sql.Tipo(), TipoANSI);
}

TEST_F(SentenciaSQL, LosFallosSeInformanConElNombreDelMetodoPrivado) {
    {
        pruebas::FabricaQueFalla fabrica("WHERE");
        sql.Sentencia("SELECT a FROM t WHERE b ORDER BY c");
        EXPECT_EQ(fabrica.creadas, 1);  // one utility for the whole statement
    }
    EXPECT_EQ(sql.Ordenar(), "c");  // what the steps before the failure wrote

    oyente.reescribir = [](const std::string&) -> std::string { throw std::runtime_error("manejador roto"); };
    sql.Condiciones("b = 1");
    EXPECT_EQ(Informados(), (std::vector<std::string>{"clsSQL.DescomponerSQL 5", "clsSQL.RecomponerSQL -2147467259"}));
    EXPECT_EQ(sql.Sentencia(), "SELECT a FROM t WHERE b ORDER BY c");
}

}  // namespace
