// Testing and closing connections, server databases that cannot be reached, and compaction
// of Access files through clsAccesoDatos.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "quimera/apoyo/EntornoQuimera.h"
#include "quimera/quimera.h"
#include "support/EmbeddedDb.h"

namespace {

using namespace quimera;
namespace fs = std::filesystem;

std::string Bytes(const fs::path& file) {
    std::ostringstream out;
    out << std::ifstream(file, std::ios::binary).rdbuf();
    return out.str();
}

class UtilidadesConexion : public pruebas::EntornoQuimera {
protected:
    // A file with the fixed password, five notes left of a hundred.
    std::string ConNotasBorradas(const std::string& strNombre) {
        const std::string strArchivo = carpeta.file(strNombre);
        ado::CreateDatabase(testsupport::JetConnectionString(strArchivo, ClaveBaseDatos));
        ado::ConnectionPtr cn = acceso.AbrirBaseDatos(strArchivo);
        cn->Execute("CREATE TABLE Notas (Id INTEGER PRIMARY KEY, Texto TEXT)");
        cn->BeginTrans();
        for (int i = 1; i <= 100; ++i)
            cn->Execute("INSERT INTO Notas VALUES (" + std::to_string(i) + ", '" + std::string(4000, 'n') + "')");
        cn->CommitTrans();
        cn->Execute("DELETE FROM Notas WHERE Id > 5");
        return strArchivo;
    }

    int32_t Notas(const std::string& strArchivo) {
        ado::ConnectionPtr cn = acceso.AbrirBaseDatos(strArchivo);
        return cn ? cn->Execute("SELECT COUNT(*) FROM Notas")->Fields()[0].Value().ToInt32() : -1;
    }

    testsupport::TempDir carpeta;
    clsAccesoDatos acceso;
    std::string archivo = ConNotasBorradas("datos.mdb");
};

TEST_F(UtilidadesConexion, ConexionEstaAbiertaYCerrarConexion) {
    ado::ConnectionPtr nula, cerrada = ado::Connection::Create(), abierta = acceso.AbrirBaseDatos(archivo);
    EXPECT_FALSE(acceso.ConexionEstaAbierta(nula));
    EXPECT_FALSE(acceso.ConexionEstaAbierta(cerrada));
    EXPECT_TRUE(acceso.ConexionEstaAbierta(abierta));

    EXPECT_FALSE(acceso.CerrarConexion(nula));
    ado::ConnectionPtr guardada = abierta;
    EXPECT_TRUE(acceso.CerrarConexion(abierta, false));  // closed, the handle kept
    ASSERT_TRUE(abierta);
    EXPECT_EQ(abierta->State(), ado::adStateClosed);
    EXPECT_TRUE(acceso.CerrarConexion(abierta, false));  // already closed: not closed again
    EXPECT_TRUE(acceso.CerrarConexion(abierta));         // and now emptied
    EXPECT_FALSE(abierta);
    EXPECT_EQ(guardada->State(), ado::adStateClosed);
    EXPECT_TRUE(registro.informes.empty());
    EXPECT_TRUE(Dialogos().empty());
}

TEST_F(UtilidadesConexion, CerrarConUnaTransaccionAbiertaFalla) {
    ado::ConnectionPtr cn = acceso.AbrirBaseDatos(archivo);
    cn->BeginTrans();
    EXPECT_FALSE(acceso.CerrarConexion(cn));
    ASSERT_TRUE(cn);
    EXPECT_EQ(cn->State(), ado::adStateOpen);
    ASSERT_EQ(registro.informes.size(), 1u);
    EXPECT_EQ(registro.informes[0].strMetodo, "CerrarConexion");
    EXPECT_EQ(registro.informes[0].numError, ado::err::InTransaction);
}

TEST_F(UtilidadesConexion, ServidorInalcanzableVaAlGestorDeErrores) {
    ::setenv("BREZAL_SQLSERVER_ODBC_DRIVER", "Controlador inexistente", 1);
    for (const TipoOrigenDatos numMotor : {dnSQLServer, dnSQLServer2008, dnAccess})
        EXPECT_FALSE(acceso.ExisteBaseDatosSQLServer("S @PROV:SQLNCLI10", "D", "u", "secreta", numMotor));
    ::unsetenv("BREZAL_SQLSERVER_ODBC_DRIVER");
    ASSERT_EQ(registro.informes.size(), 3u);
    for (const pruebas::Informe& i : registro.informes) {
        EXPECT_EQ(i.strMetodo, "ExisteBaseDatosSQLServer");
        EXPECT_EQ(i.strDescripcion.find("secreta"), std::string::npos);
    }
    EXPECT_TRUE(Dialogos().empty());
}

TEST_F(UtilidadesConexion, CompactarEnElSitioYEnOtroArchivo) {
    struct Caso {
        const char* strCaso;
        std::string strDestino;  // as passed; the compacted file is it, or the source
        TipoOrigenDatos numTipoBD;
        bool blnCompacta;
    };
    const Caso casos[] = {
        {"en el sitio", "", dnAccess, true},
        {"en otro archivo", carpeta.file("copia.mdb"), dnAccess, true},
        {"otro motor: nada que hacer", carpeta.file("nada.mdb"), dnSQLServer, false},
    };
    int numOrigen = 0;
    for (const Caso& c : casos) {
        const std::string origen =
            c.strDestino.empty() ? archivo : ConNotasBorradas("origen" + std::to_string(++numOrigen) + ".mdb");
        const fs::path compactado = c.strDestino.empty() ? fs::path(origen) : fs::path(c.strDestino);
        const uintmax_t antes = fs::file_size(origen);
        EXPECT_TRUE(acceso.CompactarBaseDatos(origen, c.strDestino, c.numTipoBD)) << c.strCaso;
        EXPECT_EQ(fs::exists(compactado) && fs::file_size(compactado) * 4 < antes, c.blnCompacta) << c.strCaso;
        if (c.blnCompacta) {
            EXPECT_EQ(Notas(compactado), 5) << c.strCaso;
        }
    }
    EXPECT_TRUE(registro.informes.empty());
}

TEST_F(UtilidadesConexion, CompactarSinTocarNingunArchivoAlFallar) {
    const std::string existente = carpeta.file("existente.mdb");
    ado::CreateDatabase(testsupport::JetConnectionString(existente));
    struct Caso {
        const char* strCaso;
        std::string strOrigen, strDestino;
        int32_t numTipoJet;
    };
    const Caso casos[] = {
        {"destino que ya existe", archivo, existente, 5},
        {"carpeta de destino que no existe", archivo, carpeta.file("no/copia.mdb"), 5},
        {"origen que no existe", carpeta.file("no.mdb"), carpeta.file("copia.mdb"), 5},
        {"tipo de motor desconocido", archivo, "", 9},
    };
    const std::string original = Bytes(archivo), otro = Bytes(existente);
    for (const Caso& c : casos) {
        EXPECT_FALSE(acceso.CompactarBaseDatos(c.strOrigen, c.strDestino, dnAccess, c.numTipoJet)) << c.strCaso;
        EXPECT_EQ(Bytes(archivo), original) << c.strCaso;
    }
    EXPECT_EQ(Bytes(existente), otro);
    EXPECT_EQ(std::distance(fs::directory_iterator(carpeta.path()), fs::directory_iterator()), 2);
    ASSERT_EQ(registro.informes.size(), std::size(casos));
    for (const pruebas::Informe& i : registro.informes) {
        EXPECT_EQ(i.strMetodo, "CompactarBaseDatos");
        EXPECT_EQ(i.strDescripcion.find(ClaveBaseDatos), std::string::npos) << i.strDescripcion;
    }
    EXPECT_TRUE(Dialogos().empty());
}

}  // namespace
