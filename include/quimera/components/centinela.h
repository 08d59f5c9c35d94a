// centinela: the error manager. Every failure the library does not handle itself is
// reported here, and the answer decides what the failing method does next.
//
// The default manager appends one line per report to the file centinela.log in the folder
// it was initialised with (the folder is created when missing):
//
//     2024-05-03 13:05:09 <TAB> project <TAB> class <TAB> method <TAB> number <TAB> description <TAB> source
//
// Control characters inside the fields become spaces, so a report is always one line, and
// connection-string passwords are masked (OcultarClaves). When the log cannot be written,
// or before Inicializar gave it a folder, the line goes to standard error instead. It
// always answers DecisionAbandonar. A client installs its own manager through the factory.
//
// Ownership: each library object owns the manager the factory made for it. Threads: the
// factory is installed at start-up, before library objects are created.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace centinela {

// Decisions returned by Informar. Any value other than Continuar and Reintentar abandons.
inline constexpr int32_t DecisionAbandonar = 1;   // leave the method with what it holds
inline constexpr int32_t DecisionContinuar = 2;   // go on with the step after the failing one
inline constexpr int32_t DecisionReintentar = 3;  // run the failing step again

inline constexpr std::string_view ArchivoRegistro = "centinela.log";

class GestorErrores {
public:
    virtual ~GestorErrores() = default;

    // blnRegistrar: whether reports are written at all (the library passes true); strNombre:
    // the display name of the reporting object; strCarpeta: the folder to report into.
    virtual void Inicializar(bool blnRegistrar, const std::string& strNombre, const std::string& strCarpeta) = 0;

    // One failure. The library passes "Quimera" as the project, its class and method names,
    // the failure's number, description and source, "Desconocido" for the three data texts,
    // 0 for numDato, its regional object's language code (or 100) and an empty strDato4.
    // Returns the decision.
    virtual int32_t Informar(const std::string& strProyecto, const std::string& strClase,
                             const std::string& strMetodo, int32_t numError, const std::string& strDescripcion,
                             const std::string& strOrigen, const std::string& strDato1, const std::string& strDato2,
                             const std::string& strDato3, int32_t numDato, int32_t numIdioma,
                             const std::string& strDato4) = 0;
};

// The text with the value of every "Password=" and "Pwd=" (any letter case, spaces allowed
// before '=') replaced by "***". A value runs to the next ';' or the end of the text; a
// value that opens with a quote runs to the matching quote and one that opens with '{' to
// the matching '}', a doubled closing character counting as part of the value.
std::string OcultarClaves(std::string_view texto);

std::unique_ptr<GestorErrores> CrearGestorErroresPredeterminado();

// The factory the library creates every error manager with. A client installs its own
// before creating library objects; an empty function restores the default. A factory that
// returns null is treated as absent.
using FabricaGestorErrores = std::function<std::unique_ptr<GestorErrores>()>;
void InstalarFabricaGestorErrores(FabricaGestorErrores fabrica);
std::unique_ptr<GestorErrores> CrearGestorErrores();

}  // namespace centinela
