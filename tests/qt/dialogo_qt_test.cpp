// The Qt dialog under a real X server (Xvfb): one dialog per icon through the library's
// routine, its button pressed through Qt's test API while it is open, and the answer and
// what the window showed checked.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <functional>

#include "quimera/ControlQt.h"
#include "quimera/MostrarDialogoMensaje.h"

// Qt and the X libraries keep a few allocations for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libQt6\nleak:libX11\nleak:libxcb\nleak:libfontconfig\nleak:libglib\nleak:libdbus\n";
}

namespace {

// One application for the program, left to the end of the process: Qt's own statics go
// before a static QApplication would.
QApplication& Aplicacion() {
    static int argc = 1;
    static char nombre[] = "dialogo_qt_test";
    static char* argv[] = {nombre, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// The routine's parameters with a Spanish regional object.
quimera::ParametrosDialogo Parametros() {
    quimera::ParametrosDialogo p;
    p.pObjRegional = babelia::CrearRegionalPredeterminado("es");
    return p;
}

// Runs `accion` on the dialog once it is shown, while MostrarDialogoMensaje waits in it.
int32_t Mostrar(quimera::ParametrosDialogo& p, const std::function<void(QWidget&)>& accion) {
    QTimer espera;
    QObject::connect(&espera, &QTimer::timeout, [&] {
        QWidget* dialogo = QApplication::activeModalWidget();
        if (!dialogo || !dialogo->isVisible()) return;
        espera.stop();
        accion(*dialogo);
    });
    espera.start(10);
    return quimera::MostrarDialogoMensaje(p);
}

std::string Texto(QWidget& d, const char* nombre) {
    auto* etiqueta = d.findChild<QLabel*>(nombre);
    return etiqueta && etiqueta->isVisible() ? etiqueta->text().toStdString() : "(oculto)";
}

std::string Botones(QWidget& d) {
    std::string s;
    for (auto* b : d.findChildren<QPushButton*>())
        if (b->objectName().startsWith("boton"))
            s += b->text().toStdString() + (b->isDefault() ? "*" : "") + " ";
    return s;
}

class DialogoQt : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Aplicacion();
        ASSERT_TRUE(ui::ControlQtDisponible());
        ui::InstalarFabricaControlDialogo(ui::CrearControlQt);
    }
    static void TearDownTestSuite() { ui::InstalarFabricaControlDialogo({}); }
};

TEST_F(DialogoQt, UnDialogoPorIconoContestaElBotonPulsado) {
    struct Caso {
        int32_t icono;
        QStyle::StandardPixmap esperado;
        int32_t boton1, boton2, defecto, pulsar;
        const char* botones;
    };
    const Caso casos[] = {
        {quimera::IconoInformacion, QStyle::SP_MessageBoxInformation, 101, 100, 101, 101, "Aceptar* "},
        {quimera::IconoAdvertencia, QStyle::SP_MessageBoxWarning, 103, 104, 104, 104, "Sí No* "},
        {quimera::IconoError, QStyle::SP_MessageBoxCritical, 105, 102, 105, 102, "Reintentar* Cancelar "},
    };
    for (const Caso& c : casos) {
        quimera::ParametrosDialogo p = Parametros();
        p.strTitulo = "Advertencia";
        p.strInstruccion = "Eliminar registro";
        p.strContenido = "¿Desea eliminar el registro?";
        p.numIcono = c.icono;
        p.numBoton1 = c.boton1;
        p.numBoton2 = c.boton2;
        p.numBotonDefecto = c.defecto;
        std::string visto;
        bool mismoIcono = false;
        const int32_t respuesta = Mostrar(p, [&](QWidget& d) {
            visto = d.windowTitle().toStdString() + " | " + Texto(d, "instruccion") + " | " + Texto(d, "contenido") +
                    " | " + Botones(d) + "| " + Texto(d, "pie");
            const QPixmap esperado = QApplication::style()->standardIcon(c.esperado).pixmap(32, 32);
            mismoIcono = d.findChild<QLabel*>("icono")->pixmap().toImage() == esperado.toImage();
            QTest::mouseClick(d.findChild<QPushButton*>(QString("boton%1").arg(c.pulsar)), Qt::LeftButton);
        });
        EXPECT_EQ(respuesta, c.pulsar) << c.botones;
        EXPECT_EQ(visto, std::string("Advertencia | Eliminar registro | ¿Desea eliminar el registro? | ") + c.botones +
                             "| (oculto)");
        EXPECT_TRUE(mismoIcono) << "icon " << c.icono;
    }
}

TEST_F(DialogoQt, CasillaDetallePieYCierreSinBoton) {
    quimera::ParametrosDialogo p = Parametros();
    p.strTitulo = "Información";
    p.strContenido = "Hecho";
    p.numBoton1 = quimera::BotonAceptar;
    p.numBoton2 = quimera::BotonCancelar;  // a Cancel button lets Escape close the dialog
    p.strInformacionDetallada = "Tres filas";
    p.strPie = "Pie del diálogo";
    p.numIconoPie = quimera::IconoAdvertencia;
    p.strTextoCasilla = "No volver a mostrar";
    std::string antes, despues;
    const int32_t respuesta = Mostrar(p, [&](QWidget& d) {
        auto* expansor = d.findChild<QPushButton*>("expansor");
        antes = expansor->text().toStdString() + " / " + Texto(d, "detalle") + " / " + Texto(d, "pie");
        QTest::mouseClick(expansor, Qt::LeftButton);
        despues = expansor->text().toStdString() + " / " + Texto(d, "detalle");
        QTest::mouseClick(d.findChild<QCheckBox*>("casilla"), Qt::LeftButton);
        QTest::keyClick(&d, Qt::Key_Escape);
    });
    EXPECT_EQ(respuesta, quimera::BotonCancelar) << "closed without a button";
    EXPECT_TRUE(p.blnCasilla);
    EXPECT_EQ(antes, "Mostrar información detallada / (oculto) / Pie del diálogo");
    EXPECT_EQ(despues, "Ocultar información detallada / Tres filas");

    // Without a Cancel button, Escape does nothing: only a button closes it.
    quimera::ParametrosDialogo q = Parametros();
    q.strContenido = "Sin cancelar";
    const int32_t aceptado = Mostrar(q, [&](QWidget& d) {
        QTest::keyClick(&d, Qt::Key_Escape);
        const bool abierto = d.isVisible();
        QTest::mouseClick(d.findChild<QPushButton*>("boton101"), Qt::LeftButton);
        EXPECT_TRUE(abierto);
    });
    EXPECT_EQ(aceptado, quimera::BotonAceptar);
}

}  // namespace
