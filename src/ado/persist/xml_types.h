// The XML-Data types of the XML persistence format and the ADO types they stand for.
#pragma once

#include <string_view>

#include "ado/Enums.h"

namespace ado::persist {

struct XmlTypeName {
    std::string_view dtType;  // dt:type
    std::string_view dbType;  // rs:dbtype, empty when the format writes none
};

// What the writer puts in s:datatype for a column of the type.
XmlTypeName XmlTypeOf(DataTypeEnum type);

// The ADO type of a column read from s:datatype. Text and binary kinds follow rs:long and
// rs:fixedlength; a string with neither a size nor an rs:dbtype is a Variant column (ADO
// writes those so), and so is a column whose type the file does not name.
DataTypeEnum AdoTypeOfXml(std::string_view dtType, std::string_view dbType, bool fixed, bool isLong, bool sized);

// Whether values of the type all take the same room: numbers, dates, fixed-length texts and
// binaries (not Variant, whose XML form is text).
bool IsFixedLengthType(DataTypeEnum type);

}  // namespace ado::persist
