// The messages of the opening methods for the failures they recognise: a provider that
// fails (E_FAIL, or 3146 through ODBC) and a provider that is not installed (3706).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "ado/ErrorNumbers.h"
#include "quimera/components/babelia.h"

namespace quimera::conexiones {

struct AvisoConexion {
    int32_t numError;
    std::string_view strTitulo;
    std::string_view strInstruccion;
};

inline constexpr AvisoConexion kAvisosConexion[] = {
    {ado::err::Fail, "Error de conexión", "Error al establecer la conexión"},
    {ado::err::OdbcCallFailed, "Error de conexión", "Error al establecer la conexión"},
    {ado::err::ProviderNotFound, "Error", "No se encuentra el proveedor OLEDB"},
};

// Shows the message, whatever MostrarMensajes says: error icon, one "Aceptar" button, and
// the translated "Detectado en la clase: " followed by the class's display name.
void MostrarAvisoConexion(const std::shared_ptr<babelia::Regional>& objRegional, const std::string& strNombre,
                          const AvisoConexion& aviso);

}  // namespace quimera::conexiones
