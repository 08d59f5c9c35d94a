// The enumerations of the library's type library, with their published values.
//
// Plain constants.
#pragma once

#include <cstdint>

namespace quimera {

// Database engine.
enum TipoOrigenDatos : int32_t {
    dnAccess = 0,
    dnSQLServer = 1,
    dnOracle = 2,
    dnMSDE = 3,
    dnODBC = 4,
    dnSQLServer2005 = 5,
    dnSQLServer2005Express = 6,
    dnSQLServer2008 = 7,
    dnSQLServer2008Express = 8,
    dnSQLServer2008Compact = 9,
};

enum ModoActualizacion : int32_t { dnIndividual = 0, dnLotes = 1 };

enum ErroresSalvarRecordset : int32_t {
    dnDesconocido = 0,
    dnNoEstablecido = 1,
    dnNoAbierto = 2,
    dnBorrarArchivo = 3,
    dnCerrar = 4,
    dnEspacioDisco = 5,
};

enum TipoModalidad : int32_t { dnNinguna = 0, dnAlta = 1, dnEditar = 2, dnConsulta = 3, dnBorrar = 4 };

enum TipoCursor : int32_t { dnEstatico = 0, dnClaves = 1, dnDinamico = 2, dnInspeccion = 3 };

enum TipoSQL : int32_t { TipoJet = 0, TipoANSI = 1 };

// Data kind of a field descriptor (clsCampo::TipoDato).
enum TipoDatosEnum : int32_t {
    dnTexto = 0,
    dnNumerico = 1,
    dnFecha = 2,
    dnBinario = 3,
    dnImagen = 4,
    dnMemo = 5,
    dnHora = 6,
    dnOtro = 7,
    dnMoneda = 8,
    dnEmail = 9,
    dnURL = 10,
    dnTelefono = 11,
    dnEstadoSolicitud = 12,
    dnCategoriaSolicitud = 13,
    dnTipoAccionSolicitud = 14,
    dnOrigenVarenta = 15,
    dnMensajesPendientesSolicitud = 16,
    dnTipoLiquidacion = 17,
};

// Display format of a field descriptor (clsCampo::FormatoEspecial). There is no value 2.
enum TipoFormatoEspecialCampoEnum : int32_t {
    dnFormatoNinguno = 0,
    dnFormatoPredeterminadoTipo = 1,
    dnFormatoImportePendiente = 3,
};

}  // namespace quimera
