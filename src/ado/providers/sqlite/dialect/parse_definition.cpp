// Data definition: CREATE TABLE, ALTER TABLE, CREATE INDEX, DROP TABLE / INDEX.
// Views, procedures, triggers and the rest pass through as written.
#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/parser_state.h"

namespace ado::sqlite::detail {

namespace {

// Words that end a type name in a column definition.
bool EndsTypeName(const Token& t) {
    if (t.kind != TokenKind::Word) return true;
    for (std::string_view w : {"NULL", "WITH", "GENERATED", "AS", "CONSTRAINT", "NOT", "PRIMARY", "UNIQUE", "CHECK",
                               "DEFAULT", "REFERENCES", "COLLATE", "AUTOINCREMENT"})
        if (IsWord(t, w)) return true;
    return IsReservedWord(t.text);
}

bool AtConstraintStart(const ParserState& p) {
    for (std::string_view w : {"CONSTRAINT", "PRIMARY", "NOT", "NULL", "UNIQUE", "CHECK", "DEFAULT", "REFERENCES",
                               "COLLATE", "WITH", "FOREIGN"})
        if (p.AtWord(w)) return true;
    return false;
}

}  // namespace

std::string ParserState::ParseTypeName() {
    std::string name = Peek().original;  // the first word, even a keyword (COUNTER, AUTOINCREMENT)
    Advance();
    while (!AtEnd() && !EndsTypeName(Peek())) {
        name += " " + Peek().original;
        Advance();
    }
    if (AtPunct("(")) {
        name += "(";
        Advance();
        while (!AtEnd() && !AtPunct(")")) {
            name += Peek().original;
            Advance();
        }
        ExpectPunct(")");
        name += ")";
    }
    return name;
}

// REFERENCES table [(columns)] [ON DELETE | ON UPDATE action] [MATCH name] [DEFERRABLE ...],
// kept as the engine reads it; the table it names goes to `table`.
static std::string ReferencesClause(ParserState& p, std::string& table) {
    table = p.ExpectName("la tabla de la referencia");
    std::string text = "REFERENCES " + QuoteName(table);
    int depth = 0;
    while (!p.AtEnd()) {
        if (depth == 0 && (p.AtPunct(",") || p.AtPunct(")") || p.AtWord("CONSTRAINT") || p.AtWord("CHECK") ||
                           p.AtWord("DEFAULT") || p.AtWord("COLLATE") || p.AtWord("UNIQUE") || p.AtWord("PRIMARY") ||
                           (p.AtWord("NOT") && p.AtWord("NULL", 1))))
            break;
        if (p.AtPunct("(")) ++depth;
        if (p.AtPunct(")")) --depth;
        const Token& t = p.Peek();
        const bool tight = (t.kind == TokenKind::Punct && (t.text == "," || t.text == ")")) || text.back() == '(';
        text += tight ? "" : " ";
        text += t.kind == TokenKind::Name ? QuoteName(t.value) : t.text;
        p.Advance();
    }
    return text;
}

// (name [ASC|DESC], ...); the directions, when asked for, in `directions`.
static std::vector<std::string> NameList(ParserState& p, std::vector<std::string>* directions = nullptr) {
    std::vector<std::string> names;
    p.ExpectPunct("(");
    do {
        names.push_back(p.ExpectName("un nombre de columna"));
        std::string direction;
        if (p.AcceptWord("ASC")) direction = "ASC";
        else if (p.AcceptWord("DESC")) direction = "DESC";
        if (directions) directions->push_back(direction);
    } while (p.AcceptPunct(","));
    p.ExpectPunct(")");
    return names;
}

ColumnDefinition ParserState::ParseColumnDefinition(SelectId scope) {
    using Kind = ColumnDefinition::Constraint::Kind;
    ColumnDefinition def;
    def.name = ExpectName("el nombre del campo");
    if (!AtConstraintStart(*this) && !AtPunct(",") && !AtPunct(")") && !AtEnd()) def.typeName = ParseTypeName();
    while (AtConstraintStart(*this)) {
        ColumnDefinition::Constraint c;
        if (AcceptWord("CONSTRAINT")) c.name = ExpectName("el nombre de la restricción");
        if (AcceptWord("PRIMARY")) {
            ExpectWord("KEY");
            c.kind = Kind::PrimaryKey;
            if (AcceptWord("DESC")) c.text = "DESC";
            else AcceptWord("ASC");
            c.autoIncrement = AcceptWord("AUTOINCREMENT");
        } else if (AcceptWord("NOT")) {
            ExpectWord("NULL");
            c.kind = Kind::NotNull;
        } else if (AcceptWord("NULL")) {
            c.kind = Kind::Null;
        } else if (AcceptWord("UNIQUE")) {
            c.kind = Kind::Unique;
        } else if (AcceptWord("CHECK")) {
            c.kind = Kind::Check;
            ExpectPunct("(");
            c.expr = ParseExpression(scope);
            ExpectPunct(")");
        } else if (AcceptWord("DEFAULT")) {
            c.kind = Kind::Default;
            c.expr = ParseExpression(scope);
        } else if (AtWord("REFERENCES")) {
            Advance();
            c.kind = Kind::References;
            c.text = ReferencesClause(*this, c.referencedTable).substr(11);
        } else if (AcceptWord("COLLATE")) {
            c.kind = Kind::Collate;
            c.text = ExpectName("el nombre de la intercalación");
        } else if (AtWord("WITH") && (AtWord("COMPRESSION", 1) || AtWord("COMP", 1))) {
            // A storage hint of Access text columns: nothing to keep.
            Advance();
            Advance();
            continue;
        } else {
            Fail("restricción de campo no válida");
        }
        def.constraints.push_back(std::move(c));
    }
    return def;
}

bool ParserState::ParseTableConstraint(TableConstraint& tc, SelectId scope) {
    using TKind = TableConstraint::Kind;
    const size_t before = pos_;
    if (AcceptWord("CONSTRAINT")) tc.name = ExpectName("el nombre de la restricción");
    if (AcceptWord("PRIMARY")) {
        ExpectWord("KEY");
        tc.kind = TKind::PrimaryKey;
        tc.columns = NameList(*this);
    } else if (AcceptWord("UNIQUE")) {
        tc.kind = TKind::Unique;
        tc.columns = NameList(*this);
    } else if (AcceptWord("CHECK")) {
        tc.kind = TKind::Check;
        ExpectPunct("(");
        tc.check = ParseExpression(scope);
        ExpectPunct(")");
    } else if (AcceptWord("FOREIGN")) {
        ExpectWord("KEY");
        tc.kind = TKind::ForeignKey;
        tc.columns = NameList(*this);
        ExpectWord("REFERENCES");
        tc.references = ReferencesClause(*this, tc.referencedTable);
    } else {
        pos_ = before;
        tc.name.clear();
        return false;
    }
    return true;
}

// ALTER TABLE t: ADD [COLUMN] definition, ADD [CONSTRAINT n] key, DROP CONSTRAINT n,
// DROP [COLUMN] c, ALTER [COLUMN] definition; RENAME TO is the engine's own form.
bool ParserState::ParseAlterTable() {
    Statement& st = tree_.statement;
    st.target = ParseTableName(false);
    if (!AtWord("ADD") && !AtWord("DROP") && !AtWord("ALTER")) return false;
    st.scope = AddScope(kNone, kNone);
    if (AcceptWord("ADD")) {
        TableConstraint tc;
        if (!AtWord("COLUMN") && ParseTableConstraint(tc, st.scope)) {
            st.alterAction = "ADD CONSTRAINT";
            st.tableConstraints.push_back(std::move(tc));
        } else {
            AcceptWord("COLUMN");
            st.alterAction = "ADD COLUMN";
            st.definitions.push_back(ParseColumnDefinition(st.scope));
        }
    } else if (AcceptWord("DROP")) {
        if (AcceptWord("CONSTRAINT")) {
            st.alterAction = "DROP CONSTRAINT";
            st.indexName = ExpectName("el nombre de la restricción");
        } else {
            AcceptWord("COLUMN");
            st.alterAction = "DROP COLUMN";
            st.columns.push_back(ExpectName("el nombre del campo"));
        }
    } else {
        ExpectWord("ALTER");
        AcceptWord("COLUMN");
        st.alterAction = "ALTER COLUMN";
        st.definitions.push_back(ParseColumnDefinition(st.scope));
    }
    st.kind = StatementKind::AlterTable;
    return true;
}

bool ParserState::ParseDefinition() {
    Statement& st = tree_.statement;
    const size_t mark = pos_;
    if (AcceptWord("DROP")) {
        if (AcceptWord("TABLE")) {
            st.kind = StatementKind::Drop;
            st.dropKind = "TABLE";
        } else if (AcceptWord("INDEX")) {
            st.kind = StatementKind::Drop;
            st.dropKind = "INDEX";
        } else {
            pos_ = mark;
            return false;
        }
        if (AcceptWord("IF")) {
            ExpectWord("EXISTS");
            st.ifNotExists = true;  // IF EXISTS, for DROP
        }
        st.target = ParseTableName(false);
        if (st.dropKind == "INDEX" && AcceptWord("ON")) {
            // Access's DROP INDEX i ON t: the index, or the key or unique constraint of that name.
            const std::string index = st.target.name;
            st.target = ParseTableName(false);
            if (!st.ifNotExists) {
                st.kind = StatementKind::AlterTable;
                st.alterAction = "DROP CONSTRAINT";
                st.indexName = index;
                st.dropKind.clear();
                st.scope = AddScope(kNone, kNone);
            } else {
                st.target.name = index;
            }
        }
        return true;
    }
    if (AcceptWord("ALTER")) {
        if (!AcceptWord("TABLE")) {
            pos_ = mark;
            return false;
        }
        if (ParseAlterTable()) return true;
        pos_ = mark;
        st.target = {};
        return false;
    }
    if (!AcceptWord("CREATE")) return false;
    st.temporary = AcceptWord("TEMP") || AcceptWord("TEMPORARY");
    st.unique = AcceptWord("UNIQUE");
    if (AcceptWord("INDEX")) {
        st.kind = StatementKind::CreateIndex;
        if (AcceptWord("IF")) {
            ExpectWord("NOT");
            ExpectWord("EXISTS");
            st.ifNotExists = true;
        }
        st.indexName = ExpectName("el nombre del índice");
        ExpectWord("ON");
        st.target = ParseTableName(false);
        st.columns = NameList(*this, &st.directions);
        if (AcceptWord("WITH")) {
            while (!AtEnd() && !AtPunct(";")) {
                st.options += (st.options.empty() ? "" : " ") + ToUpperAscii(Peek().text);
                Advance();
            }
        }
        return true;
    }
    if (st.unique || !AcceptWord("TABLE")) {
        pos_ = mark;
        st.temporary = st.unique = false;
        return false;
    }
    st.kind = StatementKind::CreateTable;
    if (AcceptWord("IF")) {
        ExpectWord("NOT");
        ExpectWord("EXISTS");
        st.ifNotExists = true;
    }
    st.target = ParseTableName(false);
    st.scope = AddScope(kNone, kNone);
    if (AcceptWord("AS")) {
        st.select = ParseQuery(kNone);
        return true;
    }
    ExpectPunct("(");
    do {
        TableConstraint tc;
        if (ParseTableConstraint(tc, st.scope))
            st.tableConstraints.push_back(std::move(tc));
        else
            st.definitions.push_back(ParseColumnDefinition(st.scope));
    } while (AcceptPunct(","));
    ExpectPunct(")");
    if (AcceptWord("WITHOUT")) {
        ExpectName("ROWID");
        st.options = "WITHOUT ROWID";
    }
    return true;
}

}  // namespace ado::sqlite::detail
