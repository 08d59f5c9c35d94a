// ado::Variant: the tagged value that carries field values, criteria, bookmarks and
// parameter arrays, with the automation platform's conversion rules.
//
// Conversions (CStr, CInt, CLng, CDbl, CCur, CDate, CBool):
//  - integer conversions round half to even (2.5 -> 2, 3.5 -> 4);
//  - a value out of the target's range fails with ado::Error 6 (overflow);
//  - Null cannot become a number, a date or a text: ado::Error 94 (invalid use of Null);
//  - Empty becomes 0, "" or false;
//  - a Bool is -1 or 0 as a number; as a text it is the regional settings' words
//    ("Verdadero"/"Falso" under a Spanish locale, "True"/"False" otherwise);
//  - text that does not read as the target fails with ado::Error 13 (type mismatch).
// Text forms of numbers and dates follow ado::RegionalSettings (decimal separator,
// date order, date and time separators), taken from the process locale unless overridden:
//  - numbers have no thousands separator; a Double keeps 15 significant digits and a Single 7,
//    switching to "1E+20" / "1,5E-07" as the platform prints them; Currency and Decimal drop
//    trailing zeros;
//  - a date is the short date, then a space and the long time unless the time is midnight;
//    a value with no date part (1899-12-30) shows the time alone.
// Reading text accepts spaces around the number, a sign, thousands separators in the whole
// part, the regional decimal separator, an exponent (E or D) and "&H"/"&O" literals (up to
// FFFF they are 16-bit, up to FFFFFFFF 32-bit, as the platform reads them). Dates are read in
// the regional order with the regional separator or '/', '-', '.', an optional time
// "h:mm[:ss] [AM|PM]", and ISO "yyyy-mm-dd[ hh:mm[:ss]]" / "yyyy-mm-ddThh:mm:ss" always;
// a date may also name its month in English or Spanish, whole or abbreviated ("Dec 30, 1991",
// "30 de diciembre de 1991"; without a year, this year's); two-digit years 00-29 are
// 2000-2029 and 30-99 are 1930-1999.
//
// A Variant is a value: copies are independent (arrays are unshared on write); one holding a
// recordset shares it, as a handle does. A Variant may move between threads; one holding a
// recordset follows that recordset's rule. Conversions fail with ado::Error (6, 13, 94).
#pragma once

#include <compare>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

namespace ado {

class Recordset;
class RegionalSettings;
class SafeArray;
using RecordsetPtr = std::shared_ptr<Recordset>;

enum class VariantType : uint8_t {
    Empty, Null, Bool, I2, I4, I8, R4, R8, Currency, Decimal, Date, String, Binary, Array, Object
};

// The automation VARTYPE number of each kind (VT_EMPTY 0, VT_NULL 1, VT_I2 2, ...,
// VT_ARRAY|VT_UI1 for Binary, VT_ARRAY|VT_VARIANT for Array).
uint16_t VarTypeNumber(VariantType t);

// Currency: a fixed-point number scaled by 10 000, as the platform's CY.
struct Currency {
    int64_t scaled = 0;
    static Currency FromUnits(int64_t units) { return {units * 10000}; }
    friend bool operator==(Currency, Currency) = default;
};

// Decimal: a 96-bit magnitude with a power-of-ten scale (0..28) and a sign, as DECIMAL.
struct Decimal {
    unsigned __int128 mantissa = 0;  // < 2^96
    uint8_t scale = 0;
    bool negative = false;
    friend bool operator==(const Decimal&, const Decimal&) = default;
};

// Date: days since 1899-12-30 with the time as the fraction, as the platform's DATE.
// Before the epoch the fraction still counts forwards (-1.25 is 1899-12-29 06:00).
struct Date {
    double serial = 0;
    friend bool operator==(Date, Date) = default;
};

using Binary = std::vector<uint8_t>;

// Calendar helpers on the DATE convention. Years 100..9999 are valid; others fail with 6.
Date MakeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
struct DateParts {
    int year, month, day, hour, minute, second;
    int weekday;  // 1 = Sunday .. 7 = Saturday
};
DateParts SplitDate(Date d);

class Variant {
public:
    struct NullTag {};
    static constexpr NullTag Null{};

    Variant() = default;  // Empty
    Variant(NullTag) : v_(NullTag{}) {}
    Variant(bool b) : v_(b) {}
    Variant(int16_t i) : v_(i) {}
    Variant(int32_t i) : v_(i) {}
    Variant(int64_t i) : v_(i) {}
    Variant(float f) : v_(f) {}
    Variant(double d) : v_(d) {}
    Variant(Currency c) : v_(c) {}
    Variant(Decimal d) : v_(d) {}
    Variant(Date d) : v_(d) {}
    Variant(std::string s) : v_(std::move(s)) {}
    Variant(std::string_view s) : v_(std::string(s)) {}
    Variant(const char* s) : v_(std::string(s)) {}
    Variant(Binary b) : v_(std::move(b)) {}
    Variant(SafeArray a);
    Variant(RecordsetPtr r) : v_(std::move(r)) {}
    Variant(long long i) : v_(static_cast<int64_t>(i)) {}  // int64_t is `long` here

    VariantType Type() const { return static_cast<VariantType>(v_.index()); }
    bool IsEmpty() const { return Type() == VariantType::Empty; }
    bool IsNull() const { return Type() == VariantType::Null; }
    bool IsNumeric() const;  // Bool, integers, reals, Currency, Decimal
    bool IsText() const { return Type() == VariantType::String; }

    // Exact access: the stored kind must match, or ado::Error 13.
    bool AsBool() const { return Held<bool>(); }
    int16_t AsI2() const { return Held<int16_t>(); }
    int32_t AsI4() const { return Held<int32_t>(); }
    int64_t AsI8() const { return Held<int64_t>(); }
    float AsR4() const { return Held<float>(); }
    double AsR8() const { return Held<double>(); }
    Currency AsCurrency() const { return Held<Currency>(); }
    const Decimal& AsDecimal() const { return Held<Decimal>(); }
    Date AsDate() const { return Held<Date>(); }
    const std::string& AsString() const { return Held<std::string>(); }
    const Binary& AsBinary() const { return Held<Binary>(); }
    const SafeArray& AsArray() const;
    SafeArray& AsArray();  // unshares a copied array first, so copies never alias
    const RecordsetPtr& AsObject() const;

    // Conversions with the platform's rules (see the top of this header).
    std::string ToString() const;                       // CStr
    std::string ToString(const RegionalSettings&) const;
    int16_t ToInt16() const;                            // CInt
    int32_t ToInt32() const;                            // CLng
    int64_t ToInt64() const;
    float ToSingle() const;                             // CSng
    double ToDouble() const;                            // CDbl
    Currency ToCurrency() const;                        // CCur
    Decimal ToDecimal() const;                          // CDec
    Date ToDate() const;                                // CDate
    Date ToDate(const RegionalSettings&) const;
    bool ToBool() const;                                // CBool
    // Converts to the kind given (Null stays Null, Empty becomes the kind's zero).
    Variant ConvertTo(VariantType t) const;
    // Typed reads through the conversions above: As<int32_t>() is ToInt32(),
    // As<std::string>() ToString(), and so on for bool, the integers, float, double,
    // Currency, Decimal and Date. As<std::optional<T>>() is empty for Null and Empty.
    template <class T>
    T As() const;

    // Structural equality: same kind and same value (for tests and containers).
    friend bool operator==(const Variant& a, const Variant& b);

private:
    template <class T>
    const T& Held() const {
        if (const T* p = std::get_if<T>(&v_)) return *p;
        FailKind();
    }
    [[noreturn]] static void FailKind();

    using Storage = std::variant<std::monostate, NullTag, bool, int16_t, int32_t, int64_t, float, double,
                                 Currency, Decimal, Date, std::string, Binary, std::shared_ptr<SafeArray>,
                                 RecordsetPtr>;
    Storage v_;
};

namespace detail {
template <class T>
struct IsOptional : std::false_type {};
template <class T>
struct IsOptional<std::optional<T>> : std::true_type {};
}  // namespace detail

template <class T>
T Variant::As() const {
    if constexpr (detail::IsOptional<T>::value) {
        if (IsNull() || IsEmpty()) return std::nullopt;
        return As<typename T::value_type>();
    } else if constexpr (std::is_same_v<T, bool>) {
        return ToBool();
    } else if constexpr (std::is_same_v<T, int16_t>) {
        return ToInt16();
    } else if constexpr (std::is_same_v<T, int32_t>) {
        return ToInt32();
    } else if constexpr (std::is_same_v<T, int64_t> || std::is_same_v<T, long long>) {
        return static_cast<T>(ToInt64());
    } else if constexpr (std::is_same_v<T, float>) {
        return ToSingle();
    } else if constexpr (std::is_same_v<T, double>) {
        return ToDouble();
    } else if constexpr (std::is_same_v<T, Currency>) {
        return ToCurrency();
    } else if constexpr (std::is_same_v<T, Decimal>) {
        return ToDecimal();
    } else if constexpr (std::is_same_v<T, Date>) {
        return ToDate();
    } else if constexpr (std::is_same_v<T, std::string>) {
        return ToString();
    } else {
        static_assert(sizeof(T) == 0, "Variant::As: no conversion to this type");
    }
}

// A multi-dimensional array with a lower bound per dimension (the platform's SAFEARRAY).
// Elements are stored with the first index varying fastest, as the platform does.
class SafeArray {
public:
    struct Bound {
        int32_t lower = 0;
        int32_t count = 0;
        friend bool operator==(Bound, Bound) = default;
    };
    SafeArray() = default;
    explicit SafeArray(std::vector<Bound> bounds);

    int32_t Dimensions() const { return static_cast<int32_t>(bounds_.size()); }
    // Dimensions are numbered from 1, as LBound/UBound do; a bad dimension fails with 9.
    int32_t LBound(int32_t dimension = 1) const;
    int32_t UBound(int32_t dimension = 1) const;
    // An index outside the bounds fails with ado::Error 9 (subscript out of range).
    const Variant& At(std::initializer_list<int32_t> indexes) const;
    Variant& At(std::initializer_list<int32_t> indexes);
    size_t Size() const { return elements_.size(); }
    // Every element in storage order (first index fastest), for walks over the whole array.
    const std::vector<Variant>& Elements() const { return elements_; }
    friend bool operator==(const SafeArray&, const SafeArray&) = default;

private:
    size_t Offset(std::initializer_list<int32_t> indexes) const;
    std::vector<Bound> bounds_;
    std::vector<Variant> elements_;
};

// Ordering used by Find, Filter and Sort. Numbers (Bool, integers, reals, Currency,
// Decimal, Date) compare by value across kinds; texts compare without regard to case
// unless caseSensitive (ASCII and the accented Latin-1 letters fold: "á" equals "Á");
// a text against a number is read as a number when it can be (against a Date, as a date
// first), otherwise both compare as texts. Binary compares bytewise. Null and Empty sort
// before everything, equal to each other; then numbers, texts, binaries, arrays, objects.
std::weak_ordering Compare(const Variant& a, const Variant& b, bool caseSensitive = false);

}  // namespace ado
