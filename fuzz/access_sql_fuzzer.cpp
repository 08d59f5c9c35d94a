// Fuzz target: the Access SQL translator on any text, against a schema with a column of each
// Access type; what it writes is then compiled by a real engine holding those tables. A
// translation may refuse the text (ado::Error) and the engine may refuse what it wrote (an
// unknown function, say); neither may crash, hang or read out of bounds. The script splitter,
// the reader of EXECUTE calls and the splitter of stored table definitions run on the same text.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <sqlcipher/sqlite3.h>

#include "ado/Error.h"
#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "ado/providers/sqlite/dialect/schema_source.h"
#include "ado/providers/sqlite/dialect/table_definition.h"
#include "ado/providers/sqlite/procedure_call.h"

namespace {

using ado::sqlite::detail::SchemaColumn;
using ado::sqlite::detail::TableShape;
using ado::sqlite::detail::ValueType;

constexpr const char* kTables =
    "CREATE TABLE t (Id INTEGER PRIMARY KEY, N TEXT(50), M CURRENCY, D DECIMAL(10,2), F DATETIME, R DOUBLE, "
    "S SINGLE, B BYTE, L LONG, Y YESNO, X MEMO, G LONGBINARY);"
    "CREATE TABLE u (Id INTEGER PRIMARY KEY, T_Id LONG, F DATETIME, N TEXT(20));";

// u's definition as the file keeps it, for changes that make it again.
constexpr const char* kStoredU =
    "CREATE TABLE `u` (`Id` INTEGER PRIMARY KEY, `T_Id` LONG CONSTRAINT `brezal:T_Id` CHECK (`T_Id` IS NULL OR "
    "(typeof(`T_Id`) = 'integer' AND `T_Id` BETWEEN -2147483648 AND 2147483647)) REFERENCES `t` (`Id`), `F` DATETIME, "
    "`N` TEXT(20) COLLATE ACCESS CONSTRAINT `brezal-size:N` CHECK (`N` IS NULL OR length(`N`) <= 20), "
    "CONSTRAINT `u_n` UNIQUE (`N`))";

class FuzzSchema final : public ado::sqlite::detail::SchemaSource {
public:
    FuzzSchema() {
        auto add = [](TableShape& table, const char* name, ado::DataTypeEnum type) {
            table.columns.push_back({name, ValueType{type, 0, type == ado::adNumeric ? uint8_t{10} : uint8_t{0},
                                            type == ado::adNumeric ? uint8_t{2} : uint8_t{0}}});
        };
        for (auto [name, type] : {std::pair{"Id", ado::adInteger}, {"N", ado::adVarWChar}, {"M", ado::adCurrency},
                                  {"D", ado::adNumeric}, {"F", ado::adDate}, {"R", ado::adDouble}, {"S", ado::adSingle},
                                  {"B", ado::adUnsignedTinyInt}, {"L", ado::adInteger}, {"Y", ado::adBoolean},
                                  {"X", ado::adLongVarWChar}, {"G", ado::adLongVarBinary}})
            add(t_, name, type);
        for (auto [name, type] : {std::pair{"Id", ado::adInteger}, {"T_Id", ado::adInteger}, {"F", ado::adDate},
                                  {"N", ado::adVarWChar}})
            add(u_, name, type);
    }
    const TableShape* Table(std::string_view database, std::string_view file, std::string_view table) override {
        if (!database.empty() || !file.empty()) return nullptr;
        if (table == "t" || table == "T") return &t_;
        if (table == "u" || table == "U") return &u_;
        return nullptr;
    }
    // u refers to t.
    std::vector<std::string> Referrers(std::string_view database, std::string_view table,
                                       const std::vector<std::string>&) override {
        if (database.empty() && (table == "t" || table == "T")) return {"u"};
        return {};
    }

    std::optional<ado::sqlite::detail::StoredTable> Stored(std::string_view database, std::string_view table) override {
        if (!database.empty() || (table != "u" && table != "U")) return std::nullopt;
        ado::sqlite::detail::StoredTable u;
        u.name = "u";
        u.sql = kStoredU;
        u.columns = {"Id", "T_Id", "F", "N"};
        u.declaredTypes = {"INTEGER", "LONG", "DATETIME", "TEXT(20)"};
        u.keyColumns = {"Id"};
        u.indexes = {{"u_f", "CREATE INDEX u_f ON u (F)", {"F"}}, {"sqlite_autoindex_u_1", "", {"N"}}};
        return u;
    }

private:
    TableShape t_, u_;
};

sqlite3* Engine() {
    sqlite3* db = nullptr;
    sqlite3_open(":memory:", &db);
    ado::sqlite::RegisterAccessFunctions(db);
    sqlite3_create_collation(db, "ACCESS", SQLITE_UTF8, nullptr,
                             [](void*, int n1, const void* a, int n2, const void* b) {
                                 const int c = std::string_view(static_cast<const char*>(a), static_cast<size_t>(n1))
                                                   .compare(std::string_view(static_cast<const char*>(b),
                                                                             static_cast<size_t>(n2)));
                                 return c;
                             });
    sqlite3_exec(db, kTables, nullptr, nullptr, nullptr);
    // A runaway statement stops after a while instead of hanging the fuzzer.
    sqlite3_progress_handler(db, 100000, [](void*) { return 1; }, nullptr);
    return db;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzSchema schema;
    static sqlite3* db = Engine();
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        (void)ado::sqlite::SplitAccessScript(text);
    } catch (const ado::Error&) {
    }
    try {
        (void)ado::sqlite::ReadProcedureCall(text);
    } catch (const ado::Error&) {
    }
    try {
        namespace d = ado::sqlite::detail;
        for (std::string item : d::SplitTableDefinition(text).items) {
            (void)d::ItemColumn(item);
            (void)d::ItemConstraintName(item);
            (void)d::IsPrimaryKeyItem(item);
            (void)d::ItemNamesColumn(item, "N");
            (void)d::KeyConstraintsOf(item);
            (void)d::RemoveColumnConstraint(item, "c");
        }
    } catch (const ado::Error&) {
    }
    try {
        ado::sqlite::Translation tr = ado::sqlite::TranslateAccessSql(text, schema);
        if (tr.crosstab) tr = ado::sqlite::CrosstabStatement(*tr.crosstab, {{"1", "a"}, {"NULL", "<>"}});
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, tr.sql.c_str(), static_cast<int>(tr.sql.size()), &stmt, nullptr) == SQLITE_OK &&
            stmt && sqlite3_stmt_readonly(stmt)) {
            // Run read-only statements a little: the functions the writer called meet real values.
            for (int rows = 0; rows < 4 && sqlite3_step(stmt) == SQLITE_ROW; ++rows) {
            }
        }
        sqlite3_finalize(stmt);
    } catch (const ado::Error&) {
    }
    return 0;
}
