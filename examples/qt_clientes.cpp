// A small window over a customers table: list, add, edit and delete through clsAccesoDatos,
// with the library's own messages (the deletion's confirmation, locks, failures) in Qt
// dialogs.      example_qt_clientes [FILE]   (a sample database in the temporary folder)
#include <QApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <filesystem>

#include "ado/ado.h"
#include "quimera/ControlQt.h"
#include "quimera/quimera.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::InstalarFabricaControlDialogo(ui::CrearControlQt);  // the library's messages as windows
    const std::filesystem::path carpeta = std::filesystem::temp_directory_path();
    const std::string archivo = argc > 1 ? argv[1] : (carpeta / "qt_clientes.db").string();
    const bool nueva = !std::filesystem::exists(archivo);
    if (nueva) ado::CreateDatabase("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + archivo +
                                   ";Jet OLEDB:Database Password=" + quimera::ClaveBaseDatos);
    quimera::clsAccesoDatos datos;
    datos.InicializarPropiedades(carpeta.string());
    ado::ConnectionPtr cn = datos.AbrirBaseDatos(archivo);
    if (!cn) return 1;  // the library has shown why
    if (nueva) {
        cn->Execute("CREATE TABLE Clientes (Id COUNTER PRIMARY KEY, Nombre TEXT(50))");
        cn->Execute("INSERT INTO Clientes (Nombre) VALUES ('Begoña Ruiz')");
    }
    ado::CommandPtr orden;
    ado::RecordsetPtr rs = datos.CrearCursorKeyset("SELECT * FROM Clientes", cn, orden, ado::adLockOptimistic);
    QWidget ventana;
    ventana.setWindowTitle("Clientes");
    auto* lista = new QListWidget;
    auto* botones = new QHBoxLayout;
    auto* capas = new QVBoxLayout(&ventana);
    capas->addWidget(lista);
    capas->addLayout(botones);
    auto boton = [&](const char* texto, auto accion) {
        auto* b = new QPushButton(texto);
        botones->addWidget(b);
        QObject::connect(b, &QPushButton::clicked, accion);
    };
    auto mostrar = [&] {  // row i of the list is record i + 1
        lista->clear();
        if (rs->BOF() && rs->adoEOF()) return;
        for (rs->MoveFirst(); !rs->adoEOF(); rs->MoveNext())
            lista->addItem(QString::fromStdString(rs->Fields()["Nombre"].Value().As<std::string>()));
    };
    auto guardar = [&](bool nuevo) {  // Agregar or Editar, then Actualizar
        const int fila = lista->currentRow();
        if (!nuevo && fila < 0) return;
        bool aceptado = false;
        const QString actual = nuevo ? QString() : lista->currentItem()->text();
        const std::string nombre =
            QInputDialog::getText(&ventana, "Cliente", "Nombre:", QLineEdit::Normal, actual, &aceptado).toStdString();
        if (!aceptado) return;
        if (!nuevo) rs->MoveFirst(), rs->Move(fila);
        if (!(nuevo ? datos.Agregar(rs) : datos.Editar(rs))) return;  // the library showed why
        rs->Fields()["Nombre"].Value(nombre);
        if (!datos.Actualizar(rs)) datos.CancelarActualizacion(rs);
        mostrar();
    };
    boton("Añadir", [&] { guardar(true); });
    boton("Modificar", [&] { guardar(false); });
    boton("Eliminar", [&] {
        if (lista->currentRow() < 0) return;
        rs->MoveFirst();
        rs->Move(lista->currentRow());
        datos.Borrar(rs);  // asks first, in the library's own dialog
        mostrar();
    });
    mostrar();
    ventana.show();
    return app.exec();
}
