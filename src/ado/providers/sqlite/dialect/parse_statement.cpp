// Statements: the cursor over the tokens, SELECT with its clauses and compounds, INSERT,
// UPDATE, DELETE, and the statements passed through as written.
#include <algorithm>
#include "ado/providers/sqlite/sqlite_errors.h"
#include <cctype>
#include <utility>

#include "ado/Error.h"
#include "ado/error_numbers.h"
#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/external_source.h"
#include "ado/providers/sqlite/dialect/parser_state.h"

namespace ado::sqlite::detail {

namespace {

const Token kEndToken{TokenKind::Raw, "", "", "", 0, 0};

bool IsCompoundWord(const ParserState& p) {
    return p.AtWord("UNION") || p.AtWord("INTERSECT") || p.AtWord("EXCEPT");
}

Source SourceOf(const TableName& name) {
    Source s;
    s.database = name.database;
    s.name = name.name;
    s.externalFile = name.externalFile;
    s.alias = name.alias;
    return s;
}

// Words that end a select item, so a name after an expression is an alias only when it is none.
bool IsClauseWord(const Token& t) { return t.kind == TokenKind::Word && IsReservedWord(t.text); }

}  // namespace

std::string BareParameterName(const DeclaredParameter& p) {
    if (p.name.size() > 1 && p.name.front() == '[' && p.name.back() == ']') return p.name.substr(1, p.name.size() - 2);
    return p.name;
}

ParserState::ParserState(const Tokens& tokens) : tokens_(&tokens) {
    significant_.reserve(tokens.size());
    for (size_t i = 0; i < tokens.size(); ++i)
        if (IsSignificant(tokens[i])) significant_.push_back(i);
    // About one expression per significant token, and as many children: room made once.
    tree_.exprs.reserve(significant_.size());
    tree_.children.reserve(significant_.size());
}

SelectId ParserState::ParseEmbeddedQuery(const std::string& text, SelectId outer) {
    embedded_.push_back(std::make_unique<Tokens>(Tokenize(text)));
    const Tokens* savedTokens = tokens_;
    std::vector<size_t> savedSignificant;
    savedSignificant.swap(significant_);
    const size_t savedPos = pos_;
    tokens_ = embedded_.back().get();
    for (size_t i = 0; i < tokens_->size(); ++i)
        if (IsSignificant((*tokens_)[i])) significant_.push_back(i);
    pos_ = 0;
    const SelectId id = ParseQuery(outer);
    if (!AtEnd()) Fail("texto de más en el dominio");
    tokens_ = savedTokens;
    significant_.swap(savedSignificant);
    pos_ = savedPos;
    return id;
}

const Token& ParserState::Peek(size_t ahead) const {
    return pos_ + ahead < significant_.size() ? (*tokens_)[significant_[pos_ + ahead]] : kEndToken;
}

size_t ParserState::Offset() const {
    if (!AtEnd()) return Peek().offset;
    return tokens_->empty() ? 0 : tokens_->back().offset + tokens_->back().original.size();
}

bool ParserState::AtWord(std::string_view upper, size_t ahead) const { return IsWord(Peek(ahead), upper); }
bool ParserState::AtPunct(std::string_view p, size_t ahead) const { return IsPunct(Peek(ahead), p); }

bool ParserState::AcceptWord(std::string_view upper) {
    if (!AtWord(upper)) return false;
    Advance();
    return true;
}

bool ParserState::AcceptPunct(std::string_view p) {
    if (!AtPunct(p)) return false;
    Advance();
    return true;
}

void ParserState::Fail(std::string_view what) const {
    const std::string near = AtEnd() ? "al final de la instrucción" : "cerca de '" + Peek().original + "'";
    ThrowSyntaxError(std::string(what) + " (" + near + ", posición " + std::to_string(Offset() + 1) + ").");
}

void ParserState::ExpectWord(std::string_view upper) {
    if (!AcceptWord(upper)) Fail("falta " + std::string(upper));
}

void ParserState::ExpectPunct(std::string_view p) {
    if (!AcceptPunct(p)) Fail("falta '" + std::string(p) + "'");
}

bool ParserState::AtName(size_t ahead) const {
    const Token& t = Peek(ahead);
    return t.kind == TokenKind::Name || (t.kind == TokenKind::Word && !IsReservedWord(t.text));
}

std::string ParserState::ExpectName(const char* what) {
    if (!AtName()) Fail(std::string("falta ") + what);
    std::string name = Peek().value;
    Advance();
    return name;
}

std::string ParserState::ExpectAlias() {
    const Token& t = Peek();
    if (t.kind == TokenKind::Name || t.kind == TokenKind::Word || t.kind == TokenKind::String) {
        std::string name = t.value;
        Advance();
        return name;
    }
    Fail("falta el alias después de AS");
}

ExprId ParserState::AddStar(SelectId scope) {
    Expr star;
    star.kind = ExprKind::Star;
    star.scope = scope;
    star.offset = Offset();
    return AddExpr(std::move(star));
}

ExprId ParserState::AddExpr(Expr e, const std::vector<ExprId>& children) {
    e.first = static_cast<uint32_t>(tree_.children.size());
    e.count = static_cast<uint32_t>(children.size());
    tree_.children.insert(tree_.children.end(), children.begin(), children.end());
    tree_.exprs.push_back(std::move(e));
    return static_cast<ExprId>(tree_.exprs.size() - 1);
}

SelectId ParserState::AddSelect(SelectId outer) {
    tree_.selects.emplace_back();
    tree_.selects.back().outer = outer;
    return static_cast<SelectId>(tree_.selects.size() - 1);
}

SourceId ParserState::AddSource(Source s) {
    tree_.sources.push_back(std::move(s));
    return static_cast<SourceId>(tree_.sources.size() - 1);
}

SelectId ParserState::AddScope(SelectId outer, SourceId from) {
    const SelectId id = AddSelect(outer);
    tree_.selects[id].from = from;
    return id;
}

// PARAMETERS name type [, name type ...]; at the head of a statement.
void ParserState::ParseParametersDeclaration() {
    if (!AcceptWord("PARAMETERS")) return;
    while (true) {
        const Token& t = Peek();
        if (t.kind != TokenKind::Word && t.kind != TokenKind::Name) Fail("declaración PARAMETERS no válida");
        DeclaredParameter p;
        p.name = t.kind == TokenKind::Name ? t.original : t.value;
        Advance();
        // The type as written: the tokens up to the ',' or ';' that ends it.
        const size_t begin = TokenIndex();
        size_t end = begin;
        int depth = 0;
        while (!AtEnd() && !(depth == 0 && (AtPunct(",") || AtPunct(";")))) {
            if (AtPunct("(")) ++depth;
            if (AtPunct(")")) --depth;
            Advance();
            end = TokenIndex();
        }
        for (size_t i = begin; i < end && i < tokens_->size(); ++i)
            if (IsSignificant((*tokens_)[i]) || (!p.type.empty() && i + 1 < end)) p.type += (*tokens_)[i].original;
        while (!p.type.empty() && std::isspace(static_cast<unsigned char>(p.type.back()))) p.type.pop_back();
        if (AtEnd()) Fail("falta el punto y coma al final de la declaración PARAMETERS");
        if (p.type.empty()) Fail("falta el tipo de un parámetro en la declaración PARAMETERS");
        tree_.parameters.push_back(std::move(p));
        if (AcceptPunct(";")) return;
        ExpectPunct(",");
    }
}

std::vector<CommonTable> ParserState::ParseWith(SelectId outer) {
    std::vector<CommonTable> with;
    ExpectWord("WITH");
    AcceptWord("RECURSIVE");
    do {
        CommonTable c;
        c.name = ExpectName("el nombre de la expresión de tabla");
        if (AcceptPunct("(")) {
            do c.columns.push_back(ExpectName("un nombre de columna"));
            while (AcceptPunct(","));
            ExpectPunct(")");
        }
        ExpectWord("AS");
        ExpectPunct("(");
        c.select = ParseQuery(outer);
        ExpectPunct(")");
        with.push_back(std::move(c));
    } while (AcceptPunct(","));
    return with;
}

SelectId ParserState::ParseQuery(SelectId outer, std::vector<CommonTable> with) {
    if (with.empty() && AtWord("WITH")) with = ParseWith(outer);
    const SelectId first = ParseSelectCore(outer, false);
    while (IsCompoundWord(*this)) {
        CompoundOp op = CompoundOp::Union;
        if (AcceptWord("UNION")) op = AcceptWord("ALL") ? CompoundOp::UnionAll : CompoundOp::Union;
        else if (AcceptWord("INTERSECT")) op = CompoundOp::Intersect;
        else if (AcceptWord("EXCEPT")) op = CompoundOp::Except;
        if (op == CompoundOp::Union) AcceptWord("DISTINCT");
        const SelectId member = ParseSelectCore(outer, true);
        tree_.selects[first].compound.emplace_back(op, member);
    }
    if (AcceptWord("ORDER")) ParseOrderBy(first);
    if (AcceptWord("LIMIT")) {
        tree_.selects[first].limit = ParseExpression(first);
        if (AcceptWord("OFFSET") || AcceptPunct(",")) tree_.selects[first].offset = ParseExpression(first);
    }
    tree_.selects[first].with = std::move(with);
    return first;
}

void ParserState::ParseTop(Select& s) {
    const Token& count = Peek();
    if (count.kind != TokenKind::Number) Fail("TOP debe ir seguido de un número");
    s.topPresent = true;
    s.topCount = count.text;
    Advance();
    s.topPercent = AcceptWord("PERCENT");
    if (!s.topPercent && s.topCount.find_first_not_of("0123456789") != std::string::npos)
        Fail("TOP debe ir seguido de un número entero");
}

SelectId ParserState::ParseSelectCore(SelectId outer, bool member) {
    if (++selectDepth_ > kMaxSelectDepth) Fail("demasiadas consultas anidadas");
    const SelectId id = AddSelect(outer);
    tree_.selects[id].isMember = member;
    if (AcceptWord("VALUES")) {
        tree_.selects[id].inlineValues = true;
        do {
            ExpectPunct("(");
            std::vector<ExprId> row;
            do row.push_back(ParseExpression(id));
            while (AcceptPunct(","));
            ExpectPunct(")");
            tree_.selects[id].values.push_back(std::move(row));
        } while (AcceptPunct(","));
        --selectDepth_;
        return id;
    }
    if (AcceptWord("TABLE")) {
        // TABLE x: every row of x.
        tree_.selects[id].items.push_back({AddStar(id), {}});
        tree_.selects[id].from = AddSource(SourceOf(ParseTableName(false)));
        --selectDepth_;
        return id;
    }
    ExpectWord("SELECT");
    while (true) {
        if (AcceptWord("ALL")) continue;
        if (AcceptWord("DISTINCT")) {
            tree_.selects[id].distinct = true;
            continue;
        }
        if (AcceptWord("DISTINCTROW")) {
            tree_.selects[id].distinctRow = true;
            continue;
        }
        if (AcceptWord("TOP")) {
            ParseTop(tree_.selects[id]);
            continue;
        }
        break;
    }
    do {
        SelectItem item;
        if (AtPunct("*")) {
            item.expr = AddStar(id);
            Advance();
        } else {
            item.expr = ParseExpression(id);
        }
        if (AcceptWord("AS")) item.alias = ExpectAlias();
        else if (AtName() && !IsClauseWord(Peek())) item.alias = ExpectName("un alias");
        tree_.selects[id].items.push_back(std::move(item));
    } while (AcceptPunct(","));
    if (AtWord("INTO") && outer == kNone && !member && tree_.statement.kind == StatementKind::Select) {
        Advance();
        tree_.statement.selectInto = true;
        tree_.statement.target = ParseTableName(false);
    }
    if (AcceptWord("FROM")) tree_.selects[id].from = ParseFrom(id);
    if (AcceptWord("WHERE")) tree_.selects[id].where = ParseExpression(id);
    if (AcceptWord("GROUP")) {
        ExpectWord("BY");
        do {
            // Parsed before the select is named again: a subquery may grow the arena of selects.
            const ExprId expr = ParseExpression(id);
            tree_.selects[id].groupBy.push_back(expr);
        } while (AcceptPunct(","));
    }
    if (AcceptWord("HAVING")) tree_.selects[id].having = ParseExpression(id);
    --selectDepth_;
    return id;
}

// FROM a, b: each item a chain of joins; the commas are cross joins.
SourceId ParserState::ParseFrom(SelectId scope) {
    SourceId left = ParseJoinedSources(scope);
    while (AcceptPunct(",")) {
        Source join;
        join.kind = Source::Kind::Join;
        join.join = JoinKind::Comma;
        join.left = left;
        join.right = ParseJoinedSources(scope);
        left = AddSource(std::move(join));
    }
    return left;
}

SourceId ParserState::ParseJoinedSources(SelectId scope) {
    SourceId left = ParseSourcePrimary(scope);
    while (true) {
        JoinKind kind;
        if (AtWord("JOIN") || AtWord("INNER")) kind = JoinKind::Inner;
        else if (AtWord("LEFT")) kind = JoinKind::Left;
        else if (AtWord("RIGHT")) kind = JoinKind::Right;
        else if (AtWord("CROSS")) kind = JoinKind::Cross;
        else if (AtWord("NATURAL")) kind = JoinKind::Natural;
        else return left;
        if (!AtWord("JOIN")) {
            Advance();
            if (kind == JoinKind::Natural && (AtWord("LEFT") || AtWord("INNER"))) Advance();
            AcceptWord("OUTER");
        }
        ExpectWord("JOIN");
        Source join;
        join.kind = Source::Kind::Join;
        join.join = kind;
        join.left = left;
        join.right = ParseSourcePrimary(scope);
        if (AcceptWord("ON")) {
            join.on = ParseExpression(scope);
        } else if (AcceptWord("USING")) {
            ExpectPunct("(");
            do join.usingColumns.push_back(ExpectName("un nombre de columna"));
            while (AcceptPunct(","));
            ExpectPunct(")");
        } else if (kind == JoinKind::Inner || kind == JoinKind::Left || kind == JoinKind::Right) {
            Fail("falta ON en la combinación");
        }
        left = AddSource(std::move(join));
    }
}

SourceId ParserState::ParseSourcePrimary(SelectId scope) {
    if (AtPunct("(")) {
        if (AtWord("SELECT", 1) || AtWord("WITH", 1) || AtWord("VALUES", 1) || AtWord("TABLE", 1)) {
            Advance();
            Source derived;
            derived.kind = Source::Kind::Derived;
            derived.select = ParseQuery(scope);
            ExpectPunct(")");
            if (AcceptWord("AS")) derived.alias = ExpectAlias();
            else if (AtName()) derived.alias = ExpectName("un alias");
            return AddSource(std::move(derived));
        }
        // Parenthesised joins recurse: nested as deep as queries may be, no deeper.
        if (++selectDepth_ > kMaxSelectDepth) Fail("demasiadas combinaciones anidadas");
        Advance();
        const SourceId inner = ParseFrom(scope);
        ExpectPunct(")");
        --selectDepth_;
        return inner;
    }
    return AddSource(SourceOf(ParseTableName(true)));
}

// [database.]name [IN 'file'] [[AS] alias]
TableName ParserState::ParseTableName(bool allowAlias) {
    TableName t;
    t.name = ExpectName("el nombre de una tabla");
    if (AtPunct(".") && AtName(1)) {
        Advance();
        t.database = std::move(t.name);
        t.name = ExpectName("el nombre de una tabla");
        // [C:\datos\otra.mdb].[Tabla] and [;DATABASE=C:\datos\otra.mdb].[Tabla]: a table of
        // another file, as IN 'file' names it.
        if (IsConnectString(t.database)) t.externalFile = ConnectStringDatabase(std::exchange(t.database, {}));
        else if (t.database.find_first_of("./\\") != std::string::npos) t.externalFile = std::exchange(t.database, {});
    }
    if (AtWord("IN") && Peek(1).kind == TokenKind::String) ParseExternalFile(t);
    if (!allowAlias) return t;
    if (AcceptWord("AS")) t.alias = ExpectAlias();
    else if (AtName()) t.alias = ExpectName("un alias");
    return t;
}

void ParserState::ParseExternalFile(TableName& t) {
    Advance();  // IN
    if (!t.database.empty() || !t.externalFile.empty())
        Fail("una tabla con IN 'archivo' no puede llevar otro prefijo");
    const std::string path = Peek().value;
    Advance();
    // IN 'file', IN '' [connect string], IN 'file' 'type'.
    std::optional<std::string> connectOrType;
    if (Peek().kind == TokenKind::String || Peek().kind == TokenKind::Name) {
        connectOrType = Peek().value;
        Advance();
    }
    t.externalFile = InClauseDatabase(path, connectOrType);
}

void ParserState::ParseInsert() {
    Statement& st = tree_.statement;
    st.kind = StatementKind::Insert;
    Advance();  // INSERT or REPLACE
    if (AcceptWord("OR")) {
        st.options = "OR " + ToUpperAscii(Peek().text);
        Advance();
    }
    ExpectWord("INTO");
    st.target = ParseTableName(false);
    if (AtPunct("(") && !AtWord("SELECT", 1) && !AtWord("WITH", 1)) {
        Advance();
        do st.columns.push_back(ExpectName("un nombre de columna"));
        while (AcceptPunct(","));
        ExpectPunct(")");
        // INSERT INTO t (a, b) IN 'file' SELECT ...: Access's documented order.
        if (AtWord("IN") && Peek(1).kind == TokenKind::String) ParseExternalFile(st.target);
    }
    const SourceId targetSource = AddSource(SourceOf(st.target));
    st.scope = AddScope(kNone, kNone);
    st.from = targetSource;
    if (AcceptWord("DEFAULT")) {
        ExpectWord("VALUES");
        st.defaultValues = true;
        return;
    }
    if (AtPunct("(")) {
        Advance();
        st.select = ParseQuery(st.scope);
        ExpectPunct(")");
        return;
    }
    st.select = ParseQuery(st.scope);
}

// UPDATE table-or-joins SET [t.]column = value, ... [WHERE condition]
void ParserState::ParseUpdate() {
    Statement& st = tree_.statement;
    st.kind = StatementKind::Update;
    Advance();
    // Access's update queries say UPDATE DISTINCTROW: the rows updated are the table's either way.
    AcceptWord("DISTINCTROW");
    if (AcceptWord("OR")) {
        st.options = "OR " + ToUpperAscii(Peek().text);
        Advance();
    }
    st.scope = AddScope(kNone, kNone);
    st.from = ParseFrom(st.scope);
    tree_.selects[st.scope].from = st.from;
    ExpectWord("SET");
    do {
        std::string column = ExpectName("el campo que se actualiza");
        while (AtPunct(".") || AtPunct("!")) {
            Advance();
            column += "." + ExpectName("el campo que se actualiza");
        }
        ExpectPunct("=");
        const ExprId value = ParseExpression(st.scope);
        st.assignments.emplace_back(std::move(column), value);
    } while (AcceptPunct(","));
    if (AcceptWord("WHERE")) st.where = ParseExpression(st.scope);
}

// DELETE [DISTINCTROW] [* | t.* | fields] FROM table-or-joins [WHERE condition]
void ParserState::ParseDelete() {
    Statement& st = tree_.statement;
    st.kind = StatementKind::Delete;
    Advance();
    AcceptWord("DISTINCTROW");
    // The list before FROM says nothing but, in a t.*, which source's rows go.
    int depth = 0;
    while (!AtEnd() && !(depth == 0 && AtWord("FROM"))) {
        if (AtPunct("(")) ++depth;
        if (AtPunct(")")) --depth;
        if (depth == 0 && AtPunct(";")) break;
        if (depth == 0 && st.deleteTarget.empty() && AtName() && AtPunct(".", 1) && AtPunct("*", 2))
            st.deleteTarget = Peek().value;
        Advance();
    }
    ExpectWord("FROM");
    st.scope = AddScope(kNone, kNone);
    st.from = ParseFrom(st.scope);
    tree_.selects[st.scope].from = st.from;
    if (AcceptWord("WHERE")) st.where = ParseExpression(st.scope);
}

// TRANSFORM value SELECT ... PIVOT expression [IN (v1, v2...)]. The value's names are those of
// the SELECT that follows it: the SELECT is read first, then the value.
void ParserState::ParseTransform() {
    Statement& st = tree_.statement;
    st.kind = StatementKind::Select;
    Advance();
    const size_t value = pos_;
    int depth = 0;
    while (!AtEnd() && !(depth == 0 && AtWord("SELECT"))) {
        if (AtPunct("(")) ++depth;
        if (AtPunct(")")) --depth;
        Advance();
    }
    st.select = ParseQuery(kNone);
    const size_t pivot = pos_;
    pos_ = value;
    st.transformValue = ParseExpression(st.select);
    if (AcceptWord("AS")) ExpectAlias();
    if (!AtWord("SELECT")) Fail("falta SELECT después del valor de TRANSFORM");
    pos_ = pivot;
    ExpectWord("PIVOT");
    st.pivot = ParseExpression(st.select, true);
    if (AcceptWord("IN")) {
        ExpectPunct("(");
        do st.pivotIn.push_back(ParseExpression(st.select));
        while (AcceptPunct(","));
        ExpectPunct(")");
    }
    // ORDER BY goes before PIVOT; after it, it is taken as well.
    if (tree_.selects[st.select].orderBy.empty() && AcceptWord("ORDER")) ParseOrderBy(st.select);
}

// BY term [ASC | DESC], ... (ORDER read already).
void ParserState::ParseOrderBy(SelectId id) {
    ExpectWord("BY");
    do {
        OrderTerm term;
        term.expr = ParseExpression(id);
        if (AcceptWord("DESC")) term.descending = true;
        else AcceptWord("ASC");
        tree_.selects[id].orderBy.push_back(term);
    } while (AcceptPunct(","));
}

bool ParserState::ParseChange() {
    if (AtWord("INSERT") || AtWord("REPLACE")) ParseInsert();
    else if (AtWord("UPDATE")) ParseUpdate();
    else if (AtWord("DELETE")) ParseDelete();
    else return false;
    return true;
}

void ParserState::ParseSelectStatement() {
    Statement& st = tree_.statement;
    st.kind = StatementKind::Select;
    st.select = ParseQuery(kNone);
}

// A statement the translator does not read: its tokens up to the ';' that ends it (a
// trigger's body, between BEGIN and END, keeps its own ';').
void ParserState::ParsePassthrough(size_t firstToken) {
    tree_.statement.kind = StatementKind::Passthrough;
    const bool trigger = AtWord("CREATE") &&
                         (AtWord("TRIGGER", 1) || ((AtWord("TEMP", 1) || AtWord("TEMPORARY", 1)) && AtWord("TRIGGER", 2)));
    int depth = 0;
    int blocks = 0;
    while (!AtEnd()) {
        if (AtPunct("(")) ++depth;
        if (AtPunct(")")) --depth;
        if (trigger && AtWord("BEGIN")) ++blocks;
        if (trigger && AtWord("END")) --blocks;
        if (depth <= 0 && blocks <= 0 && AtPunct(";")) break;
        Advance();
    }
    passthroughBegin = firstToken;
    passthroughEnd = TokenIndex();
}

void ParserState::ParseTop() {
    ParseParametersDeclaration();
    const size_t first = TokenIndex();
    if (AtWord("WITH")) {
        // WITH ... before the statement it serves.
        std::vector<CommonTable> with = ParseWith(kNone);
        if (AtWord("SELECT") || AtWord("VALUES")) {
            tree_.statement.kind = StatementKind::Select;
            tree_.statement.select = ParseQuery(kNone, std::move(with));
        } else if (ParseChange()) {
            tree_.statement.with = std::move(with);
        } else {
            Fail("falta la instrucción después de WITH");
        }
    } else if (AtWord("SELECT") || AtWord("VALUES") || (AtWord("TABLE") && AtName(1))) {
        ParseSelectStatement();
    } else if (ParseChange()) {
    } else if (AtWord("TRANSFORM")) {
        ParseTransform();
    } else if (!((AtWord("CREATE") || AtWord("ALTER") || AtWord("DROP")) && ParseDefinition())) {
        ParsePassthrough(first);
    }
    // A saved query's WITH OWNERACCESS OPTION runs it with its owner's permissions: a file of
    // the embedded engine has no users, so it changes nothing.
    if (AtWord("WITH") && AtWord("OWNERACCESS", 1) && AtWord("OPTION", 2))
        for (int word = 0; word < 3; ++word) Advance();
    AcceptPunct(";");
    if (!AtEnd()) {
        throw MakeError(Condition::CharactersAfterEnd, {}, kEngineSource);
    }
}

ParsedStatement ParseStatement(const Tokens& tokens) {
    ParserState p(tokens);
    p.ParseTop();
    ParsedStatement out;
    out.tree = std::move(p.tree());
    out.passthroughBegin = p.passthroughBegin;
    out.passthroughEnd = p.passthroughEnd;
    return out;
}

std::vector<ScriptStatement> SplitScript(std::string_view script) {
    const Tokens tokens = Tokenize(script);
    std::vector<ScriptStatement> out;
    size_t begin = 0;
    int depth = 0, blocks = 0;
    bool trigger = false;
    auto flush = [&](size_t end) {
        size_t from = begin;
        while (from < end && !IsSignificant(tokens[from])) ++from;
        if (from < end) {
            const size_t start = tokens[from].offset;
            const size_t stop = tokens[end - 1].offset + tokens[end - 1].original.size();
            out.push_back({std::string(script.substr(start, stop - start)), start});
        }
    };
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (!IsSignificant(t)) continue;
        if (IsWord(t, "TRIGGER")) trigger = true;
        if (IsPunct(t, "(")) ++depth;
        if (IsPunct(t, ")")) --depth;
        if (trigger && IsWord(t, "BEGIN")) ++blocks;
        if (trigger && IsWord(t, "END")) --blocks;
        // A PARAMETERS declaration ends with ';' but belongs to the statement after it.
        if (IsPunct(t, ";") && depth <= 0 && blocks <= 0) {
            size_t head = begin;
            while (head < i && !IsSignificant(tokens[head])) ++head;
            if (head < i && IsWord(tokens[head], "PARAMETERS")) {
                bool declarationOnly = true;
                for (size_t k = head; k < i && declarationOnly; ++k)
                    if (IsSignificant(tokens[k]) && (IsWord(tokens[k], "SELECT") || IsWord(tokens[k], "INSERT") ||
                                                     IsWord(tokens[k], "UPDATE") || IsWord(tokens[k], "DELETE")))
                        declarationOnly = false;
                if (declarationOnly) continue;
            }
            flush(i);
            begin = i + 1;
            trigger = false;
            depth = 0;
        }
    }
    flush(tokens.size());
    return out;
}

}  // namespace ado::sqlite::detail
