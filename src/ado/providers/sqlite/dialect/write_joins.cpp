// The FROM of a query: tables, derived tables and joins. The engine reads a parenthesised join
// as a subquery of its own, whose tables' row ids are out of reach; Access writes its joins
// parenthesised all the same (`a INNER JOIN (b INNER JOIN c ON ...) ON ...`). Inner joins
// nested on the right are therefore written flat, their conditions joined to the last ON,
// which means the same for inner joins; the tables that stay inside parentheses are known, so
// that DISTINCTROW and row identities do without their row ids.
#include <vector>

#include "ado/providers/sqlite/dialect/sql_tokens.h"
#include "ado/providers/sqlite/dialect/sql_writer.h"

namespace ado::sqlite::detail {

namespace {

const char* JoinText(JoinKind k) {
    switch (k) {
        case JoinKind::Comma: return ", ";
        case JoinKind::Inner: return " INNER JOIN ";
        case JoinKind::Left: return " LEFT JOIN ";
        case JoinKind::Right: return " RIGHT JOIN ";
        case JoinKind::Cross: return " CROSS JOIN ";
        case JoinKind::Natural: return " NATURAL JOIN ";
    }
    return ", ";
}

// Every join of the tree an INNER JOIN with an ON condition.
bool OnlyInnerJoins(const Tree& tree, SourceId id) {
    std::vector<SourceId> stack{id};
    while (!stack.empty()) {
        const Source& s = tree.sources[stack.back()];
        stack.pop_back();
        if (s.kind != Source::Kind::Join) continue;
        if (s.join != JoinKind::Inner || s.on == kNone || !s.usingColumns.empty()) return false;
        stack.push_back(s.left);
        stack.push_back(s.right);
    }
    return true;
}

// `x INNER JOIN (inner joins) ON c` written as `x INNER JOIN inner joins ... ON (...) AND (c)`.
bool WrittenFlat(const Tree& tree, const Source& join) {
    return join.join == JoinKind::Inner && join.on != kNone && join.usingColumns.empty() &&
           tree.sources[join.right].kind == Source::Kind::Join && OnlyInnerJoins(tree, join.right);
}

}  // namespace

std::string SqlWriter::SourceText(SourceId id, const std::vector<ExprId>& moreOn) {
    // Joins nest on the left: walk down that side, then write from the innermost out.
    std::vector<const Source*> joins;
    while (tree_.sources[id].kind == Source::Kind::Join) {
        joins.push_back(&tree_.sources[id]);
        id = tree_.sources[id].left;
    }
    std::string out = PrimarySourceText(tree_.sources[id]);
    bool single = true;  // `out` is one source, not yet a join
    for (auto j = joins.rbegin(); j != joins.rend(); ++j) {
        const Source& join = **j;
        const Source& right = tree_.sources[join.right];
        // The conditions the outermost join carries for the joins written flat around it.
        const std::vector<ExprId> none;
        const std::vector<ExprId>& carried = j + 1 == joins.rend() ? moreOn : none;
        const bool flat = WrittenFlat(tree_, join);
        std::string rightText;
        if (flat) {
            std::vector<ExprId> conditions = carried;
            conditions.push_back(join.on);
            rightText = SourceText(join.right, conditions);
        } else {
            rightText = right.kind == Source::Kind::Join ? "(" + SourceText(join.right) + ")" : PrimarySourceText(right);
        }
        if (join.join == JoinKind::Right) {
            // The engine has only LEFT JOIN: a RIGHT JOIN b is b LEFT JOIN a.
            out = rightText + " LEFT JOIN " + (single ? out : "(" + out + ")");
        } else {
            out += JoinText(join.join) + rightText;
        }
        single = false;
        if (flat) continue;
        if (join.on != kNone) {
            if (carried.empty()) {
                out += " ON " + Condition(join.on);
            } else {
                out += " ON (" + Condition(join.on) + ")";
                for (const ExprId c : carried) out += " AND (" + Condition(c) + ")";
            }
        }
        if (!join.usingColumns.empty()) {
            out += " USING (";
            for (size_t i = 0; i < join.usingColumns.size(); ++i) out += (i ? ", " : "") + QuoteName(join.usingColumns[i]);
            out += ")";
        }
    }
    return out;
}

void SqlWriter::MarkEnclosed(SourceId id, bool enclosed, std::vector<bool>& out) const {
    std::vector<const Source*> joins;
    while (tree_.sources[id].kind == Source::Kind::Join) {
        joins.push_back(&tree_.sources[id]);
        id = tree_.sources[id].left;
    }
    const size_t first = out.size();
    out.push_back(enclosed);
    bool single = true;
    for (auto j = joins.rbegin(); j != joins.rend(); ++j) {
        const Source& join = **j;
        const size_t before = out.size();
        if (tree_.sources[join.right].kind == Source::Kind::Join)
            MarkEnclosed(join.right, enclosed || !WrittenFlat(tree_, join), out);
        else
            out.push_back(enclosed);
        // The RIGHT JOIN written the other way round puts what came before in parentheses.
        if (join.join == JoinKind::Right && !single)
            for (size_t k = first; k < before; ++k) out[k] = true;
        single = false;
    }
}

std::vector<bool> SqlWriter::RowIdsReachable(SelectId id) const {
    const auto& relations = typing_.relations[id];
    std::vector<bool> enclosed;
    if (tree_.selects[id].from != kNone) MarkEnclosed(tree_.selects[id].from, false, enclosed);
    std::vector<bool> reachable(relations.size(), false);
    if (enclosed.size() != relations.size()) return reachable;
    for (size_t r = 0; r < relations.size(); ++r) reachable[r] = relations[r].baseTable && !enclosed[r];
    return reachable;
}

}  // namespace ado::sqlite::detail
