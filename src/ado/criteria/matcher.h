// Criteria compiled against a cursor's columns: which rows meet them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ado/criteria/criteria.h"
#include "ado/criteria/value_order.h"
#include "ado/cursor/row_store.h"
#include "ado/text/letter_case.h"

namespace ado::criteria {

struct CompiledClause {
    size_t column = 0;
    Op op = Op::Equal;
    Operand operand{Variant()};
    LikeForm like = LikeForm::Whole;
    std::u32string likeFolded;  // the LIKE text, case folded
    text::CaseFolding folding{""};
};

// The store column of a field name; fails (3265) for a name that is not there.
using ColumnOf = std::function<size_t(const std::string& field)>;

// Resolves the field's column and reads the value as its column's kind where it can: a text
// against a date column as a date, against a number column as a number.
CompiledClause Compile(const Clause& clause, const ColumnOf& columnOf, const cursor::RowStore& store,
                       const ValueOrder& order);

class Matcher {
public:
    Matcher(const Criteria& criteria, const ColumnOf& columnOf, const cursor::RowStore& store,
            const ValueOrder& order);

    bool Matches(const cursor::RowStore& store, cursor::RowId row) const;
    const std::vector<std::vector<CompiledClause>>& Alternatives() const { return anyOf_; }

private:
    std::vector<std::vector<CompiledClause>> anyOf_;
    const ValueOrder* order_;
};

bool Holds(const CompiledClause& c, const cursor::RowStore& store, cursor::RowId row, const ValueOrder& order);

}  // namespace ado::criteria
