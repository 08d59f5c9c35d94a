// The subcommands of the quimera tool.
#pragma once

#include <cstdint>
#include <string>

namespace CLI {
class App;
}

namespace tool {

// Subcommands register themselves: each gives back its CLI11 subcommand.
// sql FILE "STATEMENTS" [--crear] [--formato tabla|csv|json] [--limite N] [password options]
struct SqlOptions {
    std::string file;
    std::string statement;
    bool create = false;
    std::string format = "tabla";
    int64_t limit = -1;
    std::string password;
    // Applied to each result through a client cursor, as ADO's Find, Filter and Sort take them.
    std::string search;
    std::string filter;
    std::string sort;
};
CLI::App* AddSqlCommand(CLI::App& app, SqlOptions& options);
int RunSql(const SqlOptions& options);

// demo [FOLDER] [--odbc CONNECTION]
struct DemoOptions {
    std::string folder;
    std::string odbc;  // an ODBC connection string: also show a database server
};
CLI::App* AddDemoCommand(CLI::App& app, DemoOptions& options);
int RunDemo(const DemoOptions& options);

// compactar FILE [DEST] [--password P]
struct CompactOptions {
    std::string file;
    std::string destination;
    std::string password;
};
CLI::App* AddCompactCommand(CLI::App& app, CompactOptions& options);
int RunCompact(const CompactOptions& options);

// clave FILE (--nueva P | --quitar) [--password P]
struct KeyOptions {
    std::string file;
    std::string password;
    std::string newPassword;
    bool remove = false;
};
CLI::App* AddKeyCommand(CLI::App& app, KeyOptions& options);
int RunKey(const KeyOptions& options);

// convertir "SQL": the SQL Server form of an Access statement
struct ConvertOptions {
    std::string statement;
};
CLI::App* AddConvertCommand(CLI::App& app, ConvertOptions& options);
int RunConvert(const ConvertOptions& options);

// migrar FILE [--password P]
struct UpgradeOptions {
    std::string file;
    std::string password;
};
CLI::App* AddUpgradeCommand(CLI::App& app, UpgradeOptions& options);
int RunUpgrade(const UpgradeOptions& options);
// ver FILE: a recordset file's fields, rows and pending changes with their originals
struct ViewOptions {
    std::string file;
};
CLI::App* AddViewCommand(CLI::App& app, ViewOptions& options);
int RunView(const ViewOptions& options);

// exportar DB "SQL" FILE [--formato xml|adtg|csv|json] [--password P]
struct ExportOptions {
    std::string database;
    std::string statement;
    std::string file;
    std::string format;  // empty: from the file's extension
    std::string password;
};
CLI::App* AddExportCommand(CLI::App& app, ExportOptions& options);
int RunExport(const ExportOptions& options);

// importar DB FILE [--tabla T] [--password P]
struct ImportOptions {
    std::string database;
    std::string file;
    std::string table;
    std::string password;
};
CLI::App* AddImportCommand(CLI::App& app, ImportOptions& options);
int RunImport(const ImportOptions& options);

// copiar ORIGEN DESTINO [--tabla T] [--sql "..."] [--password P]: a table's or a query's rows
// added to a table of another embedded database or of an ODBC connection string
struct CopyOptions {
    std::string source;
    std::string destination;  // a file, or an ODBC connection string (it holds '=')
    std::string table;
    std::string statement;
    std::string password;
};
CLI::App* AddCopyCommand(CLI::App& app, CopyOptions& options);
int RunCopy(const CopyOptions& options);

// The connection string of an embedded database file.
std::string EmbeddedConnectionString(const std::string& file, const std::string& password);

}  // namespace tool
