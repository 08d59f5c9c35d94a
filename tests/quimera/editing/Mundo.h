// A real customers-and-orders file for the edit cycle of clsAccesoDatos, other users of the
// same file, and an event sink that notes every event and can act inside one.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "quimera/apoyo/EntornoQuimera.h"

namespace pruebas {

using Rs = ado::RecordsetPtr;

// Notes each event ("AntesEditar", "ErrorEditar 3260", ...), runs `accion` in it, vetoes the
// Antes… events and Bloqueo's lock type with blnVetar, and hands back `reemplazo` from Antes….
struct Sucesos : quimera::clsAccesoDatosEventos {
    using M = ado::EditModeEnum;
    void AntesAgregar(Rs& rs, bool& c) override { Antes("AntesAgregar", rs, c); }
    void DespuesAgregar(Rs&) override { Nota("DespuesAgregar"); }
    void ErrorAgregar(Rs&, int32_t n) override { Nota("ErrorAgregar", n); }
    void AntesBorrar(Rs& rs, bool& c, bool& m) override { m = blnPreguntar.value_or(m), Antes("AntesBorrar", rs, c); }
    void DespuesBorrar(Rs&, bool& d) override { d = blnDesplazar, Nota("DespuesBorrar"); }
    void ErrorBorrar(Rs&, int32_t n) override { Nota("ErrorBorrar", n); }
    void AntesEditar(Rs& rs, bool& c) override { Antes("AntesEditar", rs, c); }
    void DespuesEditar(Rs&) override { Nota("DespuesEditar"); }
    void ErrorEditar(Rs&, int32_t n) override { Nota("ErrorEditar", n); }
    void AntesActualizar(Rs& rs, bool& c, M m) override { Antes("AntesActualizar " + std::to_string(m), rs, c); }
    void DespuesActualizar(Rs&, M m) override { Nota("DespuesActualizar", m); }
    void ErrorActualizar(Rs&, int32_t n, quimera::ModoActualizacion t) override {
        Nota("ErrorActualizar " + std::to_string(n), t);
    }
    void AntesCancelarActualizacion(Rs&, M m) override { Nota("AntesCancelarActualizacion", m); }
    void DespuesCancelarActualizacion(Rs&, M m) override { Nota("DespuesCancelarActualizacion", m); }
    void ErrorCancelarActualizacion(Rs&, int32_t n) override { Nota("ErrorCancelarActualizacion", n); }
    void Bloqueo(bool& blnBloqueo, ado::LockTypeEnum n) override { blnBloqueo = !blnVetar, Nota("Bloqueo", n); }
    void ErroresADO(ado::Errors& e) override { Nota("ErroresADO", e.Item(e.Count() - 1).Number()); }

    void Antes(const std::string& evento, Rs& rs, bool& bolCancelar) {
        bolCancelar = blnVetar;
        if (reemplazo) rs = reemplazo;
        Nota(evento);
    }
    void Nota(const std::string& evento) {
        lista += (lista.empty() ? "" : ", ") + evento;
        if (accion) accion(evento);
    }
    void Nota(const std::string& evento, int32_t n) { Nota(evento + " " + std::to_string(n)); }

    std::string lista;
    bool blnVetar = false;
    std::optional<bool> blnPreguntar;
    bool blnDesplazar = true;
    Rs reemplazo;
    std::function<void(const std::string&)> accion;
};

// Statements that make the engine fail for real inside an event handler.
inline constexpr const char* kSinCliente = "INSERT INTO Pedidos VALUES (7, 'Z', 1)";     // 3201
inline constexpr const char* kSinNombre = "INSERT INTO Clientes (Codigo) VALUES ('Q')";  // E_FAIL
inline constexpr const char* kMalEscrita = "SELEC * FROM Clientes";                      // syntax
inline constexpr const char* kInterminable =
    "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c WHERE x < 1000000000) SELECT COUNT(*) FROM c";

// The data-error report of a row that another user's record lock kept out of a batch (the
// report puts ". Origen: " after the description's own full stop).
inline constexpr const char* kInformeRegistroBloqueadoEnLote =
    "Error de acceso a datos | Error de acceso a datos en la clase: Quimera | Descripción: No se pudo actualizar; la "
    "base de datos o el registro están bloqueados por otro usuario.. Origen: Microsoft JET Database Engine | 3";
// The same when another user's transaction holds the file's write lock.
inline constexpr const char* kInformeBloqueoEnLote =
    "Error de acceso a datos | Error de acceso a datos en la clase: Quimera | Descripción: No se pudo actualizar; la "
    "base de datos o el registro están bloqueados por otro usuario. (motor: database is locked). Origen: Microsoft "
    "JET Database Engine | 3";

// One file with customers A, B, C (A with orders 1 and 99, which the engine refuses to
// delete), the library object and its sink. Every connection waits one second for a lock.
struct Mundo {
    Mundo() {
        cn->ConnectionTimeout(1);
        cn->Open(testsupport::JetConnectionString(db.file()));
        for (const char* sql : {
                 "CREATE TABLE Clientes (Codigo TEXT(5) PRIMARY KEY, Nombre TEXT(30) NOT NULL, Ciudad TEXT(20))",
                 "CREATE TABLE Pedidos (Numero LONG PRIMARY KEY, Codigo TEXT(5) NOT NULL REFERENCES "
                 "Clientes(Codigo), Importe DOUBLE)",
                 "CREATE TRIGGER Archivado BEFORE DELETE ON Pedidos WHEN OLD.Numero = 99 "
                 "BEGIN SELECT RAISE(ABORT, 'pedido archivado'); END",
                 "INSERT INTO Clientes VALUES ('A', 'Ana', 'León')",
                 "INSERT INTO Clientes VALUES ('B', 'Luis', 'Ávila')",
                 "INSERT INTO Clientes VALUES ('C', 'Eva', 'Soria')", "INSERT INTO Pedidos VALUES (1, 'A', 10)",
                 "INSERT INTO Pedidos VALUES (99, 'A', 20)"})
            cn->Execute(sql);
        acceso.ConectarEventos(sucesos);
    }

    // A keyset cursor; pessimistic, it locks the current record at the first field written.
    Rs Abrir(const std::string& strSQL, ado::LockTypeEnum numBloqueo = ado::adLockOptimistic,
             ado::CursorLocationEnum numLugar = ado::adUseClient) {
        auto rs = ado::Recordset::Create();
        rs->CursorLocation(numLugar);
        rs->Open(strSQL, cn, ado::adOpenKeyset, numBloqueo, ado::adCmdText);
        return rs;
    }
    Rs Clientes(ado::LockTypeEnum numBloqueo = ado::adLockOptimistic,
                ado::CursorLocationEnum numLugar = ado::adUseClient) {
        return Abrir("SELECT * FROM Clientes ORDER BY Codigo", numBloqueo, numLugar);
    }
    // Customer A with its city changed, not saved.
    Rs Editado(ado::LockTypeEnum numBloqueo = ado::adLockOptimistic) {
        Rs rs = Clientes(numBloqueo);
        rs->Fields()["Ciudad"].Value("Lugo");
        return rs;
    }
    // A new customer, not saved.
    Rs Nuevo(const char* codigo, const char* nombre = nullptr) {
        Rs rs = Clientes();
        rs->AddNew();
        rs->Fields()["Codigo"].Value(codigo);
        if (nombre) rs->Fields()["Nombre"].Value(nombre);
        return rs;
    }
    // On the last customer, past it, or on a record it deleted.
    Rs Ultimo() {
        Rs rs = Clientes();
        rs->MoveLast();
        return rs;
    }
    Rs AlFinal() {
        Rs rs = Ultimo();
        rs->MoveNext();
        return rs;
    }
    Rs Eliminado() {
        Rs rs = Ultimo();
        rs->Delete();
        return rs;
    }
    // Customer C, the last one, with its city changed, not saved (see Bloquear).
    Rs EditadoC() {
        Rs rs = Ultimo();
        rs->Fields()["Ciudad"].Value("Lugo");
        return rs;
    }
    // Another user editing customer C through a pessimistic server cursor: that record stays
    // locked for everybody else until that edit ends; the other records stay free.
    void Bloquear() {
        otro = db.Connect(ado::adUseServer);
        bloqueo = ado::Recordset::Create();
        bloqueo->Open("SELECT * FROM Clientes WHERE Codigo = 'C'", otro, ado::adOpenKeyset, ado::adLockPessimistic,
                      ado::adCmdText);
        bloqueo->Fields()["Ciudad"].Value("Teruel");
    }
    // Another user in a transaction that has changed customer C: the engine keeps the file
    // locked for other writers until it ends.
    void Transaccion() {
        otro = db.Connect();
        otro->BeginTrans();
        otro->Execute("UPDATE Clientes SET Ciudad = 'Teruel' WHERE Codigo = 'C'");
    }
    // Another user's statement, run at once.
    void Otro(const std::string& strSQL) const { db.Connect()->Execute(strSQL); }
    // What the file holds, read through a fresh connection.
    std::string Valor(const std::string& strSQL) const {
        const ado::Variant v = db.Query(db.Connect(), strSQL)->Fields()[0].Value();
        return v.IsNull() ? "Null" : v.ToString();
    }
    // Runs strSQL on the connection inside the first event whose name begins with strEvento;
    // blnCallar keeps its failure in Errors but away from the method.
    void En(const std::string& strEvento, const std::string& strSQL, bool blnCallar = false) {
        sucesos.accion = [this, strEvento, strSQL, blnCallar](const std::string& e) {
            if (e.rfind(strEvento, 0) != 0) return;
            try {
                cn->Execute(strSQL);
            } catch (const ado::Error&) {
                if (!blnCallar) throw;
            }
        };
    }

    testsupport::EmbeddedDb db;
    ado::ConnectionPtr cn = ado::Connection::Create();
    ado::ConnectionPtr otro;
    Rs bloqueo;
    quimera::clsAccesoDatos acceso;
    Sucesos sucesos;
};

// The editing members as the tables call them, on the recordset a case prepared.
using Miembro = bool (*)(Mundo&, Rs&);
inline constexpr Miembro Editar = [](Mundo& m, Rs& rs) { return m.acceso.Editar(rs); };
inline constexpr Miembro Agregar = [](Mundo& m, Rs& rs) { return m.acceso.Agregar(rs); };
inline constexpr Miembro Cancelar = [](Mundo& m, Rs& rs) { return m.acceso.CancelarActualizacion(rs); };
inline constexpr Miembro Actualizar = [](Mundo& m, Rs& rs) { return m.acceso.Actualizar(rs); };
inline constexpr Miembro ActualizarSinMensaje = [](Mundo& m, Rs& rs) { return m.acceso.Actualizar(rs, true); };
inline constexpr Miembro Cascada = [](Mundo& m, Rs& rs) { return m.acceso.ActualizarCascada(rs); };
inline constexpr Miembro Borrar = [](Mundo& m, Rs& rs) { return m.acceso.Borrar(rs); };
inline constexpr Miembro BorrarSinPreguntar = [](Mundo& m, Rs& rs) { return m.acceso.Borrar(rs, false); };
inline constexpr Miembro BorrarSinBloqueos = [](Mundo& m, Rs& rs) { return m.acceso.Borrar(rs, false, false); };

// The first column of every row, joined by commas.
inline std::string Columna(Rs rs) {
    std::string texto;
    for (; rs && rs->State() == ado::adStateOpen && !rs->adoEOF(); rs->MoveNext())
        texto += (texto.empty() ? "" : ",") + rs->Fields()[0].Value().ToString();
    return texto;
}

// The recordset's edit mode, or -1 where it cannot be read (no current record).
inline int Modo(const Rs& rs) {
    try {
        return rs->EditMode();
    } catch (const ado::Error&) {
        return -1;
    }
}

}  // namespace pruebas
