// quimera: the command-line tool of the Quimera data-access library.
#include <CLI/CLI.hpp>

#include <clocale>
#include <iostream>

#include "ado/Error.h"
#include "commands.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    CLI::App app{"quimera: acceso a datos con la biblioteca Quimera"};
    app.require_subcommand(1);

    tool::SqlOptions sql;
    auto* sqlCmd = app.add_subcommand("sql", "Ejecuta una instrucción SQL de Access sobre una base de datos incrustada");
    sqlCmd->add_option("FILE", sql.file, "Archivo de base de datos (se crea si no existe)")->required();
    sqlCmd->add_option("STATEMENT", sql.statement, "Instrucción SQL de Access")->required();
    sqlCmd->add_option("--password", sql.password, "Contraseña de la base de datos");

    tool::DemoOptions demo;
    auto* demoCmd = app.add_subcommand("demo", "Crea una base de datos de ejemplo y muestra lo que hace la biblioteca");
    demoCmd->add_option("FOLDER", demo.folder, "Carpeta de trabajo (por omisión, una temporal)");
    demoCmd->add_option("--odbc", demo.odbc, "Cadena ODBC de un servidor que mostrar también");

    tool::CompactOptions compact;
    auto* compactCmd = tool::AddCompactCommand(app, compact);
    tool::KeyOptions key;
    auto* keyCmd = tool::AddKeyCommand(app, key);
    tool::ConvertOptions convert;
    auto* convertCmd = tool::AddConvertCommand(app, convert);
    tool::UpgradeOptions upgrade;
    auto* upgradeCmd = tool::AddUpgradeCommand(app, upgrade);
    tool::ViewOptions view;
    auto* viewCmd = tool::AddViewCommand(app, view);
    tool::ExportOptions exportOptions;
    auto* exportCmd = tool::AddExportCommand(app, exportOptions);
    tool::ImportOptions importOptions;
    auto* importCmd = tool::AddImportCommand(app, importOptions);

    CLI11_PARSE(app, argc, argv);
    try {
        if (*sqlCmd) return tool::RunSql(sql);
        if (*demoCmd) return tool::RunDemo(demo);
        if (*compactCmd) return tool::RunCompact(compact);
        if (*keyCmd) return tool::RunKey(key);
        if (*convertCmd) return tool::RunConvert(convert);
        if (*upgradeCmd) return tool::RunUpgrade(upgrade);
        if (*viewCmd) return tool::RunView(view);
        if (*exportCmd) return tool::RunExport(exportOptions);
        if (*importCmd) return tool::RunImport(importOptions);
    } catch (const ado::Error& e) {
        std::cerr << "error " << e.Number() << ": " << e.Description() << '\n';
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "error: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
