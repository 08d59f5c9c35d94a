#include "ado/Error.h"

#include "ado/ErrorNumbers.h"

namespace ado {

Error::Error(int32_t number, std::string description, std::string source, std::string sqlState,
             int32_t nativeError)
    : std::runtime_error(description),
      number_(number),
      description_(std::move(description)),
      source_(std::move(source)),
      sqlState_(std::move(sqlState)),
      nativeError_(nativeError) {
    Compose();
}

void Error::Statement(std::string_view text) {
    if (!statement_.empty() || text.empty()) return;
    statement_ = MaskPasswords(text);
    Compose();
}

void Error::Compose() {
    message_ = description_;
    if (!sqlState_.empty())
        message_ += " [SQLSTATE " + sqlState_ + ", error nativo " + std::to_string(nativeError_) + "]";
    if (!statement_.empty()) message_ += " en la instrucción: " + statement_;
}

const Error& Errors::Item(int32_t index) const {
    if (index < 0 || index >= Count())
        throw Error(err::ItemNotFound,
                    "No se encontró el elemento en la colección correspondiente al nombre o número solicitado.");
    return items_[static_cast<size_t>(index)];
}

}  // namespace ado
