// The default file utility and its factory.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "components/fabrica.h"
#include "quimera/components/utilidades.h"

namespace utilidades {

namespace {

namespace fs = std::filesystem;

class UtilidadArchivoPredeterminada final : public UtilidadArchivo {
public:
    bool Existe(const std::string& strRuta, bool blnIncluirCarpetas) const override {
        std::error_code ec;
        const fs::file_status estado = fs::status(strRuta, ec);
        return fs::is_regular_file(estado) || (blnIncluirCarpetas && fs::is_directory(estado));
    }

    bool Borrar(const std::string& strRuta, bool blnSoloArchivos) const override {
        std::error_code ec;
        const fs::file_status estado = fs::symlink_status(strRuta, ec);
        if (ec || (blnSoloArchivos && fs::is_directory(estado))) return false;
        return fs::remove(strRuta, ec) && !ec;
    }

    bool Reemplazar(const std::string& strOrigen, const std::string& strDestino) const override {
        // A file marked read-only stays, whoever runs the program.
        std::error_code ec;
        const fs::file_status destino = fs::status(strDestino, ec);
        if (fs::exists(destino) && (destino.permissions() & fs::perms::owner_write) == fs::perms::none) return false;
        return std::rename(strOrigen.c_str(), strDestino.c_str()) == 0;
    }
};

FabricaUtilidadArchivo& Fabrica() {
    static FabricaUtilidadArchivo fabrica;
    return fabrica;
}

}  // namespace

std::unique_ptr<UtilidadArchivo> CrearUtilidadArchivoPredeterminada() {
    return std::make_unique<UtilidadArchivoPredeterminada>();
}

void InstalarFabricaUtilidadArchivo(FabricaUtilidadArchivo fabrica) { Fabrica() = std::move(fabrica); }

std::unique_ptr<UtilidadArchivo> CrearUtilidadArchivo() {
    return componentes::CrearConFabrica(Fabrica(), &CrearUtilidadArchivoPredeterminada);
}

}  // namespace utilidades
