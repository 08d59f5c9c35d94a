// The connection strings the library builds for the server engines, and the silent second
// attempt of their opening. The strings are built by concatenation, letter for letter:
// clients and servers have long seen them so; only a value that would otherwise end early or
// lose its edge spaces (a ';', a leading quote) is quoted, by OLE DB's rules.
#pragma once

#include <string>

#include "ado/Connection.h"
#include "quimera/Enumeraciones.h"
#include "quimera/clsAccesoDatos.h"

namespace quimera::conexiones {

inline constexpr const char* kProveedorJet = "Microsoft.Jet.OLEDB.4.0";

// SQL Server engines: dnSQLServer and dnMSDE, and the SQL Native Client ones (5 to 9).
bool EsMotorSQLServer(TipoOrigenDatos numMotor);
bool EsMotorSQLNCLI(TipoOrigenDatos numMotor);

// The string to the catalogue strCatalogo on strServidor: provider, network library, initial
// catalogue, data source, user and password segments, and "Application Name=Almena;" when
// blnNombreAplicacion. Markers in the server name choose segments and are removed: " @PROV:..."
// the provider of engines 5 to 9 (SQLNCLI when none), " @NWL:DBMSSOCN" TCP/IP for every engine.
// Engines 1 and 3 use SQLOLEDB and keep provider markers in the name; other engines have no
// provider segment.
std::string CadenaConexionServidor(TipoOrigenDatos numMotor, const std::string& strCatalogo, std::string strServidor,
                                   const std::string& strUsuario, const std::string& strClave,
                                   bool blnNombreAplicacion);

// The string of the second attempt: every "SQLNCLI;" becomes "SQLNCLI10;", so the plain SQL
// Native Client provider gives way to its 2008 version; any other string stays as it is.
std::string CadenaSegundoIntento(const std::string& strCadena);

// Opens with strCadena; when that fails, the failure is dropped (Errors included) and the
// second attempt's string is opened once, its failure passed on.
void AbrirConSegundoIntento(ado::Connection& objConexion, const std::string& strCadena);

// The string JetEngine.CompactDatabase gets for a file, always with ClaveBaseDatos.
std::string CadenaCompactacion(const std::string& strRuta);

}  // namespace quimera::conexiones
