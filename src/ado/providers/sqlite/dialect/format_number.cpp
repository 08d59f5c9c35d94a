// Number patterns of Format: digit placeholders 0 and #, decimal point, thousands
// separator (a ',' between digits) and scaling (',' before the point), %, E+/E-, literal
// text in quotes or after a backslash.
#include <algorithm>
#include <cmath>
#include <vector>

#include <fmt/format.h>

#include "ado/providers/sqlite/dialect/format_value.h"
#include "ado/variant/conversion.h"

namespace ado::sqlite::detail {
namespace {

struct Item {
    enum Kind { Literal, Digit, Point, Comma, Exponent } kind;
    std::string text;        // Literal: the text; Digit: "0" or "#"; Exponent: "E+", "e-"...
    int exponentDigits = 0;  // Exponent: the digit placeholders after it
};

std::vector<Item> Parse(std::string_view s) {
    std::vector<Item> items;
    bool point = false;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            const size_t close = s.find('"', i + 1);
            items.push_back({Item::Literal, std::string(s.substr(i + 1, close == std::string_view::npos ? s.npos : close - i - 1))});
            if (close == std::string_view::npos) break;
            i = close;
        } else if (c == '\\' && i + 1 < s.size()) {
            items.push_back({Item::Literal, std::string(1, s[++i])});
        } else if (c == '0' || c == '#') {
            items.push_back({Item::Digit, std::string(1, c)});
        } else if (c == '.' && !point) {
            point = true;
            items.push_back({Item::Point, "."});
        } else if (c == ',') {
            items.push_back({Item::Comma, ","});
        } else if ((c == 'E' || c == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-')) {
            Item e{Item::Exponent, std::string(s.substr(i, 2))};
            i += 2;
            while (i < s.size() && (s[i] == '0' || s[i] == '#')) {
                ++e.exponentDigits;
                ++i;
            }
            --i;
            items.push_back(e);
        } else {
            items.push_back({Item::Literal, std::string(1, c)});
        }
    }
    return items;
}

// A value rounded half away from zero to `decimals` places, read as VBA reads a double
// (15 significant digits): the integer digits without leading zeros, and exactly
// `decimals` fraction digits.
struct Digits {
    std::string whole, fraction;
};

Digits RoundDecimal(double v, int decimals) {
    std::string mantissa = fmt::format("{:.14e}", v);  // d.dddddddddddddde±XX
    const size_t e = mantissa.find('e');
    int pointAt = std::stoi(mantissa.substr(e + 1)) + 1;  // digits before the decimal point
    std::string digits = mantissa.substr(0, 1) + mantissa.substr(2, e - 2);
    const int keep = pointAt + decimals;
    if (keep < 0) {
        digits = "";
    } else if (keep < static_cast<int>(digits.size())) {
        const bool up = digits[static_cast<size_t>(keep)] >= '5';
        digits.resize(static_cast<size_t>(keep));
        if (up) {
            int i = keep - 1;
            for (; i >= 0 && digits[static_cast<size_t>(i)] == '9'; --i) digits[static_cast<size_t>(i)] = '0';
            if (i >= 0) {
                ++digits[static_cast<size_t>(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++pointAt;
            }
        }
    }
    Digits d;
    if (pointAt > 0) {
        d.whole = digits.substr(0, std::min(digits.size(), static_cast<size_t>(pointAt)));
        d.whole.append(static_cast<size_t>(pointAt) - d.whole.size(), '0');
        d.fraction = digits.size() > static_cast<size_t>(pointAt) ? digits.substr(static_cast<size_t>(pointAt)) : "";
    } else {
        d.fraction = std::string(static_cast<size_t>(-pointAt), '0') + digits;
    }
    d.fraction.resize(static_cast<size_t>(std::max(decimals, 0)), '0');
    d.whole.erase(0, std::min(d.whole.find_first_not_of('0'), d.whole.size()));
    return d;
}

std::string Group(const std::string& digits, const std::string& separator) {
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return out;
}

}  // namespace

std::string FormatNumberSection(double value, std::string_view section, const RegionalSettings& regional) {
    const std::vector<Item> items = Parse(section);
    // The layout: integer and fraction placeholders, grouping, scaling, percent, exponent.
    std::vector<size_t> wholeSlots, fractionSlots;
    size_t pointIndex = items.size(), exponentIndex = items.size();
    bool grouping = false;
    int scaling = 0, percents = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const Item& it = items[i];
        if (it.kind == Item::Point) pointIndex = i;
        if (it.kind == Item::Exponent && exponentIndex == items.size()) exponentIndex = i;
        if (it.kind == Item::Literal && it.text == "%") ++percents;
        if (it.kind != Item::Digit || i > exponentIndex) continue;
        (pointIndex < i ? fractionSlots : wholeSlots).push_back(i);
    }
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].kind != Item::Comma || wholeSlots.empty() || i > std::min(pointIndex, exponentIndex)) continue;
        const bool digitBefore = wholeSlots.front() < i;
        const bool digitAfter = wholeSlots.back() > i;
        if (digitBefore && digitAfter) grouping = true;
        else if (digitBefore) ++scaling;  // right of the integer digits: divides by 1000
    }
    value *= std::pow(100.0, percents) / std::pow(1000.0, scaling);
    // A percentage beyond a double's range has no digits to show.
    if (!std::isfinite(value)) conv::FailOverflow();

    int exponent = 0;
    if (exponentIndex < items.size() && value != 0) {
        const int wholeCount = std::max<int>(1, static_cast<int>(wholeSlots.size()));
        exponent = static_cast<int>(std::floor(std::log10(value))) - (wholeCount - 1);
        value /= std::pow(10.0, exponent);
        if (RoundDecimal(value, static_cast<int>(fractionSlots.size())).whole.size() > static_cast<size_t>(wholeCount)) {
            ++exponent;
            value /= 10;
        }
    }
    Digits d = RoundDecimal(value, static_cast<int>(fractionSlots.size()));

    // Integer digits: at least as many as the placeholders from the first 0 on.
    size_t minimum = 0;
    for (size_t k = 0; k < wholeSlots.size(); ++k)
        if (items[wholeSlots[k]].text == "0") {
            minimum = wholeSlots.size() - k;
            break;
        }
    if (d.whole.size() < minimum) d.whole.insert(0, minimum - d.whole.size(), '0');
    // Trailing # of the fraction drop their zeros.
    size_t shown = fractionSlots.size();
    while (shown > 0 && items[fractionSlots[shown - 1]].text == "#" && d.fraction[shown - 1] == '0') --shown;

    std::string out;
    size_t wholeSeen = 0, fractionSeen = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const Item& it = items[i];
        switch (it.kind) {
            case Item::Literal:
                out += it.text;
                break;
            case Item::Comma:
                break;
            case Item::Point:
                out += regional.decimalSeparator;
                break;
            case Item::Digit:
                if (i > exponentIndex) break;
                if (i < pointIndex) {
                    // The leftmost placeholder takes the extra digits; the others one each.
                    const size_t k = wholeSeen++;
                    const size_t n = wholeSlots.size();
                    if (grouping) {
                        if (k == 0) out += Group(d.whole, regional.thousandsSeparator);
                    } else if (k == 0) {
                        out += d.whole.substr(0, d.whole.size() >= n ? d.whole.size() - n + 1 : 0);
                    } else if (d.whole.size() + k >= n) {
                        out += d.whole[d.whole.size() + k - n];
                    }
                } else if (fractionSeen < shown) {
                    out += d.fraction[fractionSeen++];
                }
                break;
            case Item::Exponent: {
                const bool showPlus = it.text[1] == '+';
                out += it.text[0];
                if (exponent < 0) out += '-';
                else if (showPlus) out += '+';
                std::string digits = std::to_string(std::abs(exponent));
                if (digits.size() < static_cast<size_t>(it.exponentDigits))
                    digits.insert(0, static_cast<size_t>(it.exponentDigits) - digits.size(), '0');
                out += digits;
                break;
            }
        }
    }
    return out;
}

}  // namespace ado::sqlite::detail
