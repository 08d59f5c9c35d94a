// The step runner: the error manager's decisions, ADO errors pending on the method's
// connection, a method's own failure path, and how failures are read.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <stdexcept>

#include "quimera/apoyo/EntornoQuimera.h"
#include "quimera/frame/Procedimiento.h"

namespace {

using namespace quimera;
using frame::Procedimiento;

class Pasos : public pruebas::EntornoQuimera {
protected:
    // A method of three steps whose second fails `fallos` times; returns what it held.
    int Metodo(int fallos, int& intentos) {
        int resultado = 0;
        Procedimiento p(acceso, "Metodo");
        p.paso([&] { resultado = 1; })
            && p.paso([&] { if (++intentos <= fallos) throw ado::Error(3021, "Sin registro", "Proveedor"); })
            && p.paso([&] { resultado = 3; });
        return resultado;
    }

    clsAccesoDatos acceso;
};

TEST_F(Pasos, LaDecisionDelGestorSigueRepiteOAbandona) {
    struct Caso {
        int fallos;
        std::deque<int32_t> decisiones;
        int intentos, resultado;
    };
    const Caso casos[] = {
        {1, {2}, 1, 3},           // go on past the failed step
        {1, {3}, 2, 3},           // run it again: it works the second time
        {1, {1}, 1, 1},           // abandon with what the method held
        {1, {0}, 1, 1},           // any other decision abandons
        {INT_MAX, {3, 3, 3, 1}, 4, 1},  // 3 keeps asking until another decision comes
        {INT_MAX, {3, 3, 2}, 3, 3},
    };
    for (const Caso& caso : casos) {
        registro.informes.clear();
        registro.decisiones = caso.decisiones;
        int intentos = 0;
        EXPECT_EQ(Metodo(caso.fallos, intentos), caso.resultado);
        EXPECT_EQ(intentos, caso.intentos);
        EXPECT_EQ(registro.informes.size(), caso.decisiones.size());
    }
    // The report carries each argument in its order.
    const pruebas::Informe& i = registro.informes.at(0);
    EXPECT_EQ(std::tie(i.strProyecto, i.strClase, i.strMetodo, i.numError, i.strDescripcion, i.strOrigen),
              std::make_tuple("Quimera", "clsAccesoDatos", "Metodo", 3021, "Sin registro", "Proveedor"));
    EXPECT_EQ(std::tie(i.strDato1, i.strDato2, i.strDato3, i.numDato, i.numIdioma, i.strDato4),
              std::make_tuple("Desconocido", "Desconocido", "Desconocido", 0, babelia::IdiomaEspanol, ""));
}

TEST_F(Pasos, CadaExcepcionSeLeeComoUnFallo) {
    const std::pair<std::function<void()>, frame::Fallo> casos[] = {
        {[] { throw ado::Error(3265, "No encontrado", "ADODB.Fields"); }, {3265, "No encontrado", "ADODB.Fields"}},
        {[] { throw std::runtime_error("roto"); }, {ado::err::Fail, "roto", "Quimera"}},
        {[] { throw std::bad_alloc(); }, {7, "Memoria insuficiente", "Quimera"}},
        {[] { throw 42; }, {ado::err::Fail, "Error no especificado", "Quimera"}},
    };
    for (const auto& [lanzar, esperado] : casos) {
        frame::Fallo f;
        try {
            lanzar();
        } catch (...) {
            f = frame::LeerFallo(std::current_exception());
        }
        EXPECT_EQ(std::tie(f.numError, f.strDescripcion, f.strOrigen),
                  std::tie(esperado.numError, esperado.strDescripcion, esperado.strOrigen));
    }
}

TEST_F(Pasos, UnPasoQueSeNiegaSaleSinInformar) {
    int pasos = 0;
    Procedimiento p(acceso, "Metodo");
    p.paso([&] { ++pasos; return false; }) && p.paso([&] { ++pasos; });
    EXPECT_FALSE(p.paso([&] { ++pasos; }));  // once left, nothing more runs
    EXPECT_EQ(pasos, 1);
    EXPECT_TRUE(registro.informes.empty());
}

TEST_F(Pasos, ElCaminoPropioDeUnMetodo) {
    struct Avisos : clsAccesoDatosEventos {
        void ErroresADO(ado::Errors& colErrores) override { cuentas.push_back(colErrores.Count()); }
        std::vector<int32_t> cuentas;
    } avisos;
    acceso.ConectarEventos(avisos);
    testsupport::EmbeddedDb db;
    ado::ConnectionPtr cn = db.Connect();
    struct Reconocido {
        int32_t numError;
        const char* strAccion;
    };
    static constexpr std::array<Reconocido, 1> kReconocidos{{{-2147217865, "tabla"}}};  // DB_E_NOTABLE
    struct Caso {
        bool blnTabla, blnErroresADO, blnForzar;
        std::vector<std::string> sucesos;
        size_t dialogos;
        bool blnFueraDeLista = false;  // in the table, but not among the numbers that go on past ADO errors
    };
    const Caso casos[] = {
        {true, true, true, {"fallo", "tabla"}, 0},            // recognised: no report
        {true, false, true, {"fallo", "tabla"}, 0},
        {false, true, true, {"fallo", "tras informe 1"}, 1},  // report, then the method's rule
        {false, true, false, {"fallo", "tras informe 1"}, 0}, // not forced: MostrarMensajes (false) rules
        {false, false, true, {"fallo", "abandono"}, 0},       // the error manager abandons
        {true, true, true, {"fallo", "tras informe 1"}, 1, true},  // with ADO errors: the report
        {true, false, true, {"fallo", "tabla"}, 0, true},          // without: the method's own message
    };
    for (const Caso& caso : casos) {
        std::vector<std::string> sucesos;
        const size_t dialogos = Dialogos().size();
        Procedimiento p(acceso, "Metodo", cn);
        p.ForzarInforme(caso.blnForzar);
        p.AlFallar([&](const frame::Fallo&) { sucesos.push_back("fallo"); })
            .TrasInformeADO([&](const frame::Fallo&) {
                sucesos.push_back("tras informe " + std::to_string(cn->Errors().Count()));
            })
            .AlAbandonar([&](const frame::Fallo&) { sucesos.push_back("abandono"); });
        if (caso.blnTabla)
            p.Reconocer(kReconocidos,
                        [&](const Reconocido& r, const frame::Fallo&) { sucesos.push_back(r.strAccion); });
        if (caso.blnFueraDeLista) p.ReconocerConErroresADO({});
        p.paso([&] {
            if (caso.blnErroresADO) cn->Execute("SELECT * FROM NoExiste");  // the provider fails, in Errors too
            throw ado::Error(kReconocidos[0].numError, "No existe la tabla");
        });
        EXPECT_EQ(sucesos, caso.sucesos);
        EXPECT_EQ(Dialogos().size() - dialogos, caso.dialogos);
        EXPECT_EQ(cn->Errors().Count(), 0);
        EXPECT_TRUE(p.Salido());
    }
    // ADO errors pending are published whether recognised or not, without asking the error manager.
    EXPECT_EQ(avisos.cuentas, (std::vector<int32_t>{1, 1, 1, 1}));
    EXPECT_EQ(Informados(), std::vector<std::string>{"clsAccesoDatos.Metodo -2147217865"});
}

}  // namespace
