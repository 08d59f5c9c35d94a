// clsCampos: a keyed collection of field descriptors that numbers each one it adds.
//
// Ownership: a plain object the client creates; it owns the descriptors it holds (shared
// handles). Threads: one thread at a time. Errors: the collection's failures are ado::Error
// (see ColeccionCampos.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "ado/Variant.h"
#include "quimera/ColeccionCampos.h"
#include "quimera/Eventos.h"
#include "quimera/ObjetoQuimera.h"
#include "quimera/clsCampo.h"

namespace quimera {

class clsCampos : public ObjetoQuimera<clsCamposEventos> {
public:
    // Creates the error manager, then the empty collection.
    clsCampos();
    ~clsCampos() override;

    std::string Nombre() const { return "Campos"; }
    void InicializarPropiedades(const std::string& strRuta = "");

    // Numbers the descriptor (Contador: one above the highest present, 1 in an empty
    // collection), names it "Campos" + that number (Id) and adds it with its Id as key.
    // Failures (an unset descriptor, a duplicate key) reach the caller.
    void Agregar(const clsCampoPtr& NuevoObjeto);
    // Removes the entry with that key or position; a missing one is a failure for the caller.
    void Borrar(const ado::Variant& IDNuevoObjeto);
    // The entry with that key or position; unset after reporting a failure when there is none.
    clsCampoPtr Objeto(const ado::Variant& varKey);
    int32_t Cuenta() const;
    // Removes every entry, each by the key its Id names.
    void Limpiar();

    // The collection itself; writing it replaces it with the client's (an unset one too).
    std::shared_ptr<ColeccionCampos> Coleccion() const { return colCampos_; }
    void Coleccion(std::shared_ptr<ColeccionCampos> colCampos) { colCampos_ = std::move(colCampos); }

private:
    std::string_view ClaseInforme() const override { return "clsCampos"; }
    int32_t SiguienteContador() const;
    ColeccionCampos& ColeccionEstablecida() const;

    std::shared_ptr<ColeccionCampos> colCampos_;
};

}  // namespace quimera
