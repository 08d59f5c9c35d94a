// The silent second attempt, seen from the server's side: a listening socket that hangs up
// on every caller counts how often the SQL Server driver (FreeTDS) knocks for each member.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <thread>

#include "quimera/apoyo/EntornoQuimera.h"

namespace {

using namespace quimera;

class ServidorQueCuelga {
public:
    ServidorQueCuelga() {
        escucha_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in direccion{};
        direccion.sin_family = AF_INET;
        direccion.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t largo = sizeof direccion;
        ::bind(escucha_, reinterpret_cast<sockaddr*>(&direccion), largo);
        ::listen(escucha_, 16);
        ::getsockname(escucha_, reinterpret_cast<sockaddr*>(&direccion), &largo);
        puerto_ = ntohs(direccion.sin_port);
        hilo_ = std::thread([this] {
            for (int cliente; (cliente = ::accept(escucha_, nullptr, nullptr)) >= 0;) {
                ++llamadas_;
                ::close(cliente);
            }
        });
    }
    ~ServidorQueCuelga() {
        ::shutdown(escucha_, SHUT_RDWR);
        hilo_.join();
        ::close(escucha_);
    }

    std::string Nombre() const { return "127.0.0.1," + std::to_string(puerto_); }
    // The calls received since the last time it was asked.
    int Llamadas() { return llamadas_.exchange(0); }

private:
    int escucha_ = -1;
    int puerto_ = 0;
    std::atomic<int> llamadas_{0};
    std::thread hilo_;
};

class SegundoIntento : public pruebas::EntornoQuimera {
protected:
    ServidorQueCuelga servidor;
    clsAccesoDatos acceso;
};

TEST_F(SegundoIntento, UnaLlamadaMasSinAvisoNiInforme) {
    EXPECT_FALSE(acceso.ExisteBaseDatosSQLServer(servidor.Nombre(), "D", "u", "secreta", dnSQLServer));
    const int porIntento = servidor.Llamadas();
    if (porIntento == 0) GTEST_SKIP() << "no SQL Server driver reached the socket";

    // ExisteBaseDatosSQLServer tries again with SQL Native Client engines only; AbrirBaseDatos
    // with every SQL Server engine, its string changed or not.
    const auto abrir = [&](TipoOrigenDatos numMotor) {
        return acceso.AbrirBaseDatosSQLServer(servidor.Nombre(), "D", "u", "secreta", numMotor) != nullptr;
    };
    const std::function<bool()> miembros[] = {
        [&] { return acceso.ExisteBaseDatosSQLServer(servidor.Nombre(), "D", "u", "secreta", dnSQLServer2005); },
        [&] { return abrir(dnSQLServer); },
        [&] { return abrir(dnSQLServer2008); },
    };
    acceso.MostrarMensajes(true);  // not even then does the first failure show
    for (const auto& llamar : miembros) {
        EXPECT_FALSE(llamar());
        EXPECT_EQ(servidor.Llamadas(), 2 * porIntento);
    }
    // Only the last failures are told: one report, then one message per opening.
    ASSERT_EQ(registro.informes.size(), 2u);
    for (const auto& i : registro.informes) EXPECT_EQ(i.strDescripcion.find("secreta"), std::string::npos);
    ASSERT_EQ(Dialogos().size(), 2u);
    EXPECT_EQ(Dialogos()[0].strTitulo + Dialogos()[1].strTitulo, "Error de conexiónError de conexión");
}

}  // namespace
