// Counters of clsDatosAvanzado on a real file: the values and ValidarContador events of each
// way, the overflow, the table Contadores, and two processes drawing numbers from one file.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <set>

#include <fmt/format.h>

#include "quimera/dataservices/Almacen.h"

namespace {

using namespace pruebas;
using ado::Variant;
using V = std::vector<std::string>;

class Contador : public EntornoQuimera {
protected:
    Contador() {
        for (const char* sql : {"CREATE TABLE Facturas (Numero LONG, Serie TEXT(1), Codigo LONG)",
                                "CREATE TABLE Albaranes (Codigo LONG)",
                                "CREATE TABLE Dispensador (Id LONG PRIMARY KEY, Ultimo LONG)",
                                "CREATE TABLE Contadores (numIdContador LONG PRIMARY KEY, strCampo TEXT(50), "
                                "numContador LONG)"})
            a.cn->Execute(sql);
    }
    V& Avisos() { return a.contadores.avisos; }
    Almacen a;
};

TEST_F(Contador, ObtenerContadorEsElMayorMasUno) {
    EXPECT_EQ(a.datos.ObtenerContador("Facturas", "Numero", a.cn), 1);
    EXPECT_EQ(a.datos.ObtenerContador("Facturas", "Numero", a.cn, "", 0), 1);
    EXPECT_EQ(a.datos.ObtenerContador("Facturas", "Numero", a.cn, "", -5), 1);
    EXPECT_EQ(a.datos.ObtenerContador("Facturas", "Numero", a.cn, "", 1000), 1000);
    EXPECT_EQ(Avisos(), (V{"0 1", "0 1", "0 1", "999 1000"}));
    Avisos().clear();
    for (const char* sql : {"INSERT INTO Facturas VALUES (1, 'A', NULL)", "INSERT INTO Facturas VALUES (2, 'A', NULL)",
                            "INSERT INTO Facturas VALUES (7, 'B', NULL)"})
        a.cn->Execute(sql);
    EXPECT_EQ(a.datos.ObtenerContador("Facturas", "Numero", a.cn), 8);
    EXPECT_EQ(a.datos.ObtenerContador("Facturas", "Numero", a.cn, "", 1000), 8) << "the first value counts only at 0";
    EXPECT_EQ(a.datos.ObtenerContador("Facturas", "Numero", a.cn, "Serie = 'A'"), 3);
    EXPECT_EQ(Avisos(), (V{"7 8", "7 8", "2 3"}));
    a.contadores.numForzado = 500;
    EXPECT_EQ(a.datos.ObtenerContador("Facturas", "Numero", a.cn), 500);
    EXPECT_EQ(a.Valor("SELECT MAX(Numero) FROM Facturas"), Variant(7)) << "nothing is stored";
    // A negative highest value gives the first value, without event.
    a.cn->Execute("DELETE FROM Facturas");
    a.cn->Execute("INSERT INTO Facturas VALUES (-3, 'A', NULL)");
    Avisos().clear();
    EXPECT_EQ(a.datos.ObtenerContador("Facturas", "Numero", a.cn, "", 40), 40);
    EXPECT_TRUE(Avisos().empty());
    EXPECT_TRUE(Informados().empty());
}

// The lowest gap in one read, beyond the 16-bit candidates of a loop of searches: 40,000 rows
// with 35,000 missing give 35,000; conditions narrow the rows; a negative highest value gives
// 1 without event; no gap gives the highest plus one.
TEST_F(Contador, ObtenerContadorLibreDaElHuecoMasBajo) {
    EXPECT_EQ(a.datos.ObtenerContadorLibre("Facturas", "Numero", a.cn), 1);
    a.cn->Execute("INSERT INTO Facturas VALUES (-3, 'C', NULL)");
    EXPECT_EQ(a.datos.ObtenerContadorLibre("Facturas", "Numero", a.cn, "Serie = 'C'"), 1);
    EXPECT_EQ(Avisos(), (V{"0 1"})) << "the empty table raises the event; the negative highest does not";
    Avisos().clear();
    a.cn->BeginTrans();
    for (int i = 1; i <= 40000; ++i)
        if (i != 35000) a.cn->Execute(fmt::format("INSERT INTO Facturas VALUES ({}, 'A', NULL)", i));
    for (int n : {2, 3, 5, 9}) a.cn->Execute(fmt::format("INSERT INTO Facturas VALUES ({}, 'B', NULL)", n));
    a.cn->Execute("INSERT INTO Facturas VALUES (NULL, 'B', NULL)");
    a.cn->CommitTrans();
    EXPECT_EQ(a.datos.ObtenerContadorLibre("Facturas", "Numero", a.cn, "Serie = 'A'"), 35000);
    EXPECT_EQ(a.datos.ObtenerContadorLibre("Facturas", "Numero", a.cn, "Serie = 'B'"), 1);
    a.cn->Execute("INSERT INTO Facturas VALUES (1, 'B', NULL)");
    EXPECT_EQ(a.datos.ObtenerContadorLibre("Facturas", "Numero", a.cn, "Serie = 'B'"), 4);
    a.cn->Execute("INSERT INTO Facturas VALUES (4, 'B', NULL)");
    a.cn->Execute("DELETE FROM Facturas WHERE Serie = 'B' AND Numero = 9");
    EXPECT_EQ(a.datos.ObtenerContadorLibre("Facturas", "Numero", a.cn, "Serie = 'B'"), 6) << "no gap: highest + 1";
    a.contadores.numForzado = 77;
    EXPECT_EQ(a.datos.ObtenerContadorLibre("Facturas", "Numero", a.cn, "Serie = 'B'"), 77);
    EXPECT_EQ(Avisos(), (V{"40000 35000", "9 1", "9 4", "5 6", "5 6"}));
    EXPECT_TRUE(Informados().empty());
    // No table: the highest value's cursor and the method's own each fail with the engine's
    // message; no cursor gives 0.
    EXPECT_EQ(a.datos.ObtenerContadorLibre("NoHay", "Numero", a.cn), 0);
    const std::string sinTabla =
        "Error de acceso a datos | Error de acceso a datos en la clase: Quimera | Descripción: No se encuentra la "
        "tabla o consulta de entrada. (motor: no such table: NoHay). Origen: Microsoft JET Database Engine | 3";
    ASSERT_EQ(Dialogos().size(), 2u);
    for (const auto& d : Dialogos()) EXPECT_EQ(Texto(d), sinTabla);
    EXPECT_EQ(Avisos().size(), 5u) << "no event";
}

TEST_F(Contador, ElDesbordamientoDaCeroPorElCaminoDelFallo) {
    a.cn->Execute("INSERT INTO Facturas VALUES (2147483647, 'A', NULL)");
    a.cn->Execute("INSERT INTO Dispensador VALUES (1, 2147483647)");
    EXPECT_EQ(a.datos.ObtenerContador("Facturas", "Numero", a.cn), 0);
    EXPECT_EQ(a.datos.ObtenerContadorDispensador("Dispensador", "Ultimo", a.cn), 0);
    EXPECT_EQ(Informados(), (V{"clsDatosAvanzado.ObtenerContador 6", "clsDatosAvanzado.ObtenerContadorDispensador 6"}));
    EXPECT_TRUE(Avisos().empty());
    EXPECT_EQ(a.Valor("SELECT Ultimo FROM Dispensador"), Variant(2147483647));
}

TEST_F(Contador, ElDispensadorAvanzaYGuardaElValorDelManejador) {
    EXPECT_EQ(a.datos.ObtenerContadorDispensador("Dispensador", "Ultimo", a.cn), 0) << "no dispenser";
    EXPECT_EQ(a.Valor("SELECT COUNT(*) FROM Dispensador"), Variant(0)) << "none is created";
    a.cn->Execute("INSERT INTO Dispensador VALUES (1, NULL)");
    a.cn->Execute("INSERT INTO Dispensador VALUES (2, 70)");
    EXPECT_EQ(a.datos.ObtenerContadorDispensador("Dispensador", "Ultimo", a.cn, "Id = 1"), 1);
    EXPECT_EQ(a.datos.ObtenerContadorDispensador("Dispensador", "Ultimo", a.cn, "Id = 1"), 2);
    EXPECT_EQ(a.datos.ObtenerContadorDispensador("Dispensador", "Ultimo", a.cn, "Id = 2"), 71);
    a.contadores.numForzado = 500;
    EXPECT_EQ(a.datos.ObtenerContadorDispensador("Dispensador", "Ultimo", a.cn, "Id = 2"), 500);
    EXPECT_EQ(Avisos(), (V{"0 1", "1 2", "70 71", "71 72"}));
    EXPECT_EQ(testsupport::Scalar(a.Otro(), "SELECT Ultimo FROM Dispensador WHERE Id = 2"), Variant(500));
    EXPECT_EQ(testsupport::Scalar(a.Otro(), "SELECT Ultimo FROM Dispensador WHERE Id = 1"), Variant(2));
}

TEST_F(Contador, ElContadorExternoSeCreaUnaVezYSeCompartePorNombreDeCampo) {
    a.cn->Execute("INSERT INTO Facturas VALUES (1, 'A', 41)");
    a.cn->Execute("INSERT INTO Albaranes VALUES (90)");
    EXPECT_EQ(a.datos.ObtenerContadorExterno("Facturas", "Codigo", a.cn), 42);
    EXPECT_EQ(Avisos(), (V{"41 42", "0 1"})) << "the counter, then the new record's identifier";
    auto otro = a.Otro();
    EXPECT_EQ(testsupport::Scalar(otro, "SELECT numIdContador & '|' & strCampo & '|' & numContador FROM Contadores"),
              Variant("1|Codigo|42"));
    Avisos().clear();
    EXPECT_EQ(a.datos.ObtenerContadorExterno("Facturas", "Codigo", a.cn), 43);
    // Another table with a field of that name uses the same record, whatever its own values.
    EXPECT_EQ(a.datos.ObtenerContadorExterno("Albaranes", "Codigo", a.cn), 44);
    a.contadores.numForzado = 500;
    EXPECT_EQ(a.datos.ObtenerContadorExterno("Albaranes", "Codigo", a.cn), 500) << "returned, not stored";
    EXPECT_EQ(Avisos(), (V{"42 43", "43 44", "44 45"}));
    EXPECT_EQ(testsupport::Scalar(otro, "SELECT numContador FROM Contadores"), Variant(45));
    // A second field takes the lowest free identifier.
    a.contadores.numForzado.reset();
    a.cn->Execute("INSERT INTO Contadores VALUES (3, 'Otro', 5)");
    Avisos().clear();
    EXPECT_EQ(a.datos.ObtenerContadorExterno("Facturas", "Numero", a.cn), 2);
    EXPECT_EQ(Avisos(), (V{"1 2", "3 2"}));
    EXPECT_EQ(testsupport::Scalar(otro, "SELECT strCampo FROM Contadores WHERE numIdContador = 2"), Variant("Numero"));
    EXPECT_TRUE(Informados().empty());
}

TEST_F(Contador, UnNombreConApostrofoNoRompeNiCambiaLaSentencia) {
    for (const char* sql : {"INSERT INTO Contadores VALUES (1, 'Codigo', 10)",
                            "INSERT INTO Contadores VALUES (2, 'Cod''igo', 20)"})
        a.cn->Execute(sql);
    EXPECT_EQ(a.datos.ObtenerContadorExterno("Facturas", "Cod'igo", a.cn), 21);
    a.datos.ObtenerContadorExterno("Facturas", "x' OR strCampo <> '", a.cn);
    EXPECT_EQ(a.Valor("SELECT numContador FROM Contadores WHERE numIdContador = 1"), Variant(10));
    EXPECT_EQ(a.Valor("SELECT numContador FROM Contadores WHERE numIdContador = 2"), Variant(21));
}

TEST_F(Contador, UnContadorNuloOSinTablaDaCero) {
    a.cn->Execute("INSERT INTO Contadores VALUES (1, 'Codigo', NULL)");
    EXPECT_EQ(a.datos.ObtenerContadorExterno("Facturas", "Codigo", a.cn), 0);
    EXPECT_EQ(Informados(), V{"clsDatosAvanzado.ObtenerContadorExterno 94"});
    EXPECT_TRUE(Avisos().empty());
    a.cn->Execute("DROP TABLE Contadores");
    const size_t antes = Dialogos().size();
    EXPECT_EQ(a.datos.ObtenerContadorExterno("Facturas", "Codigo", a.cn), 0) << "the library never creates it";
    EXPECT_GT(Dialogos().size(), antes);
    EXPECT_EQ(a.Valor("SELECT COUNT(*) FROM sqlite_master WHERE name = 'Contadores'"), Variant(0));
}

// Two processes draw numbers from one file until each holds `cuantos` non-zero ones; the
// zeros (saves refused because the other held or changed the record) are counted.
struct Reparto {
    std::set<int32_t> numeros;
    size_t repetidos = 0;
    int64_t ceros = 0;
};

template <class Pedir>
Reparto Repartir(const Almacen& a, int cuantos, Pedir pedir) {
    const std::string salida[2] = {a.db.dir().file("p0.txt"), a.db.dir().file("p1.txt")};
    pid_t hijos[2];
    for (int i = 0; i < 2; ++i) {
        hijos[i] = ::fork();
        if (hijos[i] == 0) {
            int estado = 1;
            try {
                auto cn = a.db.Connect();  // waits for the file as long as a user's program does
                quimera::clsDatosAvanzado datos;
                std::ofstream f(salida[i]);
                int64_t ceros = 0;
                for (int obtenidos = 0; obtenidos < cuantos;) {
                    const int32_t n = pedir(datos, cn);
                    if (n == 0) {
                        ++ceros;
                        continue;
                    }
                    f << n << '\n';
                    ++obtenidos;
                }
                f << "ceros " << ceros << '\n';
                estado = 0;
            } catch (const std::exception& e) {
                std::fprintf(stderr, "process %d: %s\n", i, e.what());
            } catch (...) {
                std::fprintf(stderr, "process %d: unknown failure\n", i);
            }
            ::_exit(estado);
        }
    }
    Reparto r;
    for (int i = 0; i < 2; ++i) {
        int estado = 0;
        ::waitpid(hijos[i], &estado, 0);
        EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0) << "process " << i << " status " << estado;
        std::ifstream f(salida[i]);
        std::string palabra;
        while (f >> palabra) {
            if (palabra == "ceros") {
                int64_t n = 0;
                f >> n;
                r.ceros += n;
                continue;
            }
            if (!r.numeros.insert(std::stoi(palabra)).second) ++r.repetidos;
        }
    }
    return r;
}

TEST_F(Contador, DosProcesosNuncaRecibenElMismoNumeroDelDispensador) {
    a.cn->Execute("INSERT INTO Dispensador VALUES (1, 0)");
    const Reparto r = Repartir(a, 1000, [](quimera::clsDatosAvanzado& d, ado::ConnectionPtr& cn) {
        return d.ObtenerContadorDispensador("Dispensador", "Ultimo", cn, "Id = 1");
    });
    EXPECT_EQ(r.numeros.size(), 2000u);
    EXPECT_EQ(r.repetidos, 0u);
    EXPECT_EQ(a.Valor("SELECT Ultimo FROM Dispensador"), Variant(2000)) << "every number handed out once";
    RecordProperty("ceros", std::to_string(r.ceros));
    std::printf("dispenser: 2000 numbers, %lld zeros (refused saves)\n", static_cast<long long>(r.ceros));
}

TEST_F(Contador, DosProcesosNuncaRecibenElMismoNumeroDeContadores) {
    a.cn->Execute("INSERT INTO Contadores VALUES (1, 'Numero', 0)");
    const Reparto r = Repartir(a, 1000, [](quimera::clsDatosAvanzado& d, ado::ConnectionPtr& cn) {
        return d.ObtenerContadorExterno("Facturas", "Numero", cn);
    });
    EXPECT_EQ(r.numeros.size(), 2000u);
    EXPECT_EQ(r.repetidos, 0u);
    EXPECT_EQ(a.Valor("SELECT numContador FROM Contadores"), Variant(2000));
    RecordProperty("ceros", std::to_string(r.ceros));
    std::printf("Contadores: 2000 numbers, %lld zeros (refused saves)\n", static_cast<long long>(r.ceros));
}

}  // namespace
