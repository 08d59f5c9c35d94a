// Failures the editing members do not recognise: with ADO errors pending the forced report
// is shown and the last entry of Errors decides whether the pending change is cancelled;
// without them the error manager decides, and leaving cancels the pending edit.
#include <gtest/gtest.h>

#include "quimera/editing/BaseEdicion.h"

namespace {

using namespace pruebas;

class ReglasEdicion : public BaseEdicion {};

TEST_F(ReglasEdicion, ElUltimoErrorADODecideSiSeCancelaElCambio) {
    const auto editar = [](Mundo& m, Rs& rs) { return m.acceso.Editar(rs = m.Clientes()); };
    const auto agregar = [](Mundo& m, Rs& rs) { return m.acceso.Agregar(rs = m.Clientes()); };
    const auto actualizar = [](Mundo& m, Rs& rs) { return m.acceso.Actualizar(rs = m.Editado()); };
    const struct {
        std::function<bool(Mundo&, Rs&)> ejecutar;
        const char* evento;
        const char* sql;  // fails and stays in Errors, caught inside the handler
        int modo;
    } casos[] = {
        {editar, "DespuesEditar", kSinNombre, 0},
        {editar, "DespuesEditar", kMalEscrita, 1},
        {agregar, "DespuesAgregar", kSinNombre, 0},
        {agregar, "DespuesAgregar", kMalEscrita, 2},
        {actualizar, "AntesActualizar", "INSERT INTO Clientes VALUES ('A', 'x', 'y')", 0},
        {actualizar, "AntesActualizar", kSinNombre, 1},
    };
    for (const auto& caso : casos) {
        Mundo m;
        Rs rs;
        m.En(caso.evento, caso.sql, true);
        m.sucesos.accion = [&, previa = m.sucesos.accion](const std::string& e) {
            previa(e);
            if (e.rfind(caso.evento, 0) == 0) rs->Fields()["NoExiste"];  // a number nobody recognises: 3265
        };
        const size_t antes = Dialogos().size();
        EXPECT_FALSE(caso.ejecutar(m, rs)) << caso.sql;
        EXPECT_EQ(Modo(rs), caso.modo) << caso.evento << " / " << caso.sql;
        EXPECT_EQ(Dialogos().size(), antes + 1) << "the forced data-error report";
        EXPECT_EQ(Dialogos().back().strTitulo, "Error de acceso a datos");
    }
    EXPECT_TRUE(registro.informes.empty());
}

TEST_F(ReglasEdicion, SinErroresADODecideElGestorDeErrores) {
    Mundo m;
    Rs rs = m.Clientes();
    m.sucesos.accion = [&](const std::string& e) {
        if (e == "DespuesEditar") rs->Fields()["NoExiste"];
    };
    EXPECT_FALSE(m.acceso.Editar(rs));  // abandoned: the edit is cancelled
    EXPECT_EQ(Modo(rs), 0);
    ASSERT_EQ(registro.informes.size(), 1u);
    EXPECT_EQ(std::tie(registro.informes[0].strClase, registro.informes[0].strMetodo, registro.informes[0].numError),
              std::make_tuple("clsAccesoDatos", "Editar", 3265));
    registro.decisiones = {centinela::DecisionContinuar};
    EXPECT_TRUE(m.acceso.Editar(rs)) << "going on past the failed event reaches the result";
    EXPECT_EQ(Modo(rs), 1);
}

}  // namespace
