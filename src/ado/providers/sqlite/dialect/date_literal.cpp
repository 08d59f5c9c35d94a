#include "ado/providers/sqlite/dialect/date_literal.h"

#include <cctype>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "ado/providers/sqlite/dialect/dialect_errors.h"
#include "ado/providers/sqlite/dialect/sql_tokens.h"
#include "ado/variant/conversion.h"

namespace ado::sqlite::detail {
namespace {

struct Item {
    enum Kind { Number, Word, Separator } kind;
    std::string text;
    int number = 0;
};

[[noreturn]] void Invalid(std::string_view content) {
    ThrowSyntaxError("fecha no válida en la expresión '#" + std::string(content) + "#'.");
}

std::vector<Item> Split(std::string_view s) {
    std::vector<Item> items;
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (std::isdigit(c)) {
            size_t j = i;
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
            if (j - i > 4) return {};
            items.push_back({Item::Number, std::string(s.substr(i, j - i)), std::stoi(std::string(s.substr(i, j - i)))});
            i = j;
        } else if (std::isalpha(c)) {
            size_t j = i;
            while (j < s.size() && std::isalpha(static_cast<unsigned char>(s[j]))) ++j;
            items.push_back({Item::Word, ToUpperAscii(s.substr(i, j - i))});
            i = j;
        } else if (c == ' ' || c == '\t') {
            ++i;
        } else {
            items.push_back({Item::Separator, std::string(1, s[i])});
            ++i;
        }
    }
    return items;
}

int FullYear(const Item& item) {
    if (item.text.size() > 2) return item.number;
    return item.number < 30 ? 2000 + item.number : 1900 + item.number;
}

struct Time {
    int hour = 0, minute = 0, second = 0;
};

// Takes the time (h:nn[:ss] [AM|PM], or h AM|PM) out of the items, if there is one.
std::optional<Time> TakeTime(std::vector<Item>& items, std::string_view content) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].kind != Item::Number) continue;
        const bool colon = i + 1 < items.size() && items[i + 1].text == ":";
        const bool meridianOnly = i + 1 < items.size() && items[i + 1].kind == Item::Word &&
                                  (items[i + 1].text == "AM" || items[i + 1].text == "PM" ||
                                   items[i + 1].text == "A" || items[i + 1].text == "P");
        if (!colon && !meridianOnly) continue;
        Time t;
        t.hour = items[i].number;
        size_t j = i + 1;
        if (colon) {
            if (j + 1 >= items.size() || items[j + 1].kind != Item::Number) Invalid(content);
            t.minute = items[j + 1].number;
            j += 2;
            if (j < items.size() && items[j].text == ":") {
                if (j + 1 >= items.size() || items[j + 1].kind != Item::Number) Invalid(content);
                t.second = items[j + 1].number;
                j += 2;
            }
        }
        if (j < items.size() && items[j].kind == Item::Word &&
            (items[j].text == "AM" || items[j].text == "PM" || items[j].text == "A" || items[j].text == "P")) {
            if (t.hour < 1 || t.hour > 12) Invalid(content);
            const bool pm = items[j].text[0] == 'P';
            t.hour = t.hour % 12 + (pm ? 12 : 0);
            ++j;
        }
        if (t.hour > 23 || t.minute > 59 || t.second > 59) Invalid(content);
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(i), items.begin() + static_cast<std::ptrdiff_t>(j));
        return t;
    }
    return std::nullopt;
}

}  // namespace

Date ParseDateLiteral(std::string_view content) {
    std::vector<Item> items = Split(content);
    if (items.empty()) Invalid(content);
    const std::optional<Time> time = TakeTime(items, content);
    const Time t = time.value_or(Time{});

    std::vector<Item> numbers;
    int namedMonth = 0;
    for (const Item& item : items) {
        if (item.kind == Item::Number) {
            numbers.push_back(item);
        } else if (item.kind == Item::Word) {
            if (item.text == "T") continue;  // ISO separator of date and time
            if (namedMonth != 0 || (namedMonth = conv::MonthFromName(item.text)) == 0) Invalid(content);
        } else if (item.text != "/" && item.text != "-" && item.text != "." && item.text != ",") {
            Invalid(content);
        }
    }
    if (numbers.empty() && namedMonth == 0) {
        if (!time) Invalid(content);
        return MakeDate(1899, 12, 30, t.hour, t.minute, t.second);
    }

    int year = 0, month = 0, day = 0;
    if (namedMonth != 0) {
        month = namedMonth;
        if (numbers.size() == 1) {
            day = numbers[0].number;
            year = conv::CurrentYear();
        } else if (numbers.size() == 2) {
            // The year is the number written with four digits, or else the second one.
            const bool yearFirst = numbers[0].text.size() > 2 || numbers[0].number > 31;
            day = numbers[yearFirst ? 1 : 0].number;
            year = FullYear(numbers[yearFirst ? 0 : 1]);
        } else {
            Invalid(content);
        }
    } else if (numbers.size() == 3) {
        if (numbers[0].text.size() > 2) {
            year = numbers[0].number;
            month = numbers[1].number;
            day = numbers[2].number;
        } else {
            month = numbers[0].number;
            day = numbers[1].number;
            year = FullYear(numbers[2]);
            if (month > 12 && day <= 12) std::swap(month, day);
        }
    } else if (numbers.size() == 2) {
        month = numbers[0].number;
        day = numbers[1].number;
        year = conv::CurrentYear();
        if (month > 12 && day <= 12) std::swap(month, day);
    } else {
        Invalid(content);
    }
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > conv::DaysInMonth(year, month))
        Invalid(content);
    return MakeDate(year, month, day, t.hour, t.minute, t.second);
}

}  // namespace ado::sqlite::detail
