// The types of Access expressions on the embedded engine, and how their values are held
// there. Types are ADO's DataTypeEnum; adVariant means "not known" (the engine's value is
// taken as it comes) and adEmpty the type of the Null literal.
//
// Representations in the engine:
//  - Currency: INTEGER ten-thousandths (exact over the whole range; SUM stays exact);
//  - Decimal (adNumeric): a 24-byte BLOB whose byte order is the numeric order;
//  - Date: the automation date serial (REAL days since 1899-12-30, the time as the fraction);
//  - Boolean: -1 / 0; everything else as itself.
#pragma once

#include <cstdint>
#include <string>

#include "ado/Enums.h"
#include "ado/providers/sqlite/dialect/syntax_tree.h"

namespace ado::sqlite::detail {

struct ValueType {
    DataTypeEnum type = adVariant;
    int32_t size = 0;
    uint8_t precision = 0;
    uint8_t scale = 0;
    friend bool operator==(const ValueType&, const ValueType&) = default;
};

inline ValueType Typed(DataTypeEnum t) { return ValueType{t, 0, 0, 0}; }

enum class Repr : uint8_t { Plain, Currency, Decimal };

bool IsTextType(DataTypeEnum t);
bool IsIntegerType(DataTypeEnum t);  // Boolean counts as one
bool IsNumberType(DataTypeEnum t);   // integers, reals, Currency, Decimal
bool IsDecimalType(DataTypeEnum t);
Repr ReprOf(DataTypeEnum t);

// The type of `a op b` (arithmetic, & and the engine's ||), as Access types it.
DataTypeEnum ArithmeticType(Op op, DataTypeEnum a, DataTypeEnum b);

// The type both sides of a comparison are compared as: the side whose representation is
// exact (Currency, Decimal) or meaningful (Date) decides. adVariant: compare as they are.
DataTypeEnum ComparisonType(DataTypeEnum a, DataTypeEnum b);

// The type of a value chosen from several (IIf, Nz, CASE, the members of a UNION).
DataTypeEnum CommonType(DataTypeEnum a, DataTypeEnum b);

// A declared type name for a column that holds values of the type ("CURRENCY",
// "DECIMAL(18,4)", "TEXT(255)"); "" for adVariant.
std::string DeclaredNameOf(const ValueType& t);

// The ADO shape of a result column of the type (DefinedSize and precision where the engine
// has none to report).
ValueType ResultShapeOf(ValueType t);

}  // namespace ado::sqlite::detail
