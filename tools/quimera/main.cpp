// quimera: the command-line tool of the Quimera data-access library.
#include <CLI/CLI.hpp>

#include <clocale>
#include <iostream>

#include "ado/Error.h"
#include "cli_idioma.h"
#include "commands.h"
#include "display_width.h"
#include "error_report.h"
#include "idioma.h"

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    tool::UseUtf8Characters();
    CLI::App app{tool::T("quimera: acceso a datos con la biblioteca Quimera")};
    tool::Localise(app, "quimera " BREZAL_VERSION);
    app.require_subcommand(1);

    tool::SqlOptions sql;
    auto* sqlCmd = tool::AddSqlCommand(app, sql);
    tool::DemoOptions demo;
    auto* demoCmd = tool::AddDemoCommand(app, demo);
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
    tool::CopyOptions copyOptions;
    auto* copyCmd = tool::AddCopyCommand(app, copyOptions);
    tool::LocaliseSubcommands(app);

    if (const auto status = tool::CheckSubcommand(app, argc, argv)) return *status;
    try {
        app.parse(argc, argv);
        if (*sqlCmd) return tool::RunSql(sql);
        if (*demoCmd) return tool::RunDemo(demo);
        if (*compactCmd) return tool::RunCompact(compact);
        if (*keyCmd) return tool::RunKey(key);
        if (*convertCmd) return tool::RunConvert(convert);
        if (*upgradeCmd) return tool::RunUpgrade(upgrade);
        if (*viewCmd) return tool::RunView(view);
        if (*exportCmd) return tool::RunExport(exportOptions);
        if (*importCmd) return tool::RunImport(importOptions);
        if (*copyCmd) return tool::RunCopy(copyOptions);
    } catch (const CLI::ParseError& e) {
        return tool::ReportParseError(app, e);
    } catch (const ado::Error& e) {
        tool::PrintError(std::cerr, e);
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "quimera: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
