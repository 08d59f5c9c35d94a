#include "table_create.h"

#include "type_names.h"

namespace tool {

bool TableExists(const ado::ConnectionPtr& cn, const std::string& table) {
    try {
        cn->Execute("SELECT * FROM [" + table + "] WHERE 1 = 0");
        return true;
    } catch (const ado::Error& e) {
        if (e.Number() == ado::err::TableNotFound) return false;
        throw;
    }
}

void CreateTable(const ado::ConnectionPtr& cn, const std::string& table, ado::Fields& fields) {
    std::string sql = "CREATE TABLE [" + table + "] (";
    std::string key;
    bool first = true;
    for (int32_t i = 0; i < fields.Count(); ++i) {
        ado::Field& f = fields[i];
        if (f.Type() == ado::adChapter) continue;
        sql += (first ? "" : ", ") + std::string("[") + f.Name() + "] " + AccessType(f);
        first = false;
        if (f.Properties().Item("KEYCOLUMN").Value().ToBool()) key += (key.empty() ? "[" : ", [") + f.Name() + "]";
    }
    if (!key.empty()) sql += ", PRIMARY KEY (" + key + ")";
    cn->Execute(sql + ")");
}

}  // namespace tool
