// Search, position and selection, filters and temporary indexes through clsAccesoDatos and
// clsDatosAvanzado, over the customers file (A Ana León, B Luis Ávila, C Eva Soria).
#include <gtest/gtest.h>

#include "quimera/editing/Mundo.h"

namespace {

using namespace pruebas;

// Notes each RegistroEncontrado as "old>new" (bookmarks as numbers, "-" for Empty).
struct Encontrados : quimera::clsAccesoDatosEventos {
    void RegistroEncontrado(const ado::Variant& a, const ado::Variant& n) override {
        auto texto = [](const ado::Variant& v) { return v.IsEmpty() ? std::string("-") : std::to_string(v.ToInt32()); };
        lista += (lista.empty() ? "" : ", ") + texto(a) + ">" + texto(n);
    }
    std::string lista;
};

class Navegacion : public EntornoQuimera {
protected:
    Navegacion() { m.acceso.ConectarEventos(encontrados); }
    static std::string Codigo(const Rs& rs) {
        return rs->adoEOF() ? "EOF" : rs->BOF() ? "BOF" : rs->Fields()["Codigo"].Value().ToString();
    }
    static std::string Codigos(const Rs& rs) {
        std::string out;
        for (rs->MoveFirst(); !rs->adoEOF(); rs->MoveNext()) out += Codigo(rs);
        return out;
    }
    Mundo m;
    Encontrados encontrados;
};

TEST_F(Navegacion, LaFamiliaDeBusquedaSigueSusReglasDeEncontrado) {
    Rs rs = m.Clientes();
    EXPECT_TRUE(m.acceso.BuscarSiguiente(rs, ado::Variant("Ciudad <> Null")));
    EXPECT_TRUE(m.acceso.BuscarSiguiente(rs, ado::Variant("Ciudad <> Null")));
    EXPECT_EQ(Codigo(rs), "C");
    EXPECT_FALSE(m.acceso.BuscarSiguiente(rs, ado::Variant("Ciudad <> Null")));  // the last match: stays
    EXPECT_EQ(Codigo(rs), "C");
    EXPECT_TRUE(m.acceso.BuscarPrimero(rs, ado::Variant("Nombre LIKE 'a*'")));  // before the current record
    EXPECT_EQ(Codigo(rs), "A");
    EXPECT_FALSE(m.acceso.BuscarPrimero(rs, ado::Variant("Ciudad = 'Lugo'")));  // stays on A
    EXPECT_EQ(Codigo(rs), "A");
    EXPECT_TRUE(m.acceso.BuscarUltimo(rs, ado::Variant("Ciudad > 'B'")));
    EXPECT_EQ(Codigo(rs), "C");
    EXPECT_TRUE(m.acceso.BuscarAnterior(rs, ado::Variant("Ciudad > 'B'")));
    EXPECT_EQ(Codigo(rs), "A");
    EXPECT_EQ(encontrados.lista, "1>2, 2>3, 3>1, 1>3, 3>1");

    encontrados.lista.clear();
    rs->MoveLast();
    rs->MoveNext();  // at EOF: no old position to return to
    EXPECT_FALSE(m.acceso.BuscarPrimero(rs, ado::Variant("Ciudad = 'Lugo'")));
    EXPECT_TRUE(rs->adoEOF());
    EXPECT_FALSE(m.acceso.BuscarUltimo(rs, ado::Variant("Ciudad = 'Lugo'")));
    EXPECT_TRUE(rs->BOF());
    EXPECT_TRUE(m.acceso.BuscarPrimero(rs, ado::Variant("Ciudad = 'ávila'")));
    EXPECT_EQ(encontrados.lista, "->2");
    EXPECT_TRUE(m.acceso.Buscar(rs, ado::Variant("Codigo <> 'Z'"), 0, ado::adSearchBackward, ado::adBookmarkLast));
    EXPECT_EQ(Codigo(rs), "C");
    EXPECT_TRUE(Informados().empty());
    EXPECT_TRUE(Dialogos().empty());
}

TEST_F(Navegacion, BuscarRegistroConcatenaSinComillasYNoAbreOtraClausula) {
    Rs rs = m.Clientes();
    EXPECT_TRUE(m.acceso.BuscarRegistro(rs, ado::Variant("'B'"), "Codigo"));
    EXPECT_EQ(Codigo(rs), "B");
    Rs pedidos = m.Abrir("SELECT * FROM Pedidos ORDER BY Numero");
    EXPECT_TRUE(m.acceso.BuscarRegistro(pedidos, ado::Variant(99), "Numero"));
    EXPECT_EQ(pedidos->Fields()["Importe"].Value().ToInt32(), 20);
    // A value that opens a second clause is a criterion Find refuses: a failure, no match.
    EXPECT_FALSE(m.acceso.BuscarRegistro(rs, ado::Variant("'Z' OR Codigo = 'C'"), "Codigo"));
    EXPECT_FALSE(m.acceso.BuscarRegistro(rs, ado::Variant(ado::Variant::Null), "Codigo"));  // "Codigo = "
    EXPECT_EQ(Codigo(rs), "B");
    EXPECT_EQ(Informados(), (std::vector<std::string>{"clsAccesoDatos.BuscarRegistro 3001",
                                                      "clsAccesoDatos.BuscarRegistro 3001"}));
    EXPECT_EQ(encontrados.lista, "1>2, 1>2");
}

TEST_F(Navegacion, LasBusquedasFallidasSeInformanYUnDesconectadoBuscaIgual) {
    Rs rs = m.Clientes();
    rs->MoveNext();
    EXPECT_FALSE(m.acceso.BuscarSiguiente(rs, ado::Variant("Ciudad = León")));       // not a criterion
    EXPECT_FALSE(m.acceso.BuscarPrimero(rs, ado::Variant(ado::Variant::Null)));       // no text
    EXPECT_FALSE(m.acceso.BuscarPrimero(rs, ado::Variant("Provincia = 'León'")));     // no such field
    Rs nulo;
    EXPECT_FALSE(m.acceso.Buscar(nulo, ado::Variant("Codigo = 'A'")));
    EXPECT_EQ(Informados(), (std::vector<std::string>{"clsAccesoDatos.BuscarSiguiente 3001",
                                                      "clsAccesoDatos.BuscarPrimero 94",
                                                      "clsAccesoDatos.BuscarPrimero 3265", "clsAccesoDatos.Buscar 91"}));
    EXPECT_EQ(Codigo(rs), "B");
    ASSERT_TRUE(m.acceso.AutoDesconectar(rs));
    EXPECT_TRUE(m.acceso.BuscarSiguiente(rs, ado::Variant("Nombre = 'EVA'")));
    EXPECT_EQ(Codigo(rs), "C");
}

TEST_F(Navegacion, PosicionYSeleccionPorMarcadores) {
    Rs rs = m.Clientes();
    const ado::Variant a = rs->Bookmark();
    rs->MoveLast();
    const ado::Variant c = rs->Bookmark();
    EXPECT_TRUE(m.acceso.SeleccionaRegistro(rs, a));
    EXPECT_EQ(Codigo(rs), "A");
    EXPECT_FALSE(m.acceso.SeleccionaRegistro(rs, ado::Variant(40.0)));  // refused: silently
    EXPECT_EQ(Codigo(rs), "A");
    Rs vacio = m.Abrir("SELECT * FROM Clientes WHERE Codigo = 'Z'");
    EXPECT_FALSE(m.acceso.SeleccionaRegistro(vacio, a));

    EXPECT_TRUE(m.acceso.ControlDesplazamientoAdelante(rs));
    EXPECT_FALSE(m.acceso.ControlDesplazamientoAtras(rs));
    EXPECT_EQ(Codigo(rs), "A");
    rs->MoveLast();
    EXPECT_FALSE(m.acceso.ControlDesplazamientoAdelante(rs));
    EXPECT_TRUE(m.acceso.ControlDesplazamientoAtras(rs));
    EXPECT_EQ(Codigo(rs), "C");
    rs->MoveNext();
    EXPECT_FALSE(m.acceso.ControlDesplazamientoAdelante(rs));
    EXPECT_TRUE(rs->adoEOF());

    ado::SafeArray marcas({{0, 2}});
    marcas.At({0}) = c;
    marcas.At({1}) = a;
    ado::Variant varMarcas(marcas);
    EXPECT_EQ(m.acceso.SeleccionarRegistros(rs, varMarcas), rs);
    EXPECT_EQ(Codigos(rs), "AC");
    EXPECT_TRUE(Informados().empty());
    EXPECT_TRUE(Dialogos().empty());

    quimera::clsDatosAvanzado avanzado;
    rs->MoveFirst();
    EXPECT_EQ(avanzado.ObtenerPosicion(rs), a);
    rs->MovePrevious();
    EXPECT_TRUE(avanzado.ObtenerPosicion(rs).IsNull());
    Rs nulo;
    EXPECT_TRUE(avanzado.ObtenerPosicion(nulo).IsNull());
    EXPECT_TRUE(Dialogos().empty());
}

TEST_F(Navegacion, UnCursorSinMarcadoresNiRetrocesoLoDiceConElMensajeDelProveedor) {
    Rs rs = ado::Recordset::Create();
    rs->CursorLocation(ado::adUseServer);
    rs->Open("SELECT * FROM Clientes ORDER BY Codigo", m.cn, ado::adOpenForwardOnly, ado::adLockReadOnly);
    EXPECT_FALSE(m.acceso.ControlDesplazamientoAtras(rs));
    EXPECT_EQ(UltimoDialogo(), "Error de proveedor | Error de proveedor | "
                               "El proveedor no admite el método de desplazamiento hacia atrás | 2");
    quimera::clsDatosAvanzado avanzado;
    EXPECT_TRUE(avanzado.ObtenerPosicion(rs).IsNull());
    EXPECT_EQ(UltimoDialogo(), "Error de proveedor | Error de proveedor | El proveedor no admite marcadores | 2");
    EXPECT_EQ(Dialogos().size(), 2u);
    EXPECT_TRUE(Informados().empty());
}

TEST_F(Navegacion, FiltrosEIndicesTemporales) {
    Rs rs = m.Clientes();
    EXPECT_EQ(m.acceso.AplicarFiltro(rs, "Ciudad <> 'León'"), rs);
    EXPECT_EQ(Codigos(rs), "BC");
    EXPECT_EQ(m.acceso.QuitarFiltro(rs), rs);
    EXPECT_EQ(Codigos(rs), "ABC");
    EXPECT_EQ(m.acceso.AplicarFiltro(rs, "(Ciudad = 'León' OR Codigo = 'B') AND Nombre <> Null"), nullptr);
    EXPECT_TRUE(m.acceso.FiltroDirecto(rs, "Nombre LIKE '*a*'"));
    EXPECT_EQ(Codigos(rs), "AC");
    EXPECT_TRUE(m.acceso.FiltroDirecto(rs));
    EXPECT_EQ(rs->Filter(), ado::Variant(int32_t{ado::adFilterNone}));
    EXPECT_EQ(Codigos(rs), "ABC");

    m.acceso.CrearIndiceTemporal(rs, "Ciudad");
    EXPECT_EQ(rs->Sort(), "Ciudad ASCENDING");
    EXPECT_EQ(Codigos(rs), "BAC");
    m.acceso.CrearIndiceTemporal(rs, "Ciudad", "Nombre", "", "Codigo", false);
    EXPECT_EQ(rs->Sort(), "Ciudad,Nombre DESCENDING");
    m.acceso.CrearIndiceTemporal(rs, "Nombre", "", "", "", false);  // replaces the order before
    EXPECT_EQ(Codigos(rs), "BCA");
    m.acceso.BorrarIndicesTemporales(rs);
    EXPECT_EQ(rs->Sort(), "");
    EXPECT_EQ(Codigos(rs), "ABC");
    m.acceso.OptimizarCampo(rs, "Ciudad");
    EXPECT_EQ(rs->Fields()["Ciudad"].Properties().Item("Optimize").Value(), ado::Variant(true));
    m.acceso.DesoptimizarCampo(rs, "Ciudad");
    EXPECT_EQ(rs->Fields()["Ciudad"].Properties().Item("Optimize").Value(), ado::Variant(false));
    m.acceso.CrearIndiceTemporal(rs, "Provincia");
    EXPECT_EQ(Informados(), (std::vector<std::string>{"clsAccesoDatos.AplicarFiltro 3001",
                                                      "clsAccesoDatos.CrearIndiceTemporal 3265"}));

    // On a server cursor the index members touch nothing and report nothing.
    Rs servidor = m.Clientes(ado::adLockOptimistic, ado::adUseServer);
    m.cn->Errors().Append(ado::Error(-1, "previo", "prueba"));
    m.acceso.OptimizarCampo(servidor, "Ciudad");
    m.acceso.CrearIndiceTemporal(servidor, "Ciudad");
    m.acceso.BorrarIndicesTemporales(servidor);
    m.acceso.DesoptimizarCampo(servidor, "Provincia");
    EXPECT_EQ(servidor->Sort(), "");
    EXPECT_EQ(m.cn->Errors().Count(), 1);
    EXPECT_EQ(Informados().size(), 2u);
}

}  // namespace
