// TranslateAccessSql: tokens, the syntax tree, its types, then the engine's text.
#include <algorithm>

#include "ado/providers/sqlite/dialect/access_dialect.h"
#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/parser.h"
#include "ado/providers/sqlite/dialect/schema_source.h"
#include "ado/providers/sqlite/dialect/sql_writer.h"
#include "ado/providers/sqlite/dialect/typer.h"
#include "ado/providers/sqlite/dialect/value_conversions.h"

namespace ado::sqlite {

using namespace detail;

namespace {

// A statement the translator does not read, written from its tokens: names and texts in
// the engine's quoting, dates as their serials.
std::string PassthroughText(const Tokens& tokens, size_t begin, size_t end) {
    std::string out;
    for (size_t i = begin; i < end; ++i)
        out += tokens[i].kind == TokenKind::Date ? SerialLiteral(tokens[i].serial) : tokens[i].text;
    return out;
}

bool PassthroughReturnsRows(const Tokens& tokens, size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i) {
        if (!IsSignificant(tokens[i])) continue;
        for (std::string_view w : {"PRAGMA", "EXPLAIN", "VALUES"})
            if (IsWord(tokens[i], w)) return true;
        return false;
    }
    return false;
}

}  // namespace

// What a crosstab's statement is written from once its pivot values are known.
class CrosstabPlan {
public:
    CrosstabPlan(Tree tree, Typing typing) : tree(std::move(tree)), typing(std::move(typing)) {}
    Tree tree;
    Typing typing;
};

namespace {

Translation CrosstabTranslation(Tree tree, Typing typing) {
    Translation out;
    out.returnsRows = true;
    out.parameters = tree.parameters;
    auto plan = std::make_shared<const CrosstabPlan>(std::move(tree), std::move(typing));
    SqlWriter writer(plan->tree, plan->typing, out);  // numbers the parameters
    out.crosstab = std::move(plan);
    return out;
}

}  // namespace

std::string CrosstabValuesSql(const CrosstabPlan& plan) {
    Translation scratch;
    return SqlWriter(plan.tree, plan.typing, scratch).CrosstabValues();
}

DataTypeEnum CrosstabPivotType(const CrosstabPlan& plan) {
    return plan.typing.exprs[plan.tree.statement.pivot].type.type;
}

Translation CrosstabStatement(const CrosstabPlan& plan, const std::vector<PivotValue>& values) {
    Translation out;
    out.returnsRows = true;
    out.parameters = plan.tree.parameters;
    SqlWriter writer(plan.tree, plan.typing, out);
    out.sql = writer.Crosstab(plan.tree.statement.pivotIn.empty() ? values : writer.PivotInValues());
    return out;
}

Translation TranslateAccessSql(std::string_view accessSql, SchemaSource& schema, RowIdentity identity) {
    const Tokens tokens = Tokenize(accessSql);
    ParsedStatement parsed = ParseStatement(tokens);
    Translation out;
    if (parsed.tree.statement.kind == StatementKind::Passthrough) {
        out.parameters = parsed.tree.parameters;
        out.sql = PassthroughText(tokens, parsed.passthroughBegin, parsed.passthroughEnd);
        out.returnsRows = PassthroughReturnsRows(tokens, parsed.passthroughBegin, parsed.passthroughEnd);
        out.schemaChange = !out.returnsRows;
        return out;
    }
    Typing typing = TypeStatement(parsed.tree, schema);
    if (parsed.tree.statement.pivot != kNone) return CrosstabTranslation(std::move(parsed.tree), std::move(typing));
    SqlWriter writer(parsed.tree, typing, out);
    if (identity == RowIdentity::With) writer.CarryRowIdentity();
    out.sql = writer.Statement();
    return out;
}

Translation TranslateAccessSql(std::string_view accessSql) {
    NoSchema none;
    return TranslateAccessSql(accessSql, none);
}

std::string RewriteTableDefinition(std::string_view createTableSql, std::string_view newName) {
    const Tokens tokens = Tokenize(createTableSql, true);
    ParsedStatement parsed = ParseStatement(tokens);
    if (parsed.tree.statement.kind != StatementKind::CreateTable) ThrowSyntaxError("no es una definición de tabla.");
    parsed.tree.statement.target.name = std::string(newName);
    NoSchema none;
    const Typing typing = TypeStatement(parsed.tree, none);
    Translation out;
    SqlWriter writer(parsed.tree, typing, out);
    writer.KeepDeclaredTypes();
    return writer.Statement();
}

namespace {

// Each domain function and the aggregate it runs over its domain (none: the first value).
constexpr std::pair<std::string_view, std::string_view> kDomain[] = {
    {"DLOOKUP", ""},        {"DCOUNT", "Count"},      {"DSUM", "Sum"},     {"DAVG", "Avg"},
    {"DMIN", "Min"},        {"DMAX", "Max"},          {"DFIRST", "First"}, {"DLAST", "Last"},
    {"DSTDEV", "StDev"},    {"DSTDEVP", "StDevP"},    {"DVAR", "Var"},     {"DVARP", "VarP"}};

}  // namespace

std::vector<std::string_view> DomainAggregateNames() {
    std::vector<std::string_view> names;
    for (const auto& d : kDomain) names.push_back(d.first);
    return names;
}

std::optional<std::string> DomainAggregateQuery(std::string_view function, std::string_view expression,
                                                std::string_view domain, std::string_view criteria) {
    const auto* found = std::find_if(std::begin(kDomain), std::end(kDomain),
                                     [&](const auto& d) { return EqualsNoCase(d.first, function); });
    if (found == std::end(kDomain)) return std::nullopt;
    std::string table(domain);
    if (table.find_first_of(" []") != std::string::npos && table.front() != '[') table = "[" + table + "]";
    const std::string value = found->second.empty() ? "TOP 1 " + std::string(expression)
                                                    : std::string(found->second) + "(" + std::string(expression) + ")";
    std::string query = "SELECT " + value + " FROM " + table;
    if (!criteria.empty()) query += " WHERE " + std::string(criteria);
    return query;
}

std::vector<ScriptPart> SplitAccessScript(std::string_view script) {
    std::vector<ScriptPart> out;
    for (auto& s : SplitScript(script)) out.push_back({std::move(s.text), s.offset});
    return out;
}

}  // namespace ado::sqlite
