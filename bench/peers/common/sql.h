// The statements of the workloads, in SQL every engine here takes (positional ? parameters),
// and the counts that check what the writes did.
#pragma once

namespace peers::sql {

inline constexpr const char* kRead = "SELECT Id, Cuenta, Importe, Unidades, Fecha, Nota FROM Movimientos";
inline constexpr const char* kLookup =
    "SELECT Id, Cuenta, Importe, Unidades, Fecha, Nota FROM Movimientos WHERE Id = ?";
inline constexpr const char* kInsert =
    "INSERT INTO Entradas (Id, Cuenta, Importe, Unidades, Fecha, Nota) VALUES (?, ?, ?, ?, ?, ?)";
inline constexpr const char* kUpdate = "UPDATE Movimientos SET Importe = ?, Unidades = ? WHERE Id = ?";

inline constexpr const char* kCountInserted = "SELECT COUNT(*) FROM Entradas";
inline constexpr const char* kCountUpdated = "SELECT COUNT(*) FROM Movimientos WHERE Importe < 0";

// The server's copy of Movimientos, in a schema of its own.
inline constexpr const char* kServerRead =
    "SELECT id, cuenta, importe, unidades, fecha, nota FROM bench_peers.movimientos";

}  // namespace peers::sql
