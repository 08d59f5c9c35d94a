// The dialog control of a program nobody sits at: the answer that changes nothing, and a
// trace of every dialog on a stream and in the error manager's log.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "quimera/ControlSinUsuario.h"
#include "quimera/editing/Mundo.h"
#include "support/TempDir.h"

namespace {

using namespace quimera;
using pruebas::Mundo;

class SinUsuario : public pruebas::EntornoQuimera {
protected:
    SinUsuario() {
        ui::InstalarFabricaControlDialogo(
            [this] { return std::make_shared<ui::ControlSinUsuario>(salida, carpeta.path().string()); });
    }
    std::ostringstream salida;
    testsupport::TempDir carpeta;
};

TEST_F(SinUsuario, ContestaLoQueNoCambiaNada) {
    struct Caso {
        std::array<int32_t, 3> botones;
        int32_t numDefecto, numRespuesta;
        std::string rotulo;
    };
    const Caso casos[] = {
        {{BotonSi, BotonNo, BotonNinguno}, BotonSi, BotonNo, "No"},
        {{BotonReintentar, BotonCancelar, BotonNinguno}, BotonReintentar, BotonCancelar, "Cancelar"},
        {{BotonReintentar, BotonIgnorar, BotonAnular}, BotonReintentar, BotonAnular, "Anular"},
        {{BotonAyuda, BotonCerrar, BotonNinguno}, BotonAyuda, BotonCerrar, "Cerrar"},
        {{BotonSi, BotonAceptar, BotonNinguno}, BotonSi, BotonAceptar, "Aceptar"},
        {{BotonPropio1, (BotonPropio1 + 1), BotonNinguno}, (BotonPropio1 + 1), (BotonPropio1 + 1), "Dos"},
        {{BotonPropio1, (BotonPropio1 + 1), BotonNinguno}, BotonAceptar, BotonPropio1, "Uno"},
        {{BotonNinguno, BotonNinguno, BotonNinguno}, BotonAceptar, BotonCancelar, "cerrar"},
    };
    std::string esperado;
    for (const Caso& c : casos) {
        ParametrosDialogo p{.pObjRegional = pruebas::Regional("es_ES"), .strTitulo = "T", .strInstruccion = "I",
                            .strContenido = "C"};
        std::tie(p.numBoton1, p.numBoton2, p.numBoton3) = std::tuple_cat(c.botones);
        p.numBotonDefecto = c.numDefecto;
        p.strBotonPropio1 = "Uno";
        p.strBotonPropio2 = "Dos";
        EXPECT_EQ(MostrarDialogoMensaje(p), c.numRespuesta) << c.rotulo;
        esperado += "quimera: diálogo sin usuario: T | I | C | respuesta: " + c.rotulo + "\n";
    }
    EXPECT_EQ(salida.str(), esperado);
    ASSERT_EQ(registro.informes.size(), std::size(casos));
    const pruebas::Informe& informe = registro.informes.front();
    EXPECT_EQ(informe.strProyecto + " " + informe.strClase + "." + informe.strMetodo + " " +
                  std::to_string(informe.numError) + " " + informe.strDescripcion,
              "Quimera ControlSinUsuario.MostrarDialogoMensaje 0 T | I | C | respuesta: No");
    EXPECT_EQ(registro.inicializaciones.back(), "Quimera|" + carpeta.path().string());
}

// Borrar's own question is answered "No": the record stays.
TEST_F(SinUsuario, BorrarNoBorraSinQueNadieLoDiga) {
    Mundo m;
    pruebas::Rs rs = m.Clientes();
    EXPECT_FALSE(m.acceso.Borrar(rs));
    EXPECT_EQ(testsupport::Scalar(m.cn, "SELECT COUNT(*) FROM Clientes").ToString(), "3");
    EXPECT_EQ(salida.str(),
              "quimera: diálogo sin usuario: Confirmación de borrado | Eliminar registro | Está a punto de eliminar "
              "los datos del registro actual. Esta acción no podrá deshacerse ¿Quiere continuar? | respuesta: No\n");
}

// With the default error manager the trace is a line of its log.
TEST_F(SinUsuario, ElRastroQuedaEnElRegistro) {
    centinela::InstalarFabricaGestorErrores({});
    ParametrosDialogo p{.pObjRegional = pruebas::Regional("es_ES"), .strTitulo = "Aviso", .strInstruccion = "Clave",
                        .strContenido = "Password=secreta; ya"};
    EXPECT_EQ(MostrarDialogoMensaje(p), BotonAceptar);
    std::ifstream registroArchivo(carpeta.path() / centinela::ArchivoRegistro);
    std::string linea;
    ASSERT_TRUE(std::getline(registroArchivo, linea));
    EXPECT_EQ(linea.substr(linea.find('\t') + 1),
              "Quimera\tControlSinUsuario\tMostrarDialogoMensaje\t0\tAviso | Clave | Password=***; ya | respuesta: "
              "Aceptar\tQuimera");
    EXPECT_FALSE(std::getline(registroArchivo, linea));
}

}  // namespace
