// The Qt 6 backend of the message dialog: a QDialog built from the recorded description.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "quimera/ControlGrabador.h"
#include "quimera/ControlQt.h"

namespace ui {

namespace {

QString Texto(const std::string& s) { return QString::fromStdString(s); }

// The standard icon of a control value; null for a value never set.
QIcon Icono(const std::optional<int32_t>& valor) {
    if (!valor) return {};
    switch (*valor) {
        case IconoControlAdvertencia: return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        case IconoControlError: return QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical);
        case IconoControlInformacion: return QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation);
        default: return {};
    }
}

QLabel* EtiquetaIcono(const std::optional<int32_t>& valor, int lado, const char* nombre) {
    auto* etiqueta = new QLabel;
    etiqueta->setObjectName(nombre);
    const QIcon icono = Icono(valor);
    if (!icono.isNull()) etiqueta->setPixmap(icono.pixmap(lado, lado));
    etiqueta->setVisible(!icono.isNull());
    return etiqueta;
}

// Closing without a button (Escape, the window's close button) only where the dialog allows it.
class Ventana final : public QDialog {
public:
    explicit Ventana(bool permitirCierre) : permitirCierre_(permitirCierre) {}
    int32_t respuesta = IdCierreSinBoton;

    void reject() override {
        if (permitirCierre_) QDialog::reject();
    }

private:
    bool permitirCierre_;
};

class ControlQt final : public ControlDescrito {
public:
    void Mostrar(EventosDialogo& eventos) override {
        const DialogoGrabado& d = actual_;
        Ventana ventana(d.blnCierreSinBoton || d.botones.empty());
        ventana.setObjectName("DialogoMensaje");
        ventana.setWindowTitle(Texto(d.strTitulo));
        ventana.setModal(true);
        auto* principal = new QVBoxLayout(&ventana);

        auto* cabecera = new QHBoxLayout;
        cabecera->addWidget(EtiquetaIcono(d.numIconoPrincipal, 32, "icono"), 0, Qt::AlignTop);
        auto* textos = new QVBoxLayout;
        auto* instruccion = new QLabel(Texto(d.strInstruccion));
        instruccion->setObjectName("instruccion");
        QFont grande = instruccion->font();
        grande.setBold(true);
        grande.setPointSizeF(grande.pointSizeF() * 1.25);
        instruccion->setFont(grande);
        instruccion->setVisible(!d.strInstruccion.empty());
        auto* contenido = new QLabel(Texto(d.strContenido));
        contenido->setObjectName("contenido");
        contenido->setWordWrap(true);
        textos->addWidget(instruccion);
        textos->addWidget(contenido);
        cabecera->addLayout(textos, 1);
        principal->addLayout(cabecera);

        if (!d.strInformacionDetallada.empty()) {
            auto* expansor = new QPushButton(Texto(d.strTextoMostrar));
            expansor->setObjectName("expansor");
            expansor->setFlat(true);
            expansor->setAutoDefault(false);
            auto* detalle = new QLabel(Texto(d.strInformacionDetallada));
            detalle->setObjectName("detalle");
            detalle->setWordWrap(true);
            detalle->setTextInteractionFlags(Qt::TextSelectableByMouse);
            detalle->hide();
            QObject::connect(expansor, &QPushButton::clicked, &ventana, [=, &d] {
                detalle->setVisible(!detalle->isVisible());
                expansor->setText(Texto(detalle->isVisible() ? d.strTextoOcultar : d.strTextoMostrar));
            });
            principal->addWidget(expansor, 0, Qt::AlignLeft);
            principal->addWidget(detalle);
        }

        std::optional<bool> casilla;
        if (!d.strTextoCasilla.empty()) {
            auto* caja = new QCheckBox(Texto(d.strTextoCasilla));
            caja->setObjectName("casilla");
            caja->setChecked(d.blnCasillaInicial);
            QObject::connect(caja, &QCheckBox::toggled, &ventana, [&casilla](bool marcada) { casilla = marcada; });
            principal->addWidget(caja);
        }

        auto* botones = new QHBoxLayout;
        botones->addStretch(1);
        bool predeterminado = false;
        for (const DialogoGrabado::Boton& b : d.botones) {
            auto* boton = new QPushButton(Texto(b.strTexto));
            boton->setObjectName(QString("boton%1").arg(b.numId));
            const int32_t id = b.numId;
            QObject::connect(boton, &QPushButton::clicked, &ventana, [&ventana, id] {
                ventana.respuesta = id;
                ventana.accept();
            });
            if (!predeterminado && d.numBotonPredeterminado == b.numId) {
                boton->setDefault(true);
                boton->setFocus();
                predeterminado = true;
            } else {
                boton->setAutoDefault(false);
            }
            botones->addWidget(boton);
        }
        principal->addLayout(botones);

        if (!d.strPie.empty()) {
            auto* linea = new QFrame;
            linea->setFrameShape(QFrame::HLine);
            principal->addWidget(linea);
            auto* pie = new QHBoxLayout;
            pie->addWidget(EtiquetaIcono(d.numIconoPie, 16, "iconoPie"));
            auto* texto = new QLabel(Texto(d.strPie));
            texto->setObjectName("pie");
            texto->setWordWrap(true);
            pie->addWidget(texto, 1);
            principal->addLayout(pie);
        }

        ventana.exec();
        Contestar(eventos, {ventana.respuesta, casilla});
    }

    void ProcesarMensajesPendientes() override { QApplication::processEvents(); }
};

}  // namespace

bool ControlQtDisponible() { return true; }

std::shared_ptr<ControlDialogo> CrearControlQt() {
    if (!QApplication::instance()) return nullptr;  // no application: the default control serves
    return std::make_shared<ControlQt>();
}

}  // namespace ui
