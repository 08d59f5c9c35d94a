#include "demo_writes.h"

#include "ado/ado.h"
#include "commands.h"

namespace tool {

namespace {

ado::RecordsetPtr OpenCustomer(const ado::ConnectionPtr& cn, ado::LockTypeEnum lock) {
    auto rs = ado::Recordset::Create();
    rs->CursorLocation(ado::adUseClient);
    rs->Open("SELECT IdCliente, Nombre, Ciudad, LimiteCredito FROM Clientes WHERE IdCliente = 1", cn,
             ado::adOpenStatic, lock, ado::adCmdText);
    return rs;
}

}  // namespace

void MostrarEscritura(const std::string& file, std::ostream& out) {
    const std::string cs = EmbeddedConnectionString(file, "");
    auto ana = ado::Connection::Create();
    ana->Open(cs);
    auto luis = ado::Connection::Create();
    luis->Open(cs);

    auto rs = OpenCustomer(ana, ado::adLockOptimistic);
    out << "Cliente 1: " << rs->Fields()["Nombre"].Value().ToString() << ", "
        << rs->Fields()["Ciudad"].Value().ToString() << '\n';
    rs->Fields()["Ciudad"].Value("Zamora");
    out << "Tras asignar Ciudad: EditMode = " << rs->EditMode() << " (valor original "
        << rs->Fields()["Ciudad"].OriginalValue().ToString() << ")\n";
    rs->Update();
    out << "Update: EditMode = " << rs->EditMode() << "; en el archivo: "
        << luis->Execute("SELECT Ciudad FROM Clientes WHERE IdCliente = 1")->Fields()[0].Value().ToString() << '\n';

    // Two users read the same row; the second one's write finds it changed.
    auto first = OpenCustomer(ana, ado::adLockOptimistic);
    auto second = OpenCustomer(luis, ado::adLockOptimistic);
    first->Fields()["LimiteCredito"].Value(9999);
    first->Update();
    second->Fields()["LimiteCredito"].Value(1);
    try {
        second->Update();
    } catch (const ado::Error& e) {
        out << "Conflicto: error " << e.Number() << ": " << e.Description() << '\n';
        second->CancelUpdate();
    }

    // A batch: changes wait in the cursor until UpdateBatch writes them in one transaction.
    auto batch = ado::Recordset::Create();
    batch->CursorLocation(ado::adUseClient);
    batch->Open("SELECT IdPedido, Enviado FROM Pedidos WHERE Enviado = False", ana, ado::adOpenStatic,
                ado::adLockBatchOptimistic, ado::adCmdText);
    const int32_t pending = batch->RecordCount();
    for (; !batch->adoEOF(); batch->MoveNext()) {
        batch->Fields()["Enviado"].Value(true);
        batch->Update();
    }
    const auto unsent = [&] {
        return luis->Execute("SELECT COUNT(*) FROM Pedidos WHERE Enviado = False")->Fields()[0].Value().ToInt32();
    };
    out << "Lote: " << pending << " pedidos marcados como enviados; sin enviar en el archivo antes de UpdateBatch: "
        << unsent();
    batch->UpdateBatch();
    out << ", después: " << unsent() << '\n';
}

}  // namespace tool
