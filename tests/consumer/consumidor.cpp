// A library user's program: both layers' umbrella headers, a database made and read, and a
// library object at work. Prints one line that scripts/consumer checks.
#include <ado/ado.h>
#include <quimera/quimera.h>

#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    const std::filesystem::path carpeta = argc > 1 ? argv[1] : std::filesystem::temp_directory_path();
    const std::string archivo = (carpeta / "consumidor.db").string();
    std::filesystem::remove(archivo);
    const std::string cadena = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + archivo;
    ado::CreateDatabase(cadena);
    auto cn = ado::Connection::Create();
    cn->Open(cadena);
    cn->Execute("CREATE TABLE T (Nombre TEXT(20))");
    cn->Execute("INSERT INTO T VALUES ('Ñandú')");

    quimera::clsTransacciones transacciones;
    transacciones.InicializarPropiedades(carpeta.string());
    transacciones.IniciarTransaccion(cn);
    cn->Execute("INSERT INTO T VALUES ('ñu')");
    transacciones.ValidarTransaccion(cn);

    auto rs = cn->Execute("SELECT COUNT(*) FROM T WHERE Nombre LIKE 'Ñ*'");
    std::cout << "consumidor: " << rs->Fields()[0].Value().As<int>() << " de 2\n";
    return 0;
}
