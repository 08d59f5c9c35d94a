// clsSQL: a SQL statement taken apart into its clauses and put together again.
//
// Ownership: a plain object the client creates and destroys; it owns its error manager
// and keeps no connection or recordset between calls (the client's handles come in by
// reference and may be replaced or emptied, as each member says). Threads: one object, with
// the ADO objects it is given, on one thread at a time; objects share nothing but the message
// dialog's busy mark. Errors: working members never throw: a failure goes to the error
// manager (and the message dialog) and the member returns its failure value (false, null,
// 0 or ""); property accessors and InicializarPropiedades trap nothing.
#pragma once

#include <array>
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

    // SQL text: the statement and its clauses. Setting Sentencia offers the change through
    // CambiaSentencia and takes the statement apart; setting a clause (without its keyword)
    // puts the statement together again and offers that. Keywords count only as whole words
    // outside quoted literals, bracketed names and parentheses.
    std::string Sentencia() const { return strSentencia_; }
    void Sentencia(const std::string& strNuevaSentencia);
    // What stands in front of the clauses (INSERT INTO Destino (Campo) ), untrimmed.
    std::string Ejecutar() const { return strEjecutar_; }
    void Ejecutar(const std::string& strNuevo);
    // The declarations after PARAMETERS, their closing semicolon included.
    std::string Parametros() const { return strParametros_; }
    void Parametros(const std::string& strNuevo);
    std::string Seleccion() const { return Clausula(kSeleccion); }
    void Seleccion(const std::string& strNuevo) { Clausula(kSeleccion, strNuevo); }
    std::string Desde() const { return Clausula(kDesde); }
    void Desde(const std::string& strNuevo) { Clausula(kDesde, strNuevo); }
    std::string Condiciones() const { return Clausula(kCondiciones); }
    void Condiciones(const std::string& strNuevo) { Clausula(kCondiciones, strNuevo); }
    // GROUP BY, a HAVING part included.
    std::string Agrupar() const { return Clausula(kAgrupar); }
    void Agrupar(const std::string& strNuevo) { Clausula(kAgrupar, strNuevo); }
    std::string Ordenar() const { return Clausula(kOrdenar); }
    void Ordenar(const std::string& strNuevo) { Clausula(kOrdenar, strNuevo); }

private:
    // SQL text: the clauses in the order they are written.
    enum NumClausula { kSeleccion, kDesde, kCondiciones, kAgrupar, kOrdenar, kNumClausulas };
    std::string Clausula(NumClausula numClausula) const { return strClausulas_[numClausula]; }
    void Clausula(NumClausula numClausula, const std::string& strNuevo);
    bool DescomponerSQL(const std::string& strSentencia);
    bool RecomponerSQL();

    std::string strSentencia_;
    std::string strEjecutar_;
    std::string strParametros_;
    std::array<std::string, kNumClausulas> strClausulas_;

    std::string_view ClaseInforme() const override { return "clsSQL"; }

    TipoSQL numTipo_ = TipoJet;
};

}  // namespace quimera
