// clsAccesoDatos: the search family, built on the recordset's Find. A search that finds
// nothing puts the recordset back on the record it stood on; one that finds raises
// RegistroEncontrado with the old and the new position.
#include "quimera/clsAccesoDatos.h"
#include "quimera/clsSQL.h"
#include "quimera/frame/ErroresEjecucion.h"
#include "quimera/frame/Procedimiento.h"

namespace quimera {

// What tells the members of the family apart: their name, Find's settings and when a
// record counts as found.
struct clsAccesoDatos::FormaBuscar {
    enum Encontrado : uint8_t { NiFinNiPrincipio, NoFin, NoPrincipio };
    std::string_view strMetodo;
    int32_t numDispensado;
    ado::SearchDirectionEnum numDireccion;
    int32_t numComienzo;  // ADO BookmarkEnum
    Encontrado encontrado;
};


bool clsAccesoDatos::Buscar(const FormaBuscar& forma, ado::RecordsetPtr& objRecordset,
                            const std::function<std::string()>& criterio) {
    auto encontrado = [&](const ado::Recordset& rs) {
        switch (forma.encontrado) {
            case FormaBuscar::NoFin: return !rs.adoEOF();
            case FormaBuscar::NoPrincipio: return !rs.BOF();
            case FormaBuscar::NiFinNiPrincipio: break;
        }
        return !rs.adoEOF() && !rs.BOF();
    };
    bool resultado = false;
    ado::ConnectionPtr conn;
    ado::Variant varAnteriorPosicion;
    bool blnAnterior = false;
    bool blnBuscado = false;  // only a Find that ran says whether a record was found
    frame::Procedimiento p(*this, forma.strMetodo, conn);
    p.paso([&] {
        conn = frame::Establecido(objRecordset).ActiveConnection();
        if (conn) conn->Errors().Clear();
    }) && p.paso([&] {
        if (objRecordset->adoEOF() || objRecordset->BOF()) return;
        varAnteriorPosicion = objRecordset->Bookmark();
        blnAnterior = true;
    }) && p.paso([&] {
        objRecordset->Find(criterio(), forma.numDispensado, forma.numDireccion, ado::Variant(forma.numComienzo));
        blnBuscado = true;
    }) && p.paso([&] {
        if (!blnBuscado) return;
        if (!encontrado(*objRecordset)) {
            if (blnAnterior) objRecordset->Bookmark(varAnteriorPosicion);
            return;
        }
        resultado = true;
        Eventos().Emitir(&clsAccesoDatosEventos::RegistroEncontrado, varAnteriorPosicion, objRecordset->Bookmark());
    }) && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

bool clsAccesoDatos::BuscarCriterio(const FormaBuscar& forma, ado::RecordsetPtr& objRecordset,
                                    const ado::Variant& varCriterio) {
    return Buscar(forma, objRecordset, [&] { return varCriterio.ToString(); });
}

bool clsAccesoDatos::Buscar(ado::RecordsetPtr& objRecordset, const ado::Variant& varCriterio, int32_t numDispensado,
                            ado::SearchDirectionEnum numDireccion, int32_t varPosicionComienzo) {
    const FormaBuscar forma{"Buscar", numDispensado, numDireccion, varPosicionComienzo, FormaBuscar::NiFinNiPrincipio};
    return BuscarCriterio(forma, objRecordset, varCriterio);
}

bool clsAccesoDatos::BuscarPrimero(ado::RecordsetPtr& objRecordset, const ado::Variant& varCriterio) {
    static constexpr FormaBuscar kForma{"BuscarPrimero", 0, ado::adSearchForward, ado::adBookmarkFirst, FormaBuscar::NoFin};
    return BuscarCriterio(kForma, objRecordset, varCriterio);
}

bool clsAccesoDatos::BuscarSiguiente(ado::RecordsetPtr& objRecordset, const ado::Variant& varCriterio) {
    static constexpr FormaBuscar kForma{"BuscarSiguiente", 1, ado::adSearchForward, ado::adBookmarkCurrent, FormaBuscar::NoFin};
    return BuscarCriterio(kForma, objRecordset, varCriterio);
}

bool clsAccesoDatos::BuscarAnterior(ado::RecordsetPtr& objRecordset, const ado::Variant& varCriterio) {
    static constexpr FormaBuscar kForma{"BuscarAnterior", 1, ado::adSearchBackward, ado::adBookmarkCurrent, FormaBuscar::NoPrincipio};
    return BuscarCriterio(kForma, objRecordset, varCriterio);
}

bool clsAccesoDatos::BuscarUltimo(ado::RecordsetPtr& objRecordset, const ado::Variant& varCriterio) {
    static constexpr FormaBuscar kForma{"BuscarUltimo", 0, ado::adSearchBackward, ado::adBookmarkLast, FormaBuscar::NoPrincipio};
    return BuscarCriterio(kForma, objRecordset, varCriterio);
}

bool clsAccesoDatos::BuscarRegistro(ado::RecordsetPtr& objRecordset, const ado::Variant& varDatoBuscado,
                                    const std::string& strNombreCampo) {
    static constexpr FormaBuscar kForma{"BuscarRegistro", 0, ado::adSearchForward, ado::adBookmarkFirst,
                                        FormaBuscar::NoFin};
    // The criterion by plain concatenation, through a statement object of its own: nothing is
    // quoted (the caller brings the quotes), and a Null value adds nothing after " = ".
    clsSQL objSQL;
    return Buscar(kForma, objRecordset, [&] {
        objSQL.Condiciones(strNombreCampo + " = " + (varDatoBuscado.IsNull() ? std::string() : varDatoBuscado.ToString()));
        return objSQL.Condiciones();
    });
}

}  // namespace quimera
