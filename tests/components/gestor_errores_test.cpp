// The default error manager: the log line, password masking, the stderr fallback.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cctype>

#include "quimera/components/centinela.h"
#include "support/TempDir.h"

namespace {

using namespace centinela;

int32_t Informar(GestorErrores& gestor, int32_t numero, const std::string& descripcion) {
    return gestor.Informar("Quimera", "clsAccesoDatos", "AbrirBaseDatos", numero, descripcion, "Microsoft OLE DB",
                           "Desconocido", "Desconocido", "Desconocido", 0, 3082, "");
}

// "2024-05-03 13:05:09"
bool EsHora(const std::string& texto) {
    const std::string forma = "0000-00-00 00:00:00";
    if (texto.size() != forma.size()) return false;
    for (size_t i = 0; i < forma.size(); ++i)
        if (forma[i] == '0' ? !std::isdigit(static_cast<unsigned char>(texto[i])) : texto[i] != forma[i]) return false;
    return true;
}

TEST(GestorErrores, OcultarClavesEnmascaraCadaValorDeClave) {
    const std::pair<const char*, const char*> casos[] = {
        {"Provider=SQLOLEDB; User ID=sa; Password=secreto;Application Name=Almena;",
         "Provider=SQLOLEDB; User ID=sa; Password=***;Application Name=Almena;"},
        {"Jet OLEDB:Database Password=TERMOS58217", "Jet OLEDB:Database Password=***"},
        {"DSN=x;PwD=abc;UID=u", "DSN=x;PwD=***;UID=u"},
        {"PASSWORD = dos palabras", "PASSWORD = ***"},
        {"pwd=\"a;b\";uid=u", "pwd=***;uid=u"},
        {"Password='a;b'", "Password=***"},
        {"Password=;x", "Password=***;x"},
        {"pwd=1;PWD=2", "pwd=***;PWD=***"},
        {"Password='Sec;reto''Q77';User ID=u", "Password=***;User ID=u"},
        {"Password=\"a\"\";b\"", "Password=***"},
        {"Pwd={se;cret};UID=u", "Pwd=***;UID=u"},
        {"Pwd={a}};b};UID=u", "Pwd=***;UID=u"},
        {"Password='sin cierre;UID=u", "Password=***"},
        {"Password={9}}}]}} x;UID=u", "Password=***;UID=u"},  // braces that close early hide the rest too
        {"Password='a'b;UID=u", "Password=***;UID=u"},
        {"Password=9}]}x;UID=u", "Password=***;UID=u"},  // a ']' ends a value only inside brackets
        {"La password no es válida", "La password no es válida"},
    };
    for (const auto& [texto, esperado] : casos) EXPECT_EQ(OcultarClaves(texto), esperado) << texto;
}

TEST(GestorErrores, UnaLineaPorInformeEnLaCarpetaIndicada) {
    testsupport::TempDir tmp;
    const auto carpeta = tmp.path() / "registro" / "nuevo";  // created on the first report
    auto gestor = CrearGestorErroresPredeterminado();
    gestor->Inicializar(true, "Quimera", carpeta.string());

    EXPECT_EQ(Informar(*gestor, 3706, "Sin proveedor; Password=secreto;\nsegunda línea"), DecisionAbandonar);
    EXPECT_EQ(Informar(*gestor, -2147467259, "Otro fallo"), DecisionAbandonar);

    std::ifstream registro(carpeta / ArchivoRegistro);
    const std::string esperadas[] = {
        "\tQuimera\tclsAccesoDatos\tAbrirBaseDatos\t3706\tSin proveedor; Password=***; segunda línea\tMicrosoft OLE DB",
        "\tQuimera\tclsAccesoDatos\tAbrirBaseDatos\t-2147467259\tOtro fallo\tMicrosoft OLE DB"};
    for (const std::string& esperada : esperadas) {
        std::string linea;
        ASSERT_TRUE(std::getline(registro, linea));
        EXPECT_TRUE(EsHora(linea.substr(0, 19))) << linea;
        EXPECT_EQ(linea.substr(19), esperada);
    }
    EXPECT_EQ(registro.peek(), EOF);  // nothing more than the two lines
}

TEST(GestorErrores, SinArchivoDeRegistro) {
    testsupport::TempDir tmp;
    std::ofstream(tmp.file("archivo")) << "x";
    const std::string bajoUnArchivo = tmp.file("archivo") + "/carpeta";  // never writable, not even by root
    const std::tuple<bool, std::string, bool> casos[] = {
        {false, tmp.path().string(), false},  // not asked to: nothing written anywhere, the same answer
        {true, bajoUnArchivo, true},          // cannot write there: the line goes to stderr
        {true, "", true},
    };
    for (const auto& [blnRegistrar, carpeta, blnSalida] : casos) {
        auto gestor = CrearGestorErroresPredeterminado();
        gestor->Inicializar(blnRegistrar, "Quimera", carpeta);
        testing::internal::CaptureStderr();
        EXPECT_EQ(Informar(*gestor, 3146, "Fallo ODBC; Pwd=oculta"), DecisionAbandonar);
        const std::string salida = testing::internal::GetCapturedStderr();
        EXPECT_EQ(salida.find("AbrirBaseDatos\t3146\tFallo ODBC; Pwd=***\tMicrosoft OLE DB\n") != std::string::npos,
                  blnSalida)
            << salida;
    }
    EXPECT_FALSE(std::filesystem::exists(tmp.path() / ArchivoRegistro));
}

}  // namespace
