// clsAccesoDatos::ConvertirSQL_SQLServer: Jet (Access) SQL rewritten for SQL Server.
#include "quimera/clsAccesoDatos.h"
#include "quimera/frame/Procedimiento.h"

namespace quimera {

utilidades::UtilidadTexto& clsAccesoDatos::ObjUtilidadTexto() {
    if (!objUtilidadTexto_) objUtilidadTexto_ = utilidades::CrearUtilidadTexto();
    return *objUtilidadTexto_;
}

std::string clsAccesoDatos::ConvertirSQL_SQLServer(const std::string& strSQL) {
    std::string resultado;
    frame::Procedimiento p(*this, "ConvertirSQL_SQLServer");
    p.paso([&] { resultado = strSQL; });
    return resultado;
}

std::string clsAccesoDatos::ConversionISNULL(const std::string& strSQL) { return strSQL; }
std::string clsAccesoDatos::ConversionDATEVALUE(const std::string& strSQL) { return strSQL; }
std::string clsAccesoDatos::ConversionTIMEVALUE(const std::string& strSQL) { return strSQL; }
std::string clsAccesoDatos::ConversionDATEDIFF(const std::string& strSQL) { return strSQL; }
std::string clsAccesoDatos::ConversionIIF(const std::string& strSQL) { return strSQL; }

}  // namespace quimera
