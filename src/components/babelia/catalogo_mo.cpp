#include "components/babelia/catalogo_mo.h"

#include <cstdint>
#include <fstream>
#include <iterator>

namespace babelia::detalle {

namespace {

constexpr uint32_t kMagia = 0x950412de;
constexpr uint32_t kMagiaInvertida = 0xde120495;
constexpr uintmax_t kTamanoMaximo = 64u << 20;  // far above any catalogue of ours
constexpr size_t kCabecera = 20;                // magic, revision, count, two table offsets

class Lector {
public:
    explicit Lector(std::string_view datos) : datos_(datos) {}

    bool Palabra(size_t offset, uint32_t& valor) const {
        if (offset > datos_.size() || datos_.size() - offset < 4) return false;
        const auto* b = reinterpret_cast<const unsigned char*>(datos_.data() + offset);
        valor = invertido_ ? (uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3])
                           : (uint32_t{b[3]} << 24 | uint32_t{b[2]} << 16 | uint32_t{b[1]} << 8 | b[0]);
        return true;
    }

    void Invertir() { invertido_ = true; }

    // The string described by the (length, offset) pair at descriptor, up to its first NUL
    // (a plural entry holds its forms one after another, NUL-separated).
    bool Cadena(size_t descriptor, std::string_view& cadena) const {
        uint32_t longitud = 0, offset = 0;
        if (!Palabra(descriptor, longitud) || !Palabra(descriptor + 4, offset)) return false;
        if (offset > datos_.size() || datos_.size() - offset < longitud) return false;
        cadena = datos_.substr(offset, longitud);
        cadena = cadena.substr(0, cadena.find('\0'));
        return true;
    }

private:
    std::string_view datos_;
    bool invertido_ = false;
};

}  // namespace

bool CatalogoMo::Leer(const std::filesystem::path& ruta) {
    textos_.clear();
    std::error_code ec;
    const uintmax_t tamano = std::filesystem::file_size(ruta, ec);
    if (ec || tamano > kTamanoMaximo) return false;
    std::ifstream archivo(ruta, std::ios::binary);
    const std::string datos{std::istreambuf_iterator<char>(archivo), std::istreambuf_iterator<char>()};
    if (!archivo.good() && !archivo.eof()) return false;
    if (Analizar(datos)) return true;
    textos_.clear();
    return false;
}

bool CatalogoMo::Analizar(std::string_view datos) {
    if (datos.size() < kCabecera) return false;
    Lector lector(datos);
    uint32_t magia = 0, revision = 0, cuenta = 0, originales = 0, traducciones = 0;
    lector.Palabra(0, magia);
    if (magia == kMagiaInvertida) lector.Invertir();
    else if (magia != kMagia) return false;
    lector.Palabra(4, revision);
    lector.Palabra(8, cuenta);
    lector.Palabra(12, originales);
    lector.Palabra(16, traducciones);
    if ((revision >> 16) > 1) return false;  // major revisions 0 and 1 share this layout
    for (uint32_t i = 0; i < cuenta; ++i) {
        std::string_view msgid, msgstr;
        if (!lector.Cadena(originales + size_t{i} * 8, msgid) ||
            !lector.Cadena(traducciones + size_t{i} * 8, msgstr))
            return false;
        if (!msgid.empty() && !msgstr.empty()) textos_.emplace(msgid, msgstr);  // "" is the header
    }
    return true;
}

const std::string* CatalogoMo::Buscar(const std::string& msgid) const {
    const auto it = textos_.find(msgid);
    return it == textos_.end() ? nullptr : &it->second;
}

}  // namespace babelia::detalle
