// Server connection strings: markers, segments and their order.
#include "quimera/connections/cadena_conexion.h"

#include <string_view>

#include "ado/ConnectionStringValue.h"

namespace quimera::conexiones {

namespace {

struct MarcaProveedor {
    std::string_view strMarca;
    std::string_view strSegmento;
};

// Looked for in this order, case-sensitively: a longer marker before the one it begins with.
constexpr MarcaProveedor kMarcasProveedor[] = {
    {" @PROV:SQLNCLI10.1", "Provider=SQLNCLI10.1; "},
    {" @PROV:SQLNCLI10", "Provider=SQLNCLI10; "},
    {" @PROV:SQLNCLI11", "Provider=SQLNCLI11; "},
    {" @PROV:SQLNCLI.1", "Provider=SQLNCLI.1; "},
};
constexpr std::string_view kProveedorSQLNCLI = "Provider=SQLNCLI; ";
constexpr std::string_view kProveedorSQLOLEDB = "Provider=SQLOLEDB; ";
constexpr std::string_view kMarcaRed = " @NWL:DBMSSOCN";
constexpr std::string_view kSegmentoRed = "Network Library=DBMSSOCN; ";

// Replaces every occurrence in one pass from the left; what is inserted is not searched again.
std::string ReemplazarTodo(const std::string& strTexto, std::string_view strBuscado, std::string_view strNuevo) {
    std::string resultado;
    size_t desde = 0;
    for (size_t i = strTexto.find(strBuscado); i != std::string::npos; i = strTexto.find(strBuscado, desde)) {
        resultado.append(strTexto, desde, i - desde).append(strNuevo);
        desde = i + strBuscado.size();
    }
    return resultado.append(strTexto, desde);
}

// Removes every occurrence of the marker; whether there was one.
bool QuitarMarca(std::string& strServidor, std::string_view strMarca) {
    if (strServidor.find(strMarca) == std::string::npos) return false;
    strServidor = ReemplazarTodo(strServidor, strMarca, "");
    return true;
}

std::string SegmentoProveedor(TipoOrigenDatos numMotor, std::string& strServidor) {
    if (numMotor == dnSQLServer || numMotor == dnMSDE) return std::string(kProveedorSQLOLEDB);
    if (!EsMotorSQLNCLI(numMotor)) return {};
    for (const MarcaProveedor& marca : kMarcasProveedor)
        if (QuitarMarca(strServidor, marca.strMarca)) return std::string(marca.strSegmento);
    return std::string(kProveedorSQLNCLI);
}

}  // namespace

bool EsMotorSQLNCLI(TipoOrigenDatos numMotor) {
    return numMotor >= dnSQLServer2005 && numMotor <= dnSQLServer2008Compact;
}

bool EsMotorSQLServer(TipoOrigenDatos numMotor) {
    return numMotor == dnSQLServer || numMotor == dnMSDE || EsMotorSQLNCLI(numMotor);
}

std::string CadenaConexionServidor(TipoOrigenDatos numMotor, const std::string& strCatalogo, std::string strServidor,
                                   const std::string& strUsuario, const std::string& strClave,
                                   bool blnNombreAplicacion) {
    std::string cadena = SegmentoProveedor(numMotor, strServidor);
    if (QuitarMarca(strServidor, kMarcaRed)) cadena += kSegmentoRed;
    // Values that hold a ';', a quote or edge spaces are quoted by OLE DB's rules; others go as written.
    cadena += "Initial Catalog=" + ado::ConnectionStringValue(strCatalogo) + "; ";
    cadena += "Data Source=" + ado::ConnectionStringValue(strServidor) + "; ";
    cadena += "User ID=" + ado::ConnectionStringValue(strUsuario) + "; ";
    cadena += "Password=" + ado::ConnectionStringValue(strClave) + ";";
    if (blnNombreAplicacion) cadena += "Application Name=Almena;";
    return cadena;
}

std::string CadenaSegundoIntento(const std::string& strCadena) {
    return ReemplazarTodo(strCadena, "SQLNCLI;", "SQLNCLI10;");
}

void AbrirConSegundoIntento(ado::Connection& objConexion, const std::string& strCadena) {
    try {
        objConexion.Open(strCadena, "", "", ado::adOptionUnspecified);
    } catch (const ado::Error&) {
        // The first failure is not reported: nothing of it may reach the ADO error report.
        objConexion.Errors().Clear();
        objConexion.Open(CadenaSegundoIntento(strCadena), "", "", ado::adOptionUnspecified);
    }
}

std::string CadenaCompactacion(const std::string& strRuta) {
    return std::string("Provider=") + kProveedorJet + ";Data Source=" + ado::ConnectionStringValue(strRuta) +
           ";Jet OLEDB:Database Password=" + ClaveBaseDatos;
}

}  // namespace quimera::conexiones
