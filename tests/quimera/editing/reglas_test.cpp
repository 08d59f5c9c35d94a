// Failures the editing members do not recognise: with ADO errors pending the forced report
// is shown and the last entry of Errors decides whether the pending change is cancelled;
// without them the error manager decides, and leaving cancels the pending edit.
#include <gtest/gtest.h>

#include "quimera/editing/Mundo.h"

namespace {

using namespace pruebas;

class ReglasEdicion : public EntornoQuimera {};

TEST_F(ReglasEdicion, ElUltimoErrorADODecideSiSeCancelaElCambio) {
    const struct {
        Miembro miembro;  // on the customers, edited for Actualizar
        const char* evento;
        const char* sql;  // fails and stays in Errors, caught inside the handler
        int modo;
    } casos[] = {
        {Editar, "DespuesEditar", kSinNombre, 0},
        {Editar, "DespuesEditar", kMalEscrita, 1},
        {Agregar, "DespuesAgregar", kSinNombre, 0},
        {Agregar, "DespuesAgregar", kMalEscrita, 2},
        {Actualizar, "AntesActualizar", "INSERT INTO Clientes VALUES ('A', 'x', 'y')", 0},
        {Actualizar, "AntesActualizar", kSinNombre, 1},
    };
    for (const auto& caso : casos) {
        Mundo m;
        Rs rs = caso.miembro == Actualizar ? m.Editado() : m.Clientes();
        m.En(caso.evento, caso.sql, true);
        m.sucesos.accion = [&, previa = m.sucesos.accion](const std::string& e) {
            previa(e);
            if (e.rfind(caso.evento, 0) == 0) rs->Fields()["NoExiste"];  // a number nobody recognises: 3265
        };
        const size_t antes = Dialogos().size();
        EXPECT_FALSE(caso.miembro(m, rs)) << caso.sql;
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
    EXPECT_EQ(Informados(), std::vector<std::string>{"clsAccesoDatos.Editar 3265"});
    registro.decisiones = {centinela::DecisionContinuar};
    EXPECT_TRUE(m.acceso.Editar(rs)) << "going on past the failed event reaches the result";
    EXPECT_EQ(Modo(rs), 1);
}

}  // namespace
