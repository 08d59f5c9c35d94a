// Data definition: tables whose columns keep Access's values in form (a check per typed
// column, the ACCESS collation on texts, REAL as SINGLE), the autonumber column, indexes,
// and the make-table query SELECT ... INTO.
#include <cctype>
#include <charconv>
#include <cstdint>

#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/sql_tokens.h"
#include "ado/providers/sqlite/dialect/sql_writer.h"

namespace ado::sqlite::detail {

namespace {

using Kind = ColumnDefinition::Constraint::Kind;

std::string FirstWord(const std::string& typeName) {
    size_t end = 0;
    while (end < typeName.size() && (std::isalnum(static_cast<unsigned char>(typeName[end])) || typeName[end] == '_'))
        ++end;
    return ToUpperAscii(typeName.substr(0, end));
}

}  // namespace

bool IsCounter(const ColumnDefinition& d) {
    const std::string w = FirstWord(d.typeName);
    return w == "COUNTER" || w == "AUTOINCREMENT";
}

// COUNTER(seed, increment): the engine numbers by 1 from any seed of 1 or more, which its
// table of sequences starts (a statement after the CREATE TABLE); other forms are refused.
int64_t CounterSeed(const std::string& typeName) {
    const size_t open = typeName.find('(');
    if (open == std::string::npos) return 1;
    std::string args;
    for (char c : typeName.substr(open + 1)) {
        if (c == ')') break;
        if (c != ' ') args += c;
    }
    const size_t comma = args.find(',');
    const std::string seedText = args.substr(0, comma);
    int64_t seed = 0;
    const auto [end, ec] = std::from_chars(seedText.data(), seedText.data() + seedText.size(), seed);
    const bool byOne = comma == std::string::npos || args.substr(comma + 1) == "1";
    if (ec != std::errc() || end != seedText.data() + seedText.size() || seed < 1 || seed > INT32_MAX || !byOne)
        ThrowNotSupported("COUNTER con valor inicial menor que 1 o incremento distinto de 1.");
    return seed;
}

namespace {

// The declared type as the schema keeps it: REAL, Access's single, is written SINGLE.
std::string SchemaTypeName(const std::string& typeName) {
    if (FirstWord(typeName) == "REAL") return "SINGLE" + typeName.substr(4);
    return typeName;
}

// The check that keeps a typed column's values in their form; "" when none is needed.
std::string StorageCheck(const std::string& column, const ValueType& t) {
    const std::string c = QuoteName(column);
    auto range = [&](const char* low, const char* high) {
        return c + " IS NULL OR (typeof(" + c + ") = 'integer' AND " + c + " BETWEEN " + low + " AND " + high + ")";
    };
    switch (t.type) {
        case adUnsignedTinyInt: case adTinyInt: return range("0", "255");
        case adSmallInt: return range("-32768", "32767");
        case adInteger: return range("-2147483648", "2147483647");
        case adBigInt: case adCurrency: return "typeof(" + c + ") IN ('integer', 'null')";
        case adDate:
            return c + " IS NULL OR (typeof(" + c + ") IN ('integer', 'real') AND " + c + " >= -657434 AND " + c +
                   " < 2958466)";
        case adNumeric: case adDecimal: return c + " IS NULL OR (typeof(" + c + ") = 'blob' AND length(" + c + ") = 24)";
        case adGUID: {
            const std::string hex = "[0-9A-Fa-f]";
            auto digits = [&](int n) {
                std::string s;
                for (int i = 0; i < n; ++i) s += hex;
                return s;
            };
            return c + " IS NULL OR (typeof(" + c + ") = 'text' AND " + c + " GLOB '{" + digits(8) + "-" + digits(4) +
                   "-" + digits(4) + "-" + digits(4) + "-" + digits(12) + "}')";
        }
        default: return {};
    }
}

// A text of a declared size holds that many characters at most, as in Access; a text
// declared without one (its size unknown, or a make-table's computed text) is not checked.
std::string SizeCheck(const ColumnDefinition& d, const ValueType& t) {
    const bool sized = t.type == adVarWChar || t.type == adWChar || t.type == adVarChar || t.type == adChar;
    if (!sized || t.size <= 0 || d.typeName.find('(') == std::string::npos) return {};
    const std::string c = QuoteName(d.name);
    return c + " IS NULL OR length(" + c + ") <= " + std::to_string(t.size);
}

bool InKey(const std::string& column, const std::vector<TableConstraint>& constraints) {
    for (const TableConstraint& tc : constraints)
        if (tc.kind == TableConstraint::Kind::PrimaryKey)
            for (const std::string& c : tc.columns)
                if (EqualsNoCase(c, column)) return true;
    return false;
}

}  // namespace

std::string SqlWriter::ColumnText(const ColumnDefinition& d, const ValueType& type, bool counter, bool inTableKey) {
    std::string out = QuoteName(d.name);
    if (counter) {
        CounterSeed(d.typeName);
        out += " INTEGER PRIMARY KEY AUTOINCREMENT";
    } else if (!d.typeName.empty()) {
        out += " " + (keepDeclaredTypes_ ? d.typeName : SchemaTypeName(d.typeName));
    }
    bool collated = false;
    for (const auto& c : d.constraints) {
        if (counter && c.kind == Kind::PrimaryKey) continue;
        if (!c.name.empty()) out += " CONSTRAINT " + QuoteName(c.name);
        switch (c.kind) {
            case Kind::PrimaryKey:
                out += " PRIMARY KEY";
                if (!c.text.empty()) out += " " + c.text;
                if (c.autoIncrement) out += " AUTOINCREMENT";
                break;
            case Kind::NotNull: out += " NOT NULL"; break;
            case Kind::Null: out += " NULL"; break;
            case Kind::Unique: out += " UNIQUE"; break;
            case Kind::Default: out += " DEFAULT (" + Stored(c.expr, type) + ")"; break;
            case Kind::Check: out += " CHECK (" + Condition(c.expr) + ")"; break;
            case Kind::References: out += " REFERENCES " + c.text; break;
            case Kind::Collate:
                out += " COLLATE " + QuoteName(c.text);
                collated = true;
                break;
            case Kind::Other: out += " " + c.text; break;
        }
    }
    if (!collated && IsTextType(type.type)) out += std::string(" COLLATE ") + kTextCollation;
    bool rowId = false;  // INTEGER PRIMARY KEY: the engine's own row number, always an integer
    bool key = inTableKey;
    for (const auto& c : d.constraints) {
        rowId |= c.kind == Kind::PrimaryKey && FirstWord(d.typeName) == "INTEGER";
        key |= c.kind == Kind::PrimaryKey;
    }
    if (key && !counter && !rowId) out += " " + KeyCheck(d.name);
    if (!counter && !rowId) {
        const std::string check = StorageCheck(d.name, type);
        if (!check.empty()) out += " CONSTRAINT " + QuoteName("brezal:" + d.name) + " CHECK (" + check + ")";
    }
    const std::string size = SizeCheck(d, type);
    if (!size.empty()) out += " CONSTRAINT " + QuoteName("brezal-size:" + d.name) + " CHECK (" + size + ")";
    return out;
}

std::string SqlWriter::DefinitionsText(const std::vector<ColumnDefinition>& defs, const std::vector<ValueType>& types,
                                       const std::vector<TableConstraint>& constraints) {
    size_t counter = kNone;
    for (size_t i = 0; i < defs.size(); ++i) {
        if (!IsCounter(defs[i])) continue;
        if (counter != kNone) ThrowNotSupported("más de un campo autonumérico en una tabla.");
        counter = i;
    }
    std::string out;
    for (size_t i = 0; i < defs.size(); ++i) {
        if (counter != kNone && i != counter)
            for (const auto& c : defs[i].constraints)
                if (c.kind == Kind::PrimaryKey) ThrowNotSupported("un campo autonumérico que no es la clave principal.");
        out += (out.empty() ? "" : ", ") + ColumnText(defs[i], types[i], i == counter, InKey(defs[i].name, constraints));
    }
    for (const TableConstraint& tc : constraints) {
        if (tc.kind == TableConstraint::Kind::PrimaryKey && counter != kNone) {
            // The autonumber is the key already; a key of other columns cannot be kept.
            if (tc.columns.size() == 1 && EqualsNoCase(tc.columns.front(), defs[counter].name)) continue;
            ThrowNotSupported("un campo autonumérico que no es la clave principal.");
        }
        out += ", " + TableConstraintText(tc);
    }
    return out;
}

std::string SqlWriter::TableConstraintText(const TableConstraint& tc) {
    std::string out;
    if (!tc.name.empty()) out += "CONSTRAINT " + QuoteName(tc.name) + " ";
    switch (tc.kind) {
        case TableConstraint::Kind::PrimaryKey: return out + "PRIMARY KEY " + NameList(tc.columns);
        case TableConstraint::Kind::Unique: return out + "UNIQUE " + NameList(tc.columns);
        case TableConstraint::Kind::Check: return out + "CHECK (" + Condition(tc.check) + ")";
        case TableConstraint::Kind::ForeignKey: return out + "FOREIGN KEY " + NameList(tc.columns) + " " + tc.references;
    }
    return out;
}

std::string KeyCheck(const std::string& column) {
    return "CONSTRAINT " + QuoteName(std::string(kKeyCheckPrefix) + column) + " CHECK (" + QuoteName(column) +
           " IS NOT NULL)";
}

std::string NameList(const std::vector<std::string>& names) {
    std::string list = "(";
    for (size_t i = 0; i < names.size(); ++i) list += (i ? ", " : "") + QuoteName(names[i]);
    return list + ")";
}

std::string SqlWriter::CreateTableText() {
    const auto& st = tree_.statement;
    std::string out = std::string("CREATE ") + (st.temporary ? "TEMP " : "") + "TABLE " +
                      (st.ifNotExists ? "IF NOT EXISTS " : "") +
                      TableText(st.target.database, st.target.externalFile, st.target.name);
    if (st.select != kNone) return out + " AS " + SelectText(st.select);
    out += " (" + DefinitionsText(st.definitions, typing_.definitions, st.tableConstraints) + ")";
    if (!st.options.empty()) out += " " + st.options;
    for (const ColumnDefinition& d : st.definitions) {
        const int64_t seed = IsCounter(d) ? CounterSeed(d.typeName) : 1;
        if (seed == 1) continue;
        if (!st.target.externalFile.empty()) ThrowNotSupported("COUNTER con valor inicial en una tabla de otro archivo.");
        // The next number is one past the sequence's; a table that was there already keeps its own.
        const std::string schema = st.target.database.empty() ? "" : QuoteName(st.target.database) + ".";
        const std::string name = QuoteString(st.target.name);
        out_.after.push_back("INSERT INTO " + schema + "sqlite_sequence (name, seq) SELECT " + name + ", " +
                             std::to_string(seed - 1) + " WHERE NOT EXISTS (SELECT 1 FROM " + schema +
                             "sqlite_sequence WHERE name = " + name + ")");
    }
    return out;
}

std::string SqlWriter::AlterTableText() {
    const auto& st = tree_.statement;
    if (st.alterAction != "ADD COLUMN") return TableChangeText();
    // The engine adds a column in place unless it is an autonumber, a key or unique, or
    // required without a default (the rows there are would break it: then it is refused).
    const ColumnDefinition& d = st.definitions.front();
    const bool keyed = IsCounter(d) || d.Has(Kind::PrimaryKey) || d.Has(Kind::Unique);
    if (keyed || (d.Has(Kind::NotNull) && !d.Has(Kind::Default))) {
        if (!typing_.stored)
            ThrowNotSupported("añadir un campo autonumérico, clave, único u obligatorio sin la base de datos o en otro "
                              "archivo.");
        return TableChangeText();
    }
    return "ALTER TABLE " + TableText(st.target.database, st.target.externalFile, st.target.name) + " ADD COLUMN " +
           ColumnText(st.definitions.front(), typing_.definitions.front(), false, false);
}

std::string SqlWriter::CreateIndexText() {
    const auto& st = tree_.statement;
    if (st.options == "PRIMARY") return PrimaryIndexText();
    std::string out = IndexText();
    if (st.options.empty()) return out;
    if (st.options == "DISALLOW NULL") {
        NullRule();
        return out;
    }
    // WITH IGNORE NULL leaves Null keys out of the index.
    if (st.options != "IGNORE NULL") ThrowNotSupported("CREATE INDEX ... WITH " + st.options + ".");
    out += " WHERE ";
    for (size_t i = 0; i < st.columns.size(); ++i) out += (i ? " AND " : "") + QuoteName(st.columns[i]) + " IS NOT NULL";
    return out;
}

// WITH DISALLOW NULL: the engine's indexes take Null, so two triggers of the index refuse a
// row with Null in its columns (the first such column named, as a key's check names it), and
// the rows already there are put to them. DROP INDEX drops them with the index.
void SqlWriter::NullRule() {
    const auto& st = tree_.statement;
    const std::string schema = st.target.database.empty() ? "" : QuoteName(st.target.database) + ".";
    std::string refusal = "CASE", anyNull, firstNull;
    for (const std::string& c : st.columns) {
        refusal += " WHEN NEW." + QuoteName(c) + " IS NULL THEN RAISE(ABORT, " +
                   QuoteString(std::string(kKeyCheckPrefix) + c) + ")";
        anyNull += (anyNull.empty() ? "" : " OR ") + QuoteName(c) + " IS NULL";
    }
    refusal += " END";
    for (const char* event : {"INSERT", "UPDATE"})
        out_.after.push_back("CREATE TRIGGER " + schema + QuoteName(NullRuleTrigger(st.indexName, event)) + " BEFORE " +
                             event + " ON " + QuoteName(st.target.name) + " FOR EACH ROW BEGIN SELECT " + refusal +
                             "; END");
    const std::string first = QuoteName(st.columns.front());
    out_.after.push_back("UPDATE " + schema + QuoteName(st.target.name) + " SET " + first + " = " + first + " WHERE " +
                         anyNull);
}

void SqlWriter::DropNullRule(const std::string& database, const std::string& index) {
    const std::string schema = database.empty() ? "" : QuoteName(database) + ".";
    for (const char* event : {"INSERT", "UPDATE"})
        out_.after.push_back("DROP TRIGGER IF EXISTS " + schema + QuoteName(NullRuleTrigger(index, event)));
}

std::string NullRuleTrigger(const std::string& index, const char* event) {
    return std::string("brezal-nn-") + event + ":" + index;
}

std::string SqlWriter::IndexText() const {
    const auto& st = tree_.statement;
    std::string out = std::string("CREATE ") + (st.unique ? "UNIQUE " : "") + "INDEX " +
                      (st.ifNotExists ? "IF NOT EXISTS " : "") + QuoteName(st.indexName) + " ON " +
                      (st.target.database.empty() ? "" : QuoteName(st.target.database) + ".") + QuoteName(st.target.name) +
                      " (";
    for (size_t i = 0; i < st.columns.size(); ++i) {
        out += (i ? ", " : "") + QuoteName(st.columns[i]);
        if (!st.directions[i].empty()) out += " " + st.directions[i];
    }
    return out + ")";
}

// SELECT ... INTO t: the new table with the columns' Access types, then the rows.
std::string SqlWriter::SelectIntoText() {
    const auto& st = tree_.statement;
    const std::string target = TableText(st.target.database, st.target.externalFile, st.target.name);
    const auto& outputs = typing_.outputs[st.select];
    bool known = !outputs.empty();
    for (const OutputColumn& c : outputs) known &= !c.unknown;
    if (!known) return "CREATE TABLE " + target + " AS " + SelectText(st.select);
    std::string columns;
    for (const OutputColumn& c : outputs) {
        ColumnDefinition d;
        d.name = c.name;
        d.typeName = DeclaredNameOf(c.type);
        columns += (columns.empty() ? "" : ", ") + ColumnText(d, c.type, false, false);
    }
    out_.before.push_back("CREATE TABLE " + target + " (" + columns + ")");
    return "INSERT INTO " + target + " " + SelectText(st.select);
}

}  // namespace ado::sqlite::detail
