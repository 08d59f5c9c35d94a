// Events: every connected sink in connection order, by-reference arguments passed on from
// sink to sink and read back, connections changed inside a handler, sinks that throw.
#include <gtest/gtest.h>

#include <stdexcept>

#include "quimera/apoyo/EntornoQuimera.h"

namespace {

using namespace quimera;

class Eventos : public pruebas::EntornoQuimera {};

// Appends its mark to the new path and notes what it saw.
struct Marcador : clsTransaccionesEventos {
    explicit Marcador(std::string marca, std::vector<std::string>& visto) : marca(std::move(marca)), visto(visto) {}
    void CambiaRutaHost(const std::string& strRutaAntigua, std::string& strRutaNueva) override {
        visto.push_back(marca + ":" + strRutaAntigua + ">" + strRutaNueva);
        strRutaNueva += marca;
        if (accion) accion();
    }
    std::string marca;
    std::vector<std::string>& visto;
    std::function<void()> accion;
};

TEST_F(Eventos, CadaSumideroVeLoQueDejoElAnteriorYUnoQueFallaNoEstropeaElObjeto) {
    clsTransacciones t;
    std::vector<std::string> visto;
    Marcador a("/a", visto), b("/b", visto);
    t.ConectarEventos(a);
    t.ConectarEventos(b);
    t.ConectarEventos(a);  // connected once only
    t.RutaHost("x");
    t.RutaHost("x");  // the same value raises the event again
    EXPECT_EQ(visto, (std::vector<std::string>{"/a:>x", "/b:>x/a", "/a:x/a/b>x", "/b:x/a/b>x/a"}));
    EXPECT_EQ(t.RutaHost(), "x/a/b");

    a.accion = [] { throw std::runtime_error("manejador"); };
    EXPECT_THROW(t.RutaHost("y"), std::runtime_error);
    EXPECT_EQ(t.RutaHost(), "x/a/b");
    a.accion = nullptr;
    t.RutaHost("z");
    EXPECT_EQ(t.RutaHost(), "z/a/b");
}

TEST_F(Eventos, DesconectarDentroDeUnManejador) {
    clsTransacciones t;
    std::vector<std::string> visto;
    Marcador a("/a", visto), b("/b", visto), c("/c", visto);
    for (Marcador* m : {&a, &b, &c}) t.ConectarEventos(*m);
    a.accion = [&] {
        t.DesconectarEventos(b);  // b is not called any more, even in this raise
        t.DesconectarEventos(a);
    };
    t.RutaHost("x");
    t.RutaHost("y");
    EXPECT_EQ(visto, (std::vector<std::string>{"/a:>x", "/c:>x/a", "/c:x/a/c>y"}));
    EXPECT_EQ(t.RutaHost(), "y/c");
}

}  // namespace
