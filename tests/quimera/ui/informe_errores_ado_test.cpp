// The data-error report of clsAccesoDatos and clsDatosAvanzado through the ADO error
// publication: MostrarMensajes, the forced report, the order of the dialogs, translation.
#include <gtest/gtest.h>

#include <fmt/format.h>

#include "quimera/apoyo/EntornoQuimera.h"
#include "quimera/frame/Procedimiento.h"

namespace {

using namespace quimera;

class InformeErroresADO : public pruebas::EntornoQuimera {
protected:
    // Publishes three provider errors of a real connection through the object.
    template <class Clase>
    void Publicar(Clase& objeto, bool blnForzar) {
        for (int i = 1; i <= 3; ++i)
            cn->Errors().Append(ado::Error(3000 + i, "Fallo " + std::to_string(i), "Origen " + std::to_string(i)));
        frame::Procedimiento::PublicarErroresADO(objeto, *cn, blnForzar);
        EXPECT_EQ(cn->Errors().Count(), 0);
    }

    testsupport::EmbeddedDb db;
    ado::ConnectionPtr cn = db.Connect();
};

TEST_F(InformeErroresADO, MostrarMensajesYForzar) {
    struct Caso {
        bool blnMostrarMensajes, blnForzar;
        size_t dialogos;
    };
    const Caso casos[] = {{false, false, 0}, {true, false, 3}, {false, true, 3}, {true, true, 3}};
    for (const Caso& caso : casos) {
        clsAccesoDatos acceso;
        clsDatosAvanzado avanzado;
        acceso.MostrarMensajes(caso.blnMostrarMensajes);
        avanzado.MostrarMensajes(caso.blnMostrarMensajes);
        const size_t antes = Dialogos().size();
        Publicar(acceso, caso.blnForzar);
        Publicar(avanzado, caso.blnForzar);
        EXPECT_EQ(Dialogos().size() - antes, 2 * caso.dialogos);
    }
}

TEST_F(InformeErroresADO, UnDialogoPorErrorEnOrdenYSoloClsAccesoDatosTraduceLasPiezas) {
    struct Avisos : clsDatosAvanzadoEventos {
        void ErroresADO(ado::Errors& colErrores) override { cuenta = colErrores.Count(); }
        int32_t cuenta = 0;
    } avisos;
    clsAccesoDatos acceso;
    clsDatosAvanzado avanzado;
    acceso.InicializarPropiedades("/d", dnAccess, true, pruebas::Regional("en"));
    avanzado.InicializarPropiedades("/d", dnAccess, true, TipoJet, pruebas::Regional("en"));
    avanzado.ConectarEventos(avisos);
    Publicar(acceso, true);
    Publicar(avanzado, true);
    EXPECT_EQ(avisos.cuenta, 3);
    ASSERT_EQ(Dialogos().size(), 6u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Texto(Dialogos()[i]), fmt::format("Data access error | Data access error in class: Quimera | "
                                                    "Description: Fallo {0}. Source: Origen {0} | 3", i + 1));
        // Joined before translating, the pieces are no text of the catalogue; the title alone is.
        EXPECT_EQ(Texto(Dialogos()[3 + i]),
                  fmt::format("Data access error | Error de acceso a datos en la clase: Datos Avanzado | "
                              "Descripción: Fallo {0}. Origen: Origen {0} | 3", i + 1));
    }
    for (const ui::DialogoGrabado& d : Dialogos()) {
        EXPECT_EQ(d.botones, (std::vector<ui::DialogoGrabado::Boton>{{"OK", 101}}));
        EXPECT_EQ(d.numBotonPredeterminado, 101);
    }
    frame::Procedimiento::PublicarErroresADO(avanzado, *cn, true);  // nothing pending: nothing at all
    EXPECT_EQ(Dialogos().size(), 6u);
}

}  // namespace
