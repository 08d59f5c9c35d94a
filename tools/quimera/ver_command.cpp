// quimera ver FILE: what a recordset file (ADTG or XML) holds: its fields, its rows with their
// status, and each pending change with the values it replaces.
#include <CLI/CLI.hpp>

#include <iostream>

#include "ado/ado.h"
#include "commands.h"
#include "idioma.h"
#include "table_printer.h"
#include "type_names.h"

namespace tool {

namespace {

std::string Shown(const ado::Variant& v) {
    if (v.IsNull() || v.IsEmpty()) return "Null";
    if (v.Type() == ado::VariantType::Binary) return "<" + std::to_string(v.AsBinary().size()) + " bytes>";
    if (v.IsText()) return "'" + v.AsString() + "'";
    return v.ToString();
}

std::string Attributes(ado::Field& f) {
    struct Flag {
        int32_t bit;
        const char* text;
    };
    static constexpr Flag kFlags[] = {{ado::adFldKeyColumn, N_("clave")},
                                      {ado::adFldIsNullable, N_("admite nulos")},
                                      {ado::adFldUpdatable, N_("escribible")},
                                      {ado::adFldLong, N_("largo")},
                                      {ado::adFldRowVersion, N_("versión de fila")}};
    std::string text;
    auto add = [&](const std::string& what) { text += (text.empty() ? "" : ", ") + what; };
    for (const Flag& flag : kFlags)
        if (f.Attributes() & flag.bit) add(T(flag.text));
    if (f.Properties().Item("ISAUTOINCREMENT").Value().ToBool()) add(T("autonumérico"));
    const ado::Variant table = f.Properties().Item("BASETABLENAME").Value();
    if (table.IsText()) add(table.AsString() + "." + f.Properties().Item("BASECOLUMNNAME").Value().ToString());
    return text;
}

std::string StatusName(int32_t status) {
    if (status & ado::adRecNew) return T("nuevo");
    if (status & ado::adRecDeleted) return T("borrado");
    if (status & ado::adRecModified) return T("modificado");
    return T("sin cambios");
}

}  // namespace

CLI::App* AddViewCommand(CLI::App& app, ViewOptions& o) {
    auto* cmd = app.add_subcommand("ver", T("Muestra un archivo de conjunto de registros (XML o ADTG): campos, filas y "
                                          "cambios pendientes con sus valores originales"));
    cmd->add_option(T("ARCHIVO"), o.file, T("Archivo guardado con Recordset.Save"))->required();
    return cmd;
}

int RunView(const ViewOptions& o) {
    auto rs = ado::Recordset::Create();
    rs->Open(o.file, nullptr);
    ado::Fields& fields = rs->Fields();
    std::cout << (rs->RecordCount() == 1 ? F("{0}: 1 registro, {1} campos", o.file, fields.Count())
                                         : F("{0}: {1} registros, {2} campos", o.file, rs->RecordCount(), fields.Count()))
              << "\n\n";
    for (int32_t i = 0; i < fields.Count(); ++i) {
        ado::Field& f = fields[i];
        std::cout << "  " << f.Name() << ": " << TypeName(f.Type()) << "(" << f.DefinedSize() << ")";
        if (f.Type() == ado::adDecimal || f.Type() == ado::adNumeric)
            std::cout << ' ' << F("precisión {0}, escala {1}", int(f.Precision()), int(f.NumericScale()));
        const std::string attributes = Attributes(f);
        std::cout << (attributes.empty() ? "" : " [" + attributes + "]") << '\n';
    }
    std::cout << '\n';
    rs->MoveFirst();
    PrintTable(*rs, std::cout);

    rs->Filter(ado::Variant(int32_t{ado::adFilterPendingRecords}));
    if (rs->RecordCount() == 0) return 0;
    std::cout << '\n' << T("Cambios pendientes:") << '\n';
    for (rs->MoveFirst(); !rs->adoEOF(); rs->MoveNext()) {
        const int32_t status = rs->Status();
        std::cout << "  " << StatusName(status) << ':';
        for (int32_t i = 0; i < fields.Count(); ++i) {
            ado::Field& f = fields[i];
            if (f.Type() == ado::adChapter) continue;
            if (status & ado::adRecDeleted) {
                std::cout << ' ' << f.Name() << '=' << Shown(f.OriginalValue());
            } else if (status & ado::adRecNew) {
                std::cout << ' ' << f.Name() << '=' << Shown(f.Value());
            } else if (!(f.Value() == f.OriginalValue())) {
                std::cout << ' ' << f.Name() << ": " << Shown(f.OriginalValue()) << " -> " << Shown(f.Value());
            }
        }
        std::cout << '\n';
    }
    return 0;
}

}  // namespace tool
