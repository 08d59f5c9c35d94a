// The default error manager: one log line per report, answer "abandon".
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>

#include <fmt/format.h>

#include "quimera/components/centinela.h"
#include "components/fabrica.h"

namespace centinela {

namespace {

namespace fs = std::filesystem;

std::string HoraLocal() {
    const std::time_t ahora = std::time(nullptr);
    std::tm partes{};
    localtime_r(&ahora, &partes);
    return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}", partes.tm_year + 1900, partes.tm_mon + 1,
                       partes.tm_mday, partes.tm_hour, partes.tm_min, partes.tm_sec);
}

// A field as it goes into the line: passwords masked, no tab or line break left.
std::string Campo(const std::string& texto) {
    std::string campo = OcultarClaves(texto);
    for (char& c : campo)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return campo;
}

// Appends the whole line with one write, so lines of several processes do not mix.
// Returns 0 or the errno of the failure.
int Anexar(const fs::path& ruta, const std::string& linea) {
    std::error_code ec;
    fs::create_directories(ruta.parent_path(), ec);
    const int fd = ::open(ruta.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return errno;
    const ssize_t escritos = ::write(fd, linea.data(), linea.size());
    const int error = escritos < 0 ? errno : (static_cast<size_t>(escritos) < linea.size() ? EIO : 0);
    return ::close(fd) != 0 && error == 0 ? errno : error;
}

class GestorErroresPredeterminado final : public GestorErrores {
public:
    void Inicializar(bool blnRegistrar, const std::string&, const std::string& strCarpeta) override {
        registrar_ = blnRegistrar;
        carpeta_ = strCarpeta;
    }

    int32_t Informar(const std::string& strProyecto, const std::string& strClase, const std::string& strMetodo,
                     int32_t numError, const std::string& strDescripcion, const std::string& strOrigen,
                     const std::string&, const std::string&, const std::string&, int32_t, int32_t,
                     const std::string&) override {
        if (!registrar_) return DecisionAbandonar;
        const std::string linea =
            fmt::format("{}\t{}\t{}\t{}\t{}\t{}\t{}\n", HoraLocal(), Campo(strProyecto), Campo(strClase),
                        Campo(strMetodo), numError, Campo(strDescripcion), Campo(strOrigen));
        if (carpeta_.empty()) {
            std::fputs(linea.c_str(), stderr);
            return DecisionAbandonar;
        }
        const fs::path ruta = fs::path(carpeta_) / ArchivoRegistro;
        if (const int error = Anexar(ruta, linea); error != 0)
            std::fputs(fmt::format("centinela: no se puede escribir en {}: {}\n{}", ruta.string(),
                                   std::strerror(error), linea).c_str(), stderr);
        return DecisionAbandonar;
    }

private:
    bool registrar_ = true;
    std::string carpeta_;
};

FabricaGestorErrores& Fabrica() {
    static FabricaGestorErrores fabrica;
    return fabrica;
}

}  // namespace

std::unique_ptr<GestorErrores> CrearGestorErroresPredeterminado() {
    return std::make_unique<GestorErroresPredeterminado>();
}

void InstalarFabricaGestorErrores(FabricaGestorErrores fabrica) { Fabrica() = std::move(fabrica); }

std::unique_ptr<GestorErrores> CrearGestorErrores() {
    return componentes::CrearConFabrica(Fabrica(), &CrearGestorErroresPredeterminado);
}

}  // namespace centinela
