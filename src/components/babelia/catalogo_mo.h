// A compiled gettext catalogue (.mo) read into memory: message id to translation.
// Our own reader keeps translation free of the process's locale and textdomain state.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

namespace babelia::detalle {

class CatalogoMo {
public:
    // Reads the file; false (and an empty catalogue) when it is missing or malformed.
    // Either byte order is accepted. Of a plural entry only the singular forms are kept.
    bool Leer(const std::filesystem::path& ruta);

    // The translation of msgid, or nullptr when the catalogue has none.
    const std::string* Buscar(const std::string& msgid) const;

    size_t Tamano() const { return textos_.size(); }

    // Leer on the file's bytes already in memory.
    bool Analizar(std::string_view datos);

private:

    std::unordered_map<std::string, std::string> textos_;
};

}  // namespace babelia::detalle
