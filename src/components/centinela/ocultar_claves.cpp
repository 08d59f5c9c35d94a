// Masking of connection-string passwords before anything is written: the ADO layer's.
#include "quimera/components/centinela.h"

#include "ado/Error.h"

namespace centinela {

std::string OcultarClaves(std::string_view texto) { return ado::MaskPasswords(texto); }

}  // namespace centinela
