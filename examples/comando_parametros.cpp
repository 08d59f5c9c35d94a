// A command with parameters: compiled once (Prepared) and run with new values each time,
// with no value ever pasted into the SQL text.
#include <ado/ado.h>

#include <filesystem>
#include <iostream>

int main() {
    const std::string archivo = (std::filesystem::temp_directory_path() / "parametros.db").string();
    std::filesystem::remove(archivo);
    const std::string cadena = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + archivo;
    ado::CreateDatabase(cadena);
    auto cn = ado::Connection::Create();
    cn->Open(cadena);
    cn->Execute("CREATE TABLE Articulos (Id COUNTER PRIMARY KEY, Nombre TEXT(40), Precio CURRENCY)");

    // An insert with two parameters, run three times.
    auto alta = ado::Command::Create();
    alta->ActiveConnection(cn);
    alta->CommandText("INSERT INTO Articulos (Nombre, Precio) VALUES (?, ?)");
    alta->Prepared(true);
    alta->Parameters().Append(alta->CreateParameter("Nombre", ado::adVarWChar, ado::adParamInput, 40));
    alta->Parameters().Append(alta->CreateParameter("Precio", ado::adCurrency));
    const std::pair<const char*, double> articulos[] = {{"Tornillo 'largo'", 0.15}, {"Tuerca", 0.05}, {"Arandela", 0.02}};
    for (const auto& [nombre, precio] : articulos) {
        alta->Parameters().Item("Nombre")->Value(nombre);
        alta->Parameters().Item("Precio")->Value(precio);
        alta->Execute();
    }

    // A query with a named parameter, as Access declares them.
    auto consulta = ado::Command::Create();
    consulta->ActiveConnection(cn);
    consulta->CommandText("PARAMETERS [Máximo] CURRENCY; SELECT Nombre, Precio FROM Articulos "
                          "WHERE Precio <= [Máximo] ORDER BY Precio");
    consulta->Parameters().Refresh();  // asks the engine which parameters the text declares
    consulta->Parameters().Item("Máximo")->Value(0.10);
    auto rs = consulta->Execute();
    for (; !rs->adoEOF(); rs->MoveNext())
        std::cout << rs->Fields()["Nombre"].Value().As<std::string>() << ": "
                  << rs->Fields()["Precio"].Value().As<double>() << '\n';
}
