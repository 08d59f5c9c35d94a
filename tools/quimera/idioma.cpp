#include "idioma.h"

#include <memory>

#include "quimera/components/babelia.h"

namespace tool {

std::string T(std::string_view spanish) {
    // The process's language, read once.
    static const std::shared_ptr<babelia::Regional> regional = babelia::CrearRegional();
    return regional->Traducir(std::string(spanish));
}

}  // namespace tool
