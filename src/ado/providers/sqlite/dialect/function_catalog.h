// What the translator knows of each Access function: the type of its result and what each
// argument needs to be handed over as. The functions themselves are registered on the
// connection (functions_*.cpp); this table only types and prepares their calls.
#pragma once

#include <string_view>

#include "ado/Enums.h"

namespace ado::sqlite::detail {

// How an argument is handed to the function.
enum class ArgumentUse : uint8_t {
    Plain,  // a number as itself: Currency and Decimal as a REAL, a Date as its serial
    Text,   // a text: a value of another type as CStr writes it
    Typed,  // a value whose kind matters (Format, CStr, IsDate...): a Date as its date text
    Same,   // the value as it is held, in the call's result type (IIf, Nz, Min, Abs...)
    Kept,   // the value as it is held, whatever its type (Count, IsNull)
};

enum class ResultRule : uint8_t {
    Fixed,        // `result`
    FirstArgument,
    CommonOfRest,  // the common type of the arguments after the first (IIf)
    CommonOfAll,   // the common type of every argument (Nz)
    Alternate,     // the common type of every second argument, from the second (Switch)
    Sum,           // Currency and Decimal keep their type, others sum as Double
    Average,       // likewise, as an average
    ConvertTo,     // CCur, CDec: the argument converted to `result`
};

struct FunctionInfo {
    std::string_view name;  // upper case, without the $ of the text-only forms
    DataTypeEnum result;
    ResultRule rule;
    ArgumentUse use;        // every argument's, unless the function is listed with exceptions
    bool aggregate = false;
    ArgumentUse firstUse = ArgumentUse::Plain;  // the first argument's, when `firstDiffers`
    bool firstDiffers = false;
};

// nullptr for a function the table does not know (its call is written as it is).
const FunctionInfo* FindFunction(std::string_view name);

}  // namespace ado::sqlite::detail
