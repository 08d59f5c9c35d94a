// Writes a typed syntax tree as the engine's SQL. Every value is handed over in the form its
// context needs (value_conversions.h); texts compared without a column get the ACCESS
// collation; TOP becomes LIMIT; & joins texts as Access does; Access statement forms become
// the engine's. Expressions are written with an explicit stack (split over
// write_expression.cpp, write_statement.cpp and write_definition.cpp).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "ado/providers/sqlite/dialect/syntax_tree.h"
#include "ado/providers/sqlite/dialect/table_definition.h"
#include "ado/providers/sqlite/dialect/typer.h"
#include "ado/providers/sqlite/dialect/value_conversions.h"

namespace ado::sqlite::detail {

// The collation that text columns and text comparisons use.
inline constexpr const char* kTextCollation = "ACCESS";
// The name of the check that keeps Null out of a key column starts so, then the column's.
inline constexpr std::string_view kKeyCheckPrefix = "brezal-key:";

// A COUNTER or AUTOINCREMENT column, and the number it starts from (1 unless given).
bool IsCounter(const ColumnDefinition& d);
int64_t CounterSeed(const std::string& typeName);

// CONSTRAINT `brezal-key:c` CHECK (`c` IS NOT NULL)
std::string KeyCheck(const std::string& column);
// The triggers that refuse Null in the columns of an index made WITH DISALLOW NULL, by event.
std::string NullRuleTrigger(const std::string& index, const char* event);

// (`a`, `b`)
std::string NameList(const std::vector<std::string>& names);

class SqlWriter {
public:
    SqlWriter(const Tree& tree, const Typing& typing, Translation& out);
    // Writes declared types as they are (a schema's own table rewritten): REAL stays REAL.
    void KeepDeclaredTypes() { keepDeclaredTypes_ = true; }
    // An eligible SELECT ends with its sources' row identity columns (out.rowIdentity).
    void CarryRowIdentity() { carryRowIdentity_ = true; }

    // The statement's SQL; statements that must run before it go to out.before.
    std::string Statement();

    // What a select item is written as: used as, or stored into, a type.
    struct ItemForm {
        ValueType type;
        bool store = false;
    };

    // --- expressions (write_expression.cpp) ---
    std::string Expression(ExprId id, DataTypeEnum want = adVariant);
    // A condition (WHERE, ON, HAVING, CHECK): only its truth counts, so a comparison stays the
    // engine's own and an index can serve it.
    std::string Condition(ExprId id) { return Expression(id, kWantTruth); }
    std::string Stored(ExprId id, const ValueType& column);
    // An expression that sorts, groups or compares texts: with the collation when it is no column.
    std::string Collated(ExprId id);

    // --- queries (write_statement.cpp) ---
    std::string SelectText(SelectId id, const std::vector<ItemForm>* forms = nullptr);

    // --- crosstabs (write_crosstab.cpp) ---
    std::string CrosstabValues();
    // The values of the IN list, when the crosstab has one.
    std::vector<PivotValue> PivotInValues();
    // The statement with one column per value; the result's columns go to out.columns.
    std::string Crosstab(const std::vector<PivotValue>& values);

private:
    struct Item {
        bool text;
        std::string s;
        ExprId id;
        DataTypeEnum want;
    };
    void Pieces(ExprId id, DataTypeEnum want, std::vector<Item>& out);
    void NodePieces(ExprId id, std::vector<Item>& out);
    bool GivesEngineTruth(const Expr& e) const;
    void BinaryPieces(const Expr& e, ExprId id, std::vector<Item>& out);
    // An operand of a comparison made as `compare`: a text compared as a number is the number
    // written in it; a text that is no column takes the collation when `collate`.
    // A text operand as the number written in it ("10" + 5 is 15); a text that holds none is a
    // type mismatch, where the engine would read 0.
    void TextAsNumberPieces(ExprId operand, DataTypeEnum want, std::vector<Item>& out);
    void ComparedPieces(ExprId operand, DataTypeEnum compare, bool collate, std::vector<Item>& out);
    void CallPieces(const Expr& e, ExprId id, std::vector<Item>& out);
    bool NeedsCollation(ExprId id) const;
    std::string LiteralText(const Expr& e, DataTypeEnum want, bool& converted) const;
    std::string ParameterText(ExprId id);
    // "`db`.`t`." for a column's qualifier, a renamed table (renames_) under its new name.
    std::string QualifiedName(const std::string& qualifier) const;

    // One SELECT of a compound (or the only one); `extraItems` go after its items (", x AS y"),
    // named `extraNames` (for the SELECT that wraps one whose HAVING has no GROUP BY).
    std::string CoreText(SelectId id, bool inCompound, const std::vector<ItemForm>* forms,
                         const std::string& extraItems = {}, const std::vector<std::string>& extraNames = {});
    std::string TopWithTies(SelectId id, const std::vector<ItemForm>* forms);
    std::string OrderKeyText(SelectId id, ExprId term);
    std::string TopLimit(SelectId id, const std::string& rows) const;
    // A FROM (write_joins.cpp). `moreOn`: conditions of joins written flat around this one,
    // which its last join's ON takes too.
    std::string SourceText(SourceId id, const std::vector<ExprId>& moreOn = {});
    // Which tables of a FROM, in the typing's order of relations, the text puts inside
    // parentheses (`enclosed` for all of them), where the engine cannot reach their row ids.
    void MarkEnclosed(SourceId id, bool enclosed, std::vector<bool>& out) const;
    // Per relation of the select: whether the engine can name its rows by row id.
    std::vector<bool> RowIdsReachable(SelectId id) const;
    std::string PrimarySourceText(const Source& s);
    std::string TableText(const std::string& database, const std::string& file, const std::string& name);
    std::string WithText(const std::vector<CommonTable>& with);
    std::string InsertText();
    std::string UpdateText();
    std::string DeleteText();
    const Source& ChangedTable(std::string_view named) const;
    static std::string ColumnOf(const std::string& target);
    std::string OutputName(const SelectItem& item) const;
    std::string StarText(SelectId id, ExprId star, size_t& output);
    std::string DistinctRowGroups(SelectId id) const;
    bool ItemsCallAggregate(SelectId id) const;
    // The row identity columns of the statement's SELECT (", `q`._rowid_ AS ..."), listed in
    // out.rowIdentity; "" when it carries none.
    std::string RowIdentityItems();

    // --- definitions (write_definition.cpp) ---
    std::string CreateTableText();
    std::string AlterTableText();
    std::string CreateIndexText();
    std::string IndexText() const;  // CREATE [UNIQUE] INDEX ... (columns), without its options
    void NullRule();
    void DropNullRule(const std::string& database, const std::string& index);  // its triggers, if it has them
    std::string SelectIntoText();
    // `inTableKey`: the column is in the table's PRIMARY KEY (...) constraint.
    std::string ColumnText(const ColumnDefinition& d, const ValueType& type, bool counter, bool inTableKey);
    std::string DefinitionsText(const std::vector<ColumnDefinition>& defs, const std::vector<ValueType>& types,
                                const std::vector<TableConstraint>& constraints);
    std::string TableConstraintText(const TableConstraint& tc);

    // --- changes that make a table again (write_table_change.cpp) ---
    std::string TableChangeText();
    DefinitionItems StoredDefinition(const std::string& what) const;
    std::string DropIndexText(const std::string& database, const std::string& index);
    std::string AddedConstraintText(DefinitionItems& def);
    void AddKey(DefinitionItems& def, const std::string& name, const std::vector<std::string>& columns);
    void DropConstraint(DefinitionItems& def, const std::string& name);
    void AddColumn(DefinitionItems& def);
    void DropColumn(DefinitionItems& def, const std::string& column);
    void AlterColumn(DefinitionItems& def);
    std::string RemadeTableText(const DefinitionItems& def);
    std::string PrimaryIndexText();

    const Tree& tree_;
    const Typing& typing_;
    Translation& out_;
    std::vector<int> parameterNumbers_;  // by ExprId of a parameter: its ?N
    bool keepDeclaredTypes_ = false;
    bool carryRowIdentity_ = false;
    std::string identityItems_;  // the statement's SELECT's row identity columns
    // Tables a statement's columns name otherwise where the engine's form needs it (an
    // alias of UPDATE's table, which the engine cannot alias).
    std::vector<std::pair<std::string, std::string>> renames_;
    const Source* innerAlias_ = nullptr;  // the changed table inside an UPDATE's subqueries
    std::string pivotCondition_;  // a crosstab column's: the rows its aggregates take
    // A table made again: the columns whose values are copied converted, and how.
    std::vector<std::pair<std::string, std::string>> copiedAs_;
};

// The name of the attached database that stands for an external file (same file, same name).
std::string AttachmentAlias(std::string_view path);

}  // namespace ado::sqlite::detail
