// utilidades: the text utility (token search and substitution on SQL text) and the file
// utility (existence test, deletion and replacement), each an interface with a default implementation
// that a client may replace through the component's factory.
//
// Matching rules of the default text utility, for both ExtraerTexto and ReemplazarTexto:
//  - Letter case is ignored: clients write SQL in any case, so "from" finds "FROM".
//    ASCII letters and the accented Latin letters (á/Á, ñ/Ñ, ...) fold; nothing else does.
//  - Positions are 1-based byte offsets into the UTF-8 text, the offsets std::string uses.
//  - Occurrences are found anywhere (inside longer words, literals and identifiers alike)
//    unless the option bits below say otherwise.
//  - ExtraerTexto modes 2 to 5 give an empty text when the token does not occur at or after
//    the start position, so "absent" and "nothing there" read the same to the caller.
//  - A start position below 1, a count below -1 or an unknown mode fails with ado::Error 5.
//
// Ownership: objects live in shared_ptr handles made by the factories, installed at start-up.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "ado/Variant.h"

namespace utilidades {

// Option bits of the first option argument of ExtraerTexto and ReemplazarTexto.
// Text inside quoted literals ('...', "...") and bracketed names ([...]) is skipped:
// an occurrence counts only when it lies wholly outside them. A quote doubled inside a
// literal ('it''s') and "]]" inside brackets stay part of the literal.
inline constexpr int32_t OpcionOmitirLiterales = 1;
// A token that begins with a letter matches only as a whole word: no letter (accented ones
// included), digit or '_' right before it, nor right after it when the token also ends in
// one of those. Tokens that begin otherwise (" AS ", "#", "&") match as usual.
inline constexpr int32_t OpcionPalabraCompleta = 2;

// Modes of ExtraerTexto.
inline constexpr int32_t ModoPosicion = 0;     // 1-based position (I4), 0 when absent
inline constexpr int32_t ModoContiene = 1;     // whether it occurs (Bool)
inline constexpr int32_t ModoDesdeToken = 2;   // from the token (included) to the end
inline constexpr int32_t ModoHastaToken = 3;   // from the beginning to the token (included)
inline constexpr int32_t ModoAntesToken = 4;   // what precedes the token
inline constexpr int32_t ModoTrasToken = 5;    // what follows the token

// ado::Error number for an invalid argument (the runtime's "invalid procedure call").
inline constexpr int32_t ErrorArgumentoNoValido = 5;

class UtilidadTexto {
public:
    virtual ~UtilidadTexto() = default;

    // Looks for the first occurrence of strToken at or after numInicio and returns what
    // numModo asks for (the Modo... constants). numOpciones takes the Opcion... bits;
    // numOpciones2 is reserved and ignored by the default implementation.
    virtual ado::Variant ExtraerTexto(const std::string& strTexto, const std::string& strToken,
                                      int32_t numModo, int32_t numOpciones = 0, int32_t numInicio = 1,
                                      int32_t numOpciones2 = 0) const = 0;

    // Replaces up to numCuenta occurrences (-1: all) of strBuscado found at or after
    // numInicio; the text before numInicio is kept as it is. Each replacement is final:
    // the inserted text is never searched again. An empty strBuscado changes nothing.
    virtual std::string ReemplazarTexto(const std::string& strTexto, const std::string& strBuscado,
                                        const std::string& strReemplazo, int32_t numCuenta = -1,
                                        int32_t numOpciones = 0, int32_t numInicio = 1,
                                        int32_t numOpciones2 = 0) const = 0;
};

class UtilidadArchivo {
public:
    virtual ~UtilidadArchivo() = default;

    // True when a regular file exists at strRuta (or a folder, with blnIncluirCarpetas).
    virtual bool Existe(const std::string& strRuta, bool blnIncluirCarpetas = false) const = 0;

    // Deletes the file at strRuta; true when it was deleted. With blnSoloArchivos false an
    // empty folder is deleted too. Never throws: a missing path or a refusal answers false.
    virtual bool Borrar(const std::string& strRuta, bool blnSoloArchivos = true) const = 0;

    // Puts the file strOrigen in the place of strDestino in one step (a rename in the same
    // folder), replacing the file there; true when done. A file marked read-only (no write
    // permission for its owner) is refused. Never throws: a refusal answers false and leaves
    // both files as they were.
    virtual bool Reemplazar(const std::string& strOrigen, const std::string& strDestino) const = 0;
};

std::unique_ptr<UtilidadTexto> CrearUtilidadTextoPredeterminada();
std::unique_ptr<UtilidadArchivo> CrearUtilidadArchivoPredeterminada();

// The factories the library creates its utilities with. A client installs its own before
// creating library objects; an empty function restores the default. A factory that returns
// null is treated as absent.
using FabricaUtilidadTexto = std::function<std::unique_ptr<UtilidadTexto>()>;
using FabricaUtilidadArchivo = std::function<std::unique_ptr<UtilidadArchivo>()>;
void InstalarFabricaUtilidadTexto(FabricaUtilidadTexto fabrica);
void InstalarFabricaUtilidadArchivo(FabricaUtilidadArchivo fabrica);
std::unique_ptr<UtilidadTexto> CrearUtilidadTexto();
std::unique_ptr<UtilidadArchivo> CrearUtilidadArchivo();

}  // namespace utilidades
