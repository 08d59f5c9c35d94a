// clsAccesoDatos::SalvarRecordset and ReSalvarRecordset: a recordset written to a file.
#include <unistd.h>

#include <atomic>

#include "quimera/clsAccesoDatos.h"
#include "quimera/frame/ErroresEjecucion.h"
#include "quimera/frame/Procedimiento.h"

namespace quimera {

namespace {

// A name beside strRuta that no file has yet, for the new file until it is complete.
std::string RutaTemporal(const std::string& strRuta, const utilidades::UtilidadArchivo& utilidad) {
    static std::atomic<unsigned> numero{0};
    for (;;) {
        std::string ruta = strRuta + ".~" + std::to_string(getpid()) + "." + std::to_string(numero++);
        if (!utilidad.Existe(ruta, true)) return ruta;
    }
}

}  // namespace

bool clsAccesoDatos::ExigirRecordset(ado::RecordsetPtr& objRecordset, ErroresSalvarRecordset numTipoError,
                                     bool blnCumple) {
    if (!blnCumple) Eventos().Emitir(&clsAccesoDatosEventos::ErrorSalvandoRecordset, objRecordset, numTipoError);
    return blnCumple;
}

// What both saving members do first: their failure event, a set and open recordset (else the
// refusal's event) and its connection's errors cleared.
bool clsAccesoDatos::PrepararSalvado(frame::Procedimiento& p, ado::RecordsetPtr& objRecordset, ado::ConnectionPtr& cn) {
    p.AlFallar([this, &objRecordset](const frame::Fallo&) {
        Eventos().Emitir(&clsAccesoDatosEventos::ErrorSalvandoRecordset, objRecordset, dnDesconocido);
    });
    return p.paso([&] { return ExigirRecordset(objRecordset, dnNoEstablecido, objRecordset != nullptr); })
           && p.paso([&] { return ExigirRecordset(objRecordset, dnNoAbierto, RecordsetEstaAbierto(objRecordset)); })
           && p.paso([&] {
                  cn = objRecordset->ActiveConnection();
                  if (cn) cn->Errors().Clear();
              });
}

bool clsAccesoDatos::SalvarRecordset(ado::RecordsetPtr& objRecordset, const std::string& strRuta,
                                     ado::PersistFormatEnum numFormato, bool blnCerrar) {
    bool resultado = false;
    ado::ConnectionPtr cn;
    std::unique_ptr<utilidades::UtilidadArchivo> utilidad;
    frame::Procedimiento p(*this, "SalvarRecordset", cn);
    PrepararSalvado(p, objRecordset, cn)
        && p.paso([&] {
               utilidad = utilidades::CrearUtilidadArchivo();
               if (!utilidad->Existe(strRuta, false)) {
                   objRecordset->Save(strRuta, numFormato);
                   return true;
               }
               // The old file goes only when the new one is complete, never before.
               const std::string temporal = RutaTemporal(strRuta, *utilidad);
               objRecordset->Save(temporal, numFormato);
               if (!utilidad->Reemplazar(temporal, strRuta)) {
                   utilidad->Borrar(temporal, true);
                   return ExigirRecordset(objRecordset, dnBorrarArchivo, false);
               }
               objRecordset->PersistedFile(strRuta, numFormato);
               return true;
           })
        && p.paso([&] {
               return !blnCerrar || ExigirRecordset(objRecordset, dnCerrar, CerrarRecordset(objRecordset, true));
           })
        && p.paso([&] { resultado = true; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

bool clsAccesoDatos::ReSalvarRecordset(ado::RecordsetPtr& objRecordset) {
    bool resultado = false;
    ado::ConnectionPtr cn;
    frame::Procedimiento p(*this, "ReSalvarRecordset", cn);
    PrepararSalvado(p, objRecordset, cn)
        && p.paso([&] { objRecordset->Save({}, ado::adPersistADTG); })
        && p.paso([&] { resultado = true; })
        && p.paso([&] { p.PublicarErroresADO(false); });
    return resultado;
}

}  // namespace quimera
