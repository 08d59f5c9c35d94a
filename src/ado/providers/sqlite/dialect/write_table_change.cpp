// ALTER TABLE changes the engine cannot make in place: a key, unique index or relationship
// added or dropped, an autonumber, key or unique column added, a column dropped or given
// another type or size. The table is made again under its new definition: its rows copied
// with their row numbers (which open recordsets keep), converted where a column's type
// changed, then its indexes, triggers and autonumber sequence as they were.
#include "ado/error_numbers.h"
#include "ado/providers/sqlite/dialect/declared_types.h"
#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/sql_tokens.h"
#include "ado/providers/sqlite/dialect/sql_writer.h"
#include "ado/providers/sqlite/dialect/value_conversions.h"

namespace ado::sqlite::detail {

namespace {

using Kind = TableConstraint::Kind;

bool Contains(const std::vector<std::string>& names, std::string_view name) {
    for (const std::string& n : names)
        if (EqualsNoCase(n, name)) return true;
    return false;
}

size_t ColumnItem(const DefinitionItems& def, std::string_view column) {
    for (size_t i = 0; i < def.items.size(); ++i)
        if (EqualsNoCase(ItemColumn(def.items[i]), column)) return i;
    Raise(Condition::ItemNotFound, "'" + std::string(column) + "'");
}

// The key's own checks against Null go with the key.
void RemoveKeyChecks(DefinitionItems& def, const std::vector<std::string>& keyColumns) {
    for (const std::string& column : keyColumns) {
        const std::string check = std::string(kKeyCheckPrefix) + column;
        std::erase_if(def.items, [&](const std::string& item) { return EqualsNoCase(ItemConstraintName(item), check); });
        for (std::string& item : def.items)
            if (!ItemColumn(item).empty()) RemoveColumnConstraint(item, check);
    }
}

// The kinds of value a column's values are converted between as Access converts them
// (CStr, CLng, CDate... of each value): texts, numbers, Currency, Decimal, dates, Yes/No.
bool Convertible(DataTypeEnum t) {
    return IsTextType(t) || IsNumberType(t) || t == adCurrency || IsDecimalType(t) || t == adDate || t == adBoolean;
}

}  // namespace

std::string SqlWriter::TableChangeText() {
    const auto& st = tree_.statement;
    // Without the table's definition a constraint can only be taken for an index.
    if (!typing_.stored && st.alterAction == "DROP CONSTRAINT" && st.target.externalFile.empty())
        return DropIndexText(st.target.database, st.indexName);
    DefinitionItems def = StoredDefinition("ALTER TABLE ... " + st.alterAction);
    if (st.alterAction == "ADD CONSTRAINT") {
        if (std::string index = AddedConstraintText(def); !index.empty()) return index;
    } else if (st.alterAction == "DROP CONSTRAINT") {
        for (const StoredIndex& index : typing_.stored->indexes)
            if (!index.sql.empty() && EqualsNoCase(index.name, st.indexName)) return DropIndexText({}, index.name);
        DropConstraint(def, st.indexName);
    } else if (st.alterAction == "ADD COLUMN") {
        AddColumn(def);
    } else if (st.alterAction == "DROP COLUMN") {
        DropColumn(def, st.columns.front());
    } else {
        AlterColumn(def);
    }
    return RemadeTableText(def);
}

// The table's stored definition taken apart; `what` names the statement that needs it where
// there is none to read (no database, a table of an attached one).
DefinitionItems SqlWriter::StoredDefinition(const std::string& what) const {
    if (!typing_.stored) ThrowNotSupported(what + " sin la base de datos.");
    if (!tree_.statement.target.database.empty()) ThrowNotSupported(what + " en una base de datos adjunta.");
    return SplitTableDefinition(typing_.stored->sql);
}

// DROP INDEX, with the triggers of an index made WITH DISALLOW NULL.
std::string SqlWriter::DropIndexText(const std::string& database, const std::string& index) {
    DropNullRule(database, index);
    return "DROP INDEX " + (database.empty() ? "" : QuoteName(database) + ".") + QuoteName(index);
}

// A unique constraint is a unique index, made as it is; a key or relationship joins the
// definition (""), a key with its columns' checks against Null.
std::string SqlWriter::AddedConstraintText(DefinitionItems& def) {
    const StoredTable& stored = *typing_.stored;
    const TableConstraint& tc = tree_.statement.tableConstraints.front();
    if (tc.kind != Kind::PrimaryKey)  // a key checks its own columns
        for (const std::string& column : tc.columns) ColumnItem(def, column);
    switch (tc.kind) {
        case Kind::Unique: {
            std::string name = tc.name;
            if (name.empty())
                for (const std::string& column : tc.columns) name += (name.empty() ? stored.name : "") + "_" + column;
            return "CREATE UNIQUE INDEX " + QuoteName(name) + " ON " + QuoteName(stored.name) + " " + NameList(tc.columns);
        }
        case Kind::PrimaryKey:
            AddKey(def, tc.name, tc.columns);
            return {};
        default:
            def.items.push_back(TableConstraintText(tc));
            return {};
    }
}

// The table's key, its columns refusing Null; refused where the table has one.
void SqlWriter::AddKey(DefinitionItems& def, const std::string& name, const std::vector<std::string>& columns) {
    const StoredTable& stored = *typing_.stored;
    for (const std::string& column : columns) ColumnItem(def, column);
    if (!stored.keyColumns.empty()) Raise(Condition::KeyExists, "('" + stored.name + "')");
    def.items.push_back((name.empty() ? "" : "CONSTRAINT " + QuoteName(name) + " ") + "PRIMARY KEY " + NameList(columns));
    for (const std::string& column : columns) def.items.push_back(KeyCheck(column));
}

void SqlWriter::DropConstraint(DefinitionItems& def, const std::string& name) {
    const StoredTable& stored = *typing_.stored;
    auto dropKey = [&] {
        if (!typing_.keyReferrers.empty())
            Raise(Condition::InRelationship, "'" + name + "' ('" + typing_.keyReferrers.front() + "')");
        RemoveKeyChecks(def, stored.keyColumns);
    };
    // The library's own checks are the columns' types, not constraints to drop.
    if (!name.starts_with("brezal"))
        for (size_t i = 0; i < def.items.size(); ++i) {
            std::string& item = def.items[i];
            if (ItemColumn(item).empty()) {
                if (!EqualsNoCase(ItemConstraintName(item), name)) continue;
                const bool key = IsPrimaryKeyItem(item);
                def.items.erase(def.items.begin() + static_cast<std::ptrdiff_t>(i));
                if (key) dropKey();
                return;
            }
            bool key = false;
            if (!RemoveColumnConstraint(item, name, &key)) continue;
            if (key) dropKey();
            return;
        }
    Raise(Condition::ConstraintNotFound, "'" + name + "'");
}

// A column the engine cannot add in place (an autonumber, a key, unique, required without a
// default): after the other columns. An autonumber numbers the rows there are by their row
// numbers; a required column is refused where there are rows.
void SqlWriter::AddColumn(DefinitionItems& def) {
    const StoredTable& stored = *typing_.stored;
    const ColumnDefinition& d = tree_.statement.definitions.front();
    const bool key = IsCounter(d) || d.Has(ColumnDefinition::Constraint::Kind::PrimaryKey);
    if (key && !stored.keyColumns.empty()) Raise(Condition::KeyExists, "('" + stored.name + "')");
    if (IsCounter(d) && CounterSeed(d.typeName) != 1)
        ThrowNotSupported("COUNTER con valor inicial en un campo añadido a una tabla con filas.");
    if (Contains(stored.columns, d.name))
        Raise(Condition::IllegalOperation, "(ya existe un campo '" + d.name + "')");
    size_t at = 0;
    while (at < def.items.size() && !ItemColumn(def.items[at]).empty()) ++at;
    def.items.insert(def.items.begin() + static_cast<std::ptrdiff_t>(at),
                     ColumnText(d, typing_.definitions.front(), IsCounter(d), false));
}

// A column goes with its own constraints; one that an index, key, relationship or rule of
// the table names stays, as in Access.
void SqlWriter::DropColumn(DefinitionItems& def, const std::string& column) {
    const StoredTable& stored = *typing_.stored;
    const size_t at = ColumnItem(def, column);
    bool needed = false;
    for (const StoredIndex& index : stored.indexes) needed |= Contains(index.columns, column);
    for (const std::string& item : def.items) needed |= ItemColumn(item).empty() && ItemNamesColumn(item, column);
    if (needed) Raise(Condition::FieldInIndex, "'" + column + "'");
    if (stored.columns.size() == 1) ThrowNotSupported("eliminar el único campo de una tabla.");
    def.items.erase(def.items.begin() + static_cast<std::ptrdiff_t>(at));
}

// The column gets its new definition; its key, unique and relationship stay, as Access keeps
// indexes apart from the field. Its values are converted to the new type as Access converts
// them; a value that does not convert, or does not fit, refuses the change and nothing changes.
void SqlWriter::AlterColumn(DefinitionItems& def) {
    const StoredTable& stored = *typing_.stored;
    const ColumnDefinition& d = tree_.statement.definitions.front();
    const ValueType& type = typing_.definitions.front();
    const size_t at = ColumnItem(def, d.name);
    const std::string& old = def.items[at];
    size_t column = 0;
    while (!EqualsNoCase(stored.columns[column], d.name)) ++column;
    const DataTypeEnum from = MapDeclaredType(stored.declaredTypes[column]).type;
    const std::string upper = ToUpperAscii(old);
    if (upper.find("AUTOINCREMENT") != std::string::npos || (from == adInteger && Contains(stored.keyColumns, d.name) &&
                                                             upper.find("INTEGER PRIMARY KEY") != std::string::npos))
        ThrowNotSupported("cambiar un campo autonumérico.");
    for (const auto& c : d.constraints)
        if (c.kind == ColumnDefinition::Constraint::Kind::PrimaryKey || c.kind == ColumnDefinition::Constraint::Kind::Unique ||
            c.kind == ColumnDefinition::Constraint::Kind::References)
            ThrowNotSupported("ALTER TABLE ... ALTER COLUMN con una clave o relación (use ADD CONSTRAINT).");
    if (from != type.type && (!Convertible(from) || !Convertible(type.type)))
        ThrowNotSupported("cambiar el tipo de datos del campo '" + d.name + "' de " + stored.declaredTypes[column] +
                          " a " + d.typeName + ".");
    def.items[at] = ColumnText(d, type, false, Contains(stored.keyColumns, d.name)) + KeyConstraintsOf(old);
    // A Null stays Null (Access's conversion functions refuse it).
    const Wrapping convert = StoreAs(from, type);
    const std::string value = QuoteName(stored.columns[column]);
    if (!convert.None())
        copiedAs_.emplace_back(stored.columns[column], "CASE WHEN " + value + " IS NULL THEN NULL ELSE " + convert.before +
                                                           value + convert.after + " END");
}

// CREATE INDEX ... WITH PRIMARY makes the table's key, named as the index, as ADD CONSTRAINT
// ... PRIMARY KEY does.
std::string SqlWriter::PrimaryIndexText() {
    const auto& st = tree_.statement;
    DefinitionItems def = StoredDefinition("CREATE INDEX ... WITH PRIMARY");
    AddKey(def, st.indexName, st.columns);
    return RemadeTableText(def);
}

std::string SqlWriter::RemadeTableText(const DefinitionItems& def) {
    const StoredTable& stored = *typing_.stored;
    const std::string table = QuoteName(stored.name);
    const std::string remadeName = stored.name + std::string(kRemadeTableSuffix);
    const std::string remade = QuoteName(remadeName);
    std::string items;
    for (const std::string& item : def.items) items += (items.empty() ? "" : ", ") + item;
    out_.before.push_back("CREATE TABLE " + remade + " (" + items + ")" + (def.options.empty() ? "" : " " + def.options));
    // Each value as it is, or converted to its column's new type.
    std::string columns = stored.rowid ? "_rowid_" : "", values = columns;
    for (const std::string& item : def.items) {
        const std::string column = ItemColumn(item);
        if (!Contains(stored.columns, column)) continue;
        std::string value = QuoteName(column);
        for (const auto& [name, expression] : copiedAs_)
            if (EqualsNoCase(name, column)) value = expression;
        columns += (columns.empty() ? "" : ", ") + QuoteName(column);
        values += (values.empty() ? "" : ", ") + value;
    }
    out_.before.push_back("INSERT INTO " + remade + " (" + columns + ") SELECT " + values + " FROM " + table);
    if (ToUpperAscii(stored.sql).find("AUTOINCREMENT") != std::string::npos) {
        // The numbering goes on from where it was, not from the highest number left.
        out_.before.push_back("DELETE FROM sqlite_sequence WHERE name = " + QuoteString(remadeName));
        out_.before.push_back("INSERT INTO sqlite_sequence (name, seq) SELECT " + QuoteString(remadeName) +
                              ", seq FROM sqlite_sequence WHERE name = " + QuoteString(stored.name));
    }
    out_.before.push_back("DROP TABLE " + table);
    for (const StoredIndex& index : stored.indexes)
        if (!index.sql.empty()) out_.after.push_back(index.sql);
    for (const std::string& trigger : stored.triggers) out_.after.push_back(trigger);
    // Its old rows would be the parents of the new ones when it refers to itself.
    out_.remakesRelatedTable = !typing_.referrers.empty() || stored.refersToItself;
    return "ALTER TABLE " + remade + " RENAME TO " + table;
}

}  // namespace ado::sqlite::detail
