// How a value held in the engine in the form of one type is handed over where another is
// needed: SQL text to wrap around the value ("(" ... " * 10000)"), or, for a literal, the
// literal rewritten. Two kinds of need:
//  - Use: an operand compared or computed as the wanted type (no rounding of integers);
//  - Store: a value stored into a column of the type (rounded and checked as Access stores).
// Wanted type adVariant leaves the value as it is; so does a value of unknown type, except
// where an exact form is needed (Currency, Decimal), which takes it as a plain number.
#pragma once

#include <optional>
#include <string>

#include "ado/Enums.h"
#include "ado/providers/sqlite/dialect/value_types.h"

namespace ado::sqlite::detail {

// A wanted form that is not a column type: a value whose kind a function looks at (Format,
// CStr, IsDate...): a Date goes as its date text, Currency and Decimal as plain numbers.
inline constexpr DataTypeEnum kWantTyped = adUserDefined;
// A wanted form where only a value's truth counts (a condition, an operand of And, Or, Not).
inline constexpr DataTypeEnum kWantTruth = adPropVariant;

struct Wrapping {
    std::string before, after;
    bool None() const { return before.empty() && after.empty(); }
};

Wrapping UseAs(DataTypeEnum from, DataTypeEnum want);
Wrapping StoreAs(DataTypeEnum from, const ValueType& column);

// A number literal written as the wanted type's engine form ("1.5" as Currency is "15000"),
// when it can be written exactly; nullopt otherwise (the wrapping then applies).
std::optional<std::string> NumberLiteralAs(const std::string& literal, DataTypeEnum want);

// A date serial as a REAL literal that reads back to the same double.
std::string SerialLiteral(double serial);

}  // namespace ado::sqlite::detail
