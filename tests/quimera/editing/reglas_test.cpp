// Failures the editing members do not recognise: with ADO errors pending the forced report
// is shown and the last entry of Errors decides whether the pending change is cancelled;
// without them the error manager decides, and leaving cancels the pending change.
#include <gtest/gtest.h>

#include "quimera/editing/BaseEdicion.h"

namespace {

using namespace pruebas;
using Rs = ado::RecordsetPtr;

class ReglasEdicion : public BaseEdicion {};

// A handler that leaves an engine failure in Errors (caught), then fails with a number no
// editing member recognises (a field that does not exist: 3265).
void FallaTras(Mundo& m, const std::string& strEvento, const char* strSQL, Rs& rs) {
    m.En(strEvento, [&m, strSQL, &rs] {
        try {
            m.cn->Execute(strSQL);
        } catch (const ado::Error&) {
        }
        rs->Fields()["NoExiste"];
    });
}

TEST_F(ReglasEdicion, ElUltimoErrorADODecideSiSeCancelaElCambio) {
    const auto editar = [](Mundo& m, Rs& rs) { return m.acceso.Editar(rs = m.Clientes()); };
    const auto agregar = [](Mundo& m, Rs& rs) { return m.acceso.Agregar(rs = m.Clientes()); };
    const auto actualizar = [](Mundo& m, Rs& rs) {
        rs = m.Clientes();
        rs->Fields()["Ciudad"].Value("Lugo");
        return m.acceso.Actualizar(rs);
    };
    const std::string duplicado = "INSERT INTO Clientes VALUES ('A', 'x', 'y')";
    struct Caso {
        std::function<bool(Mundo&, Rs&)> ejecutar;
        std::string evento;
        std::string sql;
        int modo;
    } casos[] = {
        {editar, "DespuesEditar", kSinNombre, 0},      {editar, "DespuesEditar", kMalEscrita, 1},
        {agregar, "DespuesAgregar", kSinNombre, 0},    {agregar, "DespuesAgregar", kMalEscrita, 2},
        {actualizar, "AntesActualizar", duplicado, 0}, {actualizar, "AntesActualizar", kSinNombre, 1},
    };
    for (const Caso& caso : casos) {
        Mundo m;
        Rs rs;
        FallaTras(m, caso.evento, caso.sql.c_str(), rs);
        const size_t antes = Dialogos().size();
        EXPECT_FALSE(caso.ejecutar(m, rs)) << caso.evento << " / " << caso.sql;
        EXPECT_EQ(Modo(rs), caso.modo) << caso.evento << " / " << caso.sql;
        EXPECT_EQ(Dialogos().size(), antes + 1) << "the forced data-error report";
        EXPECT_EQ(Dialogos().back().strTitulo, "Error de acceso a datos");
        EXPECT_EQ(m.cn->Errors().Count(), 0);
    }
    EXPECT_TRUE(registro.informes.empty());
}

TEST_F(ReglasEdicion, SinErroresADODecideElGestorDeErrores) {
    Mundo m;
    Rs rs = m.Clientes();
    m.En("DespuesEditar", [&] { rs->Fields()["NoExiste"]; });
    EXPECT_FALSE(m.acceso.Editar(rs));  // abandoned: the edit is cancelled
    EXPECT_EQ(Modo(rs), 0);
    ASSERT_EQ(registro.informes.size(), 1u);
    EXPECT_EQ(std::tie(registro.informes[0].strClase, registro.informes[0].strMetodo, registro.informes[0].numError),
              std::make_tuple("clsAccesoDatos", "Editar", 3265));

    registro.decisiones = {centinela::DecisionContinuar};
    EXPECT_TRUE(m.acceso.Editar(rs)) << "going on past the failed event reaches the result";
    EXPECT_EQ(Modo(rs), 1);
    EXPECT_EQ(m.sucesos.Lista(), "AntesEditar, DespuesEditar, ErrorEditar 3265, AntesEditar, DespuesEditar, "
                                 "ErrorEditar 3265");
}

}  // namespace
