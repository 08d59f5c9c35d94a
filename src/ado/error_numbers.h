// The one table from engine conditions to the numbers and Spanish texts the library
// recognises. Providers classify what their engine reports into a Condition and raise
// it through MakeError, so every engine fails with the same numbers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ado/Error.h"
#include "ado/ErrorNumbers.h"

namespace ado {

enum class Condition {
    General,
    LockConflict,
    IntegrityOnChange,
    IntegrityOnDelete,
    NoCurrentRecord,
    ProviderNotFound,
    ItemNotFound,
    DuplicateKey,
    TimeLimit,
    RowChanged,
    BadBookmark,
    ObjectClosed,
    ObjectOpen,
    SyntaxError,
    TableNotFound,
    MissingParameters,
    FileNotFound,
    WrongPassword,
    CantFetchBackwards,
    NotSupported,
    InvalidArgument,
    NoTransaction,
    InTransaction,
    ReadOnlyCursor,
    ExclusiveUse,
    ErrorsOccurred,
    DataConversion,
    MissingBaseTable,
    TooManyRows,
    IllegalOperation,
    EditInProgress,
    InvalidConnection,
    CharactersAfterEnd,
    OutdatedFile,
    Overflow,
    FieldTooSmall,
    InvalidFile,
    FileExists,
    FileWrite,
    NotADatabase,
    ReadOnlyFile,
    PermissionDenied,
    MissingPassword,
    InRelationship,
    NullInKey,
    ValidationRule,
    KeyExists,
    ConstraintNotFound,
    FieldInIndex,
    RelatedTableInTransaction,
    NullInRequiredField,
};

struct ConditionEntry {
    Condition condition;
    int32_t number;
    std::string_view description;
};

inline constexpr ConditionEntry kConditionTable[] = {
    {Condition::General, err::Fail, "Error no especificado"},
    {Condition::LockConflict, err::LockedByUser,
     "No se pudo actualizar; la base de datos o el registro están bloqueados por otro usuario."},
    {Condition::IntegrityOnChange, err::IntegrityOnChange,
     "No se puede agregar o cambiar el registro porque se necesita un registro relacionado en otra tabla."},
    {Condition::IntegrityOnDelete, err::IntegrityOnDelete,
     "No se puede eliminar o cambiar el registro porque otra tabla tiene registros relacionados."},
    {Condition::NoCurrentRecord, err::NoCurrentRecord,
     "BOF o EOF es True, o el registro actual se eliminó. La operación solicitada requiere un registro actual."},
    {Condition::ProviderNotFound, err::ProviderNotFound,
     "No se puede encontrar el proveedor. Es posible que no esté instalado correctamente."},
    {Condition::ItemNotFound, err::ItemNotFound,
     "No se encontró el elemento en la colección correspondiente al nombre o número solicitado."},
    {Condition::DuplicateKey, err::DuplicateKey,
     "Los cambios no se realizaron porque crearían valores duplicados en el índice, clave principal o "
     "relación."},
    {Condition::TimeLimit, err::TimeLimit, "Tiempo de espera agotado."},
    {Condition::RowChanged, err::ConcurrencyViolation,
     "No se encuentra la fila para actualizarla: otro usuario cambió el registro desde que se leyó."},
    {Condition::BadBookmark, err::BadBookmark, "El marcador no es válido."},
    {Condition::ObjectClosed, err::ObjectClosed, "No se permite esta operación si el objeto está cerrado."},
    {Condition::ObjectOpen, err::ObjectOpen, "No se permite esta operación si el objeto está abierto."},
    {Condition::SyntaxError, err::SyntaxError, "Error de sintaxis en la instrucción SQL."},
    {Condition::TableNotFound, err::TableNotFound, "No se encuentra la tabla o consulta de entrada."},
    {Condition::InRelationship, err::Fail,
     "No se puede eliminar este índice o tabla. Es el índice actual o se utiliza en una relación."},
    {Condition::KeyExists, err::Fail, "Ya existe la clave principal."},
    {Condition::ConstraintNotFound, err::Fail, "No se encuentra la restricción."},
    {Condition::FieldInIndex, err::Fail,
     "No se puede eliminar un campo que forma parte de un índice, de una relación o de una regla de la tabla."},
    {Condition::RelatedTableInTransaction, err::Fail,
     "No se puede cambiar la definición de una tabla relacionada con otras mientras hay una transacción en curso."},
    {Condition::ValidationRule, err::Fail, "Uno o más valores no cumplen una regla de validación de la tabla."},
    {Condition::NullInKey, err::Fail, "El índice o la clave principal no pueden contener un valor nulo."},
    {Condition::NullInRequiredField, err::Fail,
     "El campo no puede contener un valor nulo porque es obligatorio. Escriba un valor en este campo."},
    {Condition::MissingParameters, err::NoValueForParameters,
     "No se han especificado valores para algunos de los parámetros requeridos."},
    {Condition::FileNotFound, err::Fail, "No se encuentra el archivo de base de datos."},
    {Condition::WrongPassword, err::InvalidPassword, "La contraseña no es válida."},
    {Condition::MissingPassword, err::PasswordMissing,
     "El archivo está protegido con una contraseña y no se indicó ninguna."},
    {Condition::NotADatabase, err::UnrecognizedFormat, "Formato de base de datos no reconocido."},
    {Condition::ReadOnlyFile, err::ReadOnlyDatabase,
     "No se puede actualizar. La base de datos o el objeto es de sólo lectura."},
    {Condition::PermissionDenied, err::NoPermission, "No tiene permiso para usar el archivo."},
    {Condition::CantFetchBackwards, -2147217884, "El conjunto de filas no admite recuperaciones hacia atrás."},
    {Condition::NotSupported, err::FeatureNotAvailable,
     "El objeto o proveedor no es capaz de realizar la operación solicitada."},
    {Condition::InvalidArgument, err::InvalidArgument,
     "Los argumentos son de tipo incorrecto, están fuera del intervalo aceptable o están en conflicto con otros."},
    {Condition::NoTransaction, err::InvalidTransaction, "No hay ninguna transacción activa."},
    {Condition::InTransaction, err::InTransaction,
     "No se puede cerrar explícitamente la conexión mientras haya una transacción en curso."},
    {Condition::ReadOnlyCursor, err::FeatureNotAvailable,
     "El conjunto de registros es de sólo lectura: no admite esta operación."},
    {Condition::ExclusiveUse, err::LockedByUser,
     "El archivo ya está en uso: otro usuario lo tiene abierto en modo exclusivo."},
    {Condition::ErrorsOccurred, err::ErrorsOccurred,
     "La operación de varios pasos generó errores. Compruebe el valor de estado de cada registro."},
    {Condition::DataConversion, err::DataConversion,
     "La aplicación usa un valor de tipo incorrecto para la operación actual."},
    {Condition::MissingBaseTable, err::Fail,
     "Información de tabla base o de columna de clave insuficiente para actualizar o volver a leer."},
    {Condition::TooManyRows, err::Fail,
     "La información de la columna de clave es insuficiente o incorrecta. La actualización afectaba a demasiadas "
     "filas y se ha deshecho."},
    {Condition::IllegalOperation, err::IllegalOperation, "No se permite la operación en este contexto."},
    {Condition::InvalidConnection, err::InvalidConnection,
     "No se puede usar la conexión para realizar esta operación. Está cerrada o no es válida en este contexto."},
    {Condition::Overflow, err::Overflow, "Desbordamiento"},
    {Condition::FieldTooSmall, err::FieldTooSmall,
     "El campo es demasiado pequeño para aceptar la cantidad de datos que intentó agregar. Intente insertar o pegar "
     "menos datos."},
    {Condition::CharactersAfterEnd, err::CharactersAfterEnd,
     "Se encontraron caracteres después del final de la instrucción SQL."},
    {Condition::OutdatedFile, err::Fail,
     "La base de datos tiene un formato anterior de esta biblioteca o de otro programa y debe convertirse antes de "
     "abrirla."},
    {Condition::InvalidFile, err::Fail,
     "No se puede crear el conjunto de registros: el archivo de origen está incompleto o no es válido."},
    {Condition::FileExists, err::FileAlreadyExists, "El archivo ya existe."},
    {Condition::FileWrite, err::Fail, "No se pudo escribir el archivo."},
    {Condition::EditInProgress, err::IllegalOperation,
     "No se permite la operación mientras hay una edición en curso: llame a Update o CancelUpdate."},
};

const ConditionEntry& Lookup(Condition c);

// An ado::Error for the condition; `detail`, when given, is appended to the description.
Error MakeError(Condition c, std::string_view detail = {}, std::string_view source = "ADO",
                std::string_view sqlState = {}, int32_t nativeError = 0);

[[noreturn]] void Raise(Condition c, std::string_view detail = {});

}  // namespace ado
