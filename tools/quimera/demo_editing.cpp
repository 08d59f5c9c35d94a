// The edit cycle shown by the demo.
#include "demo_editing.h"

#include <memory>

#include "ado/ado.h"
#include "commands.h"
#include "demo_database.h"
#include "quimera/quimera.h"

namespace tool {

namespace {

using quimera::clsAccesoDatosEventos;

// Tells every event of the edit cycle; vetoes the next AntesEditar when asked to.
class Narrador : public clsAccesoDatosEventos {
public:
    explicit Narrador(std::ostream& out) : out_(out) {}
    bool blnVetarEdicion = false;

    void AntesEditar(ado::RecordsetPtr&, bool& bolCancelar) override {
        bolCancelar = blnVetarEdicion;
        Decir(bolCancelar ? "AntesEditar: el cliente lo veta" : "AntesEditar");
    }
    void DespuesEditar(ado::RecordsetPtr&) override { Decir("DespuesEditar"); }
    void ErrorEditar(ado::RecordsetPtr&, int32_t n) override { Decir("ErrorEditar " + std::to_string(n)); }
    void AntesActualizar(ado::RecordsetPtr&, bool&, ado::EditModeEnum m) override {
        Decir("AntesActualizar (modo " + std::to_string(m) + ")");
    }
    void DespuesActualizar(ado::RecordsetPtr&, ado::EditModeEnum) override { Decir("DespuesActualizar"); }
    void ErrorActualizar(ado::RecordsetPtr&, int32_t n, quimera::ModoActualizacion) override {
        Decir("ErrorActualizar " + std::to_string(n));
    }
    void AntesBorrar(ado::RecordsetPtr&, bool&, bool&) override { Decir("AntesBorrar"); }
    void DespuesBorrar(ado::RecordsetPtr&, bool&) override { Decir("DespuesBorrar"); }
    void Bloqueo(bool&, ado::LockTypeEnum n) override { Decir("Bloqueo (tipo " + std::to_string(n) + ")"); }
    void ErroresADO(ado::Errors& colErrores) override {
        Decir("ErroresADO: " + std::to_string(colErrores.Count()) + " error(es)");
    }

private:
    void Decir(const std::string& texto) { out_ << "  [evento] " << texto << '\n'; }
    std::ostream& out_;
};

// Answers the dialogs as scripted and writes each one out.
class DialogosGuionados {
public:
    explicit DialogosGuionados(std::ostream& out) {
        control_->AlMostrar([&out](const ui::DialogoGrabado& d) {
            out << "  [diálogo] " << d.strTitulo << " / " << d.strInstruccion << "\n             " << d.strContenido
                << '\n';
        });
        ui::InstalarFabricaControlDialogo([c = control_] { return c; });
    }
    ~DialogosGuionados() { ui::InstalarFabricaControlDialogo({}); }
    void Responder(int32_t numBoton) { control_->Responder({numBoton}); }

private:
    std::shared_ptr<ui::ControlGrabador> control_ = std::make_shared<ui::ControlGrabador>();
};

std::string Valor(const ado::ConnectionPtr& cn, const std::string& sql) {
    const ado::Variant v = cn->Execute(sql)->Fields()[0].Value();
    return v.IsNull() ? "Null" : v.ToString();
}

// The parameter array of EjecutarConsulta: name, value and type of each parameter.
ado::Variant Parametros(int32_t numCliente, ado::Date desde) {
    ado::SafeArray a({{1, 3}, {1, 2}});
    a.At({1, 1}) = "Cliente";
    a.At({2, 1}) = numCliente;
    a.At({3, 1}) = int32_t{ado::adInteger};
    a.At({1, 2}) = "Desde";
    a.At({2, 2}) = desde;
    a.At({3, 2}) = int32_t{ado::adDBTimeStamp};
    return ado::Variant(a);
}

// Runs the member first, so that its events and dialogs come before its result.
void Resultado(std::ostream& out, const std::string& strQue, bool blnHecho, const std::string& strMas = {}) {
    out << strQue << " devuelve " << (blnHecho ? "true" : "false") << strMas << '\n';
}

int32_t Filas(const ado::RecordsetPtr& rs) {
    int32_t n = 0;
    for (; rs && !rs->adoEOF(); rs->MoveNext()) ++n;
    return n;
}

// Two users of one file: the first holds customer 2 in a pessimistic edit; the second saves
// customer 3 meanwhile, then is refused on customer 2 with the lock message.
void MostrarDosUsuarios(const std::string& archivo, quimera::clsAccesoDatos& acceso, std::ostream& out) {
    auto usuario = [&archivo](int32_t numEspera) {
        auto cn = ado::Connection::Create();
        cn->ConnectionTimeout(numEspera);  // how long it waits for a record another user holds
        cn->Open(EmbeddedConnectionString(archivo, ""));
        return cn;
    };
    const auto cliente = [&acceso](ado::ConnectionPtr& cn, int32_t numCliente) {
        ado::CommandPtr orden;
        return acceso.CrearCursorKeyset("SELECT Nombre, Ciudad, IdCliente FROM Clientes WHERE IdCliente = " +
                                            std::to_string(numCliente),
                                        cn, orden);  // pessimistic, as CrearCursorKeyset is by default
    };
    ado::ConnectionPtr primero = usuario(15), segundo = usuario(1);
    ado::RecordsetPtr retenido = cliente(primero, 2);
    Resultado(out, "Primer usuario: Editar del cliente 2", acceso.Editar(retenido));
    retenido->Fields()["Ciudad"].Value("Zamora");

    ado::RecordsetPtr otroCliente = cliente(segundo, 3);
    bool blnHecho = acceso.Editar(otroCliente);
    otroCliente->Fields()["Ciudad"].Value("Palencia");
    blnHecho = blnHecho && acceso.Actualizar(otroCliente);
    Resultado(out, "Segundo usuario: Editar y Actualizar del cliente 3", blnHecho,
              "; en el archivo: " + Valor(primero, "SELECT Ciudad FROM Clientes WHERE IdCliente = 3"));
    ado::RecordsetPtr mismoCliente = cliente(segundo, 2);
    Resultado(out, "Segundo usuario: Editar del cliente 2", acceso.Editar(mismoCliente));

    blnHecho = acceso.Actualizar(retenido);
    Resultado(out, "Primer usuario: Actualizar del cliente 2", blnHecho,
              "; en el archivo: " + Valor(segundo, "SELECT Ciudad FROM Clientes WHERE IdCliente = 2") + "\n");
}

}  // namespace

void MostrarEdicion(const std::filesystem::path& carpeta, std::ostream& out) {
    const std::string archivo = (carpeta / "edicion.db").string();
    std::filesystem::remove(archivo);
    ado::ConnectionPtr cn = CreateDemoDatabase(archivo);
    DialogosGuionados dialogos(out);
    quimera::clsAccesoDatos acceso;
    acceso.InicializarPropiedades(carpeta.string());
    Narrador narrador(out);
    acceso.ConectarEventos(narrador);

    bool blnHecho = false;
    out << "Cliente 1 abierto con CrearCursorKeyset (bloqueo optimista):\n";
    ado::CommandPtr orden;
    ado::RecordsetPtr cliente = acceso.CrearCursorKeyset(
        "SELECT Nombre, Ciudad, IdCliente FROM Clientes WHERE IdCliente = 1", cn, orden, ado::adLockOptimistic);
    out << "  " << cliente->Fields()["Nombre"].Value().ToString() << ", de "
        << cliente->Fields()["Ciudad"].Value().ToString() << '\n';
    Resultado(out, "Editar", acceso.Editar(cliente));
    cliente->Fields()["Ciudad"].Value("Teruel");
    blnHecho = acceso.Actualizar(cliente);
    Resultado(out, "Actualizar", blnHecho,
              "; en el archivo: " + Valor(cn, "SELECT Ciudad FROM Clientes WHERE IdCliente = 1") + "\n");

    out << "Una edición vetada por el cliente:\n";
    narrador.blnVetarEdicion = true;
    Resultado(out, "Editar", acceso.Editar(cliente), "\n");
    narrador.blnVetarEdicion = false;

    out << "Dos usuarios cambian la misma ciudad:\n";
    auto otro = ado::Connection::Create();
    otro->Open(EmbeddedConnectionString(archivo, ""));
    acceso.Editar(cliente);
    otro->Execute("UPDATE Clientes SET Ciudad = 'Soria' WHERE IdCliente = 1");
    out << "  (el otro usuario guardó Soria)\n";
    cliente->Fields()["Ciudad"].Value("Cuenca");
    blnHecho = acceso.Actualizar(cliente);
    Resultado(out, "Actualizar", blnHecho,
              "; en el archivo: " + Valor(cn, "SELECT Ciudad FROM Clientes WHERE IdCliente = 1") + "\n");

    out << "Dos usuarios del mismo archivo: un registro bloqueado, los demás libres:\n";
    MostrarDosUsuarios(archivo, acceso, out);

    out << "Borrar líneas del pedido 1, con la pregunta:\n";
    ado::RecordsetPtr lineas = acceso.CrearCursorKeyset(
        "SELECT Producto, Cantidad, IdLinea FROM LineasPedido WHERE IdPedido = 1 ORDER BY IdLinea", cn, orden = {},
        ado::adLockOptimistic);
    const std::string antes = Valor(cn, "SELECT COUNT(*) FROM LineasPedido WHERE IdPedido = 1");
    dialogos.Responder(quimera::BotonSi);
    Resultado(out, "Borrar, respondiendo Sí,", acceso.Borrar(lineas));
    dialogos.Responder(quimera::BotonNo);
    Resultado(out, "Borrar, respondiendo No,", acceso.Borrar(lineas));
    out << "  líneas del pedido 1: " << antes << " antes, "
        << Valor(cn, "SELECT COUNT(*) FROM LineasPedido WHERE IdPedido = 1") << " después\n\n";

    out << "Consulta almacenada con parámetros, por los dos caminos:\n";
    cn->Execute("CREATE PROCEDURE PedidosDesde ([Cliente] Long, [Desde] DateTime) AS SELECT IdPedido FROM Pedidos "
                "WHERE IdCliente = [Cliente] AND Fecha >= [Desde]");
    ado::Variant valores = Parametros(7, ado::MakeDate(2023, 1, 1));
    const int32_t access =
        Filas(acceso.EjecutarConsulta("PedidosDesde", cn, valores, "", ado::adCmdText, 2, quimera::dnAccess));
    const int32_t texto = Filas(acceso.EjecutarConsulta(
        "", cn, valores,
        "PARAMETERS [Cliente] Long, [Desde] DateTime; SELECT IdPedido FROM Pedidos WHERE IdCliente = [Cliente] "
        "AND Fecha >= [Desde]",
        ado::adCmdText, 2, quimera::dnSQLServer));
    out << "  pedidos del cliente 7 desde 2023: " << access << " vinculando parámetros (Access), " << texto
        << " escribiendo los valores en el texto (otros motores)\n";
}

}  // namespace tool
