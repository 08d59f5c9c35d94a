// Saving and loading recordset files through clsAccesoDatos: the refusals with their event,
// a file replaced only once the new one is complete (a refusing file utility and a temporary
// file that cannot be made leave the old one whole), loading and sending a file's batch.
#include <gtest/gtest.h>

#include <filesystem>

#include "quimera/editing/Mundo.h"

namespace {

using namespace pruebas;
using testsupport::FileBytes;

// Notes ErrorSalvandoRecordset with its kind and whether the reference was set.
struct Salvado : Sucesos {
    void ErrorSalvandoRecordset(Rs& rs, quimera::ErroresSalvarRecordset n) override {
        Nota("ErrorSalvandoRecordset " + std::to_string(n) + (rs ? "" : " sin recordset"));
    }
};

// A file utility that refuses to replace files, installed for the life of the object.
class UtilidadQueNoReemplaza {
public:
    UtilidadQueNoReemplaza() {
        utilidades::InstalarFabricaUtilidadArchivo([] { return std::make_unique<Utilidad>(); });
    }
    ~UtilidadQueNoReemplaza() { utilidades::InstalarFabricaUtilidadArchivo({}); }

private:
    struct Utilidad final : utilidades::UtilidadArchivo {
        bool Existe(const std::string& r, bool c) const override { return real->Existe(r, c); }
        bool Borrar(const std::string& r, bool s) const override { return real->Borrar(r, s); }
        bool Reemplazar(const std::string&, const std::string&) const override { return false; }
        std::unique_ptr<utilidades::UtilidadArchivo> real = utilidades::CrearUtilidadArchivoPredeterminada();
    };
};

class SalvarCargar : public EntornoQuimera {
protected:
    SalvarCargar() { m.acceso.ConectarEventos(salvado); }
    std::string Ruta(const std::string& nombre) const { return m.db.dir().file(nombre); }
    std::vector<std::string> Archivos() const { return testsupport::FilesBesideDatabases(m.db.dir().path()); }

    Mundo m;
    Salvado salvado;
};

TEST_F(SalvarCargar, LasNegativasDanSuEventoYNadaMas) {
    Rs nada;
    EXPECT_FALSE(m.acceso.SalvarRecordset(nada, Ruta("x.adtg")));
    Rs cerrado = ado::Recordset::Create();
    EXPECT_FALSE(m.acceso.SalvarRecordset(cerrado, Ruta("x.adtg")));
    EXPECT_FALSE(m.acceso.ReSalvarRecordset(nada));
    EXPECT_FALSE(m.acceso.ReSalvarRecordset(cerrado));
    Rs abierto = m.Clientes();
    EXPECT_FALSE(m.acceso.ReSalvarRecordset(abierto)) << "never saved nor read from a file";
    EXPECT_EQ(salvado.lista,
              "ErrorSalvandoRecordset 1 sin recordset, ErrorSalvandoRecordset 2, ErrorSalvandoRecordset 1 sin recordset, "
              "ErrorSalvandoRecordset 2, ErrorSalvandoRecordset 0");
    EXPECT_EQ(Informados(), std::vector<std::string>{"clsAccesoDatos.ReSalvarRecordset 3001"});
    EXPECT_TRUE(Dialogos().empty());
    EXPECT_TRUE(Archivos().empty());
    const std::string antes = salvado.lista;
    EXPECT_EQ(m.acceso.CargarRecordset(Ruta("no_esta.adtg")), nullptr);
    EXPECT_EQ(salvado.lista, antes) << "loading a missing file says nothing";
    EXPECT_EQ(Informados().size(), 1u);
}

TEST_F(SalvarCargar, ElArchivoAntiguoSoloSeReemplazaConElNuevoCompleto) {
    const std::string ruta = Ruta("clientes.xml");
    Rs rs = m.Clientes();
    ASSERT_TRUE(m.acceso.SalvarRecordset(rs, ruta, ado::adPersistXML));
    EXPECT_EQ(rs, nullptr) << "blnCerrar closes the recordset and empties the reference";
    const std::string antiguo = FileBytes(ruta);
    m.Otro("UPDATE Clientes SET Ciudad = 'Vigo'");
    {
        UtilidadQueNoReemplaza utilidad;
        rs = m.Clientes();
        EXPECT_FALSE(m.acceso.SalvarRecordset(rs, ruta, ado::adPersistXML));
        EXPECT_EQ(salvado.lista, "ErrorSalvandoRecordset 3");
        EXPECT_EQ(rs->State(), ado::adStateOpen);
        EXPECT_EQ(FileBytes(ruta), antiguo);
        EXPECT_EQ(Archivos(), std::vector<std::string>{"clientes.xml"}) << "the new file does not stay";
    }
    EXPECT_TRUE(m.acceso.SalvarRecordset(rs, ruta, ado::adPersistXML, false));
    EXPECT_EQ(Columna(m.acceso.CargarRecordset(ruta)), "A,B,C");
    EXPECT_NE(FileBytes(ruta).find("Ciudad='Vigo'"), std::string::npos);
    // Kept open, it saves again to that same file, not to the one it was written through.
    rs->MoveFirst();
    rs->Fields()["Nombre"].Value("Ana María");
    rs->Update();
    EXPECT_TRUE(m.acceso.ReSalvarRecordset(rs));
    EXPECT_NE(FileBytes(ruta).find("Nombre='Ana María'"), std::string::npos);
    EXPECT_EQ(Archivos(), std::vector<std::string>{"clientes.xml"});
    EXPECT_TRUE(Informados().empty());
}

TEST_F(SalvarCargar, SinArchivoTemporalNoSeTocaElAntiguo) {
    // A name so long that no longer name fits beside it: the temporary file cannot be made.
    const std::string ruta = Ruta(std::string(250, 'n'));
    Rs rs = m.Clientes();
    ASSERT_TRUE(m.acceso.SalvarRecordset(rs, ruta, ado::adPersistADTG));
    const std::string antiguo = FileBytes(ruta);
    rs = m.Clientes();
    EXPECT_FALSE(m.acceso.SalvarRecordset(rs, ruta, ado::adPersistXML));
    EXPECT_EQ(salvado.lista, "ErrorSalvandoRecordset 0");
    ASSERT_EQ(registro.informes.size(), 1u);
    EXPECT_EQ(Informados(), std::vector<std::string>{"clsAccesoDatos.SalvarRecordset -2147467259"});
    const std::string esperado = "No se pudo escribir el archivo. (no se pudo crear el archivo para '" + ruta + ".~";
    EXPECT_EQ(registro.informes[0].strDescripcion.substr(0, esperado.size()), esperado);
    EXPECT_EQ(FileBytes(ruta), antiguo);
}

TEST_F(SalvarCargar, UnArchivoCargadoSeReSalvaYSuLoteLlegaALaBaseDeDatos) {
    const std::string ruta = Ruta("lote.adtg");
    Rs rs = m.Abrir("SELECT * FROM Clientes ORDER BY Codigo", ado::adLockBatchOptimistic);
    rs->Fields()["Ciudad"].Value("Lugo");
    rs->Update();
    ASSERT_TRUE(m.acceso.SalvarRecordset(rs, ruta));
    Rs cargado = m.acceso.CargarRecordset(ruta);
    ASSERT_NE(cargado, nullptr);
    EXPECT_EQ(std::make_tuple(cargado->LockType(), cargado->ActiveConnection(), cargado->PersistedFile()),
              std::make_tuple(ado::adLockBatchOptimistic, ado::ConnectionPtr(), ruta));
    cargado->MoveLast();
    cargado->Fields()["Ciudad"].Value("Zamora");
    cargado->Update();
    EXPECT_TRUE(m.acceso.ReSalvarRecordset(cargado));
    Rs enviado;
    EXPECT_TRUE(m.acceso.ObtenerDatosDesdeFichero(m.cn, ruta, "", enviado));
    EXPECT_EQ(enviado->ActiveConnection(), m.cn);
    EXPECT_EQ(m.Valor("SELECT Ciudad FROM Clientes WHERE Codigo = 'A'"), "Lugo");
    EXPECT_EQ(m.Valor("SELECT Ciudad FROM Clientes WHERE Codigo = 'C'"), "Zamora");
    EXPECT_TRUE(Informados().empty());
}

// A row the engine refuses (another user's lock, a missing customer) comes back from the batch
// with its own error in Errors: ErrorActualizar in batch mode, then the data-error report.
TEST_F(SalvarCargar, LosFallosDelLoteDeUnArchivo) {
    const std::string ruta = Ruta("pedidos.adtg");
    Rs rs = m.Abrir("SELECT * FROM Pedidos ORDER BY Numero", ado::adLockBatchOptimistic);
    rs->Fields()["Codigo"].Value("Z");  // no such customer
    rs->Update();
    ASSERT_TRUE(m.acceso.SalvarRecordset(rs, ruta));
    EXPECT_FALSE(m.acceso.ObtenerDatosDesdeFichero(m.cn, ruta));
    EXPECT_EQ(m.sucesos.lista, "ErrorActualizar -2147217887 1, ErroresADO 3201");
    EXPECT_EQ(UltimoDialogo(),
              "Error de acceso a datos | Error de acceso a datos en la clase: Quimera | Descripción: No se puede agregar "
              "o cambiar el registro porque se necesita un registro relacionado en otra tabla. (motor: FOREIGN KEY "
              "constraint failed). Origen: Microsoft JET Database Engine | 3");
    m.sucesos.lista.clear();
    const size_t antes = Dialogos().size();
    m.Transaccion();
    EXPECT_FALSE(m.acceso.ObtenerDatosDesdeFichero(m.cn, ruta));
    m.otro->RollbackTrans();
    EXPECT_EQ(m.sucesos.lista, "ErrorActualizar -2147217887 1, ErroresADO 3260");
    EXPECT_EQ(UltimoDialogo(antes), kInformeBloqueoEnLote);
    EXPECT_EQ(m.cn->Errors().Count(), 0);
    EXPECT_TRUE(Informados().empty());
}

}  // namespace
