// Field descriptors and their numbered, keyed collection.
#include <gtest/gtest.h>

#include "quimera/apoyo/EntornoQuimera.h"

namespace {

using namespace quimera;

class Campos : public pruebas::EntornoQuimera {
protected:
    // Adds n new descriptors and returns them.
    std::vector<clsCampoPtr> Agregar(int n) {
        std::vector<clsCampoPtr> nuevos;
        for (int i = 0; i < n; ++i) campos.Agregar(nuevos.emplace_back(std::make_shared<clsCampo>()));
        return nuevos;
    }
    std::vector<int32_t> Contadores() const {
        std::vector<int32_t> contadores;
        for (const clsCampoPtr& c : campos.Coleccion()->Elementos()) contadores.push_back(c->Contador());
        return contadores;
    }

    clsCampos campos;
};

TEST_F(Campos, ValoresInicialesDeUnDescriptor) {
    const clsCampo c;
    EXPECT_EQ(std::make_tuple(c.Visible(), c.FormatoEspecial(), c.ColorFondo(), c.ColorTexto()),
              std::make_tuple(true, dnFormatoPredeterminadoTipo, -1, -1));
    EXPECT_EQ(std::make_tuple(c.ConcatenadorAlias1(), c.ConcatenadorAlias2(), c.Id(), c.Descripcion()),
              std::make_tuple(" ", " ", "", ""));
    EXPECT_EQ(std::make_tuple(c.Contador(), c.TipoDato(), c.Negrita(), c.Preview(), c.OrdenAgrupacion()),
              std::make_tuple(0, dnTexto, false, false, 0));
}

TEST_F(Campos, AgregarNumeraYNombra) {
    const auto nuevos = Agregar(3);
    EXPECT_EQ(nuevos[0]->Id(), "Campos1");
    EXPECT_EQ(nuevos[2]->Id(), "Campos3");
    campos.Borrar(ado::Variant("CAMPOS3"));  // keys without regard to case
    Agregar(1);
    EXPECT_EQ(Contadores(), (std::vector<int32_t>{1, 2, 3}));
    campos.Borrar(ado::Variant(int32_t{2}));  // by position
    nuevos[0]->Contador(-7);                   // counted as at least 0
    Agregar(1);
    EXPECT_EQ(Contadores(), (std::vector<int32_t>{-7, 3, 4}));
    EXPECT_EQ(campos.Cuenta(), 3);
    EXPECT_EQ(campos.Objeto(ado::Variant("campos4"))->Id(), "Campos4");
    EXPECT_EQ(campos.Objeto(ado::Variant(int32_t{1})), nuevos[0]);
    campos.Limpiar();
    EXPECT_EQ(campos.Cuenta(), 0);
    EXPECT_EQ(Agregar(1)[0]->Id(), "Campos1");
}

TEST_F(Campos, ObjetoQueNoEstaInformaYDevuelveNada) {
    Agregar(1);
    for (const ado::Variant& clave : {ado::Variant("Campos9"), ado::Variant(int32_t{2}), ado::Variant(int32_t{0})})
        EXPECT_EQ(campos.Objeto(clave), nullptr);
    EXPECT_EQ(Informados(),
              (std::vector<std::string>{"clsCampos.Objeto 5", "clsCampos.Objeto 9", "clsCampos.Objeto 9"}));
}

TEST_F(Campos, FallosQueLleganAlCliente) {
    auto propia = std::make_shared<ColeccionCampos>();
    propia->Agregar(std::make_shared<clsCampo>(), "campos1");
    campos.Coleccion(propia);
    const std::pair<std::function<void()>, int32_t> casos[] = {
        {[&] { Agregar(1); }, 457},                                    // its key is taken
        {[&] { campos.Borrar(ado::Variant("Otro")); }, 5},
        {[&] { campos.Borrar(ado::Variant(int32_t{3})); }, 9},
        {[&] { campos.Limpiar(); }, 5},                                // the entry's Id is not its key
        {[&] { campos.Agregar(nullptr); }, 91},
        {[&] { campos.Coleccion(nullptr), campos.Agregar(std::make_shared<clsCampo>()); }, 91},
    };
    for (const auto& [accion, numError] : casos) EXPECT_EQ(testsupport::ErrorNumberOf(accion), numError);
    EXPECT_TRUE(registro.informes.empty());
    EXPECT_EQ(propia->Cuenta(), 1);
}

}  // namespace
