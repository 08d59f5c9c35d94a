// A real customers-and-orders file for the edit cycle of clsAccesoDatos, other users of the
// same file, and an event sink that notes every event and can act inside one.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "quimera/apoyo/EntornoQuimera.h"
#include "quimera/quimera.h"
#include "support/EmbeddedDb.h"

namespace pruebas {

// Notes each event as "AntesEditar", "ErrorEditar 3260", ...; vetoes the Antes… events (and
// the lock type of Bloqueo) when blnVetar says so, hands back `reemplazo` from them, and
// runs `accion` inside every event.
struct Sucesos : quimera::clsAccesoDatosEventos {
    using Rs = ado::RecordsetPtr;
    void AntesAgregar(Rs& rs, bool& c) override { Antes("AntesAgregar", rs, c); }
    void DespuesAgregar(Rs& rs) override { Nota("DespuesAgregar", rs); }
    void ErrorAgregar(Rs& rs, int32_t n) override { Nota("ErrorAgregar " + std::to_string(n), rs); }
    void AntesBorrar(Rs& rs, bool& c, bool& bolMensaje) override {
        if (blnPreguntar) bolMensaje = *blnPreguntar;
        Antes("AntesBorrar", rs, c);
    }
    void DespuesBorrar(Rs& rs, bool& bolDesplazarSiguiente) override {
        bolDesplazarSiguiente = blnDesplazar;
        Nota("DespuesBorrar", rs);
    }
    void ErrorBorrar(Rs& rs, int32_t n) override { Nota("ErrorBorrar " + std::to_string(n), rs); }
    void AntesEditar(Rs& rs, bool& c) override { Antes("AntesEditar", rs, c); }
    void DespuesEditar(Rs& rs) override { Nota("DespuesEditar", rs); }
    void ErrorEditar(Rs& rs, int32_t n) override { Nota("ErrorEditar " + std::to_string(n), rs); }
    void AntesActualizar(Rs& rs, bool& c, ado::EditModeEnum m) override {
        Antes("AntesActualizar " + std::to_string(m), rs, c);
    }
    void DespuesActualizar(Rs& rs, ado::EditModeEnum m) override { Nota("DespuesActualizar " + std::to_string(m), rs); }
    void ErrorActualizar(Rs& rs, int32_t n, quimera::ModoActualizacion t) override {
        Nota("ErrorActualizar " + std::to_string(n) + " " + std::to_string(t), rs);
    }
    void AntesCancelarActualizacion(Rs& rs, ado::EditModeEnum m) override {
        Nota("AntesCancelarActualizacion " + std::to_string(m), rs);
    }
    void DespuesCancelarActualizacion(Rs& rs, ado::EditModeEnum m) override {
        Nota("DespuesCancelarActualizacion " + std::to_string(m), rs);
    }
    void ErrorCancelarActualizacion(Rs& rs, int32_t n) override {
        Nota("ErrorCancelarActualizacion " + std::to_string(n), rs);
    }
    void Bloqueo(bool& blnBloqueo, ado::LockTypeEnum n) override {
        lista.push_back("Bloqueo " + std::to_string(n));
        if (blnVetar) blnBloqueo = false;
    }
    void ErroresADO(ado::Errors& colErrores) override {
        lista.push_back("ErroresADO " + std::to_string(colErrores.Item(colErrores.Count() - 1).Number()));
    }

    void Antes(const std::string& evento, Rs& rs, bool& bolCancelar) {
        bolCancelar = blnVetar;
        if (reemplazo) rs = reemplazo;
        Nota(evento, rs);
    }
    void Nota(const std::string& evento, Rs&) {
        lista.push_back(evento);
        if (accion) accion(evento);
    }
    std::string Lista() const {
        std::string texto;
        for (const auto& e : lista) texto += (texto.empty() ? "" : ", ") + e;
        return texto;
    }

    std::vector<std::string> lista;
    bool blnVetar = false;
    std::optional<bool> blnPreguntar;
    bool blnDesplazar = true;
    Rs reemplazo;
    std::function<void(const std::string&)> accion;
};

// One file with its data, the library object and its sink. Every connection waits one
// second for a lock held by another user.
struct Mundo {
    Mundo() {
        cn->ConnectionTimeout(1);
        cn->Open(testsupport::JetConnectionString(db.file()));
        for (const char* sql : {
                 "CREATE TABLE Clientes (Codigo TEXT(5) PRIMARY KEY, Nombre TEXT(30) NOT NULL, Ciudad TEXT(20))",
                 "CREATE TABLE Pedidos (Numero LONG PRIMARY KEY, Codigo TEXT(5) NOT NULL REFERENCES "
                 "Clientes(Codigo), Importe DOUBLE)",
                 // The engine's own refusal of one deletion: an unspecified provider failure.
                 "CREATE TRIGGER Archivado BEFORE DELETE ON Pedidos WHEN OLD.Numero = 99 "
                 "BEGIN SELECT RAISE(ABORT, 'pedido archivado'); END",
                 "INSERT INTO Clientes VALUES ('A', 'Ana', 'León')",
                 "INSERT INTO Clientes VALUES ('B', 'Luis', 'Ávila')",
                 "INSERT INTO Clientes VALUES ('C', 'Eva', 'Soria')",
                 "INSERT INTO Pedidos VALUES (1, 'A', 10)",
                 "INSERT INTO Pedidos VALUES (99, 'A', 20)",
             })
            cn->Execute(sql);
        acceso.ConectarEventos(sucesos);
    }

    // A keyset cursor; server-side and pessimistic, it takes the engine's write lock at the
    // first field written.
    ado::RecordsetPtr Abrir(const std::string& strSQL, ado::LockTypeEnum numBloqueo = ado::adLockOptimistic,
                            ado::CursorLocationEnum numLugar = ado::adUseClient) {
        auto rs = ado::Recordset::Create();
        rs->CursorLocation(numLugar);
        rs->Open(strSQL, cn, ado::adOpenKeyset, numBloqueo, ado::adCmdText);
        return rs;
    }
    ado::RecordsetPtr Clientes(ado::LockTypeEnum numBloqueo = ado::adLockOptimistic) {
        return Abrir("SELECT * FROM Clientes ORDER BY Codigo", numBloqueo);
    }
    // Another user, editing customer C through a pessimistic server cursor: the file stays
    // locked for everybody else until that edit ends.
    void Bloquear() {
        otro = db.Connect(ado::adUseServer);
        bloqueo = ado::Recordset::Create();
        bloqueo->Open("SELECT * FROM Clientes WHERE Codigo = 'C'", otro, ado::adOpenKeyset, ado::adLockPessimistic,
                      ado::adCmdText);
        bloqueo->Fields()["Ciudad"].Value("Teruel");
    }
    // Another user's statement, run at once.
    void Otro(const std::string& strSQL) const { db.Connect()->Execute(strSQL); }
    // What the file holds, read through a fresh connection.
    std::string Valor(const std::string& strSQL) const {
        const ado::Variant v = db.Query(db.Connect(), strSQL)->Fields()[0].Value();
        return v.IsNull() ? "Null" : v.ToString();
    }
    // Runs f inside the first event whose name begins with strEvento.
    void En(const std::string& strEvento, std::function<void()> f) {
        sucesos.accion = [strEvento, f = std::move(f)](const std::string& e) {
            if (e.rfind(strEvento, 0) == 0) f();
        };
    }

    testsupport::EmbeddedDb db;
    ado::ConnectionPtr cn = ado::Connection::Create();
    ado::ConnectionPtr otro;
    ado::RecordsetPtr bloqueo;
    quimera::clsAccesoDatos acceso;
    Sucesos sucesos;
};

// Statements that make the engine fail for real inside an event handler.
inline constexpr const char* kSinCliente = "INSERT INTO Pedidos VALUES (7, 'Z', 1)";     // 3201
inline constexpr const char* kSinNombre = "INSERT INTO Clientes (Codigo) VALUES ('Q')";  // E_FAIL
inline constexpr const char* kMalEscrita = "SELEC * FROM Clientes";                      // syntax
inline constexpr const char* kInterminable =
    "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1000000000) SELECT COUNT(*) FROM c";

// The recordset's edit mode, or -1 where it cannot be read (no current record).
inline int Modo(const ado::RecordsetPtr& rs) {
    try {
        return rs->EditMode();
    } catch (const ado::Error&) {
        return -1;
    }
}

class BaseEdicion : public EntornoQuimera {
protected:
    // The last dialog as "title | heading | text | control icon", or "" when none was shown
    // since `desde` dialogs.
    std::string UltimoDialogo(size_t desde = 0) const {
        if (Dialogos().size() <= desde) return "";
        const ui::DialogoGrabado& d = Dialogos().back();
        return d.strTitulo + " | " + d.strInstruccion + " | " + d.strContenido + " | " +
               std::to_string(d.numIconoPrincipal.value_or(0));
    }
};

}  // namespace pruebas
