// How Find, Filter, Sort and field indexes compare values: as the embedded engine compares
// its columns. Texts through the engine's collator (letter case ignored, accented letters next
// to their base letter), numbers and dates by value, Null before everything; other mixes as
// ado::Compare orders them.
#pragma once

#include <compare>
#include <string>
#include <string_view>

#include "ado/Variant.h"
#include "ado/cursor/row_store.h"
#include "ado/text/collator.h"

namespace ado::criteria {

// A value a cell is compared with, prepared once.
struct Operand {
    enum class Kind { Null, Number, Text, Other };
    Variant value;
    Kind kind = Kind::Other;
    double number = 0;  // Kind::Number: the value as a double (dates as their serial)

    explicit Operand(Variant v);
};

class ValueOrder {
public:
    // The regional language's collation, as the engine's connections use.
    ValueOrder();

    int CompareTexts(std::string_view a, std::string_view b) const { return collator_.Compare(a, b); }
    std::weak_ordering Compare(const Variant& a, const Variant& b) const;

    // A cell against an operand: -1, 0 or 1; kNull when the cell is Null or Empty.
    static constexpr int kNull = 2;
    int CompareCell(const cursor::RowStore& store, cursor::RowId row, size_t column, const Operand& v) const;
    // Two cells of one column, Null first.
    int CompareCells(const cursor::RowStore& store, cursor::RowId a, cursor::RowId b, size_t column) const;

    // Index keys: byte strings ordered as the values are, equal for equal values. Null, then
    // numbers and dates, then texts, then anything else.
    std::string KeyOfCell(const cursor::RowStore& store, cursor::RowId row, size_t column) const;
    std::string KeyOf(const Variant& v) const;

    const std::string& Language() const { return language_; }

private:
    std::string language_;
    text::Collator collator_;
};

}  // namespace ado::criteria
