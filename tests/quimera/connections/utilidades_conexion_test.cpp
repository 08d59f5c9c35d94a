// Testing and closing connections, and compaction of Access files with the fixed password.
#include <gtest/gtest.h>

#include <filesystem>

#include "quimera/apoyo/EntornoQuimera.h"

namespace {

using namespace quimera;
namespace fs = std::filesystem;

class UtilidadesConexion : public pruebas::EntornoQuimera {
protected:
    // A file with the fixed password: five notes left of a hundred.
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

    testsupport::TempDir carpeta;
    clsAccesoDatos acceso;
};

TEST_F(UtilidadesConexion, ConexionEstaAbiertaYCerrarConexion) {
    ado::ConnectionPtr nula, abierta = acceso.AbrirBaseDatos(ConNotasBorradas("datos.mdb")), guardada = abierta;
    EXPECT_FALSE(acceso.ConexionEstaAbierta(nula) || acceso.CerrarConexion(nula));
    EXPECT_TRUE(acceso.ConexionEstaAbierta(abierta));
    abierta->BeginTrans();
    EXPECT_FALSE(acceso.CerrarConexion(abierta));  // refused by the connection, reported
    abierta->RollbackTrans();
    EXPECT_TRUE(acceso.CerrarConexion(abierta, false));  // closed, the handle kept
    EXPECT_FALSE(acceso.ConexionEstaAbierta(abierta));
    EXPECT_TRUE(acceso.CerrarConexion(abierta));  // already closed: true, and now emptied
    EXPECT_TRUE(!abierta && guardada->State() == ado::adStateClosed);
    EXPECT_EQ(Informados(), std::vector{"clsAccesoDatos.CerrarConexion " + std::to_string(ado::err::InTransaction)});
}

TEST_F(UtilidadesConexion, CompactarBaseDatos) {
    const std::string archivo = ConNotasBorradas("datos.mdb"), otro = ConNotasBorradas("otro.mdb");
    const uintmax_t lleno = fs::file_size(archivo), llenoOtro = fs::file_size(otro);
    const std::tuple<std::string, TipoOrigenDatos, int32_t, bool> casos[] = {
        {"", dnAccess, 5, true},                                   // in place
        {carpeta.file("copia.mdb"), dnAccess, 5, true},            // into another file
        {carpeta.file("nada.mdb"), dnSQLServer, 5, true},          // nothing to do
        {otro, dnAccess, 5, false},                                // an existing destination
        {carpeta.file("no/copia.mdb"), dnAccess, 5, false},        // a missing folder
        {carpeta.file("copia4.mdb"), dnAccess, 9, false},          // an unknown engine type
    };
    for (const auto& [strDestino, numTipoBD, numTipoJet, blnHecho] : casos)
        EXPECT_EQ(acceso.CompactarBaseDatos(archivo, strDestino, numTipoBD, numTipoJet), blnHecho) << strDestino;
    for (const std::string& compactado : {archivo, carpeta.file("copia.mdb")}) {
        EXPECT_LT(fs::file_size(compactado) * 4, lleno);
        ado::ConnectionPtr cn = acceso.AbrirBaseDatos(compactado);  // with the fixed password
        EXPECT_EQ(cn->Execute("SELECT COUNT(*) FROM Notas")->Fields()[0].Value().ToInt32(), 5);
    }
    EXPECT_EQ(fs::file_size(otro), llenoOtro);
    const auto databases = std::count_if(fs::directory_iterator(carpeta.path()), fs::directory_iterator(),
                                         [](const auto& e) { return e.path().extension() != ".ldb"; });
    EXPECT_EQ(databases, 3);  // the use-lock files beside them aside
    ASSERT_EQ(registro.informes.size(), 3u);
    for (const pruebas::Informe& i : registro.informes) {
        EXPECT_EQ(i.strMetodo, "CompactarBaseDatos");
        EXPECT_EQ(i.strDescripcion.find(ClaveBaseDatos), std::string::npos) << i.strDescripcion;
    }
}

}  // namespace
