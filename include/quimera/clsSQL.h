// clsSQL: a SQL statement taken apart into its clauses and put together again.
#pragma once

#include <string>

#include "quimera/Enumeraciones.h"
#include "quimera/Eventos.h"
#include "quimera/ObjetoQuimera.h"

namespace quimera {

class clsSQL : public ObjetoQuimera<clsSQLEventos> {
public:
    clsSQL() = default;

    std::string Nombre() const { return "SQL"; }

    // Note the order: the statement kind comes first.
    void InicializarPropiedades(TipoSQL numTipoSQL = TipoJet, const std::string& strRuta = "");

    // The statement kind: stored and returned, nothing else.
    TipoSQL Tipo() const { return numTipo_; }
    void Tipo(TipoSQL numTipo) { numTipo_ = numTipo; }

private:
    std::string_view ClaseInforme() const override { return "clsSQL"; }

    TipoSQL numTipo_ = TipoJet;
};

}  // namespace quimera
